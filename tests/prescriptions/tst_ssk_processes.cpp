// Two workstations storing SSK prescriptions at the same time on one database; a process
// killed while storing leaves no part of a prescription behind.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/recete_ssk_logic.h"
#include "prescriptions/satis_ssk_logic.h"
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

constexpr int kProducts = 8;
constexpr int kLines = 3;

class TakeOne final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest&) override
    {
        ProductValuesResult r;
        r.ok = true;
        r.dailyUse = u"1"_s;
        r.dose = u"  1"_s;
        return r;
    }
};

// Worker: stores `count` prescriptions of three lines, each into the book.
int worker(const QString& location, int count, int seed)
{
    qputenv("SELVAR_LOCK_WAIT_MS", "5000");
    Database db(AliasConfig::fromLocation(location));
    ScriptedPrompter prompter;
    prompter.unansweredQuestion = Answer::Yes;
    SystemClock clock;
    Session session(db, prompter, clock);
    TakeOne values;
    int n = 0;
    SskSaleLinks links;
    links.receteSskAc = [&](int mode, const QString& date, double sale, const LinesRecorder& record) {
        ReceteSskLogic r(session);
        r.open(mode, date, sale);
        r.setLinesRecorder(record);
        r.setInstitutionBox(u"SSK"_s);
        r.setPatientName(QStringLiteral("Hasta%1").arg(seed));
        r.setPatientSurname(QStringLiteral("No%1").arg(n));
        r.setInsuredName(QStringLiteral("Sigortali%1").arg(seed));
        r.setInsuredSurname(QStringLiteral("No%1").arg(n));
        r.setStatusItem(u"1-Çalışan Sigortalı"_s);
        r.setRelationshipItem(u"0-Kendisi / Sigortalı "_s);
        r.setSskField(u"SICILNO"_s, QString::number(1000000 + seed * 10000 + n));
        r.setClassLetter(u"Ç"_s);
        for (;;) {
            try {
                r.store();
                break;
            } catch (const LockHeld&) {
                // the window's retry box, answered OK
            }
        }
        return r.stored() ? r.result() : 0.0;
    };
    SatisSskLogic logic(session, &values, links);
    logic.Giris();
    for (n = 0; n < count; ++n) {
        for (int l = 0; l < kLines; ++l) {
            logic.picker().positionByName(QStringLiteral("URUN %1").arg((seed + n + l * 3) % kProducts, 2, 10, QChar(u'0')));
            logic.satEkle();
        }
        logic.sskReceteKayit();
    }
    return 0;
}

void makeData(Database& db)
{
    for (int i = 0; i < kProducts; ++i)
        addProduct(db, QStringLiteral("URUN %1").arg(i, 2, 10, QChar(u'0')), 1000 + i, 100000, {}, u"N"_s, 8);
    Sql::run(db, u"INSERT INTO KRMLAR (KOD, AD, ILACLARDAKURUM, ILACLARDACALISAN) VALUES ('SSK', 'SSK', 10, 20)"_s);
}

// Every prescription has its SSK row, its sale rows, line rows and movements; stock agrees.
void checkConsistent(Database& db, int expected)
{
    auto count = [&](const QString& sql) { return Sql::scalar(db, sql).toInt(); };
    const int prescriptions = count(u"SELECT COUNT(*) FROM RECETE"_s);
    if (expected >= 0) QCOMPARE(prescriptions, expected);
    QCOMPARE(count(u"SELECT COUNT(*) FROM RECSSK"_s), prescriptions);
    QCOMPARE(count(u"SELECT COUNT(*) FROM RECETE r WHERE NOT EXISTS (SELECT 1 FROM RECSSK s WHERE s.SATISNO = r.SATISNO)"_s), 0);
    QCOMPARE(count(u"SELECT COUNT(DISTINCT SATISNO) FROM RECETE"_s), prescriptions);
    QCOMPARE(count(u"SELECT COUNT(DISTINCT RKDEFTERNO) FROM RECETE"_s), prescriptions);
    QCOMPARE(count(u"SELECT COUNT(*) FROM RECETE WHERE RKDEFTERNO LIKE 'XX%'"_s), 0);
    QCOMPARE(count(u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s), prescriptions);
    QCOMPARE(count(u"SELECT COUNT(*) FROM (SELECT SATISNO FROM SATIS GROUP BY SATISNO HAVING SUM(MIKTAR) <> 3) AS odd"_s), 0);
    QCOMPARE(count(u"SELECT COUNT(*) FROM RECSSK_A"_s), count(u"SELECT COUNT(*) FROM SATIS"_s));
    QCOMPARE(count(u"SELECT COUNT(*) FROM URUNHRK"_s), count(u"SELECT COUNT(*) FROM SATIS"_s));
    QCOMPARE(count(u"SELECT COUNT(*) FROM URUN u WHERE MIKTAR <> 100000 - (SELECT COALESCE(SUM(MIKTAR), 0) FROM SATIS "
                   u"WHERE ILACNO = u.ILACNO)"_s),
             0);
}

}  // namespace

class TstSskProcesses : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoWorkstationsStoreAtOnce();
    void killedWhileStoring();
};

void TstSskProcesses::twoWorkstationsStoreAtOnce()
{
    TestDb t;
    makeData(t.db());
    QProcess workers[2];
    for (int i = 0; i < 2; ++i)
        workers[i].start(QCoreApplication::applicationFilePath(), {u"--worker"_s, t.path(), u"200"_s, QString::number(i + 1)});
    for (QProcess& p : workers) {
        QVERIFY(p.waitForFinished(400000));
        QCOMPARE(p.exitCode(), 0);
    }
    checkConsistent(t.db(), 400);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT MAX(SATISNO) FROM SATIS"_s).toInt(), 400);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT MAX(RKDEFTERNO) FROM RECETE"_s).toString().right(7).toInt(), 400);
}

void TstSskProcesses::killedWhileStoring()
{
    TestDb t;
    makeData(t.db());
    for (int round = 0; round < 3; ++round) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {u"--worker"_s, t.path(), u"100000"_s, QString::number(round + 5)});
        QVERIFY(p.waitForStarted());
        QElapsedTimer timer;
        timer.start();
        const int before = Sql::scalar(t.db(), u"SELECT COUNT(*) FROM RECETE"_s).toInt();
        while (Sql::scalar(t.db(), u"SELECT COUNT(*) FROM RECETE"_s).toInt() < before + 15 + round * 7 && timer.elapsed() < 60000)
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
    if (argc == 5 && QString::fromLatin1(argv[1]) == u"--worker"_s)
        return worker(QString::fromLocal8Bit(argv[2]), QString::fromLatin1(argv[3]).toInt(), QString::fromLatin1(argv[4]).toInt());
    TstSskProcesses t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_ssk_processes.moc"
