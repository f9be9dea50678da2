#include "reports/period_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/geometry.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
bool blank(const QString& text)
{
    QString t = text;
    t.remove(u'.').remove(u'/').remove(u'_').remove(u' ');
    return t.isEmpty();
}

std::optional<QDate> typedDate(const QString& text)
{
    if (blank(text)) return std::nullopt;
    const DateInput d = parseDateText(QString(text).replace(u'/', u'.').replace(u'_', u' '));
    if (!d.isValid()) return std::nullopt;
    return d.date;
}
}  // namespace

bool dateBoxAcceptable(const QString& text) { return blank(text) || typedDate(text).has_value(); }

std::optional<DateRange> checkDateRange(Session& session, const QString& first, const QString& last)
{
    const std::optional<QDate> a = typedDate(first), b = typedDate(last);
    if (!a || !b) {
        session.prompter.warning(InvalidRangeDateMessage);
        return std::nullopt;
    }
    if (*b < *a) {
        session.prompter.warning(ReversedRangeMessage);
        return std::nullopt;
    }
    return DateRange{*a, *b, true};
}

QDateTime periodStart(const QDate& first) { return QDateTime(first, QTime(0, 0)); }
QDateTime periodEnd(const QDate& last) { return QDateTime(last, QTime(23, 59, 59, 999)); }

// ---------------------------------------------------------------- the monthly report

namespace {
const QStringList& monthRowNames()
{
    static const QStringList n{u"OCAK "_s,   u"ŞUBAT "_s,   u"MART "_s,  u"NİSAN "_s,  u"MAYIS "_s, u"HAZİRAN "_s,
                               u"TEMMUZ "_s, u"AĞUSTOS "_s, u"EYLÜL "_s, u"EKİM "_s,   u"KASIM "_s, u"ARALIK "_s};
    return n;
}
}  // namespace

const QStringList& monthListNames()
{
    static const QStringList n{u"Ocak"_s,   u"Şubat"_s,   u"Mart"_s,  u"Nisan"_s, u"Mayıs"_s,  u"Haziran"_s,
                               u"Temmuz"_s, u"Ağustos"_s, u"Eylül"_s, u"Ekim"_s,  u"Kasım"_s, u"Aralık"_s};
    return n;
}

AylikRaporLogic::AylikRaporLogic(Session& session, qint64 productNo)
    : session_(session), productNo_(productNo), month_(session.clock.today().month()),
      year_(session.clock.today().year() - 1)
{
}

QString AylikRaporLogic::productName() const
{
    return Sql::scalar(session_.db, u"SELECT ILACAD FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, productNo_}}).toString();
}

void AylikRaporLogic::setFirstMonth(int month)
{
    if (month >= 1 && month <= 12) month_ = month;
}

QList<MonthRow> AylikRaporLogic::rows() const
{
    const QDate first(year_, month_, 1);
    const QDate end = first.addMonths(13);
    QList<MonthRow> r;
    for (int i = 0; i < 13; ++i) {
        const QDate m = first.addMonths(i);
        r << MonthRow{monthRowNames()[m.month() - 1] + QString::number(m.year()), 0, 0};
    }
    // One statement over the thirteen months on (ILACNO, GCTARIH), summed by month.
    const QString month = session_.db.dialect().isoMonth(u"GCTARIH"_s);
    Sql q(session_.db, u"SELECT "_s + month + u", SUM(GIRMIK), SUM(CIKMIK) FROM URUNHRK WHERE ILACNO = :n "
                       u"AND GCTARIH >= :a AND GCTARIH < :b GROUP BY "_s + month);
    q.bind(u"n"_s, productNo_).bind(u"a"_s, periodStart(first)).bind(u"b"_s, periodStart(end)).exec();
    while (q.next()) {
        const QString key = q.text(0);  // "1997-05"
        const int i = (key.left(4).toInt() - first.year()) * 12 + key.mid(5, 2).toInt() - first.month();
        if (i < 0 || i >= 13) continue;
        r[i].in += q.number(1);  // a month without entries sums to null, read as 0
        r[i].out += q.number(2);
    }
    MonthRow total{u"TOPLAM "_s, 0, 0};
    for (const MonthRow& m : r) {
        total.in += m.in;
        total.out += m.out;
    }
    r << total;
    return r;
}

// ---------------------------------------------------------------- the operation log

namespace {
enum class Points { None, Sale, Purchase, Movement, Invoice };

QString money(double v) { return selvar::numberText(v, 2); }

Points pointsAt(const QString& type)
{
    if (type == u"Reç. Düzeltme"_s || type == u"Prk.Sat.Dzlt"_s || type == u"Prk.Fat.Düzelt"_s) return Points::Sale;
    if (type == u"Alış.Fat.Dzlt."_s) return Points::Purchase;
    if (type == u"Veresiye. Dzlt"_s) return Points::Movement;
    if (type == u"Krm.Fat.Dzlt."_s) return Points::Invoice;
    return Points::None;
}
}  // namespace

IsletimLogic::IsletimLogic(Session& session, const QDate& first, const QDate& last)
    : session_(session), first_(first), last_(last)
{
}

QString IsletimLogic::caption() const
{
    return dateText(first_) + u"-"_s + dateText(last_) + u" ARASI PROGRAM İŞLETİM LİSTESİ"_s;
}

const QStringList& IsletimLogic::filterItems()
{
    static const QStringList items{u"Tümünü"_s,        u"Miktar Değiş."_s,  u"Reç. Düzeltme"_s,
                                   u"Prk.Sat.Dzlt"_s,  u"Prk.Fat.Düzelt"_s, u"Alış.Fat.Dzlt."_s,
                                   u"Veresiye. Dzlt"_s, u"Krm.Fat.Dzlt."_s, u"Satış Silindi."_s};
    return items;
}

QList<LogRow> IsletimLogic::rows() const
{
    // The type compared as a value, never pasted into the statement.
    QString sql = u"SELECT rowid, TARIH, ACIKLA, ISLETIPI, FIYAT, MIKTAR, TUTAR, ISLETNO FROM PROSES "
                  u"WHERE (TARIH>=:BTrh) AND (TARIH<=:STrh)"_s;
    if (filter_ > 0) sql += u" AND ISLETIPI = :tip"_s;
    sql += u" ORDER BY TARIH"_s;
    Sql q(session_.db, sql);
    q.bind(u"BTrh"_s, periodStart(first_)).bind(u"STrh"_s, periodEnd(last_));
    if (filter_ > 0) q.bind(u"tip"_s, filterItems().value(filter_));
    q.exec();
    QList<LogRow> r;
    while (q.next()) {
        LogRow l;
        l.rowId = q.integer(0);
        l.when = q.value(1).toDateTime();
        l.description = q.text(2);
        l.type = q.text(3);
        l.price = q.number(4);
        l.quantity = q.integer(5);
        l.amount = q.number(6);
        if (!q.value(7).isNull()) l.number = q.number(7);
        r << l;
    }
    return r;
}

QString IsletimLogic::numberText(const LogRow& row)
{
    if (!row.number) return {};
    const QString n = format(u"%g", *row.number);
    switch (pointsAt(row.type)) {
    case Points::Sale: return u"Satış No:"_s + n;
    case Points::Purchase: return u"Alış No:"_s + n;
    case Points::Movement: return u"Hareket No:"_s + n;
    case Points::Invoice: return u"Fat.Evrk.No:"_s + n;
    default: return n;
    }
}

bool IsletimLogic::hasContents(const LogRow& row) { return row.number.has_value() && pointsAt(row.type) != Points::None; }

LogContents IsletimLogic::contents(const LogRow& row) const
{
    LogContents c;
    if (!hasContents(row)) return c;
    Database& db = session_.db;
    const double n = *row.number;
    switch (pointsAt(row.type)) {
    case Points::Sale: {
        c.headings = {u"İlaç Adı"_s, u"Fiyatı"_s, u"Mik."_s, u"Tutarı"_s};
        Sql q(db, u"SELECT u.ILACAD, s.FIYAT, s.MIKTAR FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO "
                  u"WHERE s.SATISNO = :n ORDER BY s.SIRANOURUN"_s);
        q.bind(u"n"_s, n).exec();
        while (q.next())
            c.rows << QStringList{q.text(0), money(q.number(1)), QString::number(q.integer(2)),
                                  money(q.number(1) * q.number(2))};
        break;
    }
    case Points::Purchase: {
        c.headings = {u"S.N."_s, u"Ürün Adı"_s, u"Fiyat"_s, u"Adet"_s, u"Al.Trh."_s, u"Mal.F."_s};
        Sql q(db, u"SELECT a.SIRANOILAC, u.ILACAD, a.FIYAT, a.MIKTAR, a.ALISTARIH, a.MALFAZLA FROM ALIS3 a "
                  u"LEFT JOIN URUN u ON u.ILACNO = a.ILACNO WHERE a.ALISNO = :n ORDER BY a.SIRANOILAC"_s);
        q.bind(u"n"_s, n).exec();
        while (q.next())
            c.rows << QStringList{QString::number(q.integer(0)), q.text(1), money(q.number(2)),
                                  QString::number(q.integer(3)), dateText(q.value(4).toDateTime().date()),
                                  QString::number(q.integer(5))};
        break;
    }
    case Points::Movement: {
        c.headings = {u"CARİ HESAP ADI"_s, u"AÇIKLAMA"_s, u"BORÇ"_s, u"ALACAK"_s, u"Tarih"_s};
        Sql q(db, u"SELECT CARIKOD, BILGI, BORC, ALACAK, TARIH FROM HAREKET WHERE HAREKNO = :n"_s);
        q.bind(u"n"_s, n).exec();
        while (q.next()) {
            QString account = q.text(0).trimmed();
            bool numeric = false;
            const qint64 patient = account.toLongLong(&numeric);
            // A patient's account by the patient's first name.
            if (numeric)
                account = Sql::scalar(db, u"SELECT HASTADI FROM HASTA WHERE HASTANO = :h"_s, {{u"h"_s, patient}}).toString();
            c.rows << QStringList{account, q.text(1), q.number(2) > 0 ? money(q.number(2)) : QString(),
                                  q.number(3) > 0 ? money(q.number(3)) : QString(), dateText(q.date(4))};
        }
        break;
    }
    case Points::Invoice: {
        c.headings = {u"Hasta Adı"_s, u"Tutar"_s, u"Aln.Trh"_s, u"Fat.Trh."_s, u"FATURA NO"_s};
        Sql q(db, u"SELECT h.HASTADI, h.HASTASOYAD, r.NET, r.ALTARIH, r.FATARIH, r.FATURANO FROM RECETE r "
                  u"LEFT JOIN HASTA h ON h.HASTANO = r.HASTANO WHERE r.FATNO = :n ORDER BY r.ALTARIH"_s);
        q.bind(u"n"_s, n).exec();
        while (q.next())
            c.rows << QStringList{(q.text(0).trimmed() + u' ' + q.text(1).trimmed()).trimmed(), money(q.number(2)),
                                  dateText(q.date(3)), dateText(q.date(4)), q.text(5)};
        break;
    }
    default: break;
    }
    return c;
}

bool IsletimLogic::deletePeriod(const QString& first, const QString& last)
{
    // A blank date never widens the deletion: both dates are checked as the period dialog does.
    const std::optional<DateRange> range = checkDateRange(session_, first, last);
    if (!range) return false;
    if (session_.prompter.ask(DeleteLogQuestion, Buttons::YesNo) != Answer::Yes) return false;
    Sql::run(session_.db, u"DELETE FROM PROSES WHERE (TARIH>=:SilTrhB) AND (TARIH<=:SilTrhS)"_s,
             {{u"SilTrhB"_s, periodStart(range->first)}, {u"SilTrhS"_s, periodEnd(range->last)}});
    return true;
}

QString IsletimLogic::listingHeading(bool firstPage) const
{
    // The number's heading is right-aligned on the first page and left-aligned after it.
    return format(firstPage ? u"%-14s %-36s %-15s %13s %-6s %16s %7s" : u"%-14s %-36s %-15s %13s %-6s %16s %-7s",
                  u"TARİH"_s, u"AÇIKLAMA"_s, u"İŞLETİM TİPİ"_s, u"FİYAT   "_s, u"MİKTAR"_s, u"TUTAR"_s, u"NO"_s);
}

QString IsletimLogic::listingLine(const LogRow& r)
{
    return format(u"%-14s %-36s %-15s %13m %6d %16m %7.0g", r.when.toString(u"dd/MM/yy-hh:mm"_s), r.description,
                  r.type, r.price, r.quantity, r.amount, r.number.value_or(0));
}

void IsletimLogic::drawListing(Canvas& canvas, int marginCm) const
{
    const PageGeometry g(canvas);
    const int x = g.cmX(marginCm);
    const int pitch = PageGeometry::linePitch(canvas, u"İÇĞŞgy"_s, 5);
    const int end = g.pageEndY(25);
    int page = 1, y = 0;
    const auto heading = [&](bool first) {
        FontDef f = canvas.font();
        const FontDef plain = f;
        f.bold = f.underline = true;
        canvas.setFont(f);
        canvas.textOut(x, y, listingHeading(first));
        canvas.setFont(plain);
        y += pitch;
    };
    canvas.textOut(x, y, u"Sayfa No : "_s + QString::number(page));
    y += pitch;
    canvas.textOut(x, y, u"Tarih : "_s + dateText(session_.clock.today()));
    y += pitch;
    canvas.textOut(x, y, caption());
    y += pitch;
    heading(true);
    for (const LogRow& r : rows()) {
        if (y + pitch > end) {
            canvas.newPage();
            y = 0;
            canvas.textOut(x, y, u"Sayfa No : "_s + QString::number(++page));
            y += pitch;
            heading(false);
        }
        canvas.textOut(x, y, listingLine(r));
        y += pitch;
    }
}

}  // namespace selvar
