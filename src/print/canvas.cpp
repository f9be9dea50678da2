#include "print/canvas.h"

#include <QFontMetricsF>
#include <cmath>
#include <stdexcept>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

Canvas::Canvas(const PageFormat& format, Metrics metrics)
{
    doc_.format = format;
    doc_.metrics = metrics;
}

Canvas::~Canvas() = default;

void Canvas::beginDocument(const QString& title)
{
    doc_.title = title;
    doc_.pages.clear();
    doc_.pages.emplace_back();
    printing_ = true;
}

void Canvas::newPage()
{
    requirePage();
    doc_.pages.emplace_back();
}

bool Canvas::endDocument()
{
    if (!printing_) return false;
    printing_ = false;
    return deliver(doc_);
}

void Canvas::abort() { printing_ = false; }

bool Canvas::deliver(const Document&) { return true; }

int Canvas::physicalWidthMm() const { return int(std::lround(doc_.format.millimetres.width())); }

int Canvas::physicalHeightMm() const { return int(std::lround(doc_.format.millimetres.height())); }

void Canvas::requirePage() const
{
    // Drawing outside a document is a fault of the printout's code, not of the person.
    if (!printing_) throw std::logic_error("canvas: drawing outside a document");
}

void Canvas::textOut(int x, int y, const QString& text)
{
    requirePage();
    if (text.isEmpty()) return;
    doc_.pages.back().items.emplace_back(TextItem{x, y, text, font_});
}

const QFontMetricsF& Canvas::fontMetrics(const FontDef& font) const
{
    const QString key = font.family + u'|' + QString::number(font.size) + u'|' + QString::number(font.styles());
    auto it = metricsCache_.find(key);
    if (it == metricsCache_.end())
        it = metricsCache_.emplace(key, std::make_unique<QFontMetricsF>(toQFont(font, resolution()))).first;
    return *it->second;
}

int Canvas::textWidth(const QString& text) const { return textWidth(text, font_); }
int Canvas::textHeight(const QString& text) const { return textHeight(text, font_); }

int Canvas::textWidth(const QString& text, const FontDef& font) const
{
    if (doc_.metrics == Metrics::Cells) return int(text.size()) * cellWidth(font, resolution());
    return int(std::lround(fontMetrics(font).horizontalAdvance(text)));
}

int Canvas::textHeight(const QString& text, const FontDef& font) const
{
    if (doc_.metrics == Metrics::Cells) return cellHeight(font, resolution());
    return int(std::lround(fontMetrics(font).height()));
}

void Canvas::line(int x1, int y1, int x2, int y2, int width)
{
    requirePage();
    doc_.pages.back().items.emplace_back(LineItem{x1, y1, x2, y2, width > 0 ? width : thinLine(), QColor(Qt::black)});
}

void Canvas::frame(const QRect& rect, int width)
{
    requirePage();
    doc_.pages.back().items.emplace_back(RectItem{rect, width > 0 ? width : thinLine(), QColor(Qt::black)});
}

}  // namespace selvar
