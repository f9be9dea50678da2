#include "purchasing/alis_calc.h"

#include "core/format.h"

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

const QStringList& purchaseDiscountTypeLabels()
{
    static const QStringList l{u"1.S.M.İsk.lu"_s, u"2.İsk.suz"_s,    u"3.DF.İs.lu"_s,       u"4.DF.İs.suz"_s,      u"5.Diğ.İ.suz"_s,
                               u"6.F.İsk.lu"_s,   u"7.DF.Frk.İ.lu"_s, u"8.Diğ.S.M.İsk.lu"_s, u"9.Diğ.Frk.İsk.lu"_s};
    return l;
}

const QStringList& purchaseDiscountTypeLongLabels()
{
    static const QStringList l{u"&1.Sabit Depo İsk.lu"_s,
                               u"&2.İskontosuz"_s,
                               u"&3.Depocu Fiyatlı Sbt.Dp.İsk.lu"_s,
                               u"&4.Depocu Fiyatlı İsk.suz"_s,
                               u"&5.Diğer(KDVsiz) İsk.suz"_s,
                               u"&6.Farklı İskontolu"_s,
                               u"&7.Depocu Fyt.lı Farklı İsk.lu"_s,
                               u"&8.Diğer(KDVsiz) Sbt.Dp. İsk.lu"_s,
                               u"&9.Diğer(KDVsiz) Farklı İsk.lu"_s};
    return l;
}

namespace {
int typeIndex(const QString& code)
{
    if (code.size() != 1 || code[0] < u'0' || code[0] > u'8') return -1;
    return code[0].unicode() - u'0';
}
bool wholesalerPrice(int t) { return t == 2 || t == 3 || t == 6; }  // VAT and profit worked back, not deducted
bool vatFree(int t) { return t == 4 || t == 7 || t == 8; }          // "Diğer": neither deducted
}  // namespace

QString purchaseDiscountTypeLabel(const QString& code)
{
    const int t = typeIndex(code);
    return t < 0 ? QString() : purchaseDiscountTypeLabels()[t];
}

PurchaseCategory purchaseCategory(const QString& code)
{
    switch (typeIndex(code)) {
    case 0: case 2: case 5: case 6: return PurchaseCategory::Discounted;
    case 1: case 3: return PurchaseCategory::Undiscounted;
    case 4: case 7: case 8: return PurchaseCategory::Other;
    default: return PurchaseCategory::None;
    }
}

bool purchaseTypeHasLineDiscount(const QString& code)
{
    const int t = typeIndex(code);
    return t == 5 || t == 6 || t == 8;
}

double purchaseTypedNumber(QString typed)
{
    typed.remove(u' ');
    typed.replace(u',', u'.');
    return typed.toDouble();
}

PurchaseLineValues purchaseLineValues(const PurchaseLineInput& in, double profitRate, double fixedDiscount)
{
    PurchaseLineValues v;
    const int t = typeIndex(in.type);
    const double q = in.quantity, p = in.price, vat = in.vat;
    v.amount = p * q;
    if (wholesalerPrice(t)) {
        v.vatDeduction = v.amount * vat / (100 - profitRate);
        v.profit = v.amount * profitRate / (100 - profitRate);
    } else if (!vatFree(t)) {
        v.vatDeduction = v.amount * vat / (vat + 100);
        v.profit = profitRate * (v.amount - v.vatDeduction) * 0.01;
    }
    if (in.freeGoods >= 1) {
        v.freeGoods = wholesalerPrice(t) ? in.freeGoods * p
                                         : in.freeGoods * (p - (v.vatDeduction / q + v.profit / q));
    }
    v.netBefore = wholesalerPrice(t) ? v.amount - v.freeGoods : v.amount - (v.vatDeduction + v.profit + v.freeGoods);
    if (t == 0 || t == 2 || t == 7) v.discount = fixedDiscount * v.netBefore * 0.01;
    else if (t == 5 || t == 6 || t == 8) v.discount = in.lineDiscount * v.netBefore * 0.01;
    v.withoutVat = v.netBefore - v.discount;
    v.vat = vat * v.withoutVat * 0.01;
    v.freeGoodsVat = in.freeGoods > 0 && in.vatOnFreeGoods ? vat * v.freeGoods * 0.01 : 0;
    v.net = v.withoutVat + v.vat + v.freeGoodsVat;
    v.unitCost = q != 0 ? v.net / q : 0;
    return v;
}

PurchaseTotals purchaseTotals(const QList<PurchaseLineValues>& lines)
{
    PurchaseTotals s;
    double withoutVat = 0;
    for (const PurchaseLineValues& l : lines) {
        s.brut += l.amount;
        s.vatDeduction += l.vatDeduction;
        s.profit += l.profit;
        s.freeGoods += l.freeGoods;
        s.discount += l.discount;
        s.freeGoodsVat += l.freeGoodsVat;
        s.vat += l.vat;
        withoutVat += l.withoutVat;
    }
    s.net = withoutVat + s.freeGoodsVat + s.vat;
    return s;
}

double roundPurchaseNet(double net, int digits)
{
    if (digits <= 0) return net;
    const QString text = QString::asprintf("%0.0f", net);
    if (text.size() <= digits) return net;
    return text.left(text.size() - digits).toDouble() * std::pow(10.0, digits);
}

std::array<PurchaseCategoryTotals, 3> purchaseCategoryTotals(const QList<PurchaseLineInput>& inputs,
                                                             const QList<PurchaseLineValues>& values)
{
    std::array<PurchaseCategoryTotals, 3> c{};
    for (int i = 0; i < std::min(inputs.size(), values.size()); ++i) {
        const PurchaseCategory k = purchaseCategory(inputs[i].type);
        if (k == PurchaseCategory::None) continue;
        const PurchaseLineValues& v = values[i];
        PurchaseCategoryTotals& t = c[size_t(k)];
        t.brut += v.amount;
        t.freeGoods += v.freeGoods;
        t.netBefore += v.netBefore;
        t.subtotal += v.withoutVat;
        t.vat += v.vat;
        t.freeGoodsVat += v.freeGoodsVat;
        t.net += v.net;
        if (k != PurchaseCategory::Other) {
            t.vatDeduction += v.vatDeduction;
            t.profit += v.profit;
        }
        // İskontolu carries its discounts; Diğer those of its discounted types "7" and "8".
        if (k == PurchaseCategory::Discounted || inputs[i].type == u"7"_s || inputs[i].type == u"8"_s)
            t.discount += v.discount;
    }
    return c;
}

double purchaseRateAsTyped(const QString& text)
{
    const QString s = text.trimmed();
    if (s.isEmpty() || s == u","_s) return 0;
    double v = 0;
    if (!parseNumber(s, &v)) return 0;
    if (!s.contains(u',') && s.size() > 2) return v / 100;
    return v > 99.99 ? v / 100 : v;
}

}  // namespace selvar
