#include "data/sql.h"

#include "data/database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

Sql::Sql(Database& db, const QString& text) : db_(db), text_(text), q_(db.acquire(text)) {}

Sql::~Sql() { db_.release(q_); }

Sql& Sql::bind(const QString& name, const QVariant& value)
{
    const QString key = name.startsWith(u':') ? name : u':' + name;
    q_->bindValue(key, db_.dialect().bindValue(value));
    return *this;
}

Sql& Sql::exec()
{
    db_.countRoundTrip();
    if (!q_->exec()) db_.fail(q_->lastError(), text_.left(300));
    return *this;
}

bool Sql::next() { return q_->next(); }

int Sql::columnCount() const { return q_->record().count(); }

QString Sql::columnName(int i) const { return q_->record().fieldName(i); }

int Sql::column(const QString& name) const
{
    const int i = q_->record().indexOf(name);
    if (i < 0) throw DbError(u"Sorguda alan yok: "_s + name);
    return i;
}

QVariant Sql::value(int i) const { return db_.dialect().readValue(q_->value(i)); }
QVariant Sql::value(const QString& name) const { return value(column(name)); }
bool Sql::isNull(int i) const { return q_->isNull(i); }
QString Sql::text(int i) const { return q_->isNull(i) ? QString() : value(i).toString(); }
double Sql::number(int i) const { return q_->isNull(i) ? 0.0 : q_->value(i).toDouble(); }
qint64 Sql::integer(int i) const { return q_->isNull(i) ? 0 : qint64(std::llround(q_->value(i).toDouble())); }
bool Sql::boolean(int i) const { return !q_->isNull(i) && value(i).toLongLong() != 0; }

QDate Sql::date(int i) const
{
    return db_.dialect().fromDatabase(FieldType::Date, q_->value(i)).toDate();
}

QDateTime Sql::timestamp(int i) const
{
    return db_.dialect().fromDatabase(FieldType::Timestamp, q_->value(i)).toDateTime();
}

int Sql::rowsAffected() const { return q_->numRowsAffected(); }

qint64 Sql::insertedRowId()
{
    if (q_->isSelect()) return q_->next() ? q_->value(0).toLongLong() : 0;
    return q_->lastInsertId().toLongLong();
}

QVariant Sql::scalar(Database& db, const QString& text, const QVariantMap& params)
{
    Sql q(db, text);
    for (auto it = params.begin(); it != params.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    return q.next() ? q.value(0) : QVariant();
}

qint64 Sql::insert(Database& db, const QString& text, const QVariantMap& params)
{
    Sql q(db, text + db.dialect().returningRowId());
    for (auto it = params.begin(); it != params.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    return q.insertedRowId();
}

int Sql::run(Database& db, const QString& text, const QVariantMap& params)
{
    Sql q(db, text);
    for (auto it = params.begin(); it != params.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    return q.rowsAffected();
}

}  // namespace selvar
