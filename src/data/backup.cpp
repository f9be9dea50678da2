#include "data/backup.h"

#include "data/alias.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/errors.h"
#include "data/private_files.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transfer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>

#include <unistd.h>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

const QString CountsSuffix = u".sayim"_s;

QMap<QString, qint64> countRows(Database& db)
{
    QMap<QString, qint64> counts;
    db.addPassword(SessionPassword);  // the user table is counted too
    for (const TableDef& t : allTables()) {
        if (t.working || !db.tableExists(t.name)) continue;
        counts.insert(t.name, Sql::scalar(db, u"SELECT COUNT(*) FROM "_s + db.dialect().tableName(t)).toLongLong());
    }
    db.dropPasswords();
    return counts;
}

void writeCounts(const QString& path, const QString& engine, const QString& schema, const QDateTime& when,
                 const QMap<QString, qint64>& counts)
{
    QJsonObject tables;
    for (auto it = counts.begin(); it != counts.end(); ++it) tables.insert(it.key(), it.value());
    const QJsonObject root{{u"engine"_s, engine}, {u"schema"_s, schema}, {u"taken"_s, when.toString(Qt::ISODate)},
                           {u"tables"_s, tables}};
    createPrivateFile(path);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(QJsonDocument(root).toJson()) < 0 || !f.flush())
        throw DbError(u"Yedeğin sayım dosyası yazılamadı: "_s + path);
}

struct Counts {
    bool present = false;
    QString schema;
    QMap<QString, qint64> tables;
};

Counts readCounts(const QString& backup)
{
    Counts c;
    QFile f(backup + CountsSuffix);
    if (!f.open(QIODevice::ReadOnly)) return c;
    const QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonObject tables = root.value(u"tables"_s).toObject();
    for (auto it = tables.begin(); it != tables.end(); ++it) c.tables.insert(it.key(), it.value().toInteger());
    c.schema = root.value(u"schema"_s).toString();
    c.present = !tables.isEmpty();
    return c;
}

QString integrityOf(Database& db)
{
    QStringList problems;
    Sql q(db, u"PRAGMA integrity_check"_s);
    q.exec();
    while (q.next()) problems << q.text(0);
    return problems.join(u"; "_s);
}

// The client programs of the server, on the path or where Debian keeps each version.
QString pgTool(const QString& name)
{
    QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty()) return found;
    int best = -1;
    for (const QFileInfo& dir : QDir(u"/usr/lib/postgresql"_s).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString exe = dir.absoluteFilePath() + u"/bin/"_s + name;
        if (QFileInfo(exe).isExecutable() && dir.fileName().toInt() > best) {
            best = dir.fileName().toInt();
            found = exe;
        }
    }
    if (found.isEmpty())
        throw DbError(name + u" bulunamadı: sunucu veritabanının yedeği için postgresql-client paketi gerekir."_s);
    return found;
}

// The connection of the client programs goes in a service file only its owner can read:
// a password or any other secret of the address never reaches a command line others can
// see (ps) or the environment.
class ServiceFile {
public:
    ServiceFile(const AliasConfig& alias, QProcessEnvironment& env)
    {
        if (!dir_.isValid()) throw DbError(u"Geçici klasör oluşturulamadı."_s);
        const ServerAddress& s = alias.server;
        QStringList lines{u"[selvar]"_s, u"dbname="_s + s.database};
        if (!s.host.isEmpty()) lines << u"host="_s + s.host;
        if (s.port > 0) lines << u"port="_s + QString::number(s.port);
        if (!s.user.isEmpty()) lines << u"user="_s + s.user;
        if (!s.password.isEmpty()) lines << u"password="_s + s.password;
        for (const auto& [key, value] : s.options) lines << key + u'=' + value;
        for (const QString& l : lines)
            if (l.contains(u'\n') || l.contains(u'\r')) throw DbError(u"Geçersiz veritabanı adresi."_s);
        const QString path = dir_.filePath(u"pg_service.conf"_s);
        createPrivateFile(path);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write((lines.join(u'\n') + u'\n').toUtf8()) < 0)
            throw DbError(u"Geçici dosya yazılamadı."_s);
        env.insert(u"PGSERVICEFILE"_s, path);
        env.remove(u"PGPASSWORD"_s);
    }
    QString argument() const { return u"--dbname=service=selvar"_s; }

private:
    QTemporaryDir dir_;
};

QByteArray runTool(const QString& tool, const QStringList& args, const QProcessEnvironment& env, const QString& what)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(pgTool(tool), args);
    if (!p.waitForStarted(30000)) throw DbError(what + u": "_s + tool + u" başlatılamadı."_s);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const QByteArray out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw DbError(what + u": "_s + QString::fromUtf8(p.readAllStandardError()).trimmed());
    return out;
}

// A name of its own, claimed by creating the (empty, owner-only) file: two workstations
// closing in the same second never write into, or clear away, each other's backup.
QString claimPath(const QString& base, const QString& suffix)
{
    QString path = base + suffix;
    for (int i = 2; !createPrivateFile(path); ++i) {
        if (i > 1000) throw DbError(u"Yedek dosyası oluşturulamadı: "_s + path);
        path = base + u'-' + QString::number(i) + suffix;
    }
    return path;
}

void removeBackup(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + CountsSuffix);
}

BackupInfo backupSqlite(const AliasConfig& alias, const QString& path, const QDateTime& now)
{
    if (!QFileInfo::exists(alias.database)) throw DbError(u"Veritabanı yok: "_s + alias.displayName());
    BackupInfo info;
    info.path = path;
    // VACUUM INTO wants an empty or missing file: the claimed one is empty and owner-only,
    // so the copy is never readable by others, not even for a moment.
    try {
        {
            // A bare connection: the workstation's own working tables of a program
            // connection live beside the shared ones under the same index names.
            const QString name = u"selvar-backup-"_s + QUuid::createUuid().toString(QUuid::Id128);
            QString failure;
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
                db.setDatabaseName(alias.database);
                db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=30000"_s);
                QString quoted = path;
                quoted.replace(u'\'', u"''"_s);
                if (!db.open()) failure = db.lastError().text();
                else if (QSqlQuery q(db); !q.exec(u"VACUUM INTO '"_s + quoted + u'\'')) failure = q.lastError().text();
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
            if (!failure.isEmpty()) throw DbError(u"Yedek alınamadı: "_s + failure);
        }
        Database copy(AliasConfig::forSqliteFile(path));
        const QString integrity = integrityOf(copy);
        if (integrity != u"ok"_s) throw DbError(u"Yedek denetimden geçmedi: "_s + integrity);
        info.counts = countRows(copy);
    } catch (...) {
        removeBackup(path);
        throw;
    }
    for (const QString& s : {u"-wal"_s, u"-shm"_s}) QFile::remove(path + s);
    writeCounts(path + CountsSuffix, u"sqlite"_s, QString(), now, info.counts);
    return info;
}

BackupInfo backupServer(const AliasConfig& alias, const QString& path, const QDateTime& now)
{
    BackupInfo info;
    info.path = path;
    Database db(alias);
    // One snapshot for the counts and the dump: what they hold is the same moment.
    db.execute(u"BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY"_s);
    QString schema;
    try {
        const QString snapshot = Sql::scalar(db, u"SELECT pg_export_snapshot()"_s).toString();
        schema = Sql::scalar(db, u"SELECT current_schema()"_s).toString();
        info.counts = countRows(db);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const ServiceFile service(alias, env);
        const QStringList args{u"--format=custom"_s, u"--file="_s + path, u"--schema="_s + schema,
                               u"--snapshot="_s + snapshot, service.argument()};
        runTool(u"pg_dump"_s, args, env, u"Yedek alınamadı"_s);
        db.execute(u"COMMIT"_s);
        // The dump read back: every table with rows has its data in it.
        makePrivate(path);
        const QString list = QString::fromUtf8(runTool(u"pg_restore"_s, {u"--list"_s, path}, env, u"Yedek okunamadı"_s));
        qsizetype withData = 0;
        for (auto it = info.counts.begin(); it != info.counts.end(); ++it) withData += it.value() > 0 ? 1 : 0;
        if (list.count(u" TABLE DATA "_s) < withData) throw DbError(u"Yedek denetimden geçmedi: tablolar eksik."_s);
    } catch (...) {
        try {
            db.execute(u"ROLLBACK"_s);
        } catch (const DbError&) {
        }
        removeBackup(path);
        throw;
    }
    writeCounts(path + CountsSuffix, u"postgresql"_s, schema, now, info.counts);
    return info;
}

// A bare connection to the server database (no working tables, no schema of its own).
void onServer(const AliasConfig& alias, const QString& statement)
{
    const std::unique_ptr<Dialect> d = makeDialect(alias.engine);
    const QString name = u"selvar-restore-"_s + QUuid::createUuid().toString(QUuid::Id128);
    QString failure;
    {
        AliasConfig bare = alias;
        bare.server.schema.clear();
        QSqlDatabase db = QSqlDatabase::addDatabase(d->driverName(), name);
        d->configure(db, bare);
        if (!db.open()) failure = db.lastError().text();
        else if (QSqlQuery q(db); !q.exec(u"SET client_min_messages = warning"_s) || !q.exec(statement))
            failure = q.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty()) throw DbError(u"Geri yükleme hazırlanamadı: "_s + failure);
}

void refuseIfHoldingData(Database& db, const AliasConfig& target, bool replace)
{
    const QStringList holding = tablesHoldingData(db);
    if (!holding.isEmpty() && !replace)
        throw DbError(target.displayName() + u" kayıt içeriyor ("_s + holding.mid(0, 5).join(u", "_s)
                      + u"); üzerine geri yüklemek için --replace verin."_s);
}

void restoreServerDump(const QString& backup, const AliasConfig& target, bool replace, const Counts& counts)
{
    if (target.engine != AliasConfig::Engine::PostgreSql)
        throw DbError(u"Sunucu yedeği yalnız bir PostgreSQL veritabanına geri yüklenir; oradan ./selvar db copy ile "
                      u"bir dosyaya taşınabilir."_s);
    createServerDatabaseIfMissing(target);
    const QString schema = counts.schema.isEmpty() ? u"public"_s : counts.schema;
    QString quoted = schema;
    quoted.replace(u'"', u"\"\""_s);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The dump is read before anything of the target is touched.
    const QStringList entries = QString::fromUtf8(runTool(u"pg_restore"_s, {u"--list"_s, backup}, env,
                                                          u"Yedek okunamadı"_s))
                                    .split(u'\n');
    onServer(target, u"CREATE SCHEMA IF NOT EXISTS \""_s + quoted + u'"');
    {
        Database db(target);
        refuseIfHoldingData(db, target, replace);
    }
    static const QRegularExpression schemaEntry(u"^\\d+; \\d+ \\d+ (SCHEMA|COMMENT - SCHEMA|ACL - SCHEMA) "_s);
    QStringList kept;
    for (const QString& e : entries)
        if (!schemaEntry.match(e).hasMatch()) kept << e;
    QTemporaryDir work;
    const QString listPath = work.filePath(u"liste"_s);
    QFile list(listPath);
    if (!list.open(QIODevice::WriteOnly) || list.write(kept.join(u'\n').toUtf8()) < 0) throw DbError(u"Geçici dosya yazılamadı."_s);
    list.close();
    // The old tables go and the backup's come in one transaction: a restore that fails
    // leaves the target as it was.
    const ServiceFile service(target, env);
    const QStringList args{u"--no-owner"_s, u"--no-privileges"_s, u"--clean"_s, u"--if-exists"_s,
                           u"--single-transaction"_s, u"--exit-on-error"_s, u"--use-list="_s + listPath,
                           service.argument(), backup};
    runTool(u"pg_restore"_s, args, env, u"Geri yüklenemedi"_s);
}

// A SQLite file is only replaced when no program has it open: an exclusive lock proves
// it, and the WAL is emptied into the file on the way.
void ensureNobodyUses(const QString& file)
{
    const QString name = u"selvar-restore-"_s + QUuid::createUuid().toString(QUuid::Id128);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(file);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=2000"_s);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(u"PRAGMA wal_checkpoint(TRUNCATE)"_s) || !q.exec(u"BEGIN EXCLUSIVE"_s))
                failure = u"veritabanı başka bir programda açık; önce o programı kapatın"_s;
            else
                q.exec(u"ROLLBACK"_s);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty()) throw DbError(u"Geri yüklenemedi: "_s + failure + u" ("_s + file + u")."_s);
}

void restoreSqliteFile(const QString& backup, const AliasConfig& target, bool replace)
{
    {
        Database source(AliasConfig::forSqliteFile(backup));
        const QString integrity = integrityOf(source);
        if (integrity != u"ok"_s) throw DbError(u"Yedek bozuk, geri yüklenmedi: "_s + integrity);
        if (target.engine == AliasConfig::Engine::PostgreSql) {
            createServerDatabaseIfMissing(target);
            Database db(target);
            refuseIfHoldingData(db, target, replace);
            const CopyReport report = copyDatabase(source, db, true);
            if (!report.ok()) throw DbError(u"Geri yüklenemedi: "_s + report.lines().join(u"; "_s));
            return;
        }
    }
    if (QFileInfo::exists(target.database)) {
        {
            Database db(target);
            refuseIfHoldingData(db, target, replace);
        }
        ensureNobodyUses(target.database);
    }
    // The copy lands under another name and takes the target's place in one step.
    makePrivateDirectory(QFileInfo(target.database).absolutePath());
    const QString part = target.database + u".yukleniyor"_s;
    QFile::remove(part);
    createPrivateFile(part);
    {
        QFile in(backup), out(part);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw DbError(u"Geri yüklenemedi: "_s + part);
        auto fail = [&](const QString& why) {
            out.close();
            QFile::remove(part);
            throw DbError(u"Geri yüklenemedi: "_s + why);
        };
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(1 << 20);
            if (chunk.isEmpty()) fail(u"yedek okunamadı ("_s + backup + u")."_s);
            if (out.write(chunk) != chunk.size()) fail(u"diske yazılamadı ("_s + part + u")."_s);
        }
        // On the disk before it takes the target's place.
        if (!out.flush() || ::fsync(out.handle()) != 0) fail(u"diske yazılamadı ("_s + part + u")."_s);
    }
    // The copy replaces the target in one step (the old file stays until then); the old
    // file's WAL was emptied into it and closed above.
    for (const QString& s : {u"-wal"_s, u"-shm"_s}) QFile::remove(target.database + s);
    if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(target.database).constData()) != 0) {
        QFile::remove(part);
        throw DbError(u"Geri yüklenemedi: "_s + target.database);
    }
}

}  // namespace

QStringList BackupInfo::lines() const
{
    qint64 rows = 0;
    for (qint64 n : counts) rows += n;
    return {u"yedek: "_s + path, QStringLiteral("%1 tablo, %2 kayıt, %3 bayt, denetlendi").arg(counts.size()).arg(rows).arg(bytes)};
}

BackupInfo backupDatabase(const AliasConfig& alias, const QString& dir, const QDateTime& now)
{
    makePrivateDirectory(dir);
    const bool server = alias.engine == AliasConfig::Engine::PostgreSql;
    const QString path = claimPath(QDir(dir).absoluteFilePath(u"ECZ-"_s + now.toString(u"yyyyMMdd-HHmmss"_s)),
                                   server ? u".pgdump"_s : u".sqlite"_s);
    BackupInfo info = server ? backupServer(alias, path, now) : backupSqlite(alias, path, now);
    info.countsPath = path + CountsSuffix;
    info.bytes = QFileInfo(path).size();
    return info;
}

QStringList backupsIn(const QString& dir)
{
    static const QRegularExpression name(u"^ECZ-\\d{8}-\\d{6}(-\\d+)?\\.(sqlite|pgdump)$"_s);
    QStringList r;
    for (const QString& f : QDir(dir).entryList(QDir::Files, QDir::Name))
        if (name.match(f).hasMatch()) r << QDir(dir).absoluteFilePath(f);
    return r;
}

BackupInfo takeDailyBackup(const AliasConfig& alias, const QDateTime& now, int keep)
{
    const BackupInfo info = backupDatabase(alias, alias.backupDir, now);
    // The new one is good: the day's earlier backup goes, then the days beyond `keep`.
    const QString day = u"ECZ-"_s + now.toString(u"yyyyMMdd"_s);
    QStringList all = backupsIn(alias.backupDir);
    for (const QString& b : all)
        if (b != info.path && QFileInfo(b).fileName().startsWith(day)) removeBackup(b);
    all = backupsIn(alias.backupDir);
    for (qsizetype i = 0; i + keep < all.size(); ++i) removeBackup(all[i]);
    return info;
}

RestoreReport restoreDatabase(const QString& backup, const AliasConfig& target, bool replace)
{
    if (!QFileInfo::exists(backup)) throw DbError(u"Yedek bulunamadı: "_s + backup);
    const Counts counts = readCounts(backup);
    if (backup.endsWith(u".pgdump"_s)) restoreServerDump(backup, target, replace, counts);
    else restoreSqliteFile(backup, target, replace);

    RestoreReport report;
    report.ok = true;
    report.lines << u"geri yüklendi: "_s + backup + u" -> "_s + target.displayName();
    Database db(target);
    if (target.engine == AliasConfig::Engine::Sqlite) {
        const QString integrity = integrityOf(db);
        report.lines << u"bütünlük denetimi: "_s + integrity;
        report.ok = integrity == u"ok"_s;
    }
    if (!counts.present) {
        report.lines << u"sayım dosyası yok ("_s + QFileInfo(backup).fileName() + CountsSuffix
                            + u"): kayıt sayıları karşılaştırılamadı"_s;
        // A server database has no integrity check of its own: unverified is not a success.
        if (target.engine != AliasConfig::Engine::Sqlite) report.ok = false;
        return report;
    }
    const QMap<QString, qint64> now = countRows(db);
    qint64 rows = 0;
    for (auto it = counts.tables.begin(); it != counts.tables.end(); ++it) {
        const qint64 found = now.value(it.key(), -1);
        rows += it.value();
        if (found != it.value()) {
            report.ok = false;
            report.lines << QStringLiteral("%1: yedekte %2 kayıt, geri yüklenende %3").arg(it.key()).arg(it.value()).arg(found);
        }
    }
    if (report.ok) report.lines << QStringLiteral("%1 tablonun %2 kaydı yedekteki sayılarla aynı").arg(counts.tables.size()).arg(rows);
    return report;
}

}  // namespace selvar
