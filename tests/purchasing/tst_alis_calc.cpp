// The purchase invoice's arithmetic: line values by discount type, the invoice totals,
// the rounding by the supplier's digits, the category columns and the typed rates.
#include "purchasing/alis_calc.h"

#include <QTest>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

class TstAlisCalc : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineValues_data();
    void lineValues();
    void freeGoodsNeedAQuantity();
    void totalsAndCategories();
    void rounding();
    void labelsAndRates();
};

void TstAlisCalc::lineValues_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("price");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<int>("free");
    QTest::addColumn<bool>("freeVat");
    QTest::addColumn<double>("vat");
    QTest::addColumn<double>("lineDiscount");
    // kdvTutar, EczKar, MalFazlIndr, MusIskon, Toplamsiz, TopKDV, MFKDV, NetToplam
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("0, free goods with VAT") << u"0"_s << 10800.0 << 10 << 2 << true << 8.0 << 0.0
                                            << QList<double>{8000, 25000, 15000, 4800, 55200, 4416, 1200, 60816};
    QTest::newRow("2, wholesaler price") << u"2"_s << 6000.0 << 5 << 0 << false << 8.0 << 0.0
                                         << QList<double>{3200, 10000, 0, 2400, 27600, 2208, 0, 29808};
    QTest::newRow("4, without VAT") << u"4"_s << 1000.0 << 3 << 0 << false << 8.0 << 0.0
                                    << QList<double>{0, 0, 0, 0, 3000, 240, 0, 3240};
    QTest::newRow("8, own discount") << u"8"_s << 2000.0 << 2 << 0 << false << 18.0 << 10.0
                                     << QList<double>{0, 0, 0, 400, 3600, 648, 0, 4248};
    QTest::newRow("1, no discount") << u"1"_s << 10800.0 << 1 << 0 << false << 8.0 << 50.0
                                    << QList<double>{800, 2500, 0, 0, 7500, 600, 0, 8100};
}

void TstAlisCalc::lineValues()
{
    QFETCH(QString, type);
    QFETCH(double, price);
    QFETCH(int, quantity);
    QFETCH(int, free);
    QFETCH(bool, freeVat);
    QFETCH(double, vat);
    QFETCH(double, lineDiscount);
    QFETCH(QList<double>, expected);
    const PurchaseLineValues v = purchaseLineValues({price, quantity, free, type, lineDiscount, vat, freeVat}, 25, 8);
    const QList<double> got{v.vatDeduction, v.profit, v.freeGoods, v.discount, v.withoutVat, v.vat, v.freeGoodsVat, v.net};
    for (int i = 0; i < got.size(); ++i) QVERIFY2(qFuzzyCompare(1 + got[i], 1 + expected[i]), qPrintable(QString::number(i)));
    QCOMPARE(v.unitCost, v.net / quantity);
    // Type "2" with a profit of 20 and VAT 8 works the VAT back as amount x 8 / 80.
    if (type == u"2"_s) QCOMPARE(purchaseLineValues({price, quantity, 0, type, 0, 8, false}, 20, 0).vatDeduction, 30000.0 * 8 / 80);
}

void TstAlisCalc::freeGoodsNeedAQuantity()
{
    // No free goods: no deduction and no VAT on them, whatever MKDVVARMI says.
    const PurchaseLineValues v = purchaseLineValues({10800, 10, 0, u"0"_s, 0, 8, true}, 25, 8);
    QCOMPARE(v.freeGoods, 0.0);
    QCOMPARE(v.freeGoodsVat, 0.0);
    // Free goods without their VAT: no MFKDV.
    QCOMPARE(purchaseLineValues({10800, 10, 2, u"0"_s, 0, 8, false}, 25, 8).freeGoodsVat, 0.0);
}

void TstAlisCalc::totalsAndCategories()
{
    const QList<PurchaseLineInput> in{{10800, 10, 2, u"0"_s, 0, 8, true},
                                      {6000, 5, 0, u"2"_s, 0, 8, false},
                                      {10800, 1, 0, u"1"_s, 0, 8, false},
                                      {1000, 3, 0, u"4"_s, 0, 8, false},
                                      {2000, 2, 0, u"8"_s, 10, 18, false},
                                      {500, 1, 0, u"x"_s, 0, 8, false}};
    QList<PurchaseLineValues> v;
    for (const PurchaseLineInput& l : in) v << purchaseLineValues(l, 25, 8);
    const PurchaseTotals t = purchaseTotals(v);
    QCOMPARE(t.brut, 108000.0 + 30000 + 10800 + 3000 + 4000 + 500);
    QCOMPARE(t.freeGoodsVat, 1200.0);
    QCOMPARE(t.net, 60816.0 + 29808 + 8100 + 3240 + 4248 + v[5].net);
    QCOMPARE(t.subtotal(), t.netBefore() - t.discount);
    const auto c = purchaseCategoryTotals(in, v);
    const auto& disc = c[size_t(PurchaseCategory::Discounted)];
    const auto& plain = c[size_t(PurchaseCategory::Undiscounted)];
    const auto& other = c[size_t(PurchaseCategory::Other)];
    QCOMPARE(disc.brut, 138000.0);
    QCOMPARE(disc.discount, 7200.0);
    QCOMPARE(disc.net, 60816.0 + 29808);
    QCOMPARE(plain.brut, 10800.0);
    QCOMPARE(plain.discount, 0.0);
    QCOMPARE(plain.vatDeduction, 800.0);
    // "Diğer": no VAT deduction or profit rows; the discounts of "8" only.
    QCOMPARE(other.brut, 7000.0);
    QCOMPARE(other.vatDeduction, 0.0);
    QCOMPARE(other.profit, 0.0);
    QCOMPARE(other.discount, 400.0);
    QCOMPARE(other.net, 3240.0 + 4248);
    // An unknown type counts in the totals but in no category.
    QCOMPARE(disc.brut + plain.brut + other.brut, t.brut - 500);
}

void TstAlisCalc::rounding()
{
    QCOMPARE(roundPurchaseNet(1234.56, 0), 1234.56);
    QCOMPARE(roundPurchaseNet(1234.56, 2), 1200.0);
    QCOMPARE(roundPurchaseNet(123456.7, 3), 123000.0);
    QCOMPARE(roundPurchaseNet(95.0, 2), 95.0);  // no more digits than those dropped
}

void TstAlisCalc::labelsAndRates()
{
    QCOMPARE(purchaseDiscountTypeLabel(u"0"_s), u"1.S.M.İsk.lu"_s);
    QCOMPARE(purchaseDiscountTypeLabel(u"8"_s), u"9.Diğ.Frk.İsk.lu"_s);
    QCOMPARE(purchaseDiscountTypeLabel(u"9"_s), QString());
    QCOMPARE(purchaseDiscountTypeLongLabels()[6], u"&7.Depocu Fyt.lı Farklı İsk.lu"_s);
    QCOMPARE(purchaseRateAsTyped(u"125"_s), 1.25);
    QCOMPARE(purchaseRateAsTyped(u"075"_s), 0.75);
    QCOMPARE(purchaseRateAsTyped(u"25"_s), 25.0);
    QCOMPARE(purchaseRateAsTyped(u"12,5"_s), 12.5);
    QCOMPARE(purchaseRateAsTyped(u","_s), 0.0);
    QCOMPARE(purchaseRateAsTyped(QString()), 0.0);
}

QTEST_MAIN(TstAlisCalc)
#include "tst_alis_calc.moc"
