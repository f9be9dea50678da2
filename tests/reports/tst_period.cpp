// The reports' periods, the monthly report of a product and the operation log: its
// filter, the numbers and records its rows point at, and the deletion of whole days.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "reports/demo_reports.h"
#include "reports/period_logic.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QSet>
#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(1998, 5, 15), QTime(12, 0))};
    Session session{t.db(), prompter, clock};
    void movement(qint64 p, const QDateTime& when, double in, double out)
    {
        insertRecord(t.db(), u"URUNHRK"_s,
                     {{u"ILACNO"_s, p}, {u"GCTARIH"_s, when}, {u"GIRMIK"_s, in == 0 ? QVariant() : QVariant(in)},
                      {u"CIKMIK"_s, out == 0 ? QVariant() : QVariant(out)}, {u"ALSATNO"_s, 1.0}, {u"SIRANO"_s, 1}});
    }
    void log(const QDateTime& when, const QString& type, const QVariant& number, const QString& text = u"X"_s)
    {
        insertRecord(t.db(), u"PROSES"_s,
                     {{u"TARIH"_s, when}, {u"ACIKLA"_s, text}, {u"ISLETIPI"_s, type}, {u"ISLETNO"_s, number},
                      {u"TUTAR"_s, 100.0}});
    }
};

QString cell(const MonthRow& r) { return r.label + u' ' + QString::number(r.in) + u'/' + QString::number(r.out); }
}  // namespace

class TstPeriod : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dateRange();
    void monthlyReport();
    void operationLog();
    void deletingWholeDays();
    void reportIndexesOnAnOlderDatabase();
    void demoData();
};

void TstPeriod::dateRange()
{
    Fixture f;
    QVERIFY(dateBoxAcceptable(u"  .  .    "_s));
    QVERIFY(dateBoxAcceptable(u"29.02.1996"_s));
    QVERIFY(!dateBoxAcceptable(u"30.02.1996"_s));
    QVERIFY(!checkDateRange(f.session, u"  .  .    "_s, u"01.03.2026"_s));
    QCOMPARE(f.prompter.texts().last(), u"Geçersiz Bir Tarih Belirlendi"_s);
    QVERIFY(!checkDateRange(f.session, u"03.03.2026"_s, u"02.03.2026"_s));
    QCOMPARE(f.prompter.texts().last(), u"\"den\" tarihi \"kadar\" tarihinden küçük olamaz"_s);
    const std::optional<DateRange> r = checkDateRange(f.session, u"02.03.2026"_s, u"02/03/2026"_s);
    QVERIFY(r);
    QCOMPARE(r->first, QDate(2026, 3, 2));
    QCOMPARE(r->last, QDate(2026, 3, 2));
    QVERIFY(r->accepted);
}

void TstPeriod::monthlyReport()
{
    Fixture f;
    const qint64 p = addProduct(f.t.db(), u"PAROL"_s, 1000, 0);
    f.movement(p, QDateTime(QDate(1997, 4, 20), QTime(10, 0)), 7, 0);
    f.movement(p, QDateTime(QDate(1997, 5, 31), QTime(23, 59, 59, 999)), 10, 0);
    f.movement(p, QDateTime(QDate(1997, 6, 1), QTime(0, 0)), 0, 3);
    f.movement(p, QDateTime(QDate(1998, 5, 15), QTime(9, 0)), 0, 2);
    f.movement(p, QDateTime(QDate(1996, 2, 29), QTime(9, 0)), 4, 0);
    f.movement(addProduct(f.t.db(), u"BAŞKA"_s, 1, 0), QDateTime(QDate(1997, 6, 1), QTime(9, 0)), 50, 0);
    AylikRaporLogic r(f.session, p);
    QCOMPARE(r.productName(), u"PAROL"_s);
    QCOMPARE(r.firstMonth(), 5);
    QCOMPARE(r.year(), 1997);
    QList<MonthRow> rows = r.rows();
    QCOMPARE(rows.size(), 14);
    QCOMPARE(cell(rows[0]), u"MAYIS 1997 10/0"_s);
    QCOMPARE(cell(rows[1]), u"HAZİRAN 1997 0/3"_s);
    QCOMPARE(cell(rows[12]), u"MAYIS 1998 0/2"_s);
    QCOMPARE(cell(rows[13]), u"TOPLAM  10/5"_s);
    // "Mart", then the previous year twice.
    QCOMPARE(monthListNames()[2], u"Mart"_s);
    r.setFirstMonth(3);
    r.previousYear();
    r.previousYear();
    rows = r.rows();
    QCOMPARE(rows[0].label, u"MART 1995"_s);
    QCOMPARE(rows[12].label, u"MART 1996"_s);
    QCOMPARE(cell(rows[11]), u"ŞUBAT 1996 4/0"_s);
    r.nextYear();
    QCOMPARE(r.rows()[0].label, u"MART 1996"_s);
}

void TstPeriod::operationLog()
{
    Fixture f;
    const QDate day(2026, 3, 2);
    f.log(QDateTime(day, QTime(9, 0)), u"Alış.Fat.Dzlt."_s, 7.0, u"DEPO1-ECZACI"_s);
    f.log(QDateTime(day, QTime(10, 0)), u"Reç. Düzeltme"_s, 41.0);
    f.log(QDateTime(day, QTime(11, 0)), u"Miktar Değiş."_s, 12.5);
    f.log(QDateTime(day, QTime(12, 0)), u"Alış.Fat.Dzlt.' OR '1'='1"_s, 8.0);  // a type that looks like a filter
    f.log(QDateTime(day.addDays(1), QTime(0, 0)), u"Veresiye. Dzlt"_s, 3.0);
    const qint64 p = addProduct(f.t.db(), u"PAROL 500 MG"_s, 1000, 0);
    insertRecord(f.t.db(), u"ALIS3"_s,
                 {{u"ALISNO"_s, 7.0}, {u"SIRANOILAC"_s, 1}, {u"ILACNO"_s, p}, {u"FIYAT"_s, 900.0}, {u"MIKTAR"_s, 12},
                  {u"ALISTARIH"_s, QDateTime(day, QTime(8, 0))}, {u"MALFAZLA"_s, 2}});
    insertRecord(f.t.db(), u"SATIS"_s,
                 {{u"SATISNO"_s, 41.0}, {u"SIRANOURUN"_s, 1}, {u"ILACNO"_s, p}, {u"FIYAT"_s, 1000.0}, {u"MIKTAR"_s, 3}});
    insertRecord(f.t.db(), u"HASTA"_s, {{u"HASTANO"_s, 5}, {u"HASTADI"_s, u"AYŞE"_s}});
    insertRecord(f.t.db(), u"HAREKET"_s,
                 {{u"HAREKNO"_s, 3.0}, {u"CARIKOD"_s, u"5"_s}, {u"BILGI"_s, u"Prk.Satış"_s}, {u"BORC"_s, 500.0},
                  {u"ALACAK"_s, 0.0}, {u"TARIH"_s, day}});
    IsletimLogic log(f.session, day, day.addDays(1));
    QCOMPARE(log.caption(), u"02.03.2026-03.03.2026 ARASI PROGRAM İŞLETİM LİSTESİ"_s);
    QCOMPARE(log.rows().size(), 5);
    // The filter compares the type as it is.
    log.setFilter(int(IsletimLogic::filterItems().indexOf(u"Alış.Fat.Dzlt."_s)));
    QList<LogRow> rows = log.rows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(IsletimLogic::numberText(rows[0]), u"Alış No:7"_s);
    const LogContents purchase = log.contents(rows[0]);
    QCOMPARE(purchase.headings, (QStringList{u"S.N."_s, u"Ürün Adı"_s, u"Fiyat"_s, u"Adet"_s, u"Al.Trh."_s, u"Mal.F."_s}));
    QCOMPARE(purchase.rows, (QList<QStringList>{{u"1"_s, u"PAROL 500 MG"_s, u"900,00"_s, u"12"_s, u"02.03.2026"_s, u"2"_s}}));
    log.setFilter(0);
    rows = log.rows();
    QCOMPARE(IsletimLogic::numberText(rows[1]), u"Satış No:41"_s);
    QCOMPARE(log.contents(rows[1]).rows.first(), (QStringList{u"PAROL 500 MG"_s, u"1.000,00"_s, u"3"_s, u"3.000,00"_s}));
    QCOMPARE(IsletimLogic::numberText(rows[2]), u"12,5"_s);
    QVERIFY(!IsletimLogic::hasContents(rows[2]));
    QCOMPARE(IsletimLogic::numberText(rows[4]), u"Hareket No:3"_s);
    QCOMPARE(log.contents(rows[4]).rows.first(), (QStringList{u"AYŞE"_s, u"Prk.Satış"_s, u"500,00"_s, QString(), u"02.03.2026"_s}));
}

void TstPeriod::deletingWholeDays()
{
    Fixture f;
    for (const QDateTime& t : {QDateTime(QDate(2026, 2, 28), QTime(23, 59, 59, 999)), QDateTime(QDate(2026, 3, 1), QTime(0, 0)),
                               QDateTime(QDate(2026, 3, 1), QTime(23, 59, 59, 999)), QDateTime(QDate(2026, 3, 2), QTime(0, 0))})
        f.log(t, u"Miktar Değiş."_s, 1.0);
    IsletimLogic log(f.session, QDate(2026, 2, 1), QDate(2026, 3, 31));
    // A blank date is refused, never read as "everything".
    QVERIFY(!log.deletePeriod(u"  .  .    "_s, u"01.03.2026"_s));
    QCOMPARE(log.rows().size(), 4);
    f.prompter.answer(Answer::No);
    QVERIFY(!log.deletePeriod(u"01.03.2026"_s, u"01.03.2026"_s));
    QCOMPARE(f.prompter.texts().last(), DeleteLogQuestion);
    f.prompter.answer(Answer::Yes);
    QVERIFY(log.deletePeriod(u"01.03.2026"_s, u"01.03.2026"_s));
    const QList<LogRow> left = log.rows();
    QCOMPARE(left.size(), 2);
    QCOMPARE(left[0].when.date(), QDate(2026, 2, 28));
    QCOMPARE(left[1].when.date(), QDate(2026, 3, 2));
}

void TstPeriod::reportIndexesOnAnOlderDatabase()
{
    Fixture f;
    // A database made before the reports' indexes: they are added, and adding is idempotent.
    if (f.t.db().alias().engine == AliasConfig::Engine::Sqlite) {
        f.t.db().execute(u"DROP INDEX \"RECETE_RALTARIH\""_s);
        QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM sqlite_master WHERE name = 'RECETE_RALTARIH'"_s).toInt(), 0);
    }
    f.t.db().ensureIndexes();
    f.t.db().ensureIndexes();
    if (f.t.db().alias().engine == AliasConfig::Engine::Sqlite) {
        for (const char* name : {"RECETE_RALTARIH", "HAREKET_HRKTARIH", "FATURA_FATARIH", "iskonto_ISKTARIH"})
            QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM sqlite_master WHERE name = :n"_s,
                                 {{u"n"_s, QString::fromLatin1(name)}})
                         .toInt(),
                     1);
    }
}

void TstPeriod::demoData()
{
    TestDb t(true);
    addDemoReports(t.db(), QDate(2026, 12, 9));
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(12, 0))};
    Session session{t.db(), prompter, clock};
    // The eight kinds of the log, each pointing at a record that is there.
    IsletimLogic log(session, QDate(2026, 12, 1), QDate(2026, 12, 9));
    QSet<QString> kinds;
    for (const LogRow& r : log.rows()) {
        kinds.insert(r.type);
        if (IsletimLogic::hasContents(r)) QVERIFY2(!log.contents(r).rows.isEmpty(), qPrintable(r.type));
    }
    for (const QString& k : IsletimLogic::filterItems().mid(1)) QVERIFY2(kinds.contains(k), qPrintable(k));
    // A year of movements of a product, and movements of every kind.
    const qint64 p = Sql::scalar(t.db(), u"SELECT ILACNO FROM ALIS3 WHERE ALISNO = (SELECT MAX(ALISNO) FROM ALIS3)"_s).toLongLong();
    AylikRaporLogic months(session, p);
    int busy = 0;
    for (const MonthRow& m : months.rows().mid(0, 13)) busy += m.in > 0 ? 1 : 0;
    QVERIFY(busy >= 12);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT COUNT(DISTINCT TUR) FROM HAREKET"_s).toInt(), 8);
}

QTEST_GUILESS_MAIN(TstPeriod)
#include "tst_period.moc"
