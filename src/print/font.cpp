#include "print/font.h"

#include <QFont>
#include <cmath>

namespace selvar {

QFont toQFont(const FontDef& layout, int dpi)
{
    QFont f(layout.family);
    f.setPixelSize(std::max(1, int(std::lround(layout.size * dpi / 72.0))));
    f.setBold(layout.bold);
    f.setItalic(layout.italic);
    f.setUnderline(layout.underline);
    f.setStrikeOut(layout.strikeOut);
    // Outline glyphs without hinting keep widths proportional to the size, so a line
    // measured for the printer measures the same on the screen.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::ForceOutline | QFont::PreferQuality));
    f.setKerning(false);
    return f;
}

FontDef fromQFont(const QFont& font, const QColor& color)
{
    FontDef s;
    s.family = font.family();
    s.size = font.pointSize() > 0 ? font.pointSize() : int(std::lround(font.pointSizeF()));
    if (s.size <= 0) s.size = 10;
    s.color = color.isValid() ? color : QColor(Qt::black);
    s.bold = font.bold();
    s.italic = font.italic();
    s.underline = font.underline();
    s.strikeOut = font.strikeOut();
    return s;
}

QColor colorFromStored(qint64 value)
{
    if (value < 0 || value > 0xFFFFFF) return Qt::black;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint64 storedFromColor(const QColor& color)
{
    if (!color.isValid()) return 0;
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

}  // namespace selvar
