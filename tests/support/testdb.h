#pragma once
// A fresh database for one test: a temporary SQLite file with every table.
#include "data/database.h"

#include <QTemporaryDir>
#include <memory>

namespace selvar::test {

class TestDb {
public:
    explicit TestDb(bool demo = false);
    Database& db() { return *db_; }
    Database* operator->() { return db_.get(); }
    QString path() const { return path_; }
    QString dir() const { return dir_.path(); }
    // Another connection to the same file (another window, another workstation).
    std::unique_ptr<Database> second() const;

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<Database> db_;
};

// Appends a product and returns its ILACNO.
qint64 addProduct(Database& db, const QString& name, double price, int stock = 10, const QString& barcode = {},
                  const QString& prescriptionCode = QStringLiteral("N"), double vat = 8);

}  // namespace selvar::test
