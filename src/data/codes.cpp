#include "data/codes.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
struct PrescriptionType {
    const char16_t* code;
    const char16_t* text;
    const char16_t* caption;
};
constexpr PrescriptionType kTypes[] = {
    {u"N", u"Normal", u"&Normal"},
    {u"Y", u"Yeşil", u"&Yeşil Reçeteli"},
    {u"K", u"Kırmızı", u"&Kırmızı Reçeteli"},
    {u"R", u"Reçete ile Satışı Mecburi", u"&Reç ile Satışı Mecburi"},
    {u"A", u"Antibiogram Gerekli", u"&Antibiogram Gerekli"},
    {u"S", u"Sağlık Kurulu Raporu Gerekli", u"&Sağlık Krl. Rp. Gerekli"},
    {u"O", u"Özel Katılım Paylı", u"&Özel Katılım Paylı"},
    {u"I", u"İlaç Beraberi", u"&İlaç Beraberi"},
    {u"B", u"Bedelini Hasta Ödeyecek", u"&Bedeli Hst. Ödeyecek"},
    {u"H", u"Hastahanede Yatan Hasta", u"&Hastanede Yatan Hst."},
    {u"L", u"İthal İlaç", u"İtha&L İlaç"},
    {u"U", u"Rap.İthal İlaç", u"Raporl&U İthal İlaç"},
};
}  // namespace

const QStringList& prescriptionTypeCodes()
{
    static const QStringList codes = [] {
        QStringList r;
        for (const auto& t : kTypes) r << QString::fromUtf16(t.code);
        return r;
    }();
    return codes;
}

QString prescriptionTypeText(const QString& code)
{
    for (const auto& t : kTypes)
        if (code == QString::fromUtf16(t.code)) return QString::fromUtf16(t.text);
    return {};
}

QString prescriptionTypeCaption(const QString& code)
{
    for (const auto& t : kTypes)
        if (code == QString::fromUtf16(t.code)) return QString::fromUtf16(t.caption);
    return {};
}

QString movementKindText(const QString& kind)
{
    if (kind == u"A"_s) return u"ALIMLAR"_s;
    if (kind == u"D"_s) return u"DİĞER"_s;
    if (kind == u"K"_s) return u"KRM.FATURALARI"_s;
    if (kind == u"M"_s) return u"VERESİYELER"_s;
    if (kind == u"N"_s) return u"NAKİTLER"_s;
    if (kind == u"P"_s) return u"PRK.FATURALAR"_s;
    if (kind == u"S"_s) return u"SENETLER"_s;
    if (kind == u"Ç"_s) return u"ÇEKLER"_s;
    return {};
}

QString movementStateText(const QString& kind, int s, double debit)
{
    if (kind == u"N"_s) return {};
    if (kind == u"S"_s) {
        if (debit > 0) {
            if (s == 1) return u"Senet Ödendi"_s;
            if (s == 2) return u"Protesto"_s;
            return u"Senet Verildi"_s;
        }
        if (s == 1) return u"Senet Tahsil Edl."_s;
        if (s == 2) return u"Senet Cirolandı"_s;
        if (s == 3) return u"Protesto"_s;
        return u"Senet Alındı"_s;
    }
    if (kind == u"Ç"_s) {
        if (debit > 0) {
            if (s == 1) return u"Çek Ödendi"_s;
            if (s == 2) return u"Karşılıksız Çek"_s;
            return u"Çek Verildi"_s;
        }
        if (s == 1) return u"Çek Tahsil Edl."_s;
        if (s == 2) return u"Çek Cirolandı"_s;
        if (s == 3) return u"Karşılıksız Çek"_s;
        return u"Çek Alındı"_s;
    }
    return s < 1 ? u"Açık"_s : u"Kapatıldı"_s;
}

namespace {
const char16_t* kShort[] = {u"1.S.M.İsk.lu", u"2.İsk.suz", u"3.DF.İs.lu", u"4.DF.İs.suz", u"5.Diğ.İ.suz",
                            u"6.F.İsk.lu", u"7.DF.Frk.İ.lu", u"8.Diğ.S.M.İsk.lu", u"9.Diğ.Frk.İsk.lu"};
const char16_t* kLong[] = {u"&1.Sabit Depo İsk.lu", u"&2.İskontosuz", u"&3.Depocu Fiyatlı Sbt.Dp.İsk.lu",
                           u"&4.Depocu Fiyatlı İsk.suz", u"&5.Diğer(KDVsiz) İsk.suz", u"&6.Farklı İskontolu",
                           u"&7.Depocu Fyt.lı Farklı İsk.lu", u"&8.Diğer(KDVsiz) Sbt.Dp. İsk.lu",
                           u"&9.Diğer(KDVsiz) Farklı İsk.lu"};
const char16_t* kDialog[] = {u"&1.Sabit Depo İsk.lu", u"&2.İskontosuz", u"&3.Dep.Fiyatlı Sbt.D.İsk.lu",
                             u"&4.Dep. Fiyatlı İsk.suz", u"&5.Diğ.(KDVsiz) İsk.suz", u"&6.Farklı İskontolu",
                             u"&7.Dep. Fyt.lı Farklı İsk.lu", u"&8.Diğ.(Kdvsiz) Sbt.D.İsk.lu",
                             u"&9.Diğ.(Kdvsiz) Farklı İsk.lu"};
const char16_t* kPriceLabel[] = {u"Etiket Fi&yatı", u"Etiket Fi&yatı", u"Depocu Fi&yatı", u"Depocu Fi&yatı",
                                 u"D.Kdvsiz Fi&yatı", u"Etiket Fi&yatı", u"Depocu Fi&yatı", u"D.Kdvsiz Fi&yatı",
                                 u"D.Kdvsiz Fi&yatı"};
int typeIndex(const QString& code)
{
    if (code.size() != 1 || code[0] < u'0' || code[0] > u'8') return -1;
    return code[0].unicode() - u'0';
}
}  // namespace

QString discountTypeShort(const QString& code)
{
    const int i = typeIndex(code);
    return i < 0 ? QString() : QString::fromUtf16(kShort[i]);
}

QString discountTypeLong(const QString& code)
{
    const int i = typeIndex(code);
    return i < 0 ? QString() : QString::fromUtf16(kLong[i]);
}

QString discountTypeCaption(int index)
{
    return index < 0 || index > 8 ? QString() : QString::fromUtf16(kDialog[index]);
}

QString discountTypePriceLabel(int index)
{
    return index < 0 || index > 8 ? u"Etiket Fi&yatı"_s : QString::fromUtf16(kPriceLabel[index]);
}

}  // namespace selvar
