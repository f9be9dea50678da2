#pragma once
// Turkish text rules: case, key order, code page 1254 and the companion library's
// length-prefixed text buffers.
#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace selvar {

// Upper and lower case with Turkish rules (i <-> İ, ı <-> I).
QString trUpper(const QString& s);
QString trLower(const QString& s);

// True when the first characters of `text` equal `prefix`, ignoring case the Turkish way.
bool startsWithNoCase(const QString& text, const QString& prefix);
bool equalsNoCase(const QString& a, const QString& b);

// Sort key of a text in the Turkish alphabet (A B C Ç D E F G Ğ H I İ J ... Z),
// case-insensitive. The key is plain ASCII for Turkish text, so a binary comparison of
// keys gives the Turkish order on every engine. Each letter with a Turkish place of its
// own becomes its base letter followed by '{', which sorts after every ASCII letter.
QString sortKey(const QString& s);

// The replacements sortKey applies before folding ASCII letters to upper case; the
// database layer builds the same key as an SQL expression from this list.
const std::vector<std::pair<QString, QString>>& sortKeyReplacements();

bool isDigitsOnly(const QString& s);   // non-empty and only 0-9
QString digitsOf(const QString& s);    // the digits of s, in order
QString digitsAndSeparators(const QString& s);  // digits, ',' and '.'

// Windows code page 1254 (Turkish).
QByteArray toCp1254(const QString& s);
QString fromCp1254(const QByteArray& bytes);

// A short text of the companion library: 256 bytes, first byte the length (<= 255),
// then the text in code page 1254.
inline constexpr int ShortTextSize = 256;
void writeShortText(unsigned char* buffer, const QString& text);
QString readShortText(const unsigned char* buffer);

}  // namespace selvar
