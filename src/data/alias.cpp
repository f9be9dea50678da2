#include "data/alias.h"

#include "data/errors.h"
#include "data/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <sys/stat.h>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

QString decoded(const QString& s) { return QUrl::fromPercentEncoding(s.toUtf8()); }

QString badUrl(const QString& what) { return u"Geçersiz veritabanı adresi: "_s + what; }

ServerAddress parseServerUrl(const QString& url)
{
    ServerAddress a;
    QString rest = url.mid(url.indexOf(u"://"_s) + 3);
    QString query;
    if (const int q = rest.indexOf(u'?'); q >= 0) {
        query = rest.mid(q + 1);
        rest.truncate(q);
    }
    QString authority = rest;
    if (const int slash = rest.indexOf(u'/'); slash >= 0) {
        authority = rest.left(slash);
        a.database = decoded(rest.mid(slash + 1));
    }
    if (const int at = authority.lastIndexOf(u'@'); at >= 0) {
        const QString info = authority.left(at);
        authority = authority.mid(at + 1);
        const int colon = info.indexOf(u':');
        a.user = decoded(colon >= 0 ? info.left(colon) : info);
        if (colon >= 0) a.password = decoded(info.mid(colon + 1));
    }
    QString host = authority, port;
    if (host.startsWith(u'[')) {  // [::1]:5432
        const int close = host.indexOf(u']');
        if (close < 0) throw DbError(badUrl(withoutPassword(url)));
        port = host.mid(close + 1).startsWith(u':') ? host.mid(close + 2) : QString();
        host = host.mid(1, close - 1);
    } else if (const int colon = host.lastIndexOf(u':'); colon >= 0) {
        port = host.mid(colon + 1);
        host.truncate(colon);
    }
    a.host = decoded(host);
    auto setPort = [&](const QString& p) {
        if (p.isEmpty()) return;
        bool ok = false;
        a.port = p.toInt(&ok);
        if (!ok || a.port <= 0 || a.port > 65535) throw DbError(badUrl(u"kapı (port) "_s + p));
    };
    setPort(port);
    static const QRegularExpression keyShape(u"^[a-z_]+$"_s);
    for (const QString& pair : query.split(u'&', Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(u'=');
        const QString key = decoded(eq >= 0 ? pair.left(eq) : pair);
        const QString value = eq >= 0 ? decoded(pair.mid(eq + 1)) : QString();
        if (!keyShape.match(key).hasMatch()) throw DbError(badUrl(u"seçenek "_s + key));
        // The client library's option string is split at semicolons.
        if (value.contains(u';')) throw DbError(badUrl(u"seçenek "_s + key));
        if (key == u"host"_s) a.host = value;
        else if (key == u"port"_s) setPort(value);
        else if (key == u"user"_s) a.user = value;
        else if (key == u"password"_s) a.password = value;
        else if (key == u"dbname"_s) a.database = value;
        else if (key == u"schema"_s) a.schema = value;
        else a.options.append({key, value});
    }
    if (a.database.isEmpty()) throw DbError(badUrl(u"veritabanı adı yok ("_s + withoutPassword(url) + u')'));
    return a;
}

}  // namespace

QString ServerAddress::option(const QString& key) const
{
    for (const auto& [k, v] : options)
        if (k == key) return v;
    return {};
}

bool isServerUrl(const QString& location)
{
    return location.startsWith(u"postgresql://"_s) || location.startsWith(u"postgres://"_s);
}

QString withoutPassword(const QString& location)
{
    if (!isServerUrl(location)) return location;
    QString r = location;
    const int start = r.indexOf(u"://"_s) + 3;
    const int end = [&] {
        int e = int(r.size());
        for (QChar c : {u'/', u'?'})
            if (const int i = r.indexOf(c, start); i >= 0) e = std::min(e, i);
        return e;
    }();
    const int at = r.lastIndexOf(u'@', end - 1);
    if (at >= start) {
        const int colon = r.indexOf(u':', start);
        if (colon >= 0 && colon < at) r.replace(colon + 1, at - colon - 1, u"***"_s);
    }
    static const QRegularExpression param(u"([?&]password=)[^&]*"_s);
    r.replace(param, u"\\1***"_s);
    return r;
}

QString AliasConfig::displayName() const { return withoutPassword(database); }

AliasConfig AliasConfig::forSqliteFile(const QString& path)
{
    AliasConfig c;
    c.engine = Engine::Sqlite;
    c.database = QFileInfo(path).absoluteFilePath();
    c.filesDir = QFileInfo(c.database).absolutePath();
    c.backupDir = c.filesDir + u"/yedek"_s;
    return c;
}

AliasConfig AliasConfig::fromLocation(const QString& location)
{
    if (isServerUrl(location)) {
        AliasConfig c;
        c.engine = Engine::PostgreSql;
        c.database = location;
        c.server = parseServerUrl(location);
        c.filesDir = QDir::homePath() + u"/.local/share/selvar/ECZ"_s;
        c.backupDir = c.filesDir + u"/yedek"_s;
        return c;
    }
    return forSqliteFile(location);
}

QString AliasConfig::aliasFilePath()
{
    const QString env = qEnvironmentVariable("SELVAR_ALIAS_FILE");
    if (!env.isEmpty()) return env;
    return QDir::homePath() + u"/.config/selvar/aliases.ini"_s;
}

QString AliasConfig::defaultSqlitePath()
{
    return QDir::homePath() + u"/.local/share/selvar/ECZ/ecz.sqlite"_s;
}

AliasConfig AliasConfig::resolve(const QString& alias)
{
    AliasConfig c;
    const QString envDb = qEnvironmentVariable("SELVAR_ECZ");
    if (!envDb.isEmpty()) {
        c = fromLocation(envDb);
    } else {
        QSettings ini(aliasFilePath(), QSettings::IniFormat);
        ini.beginGroup(alias);
        const QString db = ini.value(u"database"_s).toString();
        c = fromLocation(db.isEmpty() ? defaultSqlitePath() : db);
        const QString files = ini.value(u"files"_s).toString();
        if (!files.isEmpty()) {
            c.filesDir = files;
            if (c.engine == Engine::PostgreSql) c.backupDir = files + u"/yedek"_s;
        }
        const QString gs = ini.value(u"gs"_s).toString();
        if (!gs.isEmpty()) c.gsText = gs;
        const QString backups = ini.value(u"backups"_s).toString();
        if (!backups.isEmpty()) c.backupDir = backups;
        ini.endGroup();
    }
    const QString envFiles = qEnvironmentVariable("SELVAR_ECZ_FILES");
    if (!envFiles.isEmpty()) {
        c.filesDir = envFiles;
        if (c.engine == Engine::PostgreSql) c.backupDir = envFiles + u"/yedek"_s;
    }
    const QString envGs = qEnvironmentVariable("SELVAR_GS");
    if (!envGs.isEmpty()) c.gsText = envGs;
    const QString envBackups = qEnvironmentVariable("SELVAR_ECZ_BACKUPS");
    if (!envBackups.isEmpty()) c.backupDir = envBackups;
    return c;
}

void AliasConfig::store(const QString& alias, const QString& location, const QString& filesDir)
{
    const AliasConfig parsed = fromLocation(location);  // refuses a malformed URL before writing
    const QString path = aliasFilePath();
    makePrivateDirectory(QFileInfo(path).absolutePath());
    // Every file written on the way (the settings are saved through a temporary file) is
    // owner-only before anything goes into it.
    const mode_t oldMask = ::umask(077);
    if (QFile::exists(path)) makePrivate(path);
    {
        QSettings ini(path, QSettings::IniFormat);
        ini.beginGroup(alias);
        ini.setValue(u"database"_s, parsed.engine == Engine::Sqlite ? parsed.database : location);
        if (filesDir.isEmpty()) ini.remove(u"files"_s);
        else ini.setValue(u"files"_s, QFileInfo(filesDir).absoluteFilePath());
        ini.endGroup();
        ini.sync();
        ::umask(oldMask);
        if (ini.status() != QSettings::NoError) throw DbError(u"Takma ad dosyası yazılamadı: "_s + path);
    }
}

}  // namespace selvar
