// Backups proven to restore: the copy checked and counted, the restore refused over data
// without --replace and verified against the counts; a damaged backup or a count that does
// not agree is reported; the day's backups kept for thirty days; every file and directory
// the program makes is its owner's only, whatever the umask.
#include "data/alias.h"
#include "data/backup.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/private_files.h"
#include "data/sql.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
int modeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return int(st.st_mode & 07777);
}

AliasConfig withBackups(const TestDb& t)
{
    AliasConfig a = t.alias();
    a.backupDir = t.dir() + u"/yedek"_s;
    return a;
}

qint64 count(Database& db, const QString& table)
{
    return Sql::scalar(db, u"SELECT COUNT(*) FROM "_s + table).toLongLong();
}

// The target a backup of the test database is restored into: a new file, or on the
// server the test's own schema, emptied first (--replace).
AliasConfig restoreTarget(const TestDb& t, const QString& file)
{
    return t.alias().engine == AliasConfig::Engine::Sqlite ? AliasConfig::forSqliteFile(t.dir() + u'/' + file) : t.alias();
}
}  // namespace

class TstBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupRestoresWhatItCounted();
    void damagedBackupOrCountsReported();
    void dayBackupsKeptThirtyDays();
    void filesAreTheOwnersOnly();
    void exposedDatabaseWarned();
};

void TstBackup::backupRestoresWhatItCounted()
{
    TestDb t(true);
    const AliasConfig alias = withBackups(t);
    const qint64 products = count(t.db(), u"URUN"_s);
    const qint64 sales = count(t.db(), u"SATIS"_s);
    const BackupInfo info = backupDatabase(alias, alias.backupDir, QDateTime(QDate(2026, 12, 9), QTime(19, 30)));
    QCOMPARE(QFileInfo(info.path).fileName(),
             t.alias().engine == AliasConfig::Engine::Sqlite ? u"ECZ-20261209-193000.sqlite"_s : u"ECZ-20261209-193000.pgdump"_s);
    QVERIFY(QFile::exists(info.path + u".sayim"_s));
    QCOMPARE(info.counts.value(u"URUN"_s), products);
    QCOMPARE(info.counts.value(u"USERKIM"_s), 2);
    QVERIFY(info.lines().last().endsWith(u"denetlendi"_s));
    // A second one the same second gets its own name.
    const BackupInfo second = backupDatabase(alias, alias.backupDir, QDateTime(QDate(2026, 12, 9), QTime(19, 30)));
    QVERIFY(second.path.endsWith(u"193000-2.sqlite"_s) || second.path.endsWith(u"193000-2.pgdump"_s));

    // The day's work after the backup is what a restore takes back.
    Sql::run(t.db(), u"DELETE FROM SATIS"_s);
    const AliasConfig target = restoreTarget(t, u"geri/ecz.sqlite"_s);
    if (target.engine == AliasConfig::Engine::Sqlite) {
        // Over a database that holds data only with --replace.
        QVERIFY_THROWS_EXCEPTION(DbError, restoreDatabase(info.path, t.alias(), false));
    } else {
        QVERIFY_THROWS_EXCEPTION(DbError, restoreDatabase(info.path, target, false));
    }
    const RestoreReport report = restoreDatabase(info.path, target, true);
    QVERIFY2(report.ok, qPrintable(report.lines.join(u'\n')));
    QVERIFY(report.lines.last().endsWith(u"kaydı yedekteki sayılarla aynı"_s));
    Database restored(target);
    QCOMPARE(count(restored, u"URUN"_s), products);
    QCOMPARE(count(restored, u"SATIS"_s), sales);
    // The counters and keys go on where they were.
    QCOMPARE(Sql::scalar(restored, u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(),
             Sql::scalar(restored, u"SELECT MAX(SATISNO) + 1 FROM SATIS"_s).toInt());
}

void TstBackup::damagedBackupOrCountsReported()
{
    TestDb t(true);
    const AliasConfig alias = withBackups(t);
    const BackupInfo info = backupDatabase(alias, alias.backupDir, QDateTime(QDate(2026, 12, 9), QTime(20, 0)));
    // The counts say one product more than the copy holds.
    {
        QFile f(info.path + u".sayim"_s);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray json = f.readAll();
        f.close();
        const QByteArray from = "\"URUN\": " + QByteArray::number(info.counts.value(u"URUN"_s));
        QVERIFY(json.contains(from));
        json.replace(from, "\"URUN\": " + QByteArray::number(info.counts.value(u"URUN"_s) + 1));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(json);
    }
    const RestoreReport report = restoreDatabase(info.path, restoreTarget(t, u"a.sqlite"_s), true);
    QVERIFY(!report.ok);
    QVERIFY(report.lines.contains(QStringLiteral("URUN: yedekte %1 kayıt, geri yüklenende %2")
                                      .arg(info.counts.value(u"URUN"_s) + 1)
                                      .arg(info.counts.value(u"URUN"_s))));
    if (t.alias().engine != AliasConfig::Engine::Sqlite) return;
    // A copy damaged on the disk is not put back.
    QFile f(info.path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(4096 * 3);
    f.write(QByteArray(4096 * 20, '\x5a'));
    f.close();
    bool refused = false;
    try {
        refused = !restoreDatabase(info.path, restoreTarget(t, u"b.sqlite"_s), true).ok;
    } catch (const DbError&) {
        refused = true;
    }
    QVERIFY(refused);
    QVERIFY(!QFile::exists(t.dir() + u"/b.sqlite"_s) || QFileInfo(t.dir() + u"/b.sqlite"_s).size() == 0);
}

void TstBackup::dayBackupsKeptThirtyDays()
{
    TestDb t;
    const AliasConfig alias = withBackups(t);
    QDir().mkpath(alias.backupDir);
    // Thirty-five earlier days, as the closing of the main window left them.
    for (int d = 35; d >= 1; --d) {
        const QString name = alias.backupDir + u"/ECZ-"_s + QDate(2026, 12, 9).addDays(-d).toString(u"yyyyMMdd"_s)
                             + u"-190000.sqlite"_s;
        QFile(name).open(QIODevice::WriteOnly);
        QFile(name + u".sayim"_s).open(QIODevice::WriteOnly);
    }
    QFile(alias.backupDir + u"/notlar.txt"_s).open(QIODevice::WriteOnly);  // not a backup: left alone
    const BackupInfo noon = takeDailyBackup(alias, QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    QStringList kept = backupsIn(alias.backupDir);
    QCOMPARE(kept.size(), 30);
    QCOMPARE(kept.last(), noon.path);
    QVERIFY(QFileInfo(kept.first()).fileName().startsWith(u"ECZ-20261110"_s));
    QVERIFY(!QFile::exists(alias.backupDir + u"/ECZ-20261109-190000.sqlite.sayim"_s));
    // Closing again in the evening: the day's backup is the evening's, the oldest day stays.
    const BackupInfo evening = takeDailyBackup(alias, QDateTime(QDate(2026, 12, 9), QTime(19, 0)));
    kept = backupsIn(alias.backupDir);
    QCOMPARE(kept.size(), 30);
    QCOMPARE(kept.last(), evening.path);
    QVERIFY(!QFile::exists(noon.path));
    QVERIFY(!QFile::exists(noon.path + u".sayim"_s));
    QVERIFY(QFile::exists(alias.backupDir + u"/notlar.txt"_s));
}

void TstBackup::filesAreTheOwnersOnly()
{
    QTemporaryDir dir;
    const mode_t old = ::umask(022);
    const QString tool = QCoreApplication::applicationDirPath() + u"/selvar-db"_s;
    const QString db = dir.path() + u"/eczane/ecz.sqlite"_s;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"SELVAR_ECZ"_s, db);
    env.insert(u"SELVAR_ECZ_FILES"_s, dir.path() + u"/dosyalar"_s);
    env.insert(u"SELVAR_ALIAS_FILE"_s, dir.path() + u"/ayar/aliases.ini"_s);
    auto run = [&](const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(tool, args);
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    };
    run({u"init"_s});
    QCOMPARE(modeOf(db), 0600);
    QCOMPARE(modeOf(dir.path() + u"/eczane"_s), 0700);
    QCOMPARE(modeOf(dir.path() + u"/dosyalar"_s), 0700);
    run({u"demo"_s, u"--replace"_s});
    QCOMPARE(modeOf(db), 0600);
    {
        // While the program has it open, its WAL and shared-memory files too.
        Database open(AliasConfig::forSqliteFile(db));
        Sql::run(open, u"UPDATE EKIM SET TLF = '3120000000'"_s);
        QCOMPARE(modeOf(db + u"-wal"_s), 0600);
        QCOMPARE(modeOf(db + u"-shm"_s), 0600);
    }
    run({u"backup"_s});
    const QStringList backups = backupsIn(dir.path() + u"/eczane/yedek"_s);
    QCOMPARE(backups.size(), 1);
    QCOMPARE(modeOf(dir.path() + u"/eczane/yedek"_s), 0700);
    QCOMPARE(modeOf(backups.first()), 0600);
    QCOMPARE(modeOf(backups.first() + u".sayim"_s), 0600);
    run({u"restore"_s, backups.first(), dir.path() + u"/geri/ecz.sqlite"_s});
    QCOMPARE(modeOf(dir.path() + u"/geri/ecz.sqlite"_s), 0600);
    QCOMPARE(modeOf(dir.path() + u"/geri"_s), 0700);
    run({u"alias"_s, db});
    QCOMPARE(modeOf(dir.path() + u"/ayar/aliases.ini"_s), 0600);
    QCOMPARE(modeOf(dir.path() + u"/ayar"_s), 0700);
    ::umask(old);
}

void TstBackup::exposedDatabaseWarned()
{
    QTemporaryDir dir;
    const AliasConfig alias = AliasConfig::forSqliteFile(dir.path() + u"/ecz.sqlite"_s);
    { Database db(alias); }
    QCOMPARE(exposedDatabaseWarning(alias), QString());
    QFile::setPermissions(alias.database, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    const QString warning = exposedDatabaseWarning(alias);
    QVERIFY(warning.startsWith(u"Veritabanı dosyası başka kullanıcılarca okunabiliyor: "_s + dir.path() + u"/ecz.sqlite"_s));
    QVERIFY(warning.contains(u"chmod 600"_s));
    QCOMPARE(exposedDatabaseWarning(AliasConfig::fromLocation(u"postgresql://x@/y"_s)), QString());
}

QTEST_MAIN(TstBackup)
#include "tst_backup.moc"
