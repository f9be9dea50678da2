// The SSK windows on their real widgets: the counter with its values dialog driven by
// keys, the registration's keys, lists, store and its back sheet written as a PDF.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/ui/mik_ssk_dlg.h"
#include "prescriptions/ui/recete_ssk_form.h"
#include "prescriptions/ui/satis_ssk_form.h"
#include "print/print_service.h"
#include "print/ui/desktop_print_service.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(16, 0))};
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    qint64 krem = 0, serum = 0;
    Fixture()
    {
        session.companion = &companion;
        session.OldSalesAllowed = true;
        session.ProductCardRight = u"E"_s;
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"SSK"_s}, {u"AD"_s, u"SOSYAL SİGORTALAR KURUMU"_s}, {u"HSP_ISKON"_s, u"0"_s},
                      {u"ILACLARDAKURUM"_s, 10.0}, {u"ILACBERABERKURUM"_s, 10.0}, {u"OZELKATILIMKURUM"_s, 20.0},
                      {u"ILACLARDAEMEKLI"_s, 10.0}, {u"ILACBERABEREMEKLI"_s, 20.0}, {u"OZELKATILIMEMEKLI"_s, 30.0},
                      {u"ETIKET1"_s, u"Sicil No"_s}});
        Sql::run(t.db(), u"UPDATE EKIM SET EADI = 'PAPATYA ECZANESİ'"_s);
        krem = addProduct(t.db(), u"DERMO KREM 30 G"_s, 25000, 20, u"8699123340015"_s, u"N"_s, 8);
        serum = addProduct(t.db(), u"SERUM FİZYOLOJİK 500 ML"_s, 50000, 12, u"SF500A"_s, u"O"_s, 8);
    }
    void lines()
    {
        Sql::run(t.db(), u"INSERT INTO SATEMSSK (SIRANO, URUNAD, URUNO, RECKOD, KDV, MIKTAR, FIYAT, GUN_KUL, BIRKUL_ALMIK) "
                         u"VALUES (1, 'DERMO KREM 30 G', :k, 'N', 8, 2, 25000, '3', '  1')"_s,
                 {{u"k"_s, krem}});
        Sql::run(t.db(), u"INSERT INTO SATEMSSK (SIRANO, URUNAD, URUNO, RECKOD, KDV, MIKTAR, FIYAT) "
                         u"VALUES (2, 'SERUM FİZYOLOJİK 500 ML', :s, 'O', 8, 1, 50000)"_s,
                 {{u"s"_s, serum}});
    }
};

// Runs `inside` on the modal window once it is up and active; the window never stays open.
template <typename W>
void whenShown(const std::function<void(W*)>& inside)
{
    QTimer::singleShot(0, [inside] {
        auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(w);
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        auto* typed = dynamic_cast<W*>(w);
        QVERIFY(typed);
        inside(typed);
        if (QApplication::activeModalWidget() == w) w->done(QDialog::Rejected);
    });
}
}  // namespace

class TstSskUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void counterAndValuesDialogByKeys();
    void registrationByKeys();
    void backSheetAsPdf();
    void dateTypedThenF8();
};

void TstSskUi::counterAndValuesDialogByKeys()
{
    Fixture f;
    TSatisSSKForm form(f.session, {}, nullptr);
    TMikSSKDlg values(f.session, &form);
    form.setValuesDialog(&values);
    form.Giris();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"SSK REÇETELERİ İÇİN SATIŞ İŞLEMLERİ"_s);
    QCOMPARE(form.label(u"Mode"_s)->text(), u"Liste Şu An KLAVYDEN ARAMAYA AYARLI"_s);
    QCOMPARE(form.button(u"Kayit"_s)->text(), u"SSK Reçete Kayıt"_s);
    QCOMPARE(form.lineModel()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), u"Reçetedeki İlaç Adı"_s);
    bool seen = false;
    whenShown<TMikDlg>([&](TMikDlg* dlg) {
        QCOMPARE(dlg->objectName(), u"TMikSSKDlg"_s);
        QCOMPARE(dlg->priceLabel()->text(), u"&Fiyatı"_s);
        QCOMPARE(dlg->quantityLabel()->text(), u"Sat. &Miktarı"_s);
        QCOMPARE(dlg->typeBox()->title(), u"&REÇETE TİPİ"_s);
        QCOMPARE(dlg->prescriptionTypes()->buttons().size(), 10);
        QCOMPARE(dlg->historyCloseButton()->text(), u"Esk. Fyt. List. Ka&pat"_s);
        QCOMPARE(dlg->dailyUseBox()->text(), u"1"_s);
        QCOMPARE(dlg->doseBox()->text(), u"  1"_s);
        // Alt+G goes to the daily use; a 3 typed there, then Enter takes the line.
        QTest::keyClick(dlg, Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(dlg->dailyUseBox()->hasFocus());
        dlg->dailyUseBox()->selectAll();
        QTest::keyClicks(dlg->dailyUseBox(), u"3"_s);
        QTest::keyClick(dlg->dailyUseBox(), Qt::Key_Return);
        seen = true;
    });
    typeText(form.productList(), u"DERMO KREM 30 G"_s);
    QTest::keyClick(form.productList(), Qt::Key_Return);
    QVERIFY(seen);
    QCOMPARE(form.lineModel()->rowCount(), 1);
    QCOMPARE(form.lineModel()->lines()[0].dailyUse, u"3"_s);
    QCOMPARE(form.lineModel()->lines()[0].dose, u"  1"_s);
    QCOMPARE(form.label(u"Toplam"_s)->text(), u"25.000 TL"_s);
    // "Eşdeğerini Yazdır" leaves the equivalence code's cell open for typing.
    form.lineList()->setFocus();
    form.lineList()->setCurrentIndex(form.lineModel()->index(0, SskLinesModel::Quantity));
    form.button(u"EsdegerYaz"_s)->click();
    QLineEdit* editor = nullptr;
    QTRY_VERIFY((editor = form.lineList()->viewport()->findChild<QLineEdit*>()) && editor->isVisible());
    QCOMPARE(form.lineList()->currentIndex().column(), int(SskLinesModel::Equivalence));
    QTest::keyClick(editor, Qt::Key_Escape);
    // Ctrl+Delete in the list removes the line.
    form.lineList()->setFocus();
    form.lineList()->setCurrentIndex(form.lineModel()->index(0, SskLinesModel::Quantity));
    QTest::keyClick(form.lineList(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(form.lineModel()->rowCount(), 0);
    form.close();
}

void TstSskUi::registrationByKeys()
{
    Fixture f;
    f.lines();
    Sql::run(f.t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD, KURUM, SICILNO, KM_UNITNO) VALUES ('Hasan', 'Kaya', 'SSK', '123456789', '77')"_s);
    TReceteSSKForm form(f.session);
    form.open(1, u"05.12.2026"_s, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"SSK TİPİ REÇETE KAYIT"_s);
    QCOMPARE(form.pages()->tabText(0), u"Kodlu Bilgiler "_s);
    QCOMPARE(form.pages()->tabText(1), u"Hesap     "_s);
    QCOMPARE(form.combo(u"YAKINLIK_KOD"_s)->itemText(1), u"0-Kendisi / Sigortalı "_s);
    QCOMPARE(form.combo(u"DURUM_KOD"_s)->itemText(7), u"7--Muaf (Kurum Mem.)"_s);
    f.companion.answer(u"BrKurumCreate"_s, u"SSK"_s);
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(form.label(u"ETIKET1"_s)->text(), u"Sicil No"_s);
    form.box(u"HASTADI"_s)->setFocus();
    typeText(form.box(u"HASTADI"_s), u"Fatma"_s);
    form.box(u"HASTASOYAD"_s)->setFocus();
    typeText(form.box(u"HASTASOYAD"_s), u"Kaya"_s);
    // F8: the insured from the cards, the focus on the protocol number.
    f.companion.answer(u"BrHastaCreate"_s, 1);
    QTest::keyClick(&form, Qt::Key_F8);
    QCOMPARE(form.box(u"RS_AD"_s)->text(), u"Hasan"_s);
    QCOMPARE(form.box(u"MEMUNITNO"_s)->text(), u"77"_s);
    QVERIFY(form.box(u"PROTOKOLNO"_s)->hasFocus());
    // The lists by their letters and a typed item.
    QTest::keyClick(&form, Qt::Key_K, Qt::AltModifier);
    QTRY_VERIFY(form.combo(u"DURUM_KOD"_s)->hasFocus());
    QTest::keyClicks(form.combo(u"DURUM_KOD"_s), u"2"_s);
    QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
    QTRY_VERIFY(form.combo(u"YAKINLIK_KOD"_s)->hasFocus());
    QTest::keyClicks(form.combo(u"YAKINLIK_KOD"_s), u"2"_s);
    QCOMPARE(form.combo(u"YAKINLIK_KOD"_s)->currentText(), u"2-Kadın Eş"_s);
    QTest::keyClick(&form, Qt::Key_M, Qt::AltModifier);  // "E&mekli"
    QTRY_COMPARE(form.logic().classLetter(), u"E"_s);
    // N 50.000 less 10 % and 10 % of the rest, O 50.000 less 20 % and 30 % of the rest.
    QTRY_COMPARE(form.accountTable()->item(3, 6)->text(), u"68.500 TL"_s);
    form.box(u"SICILNO"_s)->setFocus();
    form.box(u"SICILNO"_s)->selectAll();
    typeText(form.box(u"SICILNO"_s), u"123-456 789"_s);
    f.prompter.answers({Answer::Yes});  // into the book; the insured's card holds the same
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(f.prompter.texts(), QStringList{u"Reçete Kayıt Defterine Kaydedilsin mi?"_s});
    Sql s(f.t.db(), u"SELECT SICILNO, DURUM_KOD, YAKINLIK_KOD, RS_AD FROM RECSSK"_s);
    s.exec();
    QVERIFY(s.next());
    QCOMPARE(s.text(0), u"123456789"_s);
    QCOMPARE(s.text(1), u"2"_s);
    QCOMPARE(s.text(2), u"2"_s);
    QCOMPARE(s.text(3), u"Hasan"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RKDEFTERNO FROM RECETE"_s).toString(), u"260000001"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT HASTATIP FROM RECETE"_s).toString(), u"E"_s);
}

void TstSskUi::backSheetAsPdf()
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty()) QSKIP("pdftotext is not installed");
    Fixture f;
    f.lines();
    QTemporaryDir out;
    qputenv("SELVAR_PRINT_DIR", out.path().toLocal8Bit());
    DesktopPrintService printing;
    f.session.print = &printing;
    {
        TReceteSSKForm form(f.session);
        form.open(1, u"05.12.2026"_s, 0);
        // Without the patient's data nothing is printed.
        form.directPrint();
        QCOMPARE(f.prompter.texts(), QStringList{u"Hasta Bilgileri verilmeden Döküm Alınamaz."_s});
        ReceteSskLogic& l = form.logic();
        l.setInstitutionBox(u"SSK"_s);
        l.setPatientName(u"Fatma"_s);
        l.setPatientSurname(u"Kaya"_s);
        l.setInsuredName(u"Hasan"_s);
        l.setInsuredSurname(u"Kaya"_s);
        l.setStatusItem(u"2-Emekli Sigortalı"_s);
        l.setRelationshipItem(u"2-Kadın Eş"_s);
        l.setSskField(u"SICILNO"_s, u"123456789"_s);
        l.setClassLetter(u"E"_s);
        l.computeShares();
        form.refresh();
        // Alt+R from the first page: the printout's page comes up and its button prints.
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.pages()->currentIndex(), 0);
        QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
        QCOMPARE(form.pages()->currentIndex(), 2);
        QCOMPARE(l.institutionBox(), u"SSK"_s);
        // Alt+F3 prints from any page and any box, without a letter typed into the box.
        form.pages()->setCurrentIndex(0);
        form.box(u"KURUMKOD"_s)->setFocus();
        QTest::keyClick(form.box(u"KURUMKOD"_s), Qt::Key_F3, Qt::AltModifier);
        QCOMPARE(form.box(u"KURUMKOD"_s)->text(), u"SSK"_s);
    }
    qunsetenv("SELVAR_PRINT_DIR");
    const QStringList pdfs = QDir(out.path()).entryList({u"*.pdf"_s});
    QCOMPARE(pdfs, (QStringList{u"SSK Reçete Arkası-0001.pdf"_s, u"SSK Reçete Arkası-0002.pdf"_s}));
    QProcess p;
    p.start(tool, {u"-layout"_s, QDir(out.path()).absoluteFilePath(pdfs[0]), u"-"_s});
    QVERIFY(p.waitForFinished(20000));
    // The PDF's text comes back with its words, the spacing of the layout only roughly.
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    for (const QString& line :
         {u"   1 8699123340015 KREM           2      50.000     50.000          0          0"_s,
          u"   2 SERUM FİZYOLO                1      50.000          0          0     50.000"_s,
          u"PAPATYA ECZANESİ                       Genel Toplam       :     100.000 TL"_s, u"123456789"_s,
          u"Yakınlık Durumu    : 2-Kadın Eş"_s}) {
        const QString expected = line.simplified();
        QVERIFY2(text.contains(expected), qPrintable(expected + u"\n---\n"_s + text));
    }
}

void TstSskUi::dateTypedThenF8()
{
    // F8 pressed in the date box opens the registration with the date just typed.
    Fixture f;
    f.lines();
    QString given;
    SskSaleLinks links;
    links.receteSskAc = [&](int, const QString& date, double, const LinesRecorder&) {
        given = date;
        return 0.0;
    };
    TSatisSSKForm form(f.session, links, nullptr);
    form.Giris();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.productList(), Qt::Key_F4);
    QVERIFY(form.dateBox()->hasFocus());
    QTest::keyClicks(form.dateBox(), u"05122026"_s);
    QTest::keyClick(form.dateBox(), Qt::Key_F8);
    QCOMPARE(given, u"05.12.2026"_s);
    form.close();
}

QTEST_MAIN(TstSskUi)
#include "tst_ssk_ui.moc"
