#include "core/gs1.h"

#include <QTest>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
// Scans are written with '|' where the scanner sends the group separator (ASCII 29).
QString gs(QString s)
{
    s.replace(u'|', QChar(0x1D));
    return s;
}
}  // namespace

class TstGs1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boxScans_data();
    void boxScans();
    void faultyScans_data();
    void faultyScans();
    void plainScans_data();
    void plainScans();
    void checkDigits_data();
    void checkDigits();
    void serialKeys();
};

void TstGs1::boxScans_data()
{
    QTest::addColumn<QString>("scan");
    QTest::addColumn<QString>("gsText");
    QTest::addColumn<QString>("gtin");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("batch");
    QTest::addColumn<QDate>("expiry");
    QTest::addColumn<QDate>("production");
    const QString tag = u"<GS>"_s;

    QTest::newRow("]d2, 01 17 10 21, <GS>, day 00 in a leap February")
        << u"]d201086995140100121728020010AB123<GS>21SN12345"_s << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"SN12345"_s << u"AB123"_s << QDate(2028, 2, 29) << QDate();
    QTest::newRow("ASCII 29, 01 21 | 17 10, day 00 of April")
        << gs(u"010869951401001221X7Y8Z9|1727040010L2024A"_s) << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"X7Y8Z9"_s << u"L2024A"_s << QDate(2027, 4, 30) << QDate();
    QTest::newRow("21 first")
        << gs(u"]d221ABCDEF1234|10B55|010869952702201917261231"_s) << tag << u"08699527022019"_s
        << u"8699527022019"_s << u"ABCDEF1234"_s << u"B55"_s << QDate(2026, 12, 31) << QDate();
    QTest::newRow("leading FNC1, production date")
        << gs(u"|0108699514010012112501001727033110LOT1|21S1"_s) << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"S1"_s << u"LOT1"_s << QDate(2027, 3, 31) << QDate(2025, 1, 31);
    QTest::newRow("separator text #")
        << u"01086995140100121728013110L01#21SER01"_s << u"#"_s << u"08699514010012"_s
        << u"8699514010012"_s << u"SER01"_s << u"L01"_s << QDate(2028, 1, 31) << QDate();
    QTest::newRow("separator text in lower case")
        << u"010869951401001221ABC<gs>1728113010L5"_s << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"ABC"_s << u"L5"_s << QDate(2028, 11, 30) << QDate();
    QTest::newRow("separator text with Turkish i's")
        << u"010869951401001221ABC<AYIRICI>1728113010L5"_s << u"<ayırıcı>"_s << u"08699514010012"_s
        << u"8699514010012"_s << u"ABC"_s << u"L5"_s << QDate(2028, 11, 30) << QDate();
    QTest::newRow("20-character serial ends the scan")
        << gs(u"]d201086995140100121727040010B12|21ABCDEFGHIJ0123456789"_s) << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"ABCDEFGHIJ0123456789"_s << u"B12"_s << QDate(2027, 4, 30) << QDate();
    QTest::newRow("20-character serial ends at its length")
        << u"010869951401001221ABCDEFGHIJ012345678917270400"_s << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"ABCDEFGHIJ0123456789"_s << QString() << QDate(2027, 4, 30) << QDate();
    QTest::newRow("Turkish letters in serial and batch")
        << gs(u"]d2010869951401001221Xı9İk7|10Lİ5|17270400"_s) << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"Xı9İk7"_s << u"Lİ5"_s << QDate(2027, 4, 30) << QDate();
    QTest::newRow("indicator digit 1")
        << u"]d201186995140100191728020010C1"_s << tag << u"18699514010019"_s << u"18699514010019"_s
        << QString() << u"C1"_s << QDate(2028, 2, 29) << QDate();
    QTest::newRow("(713) national number skipped")
        << gs(u"]d201086995140100127131234567|21SN9|1727040010L9"_s) << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"SN9"_s << u"L9"_s << QDate(2027, 4, 30) << QDate();
    QTest::newRow("(714) national number last")
        << gs(u"]d2010869951401001221SN9|7141234567"_s) << tag << u"08699514010012"_s
        << u"8699514010012"_s << u"SN9"_s << QString() << QDate() << QDate();
    QTest::newRow("GTIN only")
        << u"0108699514010012"_s << tag << u"08699514010012"_s << u"8699514010012"_s << QString()
        << QString() << QDate() << QDate();
    QTest::newRow("superfluous separators after fixed fields")
        << gs(u"0108699514010012|17270400|10L1|"_s) << tag << u"08699514010012"_s << u"8699514010012"_s
        << QString() << u"L1"_s << QDate(2027, 4, 30) << QDate();
    QTest::newRow("CR LF and blanks around, ]Q3")
        << u"  ]Q3010869951401001221S1\r\n"_s << tag << u"08699514010012"_s << u"8699514010012"_s
        << u"S1"_s << QString() << QDate() << QDate();
    QTest::newRow("']' typed as 'ü' on a Turkish-Q layout")
        << u"üd2010869951401001217270400"_s << tag << u"08699514010012"_s << u"8699514010012"_s
        << QString() << QString() << QDate(2027, 4, 30) << QDate();
    QTest::newRow("]C1, lower-case letter")
        << u"]c1010869952702201910QLOT"_s << tag << u"08699527022019"_s << u"8699527022019"_s
        << QString() << u"QLOT"_s << QDate() << QDate();
    QTest::newRow("serial made of digits like fields")
        << gs(u"211710280200|0108699514010012"_s) << tag << u"08699514010012"_s << u"8699514010012"_s
        << u"1710280200"_s << QString() << QDate() << QDate();
    QTest::newRow("other fields skipped")
        << gs(u"]d2010869951401001210L7|91internal|240ABC|3103000250800612345678901234567817270400|21S7"_s)
        << tag << u"08699514010012"_s << u"8699514010012"_s << u"S7"_s << u"L7"_s << QDate(2027, 4, 30)
        << QDate();
}

void TstGs1::boxScans()
{
    QFETCH(QString, scan);
    QFETCH(QString, gsText);
    QFETCH(QString, gtin);
    QFETCH(QString, code);
    QFETCH(QString, serial);
    QFETCH(QString, batch);
    QFETCH(QDate, expiry);
    QFETCH(QDate, production);
    const ScanReading r = readScan(scan, gsText);
    QCOMPARE(r.message, QString());
    QCOMPARE(r.kind, ScanReading::Kind::Gs1);
    QCOMPARE(r.box.gtin, gtin);
    QCOMPARE(r.code, code);
    QCOMPARE(r.box.productCode(), code);
    QCOMPARE(r.box.serial, serial);
    QCOMPARE(r.box.batch, batch);
    QCOMPARE(r.box.expiry, expiry);
    QCOMPARE(r.box.production, production);
}

void TstGs1::faultyScans_data()
{
    QTest::addColumn<QString>("scan");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong check digit") << u"]d2010869951401001917270400"_s
                                       << u"Karekoddaki ürün numarasının (GTIN) kontrol hanesi yanlış: 08699514010019"_s;
    QTest::newRow("no (01)") << gs(u"]d221ABC|17270400"_s) << u"Karekodda ürün numarası (01) yok."_s;
    QTest::newRow("only the symbology") << u"]d2"_s << u"Karekodda ürün numarası (01) yok."_s;
    QTest::newRow("(17) cut by the end") << gs(u"010869951401001221SN1|172704"_s)
                                         << u"Karekod eksik ya da bozuk okundu: (17) alanı."_s;
    QTest::newRow("(17) cut by a separator") << gs(u"0108699514010012172704|10L"_s)
                                             << u"Karekod eksik ya da bozuk okundu: (17) alanı."_s;
    QTest::newRow("(01) cut") << u"]d201086995140"_s << u"Karekod eksik ya da bozuk okundu: (01) alanı."_s;
    QTest::newRow("letter in (17)") << u"01086995140100121727O400"_s
                                    << u"Karekod eksik ya da bozuk okundu: (17) alanı."_s;
    QTest::newRow("letter in (01)") << u"]d2010869951401O012"_s
                                    << u"Karekod eksik ya da bozuk okundu: (01) alanı."_s;
    QTest::newRow("empty serial") << gs(u"010869951401001221|10L"_s)
                                  << u"Karekod eksik ya da bozuk okundu: (21) alanı."_s;
    QTest::newRow("half a field number at the end") << u"01086995140100127"_s
                                                    << u"Karekod eksik ya da bozuk okundu: (7) alanı."_s;
    QTest::newRow("month 13") << u"010869951401001217271300"_s << u"Karekoddaki tarih geçersiz: (17) 271300."_s;
    QTest::newRow("31 February") << u"010869951401001217270231"_s << u"Karekoddaki tarih geçersiz: (17) 270231."_s;
    QTest::newRow("29 February of 2027") << u"010869951401001217270229"_s
                                         << u"Karekoddaki tarih geçersiz: (17) 270229."_s;
    QTest::newRow("(11) month 00") << u"010869951401001211250031"_s << u"Karekoddaki tarih geçersiz: (11) 250031."_s;
    QTest::newRow("unknown (19)") << u"]d2010869951401001219ABC"_s << u"Karekodda tanınmayan alan numarası: (19)."_s;
    QTest::newRow("unknown (236)") << u"]d20108699514010012236X"_s << u"Karekodda tanınmayan alan numarası: (236)."_s;
    QTest::newRow("EAN-13 behind ]d2") << u"]d28699514010012"_s << u"Karekodda tanınmayan alan numarası: (86)."_s;
    QTest::newRow("]d2ABC") << u"]d2ABC"_s << u"Karekod bozuk okundu: alan numarası yerinde \"ABC\" var."_s;
    QTest::newRow("two GTINs") << u"010869951401001217270400010869952702201921S"_s
                               << u"Karekodda (01) alanı iki kez, farklı değerlerle var."_s;
    QTest::newRow("text with spaces") << u"ABC DEF"_s << u"Okunan kod ne karekod ne barkod: ABC DEF"_s;
    QTest::newRow("21 characters") << u"869951401001286995140"_s
                                   << u"Okunan kod ne karekod ne barkod: 869951401001286995140"_s;
    QTest::newRow("long text cut to 40")
        << u"Bu bir karekod değil, yalnızca uzun bir yazı parçası"_s
        << u"Okunan kod ne karekod ne barkod: Bu bir karekod değil, yalnızca uzun bir "_s;
    QTest::newRow("Turkish letter") << u"İLAÇ"_s << u"Okunan kod ne karekod ne barkod: İLAÇ"_s;
    QTest::newRow("blank") << u" \r\n"_s << u"Okunan kod boş."_s;
}

void TstGs1::faultyScans()
{
    QFETCH(QString, scan);
    QFETCH(QString, message);
    const ScanReading r = readScan(scan);
    QCOMPARE(r.message, message);
    QCOMPARE(r.kind, ScanReading::Kind::Invalid);
    QCOMPARE(r.code, QString());
}

void TstGs1::plainScans_data()
{
    QTest::addColumn<QString>("scan");
    QTest::addColumn<QString>("code");
    QTest::newRow("EAN-13") << u"8699514010012"_s << u"8699514010012"_s;
    // A linear code is taken as it is; the product search decides whether it is known.
    QTest::newRow("EAN-13, check digit not ours to judge") << u"8699514010019"_s << u"8699514010019"_s;
    QTest::newRow("EAN-13 with CR LF") << u"8699514010012\r\n"_s << u"8699514010012"_s;
    QTest::newRow("F7") << u"F7"_s << u"F7"_s;
    QTest::newRow("f7 kept as typed") << u" f7 "_s << u"f7"_s;
    QTest::newRow("starts with 01, too short for a GTIN") << u"010869951401"_s << u"010869951401"_s;
    QTest::newRow("20 characters") << u"ABCDEFGHIJ0123456789"_s << u"ABCDEFGHIJ0123456789"_s;
    QTest::newRow("one character") << u"7"_s << u"7"_s;
}

void TstGs1::plainScans()
{
    QFETCH(QString, scan);
    QFETCH(QString, code);
    const ScanReading r = readScan(scan);
    QCOMPARE(r.kind, ScanReading::Kind::Plain);
    QCOMPARE(r.code, code);
    QCOMPARE(r.message, QString());
    QCOMPARE(r.box.gtin, QString());
}

void TstGs1::checkDigits_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<bool>("valid");
    QTest::newRow("EAN-13") << u"8699514010012"_s << true;
    QTest::newRow("EAN-13 wrong") << u"8699514010019"_s << false;
    QTest::newRow("EAN-13 other") << u"4006381333931"_s << true;
    QTest::newRow("EAN-13 other 2") << u"5901234123457"_s << true;
    QTest::newRow("GTIN-14 indicator 0") << u"08699514010012"_s << true;
    QTest::newRow("GTIN-14 indicator 1") << u"18699514010019"_s << true;
    QTest::newRow("GTIN-14 wrong") << u"86995140100120"_s << false;
    QTest::newRow("GTIN-12") << u"036000291452"_s << true;
    QTest::newRow("GTIN-12 wrong") << u"036000291453"_s << false;
    QTest::newRow("GTIN-8") << u"96385074"_s << true;
    QTest::newRow("GTIN-8 wrong") << u"96385075"_s << false;
    QTest::newRow("11 digits") << u"03600029145"_s << false;
    QTest::newRow("letter") << u"869951401001A"_s << false;
    QTest::newRow("empty") << QString() << false;
}

void TstGs1::checkDigits()
{
    QFETCH(QString, digits);
    QFETCH(bool, valid);
    QCOMPARE(gtinCheckDigitValid(digits), valid);
}

void TstGs1::serialKeys()
{
    QCOMPARE(serialKey(u"abcı1"_s), serialKey(u"ABCI1"_s));
    QCOMPARE(serialKey(u"Abcİ1"_s), serialKey(u"ABCI1"_s));
    QCOMPARE(serialKey(u"abci1"_s), serialKey(u"abcı1"_s));
    QCOMPARE(serialKey(u"ABCI1"_s), u"ABCI1"_s);
    QCOMPARE(serialKey(u"şeker"_s), serialKey(u"ŞEKER"_s));
    QVERIFY(serialKey(u"ş"_s) != serialKey(u"S"_s));
    QVERIFY(serialKey(u"ç1"_s) != serialKey(u"C1"_s));
    QCOMPARE(serialKey(QString()), QString());

    // The serial of a box scanned on a Turkish-Q keyboard matches the one kept.
    const ScanReading typed = readScan(gs(u"010869951401001221Xı9k7|10lıt1"_s));
    QCOMPARE(typed.kind, ScanReading::Kind::Gs1);
    QCOMPARE(typed.box.serial, u"Xı9k7"_s);
    QCOMPARE(serialKey(typed.box.serial), serialKey(u"XI9K7"_s));
    QCOMPARE(serialKey(typed.box.batch), serialKey(u"LIT1"_s));
}

QTEST_APPLESS_MAIN(TstGs1)
#include "tst_gs1.moc"
