// The data layer names its connections "selvar-1", "selvar-2", ... from a counter of its
// own. This library carries its own copy of that layer, whose counter starts again at
// every load, so its first connection would take the name of the program's first one,
// and Qt replaces a connection registered under a name already in use. The linker sends
// the layer's registrations through these wrappers (see CMakeLists.txt), which keep the
// library's connections under names of their own.
#include <QSqlDatabase>
#include <QString>

namespace {
QString ownName(const QString& name) { return QStringLiteral("ortakdlg:") + name; }
}  // namespace

extern "C" {
QSqlDatabase __real__ZN12QSqlDatabase11addDatabaseERK7QStringS2_(const QString& type, const QString& name);
QSqlDatabase __real__ZN12QSqlDatabase8databaseERK7QStringb(const QString& name, bool open);
void __real__ZN12QSqlDatabase14removeDatabaseERK7QString(const QString& name);

QSqlDatabase __wrap__ZN12QSqlDatabase11addDatabaseERK7QStringS2_(const QString& type, const QString& name)
{
    return __real__ZN12QSqlDatabase11addDatabaseERK7QStringS2_(type, ownName(name));
}

QSqlDatabase __wrap__ZN12QSqlDatabase8databaseERK7QStringb(const QString& name, bool open)
{
    return __real__ZN12QSqlDatabase8databaseERK7QStringb(ownName(name), open);
}

void __wrap__ZN12QSqlDatabase14removeDatabaseERK7QString(const QString& name)
{
    __real__ZN12QSqlDatabase14removeDatabaseERK7QString(ownName(name));
}
}
