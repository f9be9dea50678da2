#include "reports/cash_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/codes.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/operations.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/geometry.h"
#include "reports/period_logic.h"

#include <QHash>
#include <algorithm>
#include <vector>
#include <cmath>
#include <QSet>
#include <map>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

bool privatePasswordMatches(Database& db, const QString& typed)
{
    const QString stored = Sql::scalar(db, u"SELECT OZEL FROM EKIM LIMIT 1"_s).toString();
    return typed == stored;  // exactly: case and blanks count
}

void logPrivateReportViewed(Session& session)
{
    appendOperationLog(session.db, session.clock.now(), u"Şifreli Özel Rapora Bakıldı !"_s, u"Özel Rapor"_s, 0, 0);
}

QString movementState(const QString& kind, int settled, double debit)
{
    if (kind == u"N"_s) return {};
    if (kind == u"S"_s) {
        if (debit > 0) {
            switch (settled) {
            case 1: return u"Senet Ödendi"_s;
            case 2: return u"Protesto"_s;
            default: return u"Senet Verildi"_s;
            }
        }
        switch (settled) {
        case 1: return u"Senet Tahsil Edl."_s;
        case 2: return u"Senet Cirolandı"_s;
        case 3: return u"Protesto"_s;
        default: return u"Senet Alındı"_s;
        }
    }
    if (kind == u"Ç"_s) {
        if (debit > 0) {
            switch (settled) {
            case 1: return u"Çek Ödendi"_s;
            case 2: return u"Karşılıksız Çek"_s;
            default: return u"Çek Verildi"_s;
            }
        }
        switch (settled) {
        case 1: return u"Çek Tahsil Edl."_s;
        case 2: return u"Çek Cirolandı"_s;
        case 3: return u"Karşılıksız Çek"_s;
        default: return u"Çek Alındı"_s;
        }
    }
    return settled < 1 ? u"Açık"_s : u"Kapatıldı"_s;
}

QString wholeAmount(double v)
{
    // The sign too: "KALAN" is below zero whenever the period paid out more than it took in.
    return (std::round(v) < 0 ? u"-"_s : QString()) + digitsAndSeparators(moneyText(std::abs(v)));
}

QString countedAmount(double amount, int count, const QString& unit)
{
    return wholeAmount(amount) + u" ("_s + QString::number(count) + unit;
}

namespace {
const QString NoInstitution = u"(KURUMKOD IS NULL OR KURUMKOD = '')"_s;
const QString PrivateInvoice = u"(RCTOPSAYISI IS NULL OR RCTOPSAYISI < 1)"_s;

Sql& bindPeriod(Sql& q, const QDate& start, const QDate& end, bool timestamps)
{
    if (timestamps) q.bind(u"a"_s, periodStart(start)).bind(u"b"_s, periodEnd(end));
    else q.bind(u"a"_s, start).bind(u"b"_s, end);
    return q;
}
}  // namespace

CashSummary cashSummary(Database& db, const QDate& start, const QDate& end)
{
    CashSummary s;
    {
        Sql q(db, u"SELECT COALESCE(SUM(KDVTOP), 0), COALESCE(SUM(NET - KDVTOP), 0) FROM ALIS1 "
                  u"WHERE FATARIH >= :a AND FATARIH <= :b"_s);
        bindPeriod(q, start, end, false).exec();
        if (q.next()) {
            s.purchaseVat = q.number(0);
            s.purchaseNet = q.number(1);
        }
    }
    double retailVat = 0, retailWithoutVat = 0;
    {
        Sql q(db, u"SELECT SATISNO, MIKTAR, FIYAT, KDV FROM SATIS WHERE PARAKENDE = 'P' AND SATARIH >= :a AND SATARIH <= :b"_s);
        bindPeriod(q, start, end, true).exec();
        QSet<double> sales;
        while (q.next()) {
            const double amount = q.number(1) * q.number(2), vat = q.number(3);
            retailVat += amount * vat / (100 + vat);
            retailWithoutVat += amount * 100 / (vat + 100);
            s.retail += amount;
            sales.insert(q.number(0));
        }
        s.retailSales = int(sales.size());
    }
    double shareVat = 0, institutionVat = 0, prescriptionNet = 0;
    {
        Sql q(db, u"SELECT HASTAKATPAY, KDVA, KDVB, KDVC, NET, KURUMKOD, FATNO FROM RECETE "
                  u"WHERE ALTARIH >= :a AND ALTARIH <= :b"_s);
        bindPeriod(q, start, end, false).exec();
        while (q.next()) {
            const double share = q.number(0), vat = q.number(1) + q.number(2) + q.number(3), net = q.number(4);
            // The VAT in the patient's share, in proportion to the institution's part; none
            // when that part holds nothing beyond its VAT.
            if (net - vat > 0) shareVat += share * vat / (net - vat);
            s.patientShares += share;
            institutionVat += vat;
            prescriptionNet += net;
            const bool institution = !q.text(5).trimmed().isEmpty();
            if (!institution) {
                s.plainPrescriptions += net;
                ++s.plainCount;
            } else if (q.value(6).isNull() || q.number(6) == 0) {
                s.uninvoiced += net;
                ++s.uninvoicedCount;
            }
        }
    }
    // The patient's shares counted as income are those of institution prescriptions.
    const double institutionShares =
        Sql::scalar(db, u"SELECT COALESCE(SUM(HASTAKATPAY), 0) FROM RECETE WHERE ALTARIH >= :a AND ALTARIH <= :b AND NOT "_s
                            + NoInstitution,
                    {{u"a"_s, start}, {u"b"_s, end}})
            .toDouble();
    double invoiceVat = 0;
    {
        Sql q(db, u"SELECT COALESCE(SUM(NET), 0), COALESCE(SUM(TOPKDV), 0), COUNT(*) FROM FATURA "
                  u"WHERE FATARIH >= :a AND FATARIH <= :b AND "_s
                      + PrivateInvoice);
        bindPeriod(q, start, end, false).exec();
        if (q.next()) {
            s.privateInvoices = q.number(0);
            invoiceVat = q.number(1);
            s.invoices = int(q.integer(2));
        }
    }
    s.salesVat = shareVat + institutionVat + retailVat + invoiceVat;
    s.salesNet = retailWithoutVat + s.privateInvoices + prescriptionNet + s.patientShares - invoiceVat - shareVat
                 - institutionVat;
    s.patientShares = institutionShares;
    s.income = s.retail + s.privateInvoices + s.plainPrescriptions + s.patientShares;
    {
        // Grouped by kind and state as they come, in a stable order.
        Sql q(db, u"SELECT TUR, NIHAI, BORC, ALACAK FROM HAREKET WHERE TARIH >= :a AND TARIH <= :b"_s);
        bindPeriod(q, start, end, false).exec();
        std::map<std::pair<int, QString>, MovementGroup> groups;
        while (q.next()) {
            const QString kind = q.text(0).trimmed();
            const int settled = int(q.integer(1));
            const double debit = q.number(2), credit = q.number(3);
            MovementGroup& g = groups[{settled, kind}];
            g.kind = kind;
            g.debit += debit;
            g.credit += credit;
            ++g.count;
            s.totalDebit += debit;
            s.totalCredit += credit;
            if (kind == u"M"_s) s.creditSales += debit - credit;
            if (kind == u"N"_s) s.cash += debit - credit;
            if (settled == 1) {
                s.settledDebit += debit;
                s.settledCredit += credit;
            } else {
                s.openDebit += debit;
                s.openCredit += credit;
            }
        }
        for (auto& [key, g] : groups) {
            g.state = movementState(g.kind, key.first, g.debit);
            g.kind = movementKindText(g.kind);
            s.groups << g;
        }
    }
    s.discounts = Sql::scalar(db, u"SELECT COALESCE(SUM(ISKONTUT), 0) FROM iskonto WHERE TARIH >= :a AND TARIH <= :b"_s,
                              {{u"a"_s, start}, {u"b"_s, end}})
                      .toDouble();
    s.cashRegister = s.income - s.creditSales - s.cash - s.discounts;
    s.general = s.cashRegister + (s.settledDebit - s.settledCredit) + (s.openDebit - s.openCredit) + s.uninvoiced;
    return s;
}

// ---------------------------------------------------------------- the day-by-day table

QList<KasaRow> buildKasaTable(Database& db, const QDate& start, const QDate& end)
{
    QList<KasaRow> days;
    for (QDate d = start; d <= end; d = d.addDays(1)) days << KasaRow{d.toString(u"dd.MM.yy"_s)};
    KasaRow total{u"Toplam:"_s};
    const auto slot = [&](const QDate& d) -> KasaRow* {
        const qint64 i = start.daysTo(d);
        return i >= 0 && i < days.size() ? &days[int(i)] : nullptr;
    };
    // Each source summed by day in one statement and spread over the days.
    const Dialect& dialect = db.dialect();
    const auto spread = [&](const QString& dayColumn, const QString& sums, const QString& from, bool timestamps,
                            const std::function<void(KasaRow&, Sql&)>& add) {
        const QString day = dialect.isoDay(dayColumn);
        Sql q(db, u"SELECT "_s + day + u", "_s + sums + u" FROM "_s + from + u" AND "_s + dayColumn + u" >= :a AND "_s
                      + dayColumn + u" <= :b GROUP BY "_s + day);
        bindPeriod(q, start, end, timestamps).exec();
        while (q.next()) {
            if (KasaRow* r = slot(QDate::fromString(q.text(0), Qt::ISODate))) {
                add(*r, q);
                add(total, q);
            }
        }
    };
    spread(u"SATARIH"_s, u"SUM(MIKTAR * FIYAT)"_s, u"SATIS WHERE PARAKENDE = 'P'"_s, true,
           [](KasaRow& r, Sql& q) { r.retail += q.number(1); });
    spread(u"ALTARIH"_s,
           u"SUM(CASE WHEN "_s + NoInstitution + u" THEN NET ELSE 0 END), SUM(CASE WHEN "_s + NoInstitution
               + u" THEN 0 ELSE HASTAKATPAY END)"_s,
           u"RECETE WHERE 1 = 1"_s, false, [](KasaRow& r, Sql& q) {
               r.plainPrescriptions += q.number(1);
               r.patientShares += q.number(2);
           });
    spread(u"FATARIH"_s, u"SUM(NET)"_s, u"FATURA WHERE "_s + PrivateInvoice, false,
           [](KasaRow& r, Sql& q) { r.privateInvoices += q.number(1); });
    spread(u"TARIH"_s,
           u"SUM(CASE WHEN TUR = 'M' THEN BORC ELSE 0 END), SUM(CASE WHEN TUR = 'N' THEN ALACAK ELSE 0 END), "
           u"SUM(CASE WHEN TUR = 'N' THEN BORC ELSE 0 END)"_s,
           u"HAREKET WHERE TUR IN ('M', 'N')"_s, false, [](KasaRow& r, Sql& q) {
               r.creditSales += q.number(1);
               r.cashIn += q.number(2);
               r.cashOut += q.number(3);
           });
    spread(u"TARIH"_s, u"SUM(ISKONTUT)"_s, u"iskonto WHERE 1 = 1"_s, false,
           [](KasaRow& r, Sql& q) { r.discounts += q.number(1); });
    days << total;
    Transaction tx(db);
    Sql::run(db, u"DELETE FROM KASA"_s);
    Sql insert(db, u"INSERT INTO KASA (TARIH, PARSAT, PREC, SFAT, HKP, VSAT, NTAH, NODE, GENTOP, ISKON) "
                   u"VALUES (:t, :p, :r, :f, :h, :v, :n, :o, :g, :i)"_s);
    for (KasaRow& r : days) {
        r.total = r.retail + r.plainPrescriptions + r.privateInvoices + r.patientShares - r.creditSales - r.discounts
                  + r.cashIn - r.cashOut;
        insert.bind(u"t"_s, r.day).bind(u"p"_s, r.retail).bind(u"r"_s, r.plainPrescriptions);
        insert.bind(u"f"_s, r.privateInvoices).bind(u"h"_s, r.patientShares).bind(u"v"_s, r.creditSales);
        insert.bind(u"n"_s, r.cashIn).bind(u"o"_s, r.cashOut).bind(u"g"_s, r.total).bind(u"i"_s, r.discounts).exec();
    }
    tx.commit();
    return days;
}

// ---------------------------------------------------------------- the two lists

namespace {
double refillTotal(Database& db, const QList<ListRow>& rows)
{
    Transaction tx(db);
    Sql::run(db, u"DELETE FROM XTOPLAM"_s);
    Sql insert(db, u"INSERT INTO XTOPLAM (TUTAR) VALUES (:t)"_s);
    for (const ListRow& r : rows) insert.bind(u"t"_s, r.amount).exec();
    const double total = Sql::scalar(db, u"SELECT COALESCE(SUM(TUTAR), 0) FROM XTOPLAM"_s).toDouble();
    tx.commit();
    return total;
}

QList<ListRow> listRows(Database& db, const QString& sql, const QDate& start, const QDate& end, bool sale)
{
    Sql q(db, sql);
    bindPeriod(q, start, end, true).exec();
    QList<ListRow> r;
    while (q.next()) {
        ListRow l;
        l.when = q.value(0).toDateTime();
        l.productName = q.text(1);
        l.price = q.number(2);
        l.quantity = q.integer(3);
        l.amount = l.price * double(l.quantity);
        if (sale) l.kind = q.text(4);
        r << l;
    }
    return r;
}
}  // namespace

QList<ListRow> salesList(Database& db, const QDate& start, const QDate& end, double* total)
{
    const QList<ListRow> r = listRows(db,
                                      u"SELECT s.SATARIH, u.ILACAD, s.FIYAT, s.MIKTAR, s.PARAKENDE FROM SATIS s "
                                      u"LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATARIH >= :a AND s.SATARIH <= :b "
                                      u"ORDER BY s.SATARIH, s.SATISNO, s.SIRANOURUN"_s,
                                      start, end, true);
    if (total) *total = r.isEmpty() ? 0 : refillTotal(db, r);
    return r;
}

QList<ListRow> purchaseList(Database& db, const QDate& start, const QDate& end, double* total)
{
    // The purchase moment is a date and time: the last day counts to its last millisecond,
    // and a line's amount is its price times its quantity.
    const QList<ListRow> r = listRows(db,
                                      u"SELECT a.ALISTARIH, u.ILACAD, a.FIYAT, a.MIKTAR FROM ALIS3 a "
                                      u"LEFT JOIN URUN u ON u.ILACNO = a.ILACNO "
                                      u"WHERE a.ALISTARIH >= :a AND a.ALISTARIH <= :b ORDER BY a.ALISTARIH, a.ALISNO, a.SIRANOILAC"_s,
                                      start, end, false);
    if (total) *total = r.isEmpty() ? 0 : refillTotal(db, r);
    return r;
}

QString saleKindText(const QString& kind)
{
    if (kind == u"E"_s) return u"Fat.+Reç."_s;
    if (kind == u"F"_s) return u"Fatura"_s;
    if (kind == u"P"_s) return u"Perakende"_s;
    if (kind == u"R"_s) return u"Reçete"_s;
    return {};
}

void drawList(Canvas& canvas, const QString& caption, const QList<ListRow>& rows, double total, int marginCm,
              bool purchases, const QDate& today)
{
    const PageGeometry g(canvas);
    const int x = g.cmX(marginCm);
    const int pitch = PageGeometry::linePitch(canvas, purchases ? u"İÜÖŞĞJMyg"_s : u"İÇĞŞgy"_s, 5);
    const int end = g.pageEndY(25);
    int page = 1, y = 0;
    const auto heading = [&](bool first) {
        FontDef f = canvas.font();
        const FontDef plain = f;
        f.bold = f.underline = true;
        canvas.setFont(f);
        canvas.textOut(x, y, format(first ? u"%-10s %-36s %14s %6s %16s" : u"%-10s %-36s %14s %-6s %16s", u"TARİH"_s,
                                    u"İLAÇ ADI"_s, u"FİYAT   "_s, u"MİKTAR"_s, u"TUTAR   "_s));
        canvas.setFont(plain);
        y += pitch;
    };
    canvas.textOut(x, y, u"Sayfa No :"_s + QString::number(page));
    y += 2 * pitch;
    canvas.textOut(x, y, u"Tarih :"_s + dateText(today));
    y += pitch;
    canvas.textOut(x, y, format(u"%18s", caption));
    y += 2 * pitch;
    heading(true);
    for (const ListRow& r : rows) {
        if (y + pitch > end) {
            canvas.newPage();
            y = 0;
            canvas.textOut(x, y, u"Sayfa No :"_s + QString::number(++page));
            y += 2 * pitch;
            heading(false);
        }
        canvas.textOut(x, y, format(u"%-10s %-36s %14m %6d %16m", r.when.toString(u"dd.MM.yy hh:mm"_s), r.productName,
                                    r.price, r.quantity, r.amount));
        y += pitch;
    }
    y += 2 * pitch + 10;
    canvas.textOut(x, y, format(u"%-10s %-36s %14m %6d %16m", u"TOPLAM :"_s, QString(), total, 0, total));
}

// ---------------------------------------------------------------- profit

const QStringList& profitKindCaptions()
{
    static const QStringList c{u"Perakende Satışlar"_s, u"Reçeteli Satışlar"_s, u"Faturalı Satışlar"_s,
                               u"Reç.li Fat. Satışlar"_s, u"Tüm Satışlar"_s};
    return c;
}

QList<ProfitRow> profitRows(Database& db, const QDate& start, const QDate& end, int kind)
{
    static const QStringList kinds{u"P"_s, u"R"_s, u"F"_s, u"E"_s};
    const bool one = kind >= 0 && kind < kinds.size();
    const QString where = u" WHERE s.SATARIH >= :a AND s.SATARIH <= :b"_s + (one ? u" AND s.PARAKENDE = :k"_s : QString());
    // The names come in a statement of their own, once per product: joining the product
    // table to every line made the server read all of it and sort the lines in parallel.
    QHash<qint64, QString> names;
    {
        Sql q(db, u"SELECT u.ILACNO, u.ILACAD FROM URUN u WHERE u.ILACNO IN (SELECT s.ILACNO FROM SATIS s"_s + where + u')');
        bindPeriod(q, start, end, true);
        if (one) q.bind(u"k"_s, kinds[kind]);
        q.exec();
        while (q.next()) names.insert(q.integer(0), q.text(1));
    }
    Sql q(db, u"SELECT s.SATISNO, s.SIRANOURUN, s.ILACNO, s.FIYAT, s.MIKTAR, "
              u"(SELECT MAX(h.GIRFIYAT) FROM URUNHRK h WHERE h.ILACNO = s.ILACNO AND h.GCTARIH <= s.SATARIH "
              u"AND h.GIRFIYAT IS NOT NULL) FROM SATIS s"_s + where);
    bindPeriod(q, start, end, true);
    if (one) q.bind(u"k"_s, kinds[kind]);
    q.exec();
    struct Keyed {
        double sale;
        qint64 line;
        ProfitRow row;
    };
    std::vector<Keyed> read;
    while (q.next()) {
        ProfitRow p;
        p.saleNo = q.number(0);
        p.productName = names.value(q.integer(2));
        p.price = q.number(3);
        p.quantity = q.integer(4);
        p.hasEntry = !q.isNull(5);
        p.entryPrice = q.number(5);
        p.profit = p.hasEntry ? (p.price - p.entryPrice) * double(p.quantity) : 0;
        read.push_back({p.saleNo, q.integer(1), std::move(p)});
    }
    std::sort(read.begin(), read.end(), [](const Keyed& x, const Keyed& y) {
        return x.sale != y.sale ? x.sale < y.sale : x.line < y.line;
    });
    QList<ProfitRow> r;
    r.reserve(qsizetype(read.size()));
    for (Keyed& k : read) r << std::move(k.row);
    return r;
}

}  // namespace selvar
