#include "print/render.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace selvar {

namespace {

struct Draw {
    QPainter& p;
    int dpi;

    void operator()(const TextItem& t) const
    {
        QFont f = toQFont(t.font, dpi);
        // Underlines are drawn by hand: the font's own leaves blanks bare, and a line of
        // blanks is how a printout draws a rule.
        f.setUnderline(false);
        p.setFont(f);
        p.setPen(t.font.color);
        const QFontMetricsF m(f);
        const qreal baseline = t.y + m.ascent();
        p.drawText(QPointF(t.x, baseline), t.text);
        if (t.font.underline) {
            const qreal y = baseline + std::max<qreal>(1, m.underlinePos());
            const qreal w = m.horizontalAdvance(t.text);
            p.save();
            p.setPen(QPen(t.font.color, std::max<qreal>(1, m.lineWidth()), Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(t.x, y), QPointF(t.x + w, y));
            p.restore();
        }
    }
    void operator()(const LineItem& l) const
    {
        p.setPen(QPen(l.color, l.width, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(QPoint(l.x1, l.y1), QPoint(l.x2, l.y2));
    }
    void operator()(const RectItem& r) const
    {
        p.setPen(QPen(r.color, r.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.rect);
    }
};

}  // namespace

void renderPage(QPainter& painter, const Document& document, int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= document.pageCount()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const Draw draw{painter, document.format.dpi};
    for (const PageItem& item : document.pages[size_t(pageIndex)].items) std::visit(draw, item);
    painter.restore();
}

bool renderDocument(QPagedPaintDevice& device, const Document& document)
{
    QPainter p;
    if (!p.begin(&device)) return false;
    const qreal sx = qreal(device.logicalDpiX()) / document.format.dpi;
    const qreal sy = qreal(device.logicalDpiY()) / document.format.dpi;
    p.scale(sx, sy);
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0 && !device.newPage()) return false;
        renderPage(p, document, i);
    }
    return p.end();
}

}  // namespace selvar
