#include "support/testdb.h"

#include "data/demo.h"
#include "data/sql.h"
#include "reports/demo_prescriptions.h"

#include <QCoreApplication>
#include <QDate>
#include <QUuid>

namespace selvar::test {
using namespace Qt::Literals::StringLiterals;

bool onPostgres() { return qEnvironmentVariable("SELVAR_TEST_ENGINE") == u"postgresql"_s; }

namespace {
QString serverUrl()
{
    const QString url = qEnvironmentVariable("SELVAR_TEST_PG");
    if (url.isEmpty())
        qFatal("SELVAR_TEST_ENGINE=postgresql needs SELVAR_TEST_PG, the URL of a test database "
               "(./selvar test starts a throwaway server and sets it)");
    return url;
}

QString withSchema(const QString& url, const QString& schema)
{
    return url + (url.contains(u'?') ? u'&' : u'?') + u"schema="_s + schema;
}
}  // namespace

TestDb::TestDb(bool demo)
{
    if (onPostgres()) {
        schema_ = u"t_"_s + QUuid::createUuid().toString(QUuid::Id128).left(16);
        location_ = withSchema(serverUrl(), schema_);
    } else {
        location_ = dir_.path() + u"/ecz.sqlite"_s;
    }
    db_ = std::make_unique<Database>(alias());
    db_->createSchema();
    if (demo) {
        fillDemoData(*db_, QDate(2026, 12, 9));
        addDemoPrescriptions(*db_, QDate(2026, 12, 9));
    }
}

TestDb::~TestDb()
{
    db_.reset();
    if (schema_.isEmpty()) return;
    try {
        Database admin(AliasConfig::fromLocation(serverUrl()));
        admin.execute(u"DROP SCHEMA IF EXISTS \""_s + schema_ + u"\" CASCADE"_s);
    } catch (const DbError& e) {
        qWarning("test schema %s left behind: %s", qPrintable(schema_), qPrintable(e.message()));
    }
}

AliasConfig TestDb::alias() const
{
    AliasConfig a = AliasConfig::fromLocation(location_);
    a.filesDir = dir_.path();  // text and dBASE files of the test stay in its own directory
    return a;
}

std::unique_ptr<Database> TestDb::second() const { return std::make_unique<Database>(alias()); }

std::unique_ptr<Transaction> holdCounters(Database& other)
{
    auto tx = std::make_unique<Transaction>(other);
    for (const char* counter : {"NEWSATIS", "NEWALIS", "HRKNOAL", "FATKAYIT", "RKAYIT"})
        Sql::run(other, u"SELECT * FROM "_s + QString::fromLatin1(counter) + other.dialect().forUpdate());
    return tx;
}

void makeUpdatesFail(Database& db, const QString& table, const QString& column)
{
    if (db.alias().engine == AliasConfig::Engine::Sqlite) {
        db.execute(u"CREATE TRIGGER no_update BEFORE UPDATE OF "_s + column + u" ON "_s + table
                   + u" BEGIN SELECT RAISE(ABORT, 'no update'); END"_s);
        return;
    }
    db.execute(u"CREATE FUNCTION no_update() RETURNS trigger LANGUAGE plpgsql AS "
               u"$$BEGIN RAISE EXCEPTION 'locked'; END$$"_s);
    db.execute(u"CREATE TRIGGER no_update BEFORE UPDATE OF "_s + column + u" ON "_s + table
               + u" FOR EACH ROW EXECUTE FUNCTION no_update()"_s);
}

void stopFailingUpdates(Database& db, const QString& table)
{
    if (db.alias().engine == AliasConfig::Engine::Sqlite) db.execute(u"DROP TRIGGER no_update"_s);
    else db.execute(u"DROP TRIGGER no_update ON "_s + table);
}

qint64 addProduct(Database& db, const QString& name, double price, int stock, const QString& barcode,
                  const QString& prescriptionCode, double vat)
{
    return Sql::insert(db,
                       u"INSERT INTO URUN (ILACAD, FIYAT, FIYATARIH, MIKTAR, ILACKOD, RECETEKOD, KDV) "
                       u"VALUES (:a, :f, :t, :m, :k, :r, :v)"_s,
                       {{u"a"_s, name}, {u"f"_s, price}, {u"t"_s, QDate(2026, 1, 1)}, {u"m"_s, stock},
                        {u"k"_s, barcode.isEmpty() ? QVariant() : QVariant(barcode)}, {u"r"_s, prescriptionCode},
                        {u"v"_s, vat}});
}

}  // namespace selvar::test
