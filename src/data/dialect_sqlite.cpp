#include "data/dialect.h"
#include "data/errors.h"

#include <QDate>
#include <QDateTime>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

class SqliteDialect final : public Dialect {
public:
    AliasConfig::Engine engine() const override { return AliasConfig::Engine::Sqlite; }
    QString driverName() const override { return u"QSQLITE"_s; }

    void configure(QSqlDatabase& db, const AliasConfig& alias) const override
    {
        db.setDatabaseName(alias.database);
        const QByteArray timeout = qgetenv("SELVAR_LOCK_WAIT_MS");
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT="_s + (timeout.isEmpty() ? u"2500"_s : QString::fromLatin1(timeout)));
    }

    QStringList sessionSetup(const AliasConfig&) const override
    {
        return {u"PRAGMA journal_mode=WAL"_s, u"PRAGMA synchronous=FULL"_s, u"PRAGMA foreign_keys=OFF"_s};
    }

    QString quote(const QString& identifier) const override { return u'"' + identifier + u'"'; }

    QString columnType(const FieldDef& f) const
    {
        switch (f.type) {
        case FieldType::Alpha: return u"VARCHAR("_s + QString::number(f.width) + u')';
        case FieldType::Long: return u"INTEGER"_s;
        case FieldType::Short: return u"SMALLINT"_s;
        case FieldType::AutoInc: return u"INTEGER"_s;
        case FieldType::Number: return u"DOUBLE"_s;
        case FieldType::Money: return u"DOUBLE"_s;
        case FieldType::Date: return u"DATE"_s;
        case FieldType::Timestamp: return u"TIMESTAMP"_s;
        case FieldType::Logical: return u"BOOLEAN"_s;
        case FieldType::Memo: return u"TEXT"_s;
        }
        return u"TEXT"_s;
    }

    QString tableExistsSql() const override
    {
        return u"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = :t COLLATE NOCASE"_s;
    }

    QStringList createStatements(const TableDef& t, bool privateCopy) const override
    {
        const FieldDef* rowIdField = t.rowIdField();
        // Shared tables are named in main, a connection's own copies in temp, so the one
        // never hides the other while they are made.
        const QString schema = privateCopy ? u"temp."_s : u"main."_s;
        QString sql = u"CREATE TABLE "_s + schema + tableName(t) + u" ("_s;
        if (!t.note.isEmpty()) sql += u"  -- "_s + t.note;
        sql += u'\n';
        for (int i = 0; i < t.fields.size(); ++i) {
            const FieldDef& f = t.fields[i];
            QString line = u"  "_s + quote(f.name) + u' ' + columnType(f);
            if (&f == rowIdField) line += u" PRIMARY KEY AUTOINCREMENT"_s;
            if (f.required) line += u" NOT NULL"_s;
            if (i + 1 < t.fields.size()) line += u',';
            line += u"  -- "_s + fieldTypeText(f);
            if (f.required) line += u", required"_s;
            if (!f.note.isEmpty()) line += u"; "_s + f.note;
            sql += line + u'\n';
        }
        sql += u')';
        QStringList out{sql};
        auto indexSql = [&](const QString& name, const QStringList& fields, bool unique) {
            QStringList terms;
            for (const QString& fn : fields) terms << keyExpression(*t.field(fn));
            return u"CREATE "_s + (unique ? u"UNIQUE "_s : QString()) + u"INDEX IF NOT EXISTS "_s + schema
                   + quote(t.name + u'_' + name) + u" ON "_s + tableName(t) + u" ("_s + terms.join(u", "_s) + u')';
        };
        if (!t.primaryKey.isEmpty() && !rowIdField) out << indexSql(u"PK"_s, t.primaryKey, true);
        for (const IndexDef& i : t.indexes) out << indexSql(i.name, i.fields, i.unique);
        return out;
    }

    QString dropStatement(const TableDef& t) const override
    {
        return (t.working ? u"DROP TABLE IF EXISTS temp."_s : u"DROP TABLE IF EXISTS main."_s) + tableName(t);
    }

    QStringList afterExplicitKeys(const TableDef&) const override { return {}; }  // AUTOINCREMENT follows by itself
    QStringList afterBulkLoad() const override { return {u"ANALYZE"_s}; }

    QString returningRowId() const override { return {}; }
    QString forUpdate() const override { return {}; }  // the write transaction holds the whole file
    // Dates and date-times are ISO texts here.
    QString isoDay(const QString& column) const override { return u"substr("_s + column + u", 1, 10)"_s; }
    QString isoMonth(const QString& column) const override { return u"substr("_s + column + u", 1, 7)"_s; }

    QString keyExpression(const FieldDef& f) const override
    {
        return f.isText() ? sortKeySql(quote(f.name)) : quote(f.name);
    }

    QString orderTerm(const QString& expression, bool descending) const override
    {
        return descending ? expression + u" DESC"_s : expression;
    }

    QVariant readValue(const QVariant& v) const override { return v; }
    QVariant logicalValue(bool b) const override { return QVariant(b ? 1 : 0); }

    bool forwardOnlyResults() const override { return true; }
    QString beginWrite() const override { return u"BEGIN IMMEDIATE"_s; }

    FailureKind classify(const QSqlError& e) const override
    {
        const int primary = e.nativeErrorCode().toInt() & 0xff;
        if (primary == 5 || primary == 6 || e.databaseText().contains(u"locked"_s)) return FailureKind::LockHeld;
        if (primary == 19 && e.databaseText().contains(u"UNIQUE"_s)) return FailureKind::KeyViolation;
        return FailureKind::Other;
    }
};

}  // namespace

std::unique_ptr<Dialect> makeSqliteDialect() { return std::make_unique<SqliteDialect>(); }

}  // namespace selvar
