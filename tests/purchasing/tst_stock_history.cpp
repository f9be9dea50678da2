// A product's movement history: where each movement came from, the totals over all of
// them, a date range, the grid read a page at a time, the listing and its font row.
#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/document.h"
#include "print/print_service.h"
#include "print/report_fonts.h"
#include "purchasing/stock_history_logic.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(14, 0))};
    RecordingPrintService printing{300};
    Session session{t.db(), prompter, clock};
    qint64 a = 0, b = 0, empty = 0;
    Fixture()
    {
        session.print = &printing;
        a = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 5000);
        b = addProduct(t.db(), u"VİTAMİN C 1000 MG"_s, 5000);
        empty = addProduct(t.db(), u"HİÇ HAREKETSİZ"_s, 5000);
        insertRecord(t.db(), u"ALIS1"_s, {{u"ALISNO"_s, 12.0}, {u"KRMKOD"_s, u"DEPO1"_s}, {u"FATNO"_s, u"A-4500"_s}});
        for (const auto& [no, kind] : QList<std::pair<double, QString>>{
                 {57, u"F"_s}, {58, u"E"_s}, {59, u"R"_s}, {60, u"R"_s}, {61, u"P"_s}, {62, u"X"_s}, {63, QString()}})
            insertRecord(t.db(), u"SATIS"_s,
                         {{u"SATISNO"_s, no}, {u"SIRANOURUN"_s, 1}, {u"ILACNO"_s, a}, {u"MIKTAR"_s, 1}, {u"FIYAT"_s, 5000.0},
                          {u"PARAKENDE"_s, kind.isEmpty() ? QVariant() : QVariant(kind)}});
        insertRecord(t.db(), u"FATURA"_s, {{u"FATNO"_s, 3.0}, {u"SATISNO"_s, 57.0}, {u"KRMAD"_s, u"BAĞ-KUR GENEL MÜDÜRLÜĞÜ"_s}});
        const qint64 patient = insertRecord(t.db(), u"HASTA"_s, {{u"HASTADI"_s, u"AYŞE"_s}, {u"HASTASOYAD"_s, u"DEMİR"_s}});
        insertRecord(t.db(), u"RECETE"_s, {{u"RKDEFTERNO"_s, u"X1"_s}, {u"SATISNO"_s, 59.0}, {u"HASTANO"_s, patient}});
        insertRecord(t.db(), u"RECETE"_s, {{u"RKDEFTERNO"_s, u"X2"_s}, {u"SATISNO"_s, 60.0}, {u"HASTANO"_s, 999999}});
        // Product a: one movement of every source, a day apart.
        int day = 0;
        auto move = [&](qint64 product, const QDateTime& when, QVariant in, QVariant inPrice, QVariant out,
                        QVariant outPrice, double doc, qint64 line) {
            insertRecord(t.db(), u"URUNHRK"_s,
                         {{u"ILACNO"_s, product}, {u"GCTARIH"_s, when}, {u"GIRMIK"_s, in}, {u"GIRFIYAT"_s, inPrice},
                          {u"CIKMIK"_s, out}, {u"CIKFIYAT"_s, outPrice}, {u"ALSATNO"_s, doc}, {u"SIRANO"_s, line}});
        };
        auto exitOf = [&](double sale) {
            move(a, QDateTime(QDate(2026, 2, 1).addDays(day++), QTime(10, 0)), {}, {}, 1, 5000.0, sale, 1);
        };
        move(a, QDateTime(QDate(2026, 1, 31), QTime(9, 0)), 20, 4000.0, {}, {}, 12, 1);
        for (double sale : {57, 58, 59, 60, 61, 62, 63, 99}) exitOf(sale);
        move(a, QDateTime(QDate(2026, 3, 1), QTime(9, 0)), 1, 4000.0, {}, {}, 7, 999999999);
        move(a, QDateTime(QDate(2026, 3, 2), QTime(9, 0)), 0, {}, 0, {}, 64, 1);
        // Product b: the totals and the listing.
        move(b, QDateTime(QDate(2026, 1, 5), QTime(10, 30)), 10, 4000.0, {}, {}, 12, 1);
        move(b, QDateTime(QDate(2026, 1, 6), QTime(9, 0)), 5, 4200.0, {}, {}, 13, 1);
        move(b, QDateTime(QDate(2026, 1, 7), QTime(16, 5)), {}, {}, 3, 5000.0, 61, 1);
        insertRecord(t.db(), u"MRAPORD"_s, {{u"ILACNO"_s, b}, {u"MIKDEG"_s, -2}});
        insertRecord(t.db(), u"MRAPORD"_s, {{u"ILACNO"_s, b}, {u"MIKDEG"_s, 5}});
    }
    QStringList texts(int page = -1) const
    {
        QStringList r;
        const Document& d = printing.jobs().back().document;
        for (size_t p = 0; p < d.pages.size(); ++p)
            if (page < 0 || int(p) == page)
                for (const TextItem& i : d.pages[p].texts()) r << i.text;
        return r;
    }
};
}  // namespace

class TstStockHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void explanations();
    void totalsAndRange();
    void gridReadsPageByPage();
    void listing();
    void listingOverPages();
    void fontRow();
};

void TstStockHistory::explanations()
{
    Fixture f;
    StockHistoryLogic l(f.session, f.a, u"PAROL 500 MG 20 TABLET"_s);
    QCOMPARE(l.title(), u"PAROL 500 MG 20 TABLET Adlı Ürünün Stok Bilgileri"_s);
    const QList<Movement> rows = l.page(nullptr, 100);
    QCOMPARE(rows.size(), 11);
    QStringList said, numbers;
    for (const Movement& m : rows) {
        said << l.explain(m);
        numbers << m.numberText();
    }
    QCOMPARE(said, (QStringList{u"DEPO1 Kodlu yerden A-4500 No lu Fatura ile alınmıştır.(Alış No:12)"_s,
                                u"BAĞ-KUR GENEL MÜDÜRLÜĞÜ Adlı Kişi ya da krm.a Ait Faturalı Satış(57 no lu Satış)"_s,
                                u"58 Nolu Faturalı Satış"_s,
                                u"AYŞE DEMİR Adlı Kişi ye ait Reçeteli Satış"_s,
                                u"60 Nolu Reçeteli Satış"_s,
                                u"61 Nolu Perakende Satış"_s,
                                u"Nolu kayıt Bulunamadı.Silinmiş ya da dışardan Müdahale olabilir."_s,
                                QString(),  // an empty kind
                                QString(),  // a sale that is gone
                                QString(),  // an exchange
                                QString()}));  // neither entry nor exit
    QCOMPARE(numbers.first(), u"Alış No :12"_s);
    QCOMPARE(numbers[5], u"Satış No :61"_s);
    QCOMPARE(numbers[9], u"Takas No :7"_s);
    QCOMPARE(numbers[10], u"Satış No :64"_s);
}

void TstStockHistory::totalsAndRange()
{
    Fixture f;
    StockHistoryLogic l(f.session, f.b, u"VİTAMİN C 1000 MG"_s);
    StockTotals t = l.totals();
    QVERIFY(t.any);
    QCOMPARE(t.inValue, 61000.0);
    QCOMPARE(t.outValue, 15000.0);
    QCOMPARE(t.inQuantity, 15.0);
    QCOMPARE(t.outQuantity, 3.0);
    QCOMPARE(t.difference(), -46000.0);
    QCOMPARE(t.offMovement.value_or(-1), 3.0);
    // One day shown: fewer rows, the same totals.
    l.showRange(QDate(2026, 1, 6), QDate(2026, 1, 6));
    QCOMPARE(l.page(nullptr, 100).size(), 1);
    QCOMPARE(l.totals().difference(), -46000.0);
    // A range ending today takes today's last half second.
    insertRecord(f.t.db(), u"URUNHRK"_s,
                 {{u"ILACNO"_s, f.b}, {u"GCTARIH"_s, QDateTime(QDate(2026, 12, 9), QTime(23, 59, 59, 500))}, {u"CIKMIK"_s, 1},
                  {u"CIKFIYAT"_s, 5000.0}, {u"ALSATNO"_s, 61.0}, {u"SIRANO"_s, 2}});
    l.showRange(QDate(2026, 12, 1), QDate(2026, 12, 9));
    QCOMPARE(l.page(nullptr, 100).size(), 1);
    // A product without movements: nothing anywhere.
    StockHistoryLogic none(f.session, f.empty, u"HİÇ HAREKETSİZ"_s);
    t = none.totals();
    QVERIFY(!t.any);
    QVERIFY(!t.offMovement);
    QVERIFY(none.page(nullptr, 100).isEmpty());
}

void TstStockHistory::gridReadsPageByPage()
{
    Fixture f;
    const qint64 busy = addProduct(f.t.db(), u"ÇOK SATAN"_s, 1000);
    {
        Transaction tx(f.t.db());
        // 250 movements, several at the same minute with different documents.
        for (int i = 0; i < 250; ++i)
            insertRecord(f.t.db(), u"URUNHRK"_s,
                         {{u"ILACNO"_s, busy}, {u"GCTARIH"_s, QDateTime(QDate(2025, 1, 1).addDays(i / 3), QTime(9, 0))},
                          {u"CIKMIK"_s, 1}, {u"CIKFIYAT"_s, 1000.0}, {u"ALSATNO"_s, double(1000 + i % 3)}, {u"SIRANO"_s, i}});
        tx.commit();
    }
    StockHistoryLogic l(f.session, busy, u"ÇOK SATAN"_s);
    StockHistoryModel m(l);
    m.reload();
    QCOMPARE(m.rowCount(), 100);
    QVERIFY(m.canFetchMore({}));
    m.fetchMore({});
    m.fetchMore({});
    QCOMPARE(m.rowCount(), 250);
    QVERIFY(!m.canFetchMore({}));
    // Every movement once, in order.
    for (int i = 1; i < m.rowCount(); ++i) {
        const Movement& p = *m.at(i - 1);
        const Movement& c = *m.at(i);
        QVERIFY(p.when < c.when || (p.when == c.when && (p.documentNo < c.documentNo || (p.documentNo == c.documentNo && p.line < c.line))));
    }
    QCOMPARE(m.data(m.index(0, 0)).toString(), u"01.01.25 09:00"_s);
    QCOMPARE(m.data(m.index(0, 4)).toString(), u"1.000"_s);
    QCOMPARE(m.data(m.index(0, 5)).toString(), u"Satış No :1000"_s);
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), u"Grş.Mik."_s);
}

void TstStockHistory::listing()
{
    Fixture f;
    StockHistoryLogic l(f.session, f.b, u"VİTAMİN C 1000 MG"_s);
    l.loadFont();
    QVERIFY(l.print(u"ÜRÜN GİRİŞ ÇIKIŞ HAREKETLERİ"_s));
    QCOMPARE(f.printing.jobs().back().document.title, u"ÜRÜN GİRİŞ ÇIKIŞ HAREKETLERİ"_s);
    const QStringList t = f.texts();
    QCOMPARE(t.mid(0, 4), (QStringList{u"Sayfa No :1"_s, u"Tarih :09.12.2026"_s,
                                       u"VİTAMİN C 1000 MG ADLI ILACIN STOK HAREKETLERİ"_s,
                                       u"TARİH        G.MİK      GİRİŞ FİYATI Ç.MİK      ÇIKIŞ FİYATI HRK.NO         "_s}));
    QCOMPARE(t[4], u"05.01.26 10:30   10             4.000    0                 0 Alış No :12    "_s);
    QCOMPARE(t[5], u" ( DEPO1 Kodlu yerden A-4500 No lu Fatura ile alınmıştır.(Alış No:12) )"_s);
    QCOMPARE(t[7], u" (  )"_s);  // purchase 13 has no invoice row
    QCOMPARE(t[8], u"07.01.26 16:05    0                 0    3             5.000 Satış No :61   "_s);
    QCOMPARE(t[9], u" ( 61 Nolu Perakende Satış )"_s);
    QCOMPARE(t.last(), u" Toplam:       15            61.000    3            15.000"_s);
}

void TstStockHistory::listingOverPages()
{
    Fixture f;
    {
        Transaction tx(f.t.db());
        for (int i = 0; i < 60; ++i)
            insertRecord(f.t.db(), u"URUNHRK"_s,
                         {{u"ILACNO"_s, f.b}, {u"GCTARIH"_s, QDateTime(QDate(2026, 2, 1).addDays(i), QTime(9, 0))},
                          {u"CIKMIK"_s, 1}, {u"CIKFIYAT"_s, 5000.0}, {u"ALSATNO"_s, 61.0}, {u"SIRANO"_s, 10 + i}});
        tx.commit();
    }
    StockHistoryLogic l(f.session, f.b, u"VİTAMİN C 1000 MG"_s);
    l.loadFont();
    QVERIFY(l.print(u"ÜRÜN GİRİŞ ÇIKIŞ HAREKETLERİ"_s));
    const Document& d = f.printing.jobs().back().document;
    QVERIFY(d.pages.size() >= 2);
    const QStringList second = f.texts(1);
    QCOMPARE(second.mid(0, 3), (QStringList{u"Sayfa No :2"_s, u"VİTAMİN C 1000 MG ADLI ILACIN STOK HAREKETLERİ"_s,
                                            u"TARİH        G.MİK      GİRİŞ FİYATI Ç.MİK      ÇIKIŞ FİYATI HRK.NO         "_s}));
    // Two lines a movement over all pages: 63 movements.
    QCOMPARE(f.texts().filter(u" ( "_s).size(), 63);
}

void TstStockHistory::fontRow()
{
    Fixture f;
    insertRecord(f.t.db(), u"FONT"_s,
                 {{u"BIRIM"_s, u"Stokbak"_s}, {u"FONTADI"_s, u"Liberation Mono"_s}, {u"FONTSIZE"_s, 9}, {u"STYLE"_s, u"B"_s},
                  {u"MARJIN"_s, 2}});
    StockHistoryLogic l(f.session, f.b, u"VİTAMİN C 1000 MG"_s);
    l.loadFont();
    QCOMPARE(l.font.family, u"Liberation Mono"_s);
    QCOMPARE(l.font.size, 9);
    QVERIFY(l.font.bold);
    QCOMPARE(l.margin, 2);
    // Unchanged: nothing written. Changed: the row takes the new font and margin.
    l.saveFont();
    l.font = FontDef(u"Courier New"_s, 11, false, true);
    l.margin = 0;
    l.fontChanged = true;
    l.saveFont();
    const std::optional<ReportFontRow> row = readReportFont(f.t.db(), u"Stokbak"_s);
    QVERIFY(row);
    QCOMPARE(row->font.family, u"Courier New"_s);
    QCOMPARE(row->font.size, 11);
    QVERIFY(row->font.italic && !row->font.bold);
    QCOMPARE(row->margin, 0);
}

QTEST_GUILESS_MAIN(TstStockHistory)
#include "tst_stock_history.moc"
