#pragma once
// A table opened through the alias: a cursor over one of its indexes with key search,
// key ranges, navigation and an edit buffer that is written by post().
//
// Behaviour kept from the original table engine: an empty Alpha value is stored as null
// and reads back as empty text; an Alpha value longer than its width is cut to the
// width; a null Logical reads as false; AutoInc fields are assigned on insert; Date holds
// no time, Timestamp holds milliseconds. Text keys sort in the Turkish alphabet without
// regard to case.
#include "data/schema.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QVariant>
#include <QVariantMap>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

namespace selvar {

class Database;
class Sql;
}  // namespace selvar
class QSqlQuery;
namespace selvar {

class Table {
public:
    enum class State { Browse, Edit, Insert };

    Table(Database& db, const QString& fileName);  // "URUN.DB"; primary order
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    Database& database() const { return db_; }
    const TableDef& def() const { return def_; }

    // "" or "PRIMARY" selects the primary order. Keeps the range off and goes to the
    // first row.
    void setIndex(const QString& indexName);
    // Another order, staying on the current row (the first row when there is none).
    void switchIndex(const QString& indexName);
    QString indexName() const { return indexName_; }

    bool first();
    bool last();
    bool next();   // false at the end; the cursor stays on the last row and eof() is set
    bool prior();  // false at the start; bof() is set
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool hasRow() const { return hasRow_; }
    bool isEmpty();
    int recordCount();

    // Exact search on the leading fields of the current index.
    bool findKey(const QVariantList& values);
    // First row whose key is not below the values; false (cursor on the last row, eof
    // set) when every key is below.
    bool findNearest(const QVariantList& values);
    bool gotoRowId(qint64 rowId);
    qint64 rowId() const { return rowId_; }

    // Only rows whose leading key fields lie between the two lists (both inclusive).
    void setRange(const QVariantList& from, const QVariantList& to);
    void cancelRange();

    void refresh();  // reread the current row

    State state() const { return state_; }
    bool isEditing() const { return state_ != State::Browse; }
    void edit();    // on an empty table this inserts
    void insert();
    void append() { insert(); }
    void post();
    void cancel();
    void remove();  // deletes the current row and moves to the next one
    void empty();   // deletes every row

    bool hasField(const QString& field) const;
    QVariant value(const QString& field) const;
    bool isNull(const QString& field) const;
    QString text(const QString& field) const;
    double number(const QString& field) const;
    qint64 integer(const QString& field) const;
    bool boolean(const QString& field) const;
    QDate date(const QString& field) const;
    QDateTime timestamp(const QString& field) const;

    void set(const QString& field, const QVariant& value);
    void clear(const QString& field) { set(field, QVariant()); }

private:
    struct KeyColumn {
        int field;
        QString expression;
        bool text;
    };
    int fieldNo(const QString& field) const;
    QVariant normalize(const FieldDef& f, const QVariant& v) const;
    QVariant keyBind(const KeyColumn& k, const QVariant& v) const;
    QString selectList() const;
    QString orderBy(bool descending) const;
    QString rangeWhere(QVariantMap* binds, QString* shape) const;
    bool fetchOne(const QString& shape, const std::function<QString()>& where, const QVariantMap& binds,
                  bool descending);
    bool moveFrom(bool forward);
    void readRow(QSqlQuery& q);
    void releaseStatements();
    const QVector<QVariant>& current() const { return state_ == State::Browse ? row_ : buffer_; }

    Database& db_;
    const TableDef& def_;
    QHash<QString, int> fieldIndex_;
    QString indexName_;
    QVector<KeyColumn> keys_;
    QString tableSql_;
    QString selectList_;
    QHash<QString, QSqlQuery*> statements_;  // by shape, for the current index; from the pool
    quint64 generation_ = 0;                  // of the connection they were prepared on

    bool hasRow_ = false;
    bool eof_ = true;
    bool bof_ = true;
    qint64 rowId_ = 0;
    QVector<QVariant> row_;
    QVector<QVariant> rowKeys_;
    QVector<QVariant> buffer_;
    QVector<bool> changed_;
    State state_ = State::Browse;

    std::optional<QVariantList> rangeFrom_, rangeTo_;
};

// Copies the rows of an executed query into a table, matching columns by name; the
// table is emptied first when asked. Returns the number of rows copied.
int copyRows(Sql& query, Database& db, const QString& targetTable, bool emptyFirst);

// A value as a field of its type stores it: the edit buffer's rules (empty Alpha is null,
// Alpha cut to its width, numbers and dates from text).
QVariant normalizeValue(const FieldDef& field, const QVariant& value);

// A whole row by row id as field name -> value; empty when there is no such row.
QVariantMap readRecord(Database& db, const QString& tableName, qint64 rowId);
// The row a cursor's findKey would stand on (the index's first fields equal to `values`,
// the first in index order), found with one statement; 0 when there is none. An empty
// index name is the primary key.
qint64 findKeyRow(Database& db, const QString& tableName, const QString& indexName, const QVariantList& values);
// Appends a row of the given fields (the others blank) and returns its row id.
qint64 insertRecord(Database& db, const QString& tableName, const QVariantMap& values);
// Writes the given fields of one row.
void updateRecord(Database& db, const QString& tableName, qint64 rowId, const QVariantMap& values);

}  // namespace selvar
