#include "prescriptions/repricing.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/geometry.h"

#include <QSet>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QDateTime startOf(const QDate& d) { return QDateTime(d, QTime(0, 0)); }

// The sale numbers of a query whose first column is one, in its order.
QList<double> numbers(Sql& q)
{
    QList<double> r;
    q.exec();
    while (q.next()) r << q.number(0);
    return r;
}
}  // namespace

std::optional<PriceInForce> priceInForce(Database& db, qint64 productNo, const QDate& day)
{
    if (!day.isValid()) return std::nullopt;
    Sql q(db, u"SELECT FIYAT, FITARIH FROM URFAYAR WHERE ILACNO = :n AND FITARIH < :d ORDER BY FITARIH DESC LIMIT 1"_s);
    q.bind(u"n"_s, productNo).bind(u"d"_s, startOf(day.addDays(1))).exec();
    if (!q.next()) return std::nullopt;
    return PriceInForce{q.number(0), q.value(1).toDateTime()};
}

QList<double> salesAtStalePrices(Database& db, const QDate& from)
{
    // One query with the product: a line whose product is gone is compared with nothing.
    Sql q(db, u"SELECT s.SATISNO FROM SATIS s JOIN URUN u ON u.ILACNO = s.ILACNO "
              u"WHERE s.PARAKENDE = 'R' AND s.SATARIH >= :f AND s.FIYAT <> u.FIYAT ORDER BY s.SATISNO, s.SIRANOURUN"_s);
    q.bind(u"f"_s, startOf(from.isValid() ? from : QDate(1900, 1, 1)));
    return numbers(q);
}

QList<double> salesAtTooNewPrices(Database& db, const QDate& from)
{
    Sql q(db, u"SELECT s.SATISNO FROM RECETE r JOIN SATIS s ON s.SATISNO = r.SATISNO JOIN URUN u ON u.ILACNO = s.ILACNO "
              u"WHERE s.PARAKENDE = 'R' AND r.RECTARIH < u.FIYATARIH AND s.FIYAT = u.FIYAT AND s.SATARIH >= :f "
              u"ORDER BY s.SATISNO, s.SIRANOURUN"_s);
    q.bind(u"f"_s, startOf(from.isValid() ? from : QDate(1900, 1, 1)));
    return numbers(q);
}

int repriceSales(const QList<double>& lineSales, const std::function<bool(double)>& open)
{
    int shown = 0;
    for (int i = 0; i < lineSales.size(); ++i) {
        // At the change of sale number, and after the last line.
        if (i + 1 < lineSales.size() && lineSales[i + 1] == lineSales[i]) continue;
        ++shown;
        if (!open(lineSales[i])) break;
    }
    return shown;
}

bool recomputePrescription(Database& db, double saleNo)
{
    Sql head(db, u"SELECT KURUMKOD, HASTATIP FROM RECETE WHERE SATISNO = :n"_s);
    head.bind(u"n"_s, saleNo).exec();
    if (!head.next()) return false;
    const Institution inst = loadInstitution(db, head.text(0).trimmed());
    const QString cls = head.text(1);
    std::array<double, BucketCount> gross{};
    QList<AmountLine> amounts;
    Sql lines(db, u"SELECT MIKTAR, FIYAT, RECETETIP, KDV FROM SATIS WHERE SATISNO = :n"_s);
    lines.bind(u"n"_s, saleNo).exec();
    while (lines.next()) {
        const AmountLine l{lines.number(0) * lines.number(1), bucketOf(lines.text(2)), lines.number(3)};
        gross[int(l.bucket)] += l.amount;
        amounts << l;
    }
    // The stored rates as they are, not as the window rounds them for showing.
    const ShareResult s = computeShares(gross, inst, cls, false);
    const std::array<double, 3> vat = vatByRate(db, amounts, inst, cls);
    QVariantMap binds{{u"n"_s, saleNo}, {u"p"_s, s.share()}, {u"t"_s, s.net()},
                      {u"a"_s, vat[0]}, {u"b"_s, vat[1]}, {u"c"_s, vat[2]}};
    QString set = u"HASTAKATPAY = :p, NET = :t, KDVA = :a, KDVB = :b, KDVC = :c"_s;
    for (int b = 0; b < BucketCount; ++b) {
        set += u", "_s + grossField(Bucket(b)) + u" = :g"_s + QString::number(b);
        binds.insert(u"g"_s + QString::number(b), gross[b]);
    }
    Sql::run(db, u"UPDATE RECETE SET "_s + set + u" WHERE SATISNO = :n"_s, binds);
    return true;
}

QString repricingStartText(const QDate& today) { return dateText(QDate(today.year(), today.month(), 1)); }

std::optional<QDate> repricingStart(const QString& text)
{
    QString digits = text;
    digits.remove(u'.').remove(u'/').remove(u' ').remove(u'_');
    if (digits.isEmpty()) return QDate();  // from the earliest prescription
    const DateInput d = parseDateText(QString(text).replace(u'/', u'.').replace(u'_', u' '));
    if (!d.isValid()) return std::nullopt;
    return d.date;
}

// ---------------------------------------------------------------- one prescription

YeniDegLogic::YeniDegLogic(Session& session) : session_(session) {}

void YeniDegLogic::loadPrescription()
{
    Database& db = session_.db;
    const qint64 row = findKeyRow(db, u"RECETE"_s, u"RSATNO"_s, {saleNo_});
    rec_ = row > 0 ? readRecord(db, u"RECETE"_s, row) : QVariantMap();
    computeShares();
}

void YeniDegLogic::computeShares()
{
    const QString code = rec_.value(u"KURUMKOD"_s).toString().trimmed();
    institution_ = loadInstitution(session_.db, code);
    rule_ = code.isEmpty() ? QString()
                           : Sql::scalar(session_.db, u"SELECT YDEGER FROM KRMLAR WHERE KOD = :k"_s, {{u"k"_s, code}})
                                 .toString()
                                 .trimmed();
    std::array<double, BucketCount> gross{};
    for (int b = 0; b < BucketCount; ++b) gross[b] = rec_.value(grossField(Bucket(b))).toDouble();
    shares_ = selvar::computeShares(gross, institution_, rec_.value(u"HASTATIP"_s).toString(), false);
}

bool YeniDegLogic::open(double saleNo)
{
    Database& db = session_.db;
    saleNo_ = saleNo;
    changed_ = false;
    loadPrescription();
    if (rec_.isEmpty()) return false;
    Transaction tx(db);
    Sql::run(db, u"DELETE FROM YENIF"_s);
    // The lines as sold; the card's price and date where the product is still there.
    Sql::run(db, u"INSERT INTO YENIF (SIRANO, ILACNO, MIKTAR, TARIH, ESKIFIYAT, KARTFIYATI, YENIFIYAT, YENIFYTRH, FARK) "
                 u"SELECT s.SIRANOURUN, s.ILACNO, s.MIKTAR, s.SATARIH, s.FIYAT, COALESCE(u.FIYAT, s.FIYAT), "
                 u"COALESCE(u.FIYAT, 0), u.FIYATARIH, "
                 u"CASE WHEN u.ILACNO IS NULL THEN 0 ELSE s.MIKTAR * (u.FIYAT - s.FIYAT) END "
                 u"FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATISNO = :n"_s,
             {{u"n"_s, saleNo}});
    if (rule_ == u"R"_s) {
        // The institution pays the price of the prescription date.
        choice_ = Choice::HistoryPrice;
        const QDate day = prescriptionDate();
        for (const RepricingLine& l : lines()) {
            const std::optional<PriceInForce> p = priceInForce(db, l.productNo, day);
            if (p && l.cardDate.isValid() && l.cardDate > day) setProposal(l.no, p->price, p->date);
            else setProposal(l.no, 0, {});
        }
    } else {
        choice_ = Choice::CardPrice;
    }
    tx.commit();
    return true;
}

QString YeniDegLogic::institutionRule() const
{
    if (rule_ == u"R"_s) return u"Reçete Tarihine Göre"_s;
    if (rule_ == u"S"_s) return u"Son Fiyat Tarihine Göre"_s;
    return {};
}

QString YeniDegLogic::invoiceNotice() const
{
    const QDate d = rec_.value(u"FATARIH"_s).toDate();
    return d.isValid() ? dateText(d) + u" Tarihinde FATURASI Kesilmiştir."_s : QString();
}

QList<RepricingLine> YeniDegLogic::lines() const
{
    QList<RepricingLine> r;
    Sql q(session_.db, u"SELECT y.SIRANO, y.ILACNO, u.ILACAD, y.MIKTAR, y.TARIH, y.ESKIFIYAT, y.KARTFIYATI, u.FIYATARIH, "
                       u"y.YENIFIYAT, y.YENIFYTRH, y.FARK, s.RECETETIP, s.KDV FROM YENIF y "
                       u"LEFT JOIN URUN u ON u.ILACNO = y.ILACNO "
                       u"LEFT JOIN SATIS s ON s.SATISNO = :n AND s.SIRANOURUN = y.SIRANO ORDER BY y.SIRANO"_s);
    q.bind(u"n"_s, saleNo_).exec();
    while (q.next()) {
        RepricingLine l;
        l.no = int(q.integer(0));
        l.productNo = q.integer(1);
        l.productName = q.text(2);
        l.quantity = q.integer(3);
        l.saleTime = q.value(4).toDateTime();
        l.soldPrice = q.number(5);
        l.cardPrice = q.number(6);
        l.cardDate = q.date(7);
        l.newPrice = q.number(8);
        l.newDate = q.value(9).toDateTime();
        l.difference = q.number(10);
        l.prescriptionType = q.text(11);
        l.vat = q.number(12);
        r << l;
    }
    return r;
}

QList<PriceInForce> YeniDegLogic::history(qint64 productNo) const
{
    QList<PriceInForce> r;
    Sql q(session_.db, u"SELECT FIYAT, FITARIH FROM URFAYAR WHERE ILACNO = :n ORDER BY FITARIH"_s);
    q.bind(u"n"_s, productNo).exec();
    while (q.next()) r << PriceInForce{q.number(0), q.value(1).toDateTime()};
    return r;
}

bool YeniDegLogic::proposalAfterPrescription(int lineNo) const
{
    for (const RepricingLine& l : lines())
        if (l.no == lineNo) return l.newDate.isValid() && l.newDate.date() > prescriptionDate();
    return false;
}

void YeniDegLogic::setProposal(int lineNo, double price, const QDateTime& date)
{
    // No proposal (0) has no difference either.
    Sql::run(session_.db, u"UPDATE YENIF SET YENIFIYAT = :p, YENIFYTRH = :d, FARK = MIKTAR * (:q - ESKIFIYAT) * :has "
                          u"WHERE SIRANO = :l"_s,
             {{u"p"_s, price}, {u"q"_s, price}, {u"has"_s, price == 0 ? 0.0 : 1.0},
              {u"d"_s, date.isValid() ? QVariant(date) : QVariant()}, {u"l"_s, lineNo}});
}

void YeniDegLogic::proposeCardPrice(int lineNo)
{
    for (const RepricingLine& l : lines())
        if (l.no == lineNo) setProposal(lineNo, l.cardPrice, l.cardDate.startOfDay());
}

void YeniDegLogic::proposeHistoryPrice(int lineNo, const PriceInForce& entry) { setProposal(lineNo, entry.price, entry.date); }

bool YeniDegLogic::transfer(int lineNo)
{
    Prompter& ui = session_.prompter;
    RepricingLine line;
    bool found = false;
    for (const RepricingLine& l : lines())
        if (l.no == lineNo) {
            line = l;
            found = true;
        }
    if (!found) return false;
    if (line.newPrice <= 0) {
        ui.warning(RepricingZeroMessage);
        return false;
    }
    if (ui.ask(RepricingConfirmQuestion, Buttons::YesNo) != Answer::Yes) return false;
    Database& db = session_.db;
    // The line and its prescription's amounts, rebuilt from the lines as stored, together.
    Transaction tx(db);
    Sql::run(db, u"UPDATE SATIS SET FIYAT = :p WHERE SATISNO = :n AND SIRANOURUN = :l"_s,
             {{u"p"_s, line.newPrice}, {u"n"_s, saleNo_}, {u"l"_s, lineNo}});
    Sql::run(db, u"UPDATE YENIF SET ESKIFIYAT = YENIFIYAT, FARK = 0 WHERE SIRANO = :l"_s, {{u"l"_s, lineNo}});
    recomputePrescription(db, saleNo_);
    tx.commit();
    changed_ = true;
    loadPrescription();
    return true;
}

YeniDegLogic::Result YeniDegLogic::next()
{
    if (changed_) {
        const QString patient = rec_.value(u"HASTANO"_s).toString().trimmed();
        Sql h(session_.db, u"SELECT HAREKET.CARIKOD FROM HAREKET WHERE ALSAT = 'S' AND ALSATNO = :n"_s);
        h.bind(u"n"_s, saleNo_).exec();
        bool credit = false;
        while (h.next()) credit = credit || (!patient.isEmpty() && h.text(0).trimmed() == patient);
        if (credit) {
            const qint64 row = findKeyRow(session_.db, u"HASTA"_s, QString(), {rec_.value(u"HASTANO"_s)});
            const QVariantMap card = row > 0 ? readRecord(session_.db, u"HASTA"_s, row) : QVariantMap();
            const QString name = card.value(u"HASTADI"_s).toString().trimmed() + u' '
                                 + card.value(u"HASTASOYAD"_s).toString().trimmed();
            session_.prompter.information(u"Bu Reçete "_s + format(u"%0.0f", saleNo_) + u" nolu Satışa Ait Olup "_s + name
                                          + u" Adına Veresiye Kaydı Var.Eğer Bu Veresiye Kayıt Hst.Kat.Payına aitse"_s
                                          + u" Cari Hareketinden düzeltmeyi Unutmayın"_s);
        }
    }
    return Result::Continue;
}

QStringList YeniDegLogic::shownDiscountRates() const
{
    QStringList r;
    for (const BucketShare& b : shares_.buckets) r << (institution_.found ? shownRate(b.discountRate) : QString());
    return r;
}

QStringList YeniDegLogic::shownShareRates() const
{
    QStringList r;
    for (const BucketShare& b : shares_.buckets) r << (institution_.found ? shownRate(b.shareRate) : QString());
    return r;
}

QString YeniDegLogic::shownAmount(double v) { return digitsAndSeparators(moneyText(v)); }

QStringList YeniDegLogic::backPrintLines() const
{
    QStringList out;
    const QStringList discount = shownDiscountRates(), share = shownShareRates();
    out << format(u"%56s %15s%15s%15s%15s", QString(), u"İLAÇLARDA"_s, u"İLAÇ BERABERİ"_s, u"ÖZEL KATILIM"_s,
                  u"İTHAL İLAÇ"_s);
    for (const RepricingLine& l : lines()) {
        QStringList cols(BucketCount, u"---"_s);
        cols[int(bucketOf(l.prescriptionType))] = shownAmount(double(l.quantity) * l.soldPrice);
        out << format(u"%-35s %3d%1s%14m %15s%15s%15s%15s%15s", l.productName, l.quantity, u"x"_s, l.soldPrice, cols[0],
                      cols[1], cols[2], cols[3], cols[4]);
    }
    const QString bar = u" ____________"_s;
    out << format(u"%57s%15s%15s%15s%15s%15s", QString(), bar, bar, bar, bar, bar);
    const auto amounts = [&](double BucketShare::*member) {
        QStringList r;
        for (const BucketShare& b : shares_.buckets) r << shownAmount(b.*member);
        return r;
    };
    const QStringList g = amounts(&BucketShare::gross), d = amounts(&BucketShare::discount),
                      sub = amounts(&BucketShare::subtotal), sh = amounts(&BucketShare::share),
                      net = amounts(&BucketShare::net);
    const QString rates = u"%8s%-5s+ %-1s%-5s+ %-1s%-5s+ %-1s%-5s+ %1s%-5s)%-10s%15s%15s%15s%15s%15s"_s;
    const QString row = u"%56s%15s%15s%15s%15s%15s"_s;
    out << format(row, u"Toplam : "_s, g[0], g[1], g[2], g[3], g[4]);
    out << format(rates, u"(%"_s, discount[0], u"%"_s, discount[1], u"%"_s, discount[2], u"%"_s, discount[3], u"%"_s,
                  discount[4], u"İndirim : "_s, d[0], d[1], d[2], d[3], d[4]);
    out << format(row, u"Ara Toplam : "_s, sub[0], sub[1], sub[2], sub[3], sub[4]);
    out << format(rates, u"(%"_s, share[0], u"%"_s, share[1], u"%"_s, share[2], u"%"_s, share[3], u"%"_s, share[4],
                  u"H.Kat.Py:"_s, sh[0], sh[1], sh[2], sh[3], sh[4]);
    out << format(row, u"Ara Toplam : "_s, net[0], net[1], net[2], net[3], net[4]);
    out << format(u"%56s%15s", QString(), u"----------"_s);
    out << format(u"%56s%15s", u"NET TOPLAM : "_s, shownAmount(rec_.value(u"NET"_s).toDouble()));
    Sql e(session_.db, u"SELECT EADI, ADI, ADR1, ADR2, ADR3 FROM EKIM LIMIT 1"_s);
    e.exec();
    const bool pharmacy = e.next();
    for (int i = 0; i < 5; ++i) out << format(u"%s", pharmacy ? e.text(i) : QString());
    out << u" "_s;
    const qint64 row2 = findKeyRow(session_.db, u"HASTA"_s, QString(), {rec_.value(u"HASTANO"_s)});
    const QVariantMap card = row2 > 0 ? readRecord(session_.db, u"HASTA"_s, row2) : QVariantMap();
    for (int i = 0; i < 3; ++i) {
        const QString label = institution_.labels.value(i).trimmed();
        if (!label.isEmpty()) out << format(u"%s : %s", label, card.value(u"BAS"_s + QString::number(i + 1)).toString());
    }
    const QDate received = rec_.value(u"ALTARIH"_s).toDate();
    out << format(u"%s %s", u"Reçetenin Alındığı Tarih:"_s, received.isValid() ? dateText(received) : u"  /  /"_s);
    const QString patientShare = shownAmount(rec_.value(u"HASTAKATPAY"_s).toDouble());
    out << format(u"%1s%-5s + %1s%-5s + %1s%-5s + %1s%-5s Karşılığı:%16s", u"%"_s, share[0], u"%"_s, share[1], u"%"_s,
                  share[2], u"%"_s, share[3], patientShare);
    out << format(u"%48s", u"------"_s);
    out << format(u"%-34s %16s Ödedim.", u"Toplam Olarak:"_s, patientShare);
    out << u"İlaçları Aldım."_s;
    out << u"(İMZA)"_s;
    return out;
}

void YeniDegLogic::drawBackPrint(Canvas& canvas, int marginCm) const
{
    const PageGeometry g(canvas);
    const int x = g.cmX(marginCm);
    const int pitch = PageGeometry::linePitch(canvas, u"İÖĞygŞ"_s, 3);
    int y = 0;
    const QStringList lines = backPrintLines();
    for (int i = 0; i < lines.size(); ++i) {
        FontDef f = canvas.font();
        const bool was = f.underline;
        if (i == 0) {  // the heading of the columns
            f.underline = true;
            canvas.setFont(f);
        }
        canvas.textOut(x, y, lines[i]);
        if (i == 0) {
            f.underline = was;
            canvas.setFont(f);
        }
        y += pitch;
    }
}

// ---------------------------------------------------------------- the automatic run

QString automaticRepricingText(int option, const QString& institution)
{
    switch (option) {
    case AutomaticRepricing::AllAtPrescriptionDate:
        return u"Tüm kurum reçetelerini reç.trh.ne uygun olarak yeniden fiyatlandırma"_s;
    case AutomaticRepricing::ChosenAtPrescriptionDate:
        return institution + u" için reçeteleri reç.trh.ne uygun olarak yeniden fiyatlandırma"_s;
    case AutomaticRepricing::AllAtLatest: return u"Tüm kurum reçetelerini son fiyat .trh.ne göre yeniden fiyatlandırma"_s;
    default: return institution + u" için reçeteleri son fiyat .trh.ne göre yeniden fiyatlandırma"_s;
    }
}

QString automaticRepricingRefusal(int option, const QString& institution)
{
    const bool chosen = option == AutomaticRepricing::ChosenAtPrescriptionDate || option == AutomaticRepricing::ChosenAtLatest;
    if (chosen && institution.trimmed().isEmpty()) return u"Seçili kurum için önce F5 ile bir kurum seçin."_s;
    return {};
}

namespace {
struct Candidate {
    double saleNo = 0;
    int line = 0;
    qint64 productNo = 0;
    QDate prescriptionDate;
    double price = 0;
    QDate priceDate;
};

// One part's repricings written: every line of that product in that sale takes the
// price, then every prescription found is rebuilt. Returns the sales repriced.
QList<double> applyRepricings(Database& db, const QList<Candidate>& found)
{
    Sql::run(db, u"DELETE FROM yenideg"_s);
    Sql row(db, u"INSERT INTO yenideg (SIRANO, FITARIH, FIYAT, SATISNO, ILACNO) VALUES (:s, :d, :f, :n, :i)"_s);
    Sql price(db, u"UPDATE SATIS SET FIYAT = :f WHERE SATISNO = :n AND ILACNO = :i"_s);
    QList<double> sales;
    QSet<double> seen;
    int no = 0;
    for (const Candidate& c : found) {
        row.bind(u"s"_s, ++no).bind(u"d"_s, c.priceDate.isValid() ? QVariant(c.priceDate) : QVariant());
        row.bind(u"f"_s, c.price).bind(u"n"_s, c.saleNo).bind(u"i"_s, c.productNo).exec();
        price.bind(u"f"_s, c.price).bind(u"n"_s, c.saleNo).bind(u"i"_s, c.productNo).exec();
        if (!seen.contains(c.saleNo)) {
            seen.insert(c.saleNo);
            sales << c.saleNo;
        }
    }
    for (double s : sales) recomputePrescription(db, s);
    return sales;
}
}  // namespace

AutomaticRepricing runAutomaticRepricing(Session& session, int option, const QString& institution, const QDate& from)
{
    Database& db = session.db;
    AutomaticRepricing r;
    const bool chosen = option == AutomaticRepricing::ChosenAtPrescriptionDate || option == AutomaticRepricing::ChosenAtLatest;
    const QString filter = chosen ? u" AND r.KURUMKOD = :k"_s : QString();
    const QDate start = from.isValid() ? from : QDate(1900, 1, 1);
    QSet<double> all;
    const auto report = [&](const QList<Candidate>& found) {
        const QList<double> sales = applyRepricings(db, found);
        r.lines += int(found.size());
        r.prescriptions += int(sales.size());
        if (!found.isEmpty()) {
            r.memo << QString::number(found.size()) + u" kalem ilacın fiyatı değerlendirildi."_s;
            r.memo << QString::number(sales.size()) + u" Adet Reçete Y.Değerlendirildi."_s;
        }
        for (double s : sales)
            if (!all.contains(s)) {
                all.insert(s);
                r.saleNumbers << s;
            }
    };
    const auto query = [&](const QString& where) {
        Sql q(db, u"SELECT s.SATISNO, s.SIRANOURUN, s.ILACNO, r.RECTARIH, u.FIYAT, u.FIYATARIH FROM RECETE r "
                  u"JOIN SATIS s ON s.SATISNO = r.SATISNO JOIN URUN u ON u.ILACNO = s.ILACNO "
                  u"WHERE (r.FATNO IS NULL OR r.FATNO = 0) AND r.RECTARIH >= :f "_s
                      + where + filter + u" ORDER BY s.SATISNO, s.SIRANOURUN"_s);
        q.bind(u"f"_s, start);
        if (chosen) q.bind(u"k"_s, institution);
        q.exec();
        QList<Candidate> c;
        while (q.next())
            c << Candidate{q.number(0), int(q.integer(1)), q.integer(2), q.date(3), q.number(4), q.date(5)};
        return c;
    };
    // First the latest price: prescriptions dated on or after the card's price date.
    {
        Transaction tx(db);
        report(query(u"AND r.RECTARIH >= u.FIYATARIH AND s.FIYAT <> u.FIYAT "_s));
        tx.commit();
    }
    // Then the price of the prescription date: prescriptions dated before the card's
    // price, sold at it.
    if (option == AutomaticRepricing::AllAtPrescriptionDate || option == AutomaticRepricing::ChosenAtPrescriptionDate) {
        Transaction tx(db);
        QList<Candidate> found;
        for (Candidate c : query(u"AND s.PARAKENDE = 'R' AND r.RECTARIH < u.FIYATARIH AND s.FIYAT = u.FIYAT "_s)) {
            const std::optional<PriceInForce> p = priceInForce(db, c.productNo, c.prescriptionDate);
            if (!p) {
                r.memo << format(u"%0.0f", c.saleNo) + u" Satış nolu reç.nin "_s + QString::number(c.line)
                              + u" S.Nolu ilacı için uygun fiyat bulunamadı,lütfen elle düzeltin."_s;
                continue;
            }
            c.price = p->price;
            c.priceDate = p->date.date();
            found << c;
        }
        report(found);
        tx.commit();
    }
    if (r.lines == 0) r.memo << u"Fiyatlar Uygun. Değerlendirilecek Reçete Kalmadı."_s;
    return r;
}

}  // namespace selvar
