// The private reports on one fixture of two days (02.03–03.03.2026): the password and its
// log row, the cash summary, the account movements by kind and state, the day-by-day
// table, the two lists with their total and the profit against the entry prices.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/document.h"
#include "print/print_service.h"
#include "reports/cash_logic.h"
#include "reports/cash_reports.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
const QDate D2(2026, 3, 2), D3(2026, 3, 3);

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(9, 0))};
    Session session{t.db(), prompter, clock};
    qint64 a = 0, b = 0, c = 0, d = 0;
    Fixture()
    {
        a = addProduct(t.db(), u"A ÜRÜN"_s, 10800, 10);
        b = addProduct(t.db(), u"B ÜRÜN"_s, 11800, 10, {}, u"N"_s, 18);
        c = addProduct(t.db(), u"C ÜRÜN"_s, 5400, 10);
        d = addProduct(t.db(), u"D ÜRÜN"_s, 20000, 10);
        sale(1, QDateTime(D2, QTime(10, 0)), {{a, 2, 10800, 8}, {b, 1, 11800, 18}});
        insertRecord(t.db(), u"iskonto"_s, {{u"SATISNO"_s, 1.0}, {u"TARIH"_s, D2}, {u"ISKONTUT"_s, 400.0}});
        sale(2, QDateTime(D3, QTime(23, 59)), {{c, 1, 5400, 8}});
        sale(3, QDateTime(QDate(2026, 3, 4), QTime(0, 0)), {{c, 1, 5400, 8}});
        sale(4, QDateTime(D2, QTime(12, 0)), {{d, 1, 20000, 8}}, u"R"_s);
        prescription(u"XX1"_s, D2, {}, 10800, 800, 0, QVariant());
        prescription(u"XX2"_s, D2, u"ES"_s, 43200, 3200, 10800, QVariant());
        prescription(u"XX3"_s, D3, u"SSK"_s, 21600, 1600, 5400, 5.0);
        prescription(u"XX4"_s, D3, u"ES"_s, 0, 0, 5000, QVariant());
        insertRecord(t.db(), u"FATURA"_s, {{u"FATNO"_s, 1.0}, {u"FATARIH"_s, D3}, {u"NET"_s, 16200.0}, {u"TOPKDV"_s, 1200.0}});
        insertRecord(t.db(), u"FATURA"_s,
                     {{u"FATNO"_s, 2.0}, {u"FATARIH"_s, D3}, {u"NET"_s, 99000.0}, {u"TOPKDV"_s, 9000.0}, {u"RCTOPSAYISI"_s, 12}});
        insertRecord(t.db(), u"ALIS1"_s, {{u"ALISNO"_s, 1.0}, {u"FATARIH"_s, D2}, {u"NET"_s, 54000.0}, {u"KDVTOP"_s, 4000.0}});
        movement(1, u"M"_s, D2, 5400, 0, 0);
        movement(2, u"N"_s, D2, 0, 3000, 1);
        movement(3, u"N"_s, D3, 1000, 0, 1);
        movement(4, u"A"_s, D2, 0, 50000, 0);
        movement(5, u"S"_s, D3, 7000, 0, 3);
        movement(6, u"Ç"_s, D3, 0, 4000, 2);
    }
    void sale(double no, const QDateTime& when, const QList<std::tuple<qint64, int, double, double>>& lines,
              const QString& kind = u"P"_s)
    {
        int l = 0;
        for (const auto& [p, q, price, vat] : lines)
            insertRecord(t.db(), u"SATIS"_s,
                         {{u"SATISNO"_s, no}, {u"SIRANOURUN"_s, ++l}, {u"SATARIH"_s, when}, {u"ILACNO"_s, p},
                          {u"FIYAT"_s, price}, {u"MIKTAR"_s, q}, {u"KDV"_s, vat}, {u"PARAKENDE"_s, kind}});
    }
    void prescription(const QString& book, const QDate& day, const QString& institution, double net, double vat,
                      double share, const QVariant& invoice)
    {
        insertRecord(t.db(), u"RECETE"_s,
                     {{u"RKDEFTERNO"_s, book}, {u"ALTARIH"_s, day}, {u"KURUMKOD"_s, institution.isEmpty() ? QVariant() : QVariant(institution)},
                      {u"NET"_s, net}, {u"KDVA"_s, vat}, {u"HASTAKATPAY"_s, share}, {u"FATNO"_s, invoice}});
    }
    void movement(double no, const QString& kind, const QDate& day, double debit, double credit, int settled)
    {
        insertRecord(t.db(), u"HAREKET"_s,
                     {{u"HAREKNO"_s, no}, {u"TUR"_s, kind}, {u"TARIH"_s, day}, {u"BORC"_s, debit}, {u"ALACAK"_s, credit},
                      {u"NIHAI"_s, settled}});
    }
    void entry(qint64 p, const QDateTime& when, double price)
    {
        insertRecord(t.db(), u"URUNHRK"_s,
                     {{u"ILACNO"_s, p}, {u"GCTARIH"_s, when}, {u"GIRMIK"_s, 1.0}, {u"GIRFIYAT"_s, price}, {u"ALSATNO"_s, 9.0},
                      {u"SIRANO"_s, 1}});
    }
};
}  // namespace

class TstCash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void passwordAndLogRow();
    void summary();
    void movementStates();
    void dayByDayTable();
    void lists();
    void profit();
    void printedReports();
};

void TstCash::passwordAndLogRow()
{
    Fixture f;
    Sql::run(f.t.db(), u"UPDATE EKIM SET OZEL = 'gizli'"_s);
    if (Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM EKIM"_s).toInt() == 0)
        insertRecord(f.t.db(), u"EKIM"_s, {{u"OZEL"_s, u"gizli"_s}});
    QVERIFY(privatePasswordMatches(f.t.db(), u"gizli"_s));
    QVERIFY(!privatePasswordMatches(f.t.db(), u"GIZLI"_s));
    QVERIFY(!privatePasswordMatches(f.t.db(), u"gizli "_s));
    logPrivateReportViewed(f.session);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ACIKLA FROM PROSES WHERE ISLETIPI = 'Özel Rapor'"_s).toString(),
             u"Şifreli Özel Rapora Bakıldı !"_s);
}

void TstCash::summary()
{
    Fixture f;
    const CashSummary s = cashSummary(f.t.db(), D2, D3);
    QCOMPARE(wholeAmount(s.purchaseVat), u"4.000"_s);
    QCOMPARE(wholeAmount(s.purchaseNet), u"50.000"_s);
    QCOMPARE(wholeAmount(s.salesVat), u"11.896"_s);
    QCOMPARE(wholeAmount(s.salesNet), u"139.904"_s);
    QCOMPARE(countedAmount(s.retail, s.retailSales, u" Adet Sat.)"_s), u"38.800 (2 Adet Sat.)"_s);
    QCOMPARE(countedAmount(s.privateInvoices, s.invoices, u" Adet Fat.)"_s), u"16.200 (1 Adet Fat.)"_s);
    QCOMPARE(countedAmount(s.plainPrescriptions, s.plainCount, u" Adet Reç.)"_s), u"10.800 (1 Adet Reç.)"_s);
    QCOMPARE(countedAmount(s.uninvoiced, s.uninvoicedCount, u" Adet Krm.Rç.)"_s), u"43.200 (2 Adet Krm.Rç.)"_s);
    QCOMPARE(s.patientShares, 21200.0);
    QCOMPARE(s.totalCredit, 57000.0);
    QCOMPARE(s.totalDebit, 13400.0);
    QCOMPARE(s.remaining(), -43600.0);
    QCOMPARE(wholeAmount(s.remaining()), u"-43.600"_s);
    QCOMPARE(s.discounts, 400.0);
    QCOMPARE(s.cashRegister, 83200.0);
    QCOMPARE(s.general, 82800.0);
    QStringList groups;
    for (const MovementGroup& g : s.groups)
        groups << g.kind + u'/' + g.state + u'/' + QString::number(g.count) + u'/' + QString::number(g.credit) + u'/'
                      + QString::number(g.debit);
    QVERIFY(groups.contains(u"ALIMLAR/Açık/1/50000/0"_s));
    QVERIFY(groups.contains(u"VERESİYELER/Açık/1/0/5400"_s));
    QVERIFY(groups.contains(u"NAKİTLER//2/3000/1000"_s));
    QVERIFY(groups.contains(u"ÇEKLER/Çek Cirolandı/1/4000/0"_s));
    QVERIFY(groups.contains(u"SENETLER/Senet Verildi/1/0/7000"_s));
    QCOMPARE(groups.size(), 5);
}

void TstCash::movementStates()
{
    // Every cell of the state table.
    const QList<std::tuple<QString, int, double, QString>> cases{
        {u"A"_s, 0, 0, u"Açık"_s},          {u"D"_s, 1, 0, u"Kapatıldı"_s},        {u"K"_s, 4, 0, u"Kapatıldı"_s},
        {u"S"_s, 1, 5, u"Senet Ödendi"_s},   {u"S"_s, 2, 5, u"Protesto"_s},        {u"S"_s, 0, 5, u"Senet Verildi"_s},
        {u"S"_s, 1, 0, u"Senet Tahsil Edl."_s}, {u"S"_s, 3, 0, u"Protesto"_s},     {u"S"_s, 0, 0, u"Senet Alındı"_s},
        {u"Ç"_s, 1, 5, u"Çek Ödendi"_s},     {u"Ç"_s, 2, 5, u"Karşılıksız Çek"_s}, {u"Ç"_s, 3, 5, u"Çek Verildi"_s},
        {u"Ç"_s, 1, 0, u"Çek Tahsil Edl."_s}, {u"Ç"_s, 3, 0, u"Karşılıksız Çek"_s}, {u"Ç"_s, 9, 0, u"Çek Alındı"_s},
        {u"N"_s, 1, 5, QString()}};
    for (const auto& [kind, settled, debit, state] : cases) QCOMPARE(movementState(kind, settled, debit), state);
}

void TstCash::dayByDayTable()
{
    Fixture f;
    const QList<KasaRow> rows = buildKasaTable(f.t.db(), D2, D3);
    const auto text = [](const KasaRow& r) {
        QStringList v{r.day};
        for (double x : {r.retail, r.plainPrescriptions, r.privateInvoices, r.patientShares, r.creditSales, r.cashIn,
                         r.cashOut, r.total, r.discounts})
            v << QString::number(x);
        return v.join(u' ');
    };
    QCOMPARE(rows.size(), 3);
    QCOMPARE(text(rows[0]), u"02.03.26 33400 10800 0 10800 5400 3000 0 52200 400"_s);
    QCOMPARE(text(rows[1]), u"03.03.26 5400 0 16200 10400 0 0 1000 31000 0"_s);
    QCOMPARE(text(rows[2]), u"Toplam: 38800 10800 16200 21200 5400 3000 1000 83200 400"_s);
    // The table itself, in its field order; rebuilt, not appended to.
    buildKasaTable(f.t.db(), D2, D3);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM KASA"_s).toInt(), 3);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT GENTOP FROM KASA WHERE TARIH = 'Toplam:'"_s).toDouble(), 83200.0);
    // One day: a row and an equal "Toplam:".
    const QList<KasaRow> one = buildKasaTable(f.t.db(), D3, D3);
    QCOMPARE(one.size(), 2);
    QCOMPARE(text(one[1]).mid(8), text(one[0]).mid(9));
}

void TstCash::lists()
{
    Fixture f;
    double total = 0;
    const QList<ListRow> sales = salesList(f.t.db(), D2, D3, &total);
    QCOMPARE(sales.size(), 4);
    QCOMPARE(total, 58800.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM XTOPLAM"_s).toInt(), 4);
    QCOMPARE(saleKindText(sales[2].kind), u"Reçete"_s);
    QVERIFY(salesList(f.t.db(), QDate(2026, 1, 1), QDate(2026, 1, 2), &total).isEmpty());
    // The listing's lines and its total.
    RecordingPrintService printing;
    auto canvas = printing.beginJob(u"SATIŞLAR LİSTESİ"_s, PageSetup(), false);
    drawList(*canvas, u"02.03.2026-03.03.2026 ARASI SATIŞ LİSTESİ"_s, sales, 58800, 0, false, QDate(2026, 3, 4));
    canvas->endDocument();
    const QStringList lines = printing.lastJob().document.lines(0);
    QCOMPARE(lines.value(0), u"Sayfa No :1"_s);
    QVERIFY(lines.contains(u"Tarih :04.03.2026"_s));
    QCOMPARE(lines.value(2), u"02.03.2026-03.03.2026 ARASI SATIŞ LİSTESİ"_s);
    QCOMPARE(lines.value(3), u"TARİH      İLAÇ ADI"_s + QString(35, u' ') + u"FİYAT    MİKTAR         TUTAR"_s);
    QCOMPARE(lines.value(4), u"02.03.26 10:00 A ÜRÜN"_s + QString(36, u' ') + u"10.800 TL      2        21.600 TL"_s);
    QCOMPARE(lines.value(7), u"03.03.26 23:59 C ÜRÜN"_s + QString(37, u' ') + u"5.400 TL      1         5.400 TL"_s);
    QCOMPARE(lines.last(), u"TOPLAM :"_s + QString(45, u' ') + u"58.800 TL      0        58.800 TL"_s);
    // A long list goes on over pages, each under its number and the heading again.
    QList<ListRow> many;
    for (int i = 0; i < 120; ++i) many << sales[i % sales.size()];
    auto longCanvas = printing.beginJob(u"SATIŞLAR LİSTESİ"_s, PageSetup(), false);
    drawList(*longCanvas, u"LİSTE"_s, many, 1, 0, false, QDate(2026, 3, 4));
    longCanvas->endDocument();
    const Document& long_ = printing.lastJob().document;
    QVERIFY(long_.pageCount() >= 2);
    QCOMPARE(long_.lines(1).value(0), u"Sayfa No :2"_s);
    QCOMPARE(long_.lines(1).value(1), u"TARİH      İLAÇ ADI"_s + QString(35, u' ') + u"FİYAT    MİKTAR         TUTAR"_s);
    // A purchase line recorded on the last day at 23:59 is in; its amount is price × quantity.
    insertRecord(f.t.db(), u"ALIS3"_s,
                 {{u"ALISNO"_s, 1.0}, {u"SIRANOILAC"_s, 1}, {u"ILACNO"_s, f.a}, {u"FIYAT"_s, 7000.0}, {u"MIKTAR"_s, 3},
                  {u"ALISTARIH"_s, QDateTime(D3, QTime(23, 59))}});
    const QList<ListRow> purchases = purchaseList(f.t.db(), D2, D3, &total);
    QCOMPARE(purchases.size(), 1);
    QCOMPARE(total, 21000.0);
}

void TstCash::profit()
{
    Fixture f;
    f.entry(f.a, QDateTime(QDate(2026, 3, 1), QTime(12, 0)), 7000);
    f.entry(f.a, QDateTime(D2, QTime(9, 0)), 8000);
    f.entry(f.a, QDateTime(D2, QTime(11, 0)), 9500);  // after the sale: not its entry price
    f.entry(f.c, QDateTime(QDate(2026, 3, 1), QTime(12, 0)), 4000);
    f.entry(f.d, QDateTime(QDate(2026, 3, 1), QTime(12, 0)), 15000);
    QList<ProfitRow> rows = profitRows(f.t.db(), D2, D3, 0);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].profit, 5600.0);
    QCOMPARE(rows[0].entryPrice, 8000.0);
    QCOMPARE(rows[1].profit, 0.0);  // never entered
    QVERIFY(!rows[1].hasEntry);
    QCOMPARE(rows[2].profit, 1400.0);
    double sum = 0;
    for (const ProfitRow& r : rows) sum += r.profit;
    QCOMPARE(sum, 7000.0);
    sum = 0;
    for (const ProfitRow& r : profitRows(f.t.db(), D2, D3, 4)) sum += r.profit;
    QCOMPARE(sum, 12000.0);
    QCOMPARE(profitKindCaptions().last(), u"Tüm Satışlar"_s);
}

void TstCash::printedReports()
{
    Fixture f;
    RecordingPrintService printing;
    // The day-by-day report: its title, columns, days and the period once more at the end.
    const QList<KasaRow> days = buildKasaTable(f.t.db(), D2, D3);
    auto kasa = kasaReport(days, u"02.03.2026-03.03.2026 Arası Kasa Raporu"_s, 15);
    printing.preview(*kasa);
    QString page = printing.previews().back().lines(0).join(u'\n');
    QVERIFY(page.contains(u"02.03.2026-03.03.2026 Arası Kasa Raporu"_s));
    QVERIFY(page.contains(u"Sayfa No"_s));
    QVERIFY(page.contains(u"Döküm Trh :"_s));
    QVERIFY(page.contains(u"KASA TOPLAMI"_s));
    QVERIFY(page.contains(u"02.03.26"_s));
    QVERIFY(page.contains(u"52.200"_s));
    QCOMPARE(page.count(u"83.200"_s), 2);  // the "Toplam:" row and the summary under it
    // The profit report: the page footer's running total, also on the copy printed from
    // the preview, which renders the report again.
    f.entry(f.a, QDateTime(D2, QTime(9, 0)), 8000);
    f.entry(f.c, QDateTime(QDate(2026, 3, 1), QTime(12, 0)), 4000);
    auto profit = profitReport(profitRows(f.t.db(), D2, D3, 0), D2, D3, profitKindCaptions()[0]);
    printing.printFromNextPreview();
    printing.preview(*profit);
    page = printing.previews().back().lines(0).join(u'\n');
    QVERIFY(page.contains(u"02.03.2026---03.03.2026 Arası"_s));
    QVERIFY(page.contains(u"Giriş Fiyat Belli Olan Ürünlerin Perakende Satışlar Kar Tutarları"_s));
    QVERIFY(page.contains(u"7.000 TL"_s));
    const QString printed = printing.lastJob().document.lines(0).join(u'\n');
    QVERIFY(printed.contains(u"7.000 TL"_s));
    QVERIFY(!printed.contains(u"14.000 TL"_s));
}

QTEST_GUILESS_MAIN(TstCash)
#include "tst_cash.moc"
