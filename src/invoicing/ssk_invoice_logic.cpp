#include "invoicing/ssk_invoice_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/errors.h"
#include "data/operations.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "prescriptions/dokssk_logic.h"
#include "print/report_fonts.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <vector>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
constexpr std::array<Bucket, 3> kBuckets{Bucket::Normal, Bucket::WithMedicine, Bucket::Special};

int partOf(const QString& type)
{
    if (type == u"I"_s) return 1;
    if (type == u"O"_s) return 2;
    return 0;
}

// A prescription another invoice took while this one was being recorded.
struct TakenElsewhere {
    double saleNo;
};

// Rows of a query over FATSSK.DB as field -> value, dates as dates; the columns are
// looked up once per query.
class RowReader {
public:
    explicit RowReader(const Sql& q)
    {
        static const TableDef& def = tableDef(u"FATSSK"_s);
        for (int i = 0; i < q.columnCount(); ++i) {
            const QString name = q.columnName(i).toUpper();
            const int f = def.fieldIndex(name);
            columns_.push_back({name, f >= 0 && def.fields[f].type == FieldType::Date});
        }
    }
    QVariantMap read(const Sql& q) const
    {
        QVariantMap r;
        for (int i = 0; i < int(columns_.size()); ++i) {
            const auto& [name, date] = columns_[size_t(i)];
            if (q.isNull(i)) r.insert(name, QVariant());
            else r.insert(name, date ? QVariant(q.date(i)) : q.value(i));
        }
        return r;
    }

private:
    std::vector<std::pair<QString, bool>> columns_;
};
// Many rows written with few statements: a workstation on the network pays a round trip
// per statement. On the server `chunk` gets the text of a VALUES table
// "(VALUES (...), ...) AS v" (columns v.column1 ...) of up to 200 rows typed by `types`;
// SQLite, in the program itself, runs the prepared `single` (placeholders :v0_0 ...) once
// per row, which is faster there. Returns the rows the statements touched.
int inChunks(Database& db, const std::vector<QVariantList>& rows, const QStringList& types,
             const std::function<QString(const QString& values)>& chunk, const QString& single,
             const QVariantMap& fixed = {})
{
    int touched = 0;
    if (db.dialect().engine() != AliasConfig::Engine::PostgreSql) {
        Sql q(db, single);
        for (const QVariantList& row : rows) {
            for (int c = 0; c < types.size(); ++c) q.bind(u"v0_%1"_s.arg(c), row.value(c));
            for (auto it = fixed.begin(); it != fixed.end(); ++it) q.bind(it.key(), it.value());
            touched += q.exec().rowsAffected();
        }
        return touched;
    }
    constexpr size_t size = 200;
    for (size_t from = 0; from < rows.size(); from += size) {
        const size_t n = std::min(size, rows.size() - from);
        QStringList tuples;
        for (size_t r = 0; r < n; ++r) {
            QStringList cells;
            for (int c = 0; c < types.size(); ++c) cells << u"CAST(:v%1_%2 AS %3)"_s.arg(r).arg(c).arg(types[c]);
            tuples << u'(' + cells.join(u", "_s) + u')';
        }
        Sql q(db, chunk(u"(VALUES "_s + tuples.join(u", "_s) + u") AS v"_s));
        for (size_t r = 0; r < n; ++r)
            for (int c = 0; c < types.size(); ++c) q.bind(u"v%1_%2"_s.arg(r).arg(c), rows[from + r].value(c));
        for (auto it = fixed.begin(); it != fixed.end(); ++it) q.bind(it.key(), it.value());
        touched += q.exec().rowsAffected();
    }
    return touched;
}
}  // namespace

// ---------------------------------------------------------------- the arithmetic

QString sskStatusClass(const QString& status)
{
    if (status == u"1"_s || status == u"3"_s || status == u"4"_s) return u"Ç"_s;
    if (status == u"2"_s) return u"E"_s;
    if (status.size() == 1 && status.at(0) >= u'5' && status.at(0) <= u'8') return u"R"_s;
    return {};
}

QString sskGroupClass(QChar group)
{
    if (group == u'4' || group == u'5') return u"E"_s;
    if (group == u'6' || group == u'8') return u"R"_s;
    return u"Ç"_s;
}

QString sskStatusText(const QString& code)
{
    if (code == u"1"_s) return u"Çalışan Sigr."_s;
    if (code == u"2"_s) return u"Emekli Sigr."_s;
    if (code == u"3"_s) return u"Kurum Memuru"_s;
    if (code == u"4"_s) return u"Yurdışı Sig."_s;
    if (code.size() == 1 && code.at(0) >= u'5' && code.at(0) <= u'8') return u"Muaf"_s;
    return {};
}

QString sskRelationText(const QString& code, bool printed)
{
    static const QStringList grid{u"Kendisi"_s, u"Erkek Eş"_s, u"Kadın Eş"_s, u"Erkek Çoc."_s,
                                  u"Kız Çoc."_s, u"Baba"_s, u"Ana"_s};
    if (code.size() != 1 || code.at(0) < u'0' || code.at(0) > u'6') return {};
    const int i = code.at(0).unicode() - u'0';
    if (printed && i == 3) return u"Erkek Çocuk"_s;
    if (printed && i == 4) return u"Kız Çocuk"_s;
    return grid[i];
}

QString sskGroupListName(QChar group)
{
    static const QStringList names{u"Kurum Memuru Reçeteler,"_s, u"Kurum Memuru Aileleri,"_s, u"Çalışan Reçeteleri,"_s,
                                   u"Çalışan Aileleri,"_s, u"Emekli Reçeteler,"_s, u"Emekli Aileleri,"_s,
                                   u"Muaf Reçeteler,"_s, u"Yurt Dışı Çalışanlarının,"_s,
                                   u"Hast.,Mes.Hast.,İş Kz.,Analık,"_s};
    const int i = group.unicode() - u'0';
    return i >= 0 && i < names.size() ? names[i] : QString();
}

double sskLineVat(const Institution& inst, double price, double quantity, const QString& type, double vatRate,
                  const QString& status)
{
    const double t = quantity * price;
    const int part = partOf(type);
    const Bucket b = kBuckets[size_t(part)];
    double share = t - inst.discountRate(b) * t * 0.01;
    const QString cls = sskStatusClass(status);
    const double rate = cls.isEmpty() ? 0 : inst.shareRate(b, cls);
    // Only the line's own part is reduced; from the gross when the institution says so.
    share -= inst.shareFromGross ? t * rate * 0.01 : share * rate * 0.01;
    return vatRate / (vatRate + 100) * share;
}

void computeSskPrescription(SskPrescription& p, const Institution& inst, QChar group)
{
    const QString cls = sskGroupClass(group);
    static const std::array<const char*, 3> fields{"BRUTN", "BRUTI", "BRUTO"};
    p.net = 0;
    for (size_t i = 0; i < 3; ++i) {
        p.gross[i] = p.row.value(QString::fromLatin1(fields[i])).toDouble();
        const double discountRate = inst.discountRate(kBuckets[i]);
        const double base = inst.shareFromGross ? p.gross[i] : p.gross[i] * (100 - discountRate) * 0.01;
        p.rate[i] = inst.shareRate(kBuckets[i], cls);
        p.share[i] = p.rate[i] * base * 0.01;
        p.discount[i] = discountRate * p.gross[i] * 0.01;
    }
    p.net = p.grossSum() - p.discountSum() - p.shareSum();
}

SskTotals computeSskTotals(const std::array<double, 3>& sums, const Institution& inst, QChar group)
{
    SskTotals t;
    const QString cls = sskGroupClass(group);
    t.net = 0;
    for (size_t i = 0; i < 3; ++i) {
        t.gross[i] = sums[i];
        const double discountRate = inst.discountRate(kBuckets[i]);
        const double base = inst.shareFromGross ? sums[i] : sums[i] - discountRate * sums[i] * 0.01;
        t.rate[i] = inst.shareRate(kBuckets[i], cls);
        t.share[i] = base * t.rate[i] * 0.01;
        t.discount[i] = discountRate * sums[i] * 0.01;
        t.net += sums[i] - t.share[i];
    }
    t.net -= t.discountSum();
    return t;
}

double sskRoundedNet(double net, int digits)
{
    const QString text = QString::asprintf("%0.0f", net);
    if (digits <= 0 || digits >= text.size()) return net;
    return text.left(text.size() - digits).toDouble() * std::pow(10.0, digits);
}

// ---------------------------------------------------------------- the window's logic

HazirFatSskLogic::HazirFatSskLogic(Session& session, Links links) : session_(session), links_(std::move(links)) {}

void HazirFatSskLogic::open(const QString& code, double invoiceNo)
{
    code_ = code;
    inst_ = loadInstitution(session_.db, code);
    invoiceNo_ = invoiceNo;
    openedIssued_ = invoiceNo != 0;
    openingNumber_.clear();
    openingDate_ = session_.clock.today();
    choice_.clear();
    selection_.clear();
    hasTotals_ = false;
    if (openedIssued_) {
        Sql q(session_.db, u"SELECT FATURANO, FATARIH FROM FATSSK ORDER BY rowid LIMIT 1"_s);
        q.exec();
        if (q.next()) {
            openingNumber_ = q.text(0);
            openingDate_ = q.date(1);
        }
    }
    computeVat();
}

QList<QVariantMap> HazirFatSskLogic::prescriptions() const
{
    QList<QVariantMap> r;
    Sql q(session_.db, u"SELECT rowid, * FROM FATSSK ORDER BY rowid"_s);
    q.exec();
    const RowReader reader(q);
    while (q.next()) r << reader.read(q);
    return r;
}

QList<SskSaleLine> HazirFatSskLogic::saleLines(double saleNo) const
{
    QList<SskSaleLine> r;
    Sql q(session_.db, u"SELECT s.SIRANOURUN, s.ILACNO, u.ILACAD, u.ILACKOD, s.RECETETIP, s.FIYAT, s.MIKTAR, s.KDV "
                       u"FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATISNO = :n ORDER BY s.SIRANOURUN"_s);
    q.bind(u"n"_s, saleNo).exec();
    while (q.next())
        r << SskSaleLine{q.integer(0), q.integer(1), q.text(2), q.text(3), q.text(4), q.number(5), q.number(6), q.number(7)};
    return r;
}

QString HazirFatSskLogic::patientCaption(qint64 patientNo) const
{
    Sql q(session_.db, u"SELECT HASTADI, HASTASOYAD FROM HASTA WHERE HASTANO = :h"_s);
    q.bind(u"h"_s, patientNo).exec();
    const QString name = q.next() ? q.text(0) + u' ' + q.text(1) : u" "_s;
    return name + u" Adlı Hastaya Ait Reçete İçeriği"_s;
}

void HazirFatSskLogic::computeVat()
{
    Database& db = session_.db;
    std::array<double, 3> rates{};
    bool haveRates = false;
    {
        Sql k(db, u"SELECT KDV1, KDV2, KDV3 FROM KDV LIMIT 1"_s);
        k.exec();
        if ((haveRates = k.next()))
            for (int i = 0; i < 3; ++i) rates[size_t(i)] = k.isNull(i) ? std::nan("") : k.number(i);
    }
    // Every line of every prescription in one statement, summed by sale.
    QHash<double, std::array<double, 3>> sums;
    {
        Sql q(db, u"SELECT s.SATISNO, s.FIYAT, s.MIKTAR, s.RECETETIP, s.KDV, f.DURUM_KOD FROM SATIS s "
                  u"JOIN FATSSK f ON f.SATISNO = s.SATISNO"_s);
        q.exec();
        while (q.next()) {
            std::array<double, 3>& sum = sums[q.number(0)];
            if (!haveRates) continue;
            const double vat = q.number(4);
            const double amount = sskLineVat(inst_, q.number(1), q.number(2), q.text(3), vat, q.text(5));
            for (size_t i = 0; i < 3; ++i)
                if (vat == rates[i]) {  // a rate none of the three counts nowhere
                    sum[i] += amount;
                    break;
                }
        }
    }
    Transaction tx(db);
    Sql rows(db, u"SELECT rowid, SATISNO FROM FATSSK"_s);
    rows.exec();
    std::vector<QVariantList> values;
    while (rows.next()) {
        const std::array<double, 3> v = sums.value(rows.number(1));
        values.push_back({rows.integer(0), v[0], v[1], v[2]});
    }
    inChunks(db, values, {u"BIGINT"_s, u"DOUBLE PRECISION"_s, u"DOUBLE PRECISION"_s, u"DOUBLE PRECISION"_s},
             [](const QString& v) {
                 return u"UPDATE FATSSK SET KDVA = v.column2, KDVB = v.column3, KDVC = v.column4 FROM "_s + v
                        + u" WHERE FATSSK.rowid = v.column1"_s;
             },
             u"UPDATE FATSSK SET KDVA = :v0_1, KDVB = :v0_2, KDVC = :v0_3 WHERE rowid = :v0_0"_s);
    tx.commit();
}

bool HazirFatSskLogic::dropPrescription(qint64 rowId)
{
    if (session_.prompter.message(MessageKind::Confirmation, u"Bu Reçete Listeden Çıkarılsın mı?"_s,
                                  Buttons::YesNo) != Answer::Yes)
        return false;
    // The prescription stays tied to a recorded invoice until that invoice is recorded
    // again (which frees all of its prescriptions first): freeing it now would leave it
    // billable twice when the window is closed without a new recording.
    Sql::run(session_.db, u"DELETE FROM FATSSK WHERE rowid = :r"_s, {{u"r"_s, rowId}});
    if (!choice_.isEmpty() && !select(choice_)) {
        selection_.clear();
        hasTotals_ = false;
    }
    return true;
}

bool HazirFatSskLogic::select(const QString& choice)
{
    Database& db = session_.db;
    choice_ = choice;
    const QChar group = choice.isEmpty() ? QChar(u'0') : choice.at(0);
    const QChar order = choice.size() > 2 ? choice.at(2) : QChar(u'0');
    QString sql = u"SELECT rowid, * FROM FATSSK "_s + sskGroupCondition(group);
    const QString orderBy = sskOrderClause(order);
    sql += u' ' + (orderBy.isEmpty() ? u"ORDER BY rowid"_s : orderBy + u", rowid"_s);
    selection_.clear();
    {
        Sql q(db, sql);
        q.exec();
        const RowReader reader(q);
        while (q.next()) {
            SskPrescription p;
            p.row = reader.read(q);
            p.rowId = p.row.value(u"ROWID"_s).toLongLong();
            p.saleNo = p.row.value(u"SATISNO"_s).toDouble();
            computeSskPrescription(p, inst_, group);
            selection_ << p;
        }
    }
    hasTotals_ = !selection_.isEmpty();
    if (selection_.isEmpty()) return false;
    {
        Transaction tx(db);
        Sql::run(db, u"DELETE FROM TOPSSK"_s);
        std::vector<QVariantList> values;
        values.reserve(size_t(selection_.size()));
        for (const SskPrescription& p : selection_)
            values.push_back({p.saleNo, p.gross[0], p.gross[1], p.gross[2], p.row.value(u"KDVA"_s).toDouble(),
                              p.row.value(u"KDVB"_s).toDouble(), p.row.value(u"KDVC"_s).toDouble(), p.net});
        inChunks(db, values, QStringList(8, u"DOUBLE PRECISION"_s), [](const QString& v) {
            return u"INSERT INTO TOPSSK (SATISNO, BRUTN, BRUTI, BRUTO, KDVA, KDVB, KDVC, NET) SELECT v.column1, v.column2, "
                   u"v.column3, v.column4, v.column5, v.column6, v.column7, v.column8 FROM "_s + v;
        }, u"INSERT INTO TOPSSK (SATISNO, BRUTN, BRUTI, BRUTO, KDVA, KDVB, KDVC, NET) VALUES (:v0_0, :v0_1, :v0_2, :v0_3, "
           u":v0_4, :v0_5, :v0_6, :v0_7)"_s);
        tx.commit();
    }
    fillTotals();
    return true;
}

void HazirFatSskLogic::fillTotals()
{
    Database& db = session_.db;
    std::array<double, 3> sums{};
    double average = 0;
    int count = 0;
    {
        Sql q(db, u"SELECT SUM(BRUTI), SUM(BRUTO), SUM(BRUTN), AVG(NET), COUNT(NET) FROM TOPSSK"_s);
        q.exec();
        if (q.next()) {
            sums = {q.number(2), q.number(0), q.number(1)};
            average = q.number(3);
            count = int(q.integer(4));
        }
    }
    totals_ = computeSskTotals(sums, inst_, group());
    totals_.averageNet = average;
    totals_.count = count;
    Sql v(db, u"SELECT SUM(TOPSSK.KDVA), SUM(TOPSSK.KDVB), SUM(TOPSSK.KDVC) FROM TOPSSK"_s);
    v.exec();
    if (v.next()) totals_.vat = {v.number(0), v.number(1), v.number(2)};
}

void HazirFatSskLogic::invoiceAndPrint(const QString& numberBox, const QString& dateBox)
{
    Prompter& p = session_.prompter;
    const DateInput date = parseDateText(dateBox);
    // A date that is no date (31/02) is refused like a blank one.
    if (QString(numberBox).remove(u' ').remove(u'_').isEmpty() || maskedDateIsBlank(dateBox) || !date.isValid()) {
        p.warning(u"Tarih veya Fatura No bilgisi verilmeden Fatura Kesilemez"_s);
        return;
    }
    const QString choice = links_.choosePrintout ? links_.choosePrintout() : QString();
    if (choice.size() < 2) return;
    const QChar kind = choice.at(1);
    if (issued() && kind == u'0'
        && p.message(MessageKind::Confirmation,
                     u"Bir Önceki Kestiğiniz Fatura İptal Edilip Şimdi Keseceğiniz Fatura Kaydedilecektir.Onaylıyor musunuz?"_s,
                     Buttons::YesNoCancel) != Answer::Yes)
        return;
    if (!select(choice)) {
        p.message(MessageKind::Confirmation, u"İlgi Döküme ait Kayıt Yok"_s, Buttons::Ok);
        return;
    }
    switch (kind.unicode()) {
    case u'0':
        if (printInvoice(dateText(date.date))) record(numberBox, date.date);
        break;
    case u'1': printList(1); break;
    case u'2': printList(2); break;
    case u'3': printList(3); break;
    default: break;
    }
}

bool HazirFatSskLogic::record(const QString& numberBox, const QDate& date)
{
    Database& db = session_.db;
    const QString number = QString(numberBox).remove(u' ').remove(u'_');
    const QDateTime now = session_.clock.now();
    double recorded = 0;
    try {
        withLockRetry(session_.prompter, CounterBusyMessage, [&] {
            Transaction tx(db);
            double invoiceNo = invoiceNo_;
            qint64 row = 0;
            double oldNet = 0;
            if (invoiceNo != 0) {
                row = findKeyRow(db, u"FATURA"_s, QString(), {invoiceNo});
                if (row) oldNet = readRecord(db, u"FATURA"_s, row).value(u"NET"_s).toDouble();
            } else {
                invoiceNo = takeInvoiceNumber(db);
            }
            QVariantMap v{{u"FATNO"_s, invoiceNo}, {u"FATURANO"_s, number}, {u"FATARIH"_s, date},
                          {u"KRMKOD"_s, code_}, {u"KES"_s, true}, {u"KRMAD"_s, inst_.name}};
            {
                Sql k(db, u"SELECT ADR1, ADR2, ADR3, VERGIDAIRE, VERGINO FROM KRMLAR WHERE KOD = :k"_s);
                k.bind(u"k"_s, code_).exec();
                if (k.next())
                    for (int i = 0; i < 5; ++i) v.insert(k.columnName(i).toUpper(), k.value(i));
            }
            v.insert(u"KDV1"_s, totals_.vat[0]);
            v.insert(u"KDV2"_s, totals_.vat[1]);
            v.insert(u"KDV3"_s, totals_.vat[2]);
            v.insert(u"TOPKDV"_s, totals_.vatSum());
            v.insert(u"TENZIL1"_s, totals_.discountSum());
            v.insert(u"TENZIL2"_s, totals_.shareSum());
            v.insert(u"BRUT"_s, totals_.grossSum());
            v.insert(u"NET"_s, totals_.net);
            v.insert(u"FAT_GRB"_s, group().unicode() - u'0' + 1);
            v.insert(u"RCTOPSAYISI"_s, qint64(selection_.size()));
            if (invoiceNo_ != 0) {
                // The recorded invoice gives back its prescriptions and its amount first.
                Sql::run(db, u"UPDATE RECETE SET FATNO = NULL, FATURANO = NULL, FATARIH = NULL WHERE FATNO = :f"_s,
                         {{u"f"_s, invoiceNo}});
                changeAccountDebt(db, code_, -oldNet);
                if (openedIssued_) appendOperationLog(db, now, code_, u"Krm.Fat.Dzlt."_s, invoiceNo, oldNet);
            }
            // The open-account movement: an invoice without one gets one.
            const qint64 move = findKeyRow(db, u"HAREKET"_s, u"ALSATNO_ALSAT"_s, {invoiceNo, u"F"_s});
            const QVariantMap m{{u"TUR"_s, u"K"_s}, {u"CARIKOD"_s, code_}, {u"BORC"_s, totals_.net},
                                {u"ALSATNO"_s, invoiceNo}, {u"BILGI"_s, dateText(date) + u" Tarihli Kurum Faturası"_s},
                                {u"TARIH"_s, date}, {u"ALSAT"_s, u"F"_s}};
            if (move) {
                updateRecord(db, u"HAREKET"_s, move, m);
            } else {
                QVariantMap fresh = m;
                fresh.insert(u"HAREKNO"_s, takeMovementNumber(db));
                fresh.insert(u"NIHAI"_s, 0);
                insertRecord(db, u"HAREKET"_s, fresh);
            }
            if (row) updateRecord(db, u"FATURA"_s, row, v);
            else insertRecord(db, u"FATURA"_s, v);
            changeAccountDebt(db, code_, totals_.net);
            // A prescription is marked only while free: another workstation's invoice
            // keeps what it took, and this one is not recorded.
            std::vector<QVariantList> values;
            values.reserve(size_t(selection_.size()));
            for (const SskPrescription& p : selection_) values.push_back({p.saleNo, p.net, p.shareSum()});
            const int marked = inChunks(
                db, values, {u"DOUBLE PRECISION"_s, u"DOUBLE PRECISION"_s, u"DOUBLE PRECISION"_s},
                [](const QString& v) {
                    return u"UPDATE RECETE SET FATNO = :invoice, FATURANO = :number, FATARIH = :day, NET = v.column2, "
                           u"HASTAKATPAY = v.column3 FROM "_s + v
                           + u" WHERE RECETE.SATISNO = v.column1 AND (RECETE.FATNO IS NULL OR RECETE.FATNO = :same)"_s;
                },
                u"UPDATE RECETE SET FATNO = :invoice, FATURANO = :number, FATARIH = :day, NET = :v0_1, HASTAKATPAY = :v0_2 "
                u"WHERE SATISNO = :v0_0 AND (FATNO IS NULL OR FATNO = :same)"_s,
                {{u"invoice"_s, invoiceNo}, {u"same"_s, invoiceNo}, {u"number"_s, number}, {u"day"_s, date}});
            if (marked != selection_.size()) {
                // The first one another invoice holds (or that is gone) is named.
                for (const SskPrescription& p : selection_) {
                    Sql q(db, u"SELECT FATNO FROM RECETE WHERE SATISNO = :s"_s);
                    q.bind(u"s"_s, p.saleNo).exec();
                    if (!q.next() || (!q.isNull(0) && q.number(0) != invoiceNo)) throw TakenElsewhere{p.saleNo};
                }
                throw TakenElsewhere{selection_.first().saleNo};
            }
            // The working rows show the invoice too (on the backs printed next); TOPSSK
            // holds the selection's sale numbers.
            Sql::run(db, u"UPDATE FATSSK SET FATNO = :fno, FATURANO = :faturno, FATARIH = :trh "
                         u"WHERE SATISNO IN (SELECT SATISNO FROM TOPSSK)"_s,
                     {{u"fno"_s, invoiceNo}, {u"faturno"_s, number}, {u"trh"_s, date}});
            tx.commit();
            recorded = invoiceNo;
        });
    } catch (const TakenElsewhere& taken) {
        session_.prompter.warning(
            format(u"%0.0f Nolu Satışın Reçetesi Başka Bir Faturaya Dahil Edilmiş. Fatura Kaydedilmedi."_s, taken.saleNo));
        return false;
    }
    invoiceNo_ = recorded;
    return true;
}

void HazirFatSskLogic::refreshFromPrescription(double saleNo)
{
    // A repriced prescription's gross comes from its header again; its VAT with it.
    Database& db = session_.db;
    Sql q(db, u"SELECT BRUTN, BRUTI, BRUTO, BRUTH, NET, HASTAKATPAY FROM RECETE WHERE SATISNO = :s"_s);
    q.bind(u"s"_s, saleNo).exec();
    if (!q.next()) return;
    Sql::run(db, u"UPDATE FATSSK SET BRUTN = :n, BRUTI = :i, BRUTO = :o, BRUTH = :h, NET = :net, HASTAKATPAY = :p "
                 u"WHERE SATISNO = :s"_s,
             {{u"n"_s, q.value(0)}, {u"i"_s, q.value(1)}, {u"o"_s, q.value(2)}, {u"h"_s, q.value(3)},
              {u"net"_s, q.value(4)}, {u"p"_s, q.value(5)}, {u"s"_s, saleNo}});
}

void HazirFatSskLogic::recheckPrices()
{
    Database& db = session_.db;
    // The first line of each prescription whose price differs from the product's now.
    QList<double> sales;
    {
        Sql q(db, u"SELECT f.SATISNO FROM FATSSK f WHERE EXISTS (SELECT 1 FROM SATIS s JOIN URUN u ON u.ILACNO = s.ILACNO "
                  u"WHERE s.SATISNO = f.SATISNO AND s.FIYAT <> u.FIYAT) ORDER BY f.rowid"_s);
        q.exec();
        while (q.next()) sales << q.number(0);
    }
    bool changed = false;
    for (double sale : sales) {
        session_.prompter.beep();
        const QString answer = links_.reevaluate ? links_.reevaluate(sale) : u"Dur"_s;
        refreshFromPrescription(sale);
        changed = true;
        if (answer == u"Dur"_s) break;
    }
    if (changed) {
        computeVat();
        if (!choice_.isEmpty()) select(choice_);
    }
}

void HazirFatSskLogic::diskette()
{
    if (invoiceNo_ == 0) {
        session_.prompter.information(u"Lütfen Önce Fatura Kesiniz"_s);
        return;
    }
    if (links_.diskette) links_.diskette(group(), code_, invoiceNo_);
}

void HazirFatSskLogic::loadListFont()
{
    listFont_ = FontDef(u"Courier New"_s, 8);
    listMargin_ = 1;
    loadReportFont(session_.db, u"Fatressk"_s, listFont_, listMargin_);
}

void HazirFatSskLogic::saveListFont()
{
    if (listFontChanged) saveReportFont(session_.db, u"Fatressk"_s, listFont_, listMargin_);
}

}  // namespace selvar
