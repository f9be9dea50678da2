// Two workstations at once: one records purchases while the other sells the same
// products; a workstation killed while recording a purchase leaves no part of it.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "purchasing/alis_logic.h"
#include "purchasing/isl_alis_logic.h"
#include "sales/satis_logic.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kProducts = 10;
constexpr int kLinesPerPurchase = 5;
constexpr int kStartStock = 1000;
constexpr double kStartCredit = 500;

class QuantityOf final : public ProductValuesDialog {
public:
    explicit QuantityOf(Database& db) : db_(db) {}
    ProductValuesResult showModal(const ProductValuesRequest&) override
    {
        Sql::run(db_, u"UPDATE FITMP SET SATISMIK = :q"_s, {{u"q"_s, quantity}});
        ProductValuesResult r;
        r.ok = true;
        r.discountType = type;
        r.freeGoodsText = freeGoods;
        return r;
    }
    int quantity = 1;
    int type = -1;
    QString freeGoods;

private:
    Database& db_;
};

QString productName(int i) { return QStringLiteral("URUN %1").arg(i % kProducts, 2, 10, QChar(u'0')); }

template <typename F>
void retried(F&& f)
{
    for (;;) {
        try {
            f();
            return;
        } catch (const LockHeld&) {
            // the retry box, answered OK
        }
    }
}

int purchaser(const QString& location, int count, int seed)
{
    qputenv("SELVAR_LOCK_WAIT_MS", "5000");
    Database db(AliasConfig::fromLocation(location));
    ScriptedPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    FakeCompanion companion;
    companion.onCall(u"BrKurumCreate"_s, [](const FakeCompanion::Call&) { return QVariant(u"DEPO1"_s); });
    session.companion = &companion;
    QuantityOf values(db);
    PurchaseWindowLinks links;
    links.alisFormAc = [&](bool isNew, const QString& supplier, double no, const PurchaseLinesRecorder& rec) {
        AlisLogic a(session);
        a.open(isNew, supplier, no);
        a.setField(u"FATNO"_s, u"F"_s + QString::number(seed));
        a.setField(u"VADE"_s, QDate(2027, 1, 9));
        a.setLinesRecorder(rec);
        return a.store() == AlisLogic::StoreResult::Stored ? a.result() : 0.0;
    };
    IslAlisLogic logic(session, &values, links);
    logic.Giris();
    for (int p = 0; p < count; ++p) {
        for (int l = 0; l < kLinesPerPurchase; ++l) {
            logic.picker().positionByName(productName(seed + p + l));  // five different products
            values.quantity = 1 + (p + l) % 4;
            values.type = (p + l) % 9;
            values.freeGoods = l == 0 ? u"1"_s : QString();
            logic.alisEkle();
        }
        retried([&] { logic.alisKayit(); });
    }
    return 0;
}

int seller(const QString& location, int count, int seed)
{
    qputenv("SELVAR_LOCK_WAIT_MS", "5000");
    Database db(AliasConfig::fromLocation(location));
    ScriptedPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    QuantityOf values(db);
    SatisLogic logic(session, &values, {});
    logic.Giris();
    for (int s = 0; s < count; ++s) {
        for (int l = 0; l < 2; ++l) {
            logic.positionByName(productName(seed + s + l * 3));
            logic.satisEkle();
        }
        retried([&] { logic.perakendeKayit(); });
    }
    return 0;
}

void makeProducts(Database& db)
{
    for (int i = 0; i < kProducts; ++i) addProduct(db, productName(i), 1000 + 10 * i, kStartStock);
    insertRecord(db, u"KRMLAR"_s,
                 {{u"KOD"_s, u"DEPO1"_s}, {u"AD"_s, u"DEPO1 ECZA DEPOSU"_s}, {u"ILACLARDAKURUM"_s, 25.0},
                  {u"ILACBERABERKURUM"_s, 8.0}, {u"FATYUVAR"_s, 0}, {u"ALACAK"_s, kStartCredit}});
}

int count(Database& db, const QString& sql) { return Sql::scalar(db, sql).toInt(); }

// Every purchase is whole and the stock and the supplier's balance agree with the records.
void checkConsistent(Database& db, int expectedPurchases)
{
    const int purchases = count(db, u"SELECT COUNT(*) FROM ALIS1"_s);
    if (expectedPurchases >= 0) QCOMPARE(purchases, expectedPurchases);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM ALIS1 a WHERE (SELECT COUNT(*) FROM ALIS3 l WHERE l.ALISNO = a.ALISNO) <> 5"_s), 0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM ALIS3 l WHERE NOT EXISTS (SELECT 1 FROM ALIS1 a WHERE a.ALISNO = l.ALISNO)"_s), 0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM ALIS3 l WHERE (SELECT COUNT(*) FROM URUNHRK h WHERE h.ALSATNO = l.ALISNO "
                       u"AND h.ILACNO = l.ILACNO AND h.SIRANO = l.SIRANOILAC AND h.GIRMIK = l.MIKTAR) <> 1"_s),
             0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM URUNHRK WHERE GIRMIK > 0"_s), count(db, u"SELECT COUNT(*) FROM ALIS3"_s));
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM ALIS1 a WHERE (SELECT COUNT(*) FROM HAREKET h WHERE h.ALSATNO = a.ALISNO "
                       u"AND h.ALSAT = 'A' AND h.ALACAK = a.NET) <> 1"_s),
             0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM HAREKET"_s), purchases);
    // Stock: start + bought - sold, by the records and by the movements.
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM URUN u WHERE MIKTAR <> 1000 + (SELECT COALESCE(SUM(MIKTAR), 0) FROM ALIS3 "
                       u"WHERE ILACNO = u.ILACNO) - (SELECT COALESCE(SUM(MIKTAR), 0) FROM SATIS WHERE ILACNO = u.ILACNO)"_s),
             0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM URUN u WHERE MIKTAR <> 1000 + (SELECT COALESCE(SUM(GIRMIK), 0) - "
                       u"COALESCE(SUM(CIKMIK), 0) FROM URUNHRK WHERE ILACNO = u.ILACNO)"_s),
             0);
    const double credit = Sql::scalar(db, u"SELECT ALACAK FROM KRMLAR WHERE KOD = 'DEPO1'"_s).toDouble();
    const double nets = Sql::scalar(db, u"SELECT COALESCE(SUM(NET), 0) FROM ALIS1"_s).toDouble();
    QVERIFY(qAbs(credit - (kStartCredit + nets)) < 0.005);
    // No number used twice, none used up by a purchase that did not land.
    QCOMPARE(count(db, u"SELECT NEWALISNO FROM NEWALIS"_s), count(db, u"SELECT COALESCE(MAX(ALISNO), 0) FROM ALIS1"_s) + 1);
    QCOMPARE(count(db, u"SELECT COUNT(DISTINCT ALISNO) FROM ALIS1"_s), purchases);
    QCOMPARE(count(db, u"SELECT COUNT(DISTINCT HAREKNO) FROM HAREKET"_s), purchases);
    QCOMPARE(count(db, u"SELECT HRKNO FROM HRKNOAL"_s), count(db, u"SELECT COALESCE(MAX(HAREKNO), 0) FROM HAREKET"_s) + 1);
}

}  // namespace

class TstPurchaseProcesses : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void purchasesWhileSelling();
    void killedWhileRecording();
};

void TstPurchaseProcesses::purchasesWhileSelling()
{
    TestDb t;
    makeProducts(t.db());
    QProcess buyer, counter;
    buyer.start(QCoreApplication::applicationFilePath(), {u"--purchases"_s, t.path(), u"100"_s, u"0"_s});
    counter.start(QCoreApplication::applicationFilePath(), {u"--sales"_s, t.path(), u"200"_s, u"1"_s});
    for (QProcess* p : {&buyer, &counter}) {
        QVERIFY(p->waitForFinished(600000));
        QCOMPARE(p->exitCode(), 0);
    }
    checkConsistent(t.db(), 100);
    QCOMPARE(count(t.db(), u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s), 200);
    QCOMPARE(count(t.db(), u"SELECT MAX(ALISNO) FROM ALIS1"_s), 100);
}

void TstPurchaseProcesses::killedWhileRecording()
{
    TestDb t;
    makeProducts(t.db());
    for (int round = 0; round < 3; ++round) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {u"--purchases"_s, t.path(), u"100000"_s, QString::number(round)});
        QVERIFY(p.waitForStarted());
        QElapsedTimer timer;
        timer.start();
        const int before = count(t.db(), u"SELECT COUNT(*) FROM ALIS1"_s);
        while (count(t.db(), u"SELECT COUNT(*) FROM ALIS1"_s) < before + 5 + round * 3 && timer.elapsed() < 60000)
            QTest::qWait(5);
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        auto fresh = t.second();
        checkConsistent(*fresh, -1);
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5) {
        const QString kind = QString::fromLatin1(argv[1]);
        const QString location = QString::fromLocal8Bit(argv[2]);
        const int n = QString::fromLatin1(argv[3]).toInt(), seed = QString::fromLatin1(argv[4]).toInt();
        if (kind == u"--purchases"_s) return purchaser(location, n, seed);
        if (kind == u"--sales"_s) return seller(location, n, seed);
    }
    TstPurchaseProcesses t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_purchase_processes.moc"
