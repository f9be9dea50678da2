#include "prescriptions/ssk_codes.h"

#include "core/turkish.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
struct FormRange {
    int from, to;
    const char16_t* form;
};
constexpr FormRange kForms[] = {
    {1, 14, u"TABLET"},   {15, 19, u"KAPSÜL"},   {55, 55, u"KAPSÜL"},   {20, 21, u"GRANÜL"},  {23, 23, u"ŞURUP"},
    {57, 58, u"ŞURUP"},   {25, 25, u"TUZ-POŞET"}, {26, 27, u"FLAKON"},   {28, 28, u"SUSP"},     {50, 50, u"SUSP"},
    {56, 56, u"SUSP"},    {70, 70, u"SUSP"},     {29, 30, u"TOZ"},      {94, 94, u"TOZ"},      {32, 36, u"KREM"},
    {37, 44, u"POMAT"},   {46, 46, u"EMUL"},     {48, 49, u"LOSYON"},   {52, 52, u"SOLÜSYON"}, {65, 65, u"SOLÜSYON"},
    {54, 54, u"DAMLA"},   {59, 62, u"DAMLA"},    {71, 71, u"DAMLA"},    {64, 64, u"GARGARA"},  {69, 69, u"SERUM"},
    {74, 79, u"AMPÜL"},   {81, 81, u"FLASTER"},  {89, 89, u"SUPP"},     {90, 90, u"OVUL"},     {92, 92, u"LAVMAN"},
    {95, 95, u"AŞI"},
};
}  // namespace

QString dosageForm(const QString& code)
{
    if (code.size() <= 11 || !isDigitsOnly(code)) return {};
    const int n = code.mid(7, 2).toInt();
    for (const FormRange& f : kForms)
        if (n >= f.from && n <= f.to) return QString::fromUtf16(f.form);
    return {};
}

QString printedProductCode(const QString& productCode, const QString& productName)
{
    return isDigitsOnly(productCode) ? productCode : productName.left(13);
}

const QStringList& sskStatusItems()
{
    static const QStringList items{u"1-Çalışan Sigortalı"_s, u"2-Emekli Sigortalı"_s, u"3-Kurum Memuru"_s,
                                   u"4-Yurtdışı Sigortalı"_s, u"5-Muaf (Çalışan Sig.lı)"_s,
                                   u"6-Muaf (Emekli Sig.lı)"_s, u"7--Muaf (Kurum Mem.)"_s,
                                   u"8-Muaf  (Yurtdışı Sig.lı)"_s};
    return items;
}

const QStringList& sskRelationshipItems()
{
    static const QStringList items{u"0-Kendisi / Sigortalı "_s, u"1-Erkek Kardeş"_s, u"2-Kadın Eş"_s, u"3-Erkek Çocuk"_s,
                                   u"4-Kız Çocuk"_s, u"5-Baba"_s, u"6-Ana"_s};
    return items;
}

const QStringList& sskCountryItems()
{
    static const QStringList items{u"01-Almanya"_s, u"02-Avusturya"_s, u"03-Belçika"_s, u"04-Fransa"_s, u"05-Hollanda"_s,
                                   u"06-İngiltere"_s, u"07-İsviçre"_s, u"08-İsveç"_s, u"09-Kıbrıs"_s};
    return items;
}

QString sskItemOf(const QStringList& items, const QString& code, int codeLength)
{
    if (code.trimmed().isEmpty()) return {};
    for (const QString& item : items)
        if (item.left(codeLength) == code.left(codeLength)) return item;
    return {};
}

}  // namespace selvar
