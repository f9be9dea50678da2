#include "core/turkish.h"

#include <array>
#include <cstring>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QChar upperChar(QChar c)
{
    switch (c.unicode()) {
    case u'i': return QChar(u'İ');
    case u'ı': return QChar(u'I');
    default: return c.toUpper();
    }
}
QChar lowerChar(QChar c)
{
    switch (c.unicode()) {
    case u'I': return QChar(u'ı');
    case u'İ': return QChar(u'i');
    default: return c.toLower();
    }
}
}  // namespace

QString trUpper(const QString& s)
{
    QString r(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i) r[i] = upperChar(s[i]);
    return r;
}

QString trLower(const QString& s)
{
    QString r(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i) r[i] = lowerChar(s[i]);
    return r;
}

bool startsWithNoCase(const QString& text, const QString& prefix)
{
    if (prefix.size() > text.size()) return false;
    for (qsizetype i = 0; i < prefix.size(); ++i)
        if (upperChar(text[i]) != upperChar(prefix[i])) return false;
    return true;
}

bool equalsNoCase(const QString& a, const QString& b)
{
    return a.size() == b.size() && startsWithNoCase(a, b);
}

const std::vector<std::pair<QString, QString>>& sortKeyReplacements()
{
    // Order matters only for 'i', which must become "I{" before ASCII folding.
    static const std::vector<std::pair<QString, QString>> list = {
        {u"i"_s, u"I{"_s}, {u"ı"_s, u"I"_s}, {u"İ"_s, u"I{"_s},
        {u"ç"_s, u"C{"_s}, {u"Ç"_s, u"C{"_s}, {u"ğ"_s, u"G{"_s}, {u"Ğ"_s, u"G{"_s},
        {u"ö"_s, u"O{"_s}, {u"Ö"_s, u"O{"_s}, {u"ş"_s, u"S{"_s}, {u"Ş"_s, u"S{"_s},
        {u"ü"_s, u"U{"_s}, {u"Ü"_s, u"U{"_s}, {u"â"_s, u"A"_s}, {u"Â"_s, u"A"_s},
        {u"î"_s, u"I{"_s}, {u"Î"_s, u"I{"_s}, {u"û"_s, u"U"_s}, {u"Û"_s, u"U"_s},
    };
    return list;
}

QString sortKey(const QString& s)
{
    // Per character this is exactly the replace()-chain plus ASCII upper() that the SQL
    // key expression runs, so keys built here and in the database always agree.
    static const auto table = [] {
        std::array<const QString*, 0x180> t{};
        for (const auto& [from, to] : sortKeyReplacements()) t[from[0].unicode()] = &to;
        return t;
    }();
    QString r;
    r.reserve(s.size() + 4);
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u < table.size() && table[u]) {
            r += *table[u];
        } else if (u >= u'a' && u <= u'z') {
            r += QChar(u - 32);
        } else {
            r += c;
        }
    }
    return r;
}

bool isDigitsOnly(const QString& s)
{
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

QString digitsOf(const QString& s)
{
    QString r;
    for (QChar c : s)
        if (c >= u'0' && c <= u'9') r += c;
    return r;
}

QString digitsAndSeparators(const QString& s)
{
    QString r;
    for (QChar c : s)
        if ((c >= u'0' && c <= u'9') || c == u',' || c == u'.') r += c;
    return r;
}

namespace {
// 0x80..0xFF of code page 1254; 0 = not defined.
constexpr std::array<char16_t, 128> kCp1254High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0,      0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x011E, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF,
};
}  // namespace

QByteArray toCp1254(const QString& s)
{
    QByteArray out;
    out.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        char b = '?';
        for (int i = 0; i < 128; ++i)
            if (kCp1254High[i] == u) {
                b = char(0x80 + i);
                break;
            }
        out += b;
    }
    return out;
}

QString fromCp1254(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) out += QChar(b);
        else out += QChar(kCp1254High[b - 0x80] ? kCp1254High[b - 0x80] : char16_t(0xFFFD));
    }
    return out;
}

void writeShortText(unsigned char* buffer, const QString& text)
{
    std::memset(buffer, 0, ShortTextSize);
    const QByteArray bytes = toCp1254(text).left(255);
    buffer[0] = static_cast<unsigned char>(bytes.size());
    std::memcpy(buffer + 1, bytes.constData(), size_t(bytes.size()));
}

QString readShortText(const unsigned char* buffer)
{
    const int len = buffer[0];
    return fromCp1254(QByteArray(reinterpret_cast<const char*>(buffer + 1), len));
}

}  // namespace selvar
