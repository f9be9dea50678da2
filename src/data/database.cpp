#include "data/database.h"

#include "data/private_files.h"
#include "data/sql.h"

#include <QAtomicInt>
#include <QHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlRecord>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QAtomicInt connectionCounter;
}

Database::Database(const AliasConfig& alias) : alias_(alias), dialect_(makeDialect(alias.engine))
{
    // Another copy of this code in the same process (the companion library) counts from
    // one too: a name in use is skipped, never replaced.
    do connection_ = u"selvar-"_s + QString::number(connectionCounter.fetchAndAddRelaxed(1) + 1);
    while (QSqlDatabase::contains(connection_));
    if (alias_.engine == AliasConfig::Engine::Sqlite) {
        makePrivateDirectory(QFileInfo(alias_.database).absolutePath());
        // A new file is owner-only from its first byte; the engine gives its WAL and
        // shared-memory files the database file's mode.
        createPrivateFile(alias_.database);
    }
    makePrivateDirectory(alias_.filesDir);
    QSqlDatabase db = QSqlDatabase::addDatabase(dialect_->driverName(), connection_);
    dialect_->configure(db, alias_);
    try {
        open();
    } catch (...) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw;
    }
}

void Database::open()
{
    QSqlDatabase db = handle();
    if (!db.open())
        throw DbError(u"Veritabanı açılamadı ("_s + alias_.displayName() + u"): "_s + db.lastError().text());
    for (const QString& s : dialect_->sessionSetup(alias_)) execute(s);
    if (const QString ask = dialect_->sharedSchemaQuery(); !ask.isEmpty()) {
        QSqlQuery q(db);
        if (!q.exec(ask)) fail(q.lastError(), ask);
        if (!q.next() || q.isNull(0))
            throw DbError(u"Veritabanında tabloların yazılacağı bir şema yok ("_s + alias_.displayName() + u")."_s);
        // Turkish letters and the key order need UTF-8 on the server side too.
        if (q.value(1).toString().compare(u"UTF8"_s, Qt::CaseInsensitive) != 0)
            throw DbError(u"Veritabanı UTF8 kodlamalı olmalı ("_s + alias_.displayName() + u": "_s
                          + q.value(1).toString() + u")."_s);
        dialect_->setSharedSchema(q.value(0).toString());
    }
    // This workstation's own working tables.
    for (const TableDef& t : allTables())
        if (t.working) {
            createStatementsOf(t, true);
            insertInitialRows(t);
        }
}

void Database::reconnect()
{
    handle().close();
    for (auto& [sqlText, list] : pool_) {
        std::erase_if(list, [](const Pooled& p) { return !p.inUse; });
        for (Pooled& p : list) p.stale = true;
    }
    ++generation_;
    broken_ = false;
    try {
        open();
    } catch (...) {
        broken_ = true;  // still unreachable: the next statement tries again
        throw;
    }
}

void Database::ensureOpen()
{
    if (broken_ && depth_ == 0) reconnect();
}

Database::~Database()
{
    if (depth_ > 0) {
        QSqlQuery q(handle());
        q.exec(u"ROLLBACK"_s);
    }
    pool_.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

std::unique_ptr<Database> Database::openAlias(const QString& alias)
{
    return std::make_unique<Database>(AliasConfig::resolve(alias));
}

void Database::fail(const QSqlError& e, const QString& context)
{
    switch (dialect_->classify(e)) {
    case FailureKind::LockHeld: throw LockHeld(u"Diğer Kullanıcı Dosyaya Yazıyor."_s);
    case FailureKind::KeyViolation:
        throw DbError(u"Anahtar ihlali: bu anahtarla bir kayıt zaten var ("_s + context + u")."_s);
    case FailureKind::WriteConflict:
        throw WriteConflict(u"Diğer Kullanıcı aynı kayıtlara yazıyor; işlem geri alındı, yeniden deneyin."_s);
    case FailureKind::ConnectionLost:
        broken_ = true;
        throw ConnectionLost(u"Veritabanı sunucusuyla bağlantı koptu. Son işlem kaydedilmedi; sunucu "
                             u"açıldığında işlemi yeniden yapın (ekrandaki çalışma listesi boşalır)."_s);
    case FailureKind::Other: break;
    }
    throw DbError(u"Veritabanı hatası: "_s + e.text() + u" ["_s + context + u"]"_s);
}

void Database::execute(const QString& sql)
{
    ensureOpen();
    QSqlQuery q(handle());
    ++roundTrips_;
    if (!q.exec(sql)) fail(q.lastError(), sql.left(200));
}

void Database::begin()
{
    if (depth_ == 0) {
        ensureOpen();
        QSqlQuery q(handle());
        ++roundTrips_;
        if (!q.exec(dialect_->beginWrite())) fail(q.lastError(), u"BEGIN"_s);
        rollbackOnly_ = false;
    }
    ++depth_;
}

void Database::commit()
{
    if (depth_ <= 0) throw DbError(u"Açık işlem (transaction) yok."_s);
    if (--depth_ > 0) return;
    QSqlQuery q(handle());
    if (rollbackOnly_) {
        q.exec(u"ROLLBACK"_s);
        rollbackOnly_ = false;
        throw DbError(u"İşlem geri alındı; kayıt yapılmadı."_s);
    }
    ++roundTrips_;
    if (!q.exec(u"COMMIT"_s)) {
        const QSqlError e = q.lastError();
        QSqlQuery r(handle());
        r.exec(u"ROLLBACK"_s);
        fail(e, u"COMMIT"_s);
    }
}

void Database::rollback()
{
    if (depth_ <= 0) return;
    if (--depth_ > 0) {
        rollbackOnly_ = true;
        return;
    }
    rollbackOnly_ = false;
    // Statements still stepping would keep the transaction open.
    for (auto& [sqlText, list] : pool_)
        for (Pooled& p : list)
            if (!p.inUse) p.query->finish();
    QSqlQuery q(handle());
    q.exec(u"ROLLBACK"_s);
}

void Database::addPassword(const QString& password) { passwords_.insert(password); }

void Database::dropPasswords() { passwords_.clear(); }

void Database::checkAccess(const TableDef& t) const
{
    if (t.isProtected && !passwords_.contains(SessionPassword))
        throw DbError(t.name + u".DB tablosu için şifre gerekli."_s);
}

namespace {
// The protected table a statement names, if any.
const TableDef* protectedTableIn(const QString& sql)
{
    for (const TableDef& t : allTables()) {
        if (!t.isProtected) continue;
        const QRegularExpression word(u"\\b"_s + QRegularExpression::escape(t.name) + u"\\b"_s,
                                      QRegularExpression::CaseInsensitiveOption);
        if (word.match(sql).hasMatch()) return &t;
    }
    return nullptr;
}
}  // namespace

void Database::checkSqlAccess(const QString& sql) const
{
    if (passwords_.contains(SessionPassword)) return;
    if (const TableDef* t = protectedTableIn(sql)) throw DbError(t->name + u".DB tablosu için şifre gerekli."_s);
}

QSqlQuery* Database::acquire(const QString& sql)
{
    ensureOpen();
    auto& list = pool_[sql];
    for (Pooled& p : list)
        if (!p.inUse && !p.stale) {
            // A statement on a protected table stays closed once the password is dropped.
            if (p.guarded) checkSqlAccess(sql);
            p.inUse = true;
            return p.query.get();
        }
    checkSqlAccess(sql);
    auto q = std::make_unique<QSqlQuery>(handle());
    q->setForwardOnly(dialect_->forwardOnlyResults());
    ++roundTrips_;
    if (!q->prepare(sql)) fail(q->lastError(), sql.left(200));
    list.push_back({std::move(q), true, false, protectedTableIn(sql) != nullptr});
    return list.back().query.get();
}

void Database::release(QSqlQuery* q)
{
    q->finish();
    for (auto& [sqlText, list] : pool_)
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->query.get() == q) {
                if (it->stale) list.erase(it);
                else it->inUse = false;
                return;
            }
}

void Database::createStatementsOf(const TableDef& t, bool privateCopy)
{
    for (const QString& s : dialect_->createStatements(t, privateCopy)) execute(s);
}

void Database::insertInitialRows(const TableDef& t)
{
    for (const QVariantMap& row : t.initialRows) {
        QStringList cols, marks;
        for (auto it = row.begin(); it != row.end(); ++it) {
            cols << dialect_->quote(t.field(it.key())->name);
            marks << u":"_s + it.key();
        }
        QString sql = cols.isEmpty() ? u"INSERT INTO "_s + dialect_->tableName(t) + u" DEFAULT VALUES"_s
                                     : u"INSERT INTO "_s + dialect_->tableName(t) + u" ("_s + cols.join(u',')
                                           + u") VALUES ("_s + marks.join(u',') + u')';
        Sql ins(*this, sql);
        for (auto it = row.begin(); it != row.end(); ++it)
            ins.bind(it.key(), dialect_->toDatabase(t.field(it.key())->type, it.value()));
        ins.exec();
    }
}

void Database::createTable(const TableDef& t, bool replace)
{
    Transaction tx(*this);
    if (t.working) {
        // Recreating a working table recreates this connection's copy.
        execute(dialect_->dropStatement(t));
        createStatementsOf(t, true);
    } else {
        if (replace) execute(dialect_->dropStatement(t));
        createStatementsOf(t, false);
    }
    insertInitialRows(t);
    tx.commit();
}

void Database::createSchema()
{
    // The shared file holds every table, the working ones too, so the schema is complete
    // for every tool; the program itself uses each connection's copies of those.
    Transaction tx(*this);
    for (const TableDef& t : allTables())
        if (!tableExists(t.name)) {
            createStatementsOf(t, false);
            if (!t.working) insertInitialRows(t);
        }
    tx.commit();
}

void Database::ensureIndexes()
{
    for (const TableDef& t : allTables()) {
        if (t.working || !tableExists(t.name)) continue;
        for (const QString& s : dialect_->createStatements(t, false)) {
            if (!s.contains(u"INDEX IF NOT EXISTS"_s)) continue;
            try {
                execute(s);
            } catch (const DbError&) {
                // Not the owner of the table on a shared server: the index waits for one who is.
            }
        }
    }
}

void Database::ensureWidths()
{
    if (alias().engine != AliasConfig::Engine::PostgreSql) return;
    QHash<QString, int> widths;  // "table.column" in lower case -> its length on the server
    {
        Sql q(*this, u"SELECT table_name, column_name, character_maximum_length FROM information_schema.columns "
                     u"WHERE table_schema = current_schema() AND character_maximum_length IS NOT NULL"_s);
        q.exec();
        while (q.next()) widths.insert((q.text(0) + u'.' + q.text(1)).toLower(), int(q.integer(2)));
    }
    for (const TableDef& t : allTables()) {
        if (t.working) continue;
        for (const FieldDef& f : t.fields) {
            if (f.type != FieldType::Alpha) continue;
            const auto it = widths.constFind((t.name + u'.' + f.name).toLower());
            if (it == widths.constEnd() || *it >= f.width) continue;
            try {
                execute(u"ALTER TABLE "_s + dialect_->tableName(t) + u" ALTER COLUMN "_s + dialect_->quote(f.name)
                        + u" TYPE varchar("_s + QString::number(f.width) + u") COLLATE \"C\""_s);
            } catch (const DbError&) {
                // Not the owner of the table on a shared server: the owner's start widens it.
            }
        }
    }
}

void Database::dropAllTables()
{
    Transaction tx(*this);
    for (TableDef t : allTables()) {
        t.working = false;  // the shared table, not this connection's copy
        execute(dialect_->dropStatement(t));
    }
    tx.commit();
}

bool Database::tableExists(const QString& tableName)
{
    const QString name = findTable(tableName) ? findTable(tableName)->name : tableName;
    return !Sql::scalar(*this, dialect_->tableExistsSql(), {{u"t"_s, name}}).isNull();
}

bool Database::hasSchema()
{
    for (const TableDef& t : allTables())
        if (!tableExists(t.name)) return false;
    return true;
}

void Database::emptyTable(const QString& tableName)
{
    const TableDef& t = tableDef(tableName);
    checkAccess(t);
    execute(u"DELETE FROM "_s + dialect_->tableName(t));
}

}  // namespace selvar
