#pragma once
// What differs between the engines behind the alias: column types, the sort-key
// expression of text keys, value conversions, the write-transaction statement and how a
// lock held by another workstation shows up. Window and logic code never sees it.
//
// Both engines give every table a row identity named `rowid` (SQLite's own; on
// PostgreSQL a hidden identity column, the AutoInc field itself where a table has one),
// so a statement may name `rowid` through rowId() on either.
#include "data/alias.h"
#include "data/schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QVariant>
#include <memory>

namespace selvar {

// How a failed statement is answered.
enum class FailureKind {
    Other,
    LockHeld,        // another workstation holds the rows beyond the short wait
    KeyViolation,    // a unique key is taken
    WriteConflict,   // deadlock or serialization failure: the whole recording may simply run again
    ConnectionLost,  // the server went away; the next statement reconnects
};

class Dialect {
public:
    virtual ~Dialect() = default;
    virtual AliasConfig::Engine engine() const = 0;
    virtual QString driverName() const = 0;
    virtual void configure(QSqlDatabase& db, const AliasConfig& alias) const = 0;
    virtual QStringList sessionSetup(const AliasConfig& alias) const = 0;  // run after every opening
    // Where the shared tables are, asked once the session is set up (empty: nothing to
    // ask); a connection's own copies of the working tables hide the shared ones by name,
    // so statements that make shared tables name this schema.
    // The query returns the schema and the database's encoding, which must be UTF-8.
    virtual QString sharedSchemaQuery() const { return {}; }
    virtual void setSharedSchema(const QString&) {}

    virtual QString quote(const QString& identifier) const = 0;
    virtual QString tableName(const TableDef& t) const { return quote(t.name); }
    QString rowId() const { return QStringLiteral("rowid"); }
    // The statements that create a table with its indexes; `privateCopy` makes the
    // connection's own copy of a working table, which hides the shared one.
    virtual QStringList createStatements(const TableDef& t, bool privateCopy = false) const = 0;
    virtual QString tableExistsSql() const = 0;  // one parameter :t; a row when the shared table exists
    virtual QString dropStatement(const TableDef& t) const = 0;
    // After rows were written with their AutoInc values given: what makes the next
    // insert continue above them.
    virtual QStringList afterExplicitKeys(const TableDef& t) const = 0;
    // After a whole database was loaded: fresh statistics for the planner (and, on the
    // server, the visibility that lets lists be read from the indexes alone).
    virtual QStringList afterBulkLoad() const = 0;

    // Key of a field as an SQL expression: the Turkish sort key for text, the column
    // itself otherwise. Index and queries use the same text, so the index is used.
    virtual QString keyExpression(const FieldDef& f) const = 0;
    // A blank key sorts before every value, in both directions of the index.
    virtual QString orderTerm(const QString& expression, bool descending) const = 0;

    // Appended to an INSERT that must report the row identity it made (empty where the
    // engine reports it by itself).
    virtual QString returningRowId() const = 0;
    // Appended to a SELECT whose rows are about to be changed by this transaction.
    virtual QString forUpdate() const = 0;
    // The day ("2026-03-02") and the month ("2026-03") of a date or date-time column as
    // text, for sums grouped by day or month.
    virtual QString isoDay(const QString& column) const = 0;
    virtual QString isoMonth(const QString& column) const = 0;

    // Values of a field between the program and the engine. Both engines take dates and
    // date-times as ISO texts; what a driver gives back (texts, or its own date and
    // boolean types) is read the same way for both.
    QVariant toDatabase(FieldType type, const QVariant& v) const;
    QVariant fromDatabase(FieldType type, const QVariant& v) const;
    // A column of free SQL as read, in the one form both engines give: dates and
    // date-times as ISO texts, logicals as 1 and 0.
    virtual QVariant readValue(const QVariant& v) const = 0;
    // A parameter of free SQL: dates and date-times in the engine's own form.
    QVariant bindValue(const QVariant& v) const;
    // A logical as the engine stores it.
    virtual QVariant logicalValue(bool b) const = 0;

    // Whether a statement may be read row by row while others run on the connection.
    // The server's client streams a forward-only result, and the next statement would cut
    // it short: there every result is fetched whole.
    virtual bool forwardOnlyResults() const = 0;

    virtual QString beginWrite() const = 0;
    virtual FailureKind classify(const QSqlError& e) const = 0;
};

std::unique_ptr<Dialect> makeDialect(AliasConfig::Engine engine);

// Shared by the dialects: the sort key of a text column as nested replace() calls
// followed by ASCII upper(), the same mapping as sortKey() in core.
QString sortKeySql(const QString& quotedColumn);

// Shared by the dialects: ISO texts of dates and date-times as the engines keep them.
QDate parseIsoDate(const QString& s);
QDateTime parseIsoStamp(const QString& s);
QString isoDate(const QDate& d);
QString isoStamp(const QDateTime& dt);

}  // namespace selvar
