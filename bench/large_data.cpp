#include "large_data.h"

#include "data/database.h"
#include "data/sql.h"
#include "data/transfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <random>

namespace selvar::bench {
using namespace Qt::Literals::StringLiterals;

double median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

namespace {
const QStringList kSyllables = {u"PA"_s, u"RA"_s, u"NOL"_s, u"Çİ"_s, u"ĞE"_s, u"MİN"_s, u"SET"_s, u"ÖZ"_s,
                                u"ŞU"_s, u"RUP"_s, u"LAK"_s, u"TI"_s, u"KA"_s, u"VİT"_s, u"DO"_s, u"FEN"_s,
                                u"AL"_s, u"BE"_s, u"CİL"_s, u"ÜN"_s, u"IŞ"_s, u"MOL"_s, u"TEK"_s, u"ZOL"_s};
}

QString largeDatabase(const LargeSizes& s)
{
    const QString dir = QCoreApplication::applicationDirPath() + u"/../bench-data"_s;
    QDir().mkpath(dir);
    const QString path = QDir(dir).absoluteFilePath(QStringLiteral("large-%1.sqlite").arg(s.products));
    if (QFile::exists(path)) return path;
    QTextStream(stdout) << "generating " << path << " ...\n";
    QElapsedTimer timer;
    timer.start();
    const QString tmp = path + u".tmp"_s;
    for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s}) QFile::remove(tmp + suffix);
    {
        Database db(AliasConfig::forSqliteFile(tmp));
        db.execute(u"PRAGMA synchronous=OFF"_s);
        db.createSchema();
        std::mt19937 rng(42);
        auto below = [&](int n) { return int(rng() % unsigned(n)); };
        Transaction tx(db);
        {
            Sql q(db, u"INSERT INTO URUN (ILACAD, FIYAT, FIYATARIH, MIKTAR, ILACKOD, RECETEKOD, KDV, MIAD, YER, "
                      u"JENERIKNO, GRUPNO, ENDIKNO, ALISTIP) VALUES (:a, :f, :t, :m, :k, 'N', 8, :miad, 'A-01', :j, :g, :e, '0')"_s);
            for (int i = 0; i < s.products; ++i) {
                QString name;
                const int parts = 2 + below(3);
                for (int p = 0; p < parts; ++p) name += kSyllables[below(int(kSyllables.size()))];
                name += QStringLiteral(" %1 MG %2 TABLET").arg(5 * (1 + below(200))).arg(10 * (1 + below(6)));
                q.bind(u"a"_s, name.left(36)).bind(u"f"_s, 5000.0 * (1 + below(2000)));
                q.bind(u"t"_s, QDate(2026, 1, 1).addDays(below(300))).bind(u"m"_s, below(200));
                q.bind(u"k"_s, QStringLiteral("869%1").arg(1000000000LL + i, 10, 10, QChar(u'0')));
                q.bind(u"miad"_s, QDate(2027, 1, 1).addDays(below(900)));
                q.bind(u"j"_s, 1 + below(500)).bind(u"g"_s, 1 + below(40)).bind(u"e"_s, 1 + below(80));
                q.exec();
            }
        }
        const QDateTime start(QDate(2025, 12, 1), QTime(8, 0));
        {
            Sql q(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, "
                      u"PARAKENDE) VALUES (:n, :l, :t, :i, :f, :m, 8, 'N', :p)"_s);
            int line = 0;
            for (int sale = 1; line < s.saleLines; ++sale) {
                const int lines = 1 + below(5);
                const QDateTime when = start.addSecs(qint64(sale) * 300);
                const bool prescription = sale % 5 == 0;
                for (int l = 1; l <= lines && line < s.saleLines; ++l, ++line) {
                    q.bind(u"n"_s, sale).bind(u"l"_s, l).bind(u"t"_s, when).bind(u"i"_s, 1 + below(s.products));
                    q.bind(u"f"_s, 5000.0 * (1 + below(2000))).bind(u"m"_s, 1 + below(3));
                    q.bind(u"p"_s, prescription ? u"R"_s : u"P"_s);
                    q.exec();
                }
            }
        }
        {
            Sql q(db, u"INSERT INTO RECETE (RKDEFTERNO, KURUMKOD, SATISNO, RECTARIH, ALTARIH, BRUTN, NET, HASTANO) "
                      u"VALUES (:r, 'SSK', :n, :t, :t, 100000, 90000, :h)"_s);
            for (int i = 1; i <= s.prescriptions; ++i) {
                q.bind(u"r"_s, QStringLiteral("26%1").arg(i, 7, 10, QChar(u'0'))).bind(u"n"_s, i * 5);
                q.bind(u"t"_s, start.date().addDays(i % 365)).bind(u"h"_s, 1 + below(5000));
                q.exec();
            }
        }
        {
            Sql q(db, u"INSERT INTO ALIS1 (KRMKOD, ALISNO, FATNO, FATARIH, NET) VALUES ('DEPO1', :n, :f, :t, :net)"_s);
            for (int i = 1; i <= s.purchases; ++i) {
                q.bind(u"n"_s, i).bind(u"f"_s, QString::number(10000 + i)).bind(u"t"_s, start.date().addDays(i % 365));
                q.bind(u"net"_s, 1000000.0 + i).exec();
            }
        }
        {
            Sql q(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, CIKMIK, GIRFIYAT, CIKFIYAT, ALSATNO, SIRANO) "
                      u"VALUES (:i, :t, :g, :c, :gf, :cf, :n, :s)"_s);
            for (int i = 0; i < s.movements; ++i) {
                const bool in = i % 4 == 0;
                q.bind(u"i"_s, 1 + below(s.products)).bind(u"t"_s, start.addSecs(qint64(i) * 150));
                q.bind(u"g"_s, in ? QVariant(10) : QVariant()).bind(u"c"_s, in ? QVariant() : QVariant(1));
                q.bind(u"gf"_s, in ? QVariant(4000.0) : QVariant()).bind(u"cf"_s, in ? QVariant() : QVariant(5000.0));
                q.bind(u"n"_s, i + 1).bind(u"s"_s, 1).exec();
            }
        }
        Sql::run(db, u"UPDATE NEWSATIS SET YENISATISNO = (SELECT MAX(SATISNO) + 1 FROM SATIS)"_s);
        tx.commit();
        db.execute(u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
        db.execute(u"ANALYZE"_s);
    }
    QFile::rename(tmp, path);
    QFile::remove(tmp + u"-wal"_s);
    QFile::remove(tmp + u"-shm"_s);
    QTextStream(stdout) << "generated in " << timer.elapsed() / 1000.0 << " s\n";
    return path;
}

QString engineArgument(int argc, char** argv)
{
    const QString e = argc > 1 ? QString::fromLatin1(argv[1]) : u"sqlite"_s;
    if (e != u"sqlite"_s && e != u"postgresql"_s) {
        QTextStream(stderr) << "engine: sqlite or postgresql\n";
        std::exit(2);
    }
    return e;
}

AliasConfig largeDatabaseOn(const QString& engine, const LargeSizes& sizes)
{
    const QString file = largeDatabase(sizes);
    if (engine == u"sqlite"_s) return AliasConfig::forSqliteFile(file);
    const QString url = qEnvironmentVariable("SELVAR_BENCH_PG");
    if (url.isEmpty()) {
        QTextStream(stderr) << "SELVAR_BENCH_PG: the URL of the benchmark database (./selvar bench sets it)\n";
        std::exit(2);
    }
    const AliasConfig alias = AliasConfig::fromLocation(url);
    createServerDatabaseIfMissing(alias);
    Database server(alias);
    const bool filled = server.hasSchema()
                        && Sql::scalar(server, u"SELECT COUNT(*) FROM URUN"_s).toInt() == sizes.products;
    if (!filled) {
        QTextStream(stdout) << "copying " << file << " to the server ...\n";
        QElapsedTimer timer;
        timer.start();
        Database source(AliasConfig::forSqliteFile(file));
        const CopyReport report = copyDatabase(source, server, true);
        server.execute(u"ANALYZE"_s);
        QTextStream(stdout) << report.lines().last() << " (" << timer.elapsed() / 1000.0 << " s)\n";
    }
    return alias;
}

}  // namespace selvar::bench
