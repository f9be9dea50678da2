#include "core/format.h"
#include "data/sql.h"
#include "data/table.h"
#include "print/canvas.h"
#include "print/geometry.h"
#include "print/page_setup.h"
#include "print/pdf_canvas.h"
#include "print/print_service.h"
#include "print/report.h"
#include "print/report_fonts.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace selvar;
using namespace selvar::report;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(selvar::PageSetup)

namespace {

// The texts of a page line by line (same top edge), each line's texts from left to right.
QList<QStringList> pieces(const Document& doc, int page)
{
    std::map<int, std::vector<TextItem>> byTop;
    for (const TextItem& t : doc.pages[size_t(page)].texts()) byTop[t.y].push_back(t);
    QList<QStringList> out;
    for (auto& [y, items] : byTop) {
        std::stable_sort(items.begin(), items.end(), [](const TextItem& a, const TextItem& b) { return a.x < b.x; });
        QStringList l;
        for (const TextItem& t : items) l << t.text;
        out << l;
    }
    return out;
}

const TextItem* textOf(const Document& doc, int page, const QString& text)
{
    static TextItem found;
    for (const TextItem& t : doc.pages[size_t(page)].texts())
        if (t.text == text) {
            found = t;
            return &found;
        }
    return nullptr;
}

// A4 at 600 dpi: 4960 pixels over 210 mm.
int px(double mm) { return int(std::lround(mm * 4960.0 / 210.0)); }

std::shared_ptr<RowsDataSource> rowsOf(int n, const std::function<Row(int)>& make)
{
    std::vector<Row> rows;
    for (int i = 1; i <= n; ++i) rows.push_back(make(i));
    return std::make_shared<RowsDataSource>(std::move(rows));
}

}  // namespace

class TstPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void geometry_data();
    void geometry();
    void recordingCanvasAndLines();
    void sayfaPaperNames_data();
    void sayfaPaperNames();
    void sayfaUserSizeAndOrientation();
    void sayfaStyles_data();
    void sayfaStyles();
    void sayfaRowsByPosition();
    void reportFontStyleLetters_data();
    void reportFontStyleLetters();
    void reportFontMissingRowAndMargin();
    void bandedReportPaginates();
    void hiddenBandsTakeNoRoom();
    void zeroWidthControlsCloseUp();
    void twoReportColumns();
    void newPagePerGroupAndMasks();
    void recordingServiceJobsAndPreview();
    void pdfFilesNamedAfterTitle();
};

// ---------------------------------------------------------------- geometry

void TstPrint::geometry_data()
{
    QTest::addColumn<PageSetup>("setup");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("millimetres");
    QTest::addColumn<int>("factorX");
    QTest::addColumn<int>("factorY");
    QTest::addColumn<int>("x25mm");
    QTest::addColumn<int>("y40mm");
    QTest::addColumn<int>("reserveMm");
    QTest::addColumn<int>("pageEnd");
    QTest::addColumn<int>("extra");
    QTest::addColumn<int>("pitch");

    // 4960 px × 10 / 210 mm = 236 (236.19); (297 − 25) / 10 = 27 whole cm.
    QTest::newRow("A4 portrait 600 dpi") << PageSetup() << 600 << 10 << QSize(4960, 7015) << QSize(210, 297) << 236
                                         << 236 << 590 << 944 << 25 << 27 * 236 << 5 << 105;
    // JIS B5 on its side at 300 dpi: 257 × 182 mm, 3035 × 2149 px; (182 − 20) / 10 = 16 cm.
    PageSetup b5;
    b5.paper = 13;
    b5.orientation = Orientation::Landscape;
    QTest::newRow("B5 landscape 300 dpi") << b5 << 300 << 12 << QSize(3035, 2149) << QSize(257, 182) << 118 << 118
                                          << 295 << 472 << 20 << 16 * 118 << 3 << 63;
}

void TstPrint::geometry()
{
    QFETCH(PageSetup, setup);
    QFETCH(int, dpi);
    QFETCH(int, fontSize);
    RecordingCanvas c(PageFormat::forSetup(setup, dpi));
    c.beginDocument(u"geo"_s);
    c.setFontSize(fontSize);
    QTEST(QSize(c.pageWidth(), c.pageHeight()), "pixels");
    QTEST(QSize(c.physicalWidthMm(), c.physicalHeightMm()), "millimetres");
    const PageGeometry g(c);
    QTEST(g.factorX(), "factorX");
    QTEST(g.factorY(), "factorY");
    QVERIFY(g.pixelsPerCmX() > g.factorX() && g.pixelsPerCmX() < g.factorX() + 1);
    QTEST(g.mmX(25), "x25mm");
    QTEST(g.mmY(40), "y40mm");
    QCOMPARE(g.cmX(2), 2 * g.factorX());
    QFETCH(int, reserveMm);
    QTEST(g.pageEndY(reserveMm), "pageEnd");
    QFETCH(int, extra);
    QTEST(PageGeometry::linePitch(c, u"İĞÜyg"_s, extra), "pitch");
}

void TstPrint::recordingCanvasAndLines()
{
    RecordingCanvas c;
    QVERIFY_THROWS_EXCEPTION(std::logic_error, c.textOut(0, 0, u"x"_s));
    c.beginDocument(u"Deneme"_s);
    QCOMPARE(c.pageNumber(), 1);
    // 10 points at 600 dpi: cells of 50 × 100 pixels.
    QCOMPARE(c.textWidth(u"Toplam"_s), 300);
    QCOMPARE(c.textHeight(u"İÖĞygŞ"_s), 100);
    c.textOut(0, 0, u"Sayfa No :"_s);
    c.textOut(c.textWidth(u"Sayfa No :"_s), 0, u"1"_s);
    c.setFontStyle(FontStyle::Bold | FontStyle::Underline);
    c.textOut(250, 103, format(u"%-10s %-6s", u"TARİH", u"ADET"));
    c.setFontStyle(FontStyle::Regular);
    c.textOutRight(1000, 206, u"1.234"_s);  // right edge at column 20
    c.textOut(0, 206, u"Net"_s);
    c.line(0, 300, 1000, 300);
    c.newPage();
    c.textOut(0, 0, u"Sayfa No :2"_s);
    QVERIFY(c.endDocument());
    QVERIFY(!c.endDocument());

    const Document& d = c.document();
    QCOMPARE(d.pageCount(), 2);
    QCOMPARE(d.lines(0), QStringList({u"Sayfa No :1"_s, u"     TARİH      ADET"_s, u"Net            1.234"_s}));
    QCOMPARE(d.lines(1), QStringList({u"Sayfa No :2"_s}));
    QCOMPARE(d.pages[0].lineCount(), 1);
    const std::vector<TextItem> head = d.find(0, u"TARİH"_s);
    QCOMPARE(head.size(), size_t(1));
    QVERIFY(head[0].font.bold && head[0].font.underline && !head[0].font.italic);
    QCOMPARE(head[0].y, 103);
    QCOMPARE(d.find(0, u"1.234"_s).front().x, 750);

    // Aborted and abandoned documents reach no output.
    RecordingPrintService service;
    {
        auto job = service.beginJob(u"yarım"_s, PageSetup(), false);
        job->textOut(0, 0, u"x"_s);
    }
    auto job = service.beginJob(u"iptal"_s, PageSetup(), false);
    job->abort();
    QVERIFY(!job->endDocument());
    QVERIFY(service.jobs().empty());
}

// ---------------------------------------------------------------- SAYFA.DB

void TstPrint::sayfaPaperNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("pageSizeId");
    QTest::newRow("user") << u"Kullanıcı Tanımlasın"_s << 256 << int(QPageSize::Custom);
    QTest::newRow("A4") << u"A4   (210mm x 297mm)"_s << 9 << int(QPageSize::A4);
    QTest::newRow("B5") << u"B5   (182mm x 257mm)"_s << 13 << int(QPageSize::JisB5);
    QTest::newRow("Legal") << u"Legal    (203,2 mm x 355,6mm)"_s << 5 << int(QPageSize::Legal);
    QTest::newRow("Mektup") << u"Mektup (230,2 mm x 274,9 mm)"_s << 45 << int(QPageSize::Imperial10x11);
    QTest::newRow("empty") << QString() << 9 << int(QPageSize::A4);
    QTest::newRow("other") << u"A3   (297mm x 420mm)"_s << 0 << -1;
    QTest::newRow("A4 spelled otherwise") << u"A4 (210mm x 297mm)"_s << 0 << -1;
}

void TstPrint::sayfaPaperNames()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    QFETCH(int, pageSizeId);
    QCOMPARE(paperForSayfaName(name), code);
    SayfaRow row;
    row.paperName = name;
    row.paperWidthMm = 200;
    row.paperHeightMm = 280;
    const PageSetup s = pageSetupFromSayfa(row);
    QCOMPARE(s.paper, code);
    const QPageSize size = s.pageSize();
    if (pageSizeId < 0) {
        QVERIFY(!size.isValid());  // the printer keeps its paper
        QCOMPARE(s.paperSizeMm(), QSizeF(210, 297));
    } else {
        QVERIFY(size.isValid());
        QCOMPARE(int(size.id()), pageSizeId);
    }
}

void TstPrint::sayfaUserSizeAndOrientation()
{
    SayfaRow row;
    row.paperName = u"Kullanıcı Tanımlasın"_s;
    auto setupOf = [&](int widthMm, int heightMm) {
        row.paperWidthMm = widthMm;
        row.paperHeightMm = heightMm;
        return pageSetupFromSayfa(row);
    };
    PageSetup s = setupOf(240, 300);
    QCOMPARE(s.paper, UserPaper);
    QCOMPARE(s.paperWidth, 2400);
    QCOMPARE(s.paperLength, 3000);
    QCOMPARE(s.pageSize().size(QPageSize::Millimeter), QSizeF(240, 300));
    QCOMPARE(PageFormat::forSetup(s).paperMm, QSizeF(240, 300));
    // Below 150 mm a side is taken as 210 mm.
    s = setupOf(149, 150);
    QCOMPARE(s.paperWidth, 2100);
    QCOMPARE(s.paperLength, 1500);
    s = setupOf(0, 100);
    QCOMPARE(s.paperWidth, 2100);
    QCOMPARE(s.paperLength, 2100);
    // Only the user size carries the row's measures.
    row.paperName = u"A4   (210mm x 297mm)"_s;
    s = pageSetupFromSayfa(row);
    QCOMPARE(s.paperWidth, 0);
    QCOMPARE(s.paperLength, 0);

    for (int v : {0, 1, 2, -1}) {
        row.orientation = v;
        QCOMPARE(pageSetupFromSayfa(row).orientation, v != 0 ? Orientation::Landscape : Orientation::Portrait);
    }
    row.orientation = 1;
    const PageFormat f = PageFormat::forSetup(pageSetupFromSayfa(row));
    QCOMPARE(f.paperMm, QSizeF(297, 210));
    QVERIFY(f.pixels.width() > f.pixels.height());

    // Font name and size come from the row; the rest from the report.
    row.fontName = u"Arial"_s;
    row.fontSize = 12;
    FontDef base;
    base.color = Qt::blue;
    base.underline = true;
    const FontDef font = *pageSetupFromSayfa(row, base).font;
    QCOMPARE(font.family, u"Arial"_s);
    QCOMPARE(font.size, 12);
    QCOMPARE(font.color, QColor(Qt::blue));
    row.fontName.clear();
    row.fontSize = 0;
    QCOMPARE(pageSetupFromSayfa(row, base).font->family, base.family);
    QCOMPARE(pageSetupFromSayfa(row, base).font->size, base.size);
}

void TstPrint::sayfaStyles_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::newRow("Normal") << u"Normal"_s << false << false;
    QTest::newRow("İtalik") << u"İtalik"_s << false << true;
    QTest::newRow("five letters") << u"Kalın"_s << true << false;
    QTest::newRow("fifteen letters") << u"Kalın ve İtalik"_s << true << true;
    QTest::newRow("fourteen letters") << u"Kalın İtalikçe"_s << false << false;
    QTest::newRow("N and five letters") << u"Nokta"_s << true << false;
    QTest::newRow("İ and five letters") << u"İnce."_s << true << false;
    QTest::newRow("İ and fifteen letters") << u"İtalik ve Kalın"_s << true << true;
    QTest::newRow("lower-case n") << u"normal"_s << false << false;
    QTest::newRow("lower-case i") << u"italik"_s << false << false;
    QTest::newRow("empty") << QString() << false << false;
}

void TstPrint::sayfaStyles()
{
    QFETCH(QString, style);
    SayfaRow row;
    row.fontStyle = style;
    FontDef base;
    base.bold = base.italic = true;  // a style the row does not name is regular
    const FontDef f = *pageSetupFromSayfa(row, base).font;
    QTEST(f.bold, "bold");
    QTEST(f.italic, "italic");
}

void TstPrint::sayfaRowsByPosition()
{
    TestDb db;
    QVERIFY(!readSayfaRow(db.db(), 3));
    QVERIFY(!readSayfaRow(db.db(), -1));
    const QStringList fonts{u"Arial"_s, u"Courier New"_s, u"Times New Roman"_s, u"Verdana"_s};
    for (int i = 0; i < fonts.size(); ++i) {
        Sql::run(db.db(),
                 u"INSERT INTO SAYFA (FONTADI, FONTSTYLE, FONTSIZE, PRBICIMI, SAYFAGEN, SAYFAYUK, SAYFAISIM) "
                 u"VALUES (:f, :s, :z, :o, :g, :y, :n)"_s,
                 {{u"f"_s, fonts[i]}, {u"s"_s, i == 2 ? u"Kalın"_s : u"Normal"_s}, {u"z"_s, 8 + i}, {u"o"_s, i % 2},
                  {u"g"_s, 200}, {u"y"_s, 250},
                  {u"n"_s, i == 2 ? u"Kullanıcı Tanımlasın"_s : u"A4   (210mm x 297mm)"_s}});
    }
    QCOMPARE(readSayfaRow(db.db(), 1)->fontName, u"Arial"_s);
    QCOMPARE(readSayfaRow(db.db(), -1)->fontName, u"Verdana"_s);
    QCOMPARE(readSayfaRow(db.db(), -2)->fontName, u"Times New Roman"_s);
    QVERIFY(!readSayfaRow(db.db(), 5));
    QVERIFY(!readSayfaRow(db.db(), -5));

    const PageSetup third = *readSayfaSetup(db.db(), 3);
    QCOMPARE(third.font->family, u"Times New Roman"_s);
    QCOMPARE(third.font->size, 10);
    QVERIFY(third.font->bold);
    QCOMPARE(third.orientation, Orientation::Portrait);
    QCOMPARE(third.paper, UserPaper);
    QCOMPARE(third.paperWidth, 2000);
    QCOMPARE(third.paperLength, 2500);
    const PageSetup last = *readSayfaSetup(db.db(), -1);
    QCOMPARE(last.orientation, Orientation::Landscape);
    QCOMPARE(last.paper, 9);
}

// ---------------------------------------------------------------- FONT.DB

void TstPrint::reportFontStyleLetters_data()
{
    QTest::addColumn<int>("styles");
    QTest::addColumn<QString>("letter");
    using namespace FontStyle;
    QTest::newRow("R") << int(Regular) << u"R"_s;
    QTest::newRow("B") << int(Bold) << u"B"_s;
    QTest::newRow("I") << int(Italic) << u"I"_s;
    QTest::newRow("U") << int(Underline) << u"U"_s;
    QTest::newRow("C") << int(Bold | Italic) << u"C"_s;
    QTest::newRow("E") << int(Bold | Underline) << u"E"_s;
    QTest::newRow("L") << int(Italic | Underline) << u"L"_s;
    QTest::newRow("3") << int(Bold | Italic | Underline) << u"3"_s;
}

void TstPrint::reportFontStyleLetters()
{
    QFETCH(int, styles);
    QFETCH(QString, letter);
    TestDb db;
    FontDef chosen(u"Noto Mono"_s, 9);
    chosen.setStyles(styles | FontStyle::StrikeOut);  // strike-out has no letter
    chosen.color = QColor(0x12, 0x34, 0x56);
    saveReportFont(db.db(), u"recete"_s, chosen, 2);

    Table t(db.db(), u"FONT.DB"_s);
    QVERIFY(t.findKey({u"recete"_s}));
    QCOMPARE(t.text(u"STYLE"_s), letter);
    QCOMPARE(t.text(u"FONTADI"_s), u"Noto Mono"_s);
    QCOMPARE(t.integer(u"FONTSIZE"_s), 9);
    QCOMPARE(t.integer(u"COLOR"_s), 0x563412);
    QCOMPARE(t.integer(u"MARJIN"_s), 2);

    FontDef read;
    int margin = 0;
    QVERIFY(loadReportFont(db.db(), u"recete"_s, read, margin));
    QCOMPARE(read.styles(), styles);
    QCOMPARE(read.family, chosen.family);
    QCOMPARE(read.size, 9);
    QCOMPARE(read.color, chosen.color);
    QCOMPARE(margin, 2);
    QCOMPARE(styleLetter(read), letter);
}

void TstPrint::reportFontMissingRowAndMargin()
{
    TestDb db;
    FontDef own(u"Courier New"_s, 8, true);
    int margin = 7;
    QVERIFY(!loadReportFont(db.db(), u"gizlisat"_s, own, margin));
    QCOMPARE(own, FontDef(u"Courier New"_s, 8, true));
    QCOMPARE(margin, 7);

    // Written once, then changed: one row, the margin kept when none is given.
    saveReportFont(db.db(), u"Fatressk"_s, FontDef(u"Arial"_s, 11), 0);
    saveReportFont(db.db(), u"Fatressk"_s, FontDef(u"Verdana"_s, 12, false, true), std::nullopt);
    saveReportFont(db.db(), u"Fatressk"_s, FontDef(u"Verdana"_s, 12, false, true), -1);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT COUNT(*) FROM FONT"_s).toInt(), 1);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT MARJIN FROM FONT"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(db.db(), u"SELECT STYLE FROM FONT"_s).toString(), u"I"_s);

    // MARJIN 0 keeps the report's margin; a margin above 0 replaces it.
    FontDef f;
    margin = 3;
    QVERIFY(loadReportFont(db.db(), u"Fatressk"_s, f, margin));
    QCOMPARE(margin, 3);
    QCOMPARE(f.family, u"Verdana"_s);
    QVERIFY(f.italic && !f.bold);
    saveReportFont(db.db(), u"Fatressk"_s, f, 4);
    QVERIFY(loadReportFont(db.db(), u"Fatressk"_s, f, margin));
    QCOMPARE(margin, 4);

    // A row without a name or size keeps the report's; an unknown letter is regular.
    Sql::run(db.db(), u"INSERT INTO FONT (BIRIM, STYLE, COLOR) VALUES ('yenideg', 'X', -2147483640)"_s);
    FontDef kept(u"Courier New"_s, 10, true, true, true);
    QVERIFY(loadReportFont(db.db(), u"yenideg"_s, kept, margin));
    QCOMPARE(kept.family, u"Courier New"_s);
    QCOMPARE(kept.size, 10);
    QCOMPARE(kept.styles(), int(FontStyle::Regular));
    QCOMPARE(kept.color, QColor(Qt::black));
}

// ---------------------------------------------------------------- banded reports

void TstPrint::bandedReportPaginates()
{
    TestDb db;
    // Three institutions with eight prescriptions each, three sale lines per prescription.
    const QStringList institutions{u"A01"_s, u"B02"_s, u"C03"_s};
    for (int i = 1; i <= 24; ++i) {
        const int sale = 1000 + i;
        Sql::run(db.db(),
                 u"INSERT INTO RECETE (RKDEFTERNO, KURUMKOD, SATISNO, RECTARIH, NET) VALUES (:r, :k, :s, :t, :n)"_s,
                 {{u"r"_s, u"XX%1"_s.arg(i, 7, 10, QChar(u'0'))},
                  {u"k"_s, institutions[(i - 1) / 8]},
                  {u"s"_s, sale},
                  {u"t"_s, QDate(2026, 11, 1).addDays(i)},
                  {u"n"_s, 100.0 * i}});
        for (int line = 1; line <= 3; ++line)
            Sql::run(db.db(),
                     u"INSERT INTO SATIS (SATISNO, SIRANOURUN, ILACNO, MIKTAR, FIYAT, SATARIH) "
                     u"VALUES (:s, :l, :i, :m, :f, :t)"_s,
                     {{u"s"_s, sale}, {u"l"_s, line}, {u"i"_s, line}, {u"m"_s, line}, {u"f"_s, 10.0 * line},
                      {u"t"_s, QDateTime(QDate(2026, 11, 1), QTime(10, 0))}});
    }

    Report r;
    r.title = u"REÇETE LİSTESİ"_s;
    r.topMargin = 10;
    r.bottomMargin = 10;
    r.source = std::make_shared<SqlDataSource>(
        db.db(), u"SELECT SATISNO, KURUMKOD, RECTARIH, NET FROM RECETE WHERE NET > :enAz ORDER BY KURUMKOD, SATISNO"_s,
        QVariantMap{{u"enAz"_s, 0}});
    r.pageHeader.height = 10;
    r.pageHeader.text(u"Sayfa No:"_s, 0, 0, 25);
    r.pageHeader.pageNumber(25, 0, 10);
    r.columnHeader.height = 8;
    r.columnHeader.text(u"SATIŞ NO"_s, 0, 0, 30);
    r.columnHeader.text(u"TARİH"_s, 40, 0, 30);
    r.columnHeader.text(u"TUTAR"_s, 80, 0, 30).alignRight();

    Group& g = r.addGroup(u"KURUMKOD"_s);
    g.header.height = 8;
    g.header.text(u"Kurum:"_s, 0, 0, 20).withStyles(FontStyle::Bold);
    g.header.field(u"KURUMKOD"_s, 20, 0, 30);
    g.footer.height = 8;
    g.footer.text(u"Toplam:"_s, 0, 0, 20);
    g.footer.sum(u"NET"_s, 80, 0, 30).alignRight().withMask(u"#,#"_s);
    g.footer.count(115, 0, 25).withPattern(u"%d Reçete"_s);
    g.footer.count(145, 0, 25).overSubDetail(0).withPattern(u"%d Kalem"_s);
    g.footer.sum(u"TUTAR"_s, 170, 0, 25).overSubDetail(0).alignRight().withMask(u"#,##0"_s);

    r.detail.height = 6;
    r.detail.field(u"SATISNO"_s, 0, 0, 30);
    r.detail.field(u"RECTARIH"_s, 40, 0, 30);
    r.detail.field(u"NET"_s, 80, 0, 30).alignRight().withMask(u"#,#"_s);

    SubDetail& lines = r.addSubDetail(
        std::make_shared<SqlDataSource>(db.db(), u"SELECT SATISNO, SIRANOURUN, MIKTAR, FIYAT FROM SATIS "
                                                 u"WHERE SATISNO = :SATISNO ORDER BY SIRANOURUN"_s),
        {{u"SATISNO"_s, u"SATISNO"_s}});
    lines.calculate(u"TUTAR"_s, [](const Row& row) { return row.number(u"MIKTAR"_s) * row.number(u"FIYAT"_s); });
    lines.band.height = 5;
    lines.band.expression([](const BandContext& c) { return c.master->value(u"SATISNO"_s).toString() + u'/'; },
                          5, 0, 15);
    lines.band.field(u"SIRANOURUN"_s, 20, 0, 10).withPattern(u"%d."_s);
    lines.band.field(u"TUTAR"_s, 80, 0, 30).alignRight().withMask(u"0.00"_s);

    r.summary.height = 10;
    r.summary.text(u"GENEL TOPLAM:"_s, 0, 0, 40);
    r.summary.sum(u"NET"_s, 80, 0, 30).alignRight().withMask(u"#,#"_s);
    r.summary.count(115, 0, 25).withPattern(u"%d Reçete"_s);
    r.pageFooter.height = 8;
    r.pageFooter.text(u"Sayfa Toplamı:"_s, 0, 0, 40);
    r.pageFooter.sum(u"NET"_s, 80, 0, 30).alignRight().withMask(u"#,#"_s);
    r.pageFooter.count(115, 0, 25).overSubDetail(0).withPattern(u"%d Kalem"_s);

    RecordingCanvas c;
    c.beginDocument(r.title);
    QCOMPARE(r.render(c), 3);
    c.endDocument();
    const Document& d = c.document();
    QCOMPARE(d.pageCount(), 3);

    // What the body holds, page after page, without the page's own bands.
    auto detailLine = [](int i) {
        return QStringList{QString::number(1000 + i), QDate(2026, 11, 1).addDays(i).toString(u"dd.MM.yyyy"_s),
                           formatMask(u"#,#", 100.0 * i)};
    };
    auto subLine = [](int i, int l) {
        return QStringList{QString::number(1000 + i) + u'/', QString::number(l) + u'.',
                           formatMask(u"0.00", 10.0 * l * l)};
    };
    QList<QStringList> expected;
    int pageBreakAfter[2] = {0, 0};
    for (int grp = 0; grp < 3; ++grp) {
        expected << QStringList{u"Kurum:"_s, institutions[grp]};
        double sum = 0;
        for (int i = grp * 8 + 1; i <= grp * 8 + 8; ++i) {
            expected << detailLine(i);
            sum += 100.0 * i;
            for (int l = 1; l <= 3; ++l) {
                expected << subLine(i, l);
                // Hand-computed: page 1 holds up to the second line of 1011, page 2 up to
                // the second line of 1022 (bodies of 5929 px, see the band heights).
                if (i == 11 && l == 2) pageBreakAfter[0] = int(expected.size());
                if (i == 22 && l == 2) pageBreakAfter[1] = int(expected.size());
            }
        }
        expected << QStringList{u"Toplam:"_s, formatMask(u"#,#", sum), u"8 Reçete"_s, u"24 Kalem"_s, u"1.120"_s};
    }
    expected << QStringList{u"GENEL TOPLAM:"_s, u"30.000"_s, u"24 Reçete"_s};

    QList<QStringList> body;
    QList<int> bodyPerPage;
    for (int p = 0; p < 3; ++p) {
        QList<QStringList> lines = pieces(d, p);
        QCOMPARE(lines.first(), QStringList({u"Sayfa No:"_s, QString::number(p + 1)}));
        QCOMPARE(lines.at(1), QStringList({u"SATIŞ NO"_s, u"TARİH"_s, u"TUTAR"_s}));
        QCOMPARE(lines.last().first(), u"Sayfa Toplamı:"_s);
        // The page sum is the sum of the prescriptions printed on the page.
        double pageSum = 0;
        for (const QStringList& l : lines.mid(2, lines.size() - 3))
            if (l.size() == 3 && !l[0].endsWith(u'/') && l[0].size() == 4) pageSum += l[0].toInt() * 100.0 - 100000.0;
        QCOMPARE(lines.last().at(1), formatMask(u"#,#", pageSum));
        int subLines = 0;
        for (const QStringList& l : lines)
            if (l.first().endsWith(u'/')) ++subLines;
        QCOMPARE(lines.last().at(2), u"%1 Kalem"_s.arg(subLines));
        body << lines.mid(2, lines.size() - 3);
        bodyPerPage << int(lines.size() - 3);
    }
    QCOMPARE(body, expected);
    QCOMPARE(bodyPerPage[0], pageBreakAfter[0]);
    QCOMPARE(bodyPerPage[0] + bodyPerPage[1], pageBreakAfter[1]);

    // Nothing runs into the page footer, which sits on the bottom margin.
    const int footerTop = 7015 - px(10) - px(8);
    for (int p = 0; p < 3; ++p) {
        for (const TextItem& t : d.pages[size_t(p)].texts()) {
            if (t.text == u"Sayfa Toplamı:"_s) QCOMPARE(t.y, footerTop);
            else if (t.y != footerTop) QVERIFY2(t.y + 100 <= footerTop, qPrintable(t.text));
        }
    }
    QCOMPARE(textOf(d, 0, u"Sayfa No:"_s)->y, px(10));
    QVERIFY(textOf(d, 0, u"Kurum:"_s)->font.bold);
    QVERIFY(!textOf(d, 0, u"A01"_s)->font.bold);
    // Right alignment: the amount ends at the control's right edge (80 + 30 mm).
    const TextItem* amount = textOf(d, 0, u"100"_s);
    QCOMPARE(amount->x + 3 * 50, px(80) + px(30));

    // The same report renders again from a fresh page on the same document.
    RecordingCanvas again;
    again.beginDocument(r.title);
    again.textOut(0, 0, u"kapak"_s);
    QCOMPARE(r.render(again), 3);
    QCOMPARE(again.pageNumber(), 4);
    QCOMPARE(pieces(again.document(), 3).last().at(1), pieces(d, 2).last().at(1));
}

void TstPrint::hiddenBandsTakeNoRoom()
{
    Report r;
    r.source = rowsOf(6, [](int i) { return Row{{u"NO"_s, i}, {u"GIZLI"_s, i % 3 == 0}}; });
    r.titleBand.height = 0;  // takes no room
    r.titleBand.text(u"BAŞLIK"_s, 0, 0, 40);
    r.pageHeader.height = 10;
    r.pageHeader.visible = false;
    r.pageHeader.text(u"ÜST"_s, 0, 0, 40);
    r.columnHeader.height = 10;
    r.columnHeader.text(u"NO"_s, 0, 0, 20);
    r.detail.height = 6;
    r.detail.field(u"NO"_s, 0, 0, 20);
    // Rows 3 and 6 hide the band, row 4 skips its printing.
    r.detail.beforePrint = [](Band& b, const BandContext& c) {
        b.height = c.row.value(u"GIZLI"_s).toBool() ? 0 : 6;
        return c.recordNumber != 4;
    };
    r.summary.height = 8;
    r.summary.count(0, 0, 20).withPattern(u"%d kayıt"_s);
    r.summary.recordNumber(30, 0, 20).withPattern(u"son %d"_s);
    r.summary.date(60, 0, 30).withPattern(u"Tarih : %s"_s);
    r.printDate = QDate(2026, 12, 9);

    RecordingCanvas c;
    c.beginDocument(u"gizli"_s);
    QCOMPARE(r.render(c), 1);
    const Document& d = c.document();
    QCOMPARE(d.lines(0), QStringList({u"NO"_s, u"1"_s, u"2"_s, u"5"_s, u"6 kayıt       son 6         Tarih : 09.12.2026"_s}));
    QVERIFY(d.find(0, u"BAŞLIK"_s).empty());
    QVERIFY(d.find(0, u"ÜST"_s).empty());
    // Printed bands follow each other without gaps.
    QCOMPARE(textOf(d, 0, u"NO"_s)->y, 0);
    QCOMPARE(textOf(d, 0, u"1"_s)->y, px(10));
    QCOMPARE(textOf(d, 0, u"2"_s)->y, px(10) + px(6));
    QCOMPARE(textOf(d, 0, u"5"_s)->y, px(10) + 2 * px(6));
    QCOMPARE(textOf(d, 0, u"6 kayıt"_s)->y, px(10) + 3 * px(6));

    // With no rows the report still gives its page with header and summary.
    Report none;
    none.source = std::make_shared<RowsDataSource>(std::vector<Row>{});
    none.columnHeader.height = 5;
    none.columnHeader.text(u"BOŞ"_s, 0, 0, 20);
    none.summary.height = 5;
    none.summary.count(0, 0, 20).withMask(u"#,##0 Adet"_s);
    RecordingCanvas e;
    e.beginDocument(u"boş"_s);
    QCOMPARE(none.render(e), 1);
    QCOMPARE(e.document().lines(0), QStringList({u"BOŞ"_s, u"0 Adet"_s}));
}

void TstPrint::zeroWidthControlsCloseUp()
{
    // Category columns N, I, O at 30, 50, 70 mm and a total at 90 mm; a prescription
    // shows only the categories it has.
    Report r;
    r.source = rowsOf(3, [](int i) {
        return Row{{u"AD"_s, u"Reçete %1"_s.arg(i)}, {u"N"_s, 10 * i}, {u"I"_s, i == 1 ? 5 : 0}, {u"O"_s, i == 3 ? 0 : 7}};
    });
    auto columns = [](Band& b, bool close) {
        b.height = 10;
        b.closeUp = close;
        b.field(u"AD"_s, 0, 0, 30);
        b.field(u"N"_s, 30, 0, 18).named(u"N"_s);
        b.field(u"I"_s, 50, 0, 18).named(u"I"_s);
        b.field(u"O"_s, 70, 0, 18).named(u"O"_s);
        b.text(u"SON"_s, 90, 0, 18);
        // A second row in the I column: the column closes only when both are hidden.
        b.text(u"ilç"_s, 50, 5, 18).named(u"I2"_s);
    };
    columns(r.detail, true);
    r.detail.beforePrint = [](Band& b, const BandContext& c) {
        b.control(u"I"_s)->width = c.row.number(u"I"_s) > 0 ? 18 : 0;
        b.control(u"I2"_s)->width = c.row.number(u"I"_s) > 0 ? 18 : 0;
        b.control(u"O"_s)->visible = c.row.number(u"O"_s) > 0;
        return true;
    };
    columns(r.summary, false);
    r.summary.control(u"I"_s)->width = 0;
    r.summary.control(u"I2"_s)->width = 0;

    RecordingCanvas c;
    c.beginDocument(u"sütunlar"_s);
    r.render(c);
    const Document& d = c.document();
    auto xOf = [&](int top, const QString& text) {
        for (const TextItem& t : d.pages[0].texts())
            if (t.y == top && t.text == text) return t.x;
        return -1;
    };
    const int row1 = 0, row2 = px(10), row3 = 2 * px(10), sum = 3 * px(10);
    // Row 1: everything in place.
    QCOMPARE(xOf(row1, u"5"_s), px(50));
    QCOMPARE(xOf(row1 + px(5), u"ilç"_s), px(50));
    QCOMPARE(xOf(row1, u"SON"_s), px(90));
    // Row 2: the I column is gone, O and the total move 20 mm left.
    QCOMPARE(xOf(row2, u"7"_s), px(50));
    QCOMPARE(xOf(row2, u"SON"_s), px(70));
    QCOMPARE(xOf(row2 + px(5), u"ilç"_s), -1);
    // Row 3: I and O hidden, the total closes up to the I column.
    QCOMPARE(xOf(row3, u"30"_s), px(30));
    QCOMPARE(xOf(row3, u"SON"_s), px(50));
    // Without close-up a hidden control leaves its gap.
    QCOMPARE(xOf(sum, u"SON"_s), px(90));
    QCOMPARE(xOf(sum, u"0"_s), px(70));
    // Read back as columns of 50 px cells.
    QCOMPARE(d.lines(0).at(0), u"Reçete 1      10        5        7         SON"_s);
}

void TstPrint::twoReportColumns()
{
    Report r;
    r.leftMargin = 15;
    r.columns = 2;
    r.columnGap = 10;
    r.source = rowsOf(60, [](int i) { return Row{{u"NO"_s, i}}; });
    r.pageHeader.height = 0;
    r.columnHeader.height = 10;
    r.columnHeader.text(u"SIRA"_s, 0, 0, 20);
    r.detail.height = 10;
    r.detail.field(u"NO"_s, 0, 0, 20).withPattern(u"No %d"_s);
    r.detail.expression([](const BandContext& c) { return c.column; }, 30, 0, 10);
    r.pageFooter.height = 10;
    r.pageFooter.count(0, 0, 30).withPattern(u"%d satır"_s);
    r.pageFooter.sum(u"NO"_s, 40, 0, 30).withMask(u"#,##0"_s);

    RecordingCanvas c;
    c.beginDocument(u"iki sütun"_s);
    QCOMPARE(r.render(c), 2);
    const Document& d = c.document();
    // Usable width 4960 − 354 px, gap 236 px: columns of 2185 px, the second at 2775.
    const int col1 = px(15), col2 = px(15) + (4960 - px(15) - px(10)) / 2 + px(10);
    QCOMPARE(col2, 2775);
    // 27 rows of 236 px fit between the column header and the footer of a 7015 px page.
    for (int i = 1; i <= 60; ++i) {
        const int page = i <= 54 ? 0 : 1;
        const int inPage = (i - 1) % 54;
        const int column = inPage / 27;
        const TextItem* found = textOf(d, page, u"No %1"_s.arg(i));
        QVERIFY2(found, qPrintable(QString::number(i)));
        QCOMPARE(found->x, column == 0 ? col1 : col2);
        QCOMPARE(found->y, px(10) + (inPage % 27) * px(10));
        QVERIFY(textOf(d, page, QString::number(column)));
    }
    QCOMPARE(d.find(0, u"SIRA"_s).size(), size_t(2));
    QCOMPARE(d.find(0, u"SIRA"_s)[1].x, col2);
    QCOMPARE(d.find(1, u"SIRA"_s).size(), size_t(1));
    QCOMPARE(textOf(d, 0, u"No 28"_s)->y, px(10));
    // The footer counts the rows its page holds, the first of page 2 included there.
    QCOMPARE(pieces(d, 0).last(), QStringList({u"54 satır"_s, u"1.485"_s}));
    QCOMPARE(pieces(d, 1).last(), QStringList({u"6 satır"_s, u"345"_s}));
    QCOMPARE(textOf(d, 1, u"6 satır"_s)->y, 7015 - px(10));
    QCOMPARE(d.lines(0).first(), QString(7, u' ') + u"SIRA"_s + QString(45, u' ') + u"SIRA"_s);
}

void TstPrint::newPagePerGroupAndMasks()
{
    Report r;
    r.source = rowsOf(7, [](int i) {
        return Row{{u"KURUM"_s, i <= 3 ? u"A"_s : (i <= 5 ? u"B"_s : u"C"_s)},
                   {u"TUTAR"_s, 1000.5 * i},
                   {u"TARIH"_s, QDate(2026, 12, i)},
                   {u"ACIK"_s, i == 2 ? QVariant() : QVariant(u"x"_s)}};
    });
    r.calculate(u"KDV"_s, [](const Row& row) { return row.number(u"TUTAR"_s) * 0.08; });
    r.calculate(u"KDVLI"_s, [](const Row& row) { return row.number(u"TUTAR"_s) + row.number(u"KDV"_s); });
    Group& g = r.addGroup(u"KURUM"_s);
    g.newPage = true;
    g.header.height = 6;
    g.header.field(u"KURUM"_s, 0, 0, 20).withPattern(u"Kurum %s"_s);
    g.footer.height = 6;
    g.footer.sum(u"KDVLI"_s, 0, 0, 40).withPattern(u"%14m"_s);
    g.footer.count(50, 0, 30, u"ACIK"_s).withMask(u"#,##0 Adet"_s).named(u"dolu"_s);
    g.footer.expression([](const BandContext& c) { return c.total(u"dolu"_s) * 10; }, 90, 0, 20);
    r.detail.height = 6;
    r.detail.recordNumber(0, 0, 10);
    r.detail.expression([](const BandContext& c) { return c.groupRecordNumber; }, 10, 0, 10);
    r.detail.field(u"TUTAR"_s, 20, 0, 30).withPattern(u"%11.2n"_s);
    r.detail.field(u"TARIH"_s, 55, 0, 30);
    r.detail.field(u"KDV"_s, 90, 0, 30);

    RecordingCanvas c;
    c.beginDocument(u"gruplar"_s);
    QCOMPARE(r.render(c), 3);
    const Document& d = c.document();
    QCOMPARE(pieces(d, 0).first(), QStringList({u"Kurum A"_s}));
    QCOMPARE(pieces(d, 0).at(1), QStringList({u"1"_s, u"1"_s, u"   1.000,50"_s, u"01.12.2026"_s, u"80,04"_s}));
    QCOMPARE(pieces(d, 0).last(), QStringList({u"      6.483 TL"_s, u"2 Adet"_s, u"20"_s}));
    QCOMPARE(pieces(d, 1).first(), QStringList({u"Kurum B"_s}));
    QCOMPARE(pieces(d, 1).at(2), QStringList({u"5"_s, u"2"_s, u"   5.002,50"_s, u"05.12.2026"_s, u"400,2"_s}));
    QCOMPARE(pieces(d, 1).last(), QStringList({u"      9.725 TL"_s, u"2 Adet"_s, u"20"_s}));
    QCOMPARE(pieces(d, 2).first(), QStringList({u"Kurum C"_s}));
    QCOMPARE(pieces(d, 2).size(), 4);
}

// ---------------------------------------------------------------- services and files

void TstPrint::recordingServiceJobsAndPreview()
{
    RecordingPrintService service;
    service.answerPrintDialog(false);
    QVERIFY(!service.beginJob(u"FATURA"_s, PageSetup(), true));
    QCOMPARE(service.cancelledJobs(), 1);

    PageSetup setup;
    setup.orientation = Orientation::Landscape;
    setup.paper = 9;
    setup.font = FontDef(u"Arial"_s, 12, true);
    auto job = service.beginJob(u"FATURA"_s, setup, true);
    QVERIFY(job);
    QCOMPARE(job->font(), *setup.font);
    QVERIFY(job->pageWidth() > job->pageHeight());
    job->textOut(0, 0, u"Sayfa No :1"_s);
    QVERIFY(job->endDocument());
    QCOMPARE(service.jobs().size(), size_t(1));
    QCOMPARE(service.lastJob().document.title, u"FATURA"_s);
    QCOMPARE(service.lastJob().setup, setup);
    QVERIFY(service.lastJob().askedPrinter);
    QCOMPARE(service.lastJob().document.lines(0), QStringList({u"Sayfa No :1"_s}));
    QCOMPARE(service.printDialogs(), 2);

    Report r;
    r.title = u"Reç.Arkası Dökümü"_s;
    r.source = rowsOf(2, [](int i) { return Row{{u"NO"_s, i}}; });
    r.detail.height = 5;
    r.detail.field(u"NO"_s, 0, 0, 10);
    service.preview(r);
    QCOMPARE(service.previews().size(), size_t(1));
    QCOMPARE(service.previews().back().lines(0), QStringList({u"1"_s, u"2"_s}));
    QCOMPARE(service.jobs().size(), size_t(1));
    service.printFromNextPreview();
    service.preview(r);
    QCOMPARE(service.jobs().size(), size_t(2));
    QCOMPARE(service.lastJob().document.title, u"Reç.Arkası Dökümü"_s);
    QVERIFY(service.print(r, false));
    QCOMPARE(service.jobs().size(), size_t(3));
    QVERIFY(!service.lastJob().askedPrinter);

    FontDef chosen(u"Noto Mono"_s, 9);
    service.answerFontDialog(chosen);
    service.cancelFontDialog();
    QCOMPARE(*service.chooseFont(FontDef(), FontChoice::FixedPitch), chosen);
    QVERIFY(!service.chooseFont(chosen, FontChoice::Any));
    QVERIFY(!service.chooseFont(chosen, FontChoice::Any));
    QCOMPARE(service.fontRequests().size(), size_t(3));
    QCOMPARE(service.fontRequests()[0].choice, FontChoice::FixedPitch);
    QCOMPARE(service.fontRequests()[1].current, chosen);
}

void TstPrint::pdfFilesNamedAfterTitle()
{
    QTemporaryDir dir;
    QCOMPARE(jobFileStem(u"SATIŞLAR/ALIŞLAR: LİSTESİ"_s), u"SATIŞLAR_ALIŞLAR_ LİSTESİ"_s);
    QCOMPARE(jobFileStem(u"  "_s), u"SELVAR"_s);
    for (int n = 1; n <= 2; ++n) {
        PdfCanvas c(dir.path(), PageSetup());
        c.beginDocument(u"Reç.Arkası Dökümü"_s);
        QCOMPARE(c.resolution(), 600);
        // A4 less a border of 5 mm on every side.
        QCOMPARE(c.physicalWidthMm(), 200);
        QCOMPARE(c.physicalHeightMm(), 287);
        c.textOut(0, 0, u"İLAÇ"_s);
        QVERIFY(c.filePath().isEmpty());
        QVERIFY(c.endDocument());
        QCOMPARE(c.filePath(), dir.filePath(u"Reç.Arkası Dökümü-000%1.pdf"_s.arg(n)));
        QFile f(c.filePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
    }
    // An aborted job writes nothing.
    PdfCanvas aborted(dir.path(), PageSetup());
    aborted.beginDocument(u"Reç.Arkası Dökümü"_s);
    aborted.abort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);

    qputenv("SELVAR_PRINT_DIR", dir.path().toUtf8());
    QCOMPARE(printDirectory(), QDir(dir.path()).absolutePath());
    qputenv("SELVAR_PRINT_DIR", dir.filePath(u"yok"_s).toUtf8());
    QVERIFY(printDirectory().isEmpty());
    qunsetenv("SELVAR_PRINT_DIR");
    QVERIFY(printDirectory().isEmpty());
}

QTEST_MAIN(TstPrint)
#include "tst_print.moc"
