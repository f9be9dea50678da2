// The name search the sale window runs on every key: a nearest-name lookup on the index
// ILACADI of 100,000 products through the table engine, against a bare prepared SQL
// statement on the same index, in the same run. Argument: sqlite (default) or postgresql.
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "large_data.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <random>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString engine = bench::engineArgument(argc, argv);
    Database db(bench::largeDatabaseOn(engine));
    const Dialect& d = db.dialect();

    // Search texts as typed: prefixes of existing names, 1 to 8 characters.
    std::vector<QString> texts;
    {
        Sql q(db, u"SELECT ILACAD FROM URUN WHERE ILACNO % 97 = 0"_s);
        q.exec();
        std::mt19937 rng(7);
        while (q.next()) {
            const QString name = q.text(0);
            texts.push_back(trLower(name.left(1 + int(rng() % 8))));
        }
    }
    Table urun(db, u"URUN.DB"_s);
    urun.setIndex(u"ILACADI"_s);

    const TableDef& def = tableDef(u"URUN"_s);
    QStringList cols{d.rowId()};
    for (const FieldDef& f : def.fields) cols << d.quote(f.name);
    const QString key = d.keyExpression(*def.field(u"ILACAD"_s));
    const QString bareSql = u"SELECT "_s + cols.join(u", "_s) + u", "_s + key + u" FROM "_s + d.tableName(def) + u" WHERE "_s
                            + key + u" >= :k ORDER BY "_s + d.orderTerm(key, false) + u", "_s + d.orderTerm(d.rowId(), false)
                            + u" LIMIT 1"_s;
    QSqlQuery bare(db.handle());
    bare.setForwardOnly(d.forwardOnlyResults());
    bare.prepare(bareSql);

    const int columnCount = int(cols.size()) + 1;
    std::vector<QVariant> row(static_cast<size_t>(columnCount));
    const int rounds = engine == u"sqlite"_s ? 5 : 2;
    std::vector<double> through, plain;
    QElapsedTimer t;
    int found = 0;
    const quint64 tripsBefore = db.roundTrips();
    for (int r = 0; r < rounds; ++r)
        for (const QString& text : texts) {
            t.start();
            if (urun.findNearest({text})) ++found;
            through.push_back(t.nsecsElapsed() / 1000.0);

            t.start();
            bare.bindValue(u":k"_s, sortKey(text));
            bare.exec();
            if (bare.next())
                for (int i = 0; i < columnCount; ++i) row[size_t(i)] = bare.value(i);
            bare.finish();
            plain.push_back(t.nsecsElapsed() / 1000.0);
        }
    const double trips = double(db.roundTrips() - tripsBefore) / double(through.size());
    const double me = bench::median(through), mp = bench::median(plain);
    QTextStream out(stdout);
    out << "engine: " << engine << ", products: 100000, lookups: " << through.size() << " (found " << found << ")\n";
    out << "nearest-name lookup through the table engine, median: " << QString::number(me, 'f', 1) << " us\n";
    out << "bare prepared SQL lookup on the same index, median:   " << QString::number(mp, 'f', 1) << " us\n";
    out << "ratio engine / bare: " << QString::number(me / mp, 'f', 2) << " (target <= 1.5; target < "
        << (engine == u"sqlite"_s ? "1000" : "2000") << " us)\n";
    out << "statements sent per lookup: " << QString::number(trips, 'f', 2) << "\n";
    // How the engine answers it: read from the index, never sorted.
    QSqlQuery plan(db.handle());
    const QString literal = u"'"_s + sortKey(u"par"_s) + u"'"_s;
    if (plan.exec((engine == u"sqlite"_s ? u"EXPLAIN QUERY PLAN "_s : u"EXPLAIN "_s) + QString(bareSql).replace(u":k"_s, literal))) {
        out << "plan:";
        while (plan.next()) out << " " << plan.value(engine == u"sqlite"_s ? 3 : 0).toString().left(90) << ";";
        out << "\n";
    }
    return 0;
}
