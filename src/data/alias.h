#pragma once
// The alias ECZ: which engine, which database and which files directory (dBASE files,
// text files). Resolved from the alias file, or from the environment:
//   SELVAR_ECZ        database: a SQLite file path or a postgresql:// URL
//   SELVAR_ECZ_FILES  files directory (default: the SQLite file's directory)
//   SELVAR_ALIAS_FILE the alias file (default: ~/.config/selvar/aliases.ini)
#include <QString>

namespace selvar {

struct AliasConfig {
    enum class Engine { Sqlite, PostgreSql };
    Engine engine = Engine::Sqlite;
    QString database;  // file path or URL
    QString filesDir;

    static AliasConfig forSqliteFile(const QString& path);
    static AliasConfig fromLocation(const QString& location);  // path or URL
    static AliasConfig resolve(const QString& alias = QStringLiteral("ECZ"));
    static QString aliasFilePath();
    static QString defaultSqlitePath();
};

}  // namespace selvar
