#pragma once
// The alias ECZ: which engine, which database and which files directory (dBASE files,
// text files). Resolved from the alias file, or from the environment:
//   SELVAR_ECZ        database: a SQLite file path or a postgresql:// URL
//   SELVAR_ECZ_FILES  files directory (default: the SQLite file's directory)
//   SELVAR_ECZ_BACKUPS backup directory (default: "yedek" beside the database)
//   SELVAR_ALIAS_FILE the alias file (default: ~/.config/selvar/aliases.ini)
//
// A server URL: postgresql://[user[:password]@][host][:port]/dbname[?key=value&...]
// The host may be a socket directory (percent-encoded, or as ?host=/path). Keys are the
// client library's own (sslmode, connect_timeout, ...) plus `schema`, the schema the
// tables live in (default: the server's search path).
#include <QList>
#include <QPair>
#include <QString>

namespace selvar {

struct ServerAddress {
    QString host;  // name, address or socket directory; empty: the client library's default
    int port = -1;
    QString user;
    QString password;  // empty: the client library looks in ~/.pgpass
    QString database;
    QString schema;
    QList<QPair<QString, QString>> options;  // passed on to the client library as they are

    QString option(const QString& key) const;
};

struct AliasConfig {
    enum class Engine { Sqlite, PostgreSql };
    Engine engine = Engine::Sqlite;
    QString database;  // file path or URL, as given (it may hold a password: never show it)
    QString filesDir;
    // Where the day's backups go: the alias file's `backups=`, SELVAR_ECZ_BACKUPS, else
    // "yedek" beside the SQLite file (in the files directory for a server database).
    QString backupDir;
    // What a 2D scanner set up as a keyboard sends for the GS1 group separator: the alias
    // file's `gs=` (or SELVAR_GS), by default "<GS>".
    QString gsText = QStringLiteral("<GS>");
    ServerAddress server;  // PostgreSQL only

    // The location for messages and reports: the URL without its password.
    QString displayName() const;

    static AliasConfig forSqliteFile(const QString& path);
    static AliasConfig fromLocation(const QString& location);  // path or URL; throws DbError on a bad URL
    static AliasConfig resolve(const QString& alias = QStringLiteral("ECZ"));
    static QString aliasFilePath();
    static QString defaultSqlitePath();

    // Writes the alias into the alias file, readable by its owner only (it may hold a
    // server password).
    static void store(const QString& alias, const QString& location, const QString& filesDir = {});
};

bool isServerUrl(const QString& location);
// The URL with its password (user-info and ?password=) replaced by "***".
QString withoutPassword(const QString& location);

}  // namespace selvar
