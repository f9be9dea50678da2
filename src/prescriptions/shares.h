#pragma once
// How a prescription's amount splits into the institution's discount, the patient's
// share and the institution's net, by product category and patient class.
#include <QString>
#include <QVariantMap>
#include <QList>
#include <array>

namespace selvar {

// Categories of a prescription line and the gross field each one fills.
enum class Bucket { Normal, WithMedicine, Special, Imported, ImportedReport };
inline constexpr int BucketCount = 5;

// "I" with-medicine, "O" special contribution, "L" imported, "U" imported with a report;
// every other letter, and none, is a normal drug.
Bucket bucketOf(const QString& prescriptionType);
QString grossField(Bucket b);          // BRUTN, BRUTI, BRUTO, BRUTH, BRUTMR
QString ratePrefix(Bucket b);          // ILACLARDA, ILACBERABER, OZELKATILIM, ITHAL, IHLRAP
QString bucketTitle(Bucket b);         // "Normal İlaçlar", ...
// The KRMLAR field of a class's share rate: "Ç" CALISAN, "E" EMEKLI, "R" RAPYAT,
// "D" DIGER; empty for "N" and "Y", who pay nothing.
QString classSuffix(const QString& classLetter);

// A rate as the window shows it: 3 significant digits, 2 decimals ("33,30").
QString shownRate(double rate);

struct Institution {
    bool found = false;
    QString code, name;
    bool shareFromGross = false;  // HSP_ISKON "1"
    QVariantMap rates;            // every rate field of the card
    QStringList labels;           // ETIKET1..ETIKET6
    double discountRate(Bucket b) const;
    double shareRate(Bucket b, const QString& classLetter) const;
};

class Database;
// The card of an institution by its code; `found` false for an empty or unknown code.
Institution loadInstitution(Database& db, const QString& code);

struct BucketShare {
    double gross = 0, discountRate = 0, discount = 0, subtotal = 0, shareRate = 0, share = 0, net = 0;
};

struct ShareResult {
    std::array<BucketShare, BucketCount> buckets{};
    double sum(double BucketShare::*member) const;
    double gross() const { return sum(&BucketShare::gross); }
    double discount() const { return sum(&BucketShare::discount); }
    double subtotal() const { return sum(&BucketShare::subtotal); }
    double share() const { return sum(&BucketShare::share); }  // HASTAKATPAY
    double net() const { return sum(&BucketShare::net); }      // NET
};

// The shares of the window: the share rates are taken as shown (3 significant digits),
// the discount rates at their stored precision. Without an institution the gross is
// the net.
ShareResult computeShares(const std::array<double, BucketCount>& gross, const Institution& inst,
                          const QString& classLetter, bool shareRatesAsShown = true);

// The institution's part of one line (its VAT base), with the stored rates of the class.
double institutionPart(double amount, Bucket b, const Institution& inst, const QString& classLetter);

// One line of a prescription as its amounts need it.
struct AmountLine {
    double amount = 0;  // quantity × price
    Bucket bucket = Bucket::Normal;
    double vat = 0;     // the line's VAT rate
};
// KDVA, KDVB, KDVC: the VAT contained in the institution's part of the lines, summed by
// the three rates KDV1..KDV3 of KDV.DB (all 0 without that row).
std::array<double, 3> vatByRate(Database& db, const QList<AmountLine>& lines, const Institution& inst,
                                const QString& classLetter);

}  // namespace selvar
