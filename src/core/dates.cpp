#include "core/dates.h"

#include "core/locale.h"

#include <QRegularExpression>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QDate kEpoch(1899, 12, 30);
}

DateInput parseDateText(const QString& text)
{
    DateInput r;
    QString t = text;
    bool blank = true;
    for (QChar c : t)
        if (!(c.isSpace() || c == u'.' || c == u'/' || c == u'-' || c == u'_')) blank = false;
    if (blank) return r;
    static const QRegularExpression re(uR"(^\s*(\d{1,2})\s*[./-]\s*(\d{1,2})\s*[./-]\s*(\d{2}|\d{4})\s*$)"_s);
    const auto m = re.match(t);
    r.state = DateInput::Invalid;
    if (!m.hasMatch()) return r;
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) year += year < 50 ? 2000 : 1900;
    const QDate d(year, month, day);
    if (!d.isValid()) return r;
    r.state = DateInput::Valid;
    r.date = d;
    return r;
}

QString dateText(const QDate& d) { return d.isValid() ? d.toString(locale::ShortDateFormat) : QString(); }

QString timeText(const QTime& t) { return t.isValid() ? t.toString(locale::ShortTimeFormat) : QString(); }

QString dateTimeText(const QDateTime& dt)
{
    return dt.isValid() ? dt.toString(u"dd.MM.yyyy HH:mm:ss"_s) : QString();
}

bool maskedDateIsBlank(const QString& text) { return text.left(2).trimmed().isEmpty(); }

QDateTime dayStart(const QDate& d) { return QDateTime(d, QTime(0, 0, 0, 0)); }

QDateTime dayEnd(const QDate& d) { return QDateTime(d, QTime(23, 59, 59, 999)); }

QDateTime withTimeOf(const QDate& d, const QDateTime& clock) { return QDateTime(d, clock.time()); }

double toDateTimeReal(const QDateTime& dt)
{
    if (!dt.isValid()) return 0;
    const double days = double(kEpoch.daysTo(dt.date()));
    const double frac = double(dt.time().msecsSinceStartOfDay()) / 86400000.0;
    // Before the epoch the fraction counts away from zero, as in the original type.
    return days >= 0 ? days + frac : days - frac;
}

double toDateTimeReal(const QDate& d) { return d.isValid() ? double(kEpoch.daysTo(d)) : 0; }

QDateTime fromDateTimeReal(double v)
{
    const double whole = std::trunc(v);
    const double frac = std::fabs(v - whole);
    const QDate d = kEpoch.addDays(qint64(whole));
    const int ms = int(std::llround(frac * 86400000.0));
    return QDateTime(d, QTime(0, 0).addMSecs(std::min(ms, 86399999)));
}

}  // namespace selvar
