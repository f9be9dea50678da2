// The period dialog, the monthly report and the operation log by their keys and buttons.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/document.h"
#include "print/print_service.h"
#include "reports/ui/period_forms.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(1998, 5, 15), QTime(12, 0))};
    RecordingPrintService printing;
    Session session{t.db(), prompter, clock};
    Fixture() { session.print = &printing; }
};
}  // namespace

class TstPeriodUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void periodDialog();
    void monthlyReport();
    void operationLog();
};

void TstPeriodUi::periodDialog()
{
    Fixture f;
    TTarihQueryDlg d(f.session, QDate(2026, 3, 2), QDate(2026, 3, 3), u"Satış tarihleri"_s);
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.windowTitle(), u"Tarih Aralığı Belirleyin"_s);
    QCOMPARE(d.firstBox()->text(), u"02.03.2026"_s);
    // A reversed period stays open.
    d.lastBox()->setText(u"01.03.2026"_s);
    d.accept();
    QVERIFY(d.isVisible());
    QCOMPARE(f.prompter.texts().last(), u"\"den\" tarihi \"kadar\" tarihinden küçük olamaz"_s);
    d.lastBox()->setText(u"04.03.2026"_s);
    d.accept();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.range().last, QDate(2026, 3, 4));
    QVERIFY(d.range().accepted);
    // "&Vazgeç" clears both.
    TTarihQueryDlg again(f.session, QDate(2026, 3, 2), QDate(2026, 3, 3), {});
    again.reject();
    QVERIFY(!again.range().accepted);
    QCOMPARE(again.firstBox()->text(), u".."_s);
}

void TstPeriodUi::monthlyReport()
{
    Fixture f;
    const qint64 p = addProduct(f.t.db(), u"PAROL"_s, 1000, 0);
    insertRecord(f.t.db(), u"URUNHRK"_s,
                 {{u"ILACNO"_s, p}, {u"GCTARIH"_s, QDateTime(QDate(1997, 5, 31), QTime(23, 59, 59, 999))}, {u"GIRMIK"_s, 10.0},
                  {u"ALSATNO"_s, 1.0}, {u"SIRANO"_s, 1}});
    TAylarForm form(f.session, p);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"Aylık Rapor"_s);
    QCOMPARE(form.grid()->verticalHeaderItem(0)->text(), u"MAYIS 1997"_s);
    QCOMPARE(form.grid()->verticalHeaderItem(13)->text(), u"TOPLAM "_s);
    QCOMPARE(form.grid()->item(0, 0)->text(), u"10"_s);
    QCOMPARE(form.grid()->item(13, 0)->text(), u"10"_s);
    QTest::keyClick(&form, Qt::Key_PageUp);
    QCOMPARE(form.grid()->verticalHeaderItem(0)->text(), u"MAYIS 1996"_s);
    QCOMPARE(form.grid()->item(0, 0)->text(), u"0"_s);
    QCOMPARE(form.grid()->item(12, 0)->text(), u"10"_s);  // MAYIS 1997, now the last month
    form.months()->setCurrentIndex(2);
    QCOMPARE(form.grid()->verticalHeaderItem(0)->text(), u"MART 1996"_s);
}

void TstPeriodUi::operationLog()
{
    Fixture f;
    const QDate day(2026, 3, 2);
    for (const auto& [hour, type, number] : {std::tuple{9, u"Alış.Fat.Dzlt."_s, QVariant(7.0)},
                                             std::tuple{10, u"Miktar Değiş."_s, QVariant()},
                                             std::tuple{11, u"Satış Silindi."_s, QVariant(12.0)}})
        insertRecord(f.t.db(), u"PROSES"_s,
                     {{u"TARIH"_s, QDateTime(day, QTime(hour, 0))}, {u"ACIKLA"_s, u"DEPO1-ECZACI"_s},
                      {u"ISLETIPI"_s, type}, {u"ISLETNO"_s, number}, {u"TUTAR"_s, 5000.0}});
    TIsletimForm form(f.session, day, day);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"02.03.2026-02.03.2026 ARASI PROGRAM İŞLETİM LİSTESİ"_s);
    QCOMPARE(form.grid()->rowCount(), 3);
    QCOMPARE(form.grid()->item(0, 0)->text(), u"02/03/26 (09:00)"_s);
    QCOMPARE(form.grid()->item(0, 6)->text(), u"Alış No:7"_s);
    QVERIFY(form.button(u"Icerik"_s)->isEnabled());
    form.button(u"Icerik"_s)->click();
    QVERIFY(form.contentsPanel()->isVisible());
    QCOMPARE(form.contentsGrid()->horizontalHeaderItem(0)->text(), u"S.N."_s);
    form.grid()->setCurrentCell(1, 0);
    QVERIFY(!form.button(u"Icerik"_s)->isEnabled());
    form.filterBox()->setCurrentIndex(int(IsletimLogic::filterItems().indexOf(u"Satış Silindi."_s)));
    QCOMPARE(form.grid()->rowCount(), 1);
    form.filterBox()->setCurrentIndex(0);
    // The listing.
    form.button(u"Yazici"_s)->click();
    const QStringList lines = f.printing.lastJob().document.lines(0);
    QCOMPARE(lines.value(0), u"Sayfa No : 1"_s);
    QCOMPARE(lines.value(1), u"Tarih : 15.05.1998"_s);
    QCOMPARE(lines.value(2), u"02.03.2026-02.03.2026 ARASI PROGRAM İŞLETİM LİSTESİ"_s);
    QVERIFY(lines.value(3).startsWith(u"TARİH          AÇIKLAMA"_s));
    QVERIFY(lines.value(4).startsWith(u"02/03/26-09:00 DEPO1-ECZACI"_s));
    QVERIFY(lines.value(4).endsWith(u"       7"_s));
    // "&Sil" with a blank date: refused.
    form.button(u"Icerik"_s)->click();
    form.button(u"Sil"_s)->click();
    QVERIFY(form.deletePanel()->isVisible());
    QVERIFY(!form.contentsPanel()->isVisible());  // one "&Tamam" at a time
    form.deleteLast()->setText(u"02.03.2026"_s);
    form.confirmDelete();
    QCOMPARE(f.prompter.texts().last(), u"Geçersiz Bir Tarih Belirlendi"_s);
    QCOMPARE(form.grid()->rowCount(), 3);
    form.deleteFirst()->setText(u"02.03.2026"_s);
    f.prompter.answer(Answer::Yes);
    form.confirmDelete();
    QCOMPARE(form.grid()->rowCount(), 0);
    QVERIFY(!form.deletePanel()->isVisible());
}

QTEST_MAIN(TstPeriodUi)
#include "tst_period_ui.moc"
