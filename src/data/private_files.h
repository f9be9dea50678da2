#pragma once
// The pharmacy's files hold patients' health data and money owed: the database, its WAL
// and shared-memory files, the files directory, the backups and the alias file are made
// readable and writable by their owner only (0600 files, 0700 directories), whatever the
// umask.
#include <QString>

namespace selvar {

struct AliasConfig;

// Makes the directory and any missing parent; the directories made here are owner-only.
void makePrivateDirectory(const QString& path);
// An empty owner-only file when none exists yet (an existing one is left as it is); true
// when this call made it.
bool createPrivateFile(const QString& path);
// Owner-only from now on.
void makePrivate(const QString& path);
// Whether anyone but the owner may read the file.
bool readableByOthers(const QString& path);
// The warning shown at start-up when the database's files are readable by others; empty
// when they are not (or the database is on a server).
QString exposedDatabaseWarning(const AliasConfig& alias);

}  // namespace selvar
