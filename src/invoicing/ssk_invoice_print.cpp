// The four printouts of an SSK invoice's selection: the invoice on its pre-printed form
// (millimetre positions of KOORFAT.DB, the page setup of the last SAYFA.DB row), and the
// list, the list with drugs and the prescription backs as fixed-width lines.
#include "invoicing/ssk_invoice_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/words.h"
#include "data/database.h"
#include "data/sql.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "prescriptions/dokssk_logic.h"
#include "prescriptions/ssk_codes.h"
#include "print/canvas.h"
#include "print/geometry.h"
#include "print/page_setup.h"
#include "print/print_service.h"

#include <QHash>
#include <cmath>
#include <optional>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

// The row before the last; none when the table has fewer than two rows.
std::optional<QVariantMap> readLayout(Database& db)
{
    Sql q(db, u"SELECT * FROM KOORFAT ORDER BY rowid DESC LIMIT 1 OFFSET 1"_s);
    q.exec();
    if (!q.next()) return std::nullopt;
    QVariantMap l;
    for (int i = 0; i < q.columnCount(); ++i) l.insert(q.columnName(i).toUpper(), q.value(i));
    return l;
}

QString money(double v)
{
    if (std::abs(v - std::round(v)) < 0.005) return moneyText(std::round(v));
    return numberText(v, 2) + u" TL"_s;
}

QVariantMap pharmacy(Database& db)
{
    QVariantMap r;
    Sql q(db, u"SELECT EADI, IL_KOD, ILCE_KOD, MESULAD, ECZKODU, ADR1, ADR2, ADR3, TLF FROM EKIM LIMIT 1"_s);
    q.exec();
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i) r.insert(q.columnName(i).toUpper(), q.value(i));
    return r;
}

QString dateOf(const QVariant& v, const QString& empty)
{
    const QDate d = v.toDate();
    return d.isValid() ? dateText(d) : empty;
}
}  // namespace

bool HazirFatSskLogic::printInvoice(const QString& dateText)
{
    if (!session_.print) return false;
    const std::optional<QVariantMap> layout = readLayout(session_.db);
    const std::optional<PageSetup> setup = readSayfaSetup(session_.db, -1);
    if (!layout || !setup) {
        session_.prompter.warning(QString::fromUtf8(NoLayout));
        return false;
    }
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(u"SSK Faturası"_s, *setup, true);
    if (!canvas) return false;  // the print dialog was cancelled
    drawInvoice(*canvas, *layout, dateText);
    canvas->endDocument();
    return true;
}

void HazirFatSskLogic::drawInvoice(Canvas& c, const QVariantMap& l, const QString& dateText)
{
    auto at = [&](const char* f) { return l.value(QString::fromLatin1(f)).toInt(); };
    const int fx = c.pageWidth() * 10 / std::max(1, c.physicalWidthMm());
    const int fy = c.pageHeight() * 10 / std::max(1, c.physicalHeightMm());
    auto x = [&](int mm) { return (mm + at("SAYFA_S")) * fx / 10; };
    auto y = [&](int mm) { return (mm + at("SAYFA_U")) * fy / 10; };
    auto width = [&](const char* f) { return std::max(0, at(f)) * fx / 10; };
    const int lh = c.textHeight(u"İŞĞÜyg"_s) + 5;
    const int areaEnd = (c.physicalHeightMm() - 20) * fy / 10;

    QVariantMap card;
    {
        Sql q(session_.db, u"SELECT AD, ADR1, ADR2, ADR3, VERGIDAIRE, VERGINO, FATYUVAR FROM KRMLAR WHERE KOD = :k"_s);
        q.bind(u"k"_s, code_).exec();
        if (q.next())
            for (int i = 0; i < q.columnCount(); ++i) card.insert(q.columnName(i).toUpper(), q.value(i));
    }
    auto pageNumber = [&] {
        const QString t = u"Sayfa No:"_s + QString::number(c.pageNumber());
        c.textOut(c.pageWidth() - c.textWidth(t) - 35, 0, t);
    };
    auto heading = [&] {  // FaturaBasligiYaz
        c.textOut(x(at("KR_S")), y(at("KR_U")), card.value(u"AD"_s).toString());
        c.textOut(x(at("ADR1_S")), y(at("ADR1_U")), card.value(u"ADR1"_s).toString());
        c.textOut(x(at("ADR2_S")), y(at("ADR2_U")), card.value(u"ADR2"_s).toString());
        c.textOut(x(at("ADR3_S")), y(at("ADR3_U")), card.value(u"ADR3"_s).toString());
        c.textOut(x(at("TRH_S")), y(at("TRH_U")), dateText);
        c.textOut(x(at("VERD_S")), y(at("VERD_U")), card.value(u"VERGIDAIRE"_s).toString());
        c.textOut(x(at("VERNO_S")), y(at("VERNO_U")), card.value(u"VERGINO"_s).toString());
    };
    pageNumber();
    heading();

    // Column edges; a column of no width is left out.
    const int x0 = x(at("SUTB_S") + at("SIRA_U"));
    const int nameEdge = x0 + width("ADETR_U");
    const int relationEdge = nameEdge + width("BAS1_U");
    const int dateEdge = relationEdge + width("BAS2_U");
    const int grossEdge = dateEdge + width("BAS3_U");
    const std::array<int, 3> topEdge{grossEdge + width("TOP1_U"), grossEdge + width("TOP1_U") + width("TOP2_U"),
                                     grossEdge + width("TOP1_U") + width("TOP2_U") + width("TOP3_U")};
    const std::array<bool, 3> shown{at("TOP1_U") > 0, at("TOP2_U") > 0, at("TOP3_U") > 0};
    const bool shownRelation = at("BAS1_U") > 0, shownDate = at("BAS2_U") > 0, shownGross = at("BAS3_U") > 0;
    const int lastEdge = topEdge[2];
    const int tableTop = y(at("SUTB_U"));
    static const std::array<QString, 3> titles{u"Normal İlaçlarda"_s, u"İlaç Beraberi"_s, u"Özel Katılımlı"_s};
    for (size_t i = 0; i < 3; ++i)
        if (shown[i]) c.textOutRight(topEdge[i], tableTop, titles[i]);

    int line = tableTop + lh;
    double running = 0;
    auto carryOver = [&] {
        c.textOut(x0, line + 2 * lh, u"   Toplam:"_s);
        c.textOutRight(lastEdge, line + 2 * lh, money(running));
        const int previous = c.pageNumber();
        c.newPage();
        pageNumber();
        heading();
        line = tableTop;
        c.textOut(x0, line, QString::number(previous) + u".  Sayfadan Devir"_s);
        c.textOutRight(lastEdge, line, money(running));
        line += lh;
    };
    int n = 0;
    for (const SskPrescription& p : selection_) {
        c.textOutRight(x0 - 2 * fx / 10, line, QString::number(++n));
        c.textOut(x0, line, p.text("RS_AD") + u' ' + p.text("RS_SOYAD"));
        if (shownRelation) c.textOutRight(relationEdge, line, sskRelationText(p.text("YAKINLIK_KOD"), true));
        if (shownDate) c.textOutRight(dateEdge, line, dateOf(p.row.value(u"RECTARIH"_s), QString()));
        if (shownGross) c.textOutRight(grossEdge, line, money(p.grossSum()));
        for (size_t i = 0; i < 3; ++i)
            if (shown[i]) c.textOutRight(topEdge[i], line, money(p.share[i]));
        running += p.grossSum();
        line += lh;
        if (line > areaEnd) carryOver();
    }
    // The totals block never starts in a page's last thirteen lines.
    if (line + 13 * lh > areaEnd) carryOver();

    const SskTotals& t = totals_;
    auto parts = [&](const std::array<QString, 3>& texts) {
        for (size_t i = 0; i < 3; ++i)
            if (shown[i]) c.textOutRight(topEdge[i], line, texts[i]);
    };
    {
        FontDef underlined = c.font();
        const FontDef plain = underlined;
        underlined.underline = true;
        c.setFont(underlined);
        c.textOut(x0, line, QString(195, u' '));
        c.setFont(plain);
    }
    line += lh;
    c.textOut(x0, line, u"TOPLAM :"_s);
    c.textOutRight(dateEdge, line, money(t.gross[0] + t.gross[2] + t.gross[1]));
    parts({format(u"(%m +"_s, t.gross[0]), format(u"%m+"_s, t.gross[1]), format(u"%m)"_s, t.gross[2])});
    line += lh;
    const std::array<double, 3> discountRates{inst_.discountRate(Bucket::Normal), inst_.discountRate(Bucket::WithMedicine),
                                              inst_.discountRate(Bucket::Special)};
    c.textOut(x0, line, format(u"%-1s%-5g+ %-1s%-5g+ %-1s%-5g %s"_s, u"%"_s, discountRates[0], u"%"_s, discountRates[1],
                               u"%"_s, discountRates[2], u"İndirim :"_s));
    c.textOutRight(dateEdge, line, money(t.discountSum()));
    parts({money(t.discount[0]), money(t.discount[1]), money(t.discount[2])});
    line += lh;
    c.textOut(x0, line, format(u"%-1s%-5g+ %-1s%-5g+ %-1s%-5g %s"_s, u"%"_s, t.rate[0], u"%"_s, t.rate[1], u"%"_s,
                               t.rate[2], u"Hasta Katılım Payı :"_s));
    c.textOutRight(dateEdge, line, money(t.shareSum()));
    parts({money(t.share[0]), money(t.share[1]), money(t.share[2])});
    line += lh;
    std::array<double, 3> sub{};
    for (size_t i = 0; i < 3; ++i) sub[i] = t.gross[i] - t.discount[i] - t.share[i];
    c.textOut(x0, line, u"ARA TOPLAM :"_s);
    c.textOutRight(dateEdge, line, money(sub[0] + sub[1] + sub[2]));
    parts({money(sub[0]), money(sub[1]), money(sub[2])});
    line += lh;
    c.textOut(x0, line, u"NET TOPLAM:"_s);
    c.textOutRight(dateEdge, line, money(t.net));
    line += lh;

    const double rounded = sskRoundedNet(t.net, int(card.value(u"FATYUVAR"_s).toLongLong()));
    const double difference = t.net - rounded;
    if (rounded != t.net) {
        c.textOut(x0, line, u"Yuvarlama Farkı :"_s);
        c.textOutRight(dateEdge, line, format(u"%s %m"_s, u"-"_s, difference));
        c.textOutRight(dateEdge, line + lh, u"--------"_s);
        line += 2 * lh;
        c.textOut(x0, line, u"TAM NET TOPLAM :"_s);
        c.textOutRight(dateEdge, line, money(t.net - difference));
        line += lh;
    }
    line += lh;
    QString vat = u"KDV DAHİLDIR. ("_s;
    {
        Sql k(session_.db, u"SELECT KDV1, KDV2, KDV3 FROM KDV LIMIT 1"_s);
        k.exec();
        const bool rates = k.next();
        for (int i = 0; i < 3; ++i) {
            if (i) vat += u" + "_s;
            vat += u"%"_s + format(u"%5.2g"_s, rates ? k.number(i) : 0.0) + u" :"_s + moneyText(t.vat[size_t(i)]);
        }
    }
    vat += u" KDV TOPLAMI :"_s + moneyText(t.vatSum()) + u" )"_s;
    c.textOut(x0, line, vat);
    c.textOut(x(at("YAZI_S")), y(at("YAZI_U")), u"YALNIZ "_s + amountInWords(t.net - difference) + u" TL. DİR."_s);
}

// ---------------------------------------------------------------- the lists

QStringList HazirFatSskLogic::listHeading() const
{
    Database& db = session_.db;
    const QVariantMap e = pharmacy(db);
    auto s = [&](const char* f) { return e.value(QString::fromLatin1(f)).toString(); };
    auto i = [&](const char* f) { return int(e.value(QString::fromLatin1(f)).toLongLong()); };
    // The drug lines of the selection and their boxes.
    int lines = 0;
    double boxes = 0;
    {
        Sql q(db, u"SELECT COUNT(*), SUM(a.KUTUSAYISI) FROM RECSSK_A a WHERE a.SATISNO IN (SELECT SATISNO FROM FATSSK "_s
                      + sskGroupCondition(group()) + u')');
        q.exec();
        if (q.next()) lines = int(q.integer(0)), boxes = q.number(1);
    }
    const int count = int(selection_.size());
    QStringList r;
    r << format(u"%50s  REÇETE LİSTESİ"_s, s("EADI"));
    r << format(u"%-40s :%-d"_s, u"İLİ"_s, i("IL_KOD"));
    r << format(u"%-40s :%-d"_s, u"İLÇESİ"_s, i("ILCE_KOD"));
    r << format(u"%-40s :%-s, %-d"_s, u"ECZACI ADI KODU"_s, s("MESULAD"), i("ECZKODU"));
    r << format(u"%-40s :%-s %-s"_s, u"ECZANE ADRESİ"_s, s("ADR1"), s("ADR2"));
    r << format(u"%-40s :%-s"_s, u"İLÇESİ/İLİ"_s, s("ADR3"));
    r << format(u"%-40s :%-s"_s, u"TELEFON NO"_s, s("TLF"));
    r << format(u"%-40s :%-d"_s, u"REÇETE SAYISI"_s, count);
    r << format(u"%-40s :%-d Kalem, %-g Kutu"_s, u"TOPLAM İLAÇ KALEM ADEDİ"_s, lines, boxes);
    r << format(u"%-40s :%-6.2g Kalem, %-6.2g Kutu"_s, u"REÇETE BAŞINA ÖDENEN ORT. KALEM ADEDİ"_s,
                count ? double(lines) / count : 0.0, count ? boxes / count : 0.0);
    r << format(u"%-40s :%-16.0n"_s, u"ORTALAMA REÇETE TUTARI"_s, totals_.averageNet);
    r << format(u"%-40s :%-16.0n"_s, u"FATURA TOPLAM TUTARI"_s, totals_.net);
    r << u"Sayın"_s << inst_.name;
    {
        Sql q(db, u"SELECT ADR1, ADR2, ADR3 FROM KRMLAR WHERE KOD = :k"_s);
        q.bind(u"k"_s, code_).exec();
        if (q.next()) r << q.text(0) << q.text(1) << q.text(2);
        else r << QString() << QString() << QString();
    }
    r << format(u"%43s"_s, sskGroupListName(group()));
    const QString first = selection_.isEmpty() ? QString() : dateOf(selection_.first().row.value(u"ALTARIH"_s), QString());
    const QString last = selection_.isEmpty() ? QString() : dateOf(selection_.last().row.value(u"ALTARIH"_s), QString());
    r << format(u" %s - %s Tarihleri Arası Reçete Listesi"_s, first, last);
    return r;
}

namespace {
// Lines at the left margin, a page ending `reserveMm` above the paper's foot; a new page
// starts with its number.
class LineWriter {
public:
    LineWriter(Canvas& c, int marginCm, int reserveMm, QString pagePrefix)
        : c_(c), x_(PageGeometry(c).cmX(marginCm)), end_(PageGeometry(c).pageEndY(reserveMm)),
          pitch_(PageGeometry::linePitch(c, u"İŞĞÜyg"_s, 5)), prefix_(std::move(pagePrefix))
    {
    }
    void line(const QString& text, bool underline = false)
    {
        if (y_ + pitch_ > end_) {
            c_.newPage();
            y_ = 0;
            line(prefix_ + QString::number(c_.pageNumber()));
        }
        if (underline) {
            FontDef f = c_.font();
            const FontDef plain = f;
            f.underline = true;
            c_.setFont(f);
            c_.textOut(x_, y_, text);
            c_.setFont(plain);
        } else {
            c_.textOut(x_, y_, text);
        }
        y_ += pitch_;
    }
    int linesLeft() const { return (end_ - y_) / std::max(1, pitch_); }

private:
    Canvas& c_;
    int x_, end_, pitch_;
    QString prefix_;
    int y_ = 0;
};
}  // namespace

void HazirFatSskLogic::printList(int kind)
{
    if (!session_.print) return;
    static const QStringList jobs{QString(), u"Reçete Listesi"_s, u"SSK Reçete Arkası"_s, u"İlaçlı Liste"_s};
    // The two lists run to some 150 characters a line: they go across the sheet.
    PageSetup setup;
    if (kind != 2) setup.orientation = Orientation::Landscape;
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(jobs.value(kind), setup, true);
    if (!canvas) return;
    canvas->setFont(listFont_);
    if (kind == 1) drawList(*canvas, listMargin_);
    else if (kind == 2) drawBacks(*canvas, listMargin_);
    else drawListWithDrugs(*canvas, listMargin_);
    canvas->endDocument();
}

void HazirFatSskLogic::drawList(Canvas& c, int marginCm)
{
    LineWriter w(c, marginCm, 25, u"Sayfa No:"_s);
    w.line(u"Sayfa No:1"_s);
    for (const QString& l : listHeading()) w.line(l);
    w.line(QString());
    const QString heads = u"%4s %-17s %-17s %-25s %-11s %-9s %-8s %-10s %13s %13s %13s"_s;
    w.line(format(u"%s %-79s    %s"_s, u"SIRA"_s, u"H A S T A N I N "_s, u"R E Ç E T E N İ N"_s));
    w.line(format(heads, u"NO "_s, u"SOYADI"_s, u"ADI"_s, u"SİCİL NO"_s, u"YAKINLIK"_s, u"ÇALIŞTIĞI"_s, u"TARİHİ"_s,
                  u"SERİ NO"_s, u"   TUTARI "_s, u"  İSKONTO "_s, u"  KATKI "_s));
    w.line(format(heads, u""_s, u""_s, u""_s, u"TAHSİS NO"_s, u"DURUMU"_s, u"KURUM"_s, u""_s, u""_s, u""_s,
                  u"  TUTARI "_s, u"PAYI TUTARI"_s));
    w.line(format(heads, u""_s, u""_s, u""_s, u""_s, u""_s, u"ÜNİTESİ (MEMUR)"_s, u""_s, u""_s, u""_s, u""_s, u""_s));
    double gross = 0, discount = 0, share = 0;
    int n = 0;
    for (const SskPrescription& p : selection_) {
        const QDate day = p.row.value(u"RECTARIH"_s).toDate();
        w.line(format(u"%4d %-17s %-17s %-13s/%-11s %-11s %-9s %-8s %-10s %13.0n %13.0n %13.0n"_s, ++n, p.text("RS_SOYAD"),
                      p.text("RS_AD"), p.text("SICILNO"), p.text("TAHSIS_DOSNO"),
                      sskRelationText(p.text("YAKINLIK_KOD"), true), p.text("MEMUNITNO"),
                      day.isValid() ? day.toString(u"dd-MM-yy"_s) : QString(), p.text("SERINO"), p.grossSum(),
                      p.discountSum(), p.shareSum()));
        gross += p.grossSum();
        discount += p.discountSum();
        share += p.shareSum();
    }
    w.line(QString());
    w.line(format(u"%4s %-17s %-17s %-13s %-11s %-11s %-9s %-8s %-10s %13.0n %13.0n %13.0n"_s, u""_s, u"Toplam :"_s, u""_s,
                  u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, gross, discount, share));
}

void HazirFatSskLogic::drawListWithDrugs(Canvas& c, int marginCm)
{
    Database& db = session_.db;
    LineWriter w(c, marginCm, 25, u"Sayfa No:"_s);
    w.line(u"Sayfa No:1"_s);
    for (const QString& l : listHeading()) w.line(l);
    w.line(QString());
    w.line(format(u"%-4s %-79s    %s"_s, u"SIRA"_s, u"H A S T A N I N "_s, u"R E Ç E T E N İ N"_s));
    const QString heads = u"%-4s %-17s %-17s %-25s %-8s %13s %-25s %-9s %13s"_s;
    w.line(format(heads, u"NO"_s, u"SOYADI"_s, u"ADI"_s, u"SİCİL NO"_s, u"DÜZENLENDİĞİ"_s, u"TUTARI"_s,
                  u"DOKTORUN ADI"_s, u"ÜNİTE"_s, u""_s));
    w.line(format(heads, u""_s, u""_s, u""_s, u"TAHSİS NO"_s, u"TARİH"_s, u""_s, u""_s, u""_s, u""_s));
    const QString drugs = u"%-4s %-17s %-17s %-25s %-8s %13s %-25s %-9s %-13s %4s %-8s %6s"_s;
    w.line(format(drugs, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"  İ Ç E R İ Ğ İ"_s, u"FORMU"_s,
                  u" MİKTARI"_s, u"DOZU"_s));
    QHash<qint64, QString> doctors;
    {
        Sql q(db, u"SELECT DRKOD, DRAD, DRSOYAD FROM DR"_s);
        q.exec();
        while (q.next()) doctors.insert(q.integer(0), q.text(1) + u' ' + q.text(2));
    }
    Sql lines(db, u"SELECT s.MIKTAR, u.ILACKOD, u.ILACAD, a.GUN_KULLAN, a.BIRKUL_ALMIK FROM SATIS s "
                  u"LEFT JOIN URUN u ON u.ILACNO = s.ILACNO LEFT JOIN RECSSK_A a ON a.SATISNO = s.SATISNO "
                  u"AND a.SIRANOILAC = s.SIRANOURUN AND a.ILACNO = s.ILACNO WHERE s.SATISNO = :n ORDER BY s.SIRANOURUN"_s);
    int n = 0;
    for (const SskPrescription& p : selection_) {
        w.line(format(u"%-4d %-17s %-17s %-13s %-11s %-8s %13.0n %-25s %-9s"_s, ++n, p.text("RS_SOYAD"), p.text("RS_AD"),
                      p.text("SICILNO"), p.text("TAHSIS_DOSNO"), dateOf(p.row.value(u"RECTARIH"_s), QString()),
                      p.grossSum(), doctors.value(p.row.value(u"DRKOD"_s).toLongLong()), p.text("DRUNITNO")));
        lines.bind(u"n"_s, p.saleNo).exec();
        while (lines.next()) {
            const QString code = lines.text(1);
            const QString dose = lines.text(3).trimmed() + u" x "_s + lines.text(4).trimmed();
            w.line(format(u"%4s %-17s %-17s %-25s %-8s %13s %-25s %-9s %-13s %4s %-8s %6d"_s, u""_s, u""_s, u""_s, u""_s,
                          u""_s, u""_s, u""_s, u""_s, printedProductCode(code, lines.text(2)).left(13), dosageForm(code),
                          dose, int(lines.integer(0))));
        }
    }
}

void HazirFatSskLogic::drawBacks(Canvas& c, int marginCm)
{
    Database& db = session_.db;
    const QVariantMap e = pharmacy(db);
    auto s = [&](const char* f) { return e.value(QString::fromLatin1(f)).toString(); };
    LineWriter w(c, marginCm, 15, u"Sayfa No :"_s);
    w.line(u"Sayfa No :1"_s);
    Sql lines(db, u"SELECT s.SIRANOURUN, u.ILACKOD, u.ILACAD, s.MIKTAR, s.FIYAT, s.RECETETIP FROM SATIS s "
                  u"LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATISNO = :n ORDER BY s.SIRANOURUN"_s);
    for (const SskPrescription& p : selection_) {
        w.line(format(u"SIRA İLAÇ KODU     FORMU    MİKTARI %10s %3s%-5g)  %3s%-5g)   %3s%-5g)"_s, u"TUTARI  "_s, u"(%"_s,
                      p.rate[0], u" (%"_s, p.rate[1], u" (%"_s, p.rate[2]),
                   true);
        lines.bind(u"n"_s, p.saleNo).exec();
        while (lines.next()) {
            const QString code = lines.text(1);
            const double amount = lines.number(3) * lines.number(4);
            const QString type = lines.text(5);
            const double n = type == u"I"_s || type == u"O"_s ? 0 : amount;
            w.line(format(u"%4d %-13s %-8s %7d %11.0n%11.0n%11.0n%11.0n"_s, int(lines.integer(0)),
                          printedProductCode(code, lines.text(2)).left(13), dosageForm(code), int(lines.integer(3)),
                          amount, n, type == u"I"_s ? amount : 0.0, type == u"O"_s ? amount : 0.0));
        }
        const QString sums = u"%-38s %-18s %13.0n"_s;
        w.line(format(sums, s("EADI"), u"Genel Toplam       :"_s, p.grossSum()));
        w.line(format(sums, s("MESULAD"), u"İskonto Tutarı     :"_s, p.discountSum()));
        w.line(format(sums, s("ADR1"), u"Has.Kat.Payı Tutarı:"_s, p.shareSum()));
        w.line(format(sums, s("ADR2"), u"Kat.Paysız Tutarı  :"_s, p.net));
        w.line(s("ADR3"));
        w.line(format(u"%-20s %s"_s, u"Reçete Tarihi      :"_s, dateOf(p.row.value(u"RECTARIH"_s), u" / /"_s)));
        w.line(format(u"%-20s %s / %s"_s, u"Tahsis No/Sicil No :"_s, p.text("TAHSIS_DOSNO"), p.text("SICILNO")));
        w.line(format(u"%-20s %s"_s, u"Yakınlık Durumu    :"_s, sskRelationText(p.text("YAKINLIK_KOD"), true)));
        w.line(format(u"%-20s %-18s %-17s %s"_s, u"Reçete No          :"_s, p.text("SERINO"), u"Fatura No      :"_s,
                      p.text("FATURANO")));
        w.line(format(u"%-20s %-18s %-17s %s"_s, u"Reç.İşlem Tarihi   :"_s, dateOf(p.row.value(u"ALTARIH"_s), u" /  /"_s),
                      u"Fatura Tarihi  :"_s, dateOf(p.row.value(u"FATARIH"_s), u" /  /"_s)));
        w.line(QString());
    }
}

}  // namespace selvar
