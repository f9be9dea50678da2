#include "prescriptions/shares.h"

#include "core/format.h"
#include "data/sql.h"
#include "data/table.h"

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

Bucket bucketOf(const QString& t)
{
    if (t == u"I"_s) return Bucket::WithMedicine;
    if (t == u"O"_s) return Bucket::Special;
    if (t == u"L"_s) return Bucket::Imported;
    if (t == u"U"_s) return Bucket::ImportedReport;
    return Bucket::Normal;
}

QString grossField(Bucket b)
{
    static const char* f[] = {"BRUTN", "BRUTI", "BRUTO", "BRUTH", "BRUTMR"};
    return QString::fromLatin1(f[int(b)]);
}

QString ratePrefix(Bucket b)
{
    static const char* f[] = {"ILACLARDA", "ILACBERABER", "OZELKATILIM", "ITHAL", "IHLRAP"};
    return QString::fromLatin1(f[int(b)]);
}

QString bucketTitle(Bucket b)
{
    static const char16_t* f[] = {u"Normal İlaçlar", u"İlaç Beraberi", u"Özel Katılım", u"İthal İlaçlar",
                                  u"Raporlu İthal İlaçlar"};
    return QString::fromUtf16(f[int(b)]);
}

QString classSuffix(const QString& c)
{
    if (c == u"Ç"_s) return u"CALISAN"_s;
    if (c == u"E"_s) return u"EMEKLI"_s;
    if (c == u"R"_s) return u"RAPYAT"_s;
    if (c == u"D"_s) return u"DIGER"_s;
    return {};
}

QString shownRate(double rate)
{
    // 3 significant digits first, then shown with 2 decimals.
    double rounded = 0;
    parseNumber(format(u"%.3g", rate), &rounded);
    return format(u"%.2f", rounded);
}

Institution loadInstitution(Database& db, const QString& code)
{
    Institution inst;
    if (code.trimmed().isEmpty()) return inst;
    const qint64 row = findKeyRow(db, u"KRMLAR"_s, QString(), {code.trimmed()});
    if (row == 0) return inst;
    const QVariantMap k = readRecord(db, u"KRMLAR"_s, row);
    inst.found = true;
    inst.code = k.value(u"KOD"_s).toString();
    inst.name = k.value(u"AD"_s).toString();
    inst.shareFromGross = k.value(u"HSP_ISKON"_s).toString() == u"1"_s;
    for (const FieldDef& f : tableDef(u"KRMLAR"_s).fields)
        if (f.type == FieldType::Number) inst.rates.insert(f.name, k.value(f.name).toDouble());
    for (int i = 1; i <= 6; ++i) inst.labels << k.value(u"ETIKET"_s + QString::number(i)).toString();
    return inst;
}

double Institution::discountRate(Bucket b) const
{
    return found ? rates.value(ratePrefix(b) + u"KURUM"_s).toDouble() : 0;
}

double Institution::shareRate(Bucket b, const QString& classLetter) const
{
    const QString suffix = classSuffix(classLetter);
    if (!found || suffix.isEmpty()) return 0;
    return rates.value(ratePrefix(b) + suffix).toDouble();
}

double ShareResult::sum(double BucketShare::*member) const
{
    double s = 0;
    for (const auto& b : buckets) s += b.*member;
    return s;
}

ShareResult computeShares(const std::array<double, BucketCount>& gross, const Institution& inst,
                          const QString& classLetter, bool shareRatesAsShown)
{
    ShareResult r;
    for (int i = 0; i < BucketCount; ++i) {
        BucketShare& s = r.buckets[i];
        s.gross = gross[i];
        if (!inst.found) {
            s.subtotal = s.net = s.gross;
            continue;
        }
        const Bucket b = Bucket(i);
        s.discountRate = inst.discountRate(b);
        s.shareRate = inst.shareRate(b, classLetter);
        if (shareRatesAsShown) parseNumber(shownRate(s.shareRate), &s.shareRate);
        s.discount = s.gross * s.discountRate * 0.01;
        s.share = inst.shareFromGross ? s.shareRate * s.gross * 0.01 : s.shareRate * (s.gross - s.discount) * 0.01;
        s.subtotal = s.gross - s.discount;
        s.net = s.subtotal - s.share;
    }
    return r;
}

double institutionPart(double amount, Bucket b, const Institution& inst, const QString& classLetter)
{
    if (!inst.found) return amount;
    const double k = inst.discountRate(b);
    const double p = inst.shareRate(b, classLetter);
    const double afterDiscount = amount - amount * k * 0.01;
    const double share = inst.shareFromGross ? p * amount * 0.01 : p * afterDiscount * 0.01;
    return afterDiscount - share;
}

std::array<double, 3> vatByRate(Database& db, const QList<AmountLine>& lines, const Institution& inst,
                                const QString& classLetter)
{
    std::array<double, 3> r{};
    Sql k(db, u"SELECT KDV1, KDV2, KDV3 FROM KDV LIMIT 1"_s);
    k.exec();
    if (!k.next()) return r;
    const double rates[3] = {k.number(0), k.number(1), k.number(2)};
    for (const AmountLine& l : lines) {
        const double part = institutionPart(l.amount, l.bucket, inst, classLetter);
        for (int i = 0; i < 3; ++i)
            if (l.vat == rates[i]) {
                r[size_t(i)] += part * l.vat / (l.vat + 100);
                break;
            }
    }
    return r;
}

}  // namespace selvar
