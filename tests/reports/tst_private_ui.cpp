// The private reports' windows: the password, the log row of every close of "Özel Rapor",
// a refused period, the cash report's figures and grids, the day-by-day table and its
// report, the lists and the profit report.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/document.h"
#include "print/print_service.h"
#include "reports/ui/private_forms.h"
#include "reports/ui/reports.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QApplication>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
const QDate D2(2026, 3, 2), D3(2026, 3, 3);

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(D3, QTime(18, 0))};
    RecordingPrintService printing;
    Session session{t.db(), prompter, clock};
    Fixture()
    {
        session.print = &printing;
        if (Sql::scalar(t.db(), u"SELECT COUNT(*) FROM EKIM"_s).toInt() == 0) insertRecord(t.db(), u"EKIM"_s, {});
        Sql::run(t.db(), u"UPDATE EKIM SET OZEL = 'gizli'"_s);
        const qint64 p = addProduct(t.db(), u"PAROL"_s, 10800, 10);
        insertRecord(t.db(), u"SATIS"_s,
                     {{u"SATISNO"_s, 1.0}, {u"SIRANOURUN"_s, 1}, {u"SATARIH"_s, QDateTime(D2, QTime(10, 0))}, {u"ILACNO"_s, p},
                      {u"FIYAT"_s, 10800.0}, {u"MIKTAR"_s, 2}, {u"KDV"_s, 8.0}, {u"PARAKENDE"_s, u"P"_s}});
        insertRecord(t.db(), u"HAREKET"_s,
                     {{u"HAREKNO"_s, 1.0}, {u"TUR"_s, u"M"_s}, {u"TARIH"_s, D2}, {u"BORC"_s, 5400.0}, {u"NIHAI"_s, 0}});
    }
    int logRows() { return Sql::scalar(t.db(), u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Özel Rapor'"_s).toInt(); }
};
}  // namespace

class TstPrivateUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void password();
    void everyCloseIsLogged();
    void cashReport();
    void listsAndProfit();
};

void TstPrivateUi::password()
{
    Fixture f;
    TOZELWordDlg1 d(f.session);
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.windowTitle(), u"ÖZEL ŞİFRE TASDİK"_s);
    QCOMPARE(d.box()->echoMode(), QLineEdit::Password);
    for (const QString& wrong : {u"GIZLI"_s, u"gizl"_s}) {
        d.box()->setText(wrong);
        QTest::keyClick(d.box(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(f.prompter.texts().last(), u"Geçersiz Şifre"_s);
    }
    d.box()->setText(u"gizli"_s);
    QTest::keyClick(d.box(), Qt::Key_Return);
    QCOMPARE(d.result(), int(QDialog::Accepted));

    // "Vazgeç" after a wrong try opens nothing and leaves no trace in the log.
    bool reportOpened = false;
    QTimer::singleShot(0, [&] {
        auto* asked = qobject_cast<TOZELWordDlg1*>(QApplication::activeModalWidget());
        QVERIFY(asked);
        asked->box()->setText(u"yanlis"_s);
        QTest::keyClick(asked->box(), Qt::Key_Return);
        QTimer::singleShot(0, [&] {
            reportOpened = qobject_cast<TOzelVeGizliForm*>(QApplication::activeModalWidget()) != nullptr;
            if (auto* w = QApplication::activeModalWidget()) {
                for (auto* b : w->findChildren<QPushButton*>())
                    if (b->text() == u"Vazgeç"_s) b->click();
            }
        });
    });
    OzelRaporAc(f.session, nullptr);
    QVERIFY(!reportOpened);
    QCOMPARE(f.logRows(), 0);
}

void TstPrivateUi::everyCloseIsLogged()
{
    Fixture f;
    {
        TOzelVeGizliForm form(f.session);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.startBox()->text(), u"03.03.2026"_s);
        QVERIFY(form.startBox()->hasFocus());
        // A blank date: no report opens.
        form.startBox()->clear();
        form.button(u"Kasa"_s)->click();
        QCOMPARE(f.prompter.texts().last(), u"Geçersiz Bir Tarih Belirlendi"_s);
        QTest::keyClick(&form, Qt::Key_Escape);
    }
    QCOMPARE(f.logRows(), 1);
    {
        TOzelVeGizliForm form(f.session);
        form.button(u"Kapat"_s)->click();
    }
    QCOMPARE(f.logRows(), 2);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ACIKLA FROM PROSES WHERE ISLETIPI = 'Özel Rapor'"_s).toString(),
             u"Şifreli Özel Rapora Bakıldı !"_s);
}

void TstPrivateUi::cashReport()
{
    Fixture f;
    TGizliForm form(f.session, D2, D3);
    QCOMPARE(form.windowTitle(), u"02.03.2026-03.03.2026 Arası Kasa Raporu"_s);
    QCOMPARE(form.value(u"Perakende"_s)->text(), u"21.600 (1 Adet Sat.)"_s);
    QCOMPARE(form.value(u"NakitKasa"_s)->text(), u"16.200"_s);
    QCOMPARE(form.movements()->item(0, 2)->text(), u"VERESİYELER"_s);
    QCOMPARE(form.movements()->item(0, 3)->text(), u"Açık"_s);
    QCOMPARE(form.totals()->item(0, 2)->text(), u"5.400"_s);
    QVERIFY(form.detailButton()->isDefault());
    TKasaBForm table(f.session, D2, D3);
    QCOMPARE(table.grid()->rowCount(), 3);
    QCOMPARE(table.grid()->item(2, 0)->text(), u"Toplam:"_s);
    QCOMPARE(table.grid()->item(2, 8)->text(), u"16.200"_s);
    table.preview();
    QVERIFY(f.printing.previews().back().lines(0).join(u'\n').contains(u"Arası Kasa Raporu"_s));
}

void TstPrivateUi::listsAndProfit()
{
    Fixture f;
    TGizListForm none(f.session, QDate(2026, 1, 1), QDate(2026, 1, 2), false);
    QVERIFY(!none.hasRows());
    QCOMPARE(f.prompter.texts().last(), u"Satış Yok"_s);
    TGizListForm sales(f.session, D2, D3, false);
    QVERIFY(sales.hasRows());
    QCOMPARE(sales.windowTitle(), u"02.03.2026-03.03.2026 ARASI SATIŞ LİSTESİ"_s);
    QCOMPARE(sales.grid()->item(0, 5)->text(), u"Perakende"_s);
    QCOMPARE(sales.totalLabel()->text(), u"21.600"_s);
    sales.print();
    QCOMPARE(f.printing.lastJob().document.title, u"SATIŞLAR LİSTESİ"_s);
    TGizListForm purchases(f.session, D2, D3, true);
    QCOMPARE(f.prompter.texts().last(), u"Alış Yok"_s);
    TQRGizKarForm profit(f.session, D2, D3);
    QCOMPARE(profit.windowTitle(), u"02.03.2026-03.03.2026 Arası Karlılık Raporu"_s);
    profit.setKind(4);
    profit.preview();
    QVERIFY(f.printing.previews().back().lines(0).join(u'\n').contains(u"Tüm Satışlar Kar Tutarları"_s));
}

QTEST_MAIN(TstPrivateUi)
#include "tst_private_ui.moc"
