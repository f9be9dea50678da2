// The exchange list with its totals and the price-update list on the large pharmacy's
// 20,000 exchanges, each against its bare SQL read row by row. Argument: sqlite (default)
// or postgresql.
#include "data/database.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "exchange/takas_logic.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <functional>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
double medianMs(const std::function<void()>& run, int runs = 7)
{
    run();  // a warm cache for both sides
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        samples.push_back(t.nsecsElapsed() / 1e6);
    }
    return bench::median(samples);
}

// Every column of every row, as a grid would take them.
void readAll(Database& db, const QString& sql, const QVariantMap& params = {})
{
    Sql q(db, sql);
    for (auto it = params.begin(); it != params.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    const int columns = q.columnCount();
    while (q.next())
        for (int c = 0; c < columns; ++c) (void)q.value(c);
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    Database db(bench::largeDatabaseOn(engine));
    AgreeingPrompter prompter;
    FixedClock clock(QDateTime(QDate(2026, 12, 1), QTime(12, 0)));
    Session session(db, prompter, clock);
    TakasLogic logic(session);
    out << "engine: " << engine << ", exchanges: " << Sql::scalar(db, u"SELECT COUNT(*) FROM TAKAS"_s).toInt() << "\n";

    auto report = [&](const QString& what, double program, double bare, double target) {
        out << what << ": " << QString::number(program, 'f', 2) << " ms (target < " << target << " ms), bare SQL "
            << QString::number(bare, 'f', 2) << " ms, ratio " << QString::number(program / bare, 'f', 2) << "\n";
    };

    int rows = 0;
    const double whole = medianMs([&] { rows = int(logic.query(ExchangeQuery{})->rows.size()); });
    const double wholeBare = medianMs([&] {
        readAll(db, u"SELECT TAKAS.ECZADI, TAKAS.TARIH, TAKAS.ILACAD, TAKAS.ADET, TAKAS.TUTAR, TAKAS.TIP FROM TAKAS "
                    u"ORDER BY TARIH DESC"_s);
    });
    report(QStringLiteral("query list with its totals, every exchange (%1 rows)").arg(rows), whole, wholeBare, 300);

    ExchangeQuery one;
    one.pharmacy = u"ŞİFA ECZANESİ"_s;
    one.from = u"01/01/2026"_s;
    one.to = u"30/11/2026"_s;
    one.type = 1;
    const double narrow = medianMs([&] { rows = int(logic.query(one)->rows.size()); });
    const double narrowBare = medianMs([&] {
        readAll(db,
                u"SELECT TAKAS.ECZADI, TAKAS.TARIH, TAKAS.ILACAD, TAKAS.ADET, TAKAS.TUTAR, TAKAS.TIP FROM TAKAS "
                u"WHERE (TAKAS.ECZADI=:e) AND TAKAS.TARIH>=:f AND TAKAS.TARIH<=:t AND TAKAS.TIP>=:k ORDER BY TARIH DESC"_s,
                {{u"e"_s, one.pharmacy}, {u"f"_s, QDate(2026, 1, 1)}, {u"t"_s, QDate(2026, 11, 30)}, {u"k"_s, u"U"_s}});
    });
    report(QStringLiteral("query list with its totals, one pharmacy's given ones in 2026 (%1 rows)").arg(rows), narrow,
           narrowBare, 300);

    const double update = medianMs([&] { rows = int(logic.priceUpdates().size()); });
    const QString no = db.dialect().quote(u"NO"_s);
    const double updateBare = medianMs([&] {
        readAll(db, u"SELECT T."_s + no
                        + u", T.ECZADI, T.ILACAD, T.TUTAR, U.FIYAT, T.ADET FROM TAKAS T JOIN URUN U ON "_s
                        + sortKeySql(u"U."_s + db.dialect().quote(u"ILACAD"_s)) + u" = "_s
                        + sortKeySql(u"T."_s + db.dialect().quote(u"ILACAD"_s)) + u" AND U.ILACAD = T.ILACAD "
                          u"WHERE T.ADET >= 1 AND T.TUTAR < U.FIYAT * T.ADET AND (T.SONDURUM = 'A' OR T.SONDURUM IS NULL "
                          u"OR T.SONDURUM = '') AND (T.TIP = 'U' OR T.TIP = 'V') ORDER BY T."_s
                        + no);
    });
    report(QStringLiteral("price-update list (%1 rows)").arg(rows), update, updateBare, 300);
    return 0;
}
