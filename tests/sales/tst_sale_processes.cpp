// Workstations recording at the same time: four processes record retail sales on one
// database; a process killed while recording leaves no part of a sale behind; a backup
// taken while another workstation sells restores to a whole, consistent database.
#include "data/backup.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "sales/satis_logic.h"
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
constexpr int kLinesPerSale = 3;

// Takes the quantity the worker wants: the line's product and quantity are scripted.
class QuantityOne final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest&) override { return {true, {}}; }
};

// Worker: records `count` sales of three lines each on the database at `location`.
int worker(const QString& location, int count, int seed)
{
    qputenv("SELVAR_LOCK_WAIT_MS", "5000");
    Database db(AliasConfig::fromLocation(location));
    ScriptedPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    QuantityOne values;
    SatisLogic logic(session, &values, {});
    logic.Giris();
    for (int s = 0; s < count; ++s) {
        for (int l = 0; l < kLinesPerSale; ++l) {
            const QString name = QStringLiteral("URUN %1").arg((seed + s + l * 3) % kProducts, 2, 10, QChar(u'0'));
            logic.positionByName(name);
            logic.satisEkle();
        }
        for (;;) {
            try {
                logic.perakendeKayit();
                break;
            } catch (const LockHeld&) {
                // the window's retry box, answered OK
            }
        }
    }
    return 0;
}

void makeProducts(Database& db)
{
    for (int i = 0; i < kProducts; ++i) addProduct(db, QStringLiteral("URUN %1").arg(i, 2, 10, QChar(u'0')), 1000 + i, 100000);
}

// Every sale has all its lines and movements, and stock agrees with what was sold.
void checkConsistent(Database& db, int expectedSales)
{
    const int sales = Sql::scalar(db, u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s).toInt();
    if (expectedSales >= 0) QCOMPARE(sales, expectedSales);
    // A merged line (the same product twice) is one row; every sale sold 3 units.
    QCOMPARE(Sql::scalar(db, u"SELECT COUNT(*) FROM (SELECT SATISNO FROM SATIS GROUP BY SATISNO HAVING SUM(MIKTAR) <> 3) AS odd"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(db, u"SELECT COUNT(*) FROM SATIS s WHERE NOT EXISTS (SELECT 1 FROM URUNHRK h WHERE h.ALSATNO = s.SATISNO "
                             u"AND h.ILACNO = s.ILACNO AND h.SIRANO = s.SIRANOURUN AND h.CIKMIK = s.MIKTAR)"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(db, u"SELECT COUNT(*) FROM URUNHRK"_s).toInt(), Sql::scalar(db, u"SELECT COUNT(*) FROM SATIS"_s).toInt());
    QCOMPARE(Sql::scalar(db, u"SELECT COUNT(*) FROM URUN u WHERE MIKTAR <> 100000 - (SELECT COALESCE(SUM(MIKTAR), 0) FROM SATIS "
                             u"WHERE ILACNO = u.ILACNO)"_s).toInt(), 0);
    QVERIFY(Sql::scalar(db, u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt() > Sql::scalar(db, u"SELECT COALESCE(MAX(SATISNO), 0) FROM SATIS"_s).toInt());
}

}  // namespace

class TstSaleProcesses : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fourWorkstationsRecordAtOnce();
    void killedWhileRecording();
    void backupWhileRecording();
};

void TstSaleProcesses::fourWorkstationsRecordAtOnce()
{
    TestDb t;
    makeProducts(t.db());
    QProcess workers[4];
    for (int i = 0; i < 4; ++i)
        workers[i].start(QCoreApplication::applicationFilePath(), {u"--worker"_s, t.path(), u"200"_s, QString::number(i * 3)});
    for (QProcess& p : workers) {
        QVERIFY(p.waitForFinished(400000));
        QCOMPARE(p.exitCode(), 0);
    }
    checkConsistent(t.db(), 800);
    // No sale number twice: 800 sales used the numbers 1..800.
    QCOMPARE(Sql::scalar(t.db(), u"SELECT MAX(SATISNO) FROM SATIS"_s).toInt(), 800);
}

void TstSaleProcesses::killedWhileRecording()
{
    TestDb t;
    makeProducts(t.db());
    for (int round = 0; round < 3; ++round) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {u"--worker"_s, t.path(), u"100000"_s, QString::number(round)});
        QVERIFY(p.waitForStarted());
        // Let it record for a while, then kill it wherever it is.
        QElapsedTimer timer;
        timer.start();
        const int before = Sql::scalar(t.db(), u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s).toInt();
        while (Sql::scalar(t.db(), u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s).toInt() < before + 20 + round * 7
               && timer.elapsed() < 60000)
            QTest::qWait(5);
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        auto fresh = t.second();
        checkConsistent(*fresh, -1);
    }
}

void TstSaleProcesses::backupWhileRecording()
{
    TestDb t;
    makeProducts(t.db());
    QProcess counter;
    counter.start(QCoreApplication::applicationFilePath(), {u"--worker"_s, t.path(), u"150"_s, u"3"_s});
    QVERIFY(counter.waitForStarted());
    auto sales = [&](Database& db) { return Sql::scalar(db, u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s).toInt(); };
    QElapsedTimer timer;
    timer.start();
    while (sales(t.db()) < 20 && timer.elapsed() < 60000) QTest::qWait(5);
    // Every sale committed before the backup begins must be in it.
    const int before = Sql::scalar(t.db(), u"SELECT COALESCE(MAX(SATISNO), 0) FROM SATIS"_s).toInt();
    const BackupInfo info = backupDatabase(t.alias(), t.dir() + u"/yedek"_s, QDateTime::currentDateTime());
    QVERIFY(counter.waitForFinished(600000));
    QCOMPARE(counter.exitCode(), 0);
    QVERIFY(sales(t.db()) == 150);
    const int committedBefore =
        Sql::scalar(t.db(), u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS WHERE SATISNO <= :n"_s, {{u"n"_s, before}}).toInt();
    const AliasConfig target = t.alias().engine == AliasConfig::Engine::Sqlite
                                   ? AliasConfig::forSqliteFile(t.dir() + u"/geri.sqlite"_s)
                                   : t.alias();
    const RestoreReport report = restoreDatabase(info.path, target, true);
    QVERIFY2(report.ok, qPrintable(report.lines.join(u'\n')));
    Database restored(target);
    QCOMPARE(Sql::scalar(restored, u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS WHERE SATISNO <= :n"_s, {{u"n"_s, before}}).toInt(),
             committedBefore);
    checkConsistent(restored, -1);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && QString::fromLatin1(argv[1]) == u"--worker"_s)
        return worker(QString::fromLocal8Bit(argv[2]), QString::fromLatin1(argv[3]).toInt(), QString::fromLatin1(argv[4]).toInt());
    TstSaleProcesses t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_sale_processes.moc"
