#pragma once
// What differs between the engines behind the alias: column types, the sort-key
// expression of text keys, value conversions, the write-transaction statement and how a
// lock held by another workstation shows up. Window and logic code never sees it.
#include "data/alias.h"
#include "data/schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QVariant>
#include <memory>

namespace selvar {

class Dialect {
public:
    virtual ~Dialect() = default;
    virtual QString driverName() const = 0;
    virtual void configure(QSqlDatabase& db, const AliasConfig& alias) const = 0;
    virtual QStringList sessionSetup() const = 0;  // run once after opening

    virtual QString quote(const QString& identifier) const = 0;
    virtual QString tableName(const TableDef& t) const { return quote(t.name); }
    virtual QString rowId() const = 0;  // the engine's row identity column
    // The statements that create a table with its indexes; `privateCopy` makes the
    // connection's own copy of a working table, which hides the shared one.
    virtual QStringList createStatements(const TableDef& t, bool privateCopy = false) const = 0;
    virtual QString tableExistsSql() const = 0;  // one parameter :t; a row when the shared table exists
    virtual QString dropStatement(const TableDef& t) const = 0;

    // Key of a field as an SQL expression: the Turkish sort key for text, the column
    // itself otherwise. Index and queries use the same text, so the index is used.
    virtual QString keyExpression(const FieldDef& f) const = 0;
    virtual QString orderTerm(const QString& expression, bool descending) const = 0;

    // Values of a field between the program and the engine.
    virtual QVariant toDatabase(FieldType type, const QVariant& v) const = 0;
    virtual QVariant fromDatabase(FieldType type, const QVariant& v) const = 0;
    // A parameter of free SQL: dates and date-times in the engine's own form.
    virtual QVariant bindValue(const QVariant& v) const = 0;

    virtual QString beginWrite() const = 0;
    virtual bool isLockError(const QSqlError& e) const = 0;
    virtual bool isKeyViolation(const QSqlError& e) const = 0;
};

std::unique_ptr<Dialect> makeDialect(AliasConfig::Engine engine);

// Shared by the dialects: the sort key of a text column as nested replace() calls
// followed by ASCII upper(), the same mapping as sortKey() in core.
QString sortKeySql(const QString& quotedColumn);

}  // namespace selvar
