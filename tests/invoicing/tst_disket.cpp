// The SSK diskette: the four dBASE tables read back byte by byte (header, field list,
// records, end mark), their values from the invoice and its prescriptions, the product
// slots, tables found with layouts of their own, a build stopped before anything is
// replaced, and the copy over two diskettes.
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "invoicing/disket_logic.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "support/fake_platform.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// A dBASE III file as the receiving side reads it, parsed here without shapelib.
struct Dbf {
    int version = 0, headerLength = 0, recordLength = 0, count = 0, languageDriver = 0;
    QDate date;
    struct Field {
        QString name;
        char type;
        int width;
    };
    QList<Field> fields;
    QList<QByteArray> records;  // without the deletion mark
    bool endMark = false;

    static Dbf read(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return {};
        const QByteArray b = f.readAll();
        Dbf d;
        auto u16 = [&](int at) { return quint8(b[at]) | (quint8(b[at + 1]) << 8); };
        d.version = quint8(b[0]);
        d.date = QDate(1900 + quint8(b[1]), quint8(b[2]), quint8(b[3]));
        d.count = int(quint8(b[4]) | (quint8(b[5]) << 8) | (quint8(b[6]) << 16) | (quint8(b[7]) << 24));
        d.headerLength = u16(8);
        d.recordLength = u16(10);
        d.languageDriver = quint8(b[29]);
        for (int at = 32; at < d.headerLength - 1; at += 32)
            d.fields << Field{QString::fromLatin1(b.mid(at, 11).constData()), b[at + 11], quint8(b[at + 16])};
        for (int r = 0; r < d.count; ++r) d.records << b.mid(d.headerLength + r * d.recordLength + 1, d.recordLength - 1);
        d.endMark = b.size() == d.headerLength + d.count * d.recordLength + 1 && b.back() == '\x1a';
        return d;
    }
    // A field of a record as the file holds it, blanks trimmed; texts in code page 1254.
    QString value(int record, const QString& field) const
    {
        int at = 0;
        for (const Field& f : fields) {
            if (f.name == field) return fromCp1254(records[record].mid(at, f.width)).trimmed();
            at += f.width;
        }
        return u"?"_s;
    }
};

// A table file written by hand, as an office's own empty table would be.
void writeDbf(const QString& path, const QList<DbfField>& fields)
{
    QByteArray b(32, '\0');
    b[0] = 3;
    const int header = 32 + 32 * int(fields.size()) + 1;
    int record = 1;
    for (const DbfField& f : fields) record += f.width;
    b[8] = char(header & 0xff), b[9] = char(header >> 8), b[10] = char(record & 0xff), b[11] = char(record >> 8);
    for (const DbfField& f : fields) {
        QByteArray d(32, '\0');
        const QByteArray name = f.name.toLatin1();
        d.replace(0, name.size(), name);
        d[11] = f.type;
        d[16] = char(f.width);
        b += d;
    }
    b += '\r';
    b += '\x1a';
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(b);
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Fixture {
    TestDb t{true};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(14, 0))};
    FakePlatform platform;
    Session session{t.db(), prompter, clock};
    Fixture()
    {
        QStandardPaths::setTestModeEnabled(true);
        session.platform = &platform;
        Sql::run(t.db(), u"UPDATE RECETE SET FATNO = NULL"_s);
        insertRecord(t.db(), u"FATURA"_s,
                     {{u"FATNO"_s, 50.0}, {u"FATURANO"_s, u"77123456"_s}, {u"FATARIH"_s, QDate(2026, 11, 30)},
                      {u"KRMKOD"_s, u"SSK"_s}, {u"KES"_s, true}, {u"RCTOPSAYISI"_s, 3}, {u"NET"_s, 153100.4},
                      {u"FAT_GRB"_s, 3}, {u"BRUT"_s, 220000.0}, {u"TENZIL1"_s, 26000.0}, {u"TENZIL2"_s, 40900.0},
                      {u"TOPKDV"_s, 11340.74}});
    }
    // An SSK prescription of the invoice with its lines (product numbers, null = the line
    // of a product that is gone).
    double prescription(double sale, const QList<qint64>& products, const QVariantMap& ssk = {})
    {
        insertRecord(t.db(), u"RECETE"_s,
                     {{u"RKDEFTERNO"_s, u"T"_s + QString::number(qint64(sale))}, {u"KURUMKOD"_s, u"SSK"_s},
                      {u"SATISNO"_s, sale}, {u"RECTARIH"_s, QDate(2026, 11, 4)}, {u"ALTARIH"_s, QDate(2026, 11, 5)},
                      {u"FATARIH"_s, QDate(2026, 11, 30)}, {u"FATURANO"_s, u"77123456"_s}, {u"FATNO"_s, 50.0},
                      {u"SERINO"_s, u"5000137"_s}, {u"PROTOKOLNO"_s, u"26013"_s}, {u"DRKOD"_s, 1}, {u"NET"_s, 117100.0},
                      {u"HASTAKATPAY"_s, 31900.0}});
        QVariantMap s{{u"SATISNO"_s, sale}, {u"SICILNO"_s, u"4411223"_s}, {u"DURUM_KOD"_s, u"1"_s},
                      {u"YAKINLIK_KOD"_s, u"0"_s}, {u"RS_AD"_s, u"Murat"_s}, {u"RS_SOYAD"_s, u"Demirtaş"_s},
                      {u"HASTALIK"_s, u"1"_s}, {u"GUNKULACIK"_s, u"Günde 3x1"_s}};
        for (auto it = ssk.begin(); it != ssk.end(); ++it) s.insert(it.key(), it.value());
        insertRecord(t.db(), u"RECSSK"_s, s);
        int line = 0;
        for (qint64 p : products)
            insertRecord(t.db(), u"RECSSK_A"_s,
                         {{u"SATISNO"_s, sale}, {u"SIRANOILAC"_s, ++line}, {u"ILACNO"_s, p}, {u"KUTUSAYISI"_s, line},
                          {u"GUN_KULLAN"_s, u"3"_s}, {u"BIRKUL_ALMIK"_s, u"  1"_s}});
        return sale;
    }
    qint64 product(const QString& name, const QString& barcode)
    {
        return addProduct(t.db(), name, 1000, 10, barcode);
    }
    QString path(const QString& table) const { return QDir(t.dir()).absoluteFilePath(table + u".DBF"_s); }
    Dbf table(const QString& name) const { return Dbf::read(path(name)); }
};

}  // namespace

class TstDisket : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layoutsAndFiles();
    void pharmacyAndInvoice();
    void productSlotsAndCodes();
    void foundTables();
    void buildStopsBeforeReplacing();
    void copyOverTwoDiskettes();
};

void TstDisket::layoutsAndFiles()
{
    for (const DiskTable& t : diskTables()) {
        int length = 1;
        for (const DbfField& f : t.fields) length += f.width;
        QCOMPARE(length, t.recordLength);
    }
    Fixture f;
    f.prescription(901, {f.product(u"PAROL 500 MG 20 TABLET"_s, u"8699001001001"_s)});
    DisketLogic l(f.session);
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    const QList<std::pair<QString, int>> expected{{u"ECZTESC1"_s, 161}, {u"ECZRECT1"_s, 692}, {u"KODSUZ1"_s, 425},
                                                  {u"ECZFATR1"_s, 92}};
    for (int i = 0; i < 4; ++i) {
        const Dbf d = f.table(expected[i].first);
        QCOMPARE(d.version, 3);
        QCOMPARE(d.recordLength, expected[i].second);
        QCOMPARE(d.headerLength, 32 + 32 * int(diskTables()[size_t(i)].fields.size()) + 1);
        QCOMPARE(d.languageDriver, 0xCA);
        QCOMPARE(d.date, QDate(2026, 12, 9));
        QCOMPARE(d.count, 1);
        QVERIFY(d.endMark);
        QCOMPARE(d.fields.size(), diskTables()[size_t(i)].fields.size());
        for (int k = 0; k < d.fields.size(); ++k) {
            QCOMPARE(d.fields[k].name, diskTables()[size_t(i)].fields[k].name);
            QCOMPARE(d.fields[k].type, diskTables()[size_t(i)].fields[k].type);
            QCOMPARE(d.fields[k].width, diskTables()[size_t(i)].fields[k].width);
        }
        QCOMPARE(l.expectedSize(i), qint64(expected[i].second));
    }
    QCOMPARE(f.table(u"ECZRECT1"_s).fields[73].name, u"IKUTU_MK10"_s);
    // Upper-case names only: nothing else is left in the folder.
    QCOMPARE(QDir(f.t.dir()).entryList({u"*.dbf"_s}, QDir::Files, QDir::Name),
             (QStringList{u"ECZFATR1.DBF"_s, u"ECZRECT1.DBF"_s, u"ECZTESC1.DBF"_s, u"KODSUZ1.DBF"_s}));
}

void TstDisket::pharmacyAndInvoice()
{
    Fixture f;
    DisketLogic l(f.session);
    // An invoice without prescriptions: the two prescription tables stay empty.
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    Dbf e = f.table(u"ECZTESC1"_s);
    QCOMPARE(e.value(0, u"MERKEZ_KOD"_s), u"1"_s);
    QCOMPARE(e.value(0, u"IL_KODU"_s), u"6"_s);
    QCOMPARE(e.value(0, u"ILCE_KODU"_s), u"5"_s);
    QCOMPARE(e.value(0, u"ECZANE_KOD"_s), u"1234"_s);
    QCOMPARE(e.records[0].mid(10, 20), toCp1254(u"PAPATYA ECZANESİ    "_s));
    QCOMPARE(e.value(0, u"ECZANE_ADR"_s), u"Çiçek Sok. No:7Bahçelievler"_s);
    QCOMPARE(e.value(0, u"ECZANE_TLF"_s), u"3122223344"_s);
    QCOMPARE(e.records[0].right(8), QByteArray(8, ' '));  // no contract date
    QCOMPARE(f.table(u"ECZRECT1"_s).count, 0);
    QCOMPARE(f.table(u"KODSUZ1"_s).count, 0);
    const Dbf i = f.table(u"ECZFATR1"_s);
    QCOMPARE(i.count, 1);
    const QList<std::pair<QString, QString>> invoice{
        {u"FAT_T_YIL"_s, u"2026"_s}, {u"FAT_T_AY"_s, u"11"_s},  {u"FAT_T_GUN"_s, u"30"_s},
        {u"FATURA_NO"_s, u"77123456"_s}, {u"FREC_SAYSI"_s, u"3"_s}, {u"FATTUT"_s, u"153100"_s},
        {u"FAT_TIP"_s, u"3"_s},      {u"KDVLITUT"_s, u"220000"_s}, {u"ISKONTOTUT"_s, u"26000"_s},
        {u"KATPAYTUT"_s, u"40900"_s}, {u"KDV_TUT"_s, u"11341"_s}};
    for (const auto& [field, value] : invoice) QCOMPARE(i.value(0, field), value);
    QCOMPARE(l.expectedSize(1), qint64(0));

    // The institution's contract start, split.
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET SOZTRHBAS = :d WHERE KOD = 'SSK'"_s, {{u"d"_s, QDate(2026, 1, 15)}});
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    e = f.table(u"ECZTESC1"_s);
    QCOMPARE(e.value(0, u"S_YILI"_s), u"2026"_s);
    QCOMPARE(e.value(0, u"S_AY"_s), u"1"_s);
    QCOMPARE(e.value(0, u"S_GUN"_s), u"15"_s);
    // Without the invoice's row: no invoice record.
    QVERIFY(l.build(u'2', u"SSK"_s, 51));
    QCOMPARE(f.table(u"ECZFATR1"_s).count, 0);
}

void TstDisket::productSlotsAndCodes()
{
    Fixture f;
    QList<qint64> eleven;
    for (int i = 0; i < 11; ++i) eleven << f.product(u"BARKODLU "_s + QString::number(i), u"86990010010"_s + QString::number(10 + i));
    const qint64 loose = f.product(u"KREM BAZ 100 GR MAGİSTRAL"_s, QString());
    const qint64 gone = f.product(u"SİLİNEN ÜRÜN"_s, u"8699009009009"_s);
    const qint64 written = f.product(u"YAZILAN ÜRÜN"_s, u"8699007007007"_s);
    Sql::run(f.t.db(), u"DELETE FROM URUN WHERE ILACNO = :p"_s, {{u"p"_s, gone}});
    Sql::run(f.t.db(), u"INSERT INTO DR (DRKOD, DRAD, DRSOYAD, SICILNO, DIPLOMANO, BRANS) VALUES "
                       u"(77, 'Ayşe', 'Kaya', '4567', '12/345 A', '12')"_s);
    f.prescription(901, eleven, {{u"ULKE_KOD"_s, u"10"_s}});
    f.prescription(902, {eleven[0]}, {{u"ULKE_KOD"_s, QString()}});
    f.prescription(903, {gone, loose, eleven[1]}, {{u"ULKE_KOD"_s, u"03"_s}});
    Sql::run(f.t.db(), u"UPDATE RECETE SET DRKOD = 77, RECTARIH = :d WHERE SATISNO = 903"_s, {{u"d"_s, QDate(2026, 11, 6)}});
    Sql::run(f.t.db(), u"UPDATE RECSSK_A SET REC_ILAC = :w, ESDEGERGK = '001' WHERE SATISNO = 902"_s, {{u"w"_s, written}});
    DisketLogic l(f.session);
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    const Dbf b = f.table(u"ECZRECT1"_s), k = f.table(u"KODSUZ1"_s);
    QCOMPARE(b.count, 3);
    QCOMPARE(k.count, 3);
    // Eleven barcoded lines: ten slots; no product without barcode, so a KODSUZ1 record
    // without slots that points on.
    QCOMPARE(b.value(0, u"V_BARKOD10"_s), u"8699001001019"_s);
    QCOMPARE(b.value(0, u"IKUTU_MK10"_s), u"10"_s);
    QCOMPARE(b.value(0, u"DEVAMKOD"_s), QString());
    QCOMPARE(b.value(0, u"FREC_SR_NO"_s), u"1"_s);
    QCOMPARE(b.value(0, u"GUN_KUL1"_s), u"3"_s);
    QCOMPARE(b.value(0, u"DOZ1"_s), u"1"_s);
    QCOMPARE(b.value(0, u"ULKEKOD"_s), QString());
    QCOMPARE(k.value(0, u"V_ILACAD1"_s), QString());
    QCOMPARE(k.value(0, u"DEFKAYNO1"_s), QString());
    QCOMPARE(k.value(0, u"DEVAMKOD"_s), u"D"_s);
    QCOMPARE(k.value(0, u"DEFKAYTRH"_s), u"261105"_s);
    QCOMPARE(k.value(0, u"GUNLUK_DOZ"_s), u"Günde 3x1"_s);
    // The product written on the prescription and the equivalence code.
    QCOMPARE(b.value(1, u"R_BARKOD1"_s), u"8699007007007"_s);
    QCOMPARE(b.value(1, u"V_BARKOD1"_s), u"8699001001010"_s);
    QCOMPARE(b.value(1, u"ESDG_KOD1"_s), u"1"_s);
    QCOMPARE(b.value(1, u"ULKEKOD"_s), u"0"_s);
    QCOMPARE(b.value(1, u"YAKIN_KOD"_s), u"0"_s);
    // A product gone from the cards is skipped; one without barcode goes on in KODSUZ1.
    QCOMPARE(b.value(2, u"V_BARKOD1"_s), u"8699001001011"_s);
    QCOMPARE(b.value(2, u"V_BARKOD2"_s), QString());
    QCOMPARE(b.value(2, u"IKUTU_MIK1"_s), u"3"_s);
    QCOMPARE(b.value(2, u"DEVAMKOD"_s), u"D"_s);
    QCOMPARE(b.value(2, u"ULKEKOD"_s), u"3"_s);
    QCOMPARE(b.value(2, u"DR_DIPLMNO"_s), u"12345"_s);
    QCOMPARE(b.value(2, u"DR_AD"_s), u"Ayşe"_s);
    QCOMPARE(b.value(2, u"DR_BRANS"_s), u"12"_s);
    QCOMPARE(b.value(2, u"REC_T_GUN"_s), u"6"_s);
    QCOMPARE(k.value(2, u"V_ILACAD1"_s), u"KREM BAZ 100 GR"_s);
    QCOMPARE(k.value(2, u"IKUTU_MIK1"_s), u"2"_s);
    QCOMPARE(k.value(2, u"DEFKAYNO1"_s), u"1"_s);
    QCOMPARE(k.value(2, u"DEVAMKOD"_s), u"D"_s);
    // The prescription's own values.
    QCOMPARE(b.value(0, u"REC_TOPTUT"_s), u"117100"_s);
    QCOMPARE(b.value(0, u"KATPAYTUT"_s), u"31900"_s);
    QCOMPARE(b.value(0, u"SG_SICILNO"_s), u"4411223"_s);
    QCOMPARE(b.value(0, u"SG_SOYAD"_s), u"Demirtaş"_s);
    QCOMPARE(b.value(0, u"FATURA_NO"_s), u"77123456"_s);
    QCOMPARE(b.value(0, u"EISL_T_YIL"_s), u"2026"_s);
    QCOMPARE(b.value(0, u"HASTALI_IS"_s), u"1"_s);
    QCOMPARE(b.value(0, u"RBIT_T_YIL"_s), QString());
    QCOMPARE(l.expectedSize(1), qint64(3 * 692));
}

void TstDisket::foundTables()
{
    Fixture f;
    f.prescription(901, {f.product(u"PAROL 500 MG 20 TABLET"_s, u"8699001001001"_s)});
    // The office's own invoice table: other number widths, the same record length.
    QList<DbfField> own = diskTables()[3].fields;
    for (DbfField& x : own) {
        if (x.name == u"FATTUT"_s) x.width = 15;
        if (x.name == u"KDVLITUT"_s) x.width = 9;
    }
    writeDbf(f.path(u"ECZFATR1"_s), own);
    DisketLogic l(f.session);
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    Dbf i = f.table(u"ECZFATR1"_s);
    QCOMPARE(i.recordLength, 92);
    QCOMPARE(i.fields[9].name, u"FATTUT"_s);
    QCOMPARE(i.fields[9].width, 15);
    QCOMPARE(i.value(0, u"FATTUT"_s), u"153100"_s);
    // A found table with a field of another name is refused and left as it was, and
    // nothing else is replaced.
    QList<DbfField> wrong = diskTables()[2].fields;
    wrong[35].name = u"ILACADI1"_s;
    writeDbf(f.path(u"KODSUZ1"_s), wrong);
    const QByteArray before = bytesOf(f.path(u"KODSUZ1"_s)), pharmacy = bytesOf(f.path(u"ECZTESC1"_s));
    Sql::run(f.t.db(), u"UPDATE EKIM SET ECZKODU = 4321"_s);
    QVERIFY(!l.build(u'2', u"SSK"_s, 50));
    QVERIFY2(f.prompter.texts().last().startsWith(u"KODSUZ1.DBF tablosunun yapısı beklenenden farklı"_s),
             qPrintable(f.prompter.texts().last()));
    QCOMPARE(bytesOf(f.path(u"KODSUZ1"_s)), before);
    QCOMPARE(bytesOf(f.path(u"ECZTESC1"_s)), pharmacy);
}

void TstDisket::buildStopsBeforeReplacing()
{
    Fixture f;
    const qint64 p = f.product(u"PAROL 500 MG 20 TABLET"_s, u"8699001001001"_s);
    f.prescription(901, {p});
    DisketLogic l(f.session);
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    QStringList names{u"ECZTESC1"_s, u"ECZRECT1"_s, u"KODSUZ1"_s, u"ECZFATR1"_s};
    QList<QByteArray> before;
    for (const QString& n : names) before << bytesOf(f.path(n));

    // A telephone that is no number.
    Sql::run(f.t.db(), u"UPDATE EKIM SET TLF = '312 2223344'"_s);
    Sql::run(f.t.db(), u"UPDATE RECETE SET NET = 1 WHERE SATISNO = 901"_s);
    QVERIFY(!l.build(u'2', u"SSK"_s, 50));
    QCOMPARE(f.prompter.texts().last(),
             u"ECZTESC1.DBF, ECZANE_TLF: \"312 2223344\" bir sayı değil. Disket tabloları değiştirilmedi."_s);
    for (int i = 0; i < 4; ++i) QCOMPARE(bytesOf(f.path(names[i])), before[i]);
    QCOMPARE(l.expectedSize(1), qint64(0));

    // Twelve boxes in a found table whose first box count has one digit.
    Sql::run(f.t.db(), u"UPDATE EKIM SET TLF = '3122223344'"_s);
    QList<DbfField> narrow = diskTables()[1].fields;
    narrow[64].width = 1;  // IKUTU_MIK1
    narrow[65].width = 3;  // IKUTU_MIK2 keeps the record length
    writeDbf(f.path(u"ECZRECT1"_s), narrow);
    const QByteArray empty = bytesOf(f.path(u"ECZRECT1"_s));
    Sql::run(f.t.db(), u"UPDATE RECSSK_A SET KUTUSAYISI = 12"_s);
    QVERIFY(!l.build(u'2', u"SSK"_s, 50));
    QCOMPARE(f.prompter.texts().last(),
             u"ECZRECT1.DBF, IKUTU_MIK1 (Satış No: 901): 12 alana sığmıyor (1 hane). Disket tabloları değiştirilmedi."_s);
    QCOMPARE(bytesOf(f.path(u"ECZRECT1"_s)), empty);
    QCOMPARE(bytesOf(f.path(u"ECZTESC1"_s)), before[0]);
    QVERIFY(!QDir(QDir(f.t.dir()).absoluteFilePath(u".disket-yeni"_s)).exists());
}

void TstDisket::copyOverTwoDiskettes()
{
    Fixture f;
    f.prescription(901, {f.product(u"PAROL 500 MG 20 TABLET"_s, u"8699001001001"_s)});
    f.prescription(902, {f.product(u"KREM BAZ 100 GR MAGİSTRAL"_s, QString())});
    DisketLogic l(f.session);
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    QTemporaryDir a, b;
    // Room for the first two tables only.
    f.platform.free = l.expectedSize(0) + l.expectedSize(1) + 1;
    l.copy(a.path());
    QCOMPARE(f.prompter.texts().last(), u"Yeterli boş yer yok,Lütfen başka bir boş disket takın"_s);
    QVERIFY(l.copied(0) && l.copied(1) && !l.copied(2) && !l.complete());
    QCOMPARE(QDir(a.path()).entryList(QDir::Files, QDir::Name), (QStringList{u"ECZRECT"_s, u"ECZTESC"_s}));
    // The second diskette takes the other two.
    f.platform.free = 1440 * 1024;
    f.prompter.clear();
    l.copy(b.path());
    QVERIFY(l.complete());
    QVERIFY(f.prompter.texts().isEmpty());
    QCOMPARE(f.prompter.beeps, 1);
    QCOMPARE(QDir(b.path()).entryList(QDir::Files, QDir::Name), (QStringList{u"ECZFATR"_s, u"KODSUZ"_s}));
    const QList<std::pair<QString, QString>> files{
        {u"ECZTESC1"_s, a.filePath(u"ECZTESC"_s)}, {u"ECZRECT1"_s, a.filePath(u"ECZRECT"_s)},
        {u"KODSUZ1"_s, b.filePath(u"KODSUZ"_s)}, {u"ECZFATR1"_s, b.filePath(u"ECZFATR"_s)}};
    for (const auto& [table, copy] : files) {
        const QByteArray whole = bytesOf(f.path(table));
        const int header = quint8(whole[8]) | (quint8(whole[9]) << 8);
        QCOMPARE(bytesOf(copy), whole.mid(header + 1));
        QVERIFY(bytesOf(copy).endsWith('\x1a'));
    }
    // Again: asked first; No copies nothing.
    f.prompter.answer(Answer::No);
    l.copy(b.path());
    QCOMPARE(f.prompter.texts().last(), u"Yeniden Kopyalamak istiyormusunuz?"_s);
    QVERIFY(l.complete());
    // Yes starts over; a table that cannot be read is named and the copy is not complete.
    QFile::remove(f.path(u"KODSUZ1"_s));
    f.prompter.answer(Answer::Yes);
    l.copy(b.path());
    QVERIFY(f.prompter.saw(f.path(u"KODSUZ1"_s) + u" dosyası okunamadı."_s));
    QVERIFY(!l.complete());
    QVERIFY(l.copied(0) && l.copied(1) && !l.copied(2) && l.copied(3));
    // A target that cannot be written: named, nothing marked.
    QVERIFY(l.build(u'2', u"SSK"_s, 50));
    l.copy(u"/proc/selvar-yok"_s);
    QCOMPARE(f.prompter.texts().last(), u"/proc/selvar-yok/ECZTESC dosyası yazılamadı."_s);
    QVERIFY(!l.copied(0) && !l.complete());
}

QTEST_GUILESS_MAIN(TstDisket)
#include "tst_disket.moc"
