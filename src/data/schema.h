#pragma once
// The tables behind the alias ECZ: every field with its type and width, keys and named
// indexes. Table names are the file names without ".DB" and compare case-insensitively.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace selvar {

enum class FieldType { Alpha, Long, Short, AutoInc, Number, Money, Date, Timestamp, Logical, Memo };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Alpha;
    int width = 0;  // Alpha only
    bool required = false;
    QString note;   // shown in the schema comment

    bool isText() const { return type == FieldType::Alpha || type == FieldType::Memo; }
    bool isInteger() const
    {
        return type == FieldType::Long || type == FieldType::Short || type == FieldType::AutoInc;
    }
    bool isReal() const { return type == FieldType::Number || type == FieldType::Money; }
    bool isNumeric() const { return isInteger() || isReal() || type == FieldType::Logical; }
};

struct IndexDef {
    QString name;  // the program's name ("ILACADI"); the engine may qualify it by table
    QStringList fields;
    bool unique = false;
};

struct TableDef {
    QString name;  // "URUN", "usera", "SATEMP" ...
    QList<FieldDef> fields;
    QStringList primaryKey;  // empty: rows in insertion order
    QList<IndexDef> indexes;
    bool isProtected = false;  // opened only with the session password
    QString note;
    QList<QVariantMap> initialRows;  // rows a new database starts with
    // A working table of one workstation (the sale being entered, a printout's copy):
    // each connection has its own, so workstations sharing the database never mix them.
    bool working = false;

    int fieldIndex(const QString& fieldName) const;  // -1 when missing; case-insensitive
    const FieldDef* field(const QString& fieldName) const;
    const IndexDef* index(const QString& indexName) const;  // case-insensitive
    // The AutoInc field that is the whole primary key (the engine's row id), or null.
    const FieldDef* rowIdField() const;
};

// "URUN.DB", "urun", "USERKIM.db" -> "URUN" / "USERKIM" as the schema spells it.
QString tableNameOf(const QString& fileName);

const QList<TableDef>& allTables();
const TableDef* findTable(const QString& fileOrTableName);
const TableDef& tableDef(const QString& fileOrTableName);  // throws DbError when unknown

QString fieldTypeText(const FieldDef& f);  // "Alpha 36", "Money" ...

}  // namespace selvar
