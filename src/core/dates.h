#pragma once
// Dates as the program shows and types them: day.month.year, a blank masked box meaning
// no date, the day's first and last millisecond for ranges over date-time fields, and
// the date-time reals of the companion library (days since 30.12.1899).
#include <QDate>
#include <QDateTime>
#include <QString>

namespace selvar {

struct DateInput {
    enum State { Blank, Invalid, Valid };
    State state = Blank;
    QDate date;
    bool isBlank() const { return state == Blank; }
    bool isValid() const { return state == Valid; }
};

// Reads "dd.mm.yyyy" (also with '/' or '-', one or two digit day and month, two digit
// years 00..49 -> 20xx, 50..99 -> 19xx). A text of blanks and separators is blank.
DateInput parseDateText(const QString& text);

QString dateText(const QDate& d);          // "09.12.2026", empty for no date
QString timeText(const QTime& t);          // "14:05"
QString dateTimeText(const QDateTime& dt); // "09.12.2026 14:05:33"

// A text box with the mask "!90/90/9900": blank when the first two characters are blank.
bool maskedDateIsBlank(const QString& text);

QDateTime dayStart(const QDate& d);  // 00:00:00.000
QDateTime dayEnd(const QDate& d);    // 23:59:59.999

// The date with the time of day of `clock` (used to stamp price history rows).
QDateTime withTimeOf(const QDate& d, const QDateTime& clock);

double toDateTimeReal(const QDateTime& dt);
double toDateTimeReal(const QDate& d);
QDateTime fromDateTimeReal(double v);

}  // namespace selvar
