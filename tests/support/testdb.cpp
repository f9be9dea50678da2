#include "support/testdb.h"

#include "data/demo.h"
#include "data/sql.h"

#include <QDate>

namespace selvar::test {
using namespace Qt::Literals::StringLiterals;

TestDb::TestDb(bool demo)
{
    path_ = dir_.path() + u"/ecz.sqlite"_s;
    db_ = std::make_unique<Database>(AliasConfig::forSqliteFile(path_));
    db_->createSchema();
    if (demo) fillDemoData(*db_, QDate(2026, 12, 9));
}

std::unique_ptr<Database> TestDb::second() const
{
    return std::make_unique<Database>(AliasConfig::forSqliteFile(path_));
}

qint64 addProduct(Database& db, const QString& name, double price, int stock, const QString& barcode,
                  const QString& prescriptionCode, double vat)
{
    Sql q(db, u"INSERT INTO URUN (ILACAD, FIYAT, FIYATARIH, MIKTAR, ILACKOD, RECETEKOD, "
              u"KDV) VALUES (:a, :f, :t, :m, :k, :r, :v)"_s);
    q.bind(u"a"_s, name).bind(u"f"_s, price).bind(u"t"_s, QDate(2026, 1, 1)).bind(u"m"_s, stock);
    q.bind(u"k"_s, barcode.isEmpty() ? QVariant() : QVariant(barcode));
    q.bind(u"r"_s, prescriptionCode).bind(u"v"_s, vat);
    q.exec();
    return q.lastInsertId().toLongLong();
}

}  // namespace selvar::test
