#include "core/format.h"

#include "core/locale.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

long long FormatArg::integer() const
{
    switch (kind_) {
    case Kind::Integer: return i_;
    case Kind::Real: return std::llround(d_);
    case Kind::Text: return s_.toLongLong();
    }
    return 0;
}

double FormatArg::real() const
{
    switch (kind_) {
    case Kind::Integer: return double(i_);
    case Kind::Real: return d_;
    case Kind::Text: {
        double v = 0;
        parseNumber(s_, &v);
        return v;
    }
    }
    return 0;
}

QString FormatArg::text() const
{
    switch (kind_) {
    case Kind::Integer: return QString::number(i_);
    case Kind::Real: return QString::number(d_, 'g', 15).replace(u'.', locale::DecimalSeparator);
    case Kind::Text: return s_;
    }
    return {};
}

namespace {

// The decimal digits of |v| with the position of the decimal point: value =
// 0.<digits> x 10^point. Rounding is half away from zero on the exact binary value, as
// the original runtime did.
struct Decimal {
    bool negative = false;
    std::string digits;  // no leading zeros; empty means zero
    int point = 0;
};

Decimal exactDecimal(double v)
{
    Decimal d;
    d.negative = std::signbit(v) && v != 0;
    v = std::fabs(v);
    if (v == 0 || !std::isfinite(v)) return d;
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.40e", v);
    std::string s(buf);
    const auto e = s.find('e');
    const int exp10 = std::stoi(s.substr(e + 1));
    std::string mant = s.substr(0, e);
    mant.erase(1, 1);  // drop the '.'
    d.digits = mant;
    d.point = exp10 + 1;
    return d;
}

void roundAt(Decimal& d, int keep)  // keep this many leading digits
{
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    if (keep >= int(d.digits.size())) return;
    const bool up = d.digits[size_t(keep)] >= '5';
    d.digits.resize(size_t(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[size_t(i)] == '9') d.digits[size_t(i--)] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        } else {
            ++d.digits[size_t(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.point = 0;
}

// Rounded to `decimals` places: integer digits and exactly `decimals` fraction digits.
void fixedParts(double v, int decimals, bool* negative, QString* intPart, QString* fracPart)
{
    Decimal d = exactDecimal(v);
    if (!d.digits.empty()) roundAt(d, d.point + decimals);
    QString ip, fp;
    for (int i = 0; i < d.point; ++i) ip += QChar(i < int(d.digits.size()) ? d.digits[size_t(i)] : '0');
    for (int i = 0; i < decimals; ++i) {
        const int k = d.point + i;
        fp += QChar(k >= 0 && k < int(d.digits.size()) ? d.digits[size_t(k)] : '0');
    }
    if (ip.isEmpty()) ip = u"0"_s;
    *negative = d.negative && !d.digits.empty();
    *intPart = ip;
    *fracPart = fp;
}

QString groupThousands(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        out += digits[i];
        const qsizetype left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += locale::ThousandSeparator;
    }
    return out;
}

QString fixedText(double v, int decimals, bool thousands)
{
    bool neg;
    QString ip, fp;
    fixedParts(v, decimals, &neg, &ip, &fp);
    QString r = thousands ? groupThousands(ip) : ip;
    if (decimals > 0) r += locale::DecimalSeparator + fp;
    return neg ? u"-"_s + r : r;
}

QString generalText(double v, int precision)
{
    if (precision <= 0 || precision > 18) precision = 15;
    Decimal d = exactDecimal(v);
    if (d.digits.empty()) return u"0"_s;
    roundAt(d, precision);
    if (d.digits.empty()) return u"0"_s;
    const QString digits = QString::fromStdString(d.digits);
    QString body;
    if (d.point > precision || std::fabs(v) < 0.00001) {
        body = digits.left(1);
        if (digits.size() > 1) body += locale::DecimalSeparator + digits.mid(1);
        const int exp = d.point - 1;
        body += (exp < 0 ? u"E-"_s : u"E+"_s) + QString::number(std::abs(exp));
    } else if (d.point <= 0) {
        body = u"0"_s + locale::DecimalSeparator + QString(-d.point, u'0') + digits;
    } else if (d.point >= digits.size()) {
        body = digits + QString(d.point - digits.size(), u'0');
    } else {
        body = digits.left(d.point) + locale::DecimalSeparator + digits.mid(d.point);
    }
    return d.negative ? u"-"_s + body : body;
}

QString exponentText(double v, int precision)
{
    if (precision <= 0 || precision > 18) precision = 15;
    Decimal d = exactDecimal(v);
    QString digits;
    int exp = 0;
    if (!d.digits.empty()) {
        roundAt(d, precision);
        digits = QString::fromStdString(d.digits);
        exp = d.point - 1;
    }
    digits = digits.leftJustified(precision, u'0');
    QString body = digits.left(1) + locale::DecimalSeparator + digits.mid(1) + u"E"_s
                   + (exp < 0 ? u"-"_s : u"+"_s) + QString::number(std::abs(exp)).rightJustified(3, u'0');
    return d.negative ? u"-"_s + body : body;
}

QString applyWidth(const QString& s, int width, bool left)
{
    if (width <= s.size()) return s;
    return left ? s.leftJustified(width, u' ') : s.rightJustified(width, u' ');
}

}  // namespace

QString formatList(QStringView pattern, std::initializer_list<FormatArg> args)
{
    QString out;
    auto arg = args.begin();
    auto nextArg = [&]() -> const FormatArg* { return arg != args.end() ? &*arg++ : nullptr; };
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i + 1 < n && pattern[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        bool left = false;
        int width = -1, precision = -1;
        if (j < n && pattern[j] == u'-') {
            left = true;
            ++j;
        }
        auto readNumber = [&](int* target) {
            if (j < n && pattern[j] == u'*') {
                const FormatArg* a = nextArg();
                *target = a ? int(a->integer()) : 0;
                ++j;
                return;
            }
            int v = -1;
            while (j < n && pattern[j].isDigit()) {
                v = (v < 0 ? 0 : v * 10) + pattern[j].digitValue();
                ++j;
            }
            if (v >= 0) *target = v;
        };
        readNumber(&width);
        if (j < n && pattern[j] == u'.') {
            ++j;
            precision = 0;
            readNumber(&precision);
        }
        if (j >= n) {  // a lone '%' at the end stays as it is
            out += pattern.mid(i);
            break;
        }
        const QChar type = pattern[j].toLower();
        i = j;
        const FormatArg* a = nextArg();
        QString piece;
        if (!a) {
            piece.clear();
        } else if (type == u'd' || type == u'u') {
            const long long v = a->integer();
            QString digits = QString::number(v < 0 ? -v : v);
            if (precision > digits.size()) digits = digits.rightJustified(precision, u'0');
            piece = v < 0 ? u"-"_s + digits : digits;
        } else if (type == u'x') {
            QString digits = QString::number(quint64(a->integer()), 16).toUpper();
            if (precision > digits.size()) digits = digits.rightJustified(precision, u'0');
            piece = digits;
        } else if (type == u's') {
            piece = a->text();
            if (precision >= 0) piece = piece.left(precision);
        } else if (type == u'f') {
            piece = fixedText(a->real(), precision < 0 ? 2 : precision, false);
        } else if (type == u'n') {
            piece = fixedText(a->real(), precision < 0 ? 2 : precision, true);
        } else if (type == u'm') {
            piece = fixedText(a->real(), precision < 0 ? locale::CurrencyDecimals : precision, true)
                    + u' ' + locale::CurrencyText;
        } else if (type == u'g') {
            piece = generalText(a->real(), precision);
        } else if (type == u'e') {
            piece = exponentText(a->real(), precision);
        } else {
            piece = a->text();
        }
        out += applyWidth(piece, width, left);
    }
    return out;
}

QString moneyText(double value) { return format(u"%m", value); }

QString numberText(double value, int decimals) { return fixedText(value, decimals, true); }

// ---------------------------------------------------------------- masks

namespace {
struct MaskSection {
    QString prefix, suffix;
    int intZeros = 0;
    int decZeros = 0, decHashes = 0;
    bool thousands = false;
    bool hasDigits = false;
};

MaskSection parseSection(QStringView s)
{
    MaskSection m;
    bool inDigits = false, afterPoint = false, done = false;
    QChar quote;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            else (done || inDigits ? m.suffix : m.prefix) += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        const bool digit = (c == u'0' || c == u'#');
        const bool structural = digit || c == u',' || c == u'.';
        if (structural && !done) {
            if (digit) {
                inDigits = true;
                m.hasDigits = true;
                if (afterPoint) (c == u'0' ? m.decZeros : m.decHashes)++;
                else if (c == u'0') m.intZeros++;
            } else if (c == u',') {
                if (!afterPoint) m.thousands = true;
            } else {
                afterPoint = true;
                inDigits = true;
            }
            continue;
        }
        if (inDigits) done = true;
        (done ? m.suffix : m.prefix) += c;
    }
    return m;
}
}  // namespace

QString formatMask(QStringView mask, double value)
{
    QList<QStringView> sections;
    {
        qsizetype start = 0;
        QChar quote;
        for (qsizetype i = 0; i < mask.size(); ++i) {
            const QChar c = mask[i];
            if (!quote.isNull()) {
                if (c == quote) quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u';') {
                sections << mask.mid(start, i - start);
                start = i + 1;
            }
        }
        sections << mask.mid(start);
    }
    MaskSection m = parseSection(sections[0]);
    bool useSign = true;
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        m = parseSection(sections[1]);
        useSign = false;
    }
    const int decimals = m.decZeros + m.decHashes;
    bool neg;
    QString ip, fp;
    fixedParts(value, decimals, &neg, &ip, &fp);
    const bool isZero = ip == u"0"_s && QString(fp).remove(u'0').isEmpty();
    if (isZero && sections.size() > 2 && !sections[2].isEmpty()) {
        m = parseSection(sections[2]);
        useSign = false;
        fixedParts(0, m.decZeros + m.decHashes, &neg, &ip, &fp);
    }
    if (!m.hasDigits) return m.prefix + m.suffix;
    QString intDigits = ip == u"0"_s ? QString() : ip;
    if (intDigits.size() < m.intZeros) intDigits = intDigits.rightJustified(m.intZeros, u'0');
    QString body = m.thousands ? groupThousands(intDigits) : intDigits;
    QString frac = fp;
    while (frac.size() > m.decZeros && frac.endsWith(u'0')) frac.chop(1);
    if (!frac.isEmpty()) body += locale::DecimalSeparator + frac;
    const QString sign = (useSign && neg && !isZero) ? u"-"_s : QString();
    return sign + m.prefix + body + m.suffix;
}

bool parseNumber(const QString& input, double* value)
{
    QString t = input.trimmed();
    t.remove(u' ');
    if (t.isEmpty()) return false;
    const qsizetype comma = t.lastIndexOf(u',');
    if (comma >= 0) {
        QString ip = t.left(comma), fp = t.mid(comma + 1);
        if (fp.contains(u'.') || fp.contains(u',')) return false;
        ip.remove(u'.');
        t = ip + u'.' + fp;
    } else if (t.count(u'.') > 1) {
        t.remove(u'.');
    } else if (t.count(u'.') == 1) {
        // "1.250" is a thousands group; "12.5" a decimal point.
        const qsizetype dot = t.indexOf(u'.');
        const QString after = t.mid(dot + 1);
        if (after.size() == 3 && dot > 0 && dot <= 3 && !t.startsWith(u'-')) t.remove(u'.');
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

}  // namespace selvar
