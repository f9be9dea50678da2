#include "print/page_setup.h"

#include "data/table.h"

#include <QPageSize>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QSizeF PageSetup::paperSizeMm(QSizeF fallback) const
{
    if (paper == UserPaper) {
        if (paperLength > 0 && paperWidth > 0) return QSizeF(paperWidth / 10.0, paperLength / 10.0);
        return fallback;
    }
    if (paper <= 0) return fallback;
    const QPageSize size(QPageSize::id(paper));
    if (!size.isValid() || size.id() == QPageSize::Custom) return fallback;
    return size.size(QPageSize::Millimeter);
}

QPageSize PageSetup::pageSize() const
{
    if (paper == UserPaper) {
        if (paperLength <= 0 || paperWidth <= 0) return QPageSize();
        return QPageSize(QSizeF(paperWidth / 10.0, paperLength / 10.0), QPageSize::Millimeter,
                         u"Kullanıcı Tanımlasın"_s, QPageSize::ExactMatch);
    }
    if (paper <= 0) return QPageSize();
    const QPageSize size(QPageSize::id(paper));
    if (!size.isValid() || size.id() == QPageSize::Custom) return QPageSize();
    return size;
}

PageFormat PageFormat::forPaper(QSizeF uprightPaperMm, Orientation o, int dpi, double borderMm)
{
    PageFormat f;
    f.dpi = dpi;
    f.orientation = o;
    f.paperMm = o == Orientation::Landscape ? uprightPaperMm.transposed() : uprightPaperMm;
    f.marginsMm = QMarginsF(borderMm, borderMm, borderMm, borderMm);
    f.millimetres = QSizeF(f.paperMm.width() - 2 * borderMm, f.paperMm.height() - 2 * borderMm);
    // Whole device pixels that fit in the area, as a driver reports them.
    f.pixels = QSize(int(std::floor(f.millimetres.width() * dpi / 25.4 + 1e-6)),
                     int(std::floor(f.millimetres.height() * dpi / 25.4 + 1e-6)));
    return f;
}

PageFormat PageFormat::forSetup(const PageSetup& setup, int dpi, double borderMm)
{
    return forPaper(setup.paperSizeMm(), setup.orientationOr(), dpi, borderMm);
}

int paperForSayfaName(const QString& name)
{
    if (name.isEmpty()) return A4Paper;
    if (name == u"Kullanıcı Tanımlasın"_s) return UserPaper;
    if (name == u"A4   (210mm x 297mm)"_s) return 9;
    if (name == u"B5   (182mm x 257mm)"_s) return 13;
    if (name == u"Legal    (203,2 mm x 355,6mm)"_s) return 5;
    if (name == u"Mektup (230,2 mm x 274,9 mm)"_s) return 45;
    return 0;
}

void applySayfaStyle(FontDef& font, const QString& style)
{
    bool bold = false, italic = false;
    if (style.startsWith(u'N')) bold = italic = false;
    if (style.startsWith(u'İ')) {
        bold = false;
        italic = true;
    }
    if (style.size() == 5) {
        bold = true;
        italic = false;
    }
    if (style.size() > 14) bold = italic = true;
    font.bold = bold;
    font.italic = italic;
}

PageSetup pageSetupFromSayfa(const SayfaRow& row, const FontDef& base)
{
    PageSetup s;
    FontDef f = base;
    if (!row.fontName.isEmpty()) f.family = row.fontName;
    if (row.fontSize > 0) f.size = row.fontSize;
    applySayfaStyle(f, row.fontStyle);
    s.font = f;
    s.orientation = row.orientation != 0 ? Orientation::Landscape : Orientation::Portrait;
    s.paper = paperForSayfaName(row.paperName);
    if (s.paper == UserPaper) {
        s.paperLength = row.paperHeightMm < 150 ? 2100 : row.paperHeightMm * 10;
        s.paperWidth = row.paperWidthMm < 150 ? 2100 : row.paperWidthMm * 10;
    }
    return s;
}

std::optional<SayfaRow> readSayfaRow(Database& db, int position)
{
    if (position == 0) return std::nullopt;
    Table t(db, u"SAYFA.DB"_s);
    if (position > 0) {
        if (!t.first()) return std::nullopt;
        for (int i = 1; i < position; ++i)
            if (!t.next()) return std::nullopt;
    } else {
        if (!t.last()) return std::nullopt;
        for (int i = -1; i > position; --i)
            if (!t.prior()) return std::nullopt;
    }
    SayfaRow r;
    // Stored texts may carry the blanks of a fixed-width field; the rules read the words.
    auto trimmed = [](const QString& s) {
        qsizetype n = s.size();
        while (n > 0 && s[n - 1].isSpace()) --n;
        return s.left(n);
    };
    r.fontName = trimmed(t.text(u"FONTADI"_s));
    r.fontStyle = trimmed(t.text(u"FONTSTYLE"_s));
    r.fontSize = int(t.integer(u"FONTSIZE"_s));
    r.orientation = int(t.integer(u"PRBICIMI"_s));
    r.paperWidthMm = int(t.integer(u"SAYFAGEN"_s));
    r.paperHeightMm = int(t.integer(u"SAYFAYUK"_s));
    r.paperName = trimmed(t.text(u"SAYFAISIM"_s));
    return r;
}

std::optional<PageSetup> readSayfaSetup(Database& db, int position, const FontDef& base)
{
    const std::optional<SayfaRow> row = readSayfaRow(db, position);
    if (!row) return std::nullopt;
    return pageSetupFromSayfa(*row, base);
}

}  // namespace selvar
