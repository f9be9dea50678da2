#pragma once
// What a barcode scanner sends: a plain linear barcode (or a short command code), or the
// GS1 element string of the 2D code on a medicine box (product number, serial, batch,
// expiry), read field by field.
#include <QDate>
#include <QString>

namespace selvar {

struct Gs1Box {
    QString gtin;        // (01) the 14 digits
    QString serial;      // (21) as scanned, letters kept as they came
    QString batch;       // (10) as scanned
    QDate expiry;        // (17) YYMMDD, year 20YY; day 00 = the last day of that month
    QDate production;    // (11) YYMMDD, same rules
    // The product's barcode as the product cards keep it: a GTIN-14 beginning with 0 is
    // the EAN-13 (the leading 0 dropped); any other indicator digit: the 14 digits.
    QString productCode() const;
};

struct ScanReading {
    enum class Kind { Plain, Gs1, Invalid };
    Kind kind = Kind::Invalid;
    QString code;     // Plain: the scanned code (trimmed); Gs1: box.productCode(); Invalid: empty
    Gs1Box box;       // Gs1 only
    QString message;  // Invalid only: a clear Turkish message
};

// `gsText` is the text a scanner set up as a keyboard sends instead of the group separator
// (ASCII 29); the program's setting, default "<GS>". It is matched ignoring case, with
// i, ı, I and İ alike.
ScanReading readScan(const QString& scanned, const QString& gsText = QStringLiteral("<GS>"));

// GTIN-8/12/13/14: only digits, one of those lengths, and a right mod-10 check digit.
bool gtinCheckDigitValid(const QString& digits);

// Comparison key of a serial or batch: case folded by Turkish rules both ways, so that a
// scanner typing on a Turkish-Q layout ("ı" for "i", "İ" for "I") finds the same box:
// i, ı, I and İ are all one letter; other letters upper-cased by Turkish rules.
QString serialKey(const QString& serialOrBatch);

}  // namespace selvar
