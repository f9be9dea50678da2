// The back-print windows on the real widgets: opened for a recorded sale, driven by their
// keys, and what they leave behind.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "reports/ui/backprint.h"
#include "reports/ui/kaseli_form.h"
#include "reports/ui/tanimli_form.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Fixture {
    TestDb t{true};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(16, 0))};
    RecordingPrintService printing;
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    double sale = 0;

    Fixture()
    {
        session.print = &printing;
        session.companion = &companion;
        // A prescription of the demo pharmacy for an SSK worker.
        sale = Sql::scalar(t.db(), u"SELECT MIN(SATISNO) FROM RECETE WHERE KURUMKOD = 'SSK' AND HASTATIP = 'Ç'"_s).toDouble();
    }
};

// Runs `inside` on the modal window once it is up and active; the window never stays open.
void whenShown(const std::function<void(QWidget*)>& inside)
{
    QTimer::singleShot(0, [inside] {
        auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(w);
        // Shortcuts and focus work as on the desktop only in the active window.
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        inside(w);
        if (QApplication::activeModalWidget() == w) w->done(QDialog::Rejected);
    });
}

}  // namespace

class TstBackPrintUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stampedFromTheSale();
    void definedFromTheSale();
};

void TstBackPrintUi::stampedFromTheSale()
{
    Fixture f;
    QVERIFY(f.sale > 0);
    f.session.PrintRequest = BackPrintRequest{2, f.sale};
    bool seen = false;
    whenShown([&](QWidget* w) {
        auto* form = dynamic_cast<TQRMDForm*>(w);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), u"Kaşeli Reçete Arkası Dökümü"_s);
        // One sheet: the options of many prescriptions are hidden.
        QVERIFY(!form->option(u"SIRANO"_s)->isVisibleTo(form));
        QVERIFY(!form->option(u"DOKUMTOP"_s)->isVisibleTo(form));
        QVERIFY(form->option(u"VIZEYAZ"_s)->isVisibleTo(form));
        QCOMPARE(form->button(u"Yazdir"_s)->text(), u"&Yazdır"_s);
        QCOMPARE(form->button(u"Onizleme"_s)->text(), u"R.Öni&zleme"_s);
        QCOMPARE(form->button(u"Font"_s)->text(), u"Yazıcı &Fontu"_s);
        QCOMPARE(form->button(u"Cikis"_s)->text(), u"Çı&kış"_s);
        QVERIFY(form->option(u"VIZEYAZ"_s)->isChecked());  // kept for SSK workers
        form->option(u"PRTOKOL"_s)->setChecked(false);
        // A button's letter clicks it a moment later, as a click the user can see.
        QTest::keyClick(form, Qt::Key_Y, Qt::AltModifier);
        QTRY_VERIFY(!f.printing.jobs().empty());
        QTest::keyClick(form, Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(!form->isVisible());
        seen = true;
    });
    KaseliDokum(f.session, QString(), QString());
    QVERIFY(seen);
    QCOMPARE(f.session.PrintRequest.saleNo, 0.0);
    QCOMPARE(f.prompter.texts(), QStringList{});
    QCOMPARE(f.printing.jobs().size(), size_t(1));
    const QString text = f.printing.lastJob().document.allLines().join(u'\n');
    QVERIFY(text.contains(u"PAPATYA ECZANESİ"_s));
    QVERIFY(text.contains(u"Vize Tarihi :"_s));
    QVERIFY(text.contains(u"GENEL TOPLAM :"_s));
    // The options are kept for the institution and patient type of the sale.
    QVERIFY(!text.contains(u"Protokol No:"_s));
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT PRTOKOL FROM RECKASE WHERE KURUM = 'SSK' AND TIP = 'Ç'"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT VIZEYAZ FROM RECKASE WHERE KURUM = 'SSK' AND TIP = 'Ç'"_s).toInt(), 1);
}

void TstBackPrintUi::definedFromTheSale()
{
    Fixture f;
    f.session.PrintRequest = BackPrintRequest{1, f.sale};
    bool seen = false;
    whenShown([&](QWidget* w) {
        auto* form = dynamic_cast<TQTanimRecForm*>(w);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), u"Reçete Arkası Dökümleri"_s);
        QCOMPARE(form->headingBox()->text(), u"SOSYAL SİGORTALAR KURUMU REÇETE ARKASI DÖKÜMÜ"_s);
        QCOMPARE(form->button(u"Onizleme"_s)->text(), u"&Reç. Öngörünüm"_s);
        QCOMPARE(form->button(u"Yazdir"_s)->text(), u"Reç.yi &Yazdır"_s);
        QCOMPARE(form->button(u"Tanimla"_s)->text(), u"Reçete &Tanımla"_s);
        QCOMPARE(form->button(u"Baslik"_s)->text(), u"Başlık &Değiştir"_s);
        // One sheet: no gap between prescriptions to set, and no caption left for it.
        for (const QLabel* l : form->findChildren<QLabel*>())
            QVERIFY2(!l->isVisibleTo(form) || !l->text().contains(u"Boşluk"_s), qPrintable(l->text()));
        form->headingBox()->setText(u"ARALIK REÇETELERİ"_s);
        QTest::keyClick(form, Qt::Key_D, Qt::AltModifier);
        QTRY_COMPARE(form->logic().heading(), u"ARALIK REÇETELERİ"_s);
        QTest::keyClick(form, Qt::Key_Y, Qt::AltModifier);
        QTRY_VERIFY(!f.printing.jobs().empty());
        QTest::keyClick(form, Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(!form->isVisible());
        seen = true;
    });
    TanimliDokum(f.session, QString(), QString(), QString());
    QVERIFY(seen);
    QCOMPARE(f.session.PrintRequest.saleNo, 0.0);
    QCOMPARE(f.prompter.texts(), QStringList{});
    QCOMPARE(f.printing.jobs().size(), size_t(1));
    const QStringList lines = f.printing.lastJob().document.allLines();
    // The demo layout of SSK workers: a 10 mm margin, the fields, the columns and the
    // closing words, the syringes not counted among the medicines.
    QCOMPARE(lines.value(0), u"     ARALIK REÇETELERİ"_s);
    QVERIFY(lines.contains(u"     ENJEKTÖR 2,5 ML                            2        150.000          300.000"_s));
    QCOMPARE(lines.value(lines.size() - 1), u"     1 KALEM, 1 ADET İLAÇ ALDIM."_s);
}

QTEST_MAIN(TstBackPrintUi)
#include "tst_backprint_ui.moc"
