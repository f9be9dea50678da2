// Importing an old Paradox data directory: tables written here with pxlib's writer are
// read back from the database value by value, on the engine of the run.
#include "data/counters.h"
#include "data/database.h"
#include "data/paradox_import.h"
#include "data/password_hash.h"
#include "data/sql.h"
#include "support/paradox_writer.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <fcntl.h>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;
using T = ParadoxType;

namespace {

// Every row of the fields named, as the program reads them, in the order given.
QList<QVariantList> readRows(Database& db, const QString& table, const QStringList& fields, const QString& order)
{
    const TableDef& t = tableDef(table);
    Sql q(db, u"SELECT "_s + fields.join(u", "_s) + u" FROM "_s + table + u" ORDER BY "_s + order);
    q.exec();
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < fields.size(); ++i) row << db.dialect().fromDatabase(t.field(fields[i])->type, q.value(i));
        rows << row;
    }
    return rows;
}

// Nulls compare by being null; everything else by value and type as the program reads it.
void compareRows(const QList<QVariantList>& actual, const QList<QVariantList>& expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (int r = 0; r < expected.size(); ++r)
        for (int c = 0; c < expected[r].size(); ++c) {
            const QVariant& a = actual[r][c];
            const QVariant& e = expected[r][c];
            if (e.isNull()) {
                if (!a.isNull()) qWarning() << "row" << r << "column" << c << "expected null, got" << a;
                QVERIFY(a.isNull());
                continue;
            }
            if (a != e) qWarning() << "row" << r << "column" << c << "expected" << e << "got" << a;
            QCOMPARE(a, e);
        }
}

QString importFailure(const QString& dir, Database& db, bool replace)
{
    try {
        importParadoxDirectory(dir, db, replace);
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
}

const QString kLetters = u"İĞÜŞÖÇ ığüşöç I i"_s;

void writeTable(const QString& path, const QList<ParadoxField>& fields, const QList<QVariantList>& rows)
{
    ParadoxWriter w(path, fields, 1254);
    for (const QVariantList& r : rows) w.add(r);
    w.close();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int le16At(const QByteArray& b, qsizetype at) { return quint8(b[at]) | (quint8(b[at + 1]) << 8); }
qint64 le32At(const QByteArray& b, qsizetype at) { return qint64(le16At(b, at)) | (qint64(le16At(b, at + 2)) << 16); }
QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xff);
    b[1] = char((v >> 8) & 0xff);
    return b;
}
QByteArray le32(qint64 v) { return le16(int(v & 0xffff)) + le16(int((v >> 16) & 0xffff)); }

// Damage done to a table the way a bad disk or an interrupted copy would.
bool patchFile(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

// Where a table's header keeps what the damage is made to.
constexpr qint64 kRecordSizeAt = 0x00, kHeaderSizeAt = 0x02, kBlockKbAt = 0x05, kFileBlocksAt = 0x0C,
                 kFirstBlockAt = 0x0E, kAutoIncAt = 0x49, kFieldInfoAt = 0x78;

// The access modes (O_RDONLY, O_RDWR ...) this process has `path` open with.
QList<int> openModes(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    QList<int> modes;
    const QDir fds(u"/proc/self/fd"_s);
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(QFile::symLinkTarget(fds.filePath(fd))).canonicalFilePath() != target) continue;
        QFile info(u"/proc/self/fdinfo/"_s + fd);
        if (!info.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("flags:")) modes << (line.mid(6).trimmed().toInt(nullptr, 8) & O_ACCMODE);
    }
    return modes;
}

}  // namespace

class TstParadoxImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTypeAndBothCodePages();
    void countersFollowTheOldNumbers();
    void valuesThatDoNotFitAreReported();
    void secondImportNeedsReplace();
    void oldPasswordsArriveHashed();
    void damagedTablesAreReportedNotFollowed();
    void tableOnReadOnlyMediumIsRead();
    void fieldOfWrongWidthIsNotRead();
    void blockCutShortKeepsItsWholeRecords();
    void autoIncNumbersOfDeletedRowsAreNotReused();
    void tableWithoutAnyKnownFieldIsReported();
};

// Headers and block chains that would make pxlib crash or go round for ever: each table is
// reported as damaged and the healthy one beside them is imported.
void TstParadoxImport::damagedTablesAreReportedNotFollowed()
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QList<ParadoxField> fields{{u"KOD"_s, T::Long}, {u"AD"_s, T::Alpha, 18}};
    const QList<QVariantList> rows{{1, u"BİR"_s}, {2, u"İKİ"_s}};
    struct Damage {
        QString file;
        qint64 at;  // -1: block 1's link to the next block
        QByteArray bytes;
    };
    const QList<Damage> damages{
        {u"URUN.DB"_s, -1, le16(1)},                    // block 1 goes on to block 1
        {u"HASTA.DB"_s, kHeaderSizeAt, le16(0x8000)},   // a negative header size
        {u"DR.DB"_s, kRecordSizeAt, le16(0)},           // records of no length
        {u"JEN.DB"_s, kRecordSizeAt, le16(2048)},       // records longer than a block
        {u"GRUP.DB"_s, -1, le16(2)},                    // a next block the table does not have
        {u"ENDIK.DB"_s, kFileBlocksAt, le16(9) + le16(9)},  // a first block past the end of the file
    };
    for (const Damage& damage : damages) {
        const QString path = d.filePath(damage.file);
        writeTable(path, fields, rows);
        const QByteArray before = fileBytes(path);
        QCOMPARE(le16At(before, kFileBlocksAt), 1);
        QCOMPARE(le16At(before, kFirstBlockAt), 1);
        QVERIFY(patchFile(path, damage.at >= 0 ? damage.at : le16At(before, kHeaderSizeAt), damage.bytes));
    }
    writeTable(d.filePath(u"KRMLAR.DB"_s), {{u"KOD"_s, T::Alpha, 11}}, {{u"SSK"_s}});

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY(!report.ok());
    QCOMPARE(int(report.tables.size()), int(damages.size()) + 1);
    int damaged = 0;
    for (const ParadoxTableReport& t : report.tables) {
        if (t.table == u"KRMLAR"_s) {
            QVERIFY2(t.ok(), qPrintable(report.lines().join(u'\n')));
            continue;
        }
        ++damaged;
        QCOMPARE(t.error, t.file + u" okunamadı (Paradox tablosu değil ya da bozuk)."_s);
        QCOMPARE(t.written, 0);
    }
    QCOMPARE(damaged, int(damages.size()));
    QVERIFY(report.lines().contains(u"URUN.DB -> URUN: aktarılamadı: URUN.DB okunamadı (Paradox tablosu değil ya da bozuk)."_s));
    QCOMPARE(Sql::scalar(db.db(), u"SELECT KOD FROM KRMLAR"_s).toString(), u"SSK"_s);
}

// A data directory on a CD or a read-only share: its tables are read without asking to
// write them.
void TstParadoxImport::tableOnReadOnlyMediumIsRead()
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(u"URUN.DB"_s);
    writeTable(path, {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 36}},
               {{1, u"PAROL"_s}, {2, u"ŞURUP"_s}, {3, u"MERHEM"_s}});
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const auto exec = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QVERIFY(QFile::setPermissions(path, readOnly));
    QVERIFY(QFile::setPermissions(dir.path(), readOnly | exec));

    TestDb db;
    QList<int> modes;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false, [&](const QString& line) {
        // Said while the table is open.
        if (line == u"URUN.DB -> URUN: 3 kayıt"_s) modes = openModes(path);
    });
    QFile::setPermissions(dir.path(), readOnly | exec | QFileDevice::WriteOwner);
    QFile::setPermissions(path, readOnly | QFileDevice::WriteOwner);
    QVERIFY2(report.ok(), qPrintable(report.lines().join(u'\n')));
    QCOMPARE(report.tables[0].written, 3);
    QVERIFY(!modes.isEmpty());
    for (int mode : modes) QCOMPARE(mode, O_RDONLY);
}

// A fixed-width field whose declared length does not fit its type would be read past its
// place (past the block for the last field of a block's last record): it is reported and
// left empty, the other fields of the table arrive.
void TstParadoxImport::fieldOfWrongWidthIsNotRead()
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(u"URUN.DB"_s);
    writeTable(path, {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 33}, {u"MIKTAR"_s, T::Long}},
               {{1, u"PAROL"_s, 40}, {2, u"ŞURUP"_s, 7}});
    const QByteArray before = fileBytes(path);
    QCOMPARE(int(quint8(before[kFieldInfoAt + 3])), 33);
    QCOMPARE(int(quint8(before[kFieldInfoAt + 5])), 4);
    // The record keeps its length: the name takes three bytes of the stock.
    QVERIFY(patchFile(path, kFieldInfoAt + 3, QByteArray(1, char(36))));
    QVERIFY(patchFile(path, kFieldInfoAt + 5, QByteArray(1, char(1))));

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY2(report.ok(), qPrintable(report.lines().join(u'\n')));
    QCOMPARE(report.tables[0].problems,
             QStringList{u"URUN.DB: MIKTAR alanı Long türünde, uzunluğu 1 bayt (4 olmalı), aktarılamaz; boş bırakıldı"_s});
    compareRows(readRows(db.db(), u"URUN"_s, {u"ILACNO"_s, u"ILACAD"_s, u"MIKTAR"_s}, u"ILACNO"_s),
                {{1, u"PAROL"_s, QVariant()}, {2, u"ŞURUP"_s, QVariant()}});
}

// A file that ends inside its last block: the records of it that were read whole arrive,
// the table is reported short and the import is not a success.
void TstParadoxImport::blockCutShortKeepsItsWholeRecords()
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(u"DR.DB"_s);
    QList<QVariantList> rows;
    for (int i = 1; i <= 100; ++i) rows << QVariantList{i, u"DOKTOR "_s + QString::number(i)};
    writeTable(path, {{u"DRKOD"_s, T::Long}, {u"DRAD"_s, T::Alpha, 18}}, rows);
    const QByteArray bytes = fileBytes(path);
    QCOMPARE(le16At(bytes, kFileBlocksAt), 2);
    const int recordSize = le16At(bytes, kRecordSizeAt);
    const int blockSize = quint8(bytes[kBlockKbAt]) * 0x400;
    const int inFirst = (blockSize - 6) / recordSize;
    const int inSecond = 100 - inFirst;
    QVERIFY(inSecond > 3);
    // Three whole records of the second block and a part of the fourth.
    QVERIFY(QFile::resize(path, le16At(bytes, kHeaderSizeAt) + blockSize + 6 + 3 * recordSize + recordSize / 2));

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY2(!report.ok(), qPrintable(report.lines().join(u'\n')));
    const ParadoxTableReport& t = report.tables[0];
    QVERIFY(!t.ok());
    QVERIFY(t.error.isEmpty());
    QCOMPARE(t.inHeader, 100);
    QCOMPARE(t.read, inFirst + 3);
    QCOMPARE(t.written, inFirst + 3);
    QCOMPARE(t.problems,
             QStringList({u"DR.DB: veri bloğu 2 dosyanın sonunda kesik; "_s + QString::number(inSecond)
                              + u" kaydın 3 tanesi okundu, gerisi aktarılmadı"_s,
                          u"DR.DB: başlığında 100 kayıt yazıyor, "_s + QString::number(inFirst + 3) + u" kayıt okundu"_s}));
    QCOMPARE(report.lines().last(), u"1 tablo, "_s + QString::number(inFirst + 3) + u" satır aktarıldı; 1 tablo eksik aktarıldı."_s);
    // No row made up of bytes that were not there.
    QCOMPARE(Sql::scalar(db.db(), u"SELECT COUNT(*) FROM DR WHERE DRKOD IS NULL OR DRAD IS NULL"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT MAX(DRKOD) FROM DR"_s).toInt(), inFirst + 3);
}

// The old table had given numbers above its highest row (the last cards deleted): a new
// card does not take one of them again.
void TstParadoxImport::autoIncNumbersOfDeletedRowsAreNotReused()
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(u"URUN.DB"_s);
    writeTable(path, {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 36}},
               {{1, u"PAROL"_s}, {2, u"ŞURUP"_s}, {5, u"MERHEM"_s}});
    QCOMPARE(le32At(fileBytes(path), kAutoIncAt), 5);
    QVERIFY(patchFile(path, kAutoIncAt, le32(9)));

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY2(report.ok(), qPrintable(report.lines().join(u'\n')));
    QCOMPARE(addProduct(db.db(), u"YENİ ÜRÜN"_s, 10), qint64(10));
    QCOMPARE(addProduct(db.db(), u"DAHA YENİ"_s, 10), qint64(11));
}

// A table none of whose fields the program has: said in words, not as a failed statement.
void TstParadoxImport::tableWithoutAnyKnownFieldIsReported()
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    writeTable(d.filePath(u"NEWSATIS.DB"_s), {{u"ESKISAYAC"_s, T::Number}}, {{41.0}});
    writeTable(d.filePath(u"FATKAYIT.DB"_s), {{u"NEWFATNO"_s, T::Number}}, {{7.0}});

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY(!report.ok());
    QCOMPARE(int(report.tables.size()), 2);
    const auto sale = std::find_if(report.tables.begin(), report.tables.end(),
                                   [](const ParadoxTableReport& t) { return t.table == u"NEWSATIS"_s; });
    QVERIFY(sale != report.tables.end());
    QCOMPARE(sale->error, u"NEWSATIS.DB: programın alanlarından hiçbiri yok; aktarılmadı"_s);
    QVERIFY(report.lines().contains(
        u"NEWSATIS.DB -> NEWSATIS: aktarılamadı: NEWSATIS.DB: programın alanlarından hiçbiri yok; aktarılmadı"_s));
    QCOMPARE(Sql::scalar(db.db(), u"SELECT NEWFATNO FROM FATKAYIT"_s).toDouble(), 7.0);
}

// The old user table kept passwords in clear: they arrive as hashes that the same
// password, exactly as typed, still opens.
void TstParadoxImport::oldPasswordsArriveHashed()
{
    QTemporaryDir dir;
    {
        ParadoxWriter w(QDir(dir.path()).filePath(u"USERKIM.DB"_s),
                        {{u"KULLANICI"_s, T::Alpha, 25}, {u"SIFRESI"_s, T::Alpha, 25}, {u"ESKISAT"_s, T::Logical}}, 857);
        w.add({u"ŞÜKRÜ"_s, u"Gizli1"_s, true});
        w.add({u"KALFA"_s, QVariant(), false});
        w.close();
    }
    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY(report.ok());
    db->addPassword(SessionPassword);
    const QString hash = Sql::scalar(db.db(), u"SELECT SIFRESI FROM USERKIM WHERE KULLANICI = 'ŞÜKRÜ'"_s).toString();
    QVERIFY(isPasswordHash(hash));
    QVERIFY(passwordMatches(hash, u"Gizli1"_s));
    QVERIFY(!passwordMatches(hash, u"gizli1"_s));
    QVERIFY(Sql::scalar(db.db(), u"SELECT SIFRESI FROM USERKIM WHERE KULLANICI = 'KALFA'"_s).isNull());
    db->dropPasswords();
}

void TstParadoxImport::everyTypeAndBothCodePages()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString longLeaflet = (u"Günde üç kez, tok karnına; ışıktan ve nemden koruyunuz. "_s + kLetters).repeated(120);
    QList<QVariantList> products;
    {
        // Products in the DOS code page, memos in all three places: in the record, in a
        // shared block of the .MB file and in blocks of their own.
        ParadoxWriter w(QDir(dir.path()).filePath(u"URUN.DB"_s),
                        {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 36}, {u"JENERIKNO"_s, T::Long},
                         {u"MIAD"_s, T::Date}, {u"MIKTAR"_s, T::Long}, {u"FIYAT"_s, T::Money}, {u"KDV"_s, T::Number},
                         {u"FIYATARIH"_s, T::Date}, {u"RECETEKOD"_s, T::Alpha, 1}, {u"PROSPEKTUS"_s, T::Memo, 20}},
                        857);
        const QList<QVariantList> firstOnes{
            {1, u"PAROL 500 MG TABLET"_s, 12, QDate(2027, 3, 31), 40, 18500.0, 8.0, QDate(2023, 1, 2), u"N"_s, QVariant()},
            {2, u"ŞEKERSİZ ÖKSÜRÜK ŞURUBU ığüşöç"_s, QVariant(), QDate(1999, 12, 31), -3, 0.0, 18.0, QVariant(), u"K"_s,
             u"Kısa"_s},
            {5, kLetters, 0, QVariant(), 0, -1250.75, 0.0, QDate(2000, 2, 29), QVariant(), longLeaflet},
            {9, u"Ü"_s, 7, QDate(2024, 2, 29), QVariant(), QVariant(), QVariant(), QDate(1980, 1, 1), u"Ç"_s,
             u"Çocuklar için: "_s + kLetters},
        };
        for (const QVariantList& p : firstOnes) {
            w.add(p);
            products << p;
        }
        // Seventy more leaflets of a shared block's size: more than one block's slots.
        for (int i = 0; i < 70; ++i) {
            const QVariantList p{100 + i * 3, u"ÜRÜN "_s + QString::number(i), i, QDate(2025, 1, 1).addDays(i), i * 10,
                                 1000.0 * i + 0.25, 8.0, QDate(2022, 6, 1), u"N"_s,
                                 u"Prospektüs "_s + QString::number(i) + u": "_s + kLetters.repeated(1 + i % 5)};
            w.add(p);
            products << p;
        }
        w.close();
    }
    const QList<QVariantList> patients{
        {3, u"ŞÜKRÜ"_s, u"IŞIKOĞLU"_s, u"Çağlayan Mah. İğdır Sok."_s, 12345.5, QDate(2021, 11, 30), u"Ç"_s},
        {7, u"ığüşöç"_s, QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
    };
    {
        ParadoxWriter w(QDir(dir.path()).filePath(u"HASTA.DB"_s),
                        {{u"HASTANO"_s, T::AutoInc}, {u"HASTADI"_s, T::Alpha, 18}, {u"HASTASOYAD"_s, T::Alpha, 18},
                         {u"ADRES1"_s, T::Alpha, 31}, {u"BORC"_s, T::Money}, {u"VIZETRH"_s, T::Date}, {u"SINIF"_s, T::Alpha, 1}},
                        1254);
        for (const QVariantList& p : patients) w.add(p);
        w.close();
    }
    const QList<QVariantList> lines{
        {41.0, 1, QDateTime(QDate(2023, 5, 17), QTime(14, 3, 27, 125)), 1, 18500.0, 2, 8.0, QVariant(), u"P"_s},
        {41.0, 2, QDateTime(QDate(2023, 5, 17), QTime(14, 3, 28)), 5, 99.5, 1, 18.0, u"I"_s, u"P"_s},
        {42.0, 1, QDateTime(QDate(1995, 1, 1), QTime(0, 0)), 9, 0.0, 0, 0.0, u"N"_s, u"R"_s},
        {43.0, 1, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
    };
    {
        ParadoxWriter w(QDir(dir.path()).filePath(u"satis.db"_s),
                        {{u"SATISNO"_s, T::Number}, {u"SIRANOURUN"_s, T::Long}, {u"SATARIH"_s, T::Timestamp},
                         {u"ILACNO"_s, T::Long}, {u"FIYAT"_s, T::Number}, {u"MIKTAR"_s, T::Long}, {u"KDV"_s, T::Number},
                         {u"RECETETIP"_s, T::Alpha, 1}, {u"PARAKENDE"_s, T::Alpha, 1}},
                        1254);
        for (const QVariantList& l : lines) w.add(l);
        w.close();
    }
    {
        // Logical, Short and a BCD rate.
        ParadoxWriter w(QDir(dir.path()).filePath(u"FATURA.DB"_s),
                        {{u"FATNO"_s, T::Number}, {u"KRMAD"_s, T::Alpha, 36}, {u"FATARIH"_s, T::Date}, {u"KES"_s, T::Logical},
                         {u"FAT_GRB"_s, T::Short}, {u"INORAN1"_s, T::Bcd, 2}},
                        1254);
        w.add({1.0, u"İSTANBUL ÇAĞDAŞ SAĞLIK"_s, QDate(2023, 12, 31), true, -5, 12.5});
        w.add({2.0, QVariant(), QVariant(), false, 32767, -0.75});
        w.add({3.0, u"x"_s, QDate(2024, 1, 1), QVariant(), QVariant(), QVariant()});
        w.close();
    }

    TestDb db;
    QStringList progress;
    const ParadoxImportReport report =
        importParadoxDirectory(dir.path(), db.db(), false, [&](const QString& line) { progress << line; });
    if (!report.ok()) qWarning().noquote() << report.lines().join(u'\n');
    QVERIFY(report.ok());
    QCOMPARE(int(report.tables.size()), 4);
    for (const ParadoxTableReport& t : report.tables) {
        QVERIFY2(t.problems.isEmpty(), qPrintable(t.problems.join(u'\n')));
        QCOMPARE(t.read, t.written);
    }
    QCOMPARE(report.tables[0].table, u"URUN"_s);
    QCOMPARE(report.tables[0].codePage, 857);
    QCOMPARE(report.tables[0].read, 74);
    QCOMPARE(report.tables[2].file, u"satis.db"_s);
    QCOMPARE(report.tables[2].codePage, 1254);
    QVERIFY(progress.contains(u"URUN.DB -> URUN: 74 okundu, 74 yazıldı, 0 değer bildirildi"_s));
    QCOMPARE(report.lines().last(), u"4 tablo, 83 satır aktarıldı."_s);

    compareRows(readRows(db.db(), u"URUN"_s,
                         {u"ILACNO"_s, u"ILACAD"_s, u"JENERIKNO"_s, u"MIAD"_s, u"MIKTAR"_s, u"FIYAT"_s, u"KDV"_s,
                          u"FIYATARIH"_s, u"RECETEKOD"_s, u"PROSPEKTUS"_s},
                         u"ILACNO"_s),
                products);
    compareRows(readRows(db.db(), u"HASTA"_s,
                         {u"HASTANO"_s, u"HASTADI"_s, u"HASTASOYAD"_s, u"ADRES1"_s, u"BORC"_s, u"VIZETRH"_s, u"SINIF"_s},
                         u"HASTANO"_s),
                patients);
    compareRows(readRows(db.db(), u"SATIS"_s,
                         {u"SATISNO"_s, u"SIRANOURUN"_s, u"SATARIH"_s, u"ILACNO"_s, u"FIYAT"_s, u"MIKTAR"_s, u"KDV"_s,
                          u"RECETETIP"_s, u"PARAKENDE"_s},
                         u"SATISNO, SIRANOURUN"_s),
                lines);
    compareRows(readRows(db.db(), u"FATURA"_s, {u"FATNO"_s, u"KRMAD"_s, u"FATARIH"_s, u"KES"_s, u"FAT_GRB"_s, u"INORAN1"_s},
                         u"FATNO"_s),
                {{1.0, u"İSTANBUL ÇAĞDAŞ SAĞLIK"_s, QDate(2023, 12, 31), true, -5, 12.5},
                 {2.0, QVariant(), QVariant(), false, 32767, -0.75},
                 {3.0, u"x"_s, QDate(2024, 1, 1), QVariant(), QVariant(), QVariant()}});

    // A new card continues above the highest number kept.
    QCOMPARE(addProduct(db.db(), u"YENİ ÜRÜN"_s, 10), qint64(100 + 69 * 3 + 1));
}

void TstParadoxImport::countersFollowTheOldNumbers()
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    auto one = [&](const QString& file, const QList<ParadoxField>& fields, const QList<QVariantList>& rows) {
        ParadoxWriter w(d.filePath(file), fields, 1254);
        for (const QVariantList& r : rows) w.add(r);
        w.close();
    };
    one(u"NEWSATIS.DB"_s, {{u"YENISATISNO"_s, T::Number}}, {{501.0}});
    one(u"SATIS.DB"_s, {{u"SATISNO"_s, T::Number}, {u"SIRANOURUN"_s, T::Long}, {u"ILACNO"_s, T::Long}},
        {{499.0, 1, 1}, {500.0, 1, 1}, {500.0, 2, 2}});
    // Purchases ran ahead of a counter table restored from an older backup.
    one(u"NEWALIS.DB"_s, {{u"NEWALISNO"_s, T::Number}}, {{40.0}});
    one(u"ALIS1.DB"_s, {{u"ALISNO"_s, T::Number}, {u"KRMKOD"_s, T::Alpha, 11}}, {{76.0, u"DEPO1"_s}, {77.0, u"DEPO2"_s}});
    one(u"FATKAYIT.DB"_s, {{u"NEWFATNO"_s, T::Number}, {u"FATNOKESILEN"_s, T::Alpha, 11}}, {{31.0, u"A-30"_s}});
    one(u"FATURA.DB"_s, {{u"FATNO"_s, T::Number}}, {{29.0}, {30.0}});
    // No HRKNOAL.DB at all.
    one(u"HAREKET.DB"_s, {{u"HAREKNO"_s, T::Number}, {u"CARIKOD"_s, T::Alpha, 11}}, {{11.0, u"SSK"_s}, {12.0, u"ES"_s}});
    one(u"RKAYIT.DB"_s, {{u"RECETEKAYITNO"_s, T::Alpha, 9}}, {{u"XX0000041"_s}});
    one(u"RECETE.DB"_s, {{u"RKDEFTERNO"_s, T::Alpha, 9}, {u"SATISNO"_s, T::Number}},
        {{u"230000017"_s, 499.0}, {u"XX0000040"_s, 500.0}});

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY2(report.ok(), qPrintable(report.lines().join(u'\n')));
    QCOMPARE(report.counterNotes,
             QStringList({u"NEWALIS.NEWALISNO 40 idi; ALIS1 tablosunda 77 kullanılmış, sonraki numara 78 yapıldı"_s,
                          u"HRKNOAL.HRKNO 1 idi; HAREKET tablosunda 12 kullanılmış, sonraki numara 13 yapıldı"_s}));
    QVERIFY(report.lines().contains(u"Sayaç: HRKNOAL.HRKNO 1 idi; HAREKET tablosunda 12 kullanılmış, sonraki numara 13 yapıldı"_s));

    QCOMPARE(takeSaleNumber(db.db()), 501.0);
    QCOMPARE(takeSaleNumber(db.db()), 502.0);
    QCOMPARE(takePurchaseNumber(db.db()), 78.0);
    QCOMPARE(takeInvoiceNumber(db.db()), 31.0);
    QCOMPARE(takeMovementNumber(db.db()), 13.0);
    QCOMPARE(takeProvisionalBookNumber(db.db()), u"XX0000041"_s);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT FATNOKESILEN FROM FATKAYIT"_s).toString(), u"A-30"_s);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT COUNT(*) FROM NEWSATIS"_s).toInt(), 1);
}

void TstParadoxImport::valuesThatDoNotFitAreReported()
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString fortyLetters = u"ÇOCUKLAR İÇİN ŞEKERSİZ ÖKSÜRÜK ŞURUBU ĞÜ"_s;
    QCOMPARE(fortyLetters.size(), 40);
    {
        // An older layout: a wider name, the expiry kept as a number, the stock as a
        // real number, a field the program no longer has and one it cannot read.
        ParadoxWriter w(d.filePath(u"URUN.DB"_s),
                        {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 40}, {u"MIAD"_s, T::Number},
                         {u"MIKTAR"_s, T::Number}, {u"ESKIKOD"_s, T::Alpha, 5}, {u"YER"_s, T::Bytes, 4},
                         {u"PROSPEKTUS"_s, T::Memo, 20}},
                        1254);
        w.add({1, fortyLetters, 45000.0, 5.0, u"A1"_s, QByteArray("RAF1"), u"Kısa not"_s});
        w.add({2, u"NORMAL"_s, QVariant(), 3.0e9, QVariant(), QVariant(), u"Bu not kaydın içine sığmaz, not dosyasındadır."_s});
        w.add({2, u"AYNI NUMARA"_s, QVariant(), 1.0, QVariant(), QVariant(), QVariant()});
        w.add({4, QVariant(), QVariant(), 2.5, QVariant(), QVariant(), QVariant()});
        w.close();
    }
    QVERIFY(QFile::remove(d.filePath(u"URUN.MB"_s)));  // the memo file was lost
    {
        // Purchase lines whose time of purchase was kept without a day, a BCD rate.
        ParadoxWriter w(d.filePath(u"ALIS3.DB"_s),
                        {{u"ALISNO"_s, T::Number}, {u"SIRANOILAC"_s, T::Long}, {u"ALISTARIH"_s, T::Time}, {u"KDV"_s, T::Bcd, 2}},
                        1254);
        w.add({7.0, 1, QTime(14, 30), 8.0});
        w.add({7.0, 2, QVariant(), 18.0});
        w.close();
    }
    {
        ParadoxWriter w(d.filePath(u"HASTA.DB"_s), {{u"HASTANO"_s, T::AutoInc}, {u"VIZETRH"_s, T::Alpha, 10}}, 857);
        for (int i = 1; i <= 25; ++i) w.add({i, u"YOK"_s});
        w.add({26, u"1.2.2024"_s});
        w.close();
    }

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(dir.path(), db.db(), false);
    QVERIFY(!report.ok());
    QCOMPARE(int(report.tables.size()), 3);

    const ParadoxTableReport& products = report.tables[0];
    QCOMPARE(products.table, u"URUN"_s);
    QCOMPARE(products.read, 4);
    QCOMPARE(products.written, 3);
    QCOMPARE(products.reportedValues, 7);
    QCOMPARE(products.problems,
             QStringList({u"URUN.DB: bilinmeyen alan ESKIKOD aktarılmadı"_s,
                          u"URUN.DB: YER alanı Bytes türünde, aktarılamaz; boş bırakıldı"_s,
                          u"URUN.DB satır 1, ILACAD: 40 karakter, alan 36 karakter; kısaltılarak yazıldı"_s,
                          u"URUN.DB satır 1, MIAD: 45000 bir tarih değil; boş bırakıldı"_s,
                          u"URUN.DB satır 2, MIKTAR: 3000000000 alanın aralığı dışında; boş bırakıldı"_s,
                          u"URUN.DB satır 2, PROSPEKTUS: not dosyası (.MB) yok; boş bırakıldı"_s,
                          u"URUN.DB satır 3: anahtar (ILACNO = 2) önceki bir satırla aynı; satır aktarılmadı"_s,
                          u"URUN.DB satır 4, MIKTAR: 2.5 tam sayı değil; boş bırakıldı"_s,
                          u"URUN.DB satır 4, ILACAD: boş olamaz; boş metin yazıldı"_s}));
    compareRows(readRows(db.db(), u"URUN"_s, {u"ILACNO"_s, u"ILACAD"_s, u"MIAD"_s, u"MIKTAR"_s, u"YER"_s, u"PROSPEKTUS"_s},
                         u"ILACNO"_s),
                {{1, fortyLetters.left(36), QVariant(), 5, QVariant(), u"Kısa not"_s},
                 {2, u"NORMAL"_s, QVariant(), QVariant(), QVariant(), QVariant()},
                 {4, u""_s, QVariant(), QVariant(), QVariant(), QVariant()}});

    const ParadoxTableReport& lines = report.tables[2];
    QCOMPARE(lines.table, u"ALIS3"_s);
    QCOMPARE(lines.written, 2);
    QCOMPARE(lines.problems, QStringList{u"ALIS3.DB satır 1, ALISTARIH: 14:30:00 bir tarih-saat değil; boş bırakıldı"_s});
    compareRows(readRows(db.db(), u"ALIS3"_s, {u"SIRANOILAC"_s, u"ALISTARIH"_s, u"KDV"_s}, u"SIRANOILAC"_s),
                {{1, QVariant(), 8.0}, {2, QVariant(), 18.0}});

    // Twenty values of a table are listed, the rest counted.
    const ParadoxTableReport& patients = report.tables[1];
    QCOMPARE(patients.written, 26);
    QCOMPARE(patients.reportedValues, 25);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT VIZETRH FROM HASTA WHERE HASTANO = 26"_s).toString().left(10), u"2024-02-01"_s);
    const QStringList text = report.lines();
    const qsizetype at = text.indexOf(u"HASTA.DB -> HASTA: 26 okundu, 26 yazıldı, 25 değer bildirildi"_s);
    QVERIFY(at >= 0);
    QCOMPARE(text[at + 1], u"  HASTA.DB satır 1, VIZETRH: \"YOK\" bir tarih değil; boş bırakıldı"_s);
    QCOMPARE(text[at + 20], u"  HASTA.DB satır 20, VIZETRH: \"YOK\" bir tarih değil; boş bırakıldı"_s);
    QCOMPARE(text[at + 21], u"  … ve 5 tane daha"_s);
    QCOMPARE(text.first(), u"URUN.DB -> URUN: 4 okundu, 3 yazıldı, 7 değer bildirildi"_s);
    QCOMPARE(text.last(), u"3 tablo, 31 satır aktarıldı; 1 tablo eksik aktarıldı."_s);
}

void TstParadoxImport::secondImportNeedsReplace()
{
    QTemporaryDir first, second;
    {
        ParadoxWriter w(QDir(first.path()).filePath(u"URUN.DB"_s), {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 36}});
        for (int i = 1; i <= 3; ++i) w.add({i, u"İLAÇ "_s + QString::number(i)});
        w.close();
    }
    {
        ParadoxWriter w(QDir(first.path()).filePath(u"SATEMP.DB"_s), {{u"SIRANO"_s, T::Long}});
        w.add({1});
        w.close();
        ParadoxWriter other(QDir(first.path()).filePath(u"ESKI.DB"_s), {{u"X"_s, T::Long}});
        other.close();
    }
    for (const QString& name : {u"OKUBENI.TXT"_s, u"URUN.PX"_s, u"HASTA.DB"_s}) {
        QFile f(QDir(first.path()).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Bu bir tablo değil, yalnızca bir metin.");
    }
    {
        ParadoxWriter w(QDir(second.path()).filePath(u"URUN.DB"_s), {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 36}});
        w.add({8, u"ŞURUP"_s});
        w.close();
    }

    TestDb db;
    const ParadoxImportReport report = importParadoxDirectory(first.path(), db.db(), false);
    // A damaged table is reported and the others go on.
    QVERIFY(!report.ok());
    QCOMPARE(int(report.tables.size()), 2);
    QVERIFY(report.tables[0].ok());
    QCOMPARE(report.tables[1].error, u"HASTA.DB okunamadı (Paradox tablosu değil ya da bozuk)."_s);
    QVERIFY(report.lines().contains(u"HASTA.DB -> HASTA: aktarılamadı: HASTA.DB okunamadı (Paradox tablosu değil ya da bozuk)."_s));
    QCOMPARE(report.skippedFiles,
             QStringList({u"ESKI.DB (programın tablosu değil)"_s, u"SATEMP.DB (çalışma tablosu, aktarılmaz)"_s,
                          u"OKUBENI.TXT (tablo dosyası değil)"_s, u"URUN.PX (tablo dosyası değil)"_s}));

    QCOMPARE(importFailure(second.path(), db.db(), false),
             u"Hedef veritabanında kayıt var (URUN); üzerine yazmak için --replace verin."_s);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT COUNT(*) FROM URUN"_s).toInt(), 3);

    QCOMPARE(importFailure(second.path(), db.db(), true), QString());
    compareRows(readRows(db.db(), u"URUN"_s, {u"ILACNO"_s, u"ILACAD"_s}, u"ILACNO"_s), {{8, u"ŞURUP"_s}});
}

QTEST_GUILESS_MAIN(TstParadoxImport)
#include "tst_paradox_import.moc"
