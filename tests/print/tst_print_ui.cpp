#include "core/format.h"
#include "print/ui/desktop_print_service.h"
#include "print/ui/font_dialog.h"
#include "print/geometry.h"
#include "print/pdf_canvas.h"
#include "print/ui/preview_window.h"
#include "print/ui/printer_canvas.h"
#include "print/report.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::report;
using namespace Qt::Literals::StringLiterals;

namespace {

// A sample list of 70 rows: under a 10 mm page header 27 rows of 10 mm fill a page of
// 287 mm printable height (PDF files, the preview).
void sampleReport(Report& r)
{
    r.title = u"SATIŞLAR LİSTESİ"_s;
    std::vector<Row> rows;
    for (int i = 1; i <= 70; ++i)
        rows.push_back(Row{{u"SIRA"_s, i}, {u"AD"_s, u"ÜRÜN İĞŞÇÖ %1"_s.arg(i)}, {u"TUTAR"_s, 1250.0 * i}});
    r.source = std::make_shared<RowsDataSource>(std::move(rows));
    r.leftMargin = 10;
    r.font = FontDef(u"DejaVu Sans Mono"_s, 10);
    r.pageHeader.height = 10;
    r.pageHeader.text(u"Sayfa No :"_s, 0, 0, 25);
    r.pageHeader.pageNumber(25, 0, 10);
    r.pageHeader.text(u"SATIŞLAR LİSTESİ"_s, 60, 0, 80).withStyles(FontStyle::Bold | FontStyle::Underline);
    r.detail.height = 10;
    r.detail.field(u"SIRA"_s, 0, 0, 10).alignRight();
    r.detail.field(u"AD"_s, 15, 0, 80);
    r.detail.field(u"TUTAR"_s, 100, 0, 40).alignRight().withPattern(u"%14m"_s);
    r.detail.line(0, 8, 140);
    r.summary.height = 10;
    r.summary.text(u"TOPLAM :"_s, 15, 0, 40);
    r.summary.sum(u"TUTAR"_s, 100, 0, 40).alignRight().withPattern(u"%14m"_s);
}

QString pdfText(const QString& path)
{
    QProcess p;
    p.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    if (!p.waitForFinished(30000)) return {};
    // Blanks between texts depend on the font; compare with single blanks.
    return QString::fromUtf8(p.readAllStandardOutput()).replace(QRegularExpression(u"[ \\t]+"_s), u" "_s);
}

int inkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 96) ++n;
    return n;
}

// Runs `check` on the modal dialog once it is up, then closes it.
template <typename Dialog, typename F>
void whenModal(F check, bool accept)
{
    QTimer::singleShot(0, [check, accept] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        check(*d);
        accept ? d->accept() : d->reject();
    });
}

}  // namespace

class TstPrintUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void previewWindow();
    void previewThroughTheService();
    void printDirectoryWritesPdf();
    void printerCanvas();
    void fontDialog();
};

void TstPrintUi::previewWindow()
{
    Report r;
    sampleReport(r);
    RecordingPrintService printing;
    PreviewWindow w(printing, r.title, r.setup, [&r](Canvas& c) { r.render(c); });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), u"Ön görünüm"_s);
    QCOMPARE(w.pageCount(), 3);
    auto* label = w.findChild<QLabel*>(u"pageLabel"_s);
    auto* next = w.findChild<QPushButton*>(u"nextPage"_s);
    auto* prev = w.findChild<QPushButton*>(u"previousPage"_s);
    auto* last = w.findChild<QPushButton*>(u"lastPage"_s);
    auto* first = w.findChild<QPushButton*>(u"firstPage"_s);
    QVERIFY(label && next && prev && last && first);
    QCOMPARE(label->text(), u"Sayfa 1 / 3"_s);
    QVERIFY(!prev->isEnabled());
    // Screen pages are laid out like a PDF page: the first one holds rows 1 to 27.
    QCOMPARE(w.document().find(0, u"ÜRÜN İĞŞÇÖ 27"_s).size(), size_t(1));
    QCOMPARE(w.document().find(1, u"ÜRÜN İĞŞÇÖ 28"_s).size(), size_t(1));
    QCOMPARE(w.document().find(2, u"TOPLAM :"_s).size(), size_t(1));

    QWidget* view = w.findChild<QWidget*>(u"pageView"_s);
    QVERIFY(view);
    w.fitPage();
    const QImage page1 = view->grab().toImage();
    QVERIFY(inkPixels(page1) > 500);  // the sheet carries text

    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(w.pageIndex(), 1);
    QCOMPARE(label->text(), u"Sayfa 2 / 3"_s);
    QVERIFY(view->grab().toImage() != page1);
    QTest::keyClick(&w, Qt::Key_PageDown);
    QCOMPARE(label->text(), u"Sayfa 3 / 3"_s);
    QVERIFY(!next->isEnabled() && !last->isEnabled());
    QTest::keyClick(&w, Qt::Key_PageDown);
    QCOMPARE(w.pageIndex(), 2);
    QTest::mouseClick(first, Qt::LeftButton);
    QCOMPARE(w.pageIndex(), 0);
    QTest::keyClick(&w, Qt::Key_End);
    QCOMPARE(w.pageIndex(), 2);
    QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(w.pageIndex(), 1);

    const double fitted = w.zoom();
    const QSize fittedSize = view->size();
    QTest::mouseClick(w.findChild<QPushButton*>(u"zoomIn"_s), Qt::LeftButton);
    QVERIFY(qAbs(w.zoom() - fitted * 1.25) < 1e-9);
    QVERIFY(view->width() > fittedSize.width());
    QCOMPARE(w.findChild<QLabel*>(u"zoomLabel"_s)->text(), u"%"_s + QString::number(std::lround(w.zoom() * 100)));
    QTest::keyClick(&w, Qt::Key_Minus);
    QVERIFY(qAbs(w.zoom() - fitted) < 1e-9);
    QTest::mouseClick(w.findChild<QPushButton*>(u"fitWidth"_s), Qt::LeftButton);
    QVERIFY(w.zoom() >= fitted);
    QVERIFY(view->width() <= w.findChild<QWidget*>(u"pageScroll"_s)->width());

    // Printing from the preview draws the report again on a job of the service.
    QTest::mouseClick(w.findChild<QPushButton*>(u"print"_s), Qt::LeftButton);
    QCOMPARE(printing.printDialogs(), 1);
    QCOMPARE(printing.jobs().size(), size_t(1));
    QCOMPARE(printing.lastJob().document.title, u"SATIŞLAR LİSTESİ"_s);
    QCOMPARE(printing.lastJob().document.find(2, u"TOPLAM :"_s).size(), size_t(1));
    printing.answerPrintDialog(false);
    QVERIFY(!w.printDocument());
    QCOMPARE(printing.jobs().size(), size_t(1));

    const QString shot = qEnvironmentVariable("SELVAR_PREVIEW_SHOT");
    if (!shot.isEmpty()) {
        w.showPage(0);
        w.fitWidth();
        QTest::qWait(200);
        QVERIFY(w.grab().save(shot));
    }
}

void TstPrintUi::previewThroughTheService()
{
    Report r;
    sampleReport(r);
    DesktopPrintService service;
    bool seen = false;
    whenModal<PreviewWindow>(
        [&](PreviewWindow& w) {
            seen = true;
            QCOMPARE(w.pageCount(), 3);
            QCOMPARE(w.windowTitle(), u"Ön görünüm"_s);
        },
        false);
    service.preview(r);
    QVERIFY(seen);
}

void TstPrintUi::printDirectoryWritesPdf()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    qputenv("SELVAR_PRINT_DIR", dir.path().toUtf8());
    DesktopPrintService service;

    // A direct-drawing printout: no dialog, the job goes to a file.
    std::unique_ptr<Canvas> c = service.beginJob(u"SATIŞLAR LİSTESİ"_s, PageSetup(), true);
    QVERIFY(c);
    c->setFont(FontDef(u"DejaVu Sans Mono"_s, 10));
    const PageGeometry g(*c);
    const int pitch = PageGeometry::linePitch(*c, u"İÇĞŞgy"_s, 5);
    int y = 0;
    c->textOut(g.cmX(1), y, u"Sayfa No :1"_s);
    y += 2 * pitch;
    c->textOut(g.cmX(1), y, u"Tarih : 09.12.2026"_s);
    y += 2 * pitch;
    c->setFontStyle(FontStyle::Bold | FontStyle::Underline);
    c->textOut(g.cmX(1), y, format(u"%-10s %-36s %14s %6s %16s", u"TARİH", u"İLAÇ ADI", u"FİYAT   ", u"MİKTAR",
                                   u"TUTAR   "));
    c->setFontStyle(FontStyle::Regular);
    y += pitch;
    c->textOut(g.cmX(1), y, format(u"%-10s %-36s %14m %6d %16m", u"09.12.2026", u"AUGMENTİN BID 1 GR 10 TB", 12500.0,
                                   2, 25000.0));
    y += pitch;
    c->textOutRight(c->pageWidth() - g.cmX(1), y, u"YALNIZ BİRMİLYONİKİYÜZOTUZDÖRTBİN TL. DİR."_s);
    QVERIFY(c->endDocument());
    c.reset();

    Report r;
    sampleReport(r);
    QVERIFY(service.print(r, true));
    qunsetenv("SELVAR_PRINT_DIR");

    const QString first = dir.filePath(u"SATIŞLAR LİSTESİ-0001.pdf"_s);
    const QString second = dir.filePath(u"SATIŞLAR LİSTESİ-0002.pdf"_s);
    QVERIFY(QFile::exists(first));
    QVERIFY(QFile::exists(second));

    const QString direct = pdfText(first);
    QVERIFY2(direct.contains(u"Sayfa No :1"_s), qPrintable(direct));
    QVERIFY(direct.contains(u"Tarih : 09.12.2026"_s));
    QVERIFY(direct.contains(u"TARİH İLAÇ ADI FİYAT MİKTAR TUTAR"_s));
    QVERIFY(direct.contains(u"09.12.2026 AUGMENTİN BID 1 GR 10 TB 12.500 TL 2 25.000 TL"_s));
    QVERIFY(direct.contains(u"YALNIZ BİRMİLYONİKİYÜZOTUZDÖRTBİN TL. DİR."_s));

    const QString report = pdfText(second);
    const QStringList pages = report.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    QVERIFY2(pages[0].contains(u"Sayfa No : 1 SATIŞLAR LİSTESİ"_s), qPrintable(pages[0]));
    QVERIFY(pages[0].contains(u"1 ÜRÜN İĞŞÇÖ 1 1.250 TL"_s));
    QVERIFY(pages[0].contains(u"27 ÜRÜN İĞŞÇÖ 27 33.750 TL"_s));
    QVERIFY(!pages[0].contains(u"ÜRÜN İĞŞÇÖ 28 "_s));
    QVERIFY(pages[1].contains(u"Sayfa No : 2"_s));
    QVERIFY(pages[1].contains(u"28 ÜRÜN İĞŞÇÖ 28 35.000 TL"_s));
    QVERIFY(pages[2].contains(u"70 ÜRÜN İĞŞÇÖ 70 87.500 TL"_s));
    // 1 250 × (1 + … + 70) = 3 106 250
    QVERIFY(pages[2].contains(u"TOPLAM : 3.106.250 TL"_s));
}

void TstPrintUi::printerCanvas()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"yazici.pdf"_s));
    PageSetup setup;
    setup.paper = 9;
    setup.orientation = Orientation::Landscape;
    PrinterCanvas c(printer, setup);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(c.resolution(), printer.resolution());
    QVERIFY(c.pageWidth() > c.pageHeight());
    QCOMPARE(c.pageWidth(), printer.pageRect(QPrinter::DevicePixel).toRect().width());
    // Pixels and millimetres describe the same area, so a centimetre is a centimetre.
    const PageGeometry g(c);
    QVERIFY(qAbs(g.pixelsPerCmX() - printer.resolution() / 2.54) < 1.0);

    c.beginDocument(u"Fatura"_s);
    c.setFont(FontDef(u"DejaVu Sans"_s, 11));
    c.textOut(g.mmX(20), g.mmY(20), u"KURUM ADI ÇĞİÖŞÜ"_s);
    c.newPage();
    c.textOut(0, 0, u"Sayfa No :2"_s);
    QVERIFY(c.endDocument());
    QVERIFY(QFile::exists(printer.outputFileName()));
    if (!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) {
        const QStringList pages = pdfText(printer.outputFileName()).split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(u"KURUM ADI ÇĞİÖŞÜ"_s));
        QVERIFY(pages[1].contains(u"Sayfa No :2"_s));
    }

    // User-defined paper in tenths of a millimetre.
    PageSetup user;
    user.paper = UserPaper;
    user.paperWidth = 2000;
    user.paperLength = 1500;
    PrinterCanvas::applySetup(printer, user);
    QCOMPARE(printer.pageLayout().pageSize().size(QPageSize::Millimeter), QSizeF(200, 150));
}

void TstPrintUi::fontDialog()
{
    auto families = [](ReportFontDialog& d) {
        for (QListView* v : d.fontPicker()->findChildren<QListView*>()) {
            QStringList names;
            for (int i = 0; i < v->model()->rowCount(); ++i) names << v->model()->index(i, 0).data().toString();
            if (names.contains(u"DejaVu Sans Mono"_s)) return names;
        }
        return QStringList();
    };
    FontDef current(u"DejaVu Sans Mono"_s, 9, true);
    current.color = QColor(0x80, 0, 0);
    {
        ReportFontDialog fixed(current, true);
        QCOMPARE(fixed.windowTitle(), u"Yazı Tipi"_s);
        const QStringList names = families(fixed);
        QVERIFY(!names.isEmpty());
        for (const QString& n : names) QVERIFY2(QFontDatabase::isFixedPitch(n), qPrintable(n));
        QCOMPARE(fixed.colorBox()->currentText(), u"Bordo"_s);
        const FontDef f = fixed.selectedFont();
        QCOMPARE(f.family, u"DejaVu Sans Mono"_s);
        QCOMPARE(f.size, 9);
        QVERIFY(f.bold && !f.italic);
        fixed.colorBox()->setCurrentIndex(fixed.colorBox()->findText(u"Kırmızı"_s));
        QCOMPARE(fixed.selectedFont().color, QColor(Qt::red));
    }
    {
        ReportFontDialog any(current, false);
        const QStringList names = families(any);
        QVERIFY(std::any_of(names.begin(), names.end(), [](const QString& n) { return !QFontDatabase::isFixedPitch(n); }));
        FontDef odd = current;
        odd.color = QColor(1, 2, 3);
        ReportFontDialog custom(odd, false);
        QCOMPARE(custom.colorBox()->currentText(), u"Özel"_s);
        QCOMPARE(custom.selectedFont().color, QColor(1, 2, 3));
    }

    // Through the service: OK gives the font, cancel gives nothing.
    DesktopPrintService service;
    whenModal<ReportFontDialog>([](ReportFontDialog& d) { QVERIFY(d.fixedPitchOnly()); }, true);
    const std::optional<FontDef> chosen = service.chooseFont(current, FontChoice::FixedPitch);
    QVERIFY(chosen);
    QCOMPARE(chosen->family, current.family);
    QCOMPARE(chosen->size, 9);
    whenModal<ReportFontDialog>([](ReportFontDialog& d) { QVERIFY(!d.fixedPitchOnly()); }, false);
    QVERIFY(!service.chooseFont(current, FontChoice::Any));
}

QTEST_MAIN(TstPrintUi)
#include "tst_print_ui.moc"
