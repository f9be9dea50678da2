#pragma once
// Bringing a pharmacy's old Paradox data directory into the database: every table of
// the directory the program knows (URUN.DB, SATIS.DB, ...) with its memo file, field by
// field by name, the texts decoded from the table's own code page, AutoInc values and
// the counters kept, so the next sale, purchase and invoice numbers follow the old ones.
// A value that does not fit its field is reported and left empty (a text is cut), and
// the import goes on; each table is written in one transaction of its own.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace selvar {

class Database;

struct ParadoxTableReport {
    QString file;   // as found in the directory: "URUN.DB", "satis.db"
    QString table;  // as the schema spells it: "URUN"
    int codePage = 0;
    qint64 read = 0;     // records read from the file
    qint64 inHeader = 0; // records the file's header counts
    qint64 written = 0;  // rows that reached the database
    qint64 reportedValues = 0;  // values left empty or cut, and rows left out
    QStringList problems;       // the first ones, each naming the table and, for a value, row and field
    qint64 problemCount = 0;    // all of them, also those not kept
    QString error;  // the table could not be read or written at all (nothing of it was written)
    // Records the blocks did not give (a file cut short) are lost as much as rows left out.
    bool ok() const { return error.isEmpty() && written == read && read == inHeader; }
};

struct ParadoxImportReport {
    std::vector<ParadoxTableReport> tables;
    QStringList skippedFiles;  // "NAME (why)"
    QStringList counterNotes;  // counters raised so that the next numbers follow the data
    bool ok() const;           // every table read and written whole
    QStringList lines() const; // the report the tool prints
};

// Imports every table of `dir` whose name is one of the program's shared tables. A
// target that already holds data is refused with a DbError unless `replace` is given;
// the tables imported are emptied first, inside their own transaction. `progress`
// receives a line per table and, for a large table, one every 100,000 rows.
ParadoxImportReport importParadoxDirectory(const QString& dir, Database& target, bool replace,
                                           const std::function<void(const QString& line)>& progress = {});

// Texts of a Paradox table in its code page: 857 (DOS Turkish) and 1254 (Windows
// Turkish); a Windows code page stamped by a non-Turkish driver is read as 1254, a DOS
// one as 857 (what a Turkish machine used for them).
QString decodeParadoxText(const QByteArray& bytes, int codePage);
QByteArray encodeParadoxText(const QString& text, int codePage);
// The code page texts of a table stamped with `codePage` are read in (857 or 1254).
int paradoxTextCodePage(int codePage);

}  // namespace selvar
