// Rows written and read whole, outside a cursor: copies of query results into a table,
// and single records by row identity, with the same value rules as the cursor's edit
// buffer.
#include "data/table.h"

#include "core/turkish.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/sql.h"

#include <algorithm>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

int copyRows(Sql& query, Database& db, const QString& targetTable, bool emptyFirst)
{
    const TableDef& t = tableDef(targetTable);
    db.checkAccess(t);
    Transaction tx(db);
    if (emptyFirst) db.emptyTable(t.name);
    // Which query column fills which target field.
    QVector<int> source(t.fields.size(), -1);
    for (int c = 0; c < query.columnCount(); ++c) {
        QString name = query.columnName(c);
        const int dot = name.lastIndexOf(u'.');
        if (dot >= 0) name = name.mid(dot + 1);
        const int f = t.fieldIndex(name);
        if (f >= 0 && source[f] < 0) source[f] = c;
    }
    QStringList cols, marks;
    for (int f = 0; f < t.fields.size(); ++f)
        if (source[f] >= 0) {
            cols << db.dialect().quote(t.fields[f].name);
            marks << u":f"_s + QString::number(f);
        }
    int count = 0;
    if (cols.isEmpty()) {
        tx.commit();
        return 0;
    }
    Sql ins(db, u"INSERT INTO "_s + db.dialect().tableName(t) + u" ("_s + cols.join(u", "_s) + u") VALUES ("_s
                    + marks.join(u", "_s) + u")"_s);
    while (query.next()) {
        for (int f = 0; f < t.fields.size(); ++f)
            if (source[f] >= 0) {
                QVariant v = query.value(source[f]);
                if (t.fields[f].type == FieldType::Alpha && !v.isNull()) {
                    QString s = v.toString().left(t.fields[f].width);
                    v = s.isEmpty() ? QVariant() : QVariant(s);
                }
                ins.bind(u"f"_s + QString::number(f), v);
            }
        ins.exec();
        ++count;
    }
    tx.commit();
    return count;
}

// ---------------------------------------------------------------- whole records

QVariantMap readRecord(Database& db, const QString& tableName, qint64 rowId)
{
    const TableDef& def = tableDef(tableName);
    db.checkAccess(def);
    const Dialect& d = db.dialect();
    QStringList cols;
    for (const FieldDef& f : def.fields) cols << d.quote(f.name);
    Sql q(db, u"SELECT "_s + cols.join(u", "_s) + u" FROM "_s + d.tableName(def) + u" WHERE "_s + d.rowId() + u" = :rid"_s);
    q.bind(u"rid"_s, rowId);
    q.exec();
    QVariantMap r;
    if (!q.next()) return r;
    for (int i = 0; i < def.fields.size(); ++i) r.insert(def.fields[i].name, d.fromDatabase(def.fields[i].type, q.value(i)));
    return r;
}

qint64 findKeyRow(Database& db, const QString& tableName, const QString& indexName, const QVariantList& values)
{
    const TableDef& def = tableDef(tableName);
    db.checkAccess(def);
    QStringList fields = def.primaryKey;
    if (!indexName.isEmpty()) {
        const IndexDef* ix = def.index(indexName);
        if (!ix) throw DbError(def.name + u".DB tablosunda dizin yok: "_s + indexName);
        fields = ix->fields;
    }
    const Dialect& d = db.dialect();
    QStringList conditions, order;
    QVariantMap binds;
    for (int i = 0; i < std::min<int>(int(values.size()), int(fields.size())); ++i) {
        const FieldDef& f = *def.field(fields[i]);
        const QString key = d.keyExpression(f), mark = u"k"_s + QString::number(i);
        order << d.orderTerm(key, false);
        const QVariant& v = values[i];
        if (!f.isText() && v.isNull()) {
            conditions << key + u" IS NULL"_s;
            continue;
        }
        conditions << key + u" = :"_s + mark;
        binds.insert(mark, f.isText() ? QVariant(sortKey(v.isNull() ? QString() : v.toString()))
                                      : d.toDatabase(f.type, normalizeValue(f, v)));
    }
    if (conditions.isEmpty()) return 0;
    order << d.orderTerm(d.rowId(), false);
    const QVariant r = Sql::scalar(db, u"SELECT "_s + d.rowId() + u" FROM "_s + d.tableName(def) + u" WHERE "_s
                                           + conditions.join(u" AND "_s) + u" ORDER BY "_s + order.join(u", "_s) + u" LIMIT 1"_s,
                                   binds);
    return r.isNull() ? 0 : r.toLongLong();
}

qint64 insertRecord(Database& db, const QString& tableName, const QVariantMap& values)
{
    const TableDef& def = tableDef(tableName);
    db.checkAccess(def);
    const Dialect& d = db.dialect();
    QStringList cols, marks, given;
    QVariantMap binds;
    int n = 0;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const FieldDef* f = def.field(it.key());
        if (!f) throw DbError(def.name + u".DB tablosunda alan yok: "_s + it.key());
        const QVariant v = normalizeValue(*f, it.value());
        if (v.isNull()) continue;
        const QString mark = u"f"_s + QString::number(n++);
        cols << d.quote(f->name);
        marks << u':' + mark;
        given << f->name;
        binds.insert(mark, d.toDatabase(f->type, v));
    }
    for (const FieldDef& f : def.fields)
        if (f.required && !given.contains(f.name)) throw DbError(f.name + u" alanı boş bırakılamaz."_s);
    const QString sql = cols.isEmpty() ? u"INSERT INTO "_s + d.tableName(def) + u" DEFAULT VALUES"_s
                                       : u"INSERT INTO "_s + d.tableName(def) + u" ("_s + cols.join(u", "_s)
                                             + u") VALUES ("_s + marks.join(u", "_s) + u")"_s;
    Sql q(db, sql + d.returningRowId());
    for (auto it = binds.cbegin(); it != binds.cend(); ++it) q.bind(it.key(), it.value());
    q.exec();
    return q.insertedRowId();
}

void updateRecord(Database& db, const QString& tableName, qint64 rowId, const QVariantMap& values)
{
    const TableDef& def = tableDef(tableName);
    db.checkAccess(def);
    const Dialect& d = db.dialect();
    QStringList sets;
    QVariantMap binds;
    int n = 0;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const FieldDef* f = def.field(it.key());
        if (!f) throw DbError(def.name + u".DB tablosunda alan yok: "_s + it.key());
        const QString mark = u"f"_s + QString::number(n++);
        sets << d.quote(f->name) + u" = :"_s + mark;
        binds.insert(mark, d.toDatabase(f->type, normalizeValue(*f, it.value())));
    }
    if (sets.isEmpty()) return;
    Sql q(db, u"UPDATE "_s + d.tableName(def) + u" SET "_s + sets.join(u", "_s) + u" WHERE "_s + d.rowId() + u" = :rid"_s);
    for (auto it = binds.cbegin(); it != binds.cend(); ++it) q.bind(it.key(), it.value());
    q.bind(u"rid"_s, rowId);
    q.exec();
}

}  // namespace selvar
