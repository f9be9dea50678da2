// Repricing on a large pharmacy: a year of prescriptions (SSK paying the price of the
// prescription date, ES the latest price), price history for a third of the products, a
// tenth of the prescription lines at a stale price and a third of the prescriptions
// invoiced. The automatic run over the year against the bare SQL of the same changes,
// the sales "Yeniden Değerlendirme" finds from the year's first day, and the
// one-prescription window ready to show. Argument: sqlite (default) or postgresql.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "prescriptions/repricing.h"
#include "prescriptions/ui/yenideg_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
void prepare(Database& db)
{
    Transaction tx(db);
    Sql::run(db, u"UPDATE KRMLAR SET YDEGER = 'R' WHERE KOD = 'SSK'"_s);
    Sql::run(db, u"UPDATE KRMLAR SET YDEGER = 'S' WHERE KOD = 'ES'"_s);
    Sql::run(db, u"UPDATE URUN SET FIYATARIH = :d"_s, {{u"d"_s, QDate(2026, 6, 1)}});
    Sql::run(db, u"DELETE FROM URFAYAR"_s);
    Sql::run(db, u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) SELECT ILACNO, :t, FIYAT * 0.9 FROM URUN "
                 u"WHERE ILACNO % 3 = 0"_s,
             {{u"t"_s, QDateTime(QDate(2025, 11, 1), QTime(9, 0))}});
    // Prescription lines at the card's price, but a tenth of them stale; a third invoiced.
    Sql::run(db, u"UPDATE SATIS SET FIYAT = (SELECT u.FIYAT FROM URUN u WHERE u.ILACNO = SATIS.ILACNO) "
                 u"WHERE PARAKENDE = 'R'"_s);
    Sql::run(db, u"UPDATE SATIS SET FIYAT = FIYAT - 5000 WHERE PARAKENDE = 'R' AND SATISNO % 50 = 5 AND FIYAT > 5000"_s);
    Sql::run(db, u"UPDATE RECETE SET FATNO = NULL"_s);
    Sql::run(db, u"UPDATE RECETE SET FATNO = 1 WHERE SATISNO % 3 = 0"_s);
    tx.commit();
}

// The bare statements of the same changes: the candidates, each line's price, each
// prescription's amounts; timed, then rolled back.
double bareRun(Database& db, int* lines, int* prescriptions)
{
    QElapsedTimer t;
    t.start();
    Transaction tx(db);
    Sql found(db, u"SELECT s.SATISNO, s.ILACNO, u.FIYAT FROM RECETE r JOIN SATIS s ON s.SATISNO = r.SATISNO "
                  u"JOIN URUN u ON u.ILACNO = s.ILACNO WHERE (r.FATNO IS NULL OR r.FATNO = 0) AND r.RECTARIH >= :f "
                  u"AND r.RECTARIH >= u.FIYATARIH AND s.FIYAT <> u.FIYAT"_s);
    found.bind(u"f"_s, QDate(2025, 12, 1)).exec();
    QList<std::tuple<double, qint64, double>> rows;
    while (found.next()) rows << std::tuple{found.number(0), found.integer(1), found.number(2)};
    // The price of the prescription date for those dated before the card's price.
    Sql old(db, u"SELECT s.SATISNO, s.ILACNO, r.RECTARIH FROM RECETE r JOIN SATIS s ON s.SATISNO = r.SATISNO "
                u"JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.PARAKENDE = 'R' AND (r.FATNO IS NULL OR r.FATNO = 0) "
                u"AND r.RECTARIH >= :f AND r.RECTARIH < u.FIYATARIH AND s.FIYAT = u.FIYAT"_s);
    old.bind(u"f"_s, QDate(2025, 12, 1)).exec();
    Sql history(db, u"SELECT FIYAT FROM URFAYAR WHERE ILACNO = :n AND FITARIH < :d ORDER BY FITARIH DESC LIMIT 1"_s);
    QList<std::tuple<double, qint64, QDate>> dated;
    while (old.next()) dated << std::tuple{old.number(0), old.integer(1), old.date(2)};
    for (const auto& [sale, product, day] : dated) {
        history.bind(u"n"_s, product).bind(u"d"_s, QDateTime(day.addDays(1), QTime(0, 0))).exec();
        if (history.next()) rows << std::tuple{sale, product, history.number(0)};
    }
    std::sort(rows.begin(), rows.end());
    Sql price(db, u"UPDATE SATIS SET FIYAT = :f WHERE SATISNO = :n AND ILACNO = :i"_s);
    QList<double> sales;
    for (const auto& [sale, product, p] : rows) {
        price.bind(u"f"_s, p).bind(u"n"_s, sale).bind(u"i"_s, product).exec();
        if (sales.isEmpty() || sales.last() != sale) sales << sale;
    }
    Sql sum(db, u"SELECT SUM(MIKTAR * FIYAT) FROM SATIS WHERE SATISNO = :n"_s);
    Sql head(db, u"UPDATE RECETE SET BRUTN = :b, HASTAKATPAY = :p, NET = :t, KDVB = :k WHERE SATISNO = :n"_s);
    for (double s : sales) {
        sum.bind(u"n"_s, s).exec();
        const double gross = sum.next() ? sum.number(0) : 0;
        head.bind(u"b"_s, gross).bind(u"p"_s, gross * 0.2).bind(u"t"_s, gross * 0.75).bind(u"k"_s, gross * 0.05);
        head.bind(u"n"_s, s).exec();
    }
    const double us = t.nsecsElapsed() / 1000.0;  // the transaction rolls back as it goes
    *lines = int(rows.size());
    *prescriptions = int(sales.size());
    return us;
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    Database db(bench::writableLargeDatabaseOn(engine, u"repricing-bench"_s));
    out << "engine: " << engine << "\n";
    AgreeingPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    prepare(db);

    QElapsedTimer t;
    t.start();
    const QList<double> stale = salesAtStalePrices(db, QDate(2026, 1, 1));
    const double findMs = t.nsecsElapsed() / 1e6;
    out << "\"Yeniden Değerlendirme\" from the year's first day: " << stale.size() << " lines found in "
        << QString::number(findMs, 'f', 1) << " ms (target < 300 ms)\n";

    // The window of one prescription, ready to show.
    std::vector<double> ready;
    for (int i = 0; i < 20 && i < stale.size(); ++i) {
        t.start();
        TYeniDegForm form(session, {});
        form.open(stale[i * (stale.size() / 20)]);
        ready.push_back(t.nsecsElapsed() / 1000.0);
    }
    out << "FiyatDegerlendir ready to show, median: " << QString::number(bench::median(ready) / 1000, 'f', 1)
        << " ms (target < 50 ms)\n";

    int bareLines = 0, barePrescriptions = 0;
    const double bare = bareRun(db, &bareLines, &barePrescriptions);
    t.start();
    const AutomaticRepricing r = runAutomaticRepricing(session, AutomaticRepricing::AllAtPrescriptionDate, {}, QDate(2025, 12, 1));
    const double run = t.nsecsElapsed() / 1000.0;
    out << "automatic run, option 0, over the year: " << r.lines << " lines, " << r.prescriptions
        << " prescriptions in " << QString::number(run / 1e6, 'f', 2) << " s (target < 5 s)\n";
    out << "the bare SQL of the same changes (" << bareLines << " lines, " << barePrescriptions
        << " prescriptions): " << QString::number(bare / 1e6, 'f', 2) << " s; ratio "
        << QString::number(run / bare, 'f', 2) << "\n";
    return 0;
}
