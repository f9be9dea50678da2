// The name search the sale window runs on every key: a nearest-name lookup on the index
// ILACADI of 100,000 products through the table engine, against a bare prepared SQL
// statement on the same index, in the same run.
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
    const QString path = bench::largeDatabase();
    Database db(AliasConfig::forSqliteFile(path));

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

    QStringList cols{u"rowid"_s};
    for (const FieldDef& f : tableDef(u"URUN"_s).fields) cols << u'"' + f.name + u'"';
    const QString key = sortKeySql(u"\"ILACAD\""_s);
    QSqlQuery bare(db.handle());
    bare.setForwardOnly(true);
    bare.prepare(u"SELECT "_s + cols.join(u", "_s) + u", "_s + key + u" FROM \"URUN\" WHERE "_s + key
                 + u" >= :k ORDER BY "_s + key + u", rowid LIMIT 1"_s);

    const int columnCount = int(cols.size()) + 1;
    std::vector<QVariant> row(static_cast<size_t>(columnCount));
    const int rounds = 5;
    std::vector<double> engine, plain;
    QElapsedTimer t;
    int found = 0;
    for (int r = 0; r < rounds; ++r)
        for (const QString& text : texts) {
            t.start();
            if (urun.findNearest({text})) ++found;
            engine.push_back(t.nsecsElapsed() / 1000.0);

            t.start();
            bare.bindValue(u":k"_s, sortKey(text));
            bare.exec();
            if (bare.next())
                for (int i = 0; i < columnCount; ++i) row[size_t(i)] = bare.value(i);
            bare.finish();
            plain.push_back(t.nsecsElapsed() / 1000.0);
        }
    const double me = bench::median(engine), mp = bench::median(plain);
    QTextStream out(stdout);
    out << "products: 100000, lookups: " << engine.size() << " (found " << found << ")\n";
    out << "nearest-name lookup through the table engine, median: " << QString::number(me, 'f', 1) << " us\n";
    out << "bare prepared SQL lookup on the same index, median:   " << QString::number(mp, 'f', 1) << " us\n";
    out << "ratio engine / bare: " << QString::number(me / mp, 'f', 2) << " (target <= 1.5; target < 1000 us)\n";
    return 0;
}
