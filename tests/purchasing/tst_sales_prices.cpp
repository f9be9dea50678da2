// The order list's review before the transfer and the sale prices set from a purchase.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "purchasing/sat_fiy_logic.h"
#include "purchasing/sip_aktar_logic.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
class FakeValues final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest& r) override
    {
        requests << r;
        Sql::run(*db, u"UPDATE FITMP SET SATISMIK = :q, FIYAT = :f, TARIH = :t"_s,
                 {{u"q"_s, quantity}, {u"f"_s, price}, {u"t"_s, QDate(2026, 12, 1)}});
        ProductValuesResult res = result;
        res.ok = true;
        return res;
    }
    Database* db = nullptr;
    int quantity = 1;
    double price = 0;
    ProductValuesResult result;
    QList<ProductValuesRequest> requests;
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(14, 45, 30))};
    Session session{t.db(), prompter, clock};
    double value(const QString& sql, const QVariantMap& binds = {}) { return Sql::scalar(t.db(), sql, binds).toDouble(); }
};
}  // namespace

class TstSalesPrices : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void orderRowsAndTheValuesDialog();
    void deletingTransferredOrders();
    void roundingToTheStep();
    void transferWithTheDefaultOption();
    void transferAllAndNoLines();
    void failedTransferWritesNothing();
};

void TstSalesPrices::orderRowsAndTheValuesDialog()
{
    Fixture f;
    const qint64 p = addProduct(f.t.db(), u"BETA KREM 50 G"_s, 4000, 3, {}, u"R"_s);
    insertRecord(f.t.db(), u"SIPLIST"_s,
                 {{u"ILACNO"_s, p}, {u"ILACAD"_s, u"BETA KREM 50 G"_s}, {u"FIYAT"_s, 4000.0}, {u"SIPARIS"_s, 2},
                  {u"FIYAT_1"_s, 8000.0}, {u"KDV"_s, 8.0}, {u"MIKTAR"_s, 3}, {u"RECETEKOD"_s, u"R"_s},
                  {u"TIPISKON"_s, u"3"_s}, {u"MALFAZLA"_s, 1}});
    insertRecord(f.t.db(), u"SIPLIST"_s, {{u"ILACNO"_s, p}, {u"ILACAD"_s, u"ALFA"_s}, {u"FIYAT"_s, 10.0}, {u"SIPARIS"_s, 1}});
    FakeValues values;
    values.db = &f.t.db();
    SipAktarLogic logic(f.session, &values);
    QList<OrderRow> rows = logic.rows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].name, u"ALFA"_s);
    // A grid edit: the amount follows quantity and price.
    OrderRow o = rows[1];
    o.ordered = 5;
    o.transfer = SipAktarLogic::transferMark(u"h"_s);
    logic.postRow(o);
    QCOMPARE(f.value(u"SELECT FIYAT_1 FROM SIPLIST WHERE ILACAD = 'BETA KREM 50 G'"_s), 20000.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT AKTARMA FROM SIPLIST WHERE SIPARIS = 5"_s).toString(), u"H"_s);
    QCOMPARE(SipAktarLogic::transferMark(u"x"_s), u"E"_s);
    // Through the values dialog: a type "8" keeps the line discount typed there.
    values.quantity = 7;
    values.price = 4200;
    values.result.discountType = 8;
    values.result.lineDiscountText = u" 12,5"_s;
    values.result.freeGoodsText = u"2 "_s;
    values.result.freeGoodsVatChoice = 0;
    QVERIFY(logic.changeThroughDialog(o.rowId));
    const ProductValuesRequest& r = values.requests.last();
    QCOMPARE(r.quantityLabel, u"Sipariş Miktarı"_s);
    QCOMPARE(r.freeGoodsText, u"1"_s);
    QVERIFY(r.purchaseMode);
    QVERIFY(r.color.isValid());
    o = logic.rows()[1];
    QCOMPARE(o.ordered, qint64(7));
    QCOMPARE(o.price, 4200.0);
    QCOMPARE(o.priceDate, QDate(2026, 12, 1));
    QCOMPARE(o.amount, 29400.0);
    QCOMPARE(o.discountType, u"8"_s);
    QCOMPARE(o.lineDiscount, 12.5);
    QCOMPARE(o.freeGoods, 2);
    QCOMPARE(o.freeGoodsVat, u"E"_s);
    // No type chosen: the row keeps its own; a type without a line discount drops it.
    values.result = {};
    values.result.freeGoodsVatChoice = 1;
    QVERIFY(logic.changeThroughDialog(o.rowId));
    o = logic.rows()[1];
    QCOMPARE(o.discountType, u"8"_s);
    QCOMPARE(o.lineDiscount, 0.0);
    QCOMPARE(o.freeGoodsVat, u"H"_s);
    // Type-ahead on the name keeps "i" although no name continues with it.
    QCOMPARE(logic.typeSearch(u"b"_s), o.rowId);
    logic.typeSearch(u"i"_s);
    QCOMPARE(logic.searchText(), u"bi"_s);
}

void TstSalesPrices::deletingTransferredOrders()
{
    Fixture f;
    for (const QVariant& mark : {QVariant(u"H"_s), QVariant(u"E"_s), QVariant(), QVariant(u"H"_s)})
        insertRecord(f.t.db(), u"SIPLIST"_s, {{u"ILACAD"_s, u"X"_s}, {u"SIPARIS"_s, 1}, {u"AKTARMA"_s, mark}});
    SipAktarLogic logic(f.session, nullptr);
    f.prompter.answer(Answer::No);
    QVERIFY(!logic.deleteTransferred());
    QCOMPARE(f.prompter.texts().last(), u"Alışa Aktarılmamışlar Dışındaki Siparişler Silinsin mi?"_s);
    QCOMPARE(logic.rows().size(), 4);
    f.prompter.answer(Answer::Yes);
    QVERIFY(logic.deleteTransferred());
    QCOMPARE(logic.rows().size(), 2);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM SIPLIST WHERE AKTARMA = 'H'"_s), 2.0);
}

void TstSalesPrices::roundingToTheStep()
{
    const double u = unroundedSalesPrice(10000, 8, 1.25);
    QCOMPARE(std::round(u), 13500.0);
    QCOMPARE(roundedSalesPrice(u, 5000), 15000.0);
    QCOMPARE(roundedSalesPrice(u, 500), 13500.0);
    QCOMPARE(roundedSalesPrice(13500.4, 500), 13500.0);
    QCOMPARE(roundedSalesPrice(13500.6, 500), 14000.0);
    QCOMPARE(roundedSalesPrice(u, 0), u);
    QCOMPARE(salesPriceTypeLabel(u"7"_s), u"Diğ.Sbt.Isk.lu"_s);
}

namespace {
// A purchase with lines of every VAT-exclusive type and one of another type.
void purchase(Fixture& f, qint64 a, qint64 b, qint64 c)
{
    insertRecord(f.t.db(), u"ALIS1"_s,
                 {{u"ALISNO"_s, 7.0}, {u"KRMKOD"_s, u"MERKEZ"_s}, {u"FATARIH"_s, QDate(2026, 12, 8)}});
    int no = 0;
    for (const auto& [p, type] : {std::pair{a, u"4"_s}, std::pair{b, u"0"_s}, std::pair{b, u"8"_s}, std::pair{c, u"7"_s}})
        insertRecord(f.t.db(), u"ALIS3"_s,
                     {{u"ALISNO"_s, 7.0}, {u"SIRANOILAC"_s, ++no}, {u"ILACNO"_s, p}, {u"FIYAT"_s, 10000.0},
                      {u"MIKTAR"_s, 1}, {u"KDV"_s, 8.0}, {u"ISKONTIP"_s, type}});
}
}  // namespace

void TstSalesPrices::transferWithTheDefaultOption()
{
    Fixture f;
    const qint64 a = addProduct(f.t.db(), u"A URUN"_s, 12000, 1);
    const qint64 b = addProduct(f.t.db(), u"B URUN"_s, 20000, 1);  // dearer now than the new price
    const qint64 c = addProduct(f.t.db(), u"C URUN"_s, 15000, 1);  // equal: transferred
    Sql::run(f.t.db(), u"UPDATE URUN SET FIYATARIH = '2026-11-01'"_s);
    purchase(f, a, b, c);
    SatFiyLogic logic(f.session);
    QVERIFY(logic.open(7));
    QCOMPARE(logic.heading(), u"08.12.2026Trh.li Fat.ile MERKEZ Kodlu Depodan Alınan -Diğer İskonto Tipli- Ürünler"_s);
    QCOMPARE(logic.lines().size(), 3);
    QCOMPARE(logic.lines()[1].type, u"8"_s);
    // Blank percentage: nothing shown.
    logic.percentText = u"  ,  "_s;
    QVERIFY(!logic.show());
    logic.percentText = u"25,  "_s;
    QVERIFY(logic.show());
    QCOMPARE(logic.lines()[0].newPrice, 15000.0);
    QCOMPARE(std::round(logic.lines()[0].unrounded), 13500.0);
    QCOMPARE(logic.lines()[0].newDate, QDate(2026, 12, 9));
    // No to the question: nothing changes, no message.
    f.prompter.answer(Answer::No);
    QCOMPARE(logic.transfer(), 0);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM URFAYAR"_s), 0.0);
    f.prompter.answer(Answer::Yes);
    QCOMPARE(logic.transfer(), 2);
    QCOMPARE(f.prompter.texts().last(), u"Fiyatlar Aktarıldı."_s);
    QCOMPARE(f.value(u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, a}}), 15000.0);
    QCOMPARE(f.value(u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, b}}), 20000.0);
    QCOMPARE(f.value(u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, c}}), 15000.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT FIYATARIH FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, a}}).toDate(),
             QDate(2026, 12, 9));
    // The old price under its own date with the time of day.
    Sql h(f.t.db(), u"SELECT ILACNO, FITARIH, FIYAT FROM URFAYAR ORDER BY ILACNO"_s);
    h.exec();
    QVERIFY(h.next());
    QCOMPARE(h.integer(0), a);
    QCOMPARE(h.value(1).toDateTime(), QDateTime(QDate(2026, 11, 1), QTime(14, 45, 30)));
    QCOMPARE(h.number(2), 12000.0);
    QVERIFY(h.next());
    QCOMPARE(h.integer(0), c);
    QVERIFY(!h.next());
}

void TstSalesPrices::transferAllAndNoLines()
{
    Fixture f;
    const qint64 a = addProduct(f.t.db(), u"A URUN"_s, 12000, 1);
    const qint64 b = addProduct(f.t.db(), u"B URUN"_s, 20000, 1);
    purchase(f, a, b, b);
    SatFiyLogic logic(f.session);
    QVERIFY(logic.open(7));
    logic.percentText = u"25,  "_s;
    logic.stepText = u"   500"_s;
    logic.transferAll = true;
    QVERIFY(logic.show());
    f.prompter.answer(Answer::Yes);
    QCOMPARE(logic.transfer(), 3);
    QCOMPARE(f.value(u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, b}}), 13500.0);
    // The product's second line archives the price its first line has just written.
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM URFAYAR WHERE ILACNO = :n"_s, {{u"n"_s, b}}), 2.0);
    // A purchase without such lines.
    QVERIFY(!logic.open(99));
    QCOMPARE(f.prompter.texts().last(), u"Seçilen Alışta -Diğer İskonto Tipli- Ürün Yok."_s);
}

void TstSalesPrices::failedTransferWritesNothing()
{
    Fixture f;
    const qint64 a = addProduct(f.t.db(), u"A URUN"_s, 12000, 1);
    const qint64 b = addProduct(f.t.db(), u"B URUN"_s, 2000, 1);
    purchase(f, a, b, b);
    SatFiyLogic logic(f.session);
    QVERIFY(logic.open(7));
    logic.percentText = u"25,  "_s;
    QVERIFY(logic.show());
    // The first product's old price is archived, then its card refuses the new one.
    makeUpdatesFail(f.t.db(), u"URUN"_s, u"FIYAT"_s);
    f.prompter.answer(Answer::Yes);
    QVERIFY_THROWS_EXCEPTION(DbError, logic.transfer());
    stopFailingUpdates(f.t.db(), u"URUN"_s);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM URFAYAR"_s), 0.0);
    QCOMPARE(f.value(u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, a}}), 12000.0);
    QVERIFY(!f.prompter.texts().contains(u"Fiyatlar Aktarıldı."_s));
}

QTEST_GUILESS_MAIN(TstSalesPrices)
#include "tst_sales_prices.moc"
