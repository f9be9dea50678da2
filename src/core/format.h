#pragma once
// The one place that turns numbers and texts into the program's display and print
// patterns: Format patterns ("%11.0n", "%-32s", "%14m", "%-5.2g" ...) and number masks
// ("#,#", "#,##0 Adet", "0.00").
#include <QString>
#include <QStringView>
#include <initializer_list>

namespace selvar {

class FormatArg {
public:
    enum class Kind { Integer, Real, Text };
    FormatArg(int v) : kind_(Kind::Integer), i_(v) {}
    FormatArg(long v) : kind_(Kind::Integer), i_(v) {}
    FormatArg(long long v) : kind_(Kind::Integer), i_(v) {}
    FormatArg(unsigned v) : kind_(Kind::Integer), i_(v) {}
    FormatArg(double v) : kind_(Kind::Real), d_(v) {}
    FormatArg(const QString& v) : kind_(Kind::Text), s_(v) {}
    FormatArg(QStringView v) : kind_(Kind::Text), s_(v.toString()) {}
    FormatArg(const char* v) : kind_(Kind::Text), s_(QString::fromUtf8(v)) {}
    FormatArg(const char16_t* v) : kind_(Kind::Text), s_(QString::fromUtf16(v)) {}

    Kind kind() const { return kind_; }
    long long integer() const;
    double real() const;
    QString text() const;

private:
    Kind kind_;
    long long i_ = 0;
    double d_ = 0;
    QString s_;
};

// Formats like the original Format(): %s %d %u %x %f %n %m %g %e, each with an optional
// '-' (pad on the right), a width and a precision. Money (%m) is followed by " TL".
QString formatList(QStringView pattern, std::initializer_list<FormatArg> args);

template <typename... Args>
QString format(QStringView pattern, const Args&... args)
{
    return formatList(pattern, {FormatArg(args)...});
}

// Number masks: '0' a digit always shown, '#' a digit shown only when significant,
// ',' before the point turns on thousands separators, '.' the decimal point, quoted
// text and every other character literal; up to three sections "pos;neg;zero".
QString formatMask(QStringView mask, double value);

// Plain helpers used all over the program.
QString moneyText(double value);                 // "1.234.567 TL"
QString numberText(double value, int decimals);  // "1.234.567,50"

// Reads a number typed the Turkish way ("1.234,5", "12,5", "12.5" when unambiguous).
// Returns false for text that is not a number.
bool parseNumber(const QString& text, double* value);

}  // namespace selvar
