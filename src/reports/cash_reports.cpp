#include "reports/cash_reports.h"

#include "core/dates.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;
using report::Row;

std::unique_ptr<report::Report> kasaReport(const QList<KasaRow>& rows, const QString& title, std::optional<int> marginMm)
{
    auto r = std::make_unique<report::Report>();
    r->title = title.isEmpty() ? u"KASA RAPORU"_s : title;
    r->setup.orientation = Orientation::Landscape;
    r->leftMargin = marginMm.value_or(10);
    r->topMargin = 10;
    std::vector<Row> data;
    for (const KasaRow& k : rows)
        data.push_back(Row{{u"TARIH"_s, k.day}, {u"PARSAT"_s, k.retail}, {u"PREC"_s, k.plainPrescriptions},
                           {u"SFAT"_s, k.privateInvoices}, {u"HKP"_s, k.patientShares}, {u"NTAH"_s, k.cashIn},
                           {u"VSAT"_s, k.creditSales}, {u"NODE"_s, k.cashOut}, {u"ISKON"_s, k.discounts},
                           {u"GENTOP"_s, k.total}});
    r->source = std::make_shared<report::RowsDataSource>(std::move(data));
    r->pageHeader.height = 6;
    r->pageHeader.text(u"Sayfa No "_s, 0, 0, 20);
    r->pageHeader.pageNumber(20, 0, 15);
    r->pageHeader.text(u"Döküm Trh :"_s, 200, 0, 25);
    r->pageHeader.date(225, 0, 30);
    r->titleBand.height = 10;
    r->titleBand.text(r->title, 0, 2, 270).alignCenter().withStyles(FontStyle::Bold);
    const QStringList headings{u"Tarih"_s,          u"Prk.Satışlar"_s,   u"Prk.Reç.Sat.lar"_s, u"Şhs. Faturaları"_s,
                               u"Krm.Hst.K.Payı"_s, u"Nkt.Tahsilatlar"_s, u"V.Satışlar"_s,      u"Nakit Ödemeler"_s,
                               u"İskontolar"_s,     u"KASA TOPLAMI"_s};
    const QStringList fields{u"TARIH"_s, u"PARSAT"_s, u"PREC"_s, u"SFAT"_s, u"HKP"_s,
                             u"NTAH"_s,  u"VSAT"_s,   u"NODE"_s, u"ISKON"_s, u"GENTOP"_s};
    r->columnHeader.height = 7;
    r->detail.height = 5;
    r->summary.height = 7;
    const KasaRow total = rows.isEmpty() ? KasaRow{} : rows.last();
    const double totals[] = {total.retail,  total.plainPrescriptions, total.privateInvoices, total.patientShares,
                             total.cashIn,  total.creditSales,        total.cashOut,         total.discounts,
                             total.total};
    for (int i = 0; i < fields.size(); ++i) {
        const double left = i == 0 ? 0 : 20 + (i - 1) * 27.5, width = i == 0 ? 20 : 27;
        // The headings in a smaller type, so ten of them fit across the page.
        auto& h = r->columnHeader.text(headings[i], left, 1, width).withStyles(FontStyle::Bold).withSize(7);
        auto& d = r->detail.field(fields[i], left, 0, width);
        if (i > 0) {
            h.alignRight();
            d.withMask(u"#,#"_s).alignRight();
            // The period's figures once more under their columns.
            r->summary.expression([v = totals[i - 1]](const report::BandContext&) { return QVariant(v); }, left, 2, width)
                .withMask(u"#,#"_s)
                .alignRight();
        }
    }
    r->summary.text(u"Toplam:"_s, 0, 2, 20).withStyles(FontStyle::Bold);
    return r;
}

std::unique_ptr<report::Report> movementReport(const CashSummary& s, const QString& title)
{
    auto r = std::make_unique<report::Report>();
    r->title = title.isEmpty() ? u"KASA CARİ HESAP TOPLAMI"_s : title;
    r->leftMargin = 10;
    r->topMargin = 10;
    std::vector<Row> data;
    for (const MovementGroup& g : s.groups)
        data.push_back(Row{{u"ALACAK"_s, g.credit}, {u"BORC"_s, g.debit}, {u"TUR"_s, g.kind}, {u"DURUM"_s, g.state},
                           {u"ADET"_s, g.count}});
    r->source = std::make_shared<report::RowsDataSource>(std::move(data));
    r->titleBand.height = 14;
    r->titleBand.text(r->title, 0, 0, 190).alignCenter().withStyles(FontStyle::Bold);
    r->titleBand.text(u"Tarih :"_s, 140, 7, 15);
    r->titleBand.date(155, 7, 35);
    r->columnHeader.height = 7;
    r->columnHeader.text(u"Kasa Cari Hesap Borç Toplamı"_s, 0, 1, 45).withStyles(FontStyle::Bold);
    r->columnHeader.text(u"Kasa Cari Hesap Alacak Toplamı"_s, 47, 1, 48).withStyles(FontStyle::Bold);
    r->columnHeader.text(u"TÜRÜ"_s, 97, 1, 35).withStyles(FontStyle::Bold);
    r->columnHeader.text(u"Son Durum"_s, 134, 1, 35).withStyles(FontStyle::Bold);
    r->columnHeader.text(u"Adet"_s, 171, 1, 15).withStyles(FontStyle::Bold);
    r->detail.height = 5;
    r->detail.field(u"ALACAK"_s, 0, 0, 45).withMask(u"#,#"_s).alignRight();
    r->detail.field(u"BORC"_s, 47, 0, 48).withMask(u"#,#"_s).alignRight();
    r->detail.field(u"TUR"_s, 97, 0, 35);
    r->detail.field(u"DURUM"_s, 134, 0, 35);
    r->detail.field(u"ADET"_s, 171, 0, 15).alignRight();
    r->summary.height = 12;
    r->summary.text(u"TOPLAM"_s, 97, 1, 35).withStyles(FontStyle::Bold);
    r->summary.sum(u"ALACAK"_s, 0, 1, 45).withMask(u"#,#"_s).alignRight();
    r->summary.sum(u"BORC"_s, 47, 1, 48).withMask(u"#,#"_s).alignRight();
    r->summary.text(u"KALAN"_s, 97, 6, 35).withStyles(FontStyle::Bold);
    r->summary.expression([v = s.remaining()](const report::BandContext&) { return QVariant(v); }, 47, 6, 48)
        .withMask(u"#,#"_s)
        .alignRight();
    return r;
}

std::unique_ptr<report::Report> profitReport(const QList<ProfitRow>& rows, const QDate& start, const QDate& end,
                                             const QString& kindCaption)
{
    auto r = std::make_unique<report::Report>();
    r->title = dateText(start) + u"---"_s + dateText(end) + u" Arası"_s;
    r->leftMargin = 10;
    r->topMargin = 10;
    std::vector<Row> data;
    for (const ProfitRow& p : rows)
        data.push_back(Row{{u"ILACAD"_s, p.productName},
                           {u"GIRFIYAT"_s, p.hasEntry ? QVariant(p.entryPrice) : QVariant()},
                           {u"MIKTAR"_s, p.quantity}, {u"FIYAT"_s, p.price}, {u"KAR"_s, p.profit},
                           {u"SATISNO"_s, p.saleNo}});
    r->source = std::make_shared<report::RowsDataSource>(std::move(data));
    r->titleBand.height = 22;
    r->titleBand.text(u"Alışı Girilmiş Ürünlerin İlgili Olduğu Tarihin En Yüksek Giriş Fiyatına Göre Karlılık "
                      u"Değerlendirmesi"_s,
                      0, 0, 190)
        .withStyles(FontStyle::Bold);
    r->titleBand.text(r->title, 0, 7, 190);
    r->titleBand.text(u"Giriş Fiyat Belli Olan Ürünlerin "_s + kindCaption + u" Kar Tutarları"_s, 0, 13, 190);
    r->columnHeader.height = 7;
    const QStringList headings{u"İlaç Adı"_s, u"Giriş Fiyatı"_s, u"Adet"_s, u"Çıkış Fiyatı"_s, u"Kar Tutarı"_s, u"Satış No"_s};
    const QStringList fields{u"ILACAD"_s, u"GIRFIYAT"_s, u"MIKTAR"_s, u"FIYAT"_s, u"KAR"_s, u"SATISNO"_s};
    const double lefts[] = {0, 70, 100, 115, 145, 175}, widths[] = {68, 28, 13, 28, 28, 15};
    r->detail.height = 5;
    for (int i = 0; i < fields.size(); ++i) {
        auto& h = r->columnHeader.text(headings[i], lefts[i], 1, widths[i]).withStyles(FontStyle::Bold);
        auto& d = r->detail.field(fields[i], lefts[i], 0, widths[i]);
        if (i > 0) {
            h.alignRight();
            d.alignRight();
            if (i != 2 && i != 5) d.withMask(u"#,#"_s);
        }
    }
    // The running profit up to this page: a sum of the rendering itself, so a copy
    // printed from the preview counts it afresh.
    r->pageFooter.height = 12;
    r->pageFooter.text(u"Toplam"_s, 100, 0, 20).withStyles(FontStyle::Bold);
    r->pageFooter.sum(u"KAR"_s, 120, 0, 53).withPattern(u"%25.0m"_s).alignRight();
    r->pageFooter.text(u"Döküm Basım Trh:"_s, 0, 6, 30);
    r->pageFooter.date(30, 6, 30);
    r->pageFooter.text(u"Sayfa No: "_s, 150, 6, 20);
    r->pageFooter.pageNumber(170, 6, 15);
    return r;
}

}  // namespace selvar
