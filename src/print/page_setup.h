#pragma once
// What a printout asks of the printer (font, orientation, paper) and what a page then
// measures (its printable area in pixels and millimetres). Page setups are also read
// from the rows of SAYFA.DB.
#include "print/font.h"

#include <QMarginsF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <optional>

class QPageSize;

namespace selvar {

class Database;

enum class Orientation { Portrait, Landscape };

// Paper numbers are the printer driver's numbers (9 A4, 5 Legal, 256 a size of one's own).
inline constexpr int UserPaper = 256;
inline constexpr int A4Paper = 9;

struct PageSetup {
    std::optional<FontDef> font;            // the print font a job starts with
    std::optional<Orientation> orientation;  // unset keeps the printer's
    int paper = 0;                           // 0 keeps the printer's paper
    int paperLength = 0;                     // tenths of a millimetre, for UserPaper
    int paperWidth = 0;

    bool operator==(const PageSetup& o) const = default;

    // The sheet for this setup, upright, in millimetres; `fallback` when the setup names
    // no paper the program knows.
    QSizeF paperSizeMm(QSizeF fallback = QSizeF(210, 297)) const;
    // The printer's paper size for this setup; invalid when the printer's own is kept.
    QPageSize pageSize() const;
    Orientation orientationOr(Orientation fallback = Orientation::Portrait) const
    {
        return orientation.value_or(fallback);
    }
};

// What one page of a job measures. Pixels and millimetres describe the same area (the
// printable area of the sheet), so pixels per centimetre come out true on every device.
struct PageFormat {
    int dpi = 600;
    QSize pixels;          // printable area in device pixels
    QSizeF millimetres;    // the same area in millimetres
    QSizeF paperMm;        // the whole sheet as it lies (landscape: wider than tall)
    QMarginsF marginsMm;   // unprintable border of the sheet
    Orientation orientation = Orientation::Portrait;

    // A sheet of `paperMm` (upright) at `dpi` with an unprintable border of `borderMm`.
    static PageFormat forPaper(QSizeF uprightPaperMm, Orientation o, int dpi, double borderMm = 0);
    // The format a setup gives on a device of `dpi` (PDF files, the preview, tests).
    static PageFormat forSetup(const PageSetup& setup, int dpi = 600, double borderMm = 0);
};

// ---- page setups of SAYFA.DB

struct SayfaRow {
    QString fontName;   // FONTADI
    QString fontStyle;  // FONTSTYLE
    int fontSize = 0;   // FONTSIZE
    int orientation = 0;   // PRBICIMI: 0 portrait, otherwise landscape
    int paperWidthMm = 0;  // SAYFAGEN
    int paperHeightMm = 0; // SAYFAYUK
    QString paperName;     // SAYFAISIM
};

// Paper number of a SAYFAISIM name.
int paperForSayfaName(const QString& name);
// Applies a FONTSTYLE text: first letter "N" regular, "İ" italic, five letters bold, more
// than 14 letters bold italic; the rules are tried in this order and later matches win.
void applySayfaStyle(FontDef& font, const QString& style);
// The setup a row gives; font name and size are taken when present, `base` supplies the rest.
PageSetup pageSetupFromSayfa(const SayfaRow& row, const FontDef& base = FontDef());

// Rows of SAYFA.DB by position: 1 the first, 3 the third, -1 the last, -2 the one before
// the last. No row there gives nothing.
std::optional<SayfaRow> readSayfaRow(Database& db, int position);
std::optional<PageSetup> readSayfaSetup(Database& db, int position, const FontDef& base = FontDef());

}  // namespace selvar
