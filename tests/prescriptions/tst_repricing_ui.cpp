// The repricing windows by their keys: the start date, one prescription repriced with
// Enter and left with "&Sonraki " or Esc, its back sheet and the "yenideg" font row, and
// the automatic run with its report, its list and the back sheet of a listed sale.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/ui/otoydg_form.h"
#include "prescriptions/ui/yenideg_form.h"
#include "print/document.h"
#include "print/print_service.h"
#include "print/report_fonts.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(15, 0))};
    RecordingPrintService printing;
    Session session{t.db(), prompter, clock};
    qint64 drug = 0;
    QList<double> stamped, defined;
    RepricingBackPrints prints;
    Fixture()
    {
        session.print = &printing;
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"BK"_s}, {u"AD"_s, u"BAĞ-KUR"_s}, {u"ILACLARDAKURUM"_s, 10.0},
                      {u"ILACLARDACALISAN"_s, 20.0}, {u"HSP_ISKON"_s, u"0"_s}, {u"YDEGER"_s, u"S"_s}});
        drug = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 12000, 10);
        Sql::run(t.db(), u"UPDATE URUN SET FIYATARIH = '2026-03-15'"_s);
        prints.stamped = [this](QWidget*) { stamped << session.PrintRequest.saleNo; };
        prints.defined = [this](QWidget*) { defined << session.PrintRequest.saleNo; };
    }
    void prescription(double sale, double price)
    {
        insertRecord(t.db(), u"RECETE"_s,
                     {{u"RKDEFTERNO"_s, u"XX"_s + QString::number(sale)}, {u"SATISNO"_s, sale}, {u"KURUMKOD"_s, u"BK"_s},
                      {u"HASTATIP"_s, u"Ç"_s}, {u"RECTARIH"_s, QDate(2026, 3, 20)}, {u"HASTANO"_s, 1}});
        insertRecord(t.db(), u"SATIS"_s,
                     {{u"SATISNO"_s, sale}, {u"SIRANOURUN"_s, 1}, {u"SATARIH"_s, QDateTime(QDate(2026, 3, 20), QTime(10, 0))},
                      {u"ILACNO"_s, drug}, {u"FIYAT"_s, price}, {u"MIKTAR"_s, 2}, {u"KDV"_s, 8.0},
                      {u"RECETETIP"_s, u"N"_s}, {u"PARAKENDE"_s, u"R"_s}});
        recomputePrescription(t.db(), sale);
    }
    double value(const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); }
};
}  // namespace

class TstRepricingUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startDate();
    void onePrescriptionByKeys();
    void backSheetAndItsFont();
    void automaticRun();
};

void TstRepricingUi::startDate()
{
    Fixture f;
    TYeniDlg d(f.session);
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.windowTitle(), u"Tarih Belirleme"_s);
    QCOMPARE(d.dateBox()->text(), u"01.12.2026"_s);
    // Not a date: the box again.
    d.dateBox()->setText(u"31.02.2026"_s);
    QTest::keyClick(d.dateBox(), Qt::Key_Return);
    QVERIFY(d.isVisible());
    QCOMPARE(f.prompter.beeps, 1);
    d.dateBox()->clear();
    QTest::keyClick(d.dateBox(), Qt::Key_Return);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!d.date().isValid());
}

void TstRepricingUi::onePrescriptionByKeys()
{
    Fixture f;
    f.prescription(41, 10000);
    TYeniDegForm form(f.session, f.prints);
    QVERIFY(form.open(41));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"YENİDEN FİYAT DEĞERLENDİRME"_s);
    QCOMPARE(form.label(u"Kural"_s)->text(), u"Son Fiyat Tarihine Göre"_s);
    QCOMPARE(form.lineGrid()->horizontalHeaderItem(7)->text(), u"Yeni  Sat.Fyt."_s);
    QCOMPARE(form.lineGrid()->item(0, 7)->text(), u"12.000,00"_s);
    QCOMPARE(form.lineGrid()->item(0, 9)->text(), u"4.000,00"_s);
    QVERIFY(form.lineGrid()->hasFocus());
    // Delete is ignored; Enter asks and transfers.
    QTest::keyClick(form.lineGrid(), Qt::Key_Delete);
    QCOMPARE(form.lineGrid()->rowCount(), 1);
    f.prompter.answer(Answer::Yes);
    QTest::keyClick(form.lineGrid(), Qt::Key_Return);
    QCOMPARE(f.prompter.texts().last(), u"Fiyat Değişikliğini Tasdikliyormusunuz?"_s);
    QCOMPARE(f.value(u"SELECT FIYAT FROM SATIS WHERE SATISNO = 41"_s), 12000.0);
    QCOMPARE(f.value(u"SELECT BRUTN FROM RECETE WHERE SATISNO = 41"_s), 24000.0);
    QCOMPARE(f.value(u"SELECT HASTAKATPAY FROM RECETE WHERE SATISNO = 41"_s), 4320.0);
    QCOMPARE(form.lineGrid()->item(0, 9)->text(), u"0,00"_s);
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.outcome(), YeniDegLogic::Result::Continue);
    // Esc is "Dur".
    TYeniDegForm again(f.session, f.prints);
    QVERIFY(again.open(41));
    again.show();
    QVERIFY(QTest::qWaitForWindowActive(&again));
    QTest::keyClick(&again, Qt::Key_Escape);
    QCOMPARE(again.outcome(), YeniDegLogic::Result::Stop);
}

void TstRepricingUi::backSheetAndItsFont()
{
    Fixture f;
    f.prescription(41, 12000);
    TYeniDegForm form(f.session, f.prints);
    QVERIFY(form.open(41));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.button(u"RADkm"_s)->click();
    QVERIFY(form.printPanel()->isVisible());
    form.findChild<QSpinBox*>(u"Marjin"_s)->setValue(2);
    FontDef courier;
    courier.family = u"Arial"_s;
    courier.size = 9;
    f.printing.answerFontDialog(courier);
    form.button(u"YaziFontu"_s)->click();
    form.button(u"Tamam"_s)->click();
    QCOMPARE(f.printing.jobs().size(), size_t(1));
    QCOMPARE(f.printing.lastJob().document.title, u"Reçete Arkası"_s);
    const QStringList printed = f.printing.lastJob().document.lines(0);
    QVERIFY(printed.join(u'\n').contains(u"İLAÇLARDA"_s));
    QVERIFY(printed.join(u'\n').contains(u"PAROL 500 MG 20 TABLET"_s));
    QVERIFY(!form.printPanel()->isVisible());
    const std::optional<ReportFontRow> row = readReportFont(f.t.db(), u"yenideg"_s);
    QVERIFY(row);
    QCOMPARE(row->font.family, u"Arial"_s);
    QCOMPARE(row->margin, 2);
    // The two back sheets get the sale, which is reset afterwards.
    form.button(u"KaseliDokum"_s)->click();
    form.button(u"TanimliDokum"_s)->click();
    QCOMPARE(f.stamped, QList<double>{41});
    QCOMPARE(f.defined, QList<double>{41});
    QCOMPARE(f.session.PrintRequest.saleNo, 0.0);
}

void TstRepricingUi::automaticRun()
{
    Fixture f;
    f.prescription(41, 10000);
    f.prescription(42, 12000);
    TOtoYedgTrhForm query(f.session, f.prints);
    QCOMPARE(query.dateBox()->text(), u"01.01.1996"_s);
    // The chosen institution's options need one.
    query.options()->button(1)->setChecked(true);
    query.run();
    QCOMPARE(f.prompter.texts().last(), u"Seçili kurum için önce F5 ile bir kurum seçin."_s);
    TOtoYDgForm form(f.session, {}, 0, QDate(1996, 1, 1), f.prints);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"Otomatik Reçete Yeniden Değerlendirme"_s);
    QVERIFY(!form.printButton()->isEnabled());
    QTest::keyClick(&form, Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(!form.startButton()->isEnabled());
    QCOMPARE(form.memo()->toPlainText(),
             u"1 kalem ilacın fiyatı değerlendirildi.\n1 Adet Reçete Y.Değerlendirildi."_s);
    QCOMPARE(form.sales()->count(), 1);
    QCOMPARE(form.sales()->item(0)->text(), u"41"_s);
    QCOMPARE(f.value(u"SELECT FIYAT FROM SATIS WHERE SATISNO = 41"_s), 12000.0);
    QVERIFY(form.printButton()->isEnabled());
    form.printButton()->click();
    QCOMPARE(f.stamped, QList<double>{41});
}

QTEST_MAIN(TstRepricingUi)
#include "tst_repricing_ui.moc"
