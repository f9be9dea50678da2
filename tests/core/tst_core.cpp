#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "core/words.h"

#include <QTest>
#include <algorithm>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

class TstCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatPatterns_data();
    void formatPatterns();
    void formatPrintLines();
    void masks_data();
    void masks();
    void amountInWords_data();
    void amountInWords();
    void dateTexts();
    void dateRangeAndReals();
    void turkishCaseAndOrder();
    void codePage1254();
    void numbersTyped();
};

void TstCore::formatPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("%11.0n") << u"%11.0n"_s << 1234567.0 << u"  1.234.567"_s;
    QTest::newRow("%11.0n rounds") << u"%11.0n"_s << 33299.999999999996 << u"     33.300"_s;
    QTest::newRow("%14m") << u"%14m"_s << 1234567.0 << u"  1.234.567 TL"_s;
    QTest::newRow("%m zero") << u"%m"_s << 0.0 << u"0 TL"_s;
    QTest::newRow("%m negative") << u"%m"_s << -2500.0 << u"-2.500 TL"_s;
    QTest::newRow("%25.0m") << u"%25.0m"_s << 987654.0 << u"               987.654 TL"_s;
    QTest::newRow("%-5.2g 8") << u"%-5.2g"_s << 8.0 << u"8    "_s;
    QTest::newRow("%-5.2g 18") << u"%-5.2g"_s << 18.0 << u"18   "_s;
    QTest::newRow("%-5.2g 1.5") << u"%-5.2g"_s << 1.5 << u"1,5  "_s;
    QTest::newRow("%g 12.5") << u"%g"_s << 12.5 << u"12,5"_s;
    QTest::newRow("%g 33.3") << u"%g"_s << 33.3 << u"33,3"_s;
    QTest::newRow("%g 0.25") << u"%g"_s << 0.25 << u"0,25"_s;
    QTest::newRow("%7.0g") << u"%7.0g"_s << 123.0 << u"    123"_s;
    QTest::newRow("%0.0f") << u"%0.0f"_s << 1234567.4 << u"1234567"_s;
    QTest::newRow("%0.0f half up") << u"%0.0f"_s << 2.5 << u"3"_s;
    QTest::newRow("%0.0f negative half") << u"%0.0f"_s << -2.5 << u"-3"_s;
    QTest::newRow("%f default") << u"%f"_s << 3.14159 << u"3,14"_s;
    QTest::newRow("%5.2n") << u"%5.2n"_s << 12.5 << u"12,50"_s;
    QTest::newRow("%5.2n thousands") << u"%5.2n"_s << 1234.5 << u"1.234,50"_s;
    QTest::newRow("%n negative") << u"%n"_s << -1234.5 << u"-1.234,50"_s;
    QTest::newRow("%13.0n") << u"%13.0n"_s << 0.0 << u"            0"_s;
    QTest::newRow("%-16.0n") << u"%-16.0n"_s << 123456.0 << u"123.456         "_s;
    QTest::newRow("%-6.2g") << u"%-6.2g"_s << 2.333 << u"2,3   "_s;
    QTest::newRow("%4d") << u"%4d"_s << 7.0 << u"   7"_s;
    QTest::newRow("%.3d") << u"%.3d"_s << 7.0 << u"007"_s;
    QTest::newRow("%f Alış No") << u"Alış No:%0.0f"_s << 15.0 << u"Alış No:15"_s;
}

void TstCore::formatPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    if (pattern.contains(u'd')) QCOMPARE(format(pattern, qlonglong(value)), expected);
    else QCOMPARE(format(pattern, value), expected);
}

void TstCore::formatPrintLines()
{
    // Texts: width pads on the left, '-' on the right, precision cuts.
    QCOMPARE(format(u"%-6s|", u"AB"_s), u"AB    |"_s);
    QCOMPARE(format(u"%6s|", u"AB"_s), u"    AB|"_s);
    QCOMPARE(format(u"%.5s", u"ABCDEFG"_s), u"ABCDE"_s);
    QCOMPARE(format(u"100%% %s", u"tamam"_s), u"100% tamam"_s);
    // An SSK back-print line.
    QCOMPARE(format(u"%4d %-13s %-8s %7d %11.0n%11.0n%11.0n%11.0n", 1, u"8699123030012"_s, u"TABLET"_s, 2,
                    250000.0, 125000.0, 0.0, 0.0),
             u"   1 8699123030012 TABLET         2     250.000    125.000          0          0"_s);
    // The product line of the standard back-print: a 36-character name prints as 31
    // characters and the columns stay aligned.
    const QString name = u"AMOKLAVİN 1000 MG 20 FİLM TABLET XY"_s.leftJustified(36, u'Z');
    QCOMPARE(name.size(), 36);
    const QString line = format(u"%-32s%2d%1s%11.0n %11s%11s%11s%11s%11s", name.left(31), 2, u"x"_s, 50000.0,
                                format(u"%11.0n", 100000.0), u"---"_s, u"---"_s, u"---"_s, u"---"_s);
    QCOMPARE(line, name.left(31) + u"  2x     50.000     100.000        ---        ---        ---        ---"_s);
    QCOMPARE(line.indexOf(u"2x"_s), 33);  // quantity right-aligned in two places after 32
    // Rates on the discount line of the re-evaluation back-print.
    QCOMPARE(format(u"%1s%-5g+", u"%"_s, 10.0), u"%10   +"_s);
    QCOMPARE(format(u"%-40s :%-d", u"İLİ"_s, 6), u"İLİ                                      :6"_s);
}

void TstCore::masks_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("#,# zero") << u"#,#"_s << 0.0 << QString();
    QTest::newRow("#,# rounds") << u"#,#"_s << 1234.56 << u"1.235"_s;
    QTest::newRow("#,# millions") << u"#,#"_s << 1234567.0 << u"1.234.567"_s;
    QTest::newRow("#,# negative") << u"#,#"_s << -2500.0 << u"-2.500"_s;
    QTest::newRow("#,##0 zero") << u"#,##0"_s << 0.0 << u"0"_s;
    QTest::newRow("#,##0 Adet") << u"#,##0 Adet"_s << 12345.0 << u"12.345 Adet"_s;
    QTest::newRow("#,##0 Adet zero") << u"#,##0 Adet"_s << 0.0 << u"0 Adet"_s;
    QTest::newRow("#,# TL") << u"#,# TL"_s << 1500000.0 << u"1.500.000 TL"_s;
    QTest::newRow("0.00") << u"0.00"_s << 12.5 << u"12,50"_s;
    QTest::newRow("0.00 zero") << u"0.00"_s << 0.0 << u"0,00"_s;
    QTest::newRow("%0.00") << u"%0.00"_s << 18.0 << u"%18,00"_s;
    QTest::newRow("sections") << u"#,##0;(#,##0);sıfır"_s << -5.0 << u"(5)"_s;
    QTest::newRow("zero section") << u"#,##0;(#,##0);sıfır"_s << 0.0 << u"sıfır"_s;
}

void TstCore::masks()
{
    QFETCH(QString, mask);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatMask(mask, value), expected);
}

void TstCore::amountInWords_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("words");
    QTest::newRow("1.234.567") << 1234567.0 << u"BİRMİLYONİKİYÜZOTUZDÖRTBİNBEŞYÜZALTMIŞYEDİ"_s;
    QTest::newRow("1.000.000") << 1000000.0 << u"BİRMİLYON"_s;
    QTest::newRow("1.500") << 1500.0 << u"BİNBEŞYÜZ"_s;
    QTest::newRow("1.234.000") << 1234000.0 << u"BİRMİLYONİKİYÜZOTUZDÖRTBİN"_s;
    QTest::newRow("milyar plain I") << 2000000000.0 << u"İKİMILYAR"_s;
    QTest::newRow("100") << 100.0 << u"YÜZ"_s;
    QTest::newRow("21.000") << 21000.0 << u"YİRMİBİRBİN"_s;
    QTest::newRow("100.000") << 100000.0 << u"YÜZBİN"_s;
    QTest::newRow("decimals dropped") << 1234.4 << u"BİNİKİYÜZOTUZDÖRT"_s;
    QTest::newRow("1.001.000") << 1001000.0 << u"BİRMİLYONBİN"_s;
    QTest::newRow("2.001.500") << 2001500.0 << u"İKİMİLYONBİNBEŞYÜZ"_s;
    QTest::newRow("1.000") << 1000.0 << u"BİN"_s;
    QTest::newRow("11.000") << 11000.0 << u"ONBİRBİN"_s;
    QTest::newRow("101.000") << 101000.0 << u"YÜZBİRBİN"_s;
    QTest::newRow("zero") << 0.0 << QString();
}

void TstCore::amountInWords()
{
    QFETCH(double, amount);
    QFETCH(QString, words);
    QCOMPARE(selvar::amountInWords(amount), words);
}

void TstCore::dateTexts()
{
    QVERIFY(parseDateText(u"  .  .    "_s).isBlank());
    QVERIFY(parseDateText(QString()).isBlank());
    QVERIFY(parseDateText(u"  /  /    "_s).isBlank());
    QCOMPARE(parseDateText(u"31.02.2026"_s).state, DateInput::Invalid);
    QCOMPARE(parseDateText(u"ab.cd.efgh"_s).state, DateInput::Invalid);
    QCOMPARE(parseDateText(u"12.13.2026"_s).state, DateInput::Invalid);
    QCOMPARE(parseDateText(u"09.12.2026"_s).date, QDate(2026, 12, 9));
    QCOMPARE(parseDateText(u" 9/12/2026"_s).date, QDate(2026, 12, 9));
    QCOMPARE(parseDateText(u"01.01.99"_s).date, QDate(1999, 1, 1));
    QCOMPARE(parseDateText(u"29.02.2028"_s).date, QDate(2028, 2, 29));
    QCOMPARE(dateText(QDate(2026, 3, 5)), u"05.03.2026"_s);
    QCOMPARE(dateText(QDate()), QString());
    QVERIFY(maskedDateIsBlank(u"  .  .    "_s));
    QVERIFY(!maskedDateIsBlank(u"01.  .    "_s));
}

void TstCore::dateRangeAndReals()
{
    const QDate d(2026, 12, 9);
    QCOMPARE(dayStart(d), QDateTime(d, QTime(0, 0, 0, 0)));
    QCOMPARE(dayEnd(d), QDateTime(d, QTime(23, 59, 59, 999)));
    QVERIFY(dayEnd(d) < dayStart(d.addDays(1)));
    QCOMPARE(toDateTimeReal(QDate(1899, 12, 30)), 0.0);
    QCOMPARE(toDateTimeReal(QDate(2000, 1, 1)), 36526.0);
    QCOMPARE(toDateTimeReal(QDateTime(QDate(2000, 1, 1), QTime(6, 0))), 36526.25);
    QCOMPARE(fromDateTimeReal(36526.75), QDateTime(QDate(2000, 1, 1), QTime(18, 0)));
    const QDateTime t(QDate(2026, 12, 9), QTime(14, 5, 33, 120));
    QCOMPARE(fromDateTimeReal(toDateTimeReal(t)), t);
}

void TstCore::turkishCaseAndOrder()
{
    QCOMPARE(trUpper(u"istanbul ılık çiğ şöğüt"_s), u"İSTANBUL ILIK ÇİĞ ŞÖĞÜT"_s);
    QCOMPARE(trLower(u"İSTANBUL IŞIK"_s), u"istanbul ışık"_s);
    QVERIFY(startsWithNoCase(u"İLAÇ"_s, u"ila"_s));
    QVERIFY(!startsWithNoCase(u"İLAÇ"_s, u"ıla"_s));
    QVERIFY(startsWithNoCase(u"IŞIK"_s, u"ış"_s));
    QVERIFY(!startsWithNoCase(u"ISTAKOZ"_s, u"ış"_s));
    QCOMPARE(sortKey(u"ılık"_s), sortKey(u"ILIK"_s));
    QCOMPARE(sortKey(u"istanbul"_s), sortKey(u"İSTANBUL"_s));
    QStringList words{u"ÜZÜM"_s, u"çay"_s, u"İNCİR"_s, u"Işık"_s, u"ceviz"_s, u"ŞEKER"_s, u"su"_s,
                      u"ÖRDEK"_s, u"okul"_s, u"ISTAKOZ"_s, u"DERE"_s, u"uzay"_s, u"çiçek"_s, u"ĞÜRÜLTÜ"_s,
                      u"GAZ"_s, u"HAL"_s, u"JETON"_s};
    std::sort(words.begin(), words.end(), [](const QString& a, const QString& b) { return sortKey(a) < sortKey(b); });
    QCOMPARE(words, (QStringList{u"ceviz"_s, u"çay"_s, u"çiçek"_s, u"DERE"_s, u"GAZ"_s, u"ĞÜRÜLTÜ"_s, u"HAL"_s,
                                 u"ISTAKOZ"_s, u"Işık"_s, u"İNCİR"_s, u"JETON"_s, u"okul"_s, u"ÖRDEK"_s, u"su"_s,
                                 u"ŞEKER"_s, u"uzay"_s, u"ÜZÜM"_s}));
    QVERIFY(isDigitsOnly(u"0123"_s));
    QVERIFY(!isDigitsOnly(u"12a"_s));
    QVERIFY(!isDigitsOnly(QString()));
    QCOMPARE(digitsOf(u"12/345 A"_s), u"12345"_s);
}

void TstCore::codePage1254()
{
    const QString text = u"ĞÜŞİÖÇğüşıöç"_s;
    const QByteArray bytes = toCp1254(text);
    QCOMPARE(bytes, QByteArray("\xD0\xDC\xDE\xDD\xD6\xC7\xF0\xFC\xFE\xFD\xF6\xE7"));
    QCOMPARE(fromCp1254(bytes), text);
    unsigned char buffer[ShortTextSize];
    writeShortText(buffer, u"Ağrı"_s);
    QCOMPARE(int(buffer[0]), 4);
    QCOMPARE(int(buffer[2]), 0xF0);
    QCOMPARE(int(buffer[4]), 0xFD);
    QCOMPARE(readShortText(buffer), u"Ağrı"_s);
    writeShortText(buffer, QString(300, u'A'));
    QCOMPARE(int(buffer[0]), 255);
}

void TstCore::numbersTyped()
{
    double v = 0;
    QVERIFY(parseNumber(u"12,5"_s, &v));
    QCOMPARE(v, 12.5);
    QVERIFY(parseNumber(u"1.234,5"_s, &v));
    QCOMPARE(v, 1234.5);
    QVERIFY(parseNumber(u"1.250"_s, &v));
    QCOMPARE(v, 1250.0);
    QVERIFY(parseNumber(u"12.5"_s, &v));
    QCOMPARE(v, 12.5);
    QVERIFY(!parseNumber(u"12a"_s, &v));
    QVERIFY(!parseNumber(QString(), &v));
}

QTEST_APPLESS_MAIN(TstCore)
#include "tst_core.moc"
