#include "data/dialect.h"

#include "core/turkish.h"
#include "data/errors.h"

#include <QDate>
#include <QDateTime>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QString sortKeySql(const QString& quotedColumn)
{
    QString e = u"COALESCE("_s + quotedColumn + u",'')"_s;
    for (const auto& [from, to] : sortKeyReplacements())
        e = u"replace("_s + e + u",'"_s + from + u"','"_s + to + u"')"_s;
    return u"upper("_s + e + u")"_s;
}

namespace {
const QString kDateFormat = u"yyyy-MM-dd"_s;
const QString kStampFormat = u"yyyy-MM-dd HH:mm:ss.zzz"_s;

// ISO texts are read by hand: this runs for every date of every row read.
int digitsAt(const QString& s, int from, int count)
{
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}
}  // namespace

QDate parseIsoDate(const QString& s)
{
    if (s.size() < 10 || s[4] != u'-' || s[7] != u'-') return QDate::fromString(s.left(10), kDateFormat);
    return QDate(digitsAt(s, 0, 4), digitsAt(s, 5, 2), digitsAt(s, 8, 2));
}

QDateTime parseIsoStamp(const QString& s)
{
    const QDate d = parseIsoDate(s);
    if (!d.isValid()) return {};
    if (s.size() < 19) return QDateTime(d, QTime(0, 0));
    // Fractions of any length: the first three digits are the milliseconds.
    int ms = 0;
    if (s.size() > 20 && s[19] == u'.') {
        QString frac = s.mid(20, 3);
        while (frac.size() < 3) frac += u'0';
        ms = std::max(digitsAt(frac, 0, 3), 0);
    }
    return QDateTime(d, QTime(digitsAt(s, 11, 2), digitsAt(s, 14, 2), digitsAt(s, 17, 2), ms));
}

QString isoDate(const QDate& d) { return d.toString(kDateFormat); }
QString isoStamp(const QDateTime& dt) { return dt.toString(kStampFormat); }

QVariant Dialect::toDatabase(FieldType type, const QVariant& v) const
{
    if (!v.isValid() || v.isNull()) return QVariant();
    switch (type) {
    case FieldType::Date: {
        const QDate d = v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
        return d.isValid() ? QVariant(isoDate(d)) : QVariant();
    }
    case FieldType::Timestamp: {
        const QDateTime dt = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
        return dt.isValid() ? QVariant(isoStamp(dt)) : QVariant();
    }
    case FieldType::Logical: return logicalValue(v.toBool());
    case FieldType::Long:
    case FieldType::Short:
    case FieldType::AutoInc: return QVariant(qlonglong(std::llround(v.toDouble())));
    case FieldType::Number:
    case FieldType::Money: return QVariant(v.toDouble());
    case FieldType::Alpha:
    case FieldType::Memo: return QVariant(v.toString());
    }
    return v;
}

QVariant Dialect::fromDatabase(FieldType type, const QVariant& v) const
{
    if (!v.isValid() || v.isNull()) return QVariant();
    switch (type) {
    case FieldType::Date:
        if (v.typeId() == QMetaType::QDate) return v;
        if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
        return parseIsoDate(v.toString());
    case FieldType::Timestamp:
        // The columns have no time zone: the wall-clock time as written, whatever zone a
        // driver attached to it.
        if (v.typeId() == QMetaType::QDateTime) {
            const QDateTime dt = v.toDateTime();
            return QDateTime(dt.date(), dt.time());
        }
        if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
        return parseIsoStamp(v.toString());
    case FieldType::Logical:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString();
            return QVariant(s == u"t"_s || s == u"true"_s || s == u"1"_s);
        }
        return QVariant(v.toLongLong() != 0 || v.toBool());
    case FieldType::Long:
    case FieldType::Short:
    case FieldType::AutoInc: return QVariant(qlonglong(std::llround(v.toDouble())));
    case FieldType::Number:
    case FieldType::Money: return QVariant(v.toDouble());
    case FieldType::Alpha:
    case FieldType::Memo: return QVariant(v.toString());
    }
    return v;
}

QVariant Dialect::bindValue(const QVariant& v) const
{
    if (!v.isValid()) return QVariant();
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().isValid() ? QVariant(isoDate(v.toDate())) : QVariant();
    case QMetaType::QDateTime: return v.toDateTime().isValid() ? QVariant(isoStamp(v.toDateTime())) : QVariant();
    case QMetaType::Bool: return logicalValue(v.toBool());
    default: return v;
    }
}

std::unique_ptr<Dialect> makeSqliteDialect();
std::unique_ptr<Dialect> makePostgresDialect();

std::unique_ptr<Dialect> makeDialect(AliasConfig::Engine engine)
{
    switch (engine) {
    case AliasConfig::Engine::Sqlite: return makeSqliteDialect();
    case AliasConfig::Engine::PostgreSql: return makePostgresDialect();
    }
    return makeSqliteDialect();
}

}  // namespace selvar
