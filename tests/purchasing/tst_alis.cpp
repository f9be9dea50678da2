// The purchase invoice's registration and the purchase's stock entry: opening with the
// supplier's rates, totals kept or refreshed, the save's checks, one transaction for the
// counters, header, payable, log, costs, balances and stock, and corrections.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "purchasing/alis_logic.h"
#include "purchasing/purchase_record.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 30))};
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    qint64 parol = 0, krem = 0;
    Fixture()
    {
        session.companion = &companion;
        session.UserName = u"ECZACI"_s;
        for (const auto& [code, rounding] : {std::pair{u"DEPO1"_s, 0}, std::pair{u"DEPO2"_s, 2}})
            insertRecord(t.db(), u"KRMLAR"_s,
                         {{u"KOD"_s, code}, {u"AD"_s, code + u" ECZA DEPOSU"_s}, {u"ILACLARDAKURUM"_s, 25.0},
                          {u"ILACBERABERKURUM"_s, 8.0}, {u"FATYUVAR"_s, rounding}, {u"ALACAK"_s, 0.0}});
        parol = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 10800, 20);
        krem = addProduct(t.db(), u"DERMO KREM 30 G"_s, 6000, 5);
    }
    void line(int no, qint64 product, int quantity, double price, const QString& type, int free = 0)
    {
        insertRecord(t.db(), u"ALISTEMP"_s,
                     {{u"SIRANO"_s, no}, {u"URUNO"_s, product}, {u"URUNAD"_s, u"X"_s}, {u"FIYAT"_s, price},
                      {u"MIKTAR"_s, quantity}, {u"MALFAZLASI"_s, free}, {u"TIPISKONTO"_s, type}, {u"KDV"_s, 8.0},
                      {u"MKDVVARMI"_s, u"E"_s}, {u"RECKOD"_s, u"N"_s}});
    }
    double value(const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); }
    int stock(qint64 p) { return int(value(u"SELECT MIKTAR FROM URUN WHERE ILACNO = "_s + QString::number(p))); }
    void fill(AlisLogic& a)
    {
        a.setField(u"FATNO"_s, u"F-100"_s);
        a.setField(u"VADE"_s, QDate(2027, 1, 9));
        a.setLinesRecorder([this](double no) { writePurchaseLines(t.db(), no, clock.now(), false); });
    }
};
}  // namespace

class TstAlis : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openingAndTotals();
    void saveChecks();
    void newPurchaseInOneTransaction();
    void failureWritesNothing();
    void correction();
};

void TstAlis::openingAndTotals()
{
    Fixture f;
    f.line(1, f.parol, 10, 10800, u"0"_s, 2);
    AlisLogic a(f.session);
    a.open(true, u"DEPO1"_s, 0);
    QCOMPARE(a.caption(), u"Alış Faturası Kayıt"_s);
    QCOMPARE(a.text(u"KRMKOD"_s), u"DEPO1"_s);
    QCOMPARE(a.number(u"INORAN1"_s), 25.0);
    QCOMPARE(a.number(u"INORAN3"_s), 8.0);
    QCOMPARE(a.field(u"FATARIH"_s).toDate(), QDate(2026, 12, 9));
    QCOMPARE(a.number(u"BRUT"_s), 108000.0);
    QCOMPARE(a.number(u"NET"_s), 60816.0);
    QCOMPARE(a.categories()[0].net, 60816.0);
    QCOMPARE(a.netBefore(), 60000.0);
    QCOMPARE(a.subtotal(), 55200.0);
    // The supplier's rounding digits.
    f.companion.answer(u"BrKurumCreate"_s, u"DEPO2"_s);
    a.chooseSupplier();
    QCOMPARE(a.number(u"NET"_s), 60800.0);
    // A rate typed without its comma.
    a.profitRateTyped(u"2000"_s);
    QCOMPARE(a.number(u"INORAN1"_s), 20.0);
    // An unknown code beeps and opens the choice.
    const int beeps = f.prompter.beeps;
    QVERIFY(!a.supplierLeft(u"YOK"_s));
    QCOMPARE(f.prompter.beeps, beeps + 1);
}

void TstAlis::saveChecks()
{
    Fixture f;
    f.line(1, f.parol, 1, 10800, u"2"_s);
    AlisLogic a(f.session);
    a.open(true, u"DEPO1"_s, 0);
    // No due date: asked; No stops.
    f.prompter.answer(Answer::No);
    QCOMPARE(a.store(), AlisLogic::StoreResult::Stopped);
    QCOMPARE(f.prompter.texts().last(), u"Vade Tarihi belirtmediniz.Saklama İşlemine devam Edilsin mi?"_s);
    a.setField(u"VADE"_s, QDate(2027, 1, 9));
    QCOMPARE(a.store(), AlisLogic::StoreResult::Stopped);
    QCOMPARE(f.prompter.texts().last(), u"Cari Adı,Fat.No veya Irs No bilgisi verilmeden saklanamaz"_s);
    // A profit of 100 % (copied from a card) on a wholesaler price: refused, nothing written.
    a.setField(u"IRSALNO"_s, u"555"_s);
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET ILACLARDAKURUM = 100 WHERE KOD = 'DEPO1'"_s);
    QVERIFY(a.supplierLeft(u"DEPO1"_s));
    QCOMPARE(a.number(u"INORAN1"_s), 100.0);
    QCOMPARE(a.store(), AlisLogic::StoreResult::Stopped);
    QCOMPARE(f.prompter.texts().last(), QString::fromUtf8(AlisLogic::ProfitRateTooHigh));
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS1"_s), 0.0);
    QCOMPARE(f.value(u"SELECT NEWALISNO FROM NEWALIS"_s), 1.0);
    // Only a delivery-note number: the invoice number becomes "!!" + it.
    a.profitRateTyped(u"25"_s);
    QCOMPARE(a.store(), AlisLogic::StoreResult::Stored);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT FATNO FROM ALIS1"_s).toString(), u"!!555"_s);
}

void TstAlis::newPurchaseInOneTransaction()
{
    Fixture f;
    f.line(1, f.parol, 10, 10800, u"0"_s, 2);
    f.line(2, f.krem, 5, 6000, u"2"_s);
    Sql::run(f.t.db(), u"UPDATE NEWALIS SET NEWALISNO = 7"_s);
    Sql::run(f.t.db(), u"UPDATE HRKNOAL SET HRKNO = 30"_s);
    AlisLogic a(f.session);
    a.open(true, u"DEPO1"_s, 0);
    f.fill(a);
    QCOMPARE(a.store(), AlisLogic::StoreResult::Stored);
    QCOMPARE(a.result(), 7.0);
    QCOMPARE(f.value(u"SELECT NEWALISNO FROM NEWALIS"_s), 8.0);
    QCOMPARE(f.value(u"SELECT NET FROM ALIS1 WHERE ALISNO = 7"_s), 60816.0 + 29808);
    Sql h(f.t.db(), u"SELECT HAREKNO, CARIKOD, TUR, ALSAT, ALACAK, BILGI, VADE, NIHAI FROM HAREKET WHERE ALSATNO = 7"_s);
    h.exec();
    QVERIFY(h.next());
    QCOMPARE(h.number(0), 30.0);
    QCOMPARE(h.text(1), u"DEPO1"_s);
    QCOMPARE(h.text(2), u"A"_s);
    QCOMPARE(h.text(3), u"A"_s);
    QCOMPARE(h.number(4), 90624.0);
    QCOMPARE(h.text(5), u"09.12.2026 Tarihli Alım Fat."_s);
    QCOMPARE(h.date(6), QDate(2027, 1, 9));
    QCOMPARE(f.value(u"SELECT ALACAK FROM KRMLAR WHERE KOD = 'DEPO1'"_s), 90624.0);
    // The stock entry: lines, movements at the net unit cost, stock by product number.
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS3 WHERE ALISNO = 7"_s), 2.0);
    QCOMPARE(f.value(u"SELECT GIRFIYAT FROM URUNHRK WHERE ALSATNO = 7 AND ILACNO = "_s + QString::number(f.parol)), 6081.6);
    QCOMPARE(f.stock(f.parol), 30);
    QCOMPARE(f.stock(f.krem), 10);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALISTEMP"_s), 0.0);
}

void TstAlis::failureWritesNothing()
{
    Fixture f;
    f.line(1, f.parol, 10, 10800, u"0"_s);
    AlisLogic a(f.session);
    a.open(true, u"DEPO1"_s, 0);
    f.fill(a);
    a.setLinesRecorder([&](double no) {
        writePurchaseLines(f.t.db(), no, f.clock.now(), false);
        throw DbError(u"disk dolu"_s);
    });
    QVERIFY_THROWS_EXCEPTION(DbError, a.store());
    QVERIFY(!a.stored());
    for (const char* sql : {"SELECT COUNT(*) FROM ALIS1", "SELECT COUNT(*) FROM HAREKET", "SELECT COUNT(*) FROM ALIS3",
                            "SELECT COUNT(*) FROM URUNHRK"})
        QCOMPARE(f.value(QString::fromLatin1(sql)), 0.0);
    QCOMPARE(f.value(u"SELECT NEWALISNO FROM NEWALIS"_s), 1.0);
    QCOMPARE(f.value(u"SELECT HRKNO FROM HRKNOAL"_s), 1.0);
    QCOMPARE(f.value(u"SELECT ALACAK FROM KRMLAR WHERE KOD = 'DEPO1'"_s), 0.0);
    QCOMPARE(f.stock(f.parol), 20);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALISTEMP"_s), 1.0);  // the list stays
}

void TstAlis::correction()
{
    Fixture f;
    f.line(1, f.parol, 10, 1000, u"1"_s);
    AlisLogic a(f.session);
    a.open(true, u"DEPO1"_s, 0);
    f.fill(a);
    QCOMPARE(a.store(), AlisLogic::StoreResult::Stored);
    const double first = f.value(u"SELECT NET FROM ALIS1"_s);
    const double movement = f.value(u"SELECT HAREKNO FROM HAREKET"_s);
    QCOMPARE(f.stock(f.parol), 30);
    // Loaded again (as the purchase window does) with its lines unchanged: a hand-typed
    // total stays; the refresh overwrites it.
    f.line(1, f.parol, 10, 1000, u"1"_s);
    AlisLogic fix(f.session);
    fix.open(false, QString(), 1);
    QCOMPARE(fix.caption(), u"Alış Faturası Düzeltme"_s);
    fix.setField(u"NET"_s, 9999.0);
    fix.hesap();
    QCOMPARE(fix.number(u"NET"_s), 9999.0);
    fix.refreshTotals();
    QCOMPARE(fix.number(u"NET"_s), first);
    // 10 units become 8, and the supplier changes.
    Sql::run(f.t.db(), u"UPDATE ALISTEMP SET MIKTAR = 8"_s);
    fix.hesap();
    fix.setField(u"KRMKOD"_s, u"DEPO2"_s);
    fix.setLinesRecorder([&](double no) { writePurchaseLines(f.t.db(), no, purchaseMoment(f.t.db(), no), true); });
    QCOMPARE(fix.store(), AlisLogic::StoreResult::Stored);
    QCOMPARE(fix.result(), 1.0);
    QCOMPARE(f.value(u"SELECT NEWALISNO FROM NEWALIS"_s), 2.0);
    QCOMPARE(f.value(u"SELECT HAREKNO FROM HAREKET"_s), movement);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM HAREKET"_s), 1.0);
    QCOMPARE(f.value(u"SELECT ALACAK FROM KRMLAR WHERE KOD = 'DEPO1'"_s), 0.0);
    QCOMPARE(f.value(u"SELECT ALACAK FROM KRMLAR WHERE KOD = 'DEPO2'"_s), fix.number(u"NET"_s));
    QCOMPARE(f.stock(f.parol), 28);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM URUNHRK"_s), 1.0);
    QCOMPARE(f.value(u"SELECT GIRMIK FROM URUNHRK"_s), 8.0);
    Sql p(f.t.db(), u"SELECT ACIKLA, ISLETNO, TUTAR FROM PROSES WHERE ISLETIPI = 'Alış.Fat.Dzlt.'"_s);
    p.exec();
    QVERIFY(p.next());
    QCOMPARE(p.text(0), u"DEPO2-ECZACI"_s);
    QCOMPARE(p.number(1), 1.0);
    QCOMPARE(p.number(2), first);
}

QTEST_MAIN(TstAlis)
#include "tst_alis.moc"
