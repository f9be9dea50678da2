#include "data/transfer.h"

#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

// The shared tables that hold a pharmacy's data: the working tables are each
// workstation's own scratch copies and stay behind.
std::vector<const TableDef*> sharedTables()
{
    std::vector<const TableDef*> r;
    for (const TableDef& t : allTables())
        if (!t.working) r.push_back(&t);
    return r;
}

QString selectAll(Database& db, const TableDef& t)
{
    const Dialect& d = db.dialect();
    QStringList cols;
    for (const FieldDef& f : t.fields) cols << d.quote(f.name);
    return u"SELECT "_s + cols.join(u", "_s) + u" FROM "_s + d.tableName(t) + u" ORDER BY "_s + d.rowId();
}

// One value as its field stores it, in a text both engines agree on.
QString canonical(const FieldDef& f, const QVariant& v)
{
    if (v.isNull()) return u"\\N"_s;
    switch (f.type) {
    case FieldType::Alpha:
    case FieldType::Memo: return v.toString();
    case FieldType::Long:
    case FieldType::Short:
    case FieldType::AutoInc: return QString::number(v.toLongLong());
    case FieldType::Number:
    case FieldType::Money: return QString::number(v.toDouble(), 'g', 17);
    case FieldType::Date: return isoDate(v.toDate());
    case FieldType::Timestamp: return isoStamp(v.toDateTime());
    case FieldType::Logical: return v.toBool() ? u"1"_s : u"0"_s;
    }
    return v.toString();
}

// Rows read through the engine's own conversions, one at a time.
template <typename F>
void forEachRow(Database& db, const TableDef& t, F&& onRow)
{
    Sql q(db, selectAll(db, t));
    q.exec();
    QVariantList row(t.fields.size());
    while (q.next()) {
        for (int i = 0; i < t.fields.size(); ++i) row[i] = db.dialect().fromDatabase(t.fields[i].type, q.value(i));
        onRow(row);
    }
}

class Checksum {
public:
    void add(const TableDef& t, const QVariantList& row)
    {
        QString line;
        for (int i = 0; i < t.fields.size(); ++i) {
            if (i) line += QChar(0x1F);
            line += canonical(t.fields[i], row[i]);
        }
        line += QChar(0x1E);
        hash_.addData(line.toUtf8());
        ++rows_;
    }
    qint64 rows() const { return rows_; }
    QString sum() { return QString::fromLatin1(hash_.result().toHex().left(16)); }

private:
    QCryptographicHash hash_{QCryptographicHash::Sha256};
    qint64 rows_ = 0;
};

TableCheck checkTable(Database& a, Database& b, const TableDef& t)
{
    TableCheck c;
    c.table = t.name;
    Checksum sa, sb;
    if (a.tableExists(t.name)) forEachRow(a, t, [&](const QVariantList& row) { sa.add(t, row); });
    if (b.tableExists(t.name)) forEachRow(b, t, [&](const QVariantList& row) { sb.add(t, row); });
    c.sourceRows = sa.rows();
    c.targetRows = sb.rows();
    c.sourceSum = sa.sum();
    c.targetSum = sb.sum();
    return c;
}

// Both connections may read the protected tables while the copy runs.
class Passwords {
public:
    explicit Passwords(std::initializer_list<Database*> dbs)
    {
        for (Database* db : dbs)
            if (!db->hasPassword(SessionPassword)) {
                db->addPassword(SessionPassword);
                added_.push_back(db);
            }
    }
    ~Passwords()
    {
        for (Database* db : added_) db->dropPasswords();
    }

private:
    std::vector<Database*> added_;
};

// Rows go in many at a time: a workstation on a network pays for every statement.
class BatchInsert {
public:
    BatchInsert(Database& db, const TableDef& t) : db_(db), t_(t)
    {
        perStatement_ = std::max(1, std::min(200, 30000 / int(t.fields.size())));
    }
    void add(const QVariantList& row)
    {
        pending_.push_back(row);
        if (int(pending_.size()) == perStatement_) flush();
    }
    void flush()
    {
        if (pending_.empty()) return;
        const Dialect& d = db_.dialect();
        QStringList cols;
        for (const FieldDef& f : t_.fields) cols << d.quote(f.name);
        QStringList tuples;
        for (size_t r = 0; r < pending_.size(); ++r) {
            QStringList marks;
            for (int i = 0; i < t_.fields.size(); ++i) marks << u":v"_s + QString::number(r) + u'_' + QString::number(i);
            tuples << u'(' + marks.join(u',') + u')';
        }
        Sql q(db_, u"INSERT INTO "_s + d.tableName(t_) + u" ("_s + cols.join(u", "_s) + u") VALUES "_s
                       + tuples.join(u", "_s));
        for (size_t r = 0; r < pending_.size(); ++r)
            for (int i = 0; i < t_.fields.size(); ++i)
                q.bind(u"v"_s + QString::number(r) + u'_' + QString::number(i),
                       d.toDatabase(t_.fields[i].type, pending_[r][i]));
        q.exec();
        pending_.clear();
    }

private:
    Database& db_;
    const TableDef& t_;
    int perStatement_ = 1;
    std::vector<QVariantList> pending_;
};

}  // namespace

bool CopyReport::ok() const
{
    return std::all_of(tables.begin(), tables.end(), [](const TableCheck& c) { return c.ok(); });
}

QStringList CopyReport::lines() const
{
    QStringList r;
    r << u"Tablo          Kaynak    Hedef  Sağlama           Sonuç"_s;
    qint64 rows = 0;
    for (const TableCheck& c : tables) {
        rows += c.targetRows;
        r << c.table.leftJustified(12) + QString::number(c.sourceRows).rightJustified(9)
                 + QString::number(c.targetRows).rightJustified(9) + u"  "_s + c.targetSum.leftJustified(16) + u"  "_s
                 + (c.ok() ? u"doğrulandı"_s : u"FARKLI (kaynak "_s + c.sourceSum + u')');
    }
    if (cutValues > 0)
        r << QString::number(cutValues) + u" metin alan genişliğine kısaltıldı (hedefte öyle saklanır)."_s;
    const qint64 bad = std::count_if(tables.begin(), tables.end(), [](const TableCheck& c) { return !c.ok(); });
    r << (bad == 0 ? QString::number(tables.size()) + u" tablo, "_s + QString::number(rows)
                         + u" satır kopyalandı ve doğrulandı."_s
                   : QString::number(bad) + u" tablo doğrulanamadı."_s);
    return r;
}

QStringList tablesHoldingData(Database& db)
{
    Passwords open{&db};
    QStringList r;
    for (const TableDef* t : sharedTables()) {
        if (!db.tableExists(t->name)) continue;
        const qint64 n = Sql::scalar(db, u"SELECT COUNT(*) FROM "_s + db.dialect().tableName(*t)).toLongLong();
        if (n > t->initialRows.size()) r << t->name;
    }
    return r;
}

CopyReport copyDatabase(Database& source, Database& target, bool replace,
                        const std::function<void(const QString&)>& progress)
{
    Passwords open{&source, &target};
    target.createSchema();
    const QStringList holding = tablesHoldingData(target);
    if (!holding.isEmpty() && !replace)
        throw DbError(u"Hedef veritabanında kayıt var ("_s + holding.mid(0, 5).join(u", "_s)
                      + (holding.size() > 5 ? u", ..."_s : QString())
                      + u"); üzerine yazmak için --replace verin."_s);
    CopyReport report;
    {
        Transaction tx(target);
        for (const TableDef* t : sharedTables()) {
            if (progress) progress(t->name);
            if (!source.tableExists(t->name)) continue;  // an older database: the new one keeps its start
            target.emptyTable(t->name);
            BatchInsert out(target, *t);
            forEachRow(source, *t, [&](QVariantList row) {
                for (int i = 0; i < t->fields.size(); ++i) {
                    const QVariant kept = normalizeValue(t->fields[i], row[i]);
                    if (t->fields[i].type == FieldType::Alpha && !row[i].isNull()
                        && row[i].toString().size() > t->fields[i].width)
                        ++report.cutValues;
                    row[i] = kept;
                }
                out.add(row);
            });
            out.flush();
            for (const QString& s : target.dialect().afterExplicitKeys(*t)) Sql::run(target, s);
        }
        tx.commit();
    }
    for (const QString& s : target.dialect().afterBulkLoad()) target.execute(s);
    report.tables = compareDatabases(source, target);
    return report;
}

std::vector<TableCheck> compareDatabases(Database& a, Database& b)
{
    Passwords open{&a, &b};
    std::vector<TableCheck> r;
    for (const TableDef* t : sharedTables()) {
        TableCheck c = checkTable(a, b, *t);
        r.push_back(c);
    }
    return r;
}

namespace {
// Opens a bare connection (no working tables), runs `work` on it and closes it; the
// error text of a failed opening when it cannot connect.
QString withServerConnection(const AliasConfig& alias, const std::function<QString(QSqlDatabase&)>& work)
{
    const std::unique_ptr<Dialect> d = makeDialect(alias.engine);
    const QString name = u"selvar-admin-"_s + QUuid::createUuid().toString(QUuid::Id128);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(d->driverName(), name);
        d->configure(db, alias);
        failure = db.open() ? work(db) : u"connect: "_s + db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}
}  // namespace

void createServerDatabaseIfMissing(const AliasConfig& alias)
{
    if (alias.engine != AliasConfig::Engine::PostgreSql) return;
    // A database that lets us in exists: a login without access to the server's own
    // maintenance database is enough then.
    const QString direct = withServerConnection(alias, [](QSqlDatabase&) { return QString(); });
    if (direct.isEmpty()) return;
    AliasConfig admin = alias;
    admin.server.database = u"postgres"_s;
    const QString failure = withServerConnection(admin, [&](QSqlDatabase& db) -> QString {
        QSqlQuery q(db);
        q.prepare(u"SELECT 1 FROM pg_database WHERE datname = :n"_s);
        q.bindValue(u":n"_s, alias.server.database);
        if (!q.exec()) return q.lastError().text();
        if (q.next()) return u"connect: "_s;  // it is there but refuses us: its own answer says why
        QString quoted = alias.server.database;
        quoted.replace(u'"', u"\"\""_s);
        // The key order is the program's own, so the database needs no locale.
        if (!q.exec(u"CREATE DATABASE \""_s + quoted + u"\" TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'"_s))
            return q.lastError().text();
        return {};
    });
    if (failure.isEmpty()) return;
    if (failure.startsWith(u"connect: "_s))  // the server's answer to the database itself says most
        throw DbError(u"Veritabanı açılamadı ("_s + alias.displayName() + u"): "_s + direct.mid(9));
    throw DbError(u"Veritabanı "_s + alias.server.database + u" oluşturulamadı: "_s + failure);
}

}  // namespace selvar
