// selvar-db: setting up the database behind the alias ECZ.
//   init [LOCATION] [--replace]           a new database with every table
//   demo [LOCATION] [--replace]           the same, filled with the demo pharmacy
//   exists [LOCATION]                     exit 0 when the database has every table
//   copy SOURCE TARGET [--replace]        every table and row from one database into another, verified
//   alias LOCATION [FILES]                point the alias ECZ at a database (and a files directory)
//   backup [DEST]                         a checked copy of the alias's database into DEST (default: its backup directory)
//   restore BACKUP [TARGET] [--replace]   a backup put back and verified
//   import-paradox DIR [TARGET] [--replace]  the old program's Paradox tables of DIR
// LOCATION is a SQLite file path or a postgresql:// URL; without it the alias ECZ's.
// A database that already holds data is only written over with --replace.
#include "data/alias.h"
#include "data/backup.h"
#include "data/database.h"
#include "data/demo.h"
#include "data/paradox_import.h"
#include "data/transfer.h"
#include "exchange/demo_exchanges.h"
#include "invoicing/demo_invoices.h"
#include "prescriptions/demo_repricing.h"
#include "purchasing/demo_purchases.h"
#include "reports/demo_prescriptions.h"
#include "reports/demo_reports.h"
#include "sales/sold_boxes.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {

QTextStream out(stdout), err(stderr);

int usage()
{
    err << "usage: selvar-db init|demo [LOCATION] [--replace]\n"
           "       selvar-db exists [LOCATION]\n"
           "       selvar-db copy SOURCE TARGET [--replace]\n"
           "       selvar-db alias LOCATION [FILES]\n"
           "       selvar-db backup [DEST]\n"
           "       selvar-db restore BACKUP [TARGET] [--replace]\n"
           "       selvar-db import-paradox DIR [TARGET] [--replace]\n";
    return 2;
}

AliasConfig locationOrAlias(const QStringList& args, int i)
{
    return args.size() > i ? AliasConfig::fromLocation(args[i]) : AliasConfig::resolve();
}

void refuseIfHoldingData(Database& db, const AliasConfig& alias)
{
    const QStringList holding = tablesHoldingData(db);
    if (!holding.isEmpty())
        throw DbError(alias.displayName() + u" kayıt içeriyor ("_s + holding.mid(0, 5).join(u", "_s)
                      + u"); silip yeniden kurmak için --replace verin."_s);
}

int create(const QString& what, const AliasConfig& alias, bool replace)
{
    if (alias.engine == AliasConfig::Engine::Sqlite && QFile::exists(alias.database)) {
        {
            Database existing(alias);
            if (!replace) refuseIfHoldingData(existing, alias);
        }
        // A fresh start: the old file and its WAL companions go.
        for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s}) QFile::remove(alias.database + suffix);
    }
    createServerDatabaseIfMissing(alias);
    Database db(alias);
    if (alias.engine == AliasConfig::Engine::PostgreSql) {
        if (!replace) refuseIfHoldingData(db, alias);
        db.dropAllTables();
    }
    db.createSchema();
    if (what == u"demo"_s) {
        fillDemoData(db, QDate::currentDate());
        addDemoPrescriptions(db, QDate::currentDate());
        addDemoRepricing(db, QDate::currentDate());
        addDemoInvoices(db, QDate::currentDate());
        addDemoSskInvoices(db, QDate::currentDate());
        addDemoPurchases(db, QDate::currentDate());
        addDemoExchanges(db, QDate::currentDate());
        addDemoReports(db, QDate::currentDate());
        addDemoMovementHistory(db, QDate::currentDate());
        addDemoBoxes(db);
    }
    out << (what == u"demo"_s ? "demo database" : "empty database") << " created: " << alias.displayName() << "\n";
    if (what == u"demo"_s) out << "user " << DemoUser << ", password " << DemoPassword << "\n";
    return 0;
}

int copy(const AliasConfig& from, const AliasConfig& to, bool replace)
{
    if (from.engine == AliasConfig::Engine::Sqlite && !QFile::exists(from.database))
        throw DbError(u"Kaynak veritabanı yok: "_s + from.displayName());
    Database source(from);
    createServerDatabaseIfMissing(to);
    Database target(to);
    out << "copying " << from.displayName() << " -> " << to.displayName() << "\n";
    out.flush();
    const CopyReport report = copyDatabase(source, target, replace);
    for (const QString& line : report.lines()) out << line << "\n";
    return report.ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool replace = args.removeAll(u"--replace"_s) > 0;
    if (args.isEmpty()) return usage();
    const QString command = args[0];
    try {
        if (command == u"exists"_s) {
            const AliasConfig alias = locationOrAlias(args, 1);
            if (alias.engine == AliasConfig::Engine::Sqlite && !QFile::exists(alias.database)) return 1;
            Database db(alias);
            return db.hasSchema() ? 0 : 1;
        }
        if (command == u"init"_s || command == u"demo"_s) return create(command, locationOrAlias(args, 1), replace);
        if (command == u"copy"_s) {
            if (args.size() != 3) return usage();
            return copy(AliasConfig::fromLocation(args[1]), AliasConfig::fromLocation(args[2]), replace);
        }
        if (command == u"alias"_s) {
            if (args.size() < 2 || args.size() > 3) return usage();
            AliasConfig::store(u"ECZ"_s, args[1], args.value(2));
            out << "alias ECZ -> " << withoutPassword(args[1]) << " (" << AliasConfig::aliasFilePath() << ")\n";
            return 0;
        }
        if (command == u"backup"_s) {
            if (args.size() > 2) return usage();
            const AliasConfig alias = AliasConfig::resolve();
            const BackupInfo info = backupDatabase(alias, args.size() > 1 ? args[1] : alias.backupDir,
                                                   QDateTime::currentDateTime());
            for (const QString& line : info.lines()) out << line << "\n";
            return 0;
        }
        if (command == u"import-paradox"_s) {
            if (args.size() < 2 || args.size() > 3) return usage();
            if (!QFileInfo(args[1]).isDir()) throw DbError(u"Klasör bulunamadı: "_s + args[1]);
            const AliasConfig alias = locationOrAlias(args, 2);
            createServerDatabaseIfMissing(alias);
            Database db(alias);
            if (!db.hasSchema()) db.createSchema();
            out << "importing " << args[1] << " -> " << alias.displayName() << "\n";
            out.flush();
            const ParadoxImportReport report = importParadoxDirectory(args[1], db, replace, [](const QString& line) {
                out << line << "\n";
                out.flush();
            });
            for (const QString& line : report.lines()) out << line << "\n";
            return report.ok() ? 0 : 1;
        }
        if (command == u"restore"_s) {
            if (args.size() < 2 || args.size() > 3) return usage();
            const RestoreReport report = restoreDatabase(args[1], locationOrAlias(args, 2), replace);
            for (const QString& line : report.lines) out << line << "\n";
            return report.ok ? 0 : 1;
        }
        return usage();
    } catch (const DbError& e) {
        err << e.message() << "\n";
        return 1;
    }
}
