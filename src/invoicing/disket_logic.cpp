#include "invoicing/disket_logic.h"

#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QRegularExpression>
#include <QSettings>
#include <QStorageInfo>
#include <cmath>
#include <optional>

#include <shapefil.h>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

DbfField C(const char* name, int width) { return {QString::fromLatin1(name), 'C', width}; }
DbfField N(const char* name, int width) { return {QString::fromLatin1(name), 'N', width}; }

QList<DbfField> codes() { return {N("MERKEZ_KOD", 2), N("IL_KODU", 2), N("ILCE_KODU", 2), N("ECZANE_KOD", 4)}; }
QList<DbfField> dateOf(const char* y, const char* m, const char* d) { return {N(y, 4), N(m, 2), N(d, 2)}; }

// Fields 1-20 of the prescription tables (through ULKEKOD) and 21-31 (REC_ADI to DR_BRANS).
QList<DbfField> prescriptionHead()
{
    QList<DbfField> f = codes();
    f << dateOf("FAT_T_YIL", "FAT_T_AY", "FAT_T_GUN") << N("FATURA_NO", 11) << N("FREC_SR_NO", 4)
      << dateOf("REC_T_YIL", "REC_T_AY", "REC_T_GUN") << N("REC_NO", 10) << N("SG_SICILNO", 13) << C("TAHSISDNO", 11)
      << N("PROTKLNO", 10) << dateOf("EISL_T_YIL", "EISL_T_AY", "EISL_T_GUN") << N("ULKEKOD", 2);
    return f;
}
QList<DbfField> prescriptionPeople()
{
    return {C("REC_ADI", 18), C("REC_SOYAD", 18), N("DURUM_KOD", 1), N("YAKIN_KOD", 1), C("SG_ADI", 18),
            C("SG_SOYAD", 18), C("DR_AD", 18), C("DR_SOYAD", 18), N("DR_DIPLMNO", 15), N("DR_SICNO", 6),
            N("DR_BRANS", 4)};
}
QList<DbfField> slots(const char* prefix, int count, int width, const char* tenth = nullptr)
{
    QList<DbfField> f;
    for (int i = 1; i <= count; ++i) {
        const QString name = i == 10 && tenth ? QString::fromLatin1(tenth) : QString::fromLatin1(prefix) + QString::number(i);
        f << DbfField{name, prefix[0] == 'V' && width == 15 ? 'C' : 'N', width};
    }
    return f;
}

std::array<DiskTable, 4> makeTables()
{
    DiskTable pharmacy{u"ECZTESC1"_s, u"ECZTESC"_s, 161, codes()};
    pharmacy.fields << C("ECZANE_ADI", 20) << C("ECZ_ADSOYA", 36) << C("SMUD_ADSO", 36) << C("ECZANE_ADR", 40)
                    << N("ECZANE_TLF", 10) << dateOf("S_YILI", "S_AY", "S_GUN");

    DiskTable barcoded{u"ECZRECT1"_s, u"ECZRECT"_s, 692, prescriptionHead()};
    barcoded.fields << prescriptionPeople() << N("REC_TOPTUT", 11) << N("S_KUR_KOD", 3) << N("KARANTINO", 10)
                    << slots("R_BARKOD", 10, 13) << slots("V_BARKOD", 10, 13) << slots("ESDG_KOD", 10, 3)
                    << slots("IKUTU_MIK", 10, 2, "IKUTU_MK10") << N("MEMUNITNO", 8) << N("DRUNITNO", 8)
                    << N("ISYERNO", 9) << dateOf("RBAST_YIL", "RBAST_AY", "RBAST_GUN") << N("RBIT_T_AY", 2)
                    << N("RBIT_T_GUN", 2) << N("HASY_T_AY", 2) << N("HASY_T_GUN", 2) << N("KATPAYTUT", 11)
                    << C("HASTALI_IS", 1) << C("TESHIS", 25) << slots("GUN_KUL", 10, 1) << slots("DOZ", 10, 3)
                    << C("DEVAMKOD", 1) << N("RBIT_T_YIL", 4) << N("HASY_T_YIL", 4);

    DiskTable unbarcoded{u"KODSUZ1"_s, u"KODSUZ"_s, 425, prescriptionHead()};
    unbarcoded.fields << prescriptionPeople() << N("KATPAYTUT", 21) << N("KARANTINO", 10) << N("REC_TUT", 21)
                      << N("S_KUR_KOD", 3) << slots("V_ILACAD", 5, 15) << slots("IKUTU_MIK", 5, 2) << N("MEMUNITNO", 8)
                      << N("DRUNITNO", 8) << C("DEVAMKOD", 1) << C("RAP_YATKOD", 1) << N("ISYERNO", 9)
                      << slots("DEFKAYNO", 5, 1) << N("DEFKAYTRH", 6) << C("HASTALI_IS", 1) << C("GUNLUK_DOZ", 15);

    DiskTable invoice{u"ECZFATR1"_s, u"ECZFATR"_s, 92, codes()};
    invoice.fields << dateOf("FAT_T_YIL", "FAT_T_AY", "FAT_T_GUN") << N("FATURA_NO", 11) << N("FREC_SAYSI", 4)
                   << N("FATTUT", 12) << N("FAT_TIP", 1) << N("KDVLITUT", 12) << N("ISKONTOTUT", 11)
                   << N("KATPAYTUT", 11) << N("KDV_TUT", 11);
    return {pharmacy, barcoded, unbarcoded, invoice};
}

// What stops the build: the message names the table, the field, the sale and the value.
struct BuildError {
    QString message;
};

const QString NotReplaced = QStringLiteral(" Disket tabloları değiştirilmedi.");

QString where(const DiskTable& t, const QString& field, double sale)
{
    return t.file + u".DBF, "_s + field + (sale > 0 ? format(u" (Satış No: %0.0f)"_s, sale) : QString());
}

// One record as it is built: blank fields stay out.
class Record {
public:
    Record(const DiskTable& t, double sale) : t_(t), sale_(sale)
    {
        if (sale > 0) v_.insert(u"#SATISNO"_s, sale);
    }
    void text(const char* f, const QString& s) { text(QString::fromLatin1(f), s); }
    void text(const QString& f, const QString& s)
    {
        if (!s.isEmpty()) v_.insert(f, s);
    }
    void number(const char* f, std::optional<double> x)
    {
        if (x) v_.insert(QString::fromLatin1(f), std::round(*x));
    }
    void number(const QString& f, std::optional<double> x)
    {
        if (x) v_.insert(f, std::round(*x));
    }
    // A text "as a number": blank when empty; anything but digits stops the build.
    void numberText(const char* f, const QString& s) { number(f, parse(QString::fromLatin1(f), s)); }
    void numberText(const QString& f, const QString& s) { number(f, parse(f, s)); }
    std::optional<double> parse(const QString& f, const QString& s) const
    {
        static const QRegularExpression digits(u"^-?[0-9]+$"_s);
        const QString t = s.trimmed();
        if (t.isEmpty()) return std::nullopt;
        if (!digits.match(t).hasMatch())
            throw BuildError{where(t_, f, sale_) + u": \""_s + s + u"\" bir sayı değil."_s + NotReplaced};
        return t.toDouble();
    }
    void date(const char* y, const char* m, const char* d, const QDate& day)
    {
        if (!day.isValid()) return;
        if (y) number(y, day.year());
        number(m, day.month());
        number(d, day.day());
    }
    bool has(const QString& f) const { return v_.contains(f); }
    const QVariantMap& values() const { return v_; }

private:
    const DiskTable& t_;
    double sale_;
    QVariantMap v_;
};

QVariantMap firstRow(Database& db, const QString& sql, const QVariantMap& params = {})
{
    Sql q(db, sql);
    for (auto it = params.begin(); it != params.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    QVariantMap r;
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i) r.insert(q.columnName(i).toUpper(), q.value(i));
    return r;
}

QDate dateValue(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    const QString s = v.toString();
    return s.isEmpty() ? QDate() : QDate::fromString(s.left(10), Qt::ISODate);
}

QString textOf(const QVariantMap& r, const char* f) { return r.value(QString::fromLatin1(f)).toString().trimmed(); }

// A code of the pharmacy settings (a small number there).
std::optional<double> codeOf(const QVariantMap& r, const char* f)
{
    const QVariant v = r.value(QString::fromLatin1(f));
    if (v.isNull() || v.toString().trimmed().isEmpty()) return std::nullopt;
    return v.toDouble();
}

struct Line {
    bool found = false;
    QString barcode, name;
    bool writtenFound = false;
    QString writtenBarcode;
    QString equivalence, perDay, dose;
    QVariant boxes;
};

// The header of a dBASE file: version, header length, record length, field descriptors.
struct DbfHeader {
    int headerLength = 0, recordLength = 0;
    QList<DbfField> fields;
};
std::optional<DbfHeader> readHeader(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray head = f.read(32);
    if (head.size() < 32) return std::nullopt;
    DbfHeader h;
    h.headerLength = quint8(head[8]) | (quint8(head[9]) << 8);
    h.recordLength = quint8(head[10]) | (quint8(head[11]) << 8);
    for (;;) {
        const QByteArray d = f.read(32);
        if (d.isEmpty() || d[0] == '\r') break;
        if (d.size() < 32) return std::nullopt;
        DbfField field;
        field.name = QString::fromLatin1(d.left(11).constData());  // NUL-terminated
        field.type = d[11];
        field.width = quint8(d[16]);
        field.decimals = quint8(d[17]);
        h.fields << field;
    }
    return h;
}

// The found table's layout when it agrees with ours in names, types, text widths and
// record length; its number widths are its own.
std::optional<QString> agrees(const DiskTable& t, const DbfHeader& h)
{
    if (h.recordLength != t.recordLength) return u"kayıt uzunluğu %1, %2 olmalı"_s.arg(h.recordLength).arg(t.recordLength);
    if (h.fields.size() != t.fields.size()) return u"%1 alan, %2 olmalı"_s.arg(h.fields.size()).arg(t.fields.size());
    for (int i = 0; i < t.fields.size(); ++i) {
        const DbfField& a = h.fields[i];
        const DbfField& b = t.fields[i];
        if (a.name.compare(b.name, Qt::CaseInsensitive) != 0) return u"%1. alan %2, %3 olmalı"_s.arg(i + 1).arg(a.name, b.name);
        if (a.type != b.type) return u"%1 alanının türü %2"_s.arg(b.name).arg(QChar::fromLatin1(a.type));
        if (b.type == 'C' && a.width != b.width) return u"%1 alanının genişliği %2, %3 olmalı"_s.arg(b.name).arg(a.width).arg(b.width);
    }
    return std::nullopt;
}

// Writes a table into `base` (shapelib adds ".dbf") with the given layout and records.
void writeTable(const QString& base, const DiskTable& t, const QList<DbfField>& layout, const QList<QVariantMap>& records,
                const QDate& today)
{
    const QByteArray path = QFile::encodeName(base);
    DBFHandle h = DBFCreateEx(path.constData(), "LDID/202");  // code page 1254
    if (!h) throw BuildError{base + u".dbf yazılamadı."_s + NotReplaced};
    struct Closer {
        DBFHandle h;
        ~Closer() { DBFClose(h); }
    } closer{h};
    DBFSetLastModifiedDate(h, today.year() - 1900, today.month(), today.day());
    for (const DbfField& f : layout) {
        const QByteArray name = f.name.toLatin1();
        if (DBFAddField(h, name.constData(), f.type == 'C' ? FTString : FTDouble, f.width, f.decimals) < 0)
            throw BuildError{t.file + u".DBF: "_s + f.name + u" alanı eklenemedi."_s + NotReplaced};
    }
    for (int r = 0; r < records.size(); ++r) {
        const QVariantMap& rec = records[r];
        // A record starts blank: the first field written blank creates it.
        const QByteArray blank(layout.first().width, ' ');
        QByteArray blankField = blank;
        DBFWriteAttributeDirectly(h, r, 0, blankField.data());
        for (int i = 0; i < layout.size(); ++i) {
            const DbfField& f = layout[i];
            const auto it = rec.find(f.name);
            if (it == rec.end()) continue;
            bool ok;
            if (f.type == 'C') {
                const QByteArray bytes = toCp1254(it->toString()).left(f.width);
                ok = DBFWriteStringAttribute(h, r, i, bytes.constData());
            } else {
                ok = DBFWriteDoubleAttribute(h, r, i, it->toDouble());
            }
            if (!ok)
                throw BuildError{where(t, f.name, rec.value(u"#SATISNO"_s).toDouble()) + u": "_s
                                 + (f.type == 'C' ? it->toString() : QString::number(it->toDouble(), 'f', 0))
                                 + u" alana sığmıyor ("_s + QString::number(f.width) + u" hane)."_s
                                 + NotReplaced};
        }
    }
}

// The last target, kept per user.
QSettings targets() { return QSettings(QSettings::IniFormat, QSettings::UserScope, u"selvar"_s, u"disket"_s); }

}  // namespace

const std::array<DiskTable, 4>& diskTables()
{
    static const std::array<DiskTable, 4> t = makeTables();
    return t;
}

DisketLogic::DisketLogic(Session& session) : session_(session) {}

void DisketLogic::reset()
{
    for (auto& r : records_) r.clear();
    sizes_ = {};
    copied_ = {};
    complete_ = false;
}

QString DisketLogic::tablePath(int table) const
{
    return QDir(session_.db.filesDir()).absoluteFilePath(diskTables()[size_t(table)].file + u".DBF"_s);
}

bool DisketLogic::build(QChar, const QString& code, double invoiceNo)
{
    reset();
    Database& db = session_.db;
    const auto& tables = diskTables();
    try {
        const QVariantMap e = firstRow(db, u"SELECT * FROM EKIM ORDER BY rowid LIMIT 1"_s);
        const QVariantMap invoice = firstRow(db, u"SELECT * FROM FATURA WHERE FATNO = :f"_s, {{u"f"_s, invoiceNo}});
        QDate contract;
        {
            Sql q(db, u"SELECT SOZTRHBAS FROM KRMLAR WHERE KOD = :k"_s);
            q.bind(u"k"_s, code).exec();
            if (q.next()) contract = q.date(0);
        }
        auto pharmacyCodes = [&](Record& r) {
            r.number("MERKEZ_KOD", codeOf(e, "MERKEZ_KOD"));
            r.number("IL_KODU", codeOf(e, "IL_KOD"));
            r.number("ILCE_KODU", codeOf(e, "ILCE_KOD"));
            r.number("ECZANE_KOD", codeOf(e, "ECZKODU"));
        };

        // ECZTESC1: the pharmacy.
        {
            Record r(tables[0], 0);
            pharmacyCodes(r);
            r.text("ECZANE_ADI", textOf(e, "EADI").left(20));
            r.text("ECZ_ADSOYA", textOf(e, "ADI"));
            r.text("SMUD_ADSO", textOf(e, "MESULAD"));
            r.text("ECZANE_ADR", textOf(e, "ADR1") + textOf(e, "ADR2"));
            r.numberText("ECZANE_TLF", e.value(u"TLF"_s).toString());
            r.date("S_YILI", "S_AY", "S_GUN", contract);
            records_[0] << r.values();
        }

        // The invoice's prescriptions with their people and lines.
        const TableDef& joined = tableDef(u"FATSSK"_s);
        QList<QVariantMap> prescriptions;
        {
            Sql q(db, u"SELECT * FROM RECSSK, RECETE WHERE (RECETE.FATNO = :FatNo) AND (RECETE.SATISNO = RECSSK.SATISNO) "
                      u"ORDER BY RECTARIH, RECETE.SATISNO"_s);
            q.bind(u"FatNo"_s, invoiceNo).exec();
            // The columns looked up once: their names (the first of a repeated one) and
            // which are dates.
            struct Column {
                int index;
                QString name;
                bool date;
            };
            std::vector<Column> columns;
            QSet<QString> seen;
            for (int i = 0; i < q.columnCount(); ++i) {
                const QString name = q.columnName(i).toUpper();
                if (seen.contains(name)) continue;
                seen.insert(name);
                const int f = joined.fieldIndex(name);
                columns.push_back({i, name, f >= 0 && joined.fields[f].type == FieldType::Date});
            }
            while (q.next()) {
                QVariantMap row;
                for (const Column& c : columns) row.insert(c.name, c.date ? QVariant(q.date(c.index)) : q.value(c.index));
                prescriptions << row;
            }
        }
        QHash<qint64, std::pair<QString, QString>> patients;
        {
            Sql q(db, u"SELECT HASTANO, HASTADI, HASTASOYAD FROM HASTA WHERE HASTANO IN "
                      u"(SELECT HASTANO FROM RECETE WHERE FATNO = :f)"_s);
            q.bind(u"f"_s, invoiceNo).exec();
            while (q.next()) patients.insert(q.integer(0), {q.text(1), q.text(2)});
        }
        QHash<qint64, QVariantMap> doctors;
        {
            Sql q(db, u"SELECT DRKOD, DRAD, DRSOYAD, SICILNO, DIPLOMANO, BRANS FROM DR WHERE DRKOD IN "
                      u"(SELECT DRKOD FROM RECETE WHERE FATNO = :f)"_s);
            q.bind(u"f"_s, invoiceNo).exec();
            while (q.next())
                doctors.insert(q.integer(0), {{u"DRAD"_s, q.text(1)}, {u"DRSOYAD"_s, q.text(2)}, {u"SICILNO"_s, q.text(3)},
                                              {u"DIPLOMANO"_s, q.text(4)}, {u"BRANS"_s, q.text(5)}});
        }
        QHash<double, QList<Line>> lines;
        {
            Sql q(db, u"SELECT a.SATISNO, u.ILACNO, u.ILACKOD, u.ILACAD, w.ILACNO, w.ILACKOD, a.ESDEGERGK, a.GUN_KULLAN, "
                      u"a.BIRKUL_ALMIK, a.KUTUSAYISI, a.REC_ILAC FROM RECSSK_A a LEFT JOIN URUN u ON u.ILACNO = a.ILACNO "
                      u"LEFT JOIN URUN w ON w.ILACNO = a.REC_ILAC WHERE a.SATISNO IN "
                      u"(SELECT SATISNO FROM RECETE WHERE FATNO = :f) ORDER BY a.SATISNO, a.SIRANOILAC"_s);
            q.bind(u"f"_s, invoiceNo).exec();
            while (q.next()) {
                Line l;
                l.found = !q.isNull(1);
                l.barcode = q.text(2).trimmed();
                l.name = q.text(3);
                l.writtenFound = !q.isNull(10) && q.integer(10) != 0 && !q.isNull(4);
                l.writtenBarcode = q.text(5).trimmed();
                l.equivalence = q.text(6).trimmed();
                l.perDay = q.text(7).trimmed();
                l.dose = q.text(8).trimmed();
                l.boxes = q.isNull(9) ? QVariant() : QVariant(q.number(9));
                lines[q.number(0)] << l;
            }
        }

        // ECZRECT1 and KODSUZ1: a record per prescription in each.
        int sequence = 0;
        for (const QVariantMap& p : prescriptions) {
            const double sale = p.value(u"SATISNO"_s).toDouble();
            ++sequence;
            auto head = [&](Record& r) {
                pharmacyCodes(r);
                r.date("FAT_T_YIL", "FAT_T_AY", "FAT_T_GUN", dateValue(p.value(u"FATARIH"_s)));
                r.numberText("FATURA_NO", textOf(p, "FATURANO"));
                r.number("FREC_SR_NO", sequence);
                r.date("REC_T_YIL", "REC_T_AY", "REC_T_GUN", dateValue(p.value(u"RECTARIH"_s)));
                r.numberText("REC_NO", textOf(p, "SERINO"));
                r.numberText("SG_SICILNO", textOf(p, "SICILNO"));
                r.text("TAHSISDNO", textOf(p, "TAHSIS_DOSNO"));
                r.numberText("PROTKLNO", textOf(p, "PROTOKOLNO"));
                r.date("EISL_T_YIL", "EISL_T_AY", "EISL_T_GUN", dateValue(p.value(u"ALTARIH"_s)));
                const QString country = textOf(p, "ULKE_KOD");
                static const QRegularExpression listed(u"^0[1-9]$"_s);
                if (country.isEmpty()) r.number("ULKEKOD", 0.0);
                else if (listed.match(country).hasMatch()) r.number("ULKEKOD", country.toDouble());
                const auto patient = patients.value(p.value(u"HASTANO"_s).toLongLong());
                r.text("REC_ADI", patient.first.trimmed());
                r.text("REC_SOYAD", patient.second.trimmed());
                r.numberText("DURUM_KOD", textOf(p, "DURUM_KOD"));
                const QString relation = textOf(p, "YAKINLIK_KOD");
                r.numberText("YAKIN_KOD", relation.isEmpty() ? u"0"_s : relation);
                r.text("SG_ADI", textOf(p, "RS_AD"));
                r.text("SG_SOYAD", textOf(p, "RS_SOYAD"));
                const QVariantMap d = doctors.value(p.value(u"DRKOD"_s).toLongLong());
                r.text("DR_AD", textOf(d, "DRAD"));
                r.text("DR_SOYAD", textOf(d, "DRSOYAD"));
                QString diploma = textOf(d, "DIPLOMANO");
                diploma.remove(QRegularExpression(u"[^0-9]"_s));
                r.numberText("DR_DIPLMNO", diploma);
                r.numberText("DR_SICNO", textOf(d, "SICILNO"));
                r.numberText("DR_BRANS", textOf(d, "BRANS"));
            };
            const QList<Line> items = lines.value(sale);

            Record b(tables[1], sale);
            head(b);
            b.number("REC_TOPTUT", p.value(u"NET"_s).toDouble());
            b.numberText("S_KUR_KOD", textOf(p, "SAGKURNO"));
            b.numberText("KARANTINO", textOf(p, "KARANTINA"));
            int used = 0;
            for (const Line& l : items) {
                if (!l.found) continue;  // a product gone from the cards
                if (l.barcode.isEmpty()) {
                    b.text("DEVAMKOD", u"D"_s);
                    continue;
                }
                if (used == 10) continue;
                const QString n = QString::number(++used);
                b.numberText(u"V_BARKOD"_s + n, l.barcode);
                if (l.writtenFound) b.numberText(u"R_BARKOD"_s + n, l.writtenBarcode);
                b.numberText(u"ESDG_KOD"_s + n, l.equivalence);
                b.numberText(u"GUN_KUL"_s + n, l.perDay);
                b.numberText(u"DOZ"_s + n, l.dose);
                if (!l.boxes.isNull()) b.number(used == 10 ? u"IKUTU_MK10"_s : u"IKUTU_MIK"_s + n, l.boxes.toDouble());
            }
            b.numberText("MEMUNITNO", textOf(p, "MEMUNITNO"));
            b.numberText("DRUNITNO", textOf(p, "DRUNITNO"));
            b.numberText("ISYERNO", textOf(p, "ISYERNO"));
            b.date("RBAST_YIL", "RBAST_AY", "RBAST_GUN", dateValue(p.value(u"RPBASTRH"_s)));
            b.date("RBIT_T_YIL", "RBIT_T_AY", "RBIT_T_GUN", dateValue(p.value(u"RPBITRH"_s)));
            b.date("HASY_T_YIL", "HASY_T_AY", "HASY_T_GUN", dateValue(p.value(u"HASYATRH"_s)));
            b.number("KATPAYTUT", p.value(u"HASTAKATPAY"_s).toDouble());
            b.text("HASTALI_IS", textOf(p, "HASTALIK"));
            b.text("TESHIS", textOf(p, "TESHIS"));
            records_[1] << b.values();

            Record k(tables[2], sale);
            head(k);
            k.number("KATPAYTUT", p.value(u"HASTAKATPAY"_s).toDouble());
            k.numberText("KARANTINO", textOf(p, "KARANTINA"));
            k.number("REC_TUT", p.value(u"NET"_s).toDouble());
            k.numberText("S_KUR_KOD", textOf(p, "SAGKURNO"));
            int named = 0;
            for (const Line& l : items) {
                if (!l.found) continue;
                if (!l.barcode.isEmpty()) {
                    k.text("DEVAMKOD", u"D"_s);
                    continue;
                }
                if (named == 5) continue;
                const QString n = QString::number(++named);
                k.text(u"V_ILACAD"_s + n, l.name.left(15).trimmed());
                if (!l.boxes.isNull()) k.number(u"IKUTU_MIK"_s + n, l.boxes.toDouble());
                k.number(u"DEFKAYNO"_s + n, named);
            }
            k.numberText("MEMUNITNO", textOf(p, "MEMUNITNO"));
            k.numberText("DRUNITNO", textOf(p, "DRUNITNO"));
            k.text("RAP_YATKOD", textOf(p, "RAP_YAT_KOD"));
            k.numberText("ISYERNO", textOf(p, "ISYERNO"));
            const QDate served = dateValue(p.value(u"ALTARIH"_s));
            if (served.isValid()) k.number("DEFKAYTRH", served.toString(u"yyMMdd"_s).toDouble());
            k.text("HASTALI_IS", textOf(p, "HASTALIK"));
            k.text("GUNLUK_DOZ", textOf(p, "GUNKULACIK"));
            records_[2] << k.values();
        }

        // ECZFATR1: the invoice, when its row is there.
        if (!invoice.isEmpty()) {
            Record r(tables[3], 0);
            pharmacyCodes(r);
            r.date("FAT_T_YIL", "FAT_T_AY", "FAT_T_GUN", dateValue(invoice.value(u"FATARIH"_s)));
            r.numberText("FATURA_NO", textOf(invoice, "FATURANO"));
            r.number("FREC_SAYSI", codeOf(invoice, "RCTOPSAYISI"));
            r.number("FATTUT", codeOf(invoice, "NET"));
            r.number("FAT_TIP", codeOf(invoice, "FAT_GRB"));
            r.number("KDVLITUT", codeOf(invoice, "BRUT"));
            r.number("ISKONTOTUT", codeOf(invoice, "TENZIL1"));
            r.number("KATPAYTUT", codeOf(invoice, "TENZIL2"));
            r.number("KDV_TUT", codeOf(invoice, "TOPKDV"));
            records_[3] << r.values();
        }

        // Written into a folder of their own, put in place only when all four are built.
        const QDir dir(db.filesDir());
        if (!dir.exists() && !QDir().mkpath(dir.absolutePath()))
            throw BuildError{dir.absolutePath() + u" klasörü yok."_s + NotReplaced};
        const QString work = dir.absoluteFilePath(u".disket-yeni"_s);
        QDir(work).removeRecursively();
        QDir().mkpath(work);
        struct Cleanup {
            QString path;
            ~Cleanup() { QDir(path).removeRecursively(); }
        } cleanup{work};
        for (size_t i = 0; i < tables.size(); ++i) {
            const DiskTable& t = tables[i];
            QList<DbfField> layout = t.fields;
            const QString found = tablePath(int(i));
            if (QFile::exists(found)) {
                const std::optional<DbfHeader> h = readHeader(found);
                const std::optional<QString> differs = h ? agrees(t, *h) : std::optional<QString>(u"okunamıyor"_s);
                if (differs)
                    throw BuildError{t.file + u".DBF tablosunun yapısı beklenenden farklı ("_s + *differs
                                     + u"); tabloya dokunulmadı."_s + NotReplaced};
                for (int f = 0; f < layout.size(); ++f) layout[f].width = h->fields[f].width;
            }
            writeTable(QDir(work).absoluteFilePath(t.file), t, layout, records_[i], session_.clock.today());
            sizes_[i] = qint64(records_[i].size()) * t.recordLength;
        }
        for (size_t i = 0; i < tables.size(); ++i) {
            const QString target = tablePath(int(i));
            const QString fresh = QDir(work).absoluteFilePath(tables[i].file + u".dbf"_s);
            QFile::remove(target);
            if (!QFile::rename(fresh, target))
                throw BuildError{target + u" yazılamadı."_s};
        }
    } catch (const BuildError& e) {
        reset();
        session_.prompter.warning(e.message);
        return false;
    }
    return true;
}

void DisketLogic::copy(const QString& target)
{
    Prompter& p = session_.prompter;
    if (complete_) {
        if (p.ask(u"Yeniden Kopyalamak istiyormusunuz?"_s) != Answer::Yes) return;
        copied_ = {};
        complete_ = false;
    }
    qint64 room = session_.platform ? session_.platform->freeBytes(target) : QStorageInfo(target).bytesAvailable();
    const auto& tables = diskTables();
    bool unreadable = false;
    for (size_t i = 0; i < tables.size(); ++i) {
        // A table copied onto an earlier diskette is not copied again.
        if (copied_[i]) continue;
        room -= sizes_[i];
        if (room <= 0) {
            p.information(u"Yeterli boş yer yok,Lütfen başka bir boş disket takın"_s);
            return;
        }
        QFile source(tablePath(int(i)));
        if (!source.open(QIODevice::ReadOnly)) {
            p.error(source.fileName() + u" dosyası okunamadı."_s);
            unreadable = true;
            continue;
        }
        const QByteArray bytes = source.readAll();
        const int headerLength = bytes.size() > 9 ? (quint8(bytes[8]) | (quint8(bytes[9]) << 8)) : 0;
        // The records from past the header and the first record's deletion mark.
        const QByteArray records = bytes.mid(headerLength + 1);
        QFile out(QDir(target).absoluteFilePath(tables[i].diskName));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(records) != records.size() || !out.flush()) {
            p.error(out.fileName() + u" dosyası yazılamadı."_s);
            return;
        }
        copied_[i] = true;
    }
    if (unreadable) return;
    complete_ = true;
    p.beep();
}

void DisketLogic::rememberTarget(const QString& target) { targets().setValue(u"hedef"_s, target); }

QString DisketLogic::defaultTarget()
{
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (v.isValid() && v.isReady() && !v.isReadOnly()
            && (root.startsWith(u"/media/"_s) || root.startsWith(u"/run/media/"_s)))
            return root;
    }
    return targets().value(u"hedef"_s).toString();
}

}  // namespace selvar
