#pragma once
// Moving a pharmacy's database between engines (a single computer's SQLite file onto
// the back office's server, and back): every table with every row, the counters and
// AutoInc keys carried over, then both sides compared table by table.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace selvar {

class Database;
struct AliasConfig;

struct TableCheck {
    QString table;
    qint64 sourceRows = 0;
    qint64 targetRows = 0;
    QString sourceSum;  // checksum of the content, in key order, as the fields store it
    QString targetSum;
    bool ok() const { return sourceRows == targetRows && sourceSum == targetSum; }
};

struct CopyReport {
    std::vector<TableCheck> tables;
    qint64 cutValues = 0;  // texts longer than their field, cut to its width on the way
    bool ok() const;
    QStringList lines() const;  // the report the tool prints
};

// Non-working tables with more rows than a new database starts with.
QStringList tablesHoldingData(Database& db);

// Copies every shared table of `source` into `target` in one transaction (the target's
// schema is made first) and verifies the result. A target that already holds data is
// refused with a DbError unless `replace` is given; then its tables are emptied first.
CopyReport copyDatabase(Database& source, Database& target, bool replace,
                        const std::function<void(const QString& table)>& progress = {});

// Compares every shared table of the two databases.
std::vector<TableCheck> compareDatabases(Database& a, Database& b);

// A PostgreSQL database named by the alias is created when the server has none by that
// name (the login needs the right to create databases). Nothing for SQLite.
void createServerDatabaseIfMissing(const AliasConfig& alias);

}  // namespace selvar
