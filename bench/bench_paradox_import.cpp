// Importing an old Paradox data directory of 100,000 products and 1,000,000 sale lines
// (written once with pxlib and kept in build/bench-data) into a fresh database: rows per
// second of each table and the whole import, target under a minute. Argument: sqlite
// (default) or postgresql (a throwaway schema in the database of SELVAR_BENCH_PG).
#include "data/database.h"
#include "data/paradox_import.h"
#include "data/transfer.h"
#include "large_data.h"
#include "support/paradox_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QUuid>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {

QString sampleDirectory(const ParadoxSampleSizes& sizes)
{
    const QString dir = QCoreApplication::applicationDirPath() + u"/../bench-data/paradox-"_s
                        + QString::number(sizes.products) + u'-' + QString::number(sizes.saleLines) + u"-v2"_s;
    const QString done = dir + u"/.complete"_s;
    if (QFile::exists(done)) return dir;
    QDir(dir).removeRecursively();
    QTextStream(stdout) << "writing the Paradox directory (" << sizes.products << " products, " << sizes.saleLines
                        << " sale lines) ...\n";
    QElapsedTimer timer;
    timer.start();
    writeParadoxSample(dir, sizes);
    QFile marker(done);
    marker.open(QIODevice::WriteOnly);
    QTextStream(stdout) << "written in " << timer.elapsed() / 1000.0 << " s\n";
    return dir;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    const ParadoxSampleSizes sizes{100000, 1000000};
    const QString dir = sampleDirectory(sizes);

    AliasConfig alias;
    QString serverUrl, schema, sqliteFile;
    if (engine == u"sqlite"_s) {
        sqliteFile = QCoreApplication::applicationDirPath() + u"/../bench-data/paradox-import.sqlite"_s;
        for (const QString& s : {QString(), u"-wal"_s, u"-shm"_s}) QFile::remove(sqliteFile + s);
        alias = AliasConfig::forSqliteFile(sqliteFile);
    } else {
        serverUrl = qEnvironmentVariable("SELVAR_BENCH_PG");
        if (serverUrl.isEmpty()) {
            QTextStream(stderr) << "SELVAR_BENCH_PG: the URL of the benchmark database (./selvar bench sets it)\n";
            return 2;
        }
        createServerDatabaseIfMissing(AliasConfig::fromLocation(serverUrl));
        schema = u"paradox_bench_"_s + QUuid::createUuid().toString(QUuid::Id128).left(12);
        alias = AliasConfig::fromLocation(serverUrl + (serverUrl.contains(u'?') ? u'&' : u'?') + u"schema="_s + schema);
    }

    {
        Database db(alias);
        QElapsedTimer total, table;
        total.start();
        table.start();
        std::vector<std::pair<QString, double>> seconds;  // summary line, seconds of its table
        const ParadoxImportReport report = importParadoxDirectory(dir, db, false, [&](const QString& line) {
            if (line.contains(u" okundu, "_s)) {
                seconds.emplace_back(line, table.nsecsElapsed() / 1e9);
                table.restart();
            }
        });
        const double elapsed = total.nsecsElapsed() / 1e9;
        out << "engine: " << engine << "\n";
        qint64 rows = 0;
        for (size_t i = 0; i < report.tables.size() && i < seconds.size(); ++i) {
            const ParadoxTableReport& t = report.tables[i];
            rows += t.written;
            out << t.file.leftJustified(12) << QString::number(t.read).rightJustified(9) << " rows "
                << QString::number(seconds[i].second, 'f', 2).rightJustified(7) << " s "
                << QString::number(seconds[i].second > 0 ? t.read / seconds[i].second : 0, 'f', 0).rightJustified(9)
                << " rows/s" << (t.ok() ? "" : "  (incomplete)") << "\n";
        }
        out << "values reported:";
        for (const ParadoxTableReport& t : report.tables)
            if (t.reportedValues) out << " " << t.file << " " << t.reportedValues;
        out << "\n";
        for (const QString& n : report.counterNotes) out << "counter: " << n << "\n";
        out << "total: " << rows << " rows in " << QString::number(elapsed, 'f', 1) << " s ("
            << QString::number(rows / elapsed, 'f', 0) << " rows/s), target < 60 s: " << (elapsed < 60 ? "met" : "MISSED")
            << "\n";
    }
    if (!schema.isEmpty()) {
        Database admin(AliasConfig::fromLocation(serverUrl));
        admin.execute(u"DROP SCHEMA IF EXISTS \""_s + schema + u"\" CASCADE"_s);
    }
    if (!sqliteFile.isEmpty())
        for (const QString& s : {QString(), u"-wal"_s, u"-shm"_s}) QFile::remove(sqliteFile + s);
    return 0;
}
