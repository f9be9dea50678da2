#include "core/gs1.h"

#include "core/turkish.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QChar kGroupSeparator = QChar(0x1D);

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Turkish upper case with the two I's made one; one character in, one out, so positions
// in the folded text are positions in the original.
QString foldI(const QString& s)
{
    QString r = trUpper(s);
    r.replace(QChar(u'İ'), QChar(u'I'));
    return r;
}

// How a field is read: a fixed field is exactly `length` digits and needs no separator
// after it; a variable one runs to a separator, the end, or `length` characters.
struct AiRule {
    int aiLength = 0;  // 0: not a known identifier
    int length = 0;
    bool fixed = false;
};

AiRule fixedRule(int aiLength, int length) { return {aiLength, length, true}; }
AiRule variableRule(int aiLength, int length) { return {aiLength, length, false}; }

int digitAt(const QString& s, qsizetype i)
{
    return i < s.size() && isAsciiDigit(s[i]) ? s[i].unicode() - u'0' : -1;
}

// How many digits the identifier starting with these two digits has.
int aiLengthFor(int first2)
{
    switch (first2) {
    case 23: case 24: case 25: case 40: case 41: case 42: case 71:
        return 3;
    case 31: case 32: case 33: case 34: case 35: case 36: case 39:
    case 43: case 70: case 72: case 80: case 81: case 82:
        return 4;
    default:
        return 2;
    }
}

AiRule twoDigitRule(int ai)
{
    switch (ai) {
    case 0: return fixedRule(2, 18);
    case 1: case 2: case 3: return fixedRule(2, 14);
    case 10: return variableRule(2, 20);
    case 11: case 12: case 13: case 15: case 16: case 17: return fixedRule(2, 6);
    case 20: return fixedRule(2, 2);
    case 21: case 22: return variableRule(2, 20);
    case 30: case 37: return variableRule(2, 8);
    case 90: return variableRule(2, 30);
    default:
        if (ai >= 91 && ai <= 99) return variableRule(2, 90);
        return {};
    }
}

AiRule threeDigitRule(int ai)
{
    switch (ai) {
    case 235: return variableRule(3, 28);
    case 240: case 241: case 250: case 251: case 253: return variableRule(3, 30);
    case 242: return variableRule(3, 6);
    case 243: case 254: return variableRule(3, 20);
    case 255: return variableRule(3, 25);
    case 400: case 401: case 403: return variableRule(3, 30);
    case 402: return variableRule(3, 17);
    case 420: return variableRule(3, 20);
    case 421: return variableRule(3, 12);
    case 422: case 424: case 426: case 427: return variableRule(3, 3);
    case 423: case 425: return variableRule(3, 15);
    default:
        if (ai >= 410 && ai <= 417) return fixedRule(3, 13);
        // National healthcare reimbursement numbers.
        if (ai >= 710 && ai <= 717) return variableRule(3, 20);
        return {};
    }
}

AiRule fourDigitRule(int ai)
{
    const int head = ai / 100;
    const int head3 = ai / 10;
    if (head >= 31 && head <= 36) return fixedRule(4, 6);  // measures, last digit = decimals
    if (head == 39) {
        switch (head3) {
        case 390: case 392: return variableRule(4, 15);
        case 391: case 393: return variableRule(4, 18);
        case 394: return variableRule(4, 4);
        case 395: return variableRule(4, 6);
        default: return {};
        }
    }
    if (head == 43) {
        switch (ai) {
        case 4300: case 4301: case 4310: case 4311: case 4320: return variableRule(4, 35);
        case 4302: case 4303: case 4304: case 4305: case 4306:
        case 4312: case 4313: case 4314: case 4315: case 4316: return variableRule(4, 70);
        case 4307: case 4317: return variableRule(4, 2);
        case 4308: case 4319: return variableRule(4, 30);
        case 4309: case 4318: return variableRule(4, 20);
        case 4321: case 4322: case 4323: return variableRule(4, 1);
        case 4324: case 4325: return variableRule(4, 10);
        case 4326: return variableRule(4, 6);
        case 4330: case 4331: case 4332: case 4333: return variableRule(4, 7);
        default: return {};
        }
    }
    if (head == 70) {
        switch (ai) {
        case 7001: return variableRule(4, 13);
        case 7003: case 7009: case 7011: return variableRule(4, 10);
        case 7004: case 7040: case 7041: return variableRule(4, 4);
        case 7005: case 7007: return variableRule(4, 12);
        case 7006: return variableRule(4, 6);
        case 7008: return variableRule(4, 3);
        case 7010: return variableRule(4, 2);
        case 7020: case 7021: case 7022: return variableRule(4, 20);
        default: return variableRule(4, 30);
        }
    }
    if (head == 72) {
        if (head3 == 723) return variableRule(4, 30);
        switch (ai) {
        case 7240: return variableRule(4, 20);
        case 7241: return variableRule(4, 2);
        case 7242: return variableRule(4, 25);
        case 7250: return variableRule(4, 8);
        case 7251: return variableRule(4, 12);
        case 7252: return variableRule(4, 1);
        case 7253: case 7254: case 7259: return variableRule(4, 40);
        case 7255: return variableRule(4, 10);
        case 7256: return variableRule(4, 90);
        case 7257: return variableRule(4, 70);
        case 7258: return variableRule(4, 3);
        default: return {};
        }
    }
    if (head == 80) {
        switch (ai) {
        case 8001: return variableRule(4, 14);
        case 8002: case 8012: return variableRule(4, 20);
        case 8003: case 8004: case 8010: return variableRule(4, 30);
        case 8005: return variableRule(4, 6);
        case 8006: case 8017: case 8018: case 8026: return variableRule(4, 18);
        case 8007: return variableRule(4, 34);
        case 8008: case 8011: return variableRule(4, 12);
        case 8009: return variableRule(4, 50);
        case 8013: case 8014: case 8020: return variableRule(4, 25);
        case 8019: return variableRule(4, 10);
        case 8030: return variableRule(4, 90);
        default: return variableRule(4, 70);
        }
    }
    if (head == 81 || head == 82) return variableRule(4, 70);
    return {};
}

QString shownText(QString s)
{
    s.replace(kGroupSeparator, u"<GS>"_s);
    return s;
}

QString brokenField(const QString& ai)
{
    return u"Karekod eksik ya da bozuk okundu: (%1) alanı."_s.arg(ai);
}

// YYMMDD of the year 20YY; day 00 stands for the month's last day.
QDate gs1Date(const QString& yymmdd)
{
    const int year = 2000 + yymmdd.left(2).toInt();
    const int month = yymmdd.mid(2, 2).toInt();
    const int day = yymmdd.mid(4, 2).toInt();
    if (month < 1 || month > 12) return {};
    if (day == 0) {
        const QDate first(year, month, 1);
        return QDate(year, month, first.daysInMonth());
    }
    return QDate(year, month, day);
}

struct Fields {
    QString gtin, serial, batch, expiry, production;  // as read; dates still YYMMDD
};

// Keeps the first value of a field; the same field again with another value means the
// scan cannot be trusted.
QString keep(QString& field, const QString& value, const QString& ai)
{
    if (!field.isNull() && field != value)
        return u"Karekodda (%1) alanı iki kez, farklı değerlerle var."_s.arg(ai);
    field = value;
    return {};
}

// Reads the element string field by field; returns the message of the first fault.
QString readElements(const QString& s, Fields& f)
{
    qsizetype pos = 0;
    const qsizetype n = s.size();
    while (pos < n) {
        // A leading FNC1, one after a fixed field, or a doubled one: nothing to read.
        if (s[pos] == kGroupSeparator) {
            ++pos;
            continue;
        }
        if (!isAsciiDigit(s[pos]))
            return u"Karekod bozuk okundu: alan numarası yerinde \"%1\" var."_s.arg(
                shownText(s.mid(pos, 10)));
        const int d1 = digitAt(s, pos);
        const int d2 = digitAt(s, pos + 1);
        if (d2 < 0) return brokenField(s.mid(pos, 1));
        const int aiLength = aiLengthFor(d1 * 10 + d2);
        int code = 0;
        for (int i = 0; i < aiLength; ++i) {
            const int d = digitAt(s, pos + i);
            if (d < 0) return brokenField(s.mid(pos, i));
            code = code * 10 + d;
        }
        const QString ai = s.mid(pos, aiLength);
        const AiRule rule = aiLength == 2   ? twoDigitRule(code)
                            : aiLength == 3 ? threeDigitRule(code)
                                            : fourDigitRule(code);
        if (rule.aiLength == 0) return u"Karekodda tanınmayan alan numarası: (%1)."_s.arg(ai);
        pos += aiLength;

        const qsizetype start = pos;
        while (pos < n && pos - start < rule.length && s[pos] != kGroupSeparator) ++pos;
        const QString value = s.mid(start, pos - start);
        if (value.isEmpty()) return brokenField(ai);
        if (rule.fixed && (value.size() != rule.length || !isDigitsOnly(value))) return brokenField(ai);

        QString fault;
        if (ai == u"01") {
            if (!gtinCheckDigitValid(value))
                return u"Karekoddaki ürün numarasının (GTIN) kontrol hanesi yanlış: %1"_s.arg(value);
            fault = keep(f.gtin, value, ai);
        } else if (ai == u"21") {
            fault = keep(f.serial, value, ai);
        } else if (ai == u"10") {
            fault = keep(f.batch, value, ai);
        } else if (ai == u"17" || ai == u"11") {
            if (!gs1Date(value).isValid())
                return u"Karekoddaki tarih geçersiz: (%1) %2."_s.arg(ai, value);
            fault = keep(ai == u"17" ? f.expiry : f.production, value, ai);
        }
        if (!fault.isEmpty()) return fault;
    }
    return {};
}

// Every occurrence of the separator text, ignoring case, becomes the separator itself.
QString withSeparators(const QString& s, const QString& gsText)
{
    if (gsText.isEmpty()) return s;
    const QString folded = foldI(s);
    const QString needle = foldI(gsText);
    QString out;
    out.reserve(s.size());
    qsizetype from = 0;
    for (qsizetype at = folded.indexOf(needle); at >= 0; at = folded.indexOf(needle, from)) {
        out += QStringView(s).mid(from, at - from);
        out += kGroupSeparator;
        from = at + needle.size();
    }
    out += QStringView(s).mid(from);
    return out;
}

// "]d2", "]Q3", "]C1"...: the scanner names the symbology. A scanner typing as a US
// keyboard on a Turkish-Q layout sends the ']' key as 'ü'.
bool hasSymbologyIdentifier(const QString& s)
{
    if (s.size() < 3) return false;
    const QChar c = s[0];
    return (c == u']' || c == u'ü' || c == u'Ü') && isAsciiLetter(s[1]) && isAsciiDigit(s[2]);
}

bool isPlainCode(const QString& s)
{
    if (s.isEmpty() || s.size() > 20) return false;
    for (QChar c : s)
        if (!isAsciiDigit(c) && !isAsciiLetter(c)) return false;
    return true;
}

bool startsWithGtinField(const QString& s)
{
    return s.size() >= 16 && s.startsWith(u"01") && isDigitsOnly(s.mid(2, 14));
}

ScanReading invalid(const QString& message)
{
    ScanReading r;
    r.kind = ScanReading::Kind::Invalid;
    r.message = message;
    return r;
}

}  // namespace

QString Gs1Box::productCode() const
{
    if (gtin.size() == 14 && gtin.startsWith(u'0')) return gtin.mid(1);
    return gtin;
}

bool gtinCheckDigitValid(const QString& digits)
{
    const qsizetype n = digits.size();
    if ((n != 8 && n != 12 && n != 13 && n != 14) || !isDigitsOnly(digits)) return false;
    int sum = 0;
    // Weights 3, 1, 3, ... from the digit left of the check digit.
    for (qsizetype i = n - 2, weight = 3; i >= 0; --i, weight = 4 - weight)
        sum += (digits[i].unicode() - u'0') * int(weight);
    return (10 - sum % 10) % 10 == digits[n - 1].unicode() - u'0';
}

QString serialKey(const QString& serialOrBatch)
{
    return foldI(serialOrBatch);
}

ScanReading readScan(const QString& scanned, const QString& gsText)
{
    QString s = withSeparators(scanned.trimmed(), gsText);
    if (s.isEmpty()) return invalid(u"Okunan kod boş."_s);

    const bool identified = hasSymbologyIdentifier(s);
    if (!identified && !s.contains(kGroupSeparator) && !startsWithGtinField(s)) {
        if (isPlainCode(s)) {
            ScanReading r;
            r.kind = ScanReading::Kind::Plain;
            r.code = s;
            return r;
        }
        return invalid(u"Okunan kod ne karekod ne barkod: %1"_s.arg(shownText(s).left(40)));
    }
    if (identified) s.remove(0, 3);

    Fields f;
    if (const QString fault = readElements(s, f); !fault.isEmpty()) return invalid(fault);
    if (f.gtin.isEmpty()) return invalid(u"Karekodda ürün numarası (01) yok."_s);

    ScanReading r;
    r.kind = ScanReading::Kind::Gs1;
    r.box.gtin = f.gtin;
    r.box.serial = f.serial;
    r.box.batch = f.batch;
    if (!f.expiry.isEmpty()) r.box.expiry = gs1Date(f.expiry);
    if (!f.production.isEmpty()) r.box.production = gs1Date(f.production);
    r.code = r.box.productCode();
    return r;
}

}  // namespace selvar
