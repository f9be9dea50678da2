#include "reports/tanimli_logic.h"

#include "companion/companion.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "print/report.h"
#include "print/report_fonts.h"
#include "reports/backprint_values.h"

#include <QHash>
#include <QSet>

namespace selvar {
using namespace Qt::Literals::StringLiterals;
using report::Band;
using report::BandContext;
using report::Control;
using report::Row;

const char* TanimliLogic::JobTitle = "Reçete Arkası Dökümü";

namespace {

constexpr double kLine = 4.5;
constexpr double kCaptionW = 45;
// Five old screen units (960 to the inch) between product columns.
constexpr double kColumnGap = 5 * 25.4 / 96.0;

QString letterOf(int b) { return QString::fromLatin1(CategoryLetters[size_t(b)]); }

// The amounts among the data fields, printed with thousands: the calculated ones and the
// unit price, which the sale rows keep as a plain number.
const QSet<QString>& calculatedAmounts()
{
    static const QSet<QString> s{u"FIYAT"_s, u"BRUT"_s,  u"INDIRSON"_s,    u"HKPSON"_s,    u"NETSON"_s,   u"INDIR"_s,
                                 u"NETNONITHAL"_s, u"NETTUMIHL"_s, u"BRUTUTAR"_s, u"BN"_s,      u"BI"_s,
                                 u"BO"_s,    u"BH"_s,          u"BMR"_s,       u"BNTUT"_s,    u"BITUT"_s,
                                 u"BOTUT"_s, u"BHTUT"_s,       u"BMRTUT"_s};
    return s;
}

// How a data field prints: right-aligned with thousands for amounts, right-aligned for
// other numbers.
struct Shape {
    bool number = false;
    QString mask;
};

Shape shapeOf(const QString& data, const QString& table)
{
    const QString upper = data.toUpper();
    if (calculatedAmounts().contains(upper)) return {true, u"#,#"_s};
    const FieldDef* f = tableDef(table).field(data);
    if (!f) return {};
    if (f->type == FieldType::Money) return {true, u"#,#"_s};
    if (f->isNumeric() && f->type != FieldType::Logical) return {true, {}};
    return {};
}

bool knownName(const QString& data, const QList<DataField>& fields)
{
    for (const DataField& f : fields)
        if (f.first.compare(data, Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

QList<double> columnLefts(const QList<int>& widthsMm)
{
    QList<double> r;
    double left = 0;
    for (int i = 0; i < widthsMm.size(); ++i) {
        if (i > 0 && widthsMm[i - 1] > 0) left += kColumnGap;
        r << left;
        left += widthsMm[i];
    }
    return r;
}

TanimliLogic::TanimliLogic(Session& session, const QString& titlePrefix, const QString& institution,
                           const QString& patientType, double saleNo)
    : session_(session), institution_(institution), patientType_(patientType), single_(saleNo > 0)
{
    table_ = single_ ? u"TMPTREC"_s : u"RECTEMP"_s;
    if (single_) takeSaleIntoWorkingTable(session_.db, saleNo, table_, patientType_, institution_);
    const Institution inst = loadInstitution(session_.db, institution_);
    heading_ = (titlePrefix.isEmpty() ? QString() : titlePrefix + u' ') + inst.name + u" REÇETE ARKASI DÖKÜMÜ"_s;
    layout_ = loadLayout(session_.db, institution_, patientType_);
}

QStringList TanimliLogic::unknownDataNames() const
{
    QStringList r;
    if (!layout_) return r;
    for (const LayoutField& f : layout_->fields)
        if (!f.data.isEmpty() && !knownName(f.data, prescriptionDataFields())) r << f.data;
    for (const LayoutField& f : layout_->columns)
        if (!f.data.isEmpty() && !knownName(f.data, productDataFields())) r << f.data;
    return r;
}

QString TanimliLogic::unknownFields(const QStringList& names)
{
    return u"Reçete arkası tanımında bilinmeyen alanlar yazılmayacak: "_s + names.join(u", "_s);
}

bool TanimliLogic::ready(const QString& noLayoutText)
{
    if (!layout_) {
        session_.prompter.warning(noLayoutText);
        return false;
    }
    const QStringList unknown = unknownDataNames();
    if (!unknown.isEmpty()) session_.prompter.warning(unknownFields(unknown));
    return true;
}

bool TanimliLogic::hasRows(report::Report& r) { return r.source && !r.source->rows(r.params).empty(); }

void TanimliLogic::preview()
{
    if (!ready(noLayoutForPreview()) || !session_.print) return;
    auto r = build();
    if (!hasRows(*r)) {
        session_.prompter.information(u"Dökümü alınacak reçete bulunamadı."_s);
        return;
    }
    session_.print->preview(*r);
}

void TanimliLogic::print()
{
    if (!ready(noLayoutForPrint()) || !session_.print) return;
    auto r = build();
    if (!hasRows(*r)) {
        session_.prompter.information(u"Dökümü alınacak reçete bulunamadı."_s);
        return;
    }
    session_.print->print(*r);
}

void TanimliLogic::defineLayout()
{
    if (!session_.companion) return;
    session_.companion->TanimlaRecete();
    layout_ = loadLayout(session_.db, institution_, patientType_);
}

std::unique_ptr<report::Report> TanimliLogic::build()
{
    auto rep = std::make_unique<report::Report>();
    report::Report& r = *rep;
    const BackPrintLayout l = layout_.value_or(BackPrintLayout{});
    r.title = QString::fromUtf8(JobTitle);
    FontDef font(l.fontName.isEmpty() ? FontDef().family : l.fontName, l.fontSize > 0 ? l.fontSize : 10);
    applyStyleLetter(font, l.style);
    font.color = QColor::fromRgb(QRgb(l.color));
    r.font = font;
    r.setup.font = font;
    r.setup.orientation = landscape ? Orientation::Landscape : Orientation::Portrait;
    r.leftMargin = std::max(0, l.margin);
    r.printDate = session_.clock.today();

    QString sql = u"SELECT * FROM "_s + table_ + u" WHERE (COALESCE(HASTATIP, '') = COALESCE(:HTip, '')) "_s;
    sql += prescriptionOrder(single_ ? u"D"_s : order);
    r.source = std::make_shared<report::SqlDataSource>(session_.db, sql, QVariantMap{{u"HTip"_s, patientType_}});
    Database& db = session_.db;
    calculateInstitutionValues(r, db);
    r.calculate(u"HASTA"_s, [&db](const Row& row) { return QVariant(patientName(db, row.value(u"HASTANO"_s).toLongLong(), u"  "_s)); });
    r.calculate(u"VIZE"_s, [](const Row& row) { return QVariant(visaText(row.value(u"VIZETRH"_s).toDate())); });

    const unsigned frame = frames ? report::Frame::All : report::Frame::None;
    r.titleBand.text(heading_, 0, 0, 180).withStyles(FontStyle::Bold);
    r.titleBand.height = 2 * kLine;

    // The prescription's fields, one line each.
    Band& d = r.detail;
    double top = 0;
    for (int i = 0; i < BackPrintLayout::FieldCount; ++i) {
        const LayoutField& f = l.fields[size_t(i)];
        const bool bound = !f.data.isEmpty() && knownName(f.data, prescriptionDataFields());
        if (f.caption.isEmpty() && !bound) continue;
        if (!f.caption.isEmpty()) d.text(f.caption, 0, top, kCaptionW);
        if (bound && f.width > 0) {
            const QString data = f.data.compare(u"VIZETRH"_s, Qt::CaseInsensitive) == 0 ? u"VIZE"_s : f.data;
            const Shape shape = shapeOf(f.data, u"RECETE"_s);
            Control& c = d.field(data, kCaptionW, top, f.width).withMask(shape.mask).framed(frame);
            if (shape.number) c.alignRight();
        }
        top += kLine;
    }
    d.height = top;

    // The product columns side by side, the data under its heading.
    auto lines = std::make_shared<report::SqlDataSource>(
        db, u"SELECT s.SIRANOURUN, s.MIKTAR, s.FIYAT, s.RECETETIP, s.KDV, u.ILACAD AS ILAD, u.ILACKOD AS BARKOD "
            u"FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATISNO = :SATISNO ORDER BY s.SIRANOURUN"_s);
    report::SubDetail& sd = r.addSubDetail(lines, {{u"SATISNO"_s, u"SATISNO"_s}});
    sd.headerFooterWhenEmpty = true;
    sd.calculate(u"BRUTUTAR"_s, [](const Row& row) { return QVariant(row.number(u"MIKTAR"_s) * row.number(u"FIYAT"_s)); });
    for (int b = 0; b < BucketCount; ++b) {
        sd.calculate(u"b"_s + letterOf(b), [b](const Row& row) {
            return int(bucketOf(row.text(u"RECETETIP"_s))) == b ? row.value(u"FIYAT"_s) : QVariant();
        });
        sd.calculate(u"b"_s + letterOf(b) + u"TUT"_s, [b](const Row& row) {
            return int(bucketOf(row.text(u"RECETETIP"_s))) == b ? QVariant(row.number(u"FIYAT"_s) * row.number(u"MIKTAR"_s))
                                                                : QVariant();
        });
    }
    QList<int> widths;
    for (const LayoutField& c : l.columns) widths << std::max(0, c.width);
    const QList<double> lefts = columnLefts(widths);
    for (int i = 0; i < BackPrintLayout::ColumnCount; ++i) {
        const LayoutField& c = l.columns[size_t(i)];
        if (widths[i] <= 0) continue;
        const bool bound = !c.data.isEmpty() && knownName(c.data, productDataFields());
        const Shape shape = bound ? shapeOf(c.data, u"SATIS"_s) : Shape{};
        Control& heading = sd.header.text(c.caption, lefts[i], 0, widths[i]).framed(bound ? frame : 0u);
        if (shape.number) heading.alignRight();
        if (!bound) continue;
        Control& data = sd.band.field(c.data, lefts[i], 0, widths[i]).withMask(shape.mask).framed(frame);
        if (shape.number) data.alignRight();
    }
    // Without product lines the header shrinks away and the lines are not printed.
    sd.header.height = l.productLines ? kLine : 0;
    sd.band.height = l.productLines ? kLine : 0;

    // The patient, what was paid and what was handed over.
    auto handed = std::make_shared<HandedOver>();
    sd.header.beforePrint = [handed](Band&, const BandContext&) {
        *handed = HandedOver{};
        return true;
    };
    sd.band.beforePrint = [handed](Band&, const BandContext& c) {
        handed->add(c.row.text(u"ILAD"_s), int(c.row.number(u"MIKTAR"_s)), true);
        return true;
    };
    const QString wording = l.totalWording;
    Band& f = sd.footer;
    f.field(u"HASTA"_s, 0, 0, 120).named(u"hasta"_s);
    f.expression([wording](const BandContext& c) {
         const Row& p = c.master ? *c.master : c.row;
         QList<double> rates;
         for (int b = 0; b < BucketCount; ++b)
             if (p.number(grossField(Bucket(b))) > 0) rates << p.number(u"yuzde"_s + letterOf(b));
         const QString ending = wording == u"E"_s ? u" ÖDEYEREK,"_s
                                : (wording == u"H"_s || wording == u"K"_s) ? u" ÖDEDİM."_s
                                                                            : u" ödedim."_s;
         return QVariant(contributionText(rates, p.number(u"HKPson"_s)) + ending);
     },
                 0, kLine, 150)
        .named(u"katilim"_s);
    f.expression([handed, wording](const BandContext&) {
         return QVariant(wording == u"K"_s ? handed->withoutSyringes() : handed->text());
     },
                 0, 2 * kLine, 150)
        .named(u"aldim"_s);
    const double gapMm = single_ ? 0 : gap;
    f.beforePrint = [wording, gapMm](Band& b, const BandContext& c) {
        const Row& p = c.master ? *c.master : c.row;
        const bool known = p.value(u"KNOWN"_s).toBool();
        b.control(u"katilim"_s)->visible = known;
        b.control(u"aldim"_s)->visible = wording == u"E"_s || wording == u"K"_s;
        double top = kLine;
        for (const char* n : {"katilim", "aldim"}) {
            Control* x = b.control(QString::fromLatin1(n));
            if (!x->visible) continue;
            x->top = top;
            top += kLine;
        }
        b.height = top + gapMm;
        return true;
    };
    return rep;
}

}  // namespace selvar
