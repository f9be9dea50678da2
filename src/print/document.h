#pragma once
// A printed document: pages of primitives (texts with their font and position, lines,
// frames) in device pixels of the job's page format. Every printout produces one; the
// printer, PDF files and the preview draw it, tests read it.
#include "print/font.h"
#include "print/page_setup.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace selvar {

// How a canvas measures text. Fonts: the real fonts at the device's resolution. Cells:
// every character one fixed cell of the font size (width size × dpi / 120, height size
// × dpi / 60, i.e. 12 characters per inch at 10 points), so that tests get the same
// positions on every machine and lines can be read back column by column.
enum class Metrics { Fonts, Cells };

int cellWidth(const FontDef& font, int dpi);
int cellHeight(const FontDef& font, int dpi);

struct TextItem {
    int x = 0;  // left edge
    int y = 0;  // top of the text
    QString text;
    FontDef font;
};

struct LineItem {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int width = 1;
    QColor color = Qt::black;
};

struct RectItem {
    QRect rect;
    int width = 1;
    QColor color = Qt::black;
};

using PageItem = std::variant<TextItem, LineItem, RectItem>;

struct DocumentPage {
    std::vector<PageItem> items;

    std::vector<TextItem> texts() const;  // in drawing order
    int lineCount() const;                 // lines and frames
};

struct Document {
    QString title;
    PageFormat format;
    Metrics metrics = Metrics::Fonts;
    std::vector<DocumentPage> pages;

    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const;  // no page holds anything

    // A page as plain text lines: the texts of one top edge form a line, ordered by
    // their left edge, each placed at its character column (left edge / cell width);
    // lines come from top to bottom, trailing blanks dropped.
    QStringList lines(int pageIndex) const;
    QStringList allLines() const;  // every page's lines, one after the other
    // Every text of a page that contains `part`.
    std::vector<TextItem> find(int pageIndex, const QString& part) const;
};

}  // namespace selvar
