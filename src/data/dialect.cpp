#include "data/dialect.h"

#include "core/turkish.h"
#include "data/errors.h"

#include <QDate>
#include <QDateTime>

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
