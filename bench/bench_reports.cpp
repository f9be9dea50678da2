// The private reports on the large pharmacy (its twenty busy products with thousands of
// movements over fourteen months, account movements of every kind, discounts, private
// invoices and prescriptions with patient shares and VAT). The thirteen-month report of a
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

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
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

    // The profit of a month, all sales: the median of five runs of each, so that neither
    // pays alone for a cold cache.
    const QDateTime pa(QDate(2026, 3, 1), QTime(0, 0)), pb(QDate(2026, 3, 31), QTime(23, 59, 59, 999));
    std::vector<double> profitRuns, bareRuns, namedRuns;
    QList<ProfitRow> profit;
    for (int run = 0; run < 5; ++run) {
        t.start();
        profit = profitRows(db, pa.date(), pb.date(), 4);
        profitRuns.push_back(ms(t.nsecsElapsed()));
        t.start();
        {
            Sql q(db, u"SELECT s.SATISNO, s.FIYAT, s.MIKTAR, (SELECT MAX(h.GIRFIYAT) FROM URUNHRK h WHERE h.ILACNO = s.ILACNO "
                      u"AND h.GCTARIH <= s.SATARIH AND h.GIRFIYAT IS NOT NULL) FROM SATIS s WHERE s.SATARIH >= :a AND s.SATARIH <= :b"_s);
            q.bind(u"a"_s, pa).bind(u"b"_s, pb).exec();
            double sum = 0;  // the values read, as any report must
            while (q.next()) sum += (q.number(1) - q.number(3)) * q.number(2) + q.number(0) * 0;
            Q_UNUSED(sum);
        }
        bareRuns.push_back(ms(t.nsecsElapsed()));
        t.start();
        {
            Sql q(db, u"SELECT s.SATISNO, u.ILACAD, s.FIYAT, s.MIKTAR, (SELECT MAX(h.GIRFIYAT) FROM URUNHRK h WHERE h.ILACNO = s.ILACNO "
                      u"AND h.GCTARIH <= s.SATARIH AND h.GIRFIYAT IS NOT NULL) FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO "
                      u"WHERE s.SATARIH >= :a AND s.SATARIH <= :b ORDER BY s.SATISNO, s.SIRANOURUN"_s);
            q.bind(u"a"_s, pa).bind(u"b"_s, pb).exec();
            while (q.next()) {}
        }
        namedRuns.push_back(ms(t.nsecsElapsed()));
    }
    const double p = bench::median(profitRuns), bareProfit = bench::median(bareRuns);
    out << "(the same statement with the names and the order: " << QString::number(bench::median(namedRuns), 'f', 1) << " ms)\n";
    out << "profit of a month, all sales (" << profit.size() << " lines): " << QString::number(p, 'f', 1)
        << " ms (target < 2000 ms); one SQL statement: " << QString::number(bareProfit, 'f', 1) << " ms; ratio "
        << QString::number(p / bareProfit, 'f', 2) << " (target <= 2)\n";
    return 0;
}
