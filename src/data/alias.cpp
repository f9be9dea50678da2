#include "data/alias.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

AliasConfig AliasConfig::forSqliteFile(const QString& path)
{
    AliasConfig c;
    c.engine = Engine::Sqlite;
    c.database = QFileInfo(path).absoluteFilePath();
    c.filesDir = QFileInfo(c.database).absolutePath();
    return c;
}

AliasConfig AliasConfig::fromLocation(const QString& location)
{
    if (location.startsWith(u"postgresql://"_s) || location.startsWith(u"postgres://"_s)) {
        AliasConfig c;
        c.engine = Engine::PostgreSql;
        c.database = location;
        c.filesDir = QDir::homePath() + u"/.local/share/selvar/ECZ"_s;
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
        if (!files.isEmpty()) c.filesDir = files;
        ini.endGroup();
    }
    const QString envFiles = qEnvironmentVariable("SELVAR_ECZ_FILES");
    if (!envFiles.isEmpty()) c.filesDir = envFiles;
    return c;
}

}  // namespace selvar
