#include "data/database.h"

#include "data/sql.h"

#include <QAtomicInt>
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
        const QFileInfo fi(alias_.database);
        QDir().mkpath(fi.absolutePath());
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(dialect_->driverName(), connection_);
    dialect_->configure(db, alias_);
    if (!db.open()) {
        const QSqlError e = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw DbError(u"Veritabanı açılamadı ("_s + alias_.database + u"): "_s + e.text());
    }
    for (const QString& s : dialect_->sessionSetup()) execute(s);
    // This workstation's own working tables.
    for (const TableDef& t : allTables())
        if (t.working) {
            createStatementsOf(t, true);
            insertInitialRows(t);
        }
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

void Database::fail(const QSqlError& e, const QString& context) const
{
    if (dialect_->isLockError(e))
        throw LockHeld(u"Diğer Kullanıcı Dosyaya Yazıyor."_s);
    if (dialect_->isKeyViolation(e))
        throw DbError(u"Anahtar ihlali: bu anahtarla bir kayıt zaten var ("_s + context + u")."_s);
    throw DbError(u"Veritabanı hatası: "_s + e.text() + u" ["_s + context + u"]"_s);
}

void Database::execute(const QString& sql)
{
    QSqlQuery q(handle());
    if (!q.exec(sql)) fail(q.lastError(), sql.left(200));
}

void Database::begin()
{
    if (depth_ == 0) {
        QSqlQuery q(handle());
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

void Database::checkSqlAccess(const QString& sql) const
{
    if (passwords_.contains(SessionPassword)) return;
    for (const TableDef& t : allTables()) {
        if (!t.isProtected) continue;
        const QRegularExpression word(u"\\b"_s + QRegularExpression::escape(t.name) + u"\\b"_s,
                                      QRegularExpression::CaseInsensitiveOption);
        if (word.match(sql).hasMatch()) throw DbError(t.name + u".DB tablosu için şifre gerekli."_s);
    }
}

QSqlQuery* Database::acquire(const QString& sql)
{
    auto& list = pool_[sql];
    for (Pooled& p : list)
        if (!p.inUse) {
            p.inUse = true;
            return p.query.get();
        }
    checkSqlAccess(sql);
    auto q = std::make_unique<QSqlQuery>(handle());
    q->setForwardOnly(true);
    if (!q->prepare(sql)) fail(q->lastError(), sql.left(200));
    list.push_back({std::move(q), true});
    return list.back().query.get();
}

void Database::release(QSqlQuery* q)
{
    q->finish();
    for (auto& [sqlText, list] : pool_)
        for (Pooled& p : list)
            if (p.query.get() == q) {
                p.inUse = false;
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
