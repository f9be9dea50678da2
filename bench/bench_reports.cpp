// The private reports on a large pharmacy: twenty busy products with thousands of
// movements over fourteen months, account movements of every kind, discounts, private
// invoices and prescriptions with patient shares and VAT. The thirteen-month report of a
// busy product, the year's day-by-day cash table, the year's summary and the report's
// pages, and the profit report of a month, each against its bare SQL.
// Argument: sqlite (default) or postgresql.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "reports/cash_logic.h"
#include "reports/cash_reports.h"
#include "reports/period_logic.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <random>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
const QDate First(2025, 10, 1), Last(2026, 11, 30);

// What the large pharmacy lacks for these reports, added to this copy once.
void prepare(Database& db)
{
    if (Sql::scalar(db, u"SELECT COUNT(*) FROM iskonto"_s).toInt() > 0) return;
    std::mt19937 rng(7);
    Transaction tx(db);
    Sql move(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, CIKMIK, GIRFIYAT, ALSATNO, SIRANO) "
                 u"VALUES (:i, :t, :g, :c, :f, :n, :s)"_s);
    const qint64 days = First.daysTo(Last);
    for (int p = 1; p <= 20; ++p) {
        const int count = 2000 + int(rng() % 3001);
        for (int k = 0; k < count; ++k) {
            const QDateTime when(First.addDays(qint64(rng() % quint64(days + 1))), QTime(8 + int(rng() % 12), int(rng() % 60)));
            const bool in = k % 5 == 0;
            move.bind(u"i"_s, p).bind(u"t"_s, when).bind(u"g"_s, in ? QVariant(10) : QVariant());
            move.bind(u"c"_s, in ? QVariant() : QVariant(1 + int(rng() % 3))).bind(u"f"_s, in ? QVariant(4000.0 + p) : QVariant());
            move.bind(u"n"_s, 900000 + k).bind(u"s"_s, p).exec();
        }
    }
    static const QStringList kinds{u"A"_s, u"D"_s, u"K"_s, u"M"_s, u"N"_s, u"P"_s, u"S"_s, u"Ç"_s};
    Sql h(db, u"INSERT INTO HAREKET (HAREKNO, TUR, TARIH, BORC, ALACAK, NIHAI, CARIKOD) VALUES (:h, :t, :d, :b, :a, :n, 'X')"_s);
    Sql d(db, u"INSERT INTO iskonto (SATISNO, TARIH, ISKONTUT) VALUES (:s, :t, :i)"_s);
    Sql f(db, u"INSERT INTO FATURA (FATNO, FATARIH, NET, TOPKDV) VALUES (:n, :t, :net, :k)"_s);
    for (int i = 0; i < 20000; ++i) {
        const QDate day = First.addDays(qint64(rng() % quint64(days + 1)));
        h.bind(u"h"_s, 1000000 + i).bind(u"t"_s, kinds[i % kinds.size()]).bind(u"d"_s, day);
        h.bind(u"b"_s, i % 2 ? 5000.0 * (i % 40) : 0.0).bind(u"a"_s, i % 2 ? 0.0 : 5000.0 * (i % 30));
        h.bind(u"n"_s, i % 4).exec();
        if (i % 4 == 0) d.bind(u"s"_s, 5000000 + i).bind(u"t"_s, day).bind(u"i"_s, 500.0).exec();
        if (i % 10 == 0) f.bind(u"n"_s, 2000000 + i).bind(u"t"_s, day).bind(u"net"_s, 108000.0).bind(u"k"_s, 8000.0).exec();
    }
    Sql::run(db, u"UPDATE RECETE SET KDVB = NET * 8 / 108"_s);
    tx.commit();
    db.ensureIndexes();
}

double ms(qint64 ns) { return ns / 1e6; }
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    Database db(bench::writableLargeDatabaseOn(engine, u"reports-bench"_s));
    out << "engine: " << engine << "\n";
    AgreeingPrompter prompter;
    FixedClock clock(QDateTime(QDate(2026, 11, 20), QTime(12, 0)));
    Session session(db, prompter, clock);
    prepare(db);
    const bool pg = engine == u"postgresql"_s;
    QElapsedTimer t;

    // The thirteen-month report of a busy product: opening and each Page Up.
    std::vector<double> months;
    AylikRaporLogic report(session, 7);
    for (int i = 0; i < 12; ++i) {
        t.start();
        report.rows();
        months.push_back(t.nsecsElapsed() / 1000.0);
        report.previousYear();
        if (i % 2) report.nextYear(), report.nextYear();
    }
    std::vector<double> bareMonths;
    const QString grouped = pg ? u"SELECT date_trunc('month', GCTARIH), SUM(GIRMIK), SUM(CIKMIK) FROM URUNHRK WHERE ILACNO = 7 "
                                 u"AND GCTARIH >= :a AND GCTARIH < :b GROUP BY 1"_s
                               : u"SELECT strftime('%Y-%m', GCTARIH), SUM(GIRMIK), SUM(CIKMIK) FROM URUNHRK WHERE ILACNO = 7 "
                                 u"AND GCTARIH >= :a AND GCTARIH < :b GROUP BY 1"_s;
    for (int i = 0; i < 12; ++i) {
        t.start();
        Sql q(db, grouped);
        q.bind(u"a"_s, QDateTime(QDate(2025, 11, 1), QTime(0, 0))).bind(u"b"_s, QDateTime(QDate(2026, 12, 1), QTime(0, 0))).exec();
        while (q.next()) {}
        bareMonths.push_back(t.nsecsElapsed() / 1000.0);
    }
    const double mm = bench::median(months), mb = bench::median(bareMonths);
    out << "thirteen-month report of a busy product, median: " << QString::number(mm / 1000, 'f', 2)
        << " ms (target < 30 ms); one bare grouped sum: " << QString::number(mb / 1000, 'f', 2) << " ms; ratio "
        << QString::number(mm / mb, 'f', 2) << " (target <= 3)\n";

    // The year's day-by-day cash table.
    const QDate yearStart(2025, 11, 20), yearEnd(2026, 11, 20);
    t.start();
    const QList<KasaRow> rows = buildKasaTable(db, yearStart, yearEnd);
    const double table = ms(t.nsecsElapsed());
    t.start();
    {
        Transaction tx(db);
        for (const QString& sql : {u"SELECT SATARIH, MIKTAR * FIYAT FROM SATIS WHERE PARAKENDE = 'P' AND SATARIH >= :a AND SATARIH <= :b"_s,
                                   u"SELECT ALTARIH, NET, HASTAKATPAY, KURUMKOD FROM RECETE WHERE ALTARIH >= :a AND ALTARIH <= :b"_s,
                                   u"SELECT FATARIH, NET FROM FATURA WHERE FATARIH >= :a AND FATARIH <= :b"_s,
                                   u"SELECT TARIH, TUR, BORC, ALACAK FROM HAREKET WHERE TARIH >= :a AND TARIH <= :b"_s,
                                   u"SELECT TARIH, ISKONTUT FROM iskonto WHERE TARIH >= :a AND TARIH <= :b"_s}) {
            Sql q(db, sql);
            q.bind(u"a"_s, QDateTime(yearStart, QTime(0, 0))).bind(u"b"_s, QDateTime(yearEnd, QTime(23, 59, 59, 999))).exec();
            while (q.next()) {}
        }
        Sql::run(db, u"DELETE FROM KASA"_s);
        Sql ins(db, u"INSERT INTO KASA (TARIH, PARSAT) VALUES (:t, 0)"_s);
        for (int i = 0; i < rows.size(); ++i) ins.bind(u"t"_s, QString::number(i)).exec();
        tx.commit();
    }
    const double bareTable = ms(t.nsecsElapsed());
    out << "day-by-day cash table of a year (" << rows.size() << " rows): " << QString::number(table, 'f', 1)
        << " ms (target < 2000 ms); the bare reads and inserts: " << QString::number(bareTable, 'f', 1) << " ms; ratio "
        << QString::number(table / bareTable, 'f', 2) << " (target <= 3)\n";
    t.start();
    cashSummary(db, yearStart, yearEnd);
    const double summary = ms(t.nsecsElapsed());
    RecordingPrintService printing(300);
    t.start();
    auto kasa = kasaReport(rows, u"Kasa Raporu"_s, 10);
    printing.preview(*kasa);
    const double pages = ms(t.nsecsElapsed());
    out << "the year's summary: " << QString::number(summary, 'f', 1) << " ms; the report's "
        << printing.previews().back().pageCount() << " pages: " << QString::number(pages, 'f', 1)
        << " ms (target < 1000 ms each)\n";

    // The profit of a month, all sales.
    t.start();
    const QList<ProfitRow> profit = profitRows(db, QDate(2026, 3, 1), QDate(2026, 3, 31), 4);
    const double p = ms(t.nsecsElapsed());
    t.start();
    {
        Sql q(db, u"SELECT s.SATISNO, s.FIYAT, s.MIKTAR, (SELECT MAX(h.GIRFIYAT) FROM URUNHRK h WHERE h.ILACNO = s.ILACNO "
                  u"AND h.GCTARIH <= s.SATARIH AND h.GIRFIYAT IS NOT NULL) FROM SATIS s WHERE s.SATARIH >= :a AND s.SATARIH <= :b"_s);
        q.bind(u"a"_s, QDateTime(QDate(2026, 3, 1), QTime(0, 0))).bind(u"b"_s, QDateTime(QDate(2026, 3, 31), QTime(23, 59, 59, 999))).exec();
        double sum = 0;  // the values read, as any report must
        while (q.next()) sum += (q.number(1) - q.number(3)) * q.number(2) + q.number(0) * 0;
        Q_UNUSED(sum);
    }
    const double bareProfit = ms(t.nsecsElapsed());
    t.start();
    {
        Sql q(db, u"SELECT s.SATISNO, u.ILACAD, s.FIYAT, s.MIKTAR, (SELECT MAX(h.GIRFIYAT) FROM URUNHRK h WHERE h.ILACNO = s.ILACNO "
                  u"AND h.GCTARIH <= s.SATARIH AND h.GIRFIYAT IS NOT NULL) FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO "
                  u"WHERE s.SATARIH >= :a AND s.SATARIH <= :b ORDER BY s.SATISNO, s.SIRANOURUN"_s);
        q.bind(u"a"_s, QDateTime(QDate(2026, 3, 1), QTime(0, 0))).bind(u"b"_s, QDateTime(QDate(2026, 3, 31), QTime(23, 59, 59, 999))).exec();
        while (q.next()) {}
    }
    out << "(the same statement with the names and the order: " << QString::number(ms(t.nsecsElapsed()), 'f', 1) << " ms)\n";
    out << "profit of a month, all sales (" << profit.size() << " lines): " << QString::number(p, 'f', 1)
        << " ms (target < 2000 ms); one SQL statement: " << QString::number(bareProfit, 'f', 1) << " ms; ratio "
        << QString::number(p / bareProfit, 'f', 2) << " (target <= 2)\n";
    return 0;
}
