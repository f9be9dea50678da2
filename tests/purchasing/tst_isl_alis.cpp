// The purchase window: adding products through the values dialog in purchase mode, the
// list's rules and total, recording through the purchase invoice, correcting an old
// purchase, and taking over the orders program's list.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "purchasing/alis_logic.h"
#include "purchasing/demo_purchases.h"
#include "purchasing/isl_alis_logic.h"
#include "support/fake_companion.h"
#include "support/fake_platform.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
class FakeValues final : public ProductValuesDialog {
public:
    struct Step {
        bool ok = true;
        int quantity = 1;
        std::optional<double> price;
        int type = -1;
        QString freeGoods;
        QString lineDiscount;
        int freeGoodsVat = 1;
    };
    ProductValuesResult showModal(const ProductValuesRequest& r) override
    {
        requests << r;
        typesShown << Sql::scalar(*db, u"SELECT ALISTIP FROM FITMP"_s).toString();
        const Step s = steps.isEmpty() ? Step{} : steps.takeFirst();
        if (s.ok) {
            Sql::run(*db, u"UPDATE FITMP SET SATISMIK = :q"_s, {{u"q"_s, s.quantity}});
            if (s.price) Sql::run(*db, u"UPDATE FITMP SET FIYAT = :f"_s, {{u"f"_s, *s.price}});
        }
        ProductValuesResult res;
        res.ok = s.ok;
        res.discountType = s.type;
        res.freeGoodsText = s.freeGoods;
        res.lineDiscountText = s.lineDiscount;
        res.freeGoodsVatChoice = s.freeGoodsVat;
        return res;
    }
    Database* db = nullptr;
    QList<Step> steps;
    QList<ProductValuesRequest> requests;
    QStringList typesShown;
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 30))};
    FakeCompanion companion;
    FakePlatform platform;
    FakeValues values;
    Session session{t.db(), prompter, clock};
    std::unique_ptr<IslAlisLogic> logic;
    QList<std::tuple<bool, QString, double>> invoiceCalls;
    bool cancelInvoice = false;
    bool transferAnswer = true;
    int transferCalls = 0;
    qint64 parol = 0, krem = 0, surup = 0;

    Fixture()
    {
        session.companion = &companion;
        session.platform = &platform;
        session.UserName = u"ECZACI"_s;
        session.OldPurchasesAllowed = true;
        values.db = &t.db();
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"DEPO1"_s}, {u"AD"_s, u"DEPO1 ECZA DEPOSU"_s}, {u"ILACLARDAKURUM"_s, 25.0},
                      {u"ILACBERABERKURUM"_s, 8.0}, {u"FATYUVAR"_s, 0}, {u"ALACAK"_s, 0.0}});
        parol = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 1000, 20);
        krem = addProduct(t.db(), u"DERMO KREM 30 G"_s, 2000, 5, {}, u"K"_s);
        surup = addProduct(t.db(), u"ZETA SURUP 100 ML"_s, 3000, 0);
        Sql::run(t.db(), u"UPDATE URUN SET ALISTIP = '2' WHERE ILACNO = :n"_s, {{u"n"_s, krem}});
        PurchaseWindowLinks links;
        // The invoice window as AlisFormAc runs it: its save with the lines' recorder inside.
        links.alisFormAc = [this](bool isNew, const QString& supplier, double no, const PurchaseLinesRecorder& rec) {
            invoiceCalls << std::tuple{isNew, supplier, no};
            if (cancelInvoice) return 0.0;
            AlisLogic a(session);
            a.open(isNew, supplier, no);
            a.setField(u"FATNO"_s, u"F-1"_s);
            a.setField(u"VADE"_s, QDate(2027, 1, 9));
            a.setLinesRecorder(rec);
            return a.store() == AlisLogic::StoreResult::Stored ? a.result() : 0.0;
        };
        links.siparisAktarAc = [this] {
            ++transferCalls;
            return transferAnswer;
        };
        logic = std::make_unique<IslAlisLogic>(session, &values, links);
        logic->Giris();
    }
    void add(qint64 product, FakeValues::Step step)
    {
        values.steps << step;
        QVERIFY(logic->picker().positionByName(name(product)));
        logic->alisEkle();
    }
    QString name(qint64 p) { return Sql::scalar(t.db(), u"SELECT ILACAD FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, p}}).toString(); }
    double value(const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); }
    int stock(qint64 p) { return int(value(u"SELECT MIKTAR FROM URUN WHERE ILACNO = "_s + QString::number(p))); }
    QStringList lineTexts()
    {
        QStringList r;
        for (const PurchaseListLine& l : logic->lines())
            r << u"%1 %2 %3x%4 t%5 mf%6 d%7 %8"_s.arg(l.no).arg(l.name.left(5)).arg(l.quantity).arg(l.price)
                     .arg(l.discountType).arg(l.freeGoods).arg(l.lineDiscount).arg(l.freeGoodsVat);
        return r;
    }
};
}  // namespace

class TstIslAlis : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addingMergesByNameAndPrice();
    void lineRulesAndRemoval();
    void cancellingTheList();
    void recordingWritesOnlyWhenTheInvoiceIsStored();
    void correctingTenIntoEight();
    void orderTransfer();
    void stockByProductNumber();
    void demoPurchases();
    void boxesReceivedOnce();
};

// Boxes read from their DataMatrix at receiving: kept with the purchase's line, a box
// received twice is noticed, a correction that drops the line frees them.
void TstIslAlis::boxesReceivedOnce()
{
    Fixture f;
    const qint64 boxed = addProduct(f.t.db(), u"KAREKODLU ŞURUP 100 ML"_s, 3000, 0, u"8699514010012"_s);
    f.logic->picker().reopen();
    auto scan = [&](const QString& serial) {
        IslAlisLogic& l = *f.logic;
        l.scannerMark();
        for (const QChar c : u"]d20108699514010012172906301011<GS>21"_s + serial) l.picker().typeSearchChar(c);
        l.scannerMark();
    };
    f.values.steps << FakeValues::Step{};
    scan(u"ALIS01"_s);
    f.values.steps << FakeValues::Step{};
    scan(u"ALIS02"_s);
    QCOMPARE(f.lineTexts(), QStringList{u"1 KAREK 2x3000 t0 mf0 d0 H"_s});
    scan(u"alıs02"_s);  // typed on a Turkish layout: the same box
    QCOMPARE(f.prompter.texts().last(), u"Bu kutu zaten alış listesinde (Seri No: alıs02)."_s);
    f.companion.answer(u"BrKurumCreate"_s, u"DEPO1"_s);
    f.logic->alisKayit();
    QCOMPARE(f.stock(boxed), 2);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM KAREKOD WHERE YON = 'A' AND BELGENO = 1 AND SIRANO = 1"_s), 2.0);
    // The same box in another delivery is noticed.
    f.prompter.clear();
    scan(u"ALIS01"_s);
    QCOMPARE(f.prompter.texts(),
             QStringList{u"Bu kutu daha önce alındı: Alış No 1, 09.12.2026 (Seri No: ALIS01). Aynı kutu iki kez alınamaz."_s});
    QCOMPARE(f.logic->lineCount(), 0);
}

void TstIslAlis::addingMergesByNameAndPrice()
{
    Fixture f;
    // The dialog in purchase mode with the product's own type, "0" when it has none.
    f.add(f.parol, {true, 3});
    const ProductValuesRequest first = f.values.requests.last();
    QCOMPARE(first.quantityLabel, u"Alınan Mik&tar"_s);
    QVERIFY(first.purchaseMode);
    QVERIFY(!first.color.isValid());
    QCOMPARE(f.values.typesShown.last(), u"0"_s);
    // Same product, same price: one line; free goods and terms replaced by the new ones.
    f.add(f.parol, {true, 2, {}, 1, u" 1 "_s, u"7"_s, 0});
    // Same product at another price: a line of its own.
    f.add(f.parol, {true, 1, 1100.0});
    // A red-class product: coloured, its card's type; a line discount only for 5, 6, 8.
    const int beeps = f.prompter.beeps;
    f.add(f.krem, {true, 4, {}, 8, {}, u"12,5"_s, 1});
    QCOMPARE(f.prompter.beeps, beeps + 1);
    QVERIFY(f.values.requests.last().color.isValid());
    QCOMPARE(f.values.typesShown.last(), u"2"_s);
    // Cancelled dialog: nothing.
    f.add(f.surup, {false});
    QCOMPARE(f.lineTexts(), (QStringList{u"1 PAROL 5x1000 t1 mf1 d0 E"_s, u"2 PAROL 1x1100 t0 mf0 d0 H"_s,
                                         u"3 DERMO 4x2000 t8 mf0 d12.5 H"_s}));
    QCOMPARE(f.logic->total(), 5000.0 + 1100 + 8000);
    QCOMPARE(f.value(u"SELECT FIYAT FROM TOPFIY"_s), 14100.0);
    QCOMPARE(f.value(u"SELECT RECKOD = 'K' FROM ALISTEMP WHERE SIRANO = 3"_s), 1.0);
}

void TstIslAlis::lineRulesAndRemoval()
{
    Fixture f;
    for (qint64 p : {f.parol, f.krem, f.surup}) f.add(p, {true, 2});
    f.add(f.parol, {true, 1, 900.0});
    QCOMPARE(f.logic->lineCount(), 4);
    // The rules before a post: free-goods VAT other than "E" is "H", an unknown type "0",
    // a line discount only with 5, 6, 8.
    PurchaseListLine l = f.logic->lines()[0];
    l.freeGoodsVat = u"x"_s;
    l.discountType = u"9"_s;
    l.lineDiscount = 10;
    l.quantity = 6;
    f.logic->postLine(l);
    QCOMPARE(f.lineTexts()[0], u"1 PAROL 6x1000 t0 mf0 d0 H"_s);
    l.discountType = u"6"_s;
    f.logic->postLine(l);
    QCOMPARE(f.lineTexts()[0], u"1 PAROL 6x1000 t6 mf0 d10 H"_s);
    QCOMPARE(f.logic->total(), 6000.0 + 4000 + 6000 + 900);
    // Line 2 of 4 removed: the old 3 and 4 become 2 and 3.
    f.logic->removeLine(2);
    QCOMPARE(f.lineTexts(), (QStringList{u"1 PAROL 6x1000 t6 mf0 d10 H"_s, u"2 ZETA  2x3000 t0 mf0 d0 H"_s,
                                         u"3 PAROL 1x900 t0 mf0 d0 H"_s}));
    QCOMPARE(f.logic->total(), 12900.0);
    // A quantity of 0: the message, the line goes, the numbers stay without gaps.
    l = f.logic->lines()[1];
    l.quantity = 0;
    f.logic->postLine(l);
    QCOMPARE(f.prompter.texts().last(), u"1 den küçük ürün miktarı için alış yapılmaz"_s);
    QCOMPARE(f.logic->lineCount(), 2);
    QCOMPARE(f.lineTexts()[1], u"2 PAROL 1x900 t0 mf0 d0 H"_s);
    QCOMPARE(f.value(u"SELECT FIYAT FROM TOPFIY"_s), 6900.0);
}

void TstIslAlis::cancellingTheList()
{
    Fixture f;
    f.add(f.parol, {true, 2});
    // No: the list stays, also when the window closes.
    f.prompter.answer(Answer::No);
    f.logic->listeIptal();
    QCOMPARE(f.prompter.texts().last(), u"Alınacak Ürünler Listesi İptal Edilsinmi?"_s);
    f.prompter.answer(Answer::Cancel);
    f.logic->closing();
    QCOMPARE(f.logic->lineCount(), 1);
    f.logic->Giris();
    QCOMPARE(f.logic->total(), 2000.0);
    f.prompter.answer(Answer::Yes);
    f.logic->listeIptal();
    QCOMPARE(f.logic->lineCount(), 0);
    QCOMPARE(f.value(u"SELECT FIYAT FROM TOPFIY"_s), 0.0);
    // An empty list asks nothing.
    const int asked = int(f.prompter.texts().size());
    f.logic->listeIptal();
    QCOMPARE(int(f.prompter.texts().size()), asked);
}

void TstIslAlis::recordingWritesOnlyWhenTheInvoiceIsStored()
{
    Fixture f;
    f.add(f.parol, {true, 12, {}, 0, u"2"_s});
    f.add(f.krem, {true, 3});
    // No supplier chosen: no invoice, nothing written, the list stays.
    f.logic->alisKayit();
    QVERIFY(f.invoiceCalls.isEmpty());
    // The invoice cancelled: the same.
    f.companion.answer(u"BrKurumCreate"_s, u"DEPO1"_s);
    f.cancelInvoice = true;
    f.logic->alisKayit();
    QCOMPARE(f.invoiceCalls.size(), 1);
    QCOMPARE(f.logic->lineCount(), 2);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS3"_s) + f.value(u"SELECT COUNT(*) FROM URUNHRK"_s), 0.0);
    // Stored: the lines, one entry movement each at its net cost, the stock raised.
    f.companion.answer(u"BrKurumCreate"_s, u"DEPO1"_s);
    f.cancelInvoice = false;
    f.logic->alisKayit();
    QCOMPARE(f.invoiceCalls.last(), (std::tuple{true, u"DEPO1"_s, 0.0}));
    QCOMPARE(f.logic->lineCount(), 0);
    QCOMPARE(f.logic->total(), 0.0);
    QCOMPARE(f.stock(f.parol), 32);
    QCOMPARE(f.stock(f.krem), 8);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS3 WHERE ALISNO = 1"_s), 2.0);
    QCOMPARE(f.value(u"SELECT MALFAZLA FROM ALIS3 WHERE SIRANOILAC = 1"_s), 2.0);
    QCOMPARE(f.value(u"SELECT SUM(GIRMIK) FROM URUNHRK WHERE ALSATNO = 1"_s), 15.0);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS3 a JOIN URUNHRK h ON h.ALSATNO = a.ALISNO AND h.ILACNO = a.ILACNO "
                     u"AND h.GCTARIH = a.ALISTARIH"_s),
             2.0);
    QCOMPARE(f.value(u"SELECT ALACAK FROM KRMLAR WHERE KOD = 'DEPO1'"_s), f.value(u"SELECT NET FROM ALIS1"_s));
}

void TstIslAlis::correctingTenIntoEight()
{
    Fixture f;
    f.add(f.parol, {true, 10});
    f.add(f.surup, {true, 4});
    f.companion.answer(u"BrKurumCreate"_s, u"DEPO1"_s);
    f.logic->alisKayit();
    QCOMPARE(f.stock(f.parol), 30);
    const QDateTime moment = Sql::scalar(f.t.db(), u"SELECT ALISTARIH FROM ALIS3 LIMIT 1"_s).toDateTime();
    // A later moment for the correction: the old purchase keeps its own.
    f.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    f.companion.answer(u"EskiAlisCreate"_s, 1.0);
    f.logic->eskiAlislar();
    QVERIFY(f.logic->oldMode());
    QCOMPARE(f.logic->oldButtonCaption(), u"Es.Al.Dzl.Vazgeç"_s);
    QCOMPARE(f.logic->recordButtonCaption(), u"Eski Alış Kayıt"_s);
    QCOMPARE(f.lineTexts(), (QStringList{u"1 PAROL 10x1000 t0 mf0 d0 H"_s, u"2 ZETA  4x3000 t0 mf0 d0 H"_s}));
    QCOMPARE(f.logic->total(), 22000.0);
    // Products added while correcting show the price list at the old purchase's moment.
    f.add(f.krem, {true, 1});
    QVERIFY(f.values.requests.last().showOldPriceList);
    QCOMPARE(f.values.requests.last().oldPriceListAt, moment);
    f.logic->removeLine(3);
    PurchaseListLine l = f.logic->lines()[0];
    l.quantity = 8;
    f.logic->postLine(l);
    f.logic->alisKayit();
    QCOMPARE(f.invoiceCalls.last(), (std::tuple{false, QString(), 1.0}));
    QVERIFY(!f.logic->oldMode());
    QCOMPARE(f.logic->oldButtonCaption(), u"Eski Alımlar"_s);
    QCOMPARE(f.stock(f.parol), 28);
    QCOMPARE(f.stock(f.surup), 4);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS1"_s), 1.0);
    QCOMPARE(f.value(u"SELECT SUM(GIRMIK) FROM URUNHRK WHERE ILACNO = "_s + QString::number(f.parol)), 8.0);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM URUNHRK"_s), 2.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT MIN(GCTARIH) FROM URUNHRK"_s).toDateTime(), moment);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Alış.Fat.Dzlt.'"_s), 1.0);
    // Leaving a correction by the button empties the list.
    f.companion.answer(u"EskiAlisCreate"_s, 1.0);
    f.logic->eskiAlislar();
    QCOMPARE(f.logic->lineCount(), 2);
    f.logic->eskiAlislar();
    QVERIFY(!f.logic->oldMode());
    QCOMPARE(f.logic->lineCount(), 0);
}

void TstIslAlis::orderTransfer()
{
    Fixture f;
    f.add(f.parol, {true, 1});
    const auto order = [&](qint64 p, int ordered, double price, const QVariant& mark, const QString& type = u"0"_s,
                           double discount = 0) {
        insertRecord(f.t.db(), u"SIPLIST"_s,
                     {{u"ILACNO"_s, p}, {u"ILACAD"_s, f.name(p)}, {u"FIYAT"_s, price}, {u"SIPARIS"_s, ordered},
                      {u"FIYAT_1"_s, ordered * price}, {u"KDV"_s, 8.0}, {u"AKTARMA"_s, mark}, {u"TIPISKON"_s, type},
                      {u"M_ISKONTO"_s, discount}, {u"MKDVARMI"_s, u"E"_s}, {u"MALFAZLA"_s, 0}});
    };
    order(f.parol, 5, 1000, u"E"_s);          // merged into the line of the same price
    order(f.krem, 2, 2000, QVariant(), u"8"_s, 7.5);  // no mark: transferred
    order(f.surup, 3, 3000, u"H"_s);          // kept out
    order(f.surup, 0, 3000, u"E"_s);          // nothing ordered: deleted
    f.platform.windows << u"Sipariş Listesi Selvar"_s;
    // Not closed with "Aktar": nothing happens.
    f.transferAnswer = false;
    f.logic->siparisListesiAktar();
    QCOMPARE(f.platform.calls, QStringList{u"quit:Sipariş Listesi Selvar"_s});
    QCOMPARE(f.logic->lineCount(), 1);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM SIPLIST"_s), 4.0);
    f.transferAnswer = true;
    f.logic->siparisListesiAktar();
    QCOMPARE(f.lineTexts(), (QStringList{u"1 PAROL 6x1000 t0 mf0 d0 H"_s, u"2 DERMO 2x2000 t8 mf0 d7.5 E"_s}));
    QCOMPARE(f.logic->total(), 10000.0);
    // The order list stays, without the rows of no quantity.
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM SIPLIST"_s), 3.0);
}

void TstIslAlis::stockByProductNumber()
{
    // Two cards of one name, and a card renamed after it went into the list: the stock
    // goes to the product of the line, as its movement does.
    Fixture f;
    const qint64 twin = addProduct(f.t.db(), u"PAROL 500 MG 20 TABLET"_s, 1000, 7);
    f.add(f.krem, {true, 3});
    Sql::run(f.t.db(), u"UPDATE URUN SET ILACAD = 'DERMO KREM 30 G YENI' WHERE ILACNO = :n"_s, {{u"n"_s, f.krem}});
    insertRecord(f.t.db(), u"ALISTEMP"_s,
                 {{u"SIRANO"_s, 2}, {u"URUNO"_s, twin}, {u"URUNAD"_s, u"PAROL 500 MG 20 TABLET"_s}, {u"FIYAT"_s, 1000.0},
                  {u"MIKTAR"_s, 4}, {u"TIPISKONTO"_s, u"0"_s}, {u"KDV"_s, 8.0}, {u"MKDVVARMI"_s, u"H"_s}});
    f.companion.answer(u"BrKurumCreate"_s, u"DEPO1"_s);
    f.logic->alisKayit();
    QCOMPARE(f.stock(f.krem), 8);
    QCOMPARE(f.stock(twin), 11);
    QCOMPARE(f.stock(f.parol), 20);
    QCOMPARE(f.value(u"SELECT SUM(GIRMIK) FROM URUNHRK WHERE ILACNO = "_s + QString::number(twin)), 4.0);
}

void TstIslAlis::demoPurchases()
{
    TestDb t(true);
    const auto value = [&](const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); };
    // The history's purchases come first; these follow them.
    const double base = value(u"SELECT COALESCE(MAX(ALISNO), 0) FROM ALIS1"_s);
    const double credit = value(u"SELECT SUM(ALACAK) FROM KRMLAR WHERE KOD IN ('DEPO1', 'DEPO2')"_s);
    const double moves = value(u"SELECT COUNT(*) FROM URUNHRK WHERE GIRMIK > 0"_s);
    addDemoPurchases(t.db(), QDate(2026, 12, 9));
    const QString after = QString::number(base);
    QCOMPARE(value(u"SELECT COUNT(*) FROM ALIS1 WHERE ALISNO > "_s + after), 4.0);
    QCOMPARE(value(u"SELECT NEWALISNO FROM NEWALIS"_s), base + 5);
    // Every category, free goods with and without their VAT, the VAT-exclusive types.
    QCOMPARE(value(u"SELECT COUNT(DISTINCT ISKONTIP) FROM ALIS3 WHERE ALISNO > "_s + after), 9.0);
    QVERIFY(value(u"SELECT COUNT(*) FROM ALIS3 WHERE MALFAZLA > 0 AND MKDVARMI = 'E'"_s) > 0);
    QVERIFY(value(u"SELECT COUNT(*) FROM ALIS3 WHERE MALFAZLA > 0 AND MKDVARMI = 'H'"_s) > 0);
    QCOMPARE(value(u"SELECT COUNT(*) FROM ALIS3 WHERE ISKONTIP = '8' AND M_ISKONTO = 5"_s), 1.0);
    // The invoice without a number carries its delivery note's; it was corrected later:
    // two lines, its log row, its old moment kept.
    const QString third = QString::number(base + 3);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT FATNO FROM ALIS1 WHERE ALISNO = "_s + third).toString(), u"!!İR-88377"_s);
    QCOMPARE(value(u"SELECT COUNT(*) FROM ALIS3 WHERE ALISNO = "_s + third), 2.0);
    QCOMPARE(value(u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Alış.Fat.Dzlt.' AND ISLETNO = "_s + third), 1.0);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT MIN(ALISTARIH) FROM ALIS3 WHERE ALISNO = "_s + third).toDateTime().date(),
             QDate(2026, 11, 30));
    QCOMPARE(value(u"SELECT COUNT(*) FROM URUNHRK WHERE GIRMIK > 0"_s) - moves,
             value(u"SELECT COUNT(*) FROM ALIS3 WHERE ALISNO > "_s + after));
    QCOMPARE(value(u"SELECT SUM(ALACAK) FROM KRMLAR WHERE KOD IN ('DEPO1', 'DEPO2')"_s) - credit,
             value(u"SELECT SUM(NET) FROM ALIS1 WHERE ALISNO > "_s + after));
    QCOMPARE(value(u"SELECT COUNT(*) FROM HAREKET WHERE ALSAT = 'A' AND ALSATNO > "_s + after), 4.0);
    // The order list.
    QCOMPARE(value(u"SELECT COUNT(*) FROM SIPLIST"_s), 15.0);
    QVERIFY(value(u"SELECT COUNT(*) FROM SIPLIST WHERE AKTARMA = 'H'"_s) >= 3);
    QVERIFY(value(u"SELECT COUNT(*) FROM SIPLIST WHERE AKTARMA IS NULL"_s) >= 3);
    QCOMPARE(value(u"SELECT COUNT(*) FROM SIPLIST WHERE SIPARIS = 0"_s), 1.0);
}

QTEST_GUILESS_MAIN(TstIslAlis)
#include "tst_isl_alis.moc"
