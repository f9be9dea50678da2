#pragma once
// Backups that are proven to restore. A backup is one file named with the date and time
// ("ECZ-20261210-183000.sqlite" from a SQLite database, ".pgdump" from a server one) and
// beside it the row count of every table at the moment of the copy (".sayim"), which the
// restore checks the restored database against.
#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace selvar {

struct AliasConfig;

struct BackupInfo {
    QString path;
    QString countsPath;
    qint64 bytes = 0;
    QMap<QString, qint64> counts;  // table -> rows
    QStringList lines() const;     // what the tool prints
};

// A consistent copy of the whole database while other workstations go on working
// (SQLite: VACUUM INTO from one read transaction; PostgreSQL: pg_dump of one snapshot),
// checked (integrity check / the dump read back) before it is reported. Throws DbError.
BackupInfo backupDatabase(const AliasConfig& alias, const QString& dir, const QDateTime& now);

// The backup taken when the main window closes: the day's backup (an earlier one of the
// same day replaced once the new one is good), and only the last `keep` days kept.
BackupInfo takeDailyBackup(const AliasConfig& alias, const QDateTime& now, int keep = 30);

// The backups of a directory, oldest first.
QStringList backupsIn(const QString& dir);

struct RestoreReport {
    QStringList lines;
    bool ok = false;
};

// Puts a backup back into `target` (a SQLite file or a server database); a target that
// holds data is refused with a DbError unless `replace`. Then the restored database is
// verified: the integrity check and the row count of every table.
RestoreReport restoreDatabase(const QString& backup, const AliasConfig& target, bool replace);

}  // namespace selvar
