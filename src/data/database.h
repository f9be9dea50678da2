#pragma once
// One connection to the database behind the alias: prepared statements, transactions,
// schema creation and the session passwords of protected tables.
#include "data/alias.h"
#include "data/dialect.h"
#include "data/errors.h"
#include "data/schema.h"

#include <QHash>
#include <unordered_map>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>
#include <vector>

namespace selvar {

class Database {
public:
    explicit Database(const AliasConfig& alias);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    static std::unique_ptr<Database> openAlias(const QString& alias = QStringLiteral("ECZ"));

    const AliasConfig& alias() const { return alias_; }
    const Dialect& dialect() const { return *dialect_; }
    QSqlDatabase handle() const { return QSqlDatabase::database(connection_, false); }
    QString filesDir() const { return alias_.filesDir; }
    QString connectionName() const { return connection_; }

    // Creates every table of the schema with its indexes and starting rows.
    void createSchema();
    // The secondary indexes a newer program version added, created on a database made by
    // an older one. A login that may not create them leaves them out: they only speed up.
    void ensureIndexes();
    // Text fields a newer version widened (the password's hash) are widened on a server
    // database made by an older one; SQLite keeps any length anyway.
    void ensureWidths();
    void createTable(const TableDef& t, bool replace);  // a working table: this connection's copy
    void dropAllTables();  // every shared table of the schema, with its rows
    void emptyTable(const QString& tableName);
    bool tableExists(const QString& tableName);
    bool hasSchema();  // every table of the schema is there

    // Runs statements without parameters (schema work, PRAGMAs).
    void execute(const QString& sql);

    // After the server connection was lost, the next statement outside a transaction
    // connects again; this workstation's working tables start empty then. Prepared
    // statements of the old connection are dropped: a cursor compares generations.
    void ensureOpen();
    quint64 generation() const { return generation_; }

    // Statements sent to the engine so far (preparing, running, BEGIN and COMMIT): on a
    // server each one is a round trip over the network.
    quint64 roundTrips() const { return roundTrips_; }
    void countRoundTrip() { ++roundTrips_; }

    // Transactions nest: only the outermost begins and commits; a failure inside any of
    // them rolls the whole one back. Beginning may throw LockHeld.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return depth_ > 0; }

    // Session passwords ("KORVENA") open the protected tables.
    void addPassword(const QString& password);
    void dropPasswords();
    bool hasPassword(const QString& password) const { return passwords_.contains(password); }
    void checkAccess(const TableDef& t) const;
    void checkSqlAccess(const QString& sql) const;

    // A prepared statement from the pool; released by Sql when it is done.
    QSqlQuery* acquire(const QString& sql);
    void release(QSqlQuery* q);

    [[noreturn]] void fail(const QSqlError& e, const QString& context);

private:
    void open();
    void reconnect();
    void createStatementsOf(const TableDef& t, bool privateCopy);
    void insertInitialRows(const TableDef& t);
    struct Pooled {
        std::unique_ptr<QSqlQuery> query;
        bool inUse = false;
        bool stale = false;  // made on a connection that has been replaced
        bool guarded = false;  // names a protected table
    };
    AliasConfig alias_;
    std::unique_ptr<Dialect> dialect_;
    QString connection_;
    std::unordered_map<QString, std::vector<Pooled>> pool_;
    QSet<QString> passwords_;
    int depth_ = 0;
    bool rollbackOnly_ = false;
    bool broken_ = false;
    quint64 generation_ = 0;
    quint64 roundTrips_ = 0;
};

// Commits at commit(); rolls back when it goes out of scope before that.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.begin(); }
    ~Transaction()
    {
        if (!done_) db_.rollback();
    }
    void commit()
    {
        done_ = true;
        db_.commit();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    bool done_ = false;
};

// The password that opens the protected user table.
inline const QString SessionPassword = QStringLiteral("KORVENA");

}  // namespace selvar
