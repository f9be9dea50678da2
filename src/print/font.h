#pragma once
// A printer font as the program keeps it: family, size in points, colour and the three
// styles a report font can have. Strike-out is carried for the font dialog only; no
// printout stores it.
#include <QColor>
#include <QString>

class QFont;

namespace selvar {

// Style bits as the canvas takes them.
namespace FontStyle {
enum : int { Regular = 0, Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
}

struct FontDef {
    QString family = QStringLiteral("Courier New");
    int size = 10;  // points
    QColor color = Qt::black;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    FontDef() = default;
    FontDef(const QString& f, int s, bool b = false, bool i = false, bool u = false)
        : family(f), size(s), bold(b), italic(i), underline(u) {}

    int styles() const
    {
        return (bold ? FontStyle::Bold : 0) | (italic ? FontStyle::Italic : 0) |
               (underline ? FontStyle::Underline : 0) | (strikeOut ? FontStyle::StrikeOut : 0);
    }
    void setStyles(int s)
    {
        bold = s & FontStyle::Bold;
        italic = s & FontStyle::Italic;
        underline = s & FontStyle::Underline;
        strikeOut = s & FontStyle::StrikeOut;
    }

    bool operator==(const FontDef& o) const = default;
};

// The font at `dpi` with its size in device pixels, so that measuring and drawing agree on
// every device (printer, PDF, preview) whatever its own resolution.
QFont toQFont(const FontDef& layout, int dpi);
FontDef fromQFont(const QFont& font, const QColor& color = Qt::black);

// Colours as the tables store them: 0x00BBGGRR; negative values (system colours) are black.
QColor colorFromStored(qint64 value);
qint64 storedFromColor(const QColor& color);

}  // namespace selvar
