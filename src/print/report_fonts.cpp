#include "print/report_fonts.h"

#include "data/table.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QString styleLetter(const FontDef& f)
{
    const int s = f.styles() & (FontStyle::Bold | FontStyle::Italic | FontStyle::Underline);
    switch (s) {
    case FontStyle::Bold: return u"B"_s;
    case FontStyle::Italic: return u"I"_s;
    case FontStyle::Underline: return u"U"_s;
    case FontStyle::Bold | FontStyle::Italic: return u"C"_s;
    case FontStyle::Bold | FontStyle::Underline: return u"E"_s;
    case FontStyle::Italic | FontStyle::Underline: return u"L"_s;
    case FontStyle::Bold | FontStyle::Italic | FontStyle::Underline: return u"3"_s;
    default: return u"R"_s;
    }
}

void applyStyleLetter(FontDef& f, const QString& letter)
{
    const QString l = letter.trimmed().toUpper();
    int s = FontStyle::Regular;
    if (l == u"B"_s) s = FontStyle::Bold;
    else if (l == u"I"_s) s = FontStyle::Italic;
    else if (l == u"U"_s) s = FontStyle::Underline;
    else if (l == u"C"_s) s = FontStyle::Bold | FontStyle::Italic;
    else if (l == u"E"_s) s = FontStyle::Bold | FontStyle::Underline;
    else if (l == u"L"_s) s = FontStyle::Italic | FontStyle::Underline;
    else if (l == u"3"_s) s = FontStyle::Bold | FontStyle::Italic | FontStyle::Underline;
    f.setStyles(s);
}

std::optional<ReportFontRow> readReportFont(Database& db, const QString& key)
{
    Table t(db, u"FONT.DB"_s);
    if (!t.findKey({key})) return std::nullopt;
    ReportFontRow r;
    r.font.family = t.text(u"FONTADI"_s).trimmed();
    r.font.size = int(t.integer(u"FONTSIZE"_s));
    r.font.color = colorFromStored(t.integer(u"COLOR"_s));
    applyStyleLetter(r.font, t.text(u"STYLE"_s));
    r.margin = int(t.integer(u"MARJIN"_s));
    return r;
}

bool loadReportFont(Database& db, const QString& key, FontDef& font, int& margin)
{
    const std::optional<ReportFontRow> row = readReportFont(db, key);
    if (!row) return false;
    if (!row->font.family.isEmpty()) font.family = row->font.family;
    if (row->font.size > 0) font.size = row->font.size;
    font.color = row->font.color;
    font.bold = row->font.bold;
    font.italic = row->font.italic;
    font.underline = row->font.underline;
    font.strikeOut = false;
    if (row->margin > 0) margin = row->margin;
    return true;
}

void saveReportFont(Database& db, const QString& key, const FontDef& font, std::optional<int> margin)
{
    Table t(db, u"FONT.DB"_s);
    if (t.findKey({key})) {
        t.edit();
    } else {
        t.insert();
        t.set(u"BIRIM"_s, key);
    }
    t.set(u"FONTADI"_s, font.family);
    t.set(u"FONTSIZE"_s, font.size);
    t.set(u"COLOR"_s, storedFromColor(font.color));
    t.set(u"STYLE"_s, styleLetter(font));
    if (margin && *margin >= 0) t.set(u"MARJIN"_s, *margin);
    t.post();
}

}  // namespace selvar
