#pragma once
// The arithmetic of a purchase invoice: the values of every line of the purchase list by
// its discount type, the invoice's totals (Hesap) and the totals of the three purchase
// categories (AraHesap). Nothing here reads or writes a table.
#include <QString>
#include <QStringList>
#include <array>

namespace selvar {

// The discount types "0".."8": short grid labels, long choice labels.
const QStringList& purchaseDiscountTypeLabels();      // "1.S.M.İsk.lu" ...
const QStringList& purchaseDiscountTypeLongLabels();  // "&1.Sabit Depo İsk.lu" ...
QString purchaseDiscountTypeLabel(const QString& code);  // empty for any other code

enum class PurchaseCategory { Discounted = 0, Undiscounted = 1, Other = 2, None = 3 };
PurchaseCategory purchaseCategory(const QString& code);  // İskontolu, İskontosuz, Diğer(KDVsiz)
// Types "5", "6" and "8" carry a line discount of their own (M_ISKONTO).
bool purchaseTypeHasLineDiscount(const QString& code);
// A number typed into a purchase box: spaces dropped, "," as the decimal mark; 0 when empty.
double purchaseTypedNumber(QString typed);

// One ALISTEMP.DB line as it is typed.
struct PurchaseLineInput {
    double price = 0;        // FIYAT; its meaning follows the type
    int quantity = 0;        // MIKTAR, free goods included
    int freeGoods = 0;       // MALFAZLASI
    QString type;            // TIPISKONTO
    double lineDiscount = 0; // M_ISKONTO, percent (types "5", "6", "8")
    double vat = 0;          // KDV, percent
    bool vatOnFreeGoods = false;  // MKDVVARMI "E"
};

// The line's calculated fields; rates in percent.
struct PurchaseLineValues {
    double amount = 0;        // Tutar
    double vatDeduction = 0;  // kdvTutar
    double profit = 0;        // EczKar
    double freeGoods = 0;     // MalFazlIndr
    double netBefore = 0;     // AraNetTutar
    double discount = 0;      // MusIskon
    double withoutVat = 0;    // Toplamsiz
    double vat = 0;           // TopKDV
    double freeGoodsVat = 0;  // MFKDV
    double net = 0;           // NetToplam
    double unitCost = 0;      // Net_Birim_Fiyat
};

// profitRate INORAN1, fixedDiscount INORAN3 of the invoice being edited.
PurchaseLineValues purchaseLineValues(const PurchaseLineInput& line, double profitRate, double fixedDiscount);

// The stored totals of the invoice (the "TOPLAMLAR" column).
struct PurchaseTotals {
    double brut = 0;        // BRUT
    double vatDeduction = 0;// KDVTENZIL
    double profit = 0;      // INDIR1
    double freeGoods = 0;   // INDIR2
    double discount = 0;    // INDIR3
    double freeGoodsVat = 0;// MFKDV
    double vat = 0;         // KDVTOP
    double net = 0;         // NET
    double netBefore() const { return brut - vatDeduction - profit - freeGoods; }  // AraTopNetTut
    double subtotal() const { return netBefore() - discount; }                     // AraTop
};
PurchaseTotals purchaseTotals(const QList<PurchaseLineValues>& lines);

// NET rounded by the supplier's FATYUVAR: "%0.0f", its last d characters dropped, times
// 10^d; a text of d characters or fewer leaves the net as it is.
double roundPurchaseNet(double net, int digits);

// One category column of the total grid (AraHesap).
struct PurchaseCategoryTotals {
    double brut = 0, vatDeduction = 0, profit = 0, freeGoods = 0, netBefore = 0, discount = 0, subtotal = 0, vat = 0,
           freeGoodsVat = 0, net = 0;
};
std::array<PurchaseCategoryTotals, 3> purchaseCategoryTotals(const QList<PurchaseLineInput>& inputs,
                                                             const QList<PurchaseLineValues>& values);

// A rate typed into "Ecz.&Karı (%) :" or "Sabit &Depo İskontosu (%) :": empty or a lone ","
// is 0; above 99.99 divided by 100; digits without a "," longer than two divided by 100
// ("125" is 1,25, "075" is 0,75).
double purchaseRateAsTyped(const QString& text);

}  // namespace selvar
