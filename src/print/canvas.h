#pragma once
// What every printout draws on. A canvas keeps what is drawn as a document of pages and
// hands the finished document to its output when the document ends: the printer, a PDF
// file, the preview, or nothing at all for the recording canvas of tests, which keeps
// every text with its page, position and font.
//
// Positions are device pixels of the printable area, (0,0) its top-left corner; a text is
// placed by the top of its line, as the printers' TextOut does.
#include "print/document.h"

#include <QString>
#include <algorithm>
#include <map>
#include <memory>

class QFontMetricsF;

namespace selvar {

class Canvas {
public:
    explicit Canvas(const PageFormat& format, Metrics metrics = Metrics::Fonts);
    virtual ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // ---- the document
    void beginDocument(const QString& title);  // page 1 is open afterwards
    void newPage();
    // Hands the document to the output; false when the output could not take it.
    bool endDocument();
    // Ends without output: nothing is printed. A canvas destroyed while printing aborts.
    void abort();
    bool isPrinting() const { return printing_; }
    int pageNumber() const { return int(doc_.pages.size()); }
    QString title() const { return doc_.title; }

    // ---- the page
    int pageWidth() const { return doc_.format.pixels.width(); }
    int pageHeight() const { return doc_.format.pixels.height(); }
    int physicalWidthMm() const;   // the printable area, whole millimetres
    int physicalHeightMm() const;
    int resolution() const { return doc_.format.dpi; }
    const PageFormat& format() const { return doc_.format; }
    Metrics metrics() const { return doc_.metrics; }

    // ---- the font
    const FontDef& font() const { return font_; }
    void setFont(const FontDef& font) { font_ = font; }
    void setFontName(const QString& family) { font_.family = family; }
    void setFontSize(int points) { font_.size = points; }
    void setFontColor(const QColor& color) { font_.color = color; }
    void setFontStyle(int styles) { font_.setStyles(styles); }  // FontStyle bits

    // ---- drawing
    void textOut(int x, int y, const QString& text);
    void textOutRight(int right, int y, const QString& text) { textOut(right - textWidth(text), y, text); }
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;
    int textWidth(const QString& text, const FontDef& font) const;
    int textHeight(const QString& text, const FontDef& font) const;
    // Width 0 is the thinnest line the device shows well (about 0.17 mm).
    void line(int x1, int y1, int x2, int y2, int width = 0);
    void frame(const QRect& rect, int width = 0);
    int thinLine() const { return std::max(1, resolution() / 150); }

    const Document& document() const { return doc_; }

protected:
    // The output of the finished document; the recording canvas has none.
    virtual bool deliver(const Document& document);

private:
    void requirePage() const;
    const QFontMetricsF& fontMetrics(const FontDef& font) const;

    Document doc_;
    FontDef font_;
    bool printing_ = false;
    mutable std::map<QString, std::unique_ptr<QFontMetricsF>> metricsCache_;
};

// The canvas of tests: an A4 sheet at 600 dpi with cell metrics unless told otherwise.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(const PageFormat& format = PageFormat::forSetup(PageSetup()),
                             Metrics metrics = Metrics::Cells)
        : Canvas(format, metrics) {}
};

}  // namespace selvar
