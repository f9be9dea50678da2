// The SSK invoice windows driven by keys on the demo pharmacy: the issued invoices of an
// institution, a new invoice through the date range and the print choice, the drop of a
// prescription, the correction opened with its number, the deletion.
#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "invoicing/ui/disket_form.h"
#include "invoicing/ui/hazirfat_ssk_form.h"
#include "invoicing/ui/kesfat_ssk_form.h"
#include "prescriptions/ui/dokssk_dlg.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "support/fake_platform.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t{true};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(14, 0))};
    RecordingPrintService printing;
    Session session{t.db(), prompter, clock};
    Fixture() { session.print = &printing; }
    double value(const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); }
    int count(const QString& sql) { return Sql::scalar(t.db(), sql).toInt(); }
};

// Runs `act` on the next modal window other than `except` once it is up.
void whenModal(QWidget* except, std::function<void(QWidget*)> act)
{
    QTimer::singleShot(20, [except, act] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == except) {
            whenModal(except, act);
            return;
        }
        act(w);
    });
}

QPushButton* buttonOf(QWidget* w, const QString& caption)
{
    for (auto* b : w->findChildren<QPushButton*>())
        if (b->text() == caption) return b;
    return nullptr;
}
}  // namespace

class TstSskInvoiceForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void invoiceByKeys();
    void issuedInvoicesWindow();
    void disketteWindow();
};

void TstSskInvoiceForm::invoiceByKeys()
{
    Fixture f;
    const int servants = f.count(u"SELECT COUNT(*) FROM RECETE r JOIN RECSSK s ON s.SATISNO = r.SATISNO "
                                 u"WHERE r.KURUMKOD = 'SSK' AND r.FATNO IS NULL AND s.DURUM_KOD = '1' AND s.YAKINLIK_KOD = '0'"_s);
    QVERIFY(servants > 0);
    SskInvoiceLinks links;
    QStringList diskette;
    links.diskette = [&](QChar g, const QString& code, double no, QWidget*) {
        diskette << QString(g) << code << QString::number(no);
    };
    KesFatSskLogic(f.session, u"SSK"_s, {}).gatherUninvoiced(QDate(1, 1, 1), QDate(9998, 1, 1));
    ThazirFatSSKForm form(f.session, links);
    form.open(u"SSK"_s, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"SSK TİPİ FATURA DÜZENLEME"_s);
    QCOMPARE(form.heading()->text(), u"SSK Kurumuna Ait Reçeteler"_s);
    QVERIFY(form.numberBox()->hasFocus());
    QCOMPARE(form.dateBox()->text(), u"09/12/2026"_s);
    QVERIFY(form.prescriptionGrid()->isColumnHidden(11));  // no invoice columns for a new one
    QVERIFY(form.prescriptionGrid()->rowCount() >= 25);
    QVERIFY(form.lineBox()->title().endsWith(u" Adlı Hastaya Ait Reçete İçeriği"_s));
    QVERIFY(form.lineGrid()->rowCount() > 0);
    QVERIFY(form.lineGrid()->item(0, 4)->text().startsWith(u'%'));

    // Delete on a prescription: asked, and gone from the list.
    const int rows = form.prescriptionGrid()->rowCount();
    form.prescriptionGrid()->setFocus();
    form.prescriptionGrid()->setCurrentCell(rows - 1, 0);
    f.prompter.answer(Answer::Yes);
    QTest::keyClick(form.prescriptionGrid(), Qt::Key_Delete);
    QCOMPARE(f.prompter.texts().last(), u"Bu Reçete Listeden Çıkarılsın mı?"_s);
    QCOMPARE(form.prescriptionGrid()->rowCount(), rows - 1);

    // The diskette before an invoice.
    // A button's letter clicks it a moment later, as a click would show.
    QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(f.prompter.texts().last(), u"Lütfen Önce Fatura Kesiniz"_s);

    // The number typed, Alt+F, the workers' group chosen and "Fatura" kept, Enter.
    form.numberBox()->setFocus();
    QTest::keyClicks(form.numberBox(), u"77123456"_s);
    whenModal(&form, [](QWidget* choice) {
        QCOMPARE(choice->windowTitle(), u"SSK Döküm Seçimi"_s);
        QVERIFY(QTest::qWaitForWindowActive(choice));
        auto* dialog = qobject_cast<TDokSSKDlg*>(choice);
        QVERIFY(dialog);
        dialog->groups()->button(2)->click();  // "Çalışan Sigortalı Reçeteleri"; "Fatura" stays chosen
        QTest::keyClick(dialog->okButton(), Qt::Key_Return);
    });
    QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY2(f.printing.jobs().size() == 1,
                  qPrintable(f.prompter.texts().join(u'|') + u" modal: "_s
                             + (QApplication::activeModalWidget() ? QApplication::activeModalWidget()->windowTitle() : u"-"_s)
                             + u" focus: "_s + (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "-")));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA WHERE FATURANO = '77123456' AND FAT_GRB = 3"_s), 1);
    QVERIFY(Sql::scalar(f.t.db(), u"SELECT KES FROM FATURA WHERE FATURANO = '77123456'"_s).toBool());
    QCOMPARE(f.value(u"SELECT RCTOPSAYISI FROM FATURA WHERE FATURANO = '77123456'"_s), double(servants));
    QCOMPARE(f.printing.jobs().back().document.title, u"SSK Faturası"_s);
    const double net = f.value(u"SELECT NET FROM FATURA WHERE FATURANO = '77123456'"_s);
    QCOMPARE(form.total(u"Net Toplam"_s)->text(), format(u"%m"_s, net));
    QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), net);
    form.activateWindow();  // back from the choice and the print dialog
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(diskette.value(0), u"2"_s);
    QCOMPARE(diskette.value(1), u"SSK"_s);
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
}

void TstSskInvoiceForm::issuedInvoicesWindow()
{
    Fixture f;
    SskInvoiceLinks links;
    TKesFatSSKForm form(f.session, u"SSK"_s, links);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"SSK TİPİ KURUM FATURALARI"_s);
    QCOMPARE(form.heading()->text(), u"SSK"_s);
    QCOMPARE(form.grid()->rowCount(), 0);
    QCOMPARE(form.newButton()->text(), u"&Yeni Fatura "_s);

    // A new invoice: the range offered is accepted, the invoice window opens for a new
    // invoice; a group-2 invoice is recorded there and the list shows it.
    QString heading;
    whenModal(&form, [&](QWidget* range) {
        QCOMPARE(range->windowTitle(), u"Tarih Aralığı Belirleyin"_s);
        QVERIFY(range->findChildren<QLabel*>().size() > 0);
        whenModal(range, [&](QWidget* w) {
            auto* invoice = qobject_cast<ThazirFatSSKForm*>(w);
            QVERIFY(invoice);
            heading = invoice->heading()->text();
            invoice->numberBox()->setText(u"77000999"_s);
            invoice->logic().select(u"200"_s);
            invoice->logic().record(invoice->numberBox()->text(), QDate(2026, 11, 30));
            QTest::keyClick(invoice, Qt::Key_Escape);
        });
        QTest::keyClick(buttonOf(range, u"&Tamam"_s), Qt::Key_Space);
    });
    QTest::keyClick(&form, Qt::Key_Y, Qt::AltModifier);
    QTRY_COMPARE(form.grid()->rowCount(), 1);
    QCOMPARE(heading, u"SSK Kurumuna Ait Reçeteler"_s);
    QCOMPARE(form.grid()->rowCount(), 1);
    QCOMPARE(form.grid()->item(0, 0)->text(), u"77000999"_s);
    QCOMPARE(form.grid()->item(0, 2)->text(), u"30/11/2026"_s);

    // The correction opens the invoice with its number and date.
    QString number, date;
    bool invoiceColumns = false;
    whenModal(&form, [&](QWidget* w) {
        auto* invoice = qobject_cast<ThazirFatSSKForm*>(w);
        QVERIFY(invoice);
        number = invoice->numberBox()->text();
        date = invoice->dateBox()->text();
        invoiceColumns = !invoice->prescriptionGrid()->isColumnHidden(11);
        QTest::keyClick(invoice, Qt::Key_Escape);
    });
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(number, u"77000999"_s);
    QCOMPARE(date, u"30/11/2026"_s);
    QVERIFY(invoiceColumns);

    // The deletion asks twice (the movement is open) and empties the list.
    f.prompter.answers({Answer::Yes, Answer::Yes});
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(form.grid()->rowCount(), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE WHERE FATNO IS NOT NULL AND KURUMKOD = 'SSK'"_s), 0);
    // With nothing selected the buttons do nothing.
    f.prompter.clear();
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTest::qWait(300);
    QVERIFY(f.prompter.texts().isEmpty());
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
}

void TstSskInvoiceForm::disketteWindow()
{
    Fixture f;
    QStandardPaths::setTestModeEnabled(true);
    FakePlatform platform;
    f.session.platform = &platform;
    KesFatSskLogic(f.session, u"SSK"_s, {}).gatherUninvoiced(QDate(1, 1, 1), QDate(9998, 1, 1));
    HazirFatSskLogic invoice(f.session);
    invoice.open(u"SSK"_s, 0);
    QVERIFY(invoice.select(u"200"_s));
    QVERIFY(invoice.record(u"77123456"_s, QDate(2026, 11, 30)));
    QTemporaryDir target;
    TDisketForm form(f.session, u'2', u"SSK"_s, invoice.invoiceNo());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"DİSKET HAZIRLAMA"_s);
    QVERIFY(form.built());
    QVERIFY(QFile::exists(QDir(f.t.dir()).absoluteFilePath(u"ECZRECT1.DBF"_s)));
    QVERIFY(form.notice()->isHidden());
    // Alt+S takes the target box whole; the directory typed, Alt+K copies.
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QVERIFY(form.targetBox()->hasFocus());
    QTest::keyClicks(form.targetBox(), target.path());
    QCOMPARE(form.targetBox()->text(), target.path());
    QTest::keyClick(&form, Qt::Key_K, Qt::AltModifier);
    QTRY_VERIFY(form.notice()->isVisible());
    QCOMPARE(form.notice()->text(), u"Kopyalma İşlemi Tamamlandı."_s);
    QCOMPARE(QDir(target.path()).entryList(QDir::Files, QDir::Name),
             (QStringList{u"ECZFATR"_s, u"ECZRECT"_s, u"ECZTESC"_s, u"KODSUZ"_s}));
    QCOMPARE(f.prompter.beeps, 1);
    // The target is offered again next time.
    QCOMPARE(DisketLogic::defaultTarget(), target.path());
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TstSskInvoiceForm)
#include "tst_ssk_invoice_form.moc"
