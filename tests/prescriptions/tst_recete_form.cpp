#include "data/database.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/ui/recete_kayit.h"
#include "prescriptions/ui/recete_form.h"
#include "print/ui/desktop_print_service.h"
#include "print/print_service.h"
#include "sales/satis_logic.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
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

class TakeOne final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest&) override { return {true, {}}; }
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(16, 0))};
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    Fixture()
    {
        session.companion = &companion;
        Sql::run(t.db(), u"INSERT INTO KRMLAR (KOD, AD, ILACLARDAKURUM, ILACLARDAEMEKLI, ILACLARDACALISAN, ETIKET1) "
                         u"VALUES ('SSK', 'SOSYAL SİGORTALAR KURUMU', 10, 20, 10, 'Sicil No')"_s);
        Sql::run(t.db(), u"UPDATE EKIM SET EADI = 'PAPATYA ECZANESİ'"_s);
    }
};
}  // namespace

class TstReceteForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysAndStore();
    void saleRoadThroughThePrescriptionWindow();
    void standardBackPrintAsPdf();
    void printerFontIsKept();
};

void TstReceteForm::keysAndStore()
{
    Fixture f;
    addProduct(f.t.db(), u"PAROL"_s, 100000);
    Sql::run(f.t.db(), u"INSERT INTO SATEMP (SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV) VALUES (1, 'PAROL', 1, 100000, 1, 'N', 8)"_s);
    TReceteForm form(f.session);
    form.headingPicker = [] { return u"Ankara"_s; };
    form.open(QString(), 1, u"09.12.2026"_s, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), u"REÇETE KAYIT"_s);
    QVERIFY(!form.button(u"Sakla"_s)->isEnabled());
    f.companion.answer(u"BrKurumCreate"_s, u"SSK"_s);
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(f.companion.last(u"BrKurumCreate"_s)->args[0].toInt(), 1);
    QCOMPARE(form.label(u"ETIKET1"_s)->text(), u"Sicil No"_s);
    QCOMPARE(form.accountTable()->item(0, 1)->text(), u"10,00"_s);
    QCOMPARE(form.accountTable()->item(5, 6)->text(), u"81.000 TL"_s);  // Çalışan: 10 % of 90,000
    QLineEdit* name = form.box(u"HASTADI"_s);
    name->setFocus();
    typeText(name, u"Şükrü"_s);
    form.box(u"HASTASOYAD"_s)->setFocus();
    typeText(form.box(u"HASTASOYAD"_s), u"Çınar"_s);
    form.box(u"BAS1"_s)->setFocus();
    QVERIFY(form.button(u"Sakla"_s)->isEnabled());
    QTest::keyClick(form.box(u"BAS1"_s), Qt::Key_F3);
    QCOMPARE(form.box(u"BAS1"_s)->text(), u"Ankara"_s);
    f.prompter.answer(Answer::Yes);
    QTest::keyClick(&form, Qt::Key_F11);  // the stamped back-print, and store
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.logic().printChoice(), 2);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RKDEFTERNO FROM RECETE"_s).toString(), u"260000001"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT NET FROM RECETE"_s).toDouble(), 81000.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BAS1 FROM RECETE"_s).toString(), u"Ankara"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT HASTADI || ' ' || HASTASOYAD FROM HASTA"_s).toString(), u"Şükrü Çınar"_s);
}

void TstReceteForm::saleRoadThroughThePrescriptionWindow()
{
    Fixture f;
    const qint64 a = addProduct(f.t.db(), u"ASPİRİN"_s, 10000, 10);
    const qint64 b = addProduct(f.t.db(), u"PAROL"_s, 25000, 10);
    TakeOne values;
    SaleWindowLinks links;
    links.receteKayitAc = [&](const QString& book, int mode, const QString& date, double sale, const LinesRecorder& lines) {
        return ReceteKayitAc(f.session, book, mode, date, sale, lines);
    };
    SatisLogic sale(f.session, &values, links);
    sale.Giris();
    sale.positionByName(u"ASPİRİN"_s);
    sale.satisEkle();
    sale.positionByName(u"PAROL"_s);
    sale.satisEkle();
    // The prescription window: institution, patient, store with the book question answered Yes.
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TReceteForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        form->box(u"KURUMKOD"_s)->setFocus();
        typeText(form->box(u"KURUMKOD"_s), u"SSK"_s);
        form->box(u"HASTADI"_s)->setFocus();
        typeText(form->box(u"HASTADI"_s), u"Ali"_s);
        form->box(u"HASTASOYAD"_s)->setFocus();
        typeText(form->box(u"HASTASOYAD"_s), u"Veli"_s);
        f.prompter.answer(Answer::Yes);
        QVERIFY(form->button(u"Sakla"_s)->isEnabled());
        form->button(u"Sakla"_s)->click();
    });
    QTimer::singleShot(5000, [] {  // never leave the test hanging on a dialog
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    sale.receteKayit();
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM SATIS WHERE SATISNO = 1 AND PARAKENDE = 'R'"_s).toInt(), 2);
    Sql r(f.t.db(), u"SELECT RKDEFTERNO, SATISNO, KURUMKOD, BRUTN, HASTAKATPAY, NET, KDVB FROM RECETE"_s);
    r.exec();
    QVERIFY(r.next());
    QCOMPARE(r.text(0), u"260000001"_s);
    QCOMPARE(r.number(1), 1.0);
    QCOMPARE(r.text(2), u"SSK"_s);
    QCOMPARE(r.number(3), 35000.0);
    QCOMPARE(r.number(4), 3150.0);   // Çalışan 10 % of 31,500
    QCOMPARE(r.number(5), 28350.0);
    QCOMPARE(r.number(6), 28350.0 * 8 / 108);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, a}}).toInt(), 9);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, b}}).toInt(), 9);
    QCOMPARE(sale.lineCount(), 0);
}

void TstReceteForm::standardBackPrintAsPdf()
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty()) QSKIP("pdftotext is not installed");
    Fixture f;
    QTemporaryDir out;
    qputenv("SELVAR_PRINT_DIR", out.path().toLocal8Bit());
    DesktopPrintService printing;
    f.session.print = &printing;
    Sql::run(f.t.db(), u"INSERT INTO SATEMP (SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV) VALUES (1, 'PAROL 500 MG', 2, 50000, 1, 'N', 8)"_s);
    TReceteForm form(f.session);
    form.open(QString(), 1, u"09.12.2026"_s, 0);
    form.logic().setInstitutionBox(u"SSK"_s);
    form.logic().setClassLetter(u"E"_s);
    form.logic().computeShares();
    form.logic().setPatientName(u"Ali"_s);
    form.logic().setPatientSurname(u"Veli"_s);
    form.refresh();
    form.standardBackPrint();
    qunsetenv("SELVAR_PRINT_DIR");
    const QStringList pdfs = QDir(out.path()).entryList({u"*.pdf"_s});
    QCOMPARE(pdfs.size(), 1);
    QProcess p;
    p.start(tool, {u"-layout"_s, QDir(out.path()).absoluteFilePath(pdfs[0]), u"-"_s});
    QVERIFY(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& expected : {u"Ali Veli - SOSYAL SİGORTALAR KURUMU"_s, u"PAROL 500 MG"_s, u"100.000"_s,
                                    u"NET TOPLAM :"_s, u"72.000"_s, u"PAPATYA ECZANESİ"_s, u"(İMZA)"_s,
                                    u"1 kalem 2 adet ilaç ve 0 adet enjektör aldım."_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u"\n---\n"_s + text));
}

void TstReceteForm::printerFontIsKept()
{
    Fixture f;
    RecordingPrintService printing;
    f.session.print = &printing;
    {
        TReceteForm form(f.session);
        form.open(QString(), 1, u"09.12.2026"_s, 0);
        FontDef chosen;
        chosen.family = u"DejaVu Sans Mono"_s;
        chosen.size = 11;
        chosen.bold = true;
        chosen.underline = true;
        printing.answerFontDialog(chosen);
        form.chooseFont();
        form.reject();
    }
    Sql q(f.t.db(), u"SELECT FONTADI, FONTSIZE, STYLE FROM FONT WHERE BIRIM = 'recete'"_s);
    q.exec();
    QVERIFY(q.next());
    QCOMPARE(q.text(0), u"DejaVu Sans Mono"_s);
    QCOMPARE(q.integer(1), 11);
    QCOMPARE(q.text(2), u"E"_s);  // bold and underline
    // The next window starts with it; a back-print uses it.
    TReceteForm again(f.session);
    again.open(QString(), 1, u"09.12.2026"_s, 0);
    again.logic().setPatientName(u"Ali"_s);
    again.refresh();
    printing.answerPrintDialog(true);
    again.standardBackPrint();
    QCOMPARE(printing.jobs().size(), size_t(1));
    const auto name = printing.lastJob().document.find(0, u"Ali"_s);
    QVERIFY(!name.empty());
    QCOMPARE(name[0].font.family, u"DejaVu Sans Mono"_s);
    QVERIFY(name[0].font.bold);
    // Cancelled print dialog: nothing printed.
    printing.answerPrintDialog(false);
    again.standardBackPrint();
    QCOMPARE(printing.jobs().size(), size_t(1));
}

QTEST_MAIN(TstReceteForm)
#include "tst_recete_form.moc"
