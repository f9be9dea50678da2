// The SSK back sheet: printed directly as lines of text, or as a banded report shown in
// the preview.
#include "prescriptions/recete_ssk_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/geometry.h"
#include "print/report.h"
#include "prescriptions/ssk_codes.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
struct Pharmacy {
    QString name, pharmacist, adr1, adr2, adr3;
};

Pharmacy pharmacy(Database& db)
{
    Sql e(db, u"SELECT EADI, MESULAD, ADR1, ADR2, ADR3 FROM EKIM LIMIT 1"_s);
    e.exec();
    if (!e.next()) return {};
    return {e.text(0), e.text(1), e.text(2), e.text(3), e.text(4)};
}

QString dateOrBlank(const QVariant& v)
{
    const QDate d = v.toDate();
    return d.isValid() ? dateText(d) : u" /  /"_s;
}
}  // namespace

QStringList ReceteSskLogic::backPrintLines() const
{
    QStringList out;
    const QStringList rates = shownShareRates();
    out << format(u"SIRA  İLAÇ KODU    FORMU    MİKTARI %10s %3s%-7s %3s%-7s  %3s%-7s ", u"TUTARI  "_s, u"( %"_s,
                  rates[0] + u")"_s, u"( %"_s, rates[1] + u")"_s, u"( %"_s, rates[2] + u")"_s);
    for (const SskPrescriptionLine& l : lines()) {
        // The bucket columns hold the line's amount, as the preview shows them.
        const Bucket b = sskBucketOf(l.type);
        out << format(u"%4d %-13s %-8s %7d %11.0n%11.0n%11.0n%11.0n", l.no, l.code, l.form, l.quantity, l.amount,
                      b == Bucket::Normal ? l.amount : 0.0, b == Bucket::WithMedicine ? l.amount : 0.0,
                      b == Bucket::Special ? l.amount : 0.0);
    }
    out << QString();
    const Pharmacy p = pharmacy(session_.db);
    out << format(u"%-38s %-20s %14m", p.name, u"Genel Toplam       :"_s, number(u"BRUTN"_s) + number(u"BRUTI"_s) + number(u"BRUTO"_s));
    out << format(u"%-38s %-20s %14s", p.pharmacist, u"İskonto Tutarı     :"_s, shownAmount(shares_.discount()));
    out << format(u"%-38s %-20s %14s", p.adr1, u"Has.Kat.Payı Tutarı:"_s, shownAmount(number(u"HASTAKATPAY"_s)));
    out << format(u"%-38s %-20s %14s", p.adr2, u"Kat.Paysız Tutarı  :"_s, shownAmount(number(u"NET"_s)));
    out << p.adr3;
    out << QString();
    out << format(u"%-21s %s", u"Reçete Tarihi     :"_s, dateOrBlank(field(u"RECTARIH"_s)));
    out << format(u"%-21s %s / %s", u"Tahsis No/Sicil No:"_s, sskText(u"TAHSIS_DOSNO"_s), sskText(u"SICILNO"_s));
    out << format(u"%-20s %s", u"Yakınlık Durumu    :"_s, relationshipItem());
    out << format(u"%-21s %-18s %-18s %s", u"Reçete No          :"_s, text(u"SERINO"_s), u"Fatura No:"_s, text(u"FATURANO"_s));
    out << format(u"%-21s %-18s %-18s %s", u"Reç.İşlem Tarihi   :"_s, dateOrBlank(field(u"ALTARIH"_s)), u"Fatura Tarihi  :"_s,
                  dateOrBlank(field(u"FATARIH"_s)));
    return out;
}

void ReceteSskLogic::drawBackPrint(Canvas& canvas, int marginCm) const
{
    const PageGeometry g(canvas);
    const int x = g.cmX(marginCm);
    const int pitch = PageGeometry::linePitch(canvas, u"İÖĞygŞ"_s, 5);
    int y = 0;
    const QStringList text = backPrintLines();
    for (int i = 0; i < text.size(); ++i) {
        FontDef f = canvas.font();
        const bool was = f.underline;
        if (i == UnderlinedLine) {
            f.underline = true;
            canvas.setFont(f);
        }
        canvas.textOut(x, y, text[i]);
        if (i == UnderlinedLine) {
            f.underline = was;
            canvas.setFont(f);
        }
        y += pitch;
    }
}

std::unique_ptr<report::Report> ReceteSskLogic::previewReport() const
{
    auto rep = std::make_unique<report::Report>();
    report::Report& r = *rep;
    r.title = u"SSK Reçete Arkası"_s;
    std::vector<report::Row> rows;
    for (const SskPrescriptionLine& l : lines())
        rows.push_back(report::Row{{u"SIRANO"_s, l.no},  {u"ILACBAR"_s, l.code}, {u"FORMU"_s, l.form},
                                   {u"MIKTAR"_s, l.quantity}, {u"TUTAR"_s, l.amount}, {u"Nilac"_s, l.n},
                                   {u"Iilac"_s, l.i},     {u"Oilac"_s, l.o}});
    r.source = std::make_shared<report::RowsDataSource>(std::move(rows));
    constexpr double kLine = 5;
    const double lefts[] = {0, 13, 46, 65, 82, 105, 128, 151};
    const double widths[] = {12, 32, 18, 16, 22, 22, 22, 22};
    const QStringList rates = shownShareRates();
    const QStringList titles{u"SIRA"_s, u"  İLAÇ KODU "_s, u" FORMU"_s, u"MİKTARI"_s, u"TUTARI"_s,
                             u"( %"_s + rates[0] + u")"_s, u"( %"_s + rates[1] + u")"_s, u"( %"_s + rates[2] + u")"_s};
    for (int c = 0; c < titles.size(); ++c) {
        report::Control& t = r.titleBand.text(titles[c], lefts[c], 0, widths[c]);
        if (c >= 3) t.alignRight();
    }
    r.titleBand.height = kLine + 1;
    const QStringList fields{u"SIRANO"_s, u"ILACBAR"_s, u"FORMU"_s, u"MIKTAR"_s, u"TUTAR"_s, u"Nilac"_s, u"Iilac"_s, u"Oilac"_s};
    for (int c = 0; c < fields.size(); ++c) {
        report::Control& f = r.detail.field(fields[c], lefts[c], 0, widths[c]);
        if (c >= 4) f.withMask(u"#,##0"_s);
        if (c >= 3 || c == 0) f.alignRight();
    }
    r.detail.height = kLine;

    const Pharmacy p = pharmacy(session_.db);
    report::Band& s = r.summary;
    const QList<std::pair<QString, QString>> totals{
        {u"Genel Toplam :"_s, moneyText(number(u"BRUTN"_s) + number(u"BRUTI"_s) + number(u"BRUTO"_s))},
        {u"İskonto Tutarı :"_s, shownAmount(shares_.discount())},
        {u"H.Kat.Payı Tutarı :"_s, shownAmount(number(u"HASTAKATPAY"_s))},
        {u"Kat.Paysız Tutar :"_s, shownAmount(number(u"NET"_s))}};
    const QStringList stamp{p.name, p.pharmacist, p.adr1, p.adr2, p.adr3};
    double top = kLine;
    for (int i = 0; i < 5; ++i) {
        s.text(stamp[i], 0, top + i * kLine, 80);
        if (i < totals.size()) {
            s.text(totals[i].first, 90, top + i * kLine, 40).alignRight();
            s.text(totals[i].second, 132, top + i * kLine, 40).alignRight();
        }
    }
    top += 6 * kLine;
    const QList<std::pair<QString, QString>> facts{
        {u"Reçete Tarihi :"_s, dateOrBlank(field(u"RECTARIH"_s))},
        {u"Tahsis no/Sicil no :"_s, sskText(u"TAHSIS_DOSNO"_s) + u" / "_s + sskText(u"SICILNO"_s)},
        {u"Yakınlık Durumu :"_s, relationshipItem()},
        {u"Reçete No :"_s, text(u"SERINO"_s)},
        {u"Reçete İşl.Tar. :"_s, dateOrBlank(field(u"ALTARIH"_s))},
        {u"Fatura No :"_s, text(u"FATURANO"_s)},
        {u"Fatura Trh .:"_s, dateOrBlank(field(u"FATARIH"_s))}};
    for (int i = 0; i < facts.size(); ++i) {
        s.text(facts[i].first, 0, top + i * kLine, 40);
        s.text(facts[i].second, 42, top + i * kLine, 80);
    }
    s.height = top + facts.size() * kLine;
    return rep;
}

}  // namespace selvar
