// selvar-db init|demo [PATH]: a new database with every table, or the demo pharmacy.
#include "data/alias.h"
#include "data/database.h"
#include "data/demo.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTextStream>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout), err(stderr);
    if (args.isEmpty() || (args[0] != u"init"_s && args[0] != u"demo"_s && args[0] != u"exists"_s)) {
        err << "usage: selvar-db init|demo|exists [PATH]\n";
        return 2;
    }
    const AliasConfig alias = args.size() > 1 ? AliasConfig::fromLocation(args[1]) : AliasConfig::resolve();
    try {
        if (args[0] == u"exists"_s) {
            if (alias.engine == AliasConfig::Engine::Sqlite && !QFile::exists(alias.database)) return 1;
            Database db(alias);
            return db.hasSchema() ? 0 : 1;
        }
        if (alias.engine == AliasConfig::Engine::Sqlite && QFile::exists(alias.database)) {
            // A fresh start: the old file and its WAL companions go.
            for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s}) QFile::remove(alias.database + suffix);
        }
        Database db(alias);
        db.createSchema();
        if (args[0] == u"demo"_s) fillDemoData(db, QDate::currentDate());
        out << (args[0] == u"demo"_s ? "demo database" : "empty database") << " created: " << alias.database << "\n";
        if (args[0] == u"demo"_s) out << "user " << DemoUser << ", password " << DemoPassword << "\n";
        return 0;
    } catch (const DbError& e) {
        err << e.message() << "\n";
        return 1;
    }
}
