#pragma once
// A fresh database for one test, on the engine the run names:
//   SELVAR_TEST_ENGINE  "sqlite" (default): a temporary SQLite file;
//                       "postgresql": a fresh schema in the database of SELVAR_TEST_PG
//                       (a postgresql:// URL), dropped afterwards.
#include "data/database.h"

#include <QTemporaryDir>
#include <memory>

namespace selvar::test {

bool onPostgres();  // the run's engine

class TestDb {
public:
    explicit TestDb(bool demo = false);
    ~TestDb();
    Database& db() { return *db_; }
    Database* operator->() { return db_.get(); }
    // Where another process finds the same database: a file path or a URL.
    QString path() const { return location_; }
    QString dir() const { return dir_.path(); }
    AliasConfig alias() const;
    // Another connection to the same database (another window, another workstation).
    std::unique_ptr<Database> second() const;

private:
    QTemporaryDir dir_;
    QString location_;
    QString schema_;
    std::unique_ptr<Database> db_;
};

// Holds the counter tables as another workstation in the middle of a recording does,
// until the returned transaction ends.
std::unique_ptr<Transaction> holdCounters(Database& other);

// From now on every UPDATE of the column fails inside the engine, until stopped.
void makeUpdatesFail(Database& db, const QString& table, const QString& column);
void stopFailingUpdates(Database& db, const QString& table);

// Appends a product and returns its ILACNO.
qint64 addProduct(Database& db, const QString& name, double price, int stock = 10, const QString& barcode = {},
                  const QString& prescriptionCode = QStringLiteral("N"), double vat = 8);

}  // namespace selvar::test
