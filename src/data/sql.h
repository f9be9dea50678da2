#pragma once
// A statement with named parameters (":satTrh"). Values always go in as parameters;
// hand-written SQL names tables and fields without quotes (both engines fold them the
// same way); dates and date-times are converted for the engine. Errors throw DbError.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

class QSqlQuery;

namespace selvar {

class Database;

class Sql {
public:
    Sql(Database& db, const QString& text);
    ~Sql();
    Sql(const Sql&) = delete;
    Sql& operator=(const Sql&) = delete;

    Sql& bind(const QString& name, const QVariant& value);
    Sql& exec();
    bool next();  // the first call after exec() moves to the first row

    int columnCount() const;
    QString columnName(int i) const;
    int column(const QString& name) const;  // -1 when missing

    QVariant value(int i) const;
    QVariant value(const QString& name) const;
    bool isNull(int i) const;
    bool isNull(const QString& name) const { return isNull(column(name)); }
    QString text(int i) const;
    QString text(const QString& name) const { return text(column(name)); }
    double number(int i) const;
    double number(const QString& name) const { return number(column(name)); }
    qint64 integer(int i) const;
    qint64 integer(const QString& name) const { return integer(column(name)); }
    bool boolean(int i) const;
    bool boolean(const QString& name) const { return boolean(column(name)); }
    QDate date(int i) const;
    QDate date(const QString& name) const { return date(column(name)); }
    QDateTime timestamp(int i) const;
    QDateTime timestamp(const QString& name) const { return timestamp(column(name)); }

    int rowsAffected() const;
    // The row identity an INSERT made; its text must end in the dialect's
    // returningRowId(), as insert() below arranges.
    qint64 insertedRowId();

    // Runs a statement and returns the first column of its first row (null when none).
    static QVariant scalar(Database& db, const QString& text, const QVariantMap& params = {});
    static int run(Database& db, const QString& text, const QVariantMap& params = {});
    // Runs an INSERT and returns the row identity it made.
    static qint64 insert(Database& db, const QString& text, const QVariantMap& params = {});

private:
    Database& db_;
    QString text_;
    QSqlQuery* q_;
};

}  // namespace selvar
