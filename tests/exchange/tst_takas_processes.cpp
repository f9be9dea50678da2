// Two workstations at once: one records exchanges into and out of stock, edits and
// deletes some, while the other sells the same products at the counter. Afterwards every
// stock agrees with its movements and every stock-moving exchange has exactly one.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "exchange/takas_logic.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "sales/satis_logic.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kProducts = 5;
constexpr int kStartStock = 1000;

QString productName(int i) { return QStringLiteral("TAKAS URUN %1").arg(i % kProducts); }

template <typename F>
void retried(F&& f)
{
    for (;;) {
        try {
            f();
            return;
        } catch (const LockHeld&) {
            // the retry box, answered OK
        } catch (const WriteConflict&) {
            // the other workstation got there first: the whole exchange again
        }
    }
}

// The values dialog answered with one box.
class OneOf final : public ProductValuesDialog {
public:
    explicit OneOf(Database& db) : db_(db) {}
    ProductValuesResult showModal(const ProductValuesRequest&) override
    {
        Sql::run(db_, u"UPDATE FITMP SET SATISMIK = 1"_s);
        ProductValuesResult r;
        r.ok = true;
        return r;
    }

private:
    Database& db_;
};

// 100 exchanges "E" and "V": every seventh edited (quantity, and every fourteenth also
// the product and the date), every eleventh deleted.
int exchanger(const QString& location)
{
    qputenv("SELVAR_LOCK_WAIT_MS", "5000");
    Database db(AliasConfig::fromLocation(location));
    ScriptedPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    TakasLogic logic(session);
    for (int i = 0; i < 100; ++i) {
        Exchange e;
        e.pharmacy = u"ÇINAR ECZANESİ"_s;
        e.product = productName(i);
        e.quantity = 1 + i % 4;
        e.amount = 1000.0 * *e.quantity;
        e.type = i % 2 ? u"E"_s : u"V"_s;
        e.date = QDate(2026, 12, 1);
        bool stored = false;
        retried([&] { stored = logic.store(e); });
        if (!stored) return 1;
        if (i % 7 == 3) {
            e.quantity = 5;
            if (i % 14 == 3) {
                e.product = productName(i + 2);
                e.date = QDate(2026, 12, 2);
            }
            retried([&] { stored = logic.store(e); });
            if (!stored) return 2;
        }
        if (i % 11 == 5) retried([&] { logic.remove(e.no); });
    }
    return 0;
}

int seller(const QString& location, int count)
{
    qputenv("SELVAR_LOCK_WAIT_MS", "5000");
    Database db(AliasConfig::fromLocation(location));
    ScriptedPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    OneOf values(db);
    SatisLogic logic(session, &values, {});
    logic.Giris();
    for (int s = 0; s < count; ++s) {
        for (int l = 0; l < 2; ++l) {
            logic.positionByName(productName(s + l * 2));
            logic.satisEkle();
        }
        retried([&] { logic.perakendeKayit(); });
    }
    return 0;
}

int count(Database& db, const QString& sql) { return Sql::scalar(db, sql).toInt(); }

}  // namespace

class TstTakasProcesses : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exchangesWhileSelling();
};

void TstTakasProcesses::exchangesWhileSelling()
{
    TestDb t;
    for (int i = 0; i < kProducts; ++i) addProduct(t.db(), productName(i), 1000 + 100 * i, kStartStock);
    QProcess exchanges, counter;
    exchanges.start(QCoreApplication::applicationFilePath(), {u"--exchanges"_s, t.path(), u"100"_s});
    counter.start(QCoreApplication::applicationFilePath(), {u"--sales"_s, t.path(), u"150"_s});
    for (QProcess* p : {&exchanges, &counter}) {
        QVERIFY(p->waitForFinished(600000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
    }
    Database& db = t.db();
    const QString no = db.dialect().quote(u"NO"_s);
    // 100 recorded, the nine with i % 11 == 5 deleted.
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM TAKAS"_s), 91);
    QCOMPARE(count(db, u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s), 150);
    // Each exchange has its one movement on its own product, date and quantity...
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM TAKAS T WHERE (SELECT COUNT(*) FROM URUNHRK H JOIN URUN U ON U.ILACNO = "
                       u"H.ILACNO WHERE H.ALSATNO = T."_s
                           + no
                           + u" AND H.SIRANO = 999999999 AND U.ILACAD = T.ILACAD AND "
                             u"COALESCE(H.GIRMIK, 0) + COALESCE(H.CIKMIK, 0) = T.ADET) <> 1"_s),
             0);
    // ...and no movement outlives its exchange.
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM URUNHRK WHERE SIRANO = 999999999"_s), 91);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM TAKAS WHERE ADET = 5"_s), 13);
    // Stock: start + in - out by the movements, and by the records.
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM URUN u WHERE MIKTAR <> 1000 + (SELECT COALESCE(SUM(GIRMIK), 0) - "
                       u"COALESCE(SUM(CIKMIK), 0) FROM URUNHRK WHERE ILACNO = u.ILACNO)"_s),
             0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM URUN u WHERE MIKTAR <> 1000 "
                       u"+ (SELECT COALESCE(SUM(ADET), 0) FROM TAKAS WHERE TIP = 'E' AND ILACAD = u.ILACAD) "
                       u"- (SELECT COALESCE(SUM(ADET), 0) FROM TAKAS WHERE TIP = 'V' AND ILACAD = u.ILACAD) "
                       u"- (SELECT COALESCE(SUM(MIKTAR), 0) FROM SATIS WHERE ILACNO = u.ILACNO)"_s),
             0);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4) {
        const QString kind = QString::fromLatin1(argv[1]);
        const QString location = QString::fromLocal8Bit(argv[2]);
        const int n = QString::fromLatin1(argv[3]).toInt();
        if (kind == u"--exchanges"_s) return exchanger(location);
        if (kind == u"--sales"_s) return seller(location, n);
    }
    TstTakasProcesses t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_takas_processes.moc"
