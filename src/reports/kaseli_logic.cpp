#include "reports/kaseli_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "print/report.h"
#include "print/report_fonts.h"
#include "reports/backprint_values.h"

#include <QHash>
#include <map>

namespace selvar {
using namespace Qt::Literals::StringLiterals;
using report::Band;
using report::BandContext;
using report::Control;
using report::Row;

const char* KaseliLogic::JobTitle = "Reç.Arkası Dökümü";

namespace {

const std::array<QString, 5> kSuffixFields{u"ILACLAR"_s, u"ILACBERA"_s, u"OZKAT"_s, u"ITHAL"_s, u"RAPITHAL"_s};
const std::array<QString, 5> kSuffixDefaults{u"ilaç.da"_s, u"ilç.berb"_s, u"öz.kat.lı"_s, u"ithal ilç"_s, u"Rp ithal"_s};

// The layout, in millimetres: quantity, name and price, then one column per category.
constexpr double kLine = 4.5;
constexpr double kQuantityX = 0, kQuantityW = 9;
constexpr double kNameX = 10, kNameW = 47;
constexpr double kPriceX = 58, kPriceW = 19;
constexpr double kCategoryX = 78, kCategoryW = 19, kCategoryStep = 20;
constexpr double kCaptionW = 46;  // the closing block's captions

double categoryX(int b) { return kCategoryX + b * kCategoryStep; }
QString letterOf(int b) { return QString::fromLatin1(CategoryLetters[size_t(b)]); }

// Which categories a listing shows: 0 all, 1 domestic (N, I, O), 2 imported (H, MR).
bool inListing(int b, int listing) { return listing == 0 || (listing == 1 ? b < 3 : b >= 3); }

// A category column shows when its gross is at least 1 and it belongs to the listing.
bool columnShown(const Row& prescription, int b, int listing)
{
    return inListing(b, listing) && prescription.number(grossField(Bucket(b))) >= 1;
}

QString netField(int listing) { return listing == 1 ? u"NetNONIthal"_s : listing == 2 ? u"NetTumIHL"_s : u"NETSON"_s; }
QString grossTotalField(int listing) { return listing == 1 ? u"BRTOPYERLI"_s : listing == 2 ? u"BRTOPITHAL"_s : u"BRUT"_s; }
QString shareTotalField(int listing) { return listing == 1 ? u"HKPYERLI"_s : listing == 2 ? u"HKPITHAL"_s : u"HKPson"_s; }

// The pharmacy's stamp: the first row of EKIM.
QStringList stampLines(Database& db)
{
    Sql q(db, u"SELECT EADI, MESULAD, ADR1, ADR2, ADR3, TLF FROM EKIM"_s);
    q.exec();
    QStringList r;
    if (q.next())
        for (int i = 0; i < 6; ++i) r << q.text(i);
    return r;
}

// Places the visible controls of a band one under the other in the order given, and
// makes the band as tall as they need.
void stack(Band& band, const QStringList& names, double startTop = 0)
{
    double top = startTop;
    for (const QString& n : names) {
        Control* c = band.control(n);
        if (!c || !c->visible) continue;
        c->top = top;
        if (Control* value = band.control(n + u"_v"_s)) value->top = top;
        top += kLine;
    }
    band.height = top;
}

// ---------------------------------------------------------------- the printout in steps

// The prescriptions: the sale's copy or the caller's, of the patient type, in order.
void selectPrescriptions(report::Report& r, Database& db, const QString& table, const QString& patientType,
                         const QString& order, int listing)
{
    QString sql = u"SELECT * FROM "_s + table + u" WHERE (COALESCE(HASTATIP, '') = COALESCE(:HTip, '')) "_s;
    sql += listing == 1   ? u"AND (BRUTN>0 OR BRUTI>0 OR BRUTO>0) "_s
           : listing == 2 ? u"AND (BRUTH>0 OR BRUTMR>0) "_s
                          : u"AND (NET IS NOT NULL) "_s;
    sql += prescriptionOrder(order);
    r.source = std::make_shared<report::SqlDataSource>(db, sql, QVariantMap{{u"HTip"_s, patientType}});
}

// Every prescription with its institution's values, the patient and the visa text.
void addPrescriptionValues(report::Report& r, Database& db)
{
    const InstitutionCache institutions = calculateInstitutionValues(r, db);
    r.calculate(u"AD"_s, [institutions](const Row& row) {
        return QVariant(institutions->value(row.text(u"KURUMKOD"_s)).name);
    });
    for (int i = 0; i < 6; ++i)
        r.calculate(u"ETIKET"_s + QString::number(i + 1), [institutions, i](const Row& row) {
            return QVariant(institutions->value(row.text(u"KURUMKOD"_s)).labels.value(i));
        });
    r.calculate(u"HASTA"_s, [&db](const Row& row) { return QVariant(patientName(db, row.value(u"HASTANO"_s).toLongLong(), u" "_s)); });
    r.calculate(u"VIZE"_s, [](const Row& row) { return QVariant(visaText(row.value(u"VIZETRH"_s).toDate())); });
}

// Stamp, header texts, visa, protocol and register number.
void addHeading(Band& d, const QStringList& stamp, const StampedOptions& o)
{
    QStringList order1;
    for (int i = 0; i < 6; ++i) {
        Control& c = d.text(stamp.value(i), 0, 0, 90).named(u"stamp"_s + QString::number(i));
        if (i == 0) c.withStyles(FontStyle::Bold);
        order1 << c.name;
    }
    for (int i = 1; i <= 6; ++i) {
        const QString n = QString::number(i);
        d.expression([n](const BandContext& c) { return QVariant(c.row.text(u"ETIKET"_s + n) + u" : "_s + c.row.text(u"BAS"_s + n)); },
                     0, 0, 90)
            .named(u"bas"_s + n);
        order1 << u"bas"_s + n;
    }
    d.text(u"Vize Tarihi :"_s, 0, 0, 25).named(u"vize"_s);
    d.field(u"VIZE"_s, 25, 0, 60).named(u"vize_v"_s);
    d.text(u"Protokol No:"_s, 0, 0, 25).named(u"protokol"_s);
    d.field(u"PROTOKOLNO"_s, 25, 0, 40).named(u"protokol_v"_s);
    d.text(o.registerCaption == u"E"_s ? u"Ecz.Protokol No"_s : u"Reç.Kayıt Def.No"_s, 0, 0, 25).named(u"defter"_s);
    d.field(u"RKDEFTERNO"_s, 25, 0, 40).named(u"defter_v"_s);
    order1 << u"vize"_s << u"protokol"_s << u"defter"_s;
    d.height = kLine;
    d.beforePrint = [o, order1](Band& b, const BandContext& c) {
        const bool known = c.row.value(u"KNOWN"_s).toBool();
        for (int i = 2; i <= 6; ++i)
            b.control(u"bas"_s + QString::number(i))->visible = known && !c.row.text(u"BAS"_s + QString::number(i)).isEmpty();
        b.control(u"vize"_s)->visible = b.control(u"vize_v"_s)->visible = o.visa;
        b.control(u"protokol"_s)->visible = b.control(u"protokol_v"_s)->visible = o.protocol;
        b.control(u"defter"_s)->visible = b.control(u"defter_v"_s)->visible = o.registerNo;
        stack(b, order1);
        // The first header block stands apart when it holds a text.
        if (!c.row.text(u"BAS1"_s).isEmpty())
            for (const QString& n : order1.mid(order1.indexOf(u"bas2"_s))) {
                if (Control* x = b.control(n)) x->top += kLine / 2;
                if (Control* x = b.control(n + u"_v"_s)) x->top += kLine / 2;
            }
        b.height += kLine / 2;
        return true;
    };
}

// The product lines under their column header, one column per category shown.
report::SubDetail& addLines(report::Report& r, Database& db, const StampedOptions& o, int listing,
                            const std::shared_ptr<HandedOver>& handed)
{
    const unsigned frame = o.frames ? report::Frame::All : report::Frame::None;
    auto lines = std::make_shared<report::SqlDataSource>(
        db, u"SELECT s.SIRANOURUN, s.MIKTAR, s.FIYAT, s.RECETETIP, u.ILACAD AS ILAD FROM SATIS s "
            u"LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATISNO = :SATISNO ORDER BY s.SIRANOURUN"_s);
    report::SubDetail& sd = r.addSubDetail(lines, {{u"SATISNO"_s, u"SATISNO"_s}});
    sd.headerFooterWhenEmpty = true;
    sd.calculate(u"CAT"_s, [](const Row& row) { return QVariant(int(bucketOf(row.text(u"RECETETIP"_s)))); });
    for (int b = 0; b < BucketCount; ++b)
        sd.calculate(u"b"_s + letterOf(b), [b](const Row& row) {
            return row.value(u"CAT"_s).toInt() == b ? QVariant(row.number(u"MIKTAR"_s) * row.number(u"FIYAT"_s)) : QVariant();
        });

    Band& h = sd.header;
    h.closeUp = true;
    h.expression([](const BandContext& c) { return c.master && c.master->value(u"KNOWN"_s).toBool() ? c.master->value(u"AD"_s) : QVariant(); },
                 0, 0, 57)
        .named(u"kurum"_s);
    h.expression([](const BandContext& c) { return c.master ? c.master->value(u"HASTA"_s) : QVariant(); }, kPriceX, 0, 100);
    h.text(u"Adet"_s, kQuantityX, kLine, kQuantityW).alignRight().framed(frame);
    h.text(u"ÜRÜNÜN ADI"_s, kNameX, kLine, kNameW).framed(frame);
    h.text(u"FİYATI"_s, kPriceX, kLine, kPriceW).alignRight().framed(frame);
    for (int b = 0; b < BucketCount; ++b) {
        const QString suffix = o.suffixes[size_t(b)];
        h.expression([b, suffix](const BandContext& c) {
             return QVariant(u"%"_s + format(u"%0.0f", c.master ? c.master->number(u"yuzde"_s + letterOf(b)) : 0.0) + u' ' + suffix);
         },
                     categoryX(b), kLine, kCategoryW)
            .alignRight()
            .framed(frame)
            .named(u"cat"_s + letterOf(b));
    }
    h.height = 2 * kLine;
    auto showColumns = [listing](Band& b, const BandContext& c, const QString& prefix) {
        for (int k = 0; k < BucketCount; ++k)
            if (Control* x = b.control(prefix + letterOf(k))) x->visible = c.master && columnShown(*c.master, k, listing);
    };
    h.beforePrint = [showColumns, handed](Band& b, const BandContext& c) {
        *handed = HandedOver{};
        showColumns(b, c, u"cat"_s);
        return true;
    };

    Band& l = sd.band;
    l.closeUp = true;
    l.field(u"MIKTAR"_s, kQuantityX, 0, kQuantityW).alignRight().framed(frame);
    l.field(u"ILAD"_s, kNameX, 0, kNameW).framed(frame);
    l.field(u"FIYAT"_s, kPriceX, 0, kPriceW).alignRight().withMask(u"#,#"_s).framed(frame);
    for (int b = 0; b < BucketCount; ++b)
        l.field(u"b"_s + letterOf(b), categoryX(b), 0, kCategoryW).alignRight().withMask(u"#,#"_s).framed(frame).named(u"cat"_s + letterOf(b));
    l.height = kLine;
    l.beforePrint = [showColumns, handed, listing](Band& b, const BandContext& c) {
        const int cat = c.row.value(u"CAT"_s).toInt();
        // A line of the other listing is not printed there.
        if (!inListing(cat, listing)) return false;
        handed->add(c.row.text(u"ILAD"_s), int(c.row.number(u"MIKTAR"_s)), listing != 2);
        showColumns(b, c, u"cat"_s);
        return true;
    };
    return sd;
}

// The account block, the receiver's lines and the computed lines under each prescription.
void addClosing(Band& f, const StampedOptions& o, int listing, bool runningNo, double gap,
                const std::shared_ptr<HandedOver>& handed)
{
    const unsigned frame = o.frames ? report::Frame::All : report::Frame::None;
    f.closeUp = true;
    const QStringList accountCaptions{u"TOPLAM"_s, u"İskonto :"_s, u"Bakiye :"_s, u"Kat.Payı :"_s, u"Net Kalan :"_s};
    const QStringList accountFields{u"BRUT"_s, u"Indir"_s, u"Baki"_s, u"HKP"_s, u"Net"_s};
    for (int i = 0; i < accountCaptions.size(); ++i) {
        f.text(accountCaptions[i], kPriceX, i * kLine, kPriceW).alignRight().framed(frame).named(u"acc"_s + QString::number(i));
        for (int b = 0; b < BucketCount; ++b) {
            const QString field = accountFields[i] + letterOf(b);
            f.field(field, categoryX(b), i * kLine, kCategoryW)
                .alignRight()
                .withMask(u"#,#"_s)
                .framed(frame)
                .named(u"acc"_s + QString::number(i) + u"_"_s + letterOf(b));
        }
    }
    f.text(u"GENEL TOPLAM :"_s, kNameX, 5 * kLine, kNameW).alignRight().framed(frame).named(u"genel"_s);
    f.field(netField(listing), kPriceX, 5 * kLine, kPriceW).alignRight().withMask(u"#,#"_s).framed(frame).named(u"genel_v"_s);
    // The captions take 25 characters of the default 8 point font.
    f.text(u"İlacı Alanın Adı Soyadı :"_s, 0, 0, kCaptionW).named(u"alan"_s);
    f.field(u"HASTA"_s, kCaptionW, 0, 60).named(u"alan_v"_s);
    f.text(u"İlaç.Veriliş Trh:"_s, 0, 0, kCaptionW).named(u"verilis"_s);
    f.field(u"ALTARIH"_s, kCaptionW, 0, 30).named(u"verilis_v"_s);
    f.text(u"Reçete Tutarı"_s, 0, 0, kCaptionW).named(u"tutar"_s);
    f.field(grossTotalField(listing), kCaptionW, 0, 30).withMask(u"#,#"_s).named(u"tutar_v"_s);
    f.recordNumber(0, 0, 20).named(u"sira"_s);
    f.text(u"İMZA"_s, 0, 0, 20).named(u"imza"_s);
    const QString shareField = shareTotalField(listing);
    f.expression([listing, shareField](const BandContext& c) {
         const Row& p = c.master ? *c.master : c.row;
         QList<double> rates;
         for (int b = 0; b < BucketCount; ++b)
             if (inListing(b, listing) && p.number(grossField(Bucket(b))) > 0) rates << p.number(u"yuzde"_s + letterOf(b));
         return QVariant(contributionText(rates, p.number(shareField)) + u" ÖDEYEREK"_s);
     },
                 0, 0, 150)
        .named(u"katilim"_s);
    f.expression([handed](const BandContext&) { return QVariant(handed->text()); }, 0, 0, 150).named(u"aldim"_s);
    f.beforePrint = [listing, runningNo, gap](Band& b, const BandContext& c) {
        const Row& p = c.master ? *c.master : c.row;
        const bool known = p.value(u"KNOWN"_s).toBool();
        double top = 0;
        for (int i = 0; i < 5; ++i) {
            b.control(u"acc"_s + QString::number(i))->visible = known;
            for (int k = 0; k < BucketCount; ++k)
                b.control(u"acc"_s + QString::number(i) + u"_"_s + letterOf(k))->visible = known && columnShown(p, k, listing);
        }
        b.control(u"genel"_s)->visible = b.control(u"genel_v"_s)->visible = known;
        if (known) top = 6 * kLine + kLine / 2;
        b.control(u"sira"_s)->visible = runningNo;
        b.control(u"katilim"_s)->visible = known;
        QStringList closing{u"alan"_s, u"verilis"_s, u"tutar"_s};
        if (runningNo) closing << u"sira"_s;
        closing << u"imza"_s << u"katilim"_s << u"aldim"_s;
        stack(b, closing, top);
        b.height += gap;
        return true;
    };
}

// The totals of the whole printout.
void addSummary(Band& s, const StampedOptions& o, int listing)
{
    const unsigned frame = o.frames ? report::Frame::All : report::Frame::None;
    s.closeUp = true;
    s.text(u"Toplam Reçete Sayısı :"_s, 0, 0, 45);
    s.count(45, 0, 30).withMask(u"#,##0 Adet"_s);
    const QStringList captions{u"TOPLAM TUTAR"_s, u"KURUM İSKONTOSU"_s, u"BAKİYE"_s, u"KATILIM PAYI"_s, u"NET KALAN"_s};
    const QStringList fields{u"BRUT"_s, u"Indir"_s, u"Baki"_s, u"HKP"_s, u"Net"_s};
    for (int b = 0; b < BucketCount; ++b)
        s.text(o.suffixes[size_t(b)], categoryX(b), kLine, kCategoryW).alignRight().framed(frame).named(u"top"_s + letterOf(b));
    for (int i = 0; i < captions.size(); ++i) {
        s.text(captions[i], 0, (i + 2) * kLine, 40).framed(frame);
        for (int b = 0; b < BucketCount; ++b)
            s.sum(fields[i] + letterOf(b), categoryX(b), (i + 2) * kLine, kCategoryW)
                .alignRight()
                .withMask(u"#,# TL"_s)
                .framed(frame)
                .named(u"top"_s + QString::number(i) + letterOf(b));
    }
    s.text(u"GENEL TOPLAM"_s, 0, 7 * kLine, 40).framed(frame);
    s.sum(netField(listing), 40, 7 * kLine, 30).alignRight().withMask(u"#,# TL"_s).framed(frame);
    s.height = 8 * kLine;
    s.beforePrint = [listing](Band& b, const BandContext&) {
        for (int k = 0; k < BucketCount; ++k) {
            b.control(u"top"_s + letterOf(k))->visible = inListing(k, listing);
            for (int i = 0; i < 5; ++i) b.control(u"top"_s + QString::number(i) + letterOf(k))->visible = inListing(k, listing);
        }
        return true;
    };
}

}  // namespace

PageSetup StampedOptions::pageSetup() const
{
    PageSetup s;
    s.font = font;
    s.orientation = orientation == u"Y"_s ? Orientation::Landscape : Orientation::Portrait;
    if (paper == u"$100"_s) {
        s.paper = UserPaper;
        s.paperLength = paperHeight > 0 ? paperHeight : 1500;
        s.paperWidth = paperWidth > 0 ? paperWidth : 1500;
    } else {
        bool ok = false;
        const int n = paper.trimmed().toInt(&ok);
        s.paper = ok && n > 0 ? n : A4Paper;
    }
    return s;
}

KaseliLogic::KaseliLogic(Session& session, const QString& institution, const QString& patientType, double saleNo)
    : session_(session), institution_(institution), patientType_(patientType), single_(saleNo > 0)
{
    table_ = single_ ? u"TMPREC"_s : u"RECTEMP"_s;
    if (single_) takeSaleIntoWorkingTable(session_.db, saleNo, table_, patientType_, institution_);
    loadOptions();
}

void KaseliLogic::loadOptions()
{
    options_ = StampedOptions{};
    for (size_t i = 0; i < kSuffixDefaults.size(); ++i) options_.suffixes[i] = kSuffixDefaults[i];
    options_.font.size = 8;
    // Empty codes are null in the table: the row of an empty code is found all the same.
    Sql q(session_.db, u"SELECT * FROM RECKASE WHERE COALESCE(KURUM, '') = COALESCE(:k, '') AND COALESCE(TIP, '') = COALESCE(:t, '')"_s);
    q.bind(u"k"_s, institution_).bind(u"t"_s, patientType_).exec();
    if (!q.next()) return;
    auto text = [&](const char* f) { return q.text(q.column(QString::fromLatin1(f))); };
    auto flag = [&](const char* f) { return q.boolean(q.column(QString::fromLatin1(f))); };
    auto number = [&](const char* f) { return int(q.integer(q.column(QString::fromLatin1(f)))); };
    options_.registerNo = flag("RECKAYAZ");
    options_.visa = flag("VIZEYAZ");
    options_.protocol = flag("PRTOKOL");
    options_.runningNo = flag("SIRANO");
    options_.closingTotals = flag("DOKUMTOP");
    options_.twoListings = flag("ITHALYAZ");
    options_.frames = flag("CERCEVE");
    options_.order = text("SIRALAMAKRITER");
    options_.orientation = text("SAYFAYON");
    options_.registerCaption = text("RKNOBAS");
    if (!text("FONTADI").isEmpty()) options_.font.family = text("FONTADI");
    if (number("FONTSIZE") > 0) options_.font.size = number("FONTSIZE");
    options_.font.color = QColor::fromRgb(QRgb(q.integer(q.column(u"COLOR"_s))));
    applyStyleLetter(options_.font, text("FONTSTYLE"));
    options_.columns = std::max(1, number("YANYANAREC"));
    options_.margin = std::max(0, number("MARJIN"));
    options_.gap = std::max(0, number("RECARBOYUZ"));
    options_.pagePerPrescription = flag("HERECAYRI");
    for (size_t i = 0; i < kSuffixFields.size(); ++i) options_.suffixes[i] = text(kSuffixFields[i].toLatin1().constData());
    options_.paperHeight = number("S_YUKSEK");
    options_.paperWidth = number("S_GENIS");
    options_.paper = text("SAYFA_TIPI");
}

void KaseliLogic::closing()
{
    const StampedOptions& o = options_;
    QVariantMap v{{u"RECKAYAZ"_s, o.registerNo},  {u"VIZEYAZ"_s, o.visa},
                  {u"PRTOKOL"_s, o.protocol},     {u"SIRANO"_s, o.runningNo},
                  {u"DOKUMTOP"_s, o.closingTotals}, {u"ITHALYAZ"_s, o.twoListings},
                  {u"CERCEVE"_s, o.frames},       {u"SIRALAMAKRITER"_s, o.order},
                  {u"SAYFAYON"_s, o.orientation}, {u"RKNOBAS"_s, o.registerCaption},
                  {u"YANYANAREC"_s, o.columns},   {u"MARJIN"_s, o.margin},
                  {u"RECARBOYUZ"_s, o.gap},       {u"HERECAYRI"_s, o.pagePerPrescription},
                  {u"S_YUKSEK"_s, o.paperHeight}, {u"S_GENIS"_s, o.paperWidth},
                  {u"SAYFA_TIPI"_s, o.paper}};
    for (size_t i = 0; i < kSuffixFields.size(); ++i) v.insert(kSuffixFields[i], o.suffixes[i]);
    Database& db = session_.db;
    Transaction tx(db);
    const QVariant rid = Sql::scalar(db, u"SELECT "_s + db.dialect().rowId()
                                             + u" FROM RECKASE WHERE COALESCE(KURUM, '') = COALESCE(:k, '') AND COALESCE(TIP, '') = COALESCE(:t, '')"_s,
                                     {{u"k"_s, institution_}, {u"t"_s, patientType_}});
    // The font changes only through the font dialog; a new row starts with its defaults.
    if (fontChosen_ || rid.isNull()) {
        v.insert(u"FONTADI"_s, o.font.family);
        v.insert(u"FONTSIZE"_s, o.font.size);
        v.insert(u"COLOR"_s, qint64(o.font.color.rgb() & 0xFFFFFF));
        v.insert(u"FONTSTYLE"_s, styleLetter(o.font));
    }
    if (rid.isNull()) {
        v.insert(u"KURUM"_s, institution_);
        v.insert(u"TIP"_s, patientType_);
        insertRecord(db, u"RECKASE"_s, v);
    } else {
        updateRecord(db, u"RECKASE"_s, rid.toLongLong(), v);
    }
    tx.commit();
}

QList<PaperChoice> KaseliLogic::papers() const
{
    QList<PaperChoice> r;
    Sql q(session_.db, u"SELECT SAYFAADI, SAYI FROM sayfalar ORDER BY "_s + session_.db.dialect().rowId());
    q.exec();
    while (q.next()) r << PaperChoice{q.text(0), q.text(1)};
    return r;
}

bool KaseliLogic::hasRows(const report::Report& r) { return r.source && !r.source->rows(r.params).empty(); }

std::vector<std::unique_ptr<report::Report>> KaseliLogic::reports()
{
    std::vector<std::unique_ptr<report::Report>> r;
    if (options_.twoListings) {
        r.push_back(build(1));
        r.push_back(build(2));
    } else {
        r.push_back(build(0));
    }
    return r;
}

void KaseliLogic::print()
{
    bool printed = false;
    for (auto& r : reports())
        if (hasRows(*r) && session_.print) {
            session_.print->print(*r);
            printed = true;
        }
    if (!printed) session_.prompter.information(nothingToPrint());
}

void KaseliLogic::preview()
{
    bool shown = false;
    for (auto& r : reports())
        if (hasRows(*r) && session_.print) {
            session_.print->preview(*r);
            shown = true;
        }
    if (!shown) session_.prompter.information(nothingToPrint());
}

void KaseliLogic::chooseFont()
{
    if (!session_.print) return;
    if (const auto f = session_.print->chooseFont(options_.font, FontChoice::Any)) {
        options_.font = *f;
        fontChosen_ = true;
    }
}

std::unique_ptr<report::Report> KaseliLogic::build(int listing)
{
    const StampedOptions& o = options_;
    const bool many = !single_;
    auto rep = std::make_unique<report::Report>();
    report::Report& r = *rep;
    r.title = QString::fromUtf8(JobTitle);
    r.setup = o.pageSetup();
    r.font = o.font;
    r.leftMargin = o.margin;
    r.columns = many ? std::max(1, o.columns) : 1;
    r.printDate = session_.clock.today();
    Database& db = session_.db;
    selectPrescriptions(r, db, table_, patientType_, many ? o.order : u"D"_s, listing);
    addPrescriptionValues(r, db);
    if (many && o.pagePerPrescription) r.addGroup(u"SATISNO"_s).newPage = true;
    addHeading(r.detail, stampLines(db), o);
    auto handed = std::make_shared<HandedOver>();
    report::SubDetail& sd = addLines(r, db, o, listing, handed);
    addClosing(sd.footer, o, listing, many && o.runningNo, many ? o.gap : 0, handed);
    if (many && o.closingTotals) addSummary(r.summary, o, listing);
    return rep;
}

}  // namespace selvar
