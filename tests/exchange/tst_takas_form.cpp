// The exchange window driven by keys: a given exchange recorded with its movement, edited,
// refused while incomplete, deleted; the pharmacy picker's Turkish order and typing; the
// search going to the chosen row.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "exchange/ui/takas_forms.h"
#include "exchange/ui/takas_list_forms.h"
#include "print/document.h"
#include "print/print_service.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "support/fake_companion.h"
#include "support/fake_platform.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QKeyEvent>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <tuple>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(14, 0))};
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    qint64 product = 0;
    Fixture()
    {
        session.companion = &companion;
        product = addProduct(t.db(), u"AMOKLAVİN 500 MG 10 SUPP"_s, 3000, 20);
    }
    double stock() { return Sql::scalar(t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :p"_s, {{u"p"_s, product}}).toDouble(); }
    int count(const QString& sql) { return Sql::scalar(t.db(), sql).toInt(); }
};
// Typed characters beyond ASCII, as a keyboard with Turkish letters sends them.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}
}  // namespace

class TstTakasForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordEditDelete();
    void pickerAndSearch();
    void listAndPriceUpdate();
    void listTypeAheadAndHelp();
};

void TstTakasForm::recordEditDelete()
{
    Fixture f;
    TFormTakas form(f.session);
    form.Giris();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"Takas Kayıt"_s);
    QCOMPARE(form.numberLabel()->text(), QString());

    // Insert, F5 with the product, the quantity, Tab: the amount from the card's price.
    QTest::keyClick(&form, Qt::Key_Insert);
    QVERIFY(form.editing());
    QCOMPARE(form.box(u"TARIH"_s)->text(), u"09/12/2026"_s);
    f.companion.answer(u"BrUrunCreate"_s, u"AMOKLAVİN 500 MG 10 SUPP"_s);
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(form.box(u"ILACAD"_s)->text(), u"AMOKLAVİN 500 MG 10 SUPP"_s);
    QVERIFY(form.box(u"ADET"_s)->hasFocus());
    QCOMPARE(form.priceLabel()->text(), u"3.000 TL"_s);
    QTest::keyClicks(form.box(u"ADET"_s), u"3"_s);
    QTest::keyClick(form.box(u"ADET"_s), Qt::Key_Tab);
    QCOMPARE(form.box(u"TUTAR"_s)->text(), u"9.000"_s);
    // Without the pharmacy: refused, nothing written, still editing.
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(f.prompter.texts().value(0), u"Bilgiler verilmeden Kayıt Saklanmaz!"_s);
    QVERIFY(form.editing());
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM TAKAS"_s), 0);
    // Leaving the row is refused the same way.
    QTest::keyClick(&form, Qt::Key_PageUp);
    QCOMPARE(f.prompter.texts().size(), 2);
    QVERIFY(form.editing());
    form.box(u"ECZADI"_s)->setFocus();
    typeText(form.box(u"ECZADI"_s), u"şifa eczanesi"_s);
    QCOMPARE(form.box(u"ECZADI"_s)->text(), u"şifa eczanesi"_s);
    QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier);  // "Ürün Verdim(Stoktan Düş)"
    QTRY_COMPARE(form.types()->checkedId(), 3);
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(!form.editing());
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM TAKAS WHERE TIP = 'V' AND TUTAR = 9000 AND ECZADI = 'ŞİFA ECZANESİ'"_s), 1);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK WHERE SIRANO = 999999999 AND CIKMIK = 3"_s), 1);
    QCOMPARE(f.stock(), 17.0);
    QCOMPARE(form.numberLabel()->text(), QString::number(form.currentNo()));

    // F2, quantity 2, Alt+S: one unit back, still one movement.
    QTest::keyClick(&form, Qt::Key_F2);
    QVERIFY(form.box(u"ADET"_s)->hasFocus());
    QTest::keyClicks(form.box(u"ADET"_s), u"2"_s);  // typed over the old quantity
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(!form.editing());
    QCOMPARE(f.stock(), 18.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK WHERE SIRANO = 999999999"_s), 1);
    // Esc cancels an edit without writing.
    QTest::keyClick(&form, Qt::Key_F2);
    QTest::keyClicks(form.box(u"ADET"_s), u"9"_s);
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.editing());
    QVERIFY(form.isVisible());
    QCOMPARE(form.box(u"ADET"_s)->text(), u"2"_s);
    QCOMPARE(f.stock(), 18.0);
    // Ctrl+Delete after "Silinsin mi?": stock back, movement and row gone.
    f.prompter.answer(Answer::Yes);
    QTest::keyClick(&form, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.prompter.texts().last(), u"Silinsin mi?"_s);
    QCOMPARE(f.stock(), 20.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM TAKAS"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK"_s), 0);
}

void TstTakasForm::pickerAndSearch()
{
    Fixture f;
    TakasLogic logic(f.session);
    for (const QString& name : {u"ZEYNEP ECZANESİ"_s, u"ÇINAR ECZANESİ"_s, u"CAN ECZANESİ"_s}) {
        Exchange e;
        e.pharmacy = name;
        e.product = u"AMOKLAVİN 500 MG 10 SUPP"_s;
        e.quantity = 1;
        e.amount = 3000;
        e.date = QDate(2026, 11, 1);
        QVERIFY(logic.store(e));
    }
    {
        TFormARATAK picker(f.session);
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        QCOMPARE(picker.list()->count(), 3);
        QCOMPARE(picker.list()->item(1)->text(), u"ÇINAR ECZANESİ"_s);
        typeText(picker.list(), u"çx"_s);  // x continues no name: dropped
        QCOMPARE(picker.searched()->text(), u"Aranan: ç"_s);
        QCOMPARE(picker.chosen(), u"ÇINAR ECZANESİ"_s);
        QTest::keyClick(picker.list(), Qt::Key_Escape);
        QCOMPARE(picker.chosen(), u"CAN ECZANESİ"_s);
        QCOMPARE(picker.searched()->text(), u"Aranan: "_s);
    }
    // The search returns the row's number and the window goes there.
    TFormTakas form(f.session);
    form.Giris();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.box(u"ECZADI"_s)->text(), u"CAN ECZANESİ"_s);  // the last row
    QTimer::singleShot(50, [] {
        auto* search = qobject_cast<TFormTARA*>(QApplication::activeModalWidget());
        QVERIFY(search);
        QCOMPARE(search->windowTitle(), u"Takas Arama"_s);
        QCOMPARE(search->grid()->item(0, 5)->text(), u"Aldık"_s);
        QTest::keyClicks(search->grid(), u"zey"_s);
        QTest::keyClick(search->grid(), Qt::Key_Return);
    });
    QTest::keyClick(&form, Qt::Key_F3);
    QCOMPARE(form.box(u"ECZADI"_s)->text(), u"ZEYNEP ECZANESİ"_s);
    QCOMPARE(form.currentNo(), 1);
}

void TstTakasForm::listAndPriceUpdate()
{
    Fixture f;
    RecordingPrintService printing(300);
    f.session.print = &printing;
    TakasLogic logic(f.session);
    for (const auto& [type, quantity, amount] : {std::tuple{u"A"_s, 2, 10000.0}, std::tuple{u"E"_s, 3, 15000.0},
                                                 std::tuple{u"U"_s, 1, 8000.0}, std::tuple{u"V"_s, 4, 12000.0}}) {
        Exchange e;
        e.pharmacy = u"DR. AYŞE'NİN ECZANESİ"_s;
        e.product = u"AMOKLAVİN 500 MG 10 SUPP"_s;
        e.quantity = quantity;
        e.amount = amount;
        e.type = type;
        e.state = u"A"_s;
        e.date = QDate(2026, 11, 5);
        QVERIFY(logic.store(e));
    }
    // The query dialog: the to date typed, "İkisi de" by default.
    {
        TSorTakasDlg dialog(f.session);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), u"Takas Listesi Sorgusu"_s);
        QCOMPARE(dialog.types()->checkedId(), 2);
        dialog.toBox()->setFocus();
        QTest::keyClicks(dialog.toBox(), u"30112026"_s);
        dialog.pharmacyBox()->setText(u"DR. AYŞE'NİN ECZANESİ"_s);
        const ExchangeQuery q = dialog.query();
        QCOMPARE(q.from, QString());
        QCOMPARE(q.to, u"30/11/2026"_s);
        QCOMPARE(q.type, 2);
        TTAKSORForm list(f.session, q);
        QVERIFY(list.hasRows());
        QCOMPARE(list.windowTitle(), u"Takas Listesi 30/11/2026 e kadar"_s);
        QCOMPARE(list.grid()->rowCount(), 4);
        QCOMPARE(list.total(0)->text(), u"5Adet Ürün 25.000 TL"_s);
        QCOMPARE(list.total(1)->text(), u"5 Adet Ürün 20.000 TL"_s);
        QCOMPARE(list.total(2)->text(), u"5.000 TL Borçluyuz."_s);
        list.sortBy(2);  // "Tutar": the largest first
        QCOMPARE(list.grid()->item(0, 4)->text(), u"15.000 TL"_s);
        list.print();
        QCOMPARE(printing.jobs().back().document.title, u"TAKAS LİSTESİ"_s);
        QStringList texts;
        for (const TextItem& i : printing.jobs().back().document.pages[0].texts()) texts << i.text;
        QVERIFY(texts.contains(u"DR. AYŞE'NİN ECZANESİ    05.11.26 AMOKLAVİN 500 MG 10 SUPP                4       12.000 TL, Vrdk.St"_s));
        QVERIFY(texts.contains(u"               Toplam : 5.000 TL Borçluyuz."_s));
    }
    // The price update: the given ones below today's 5.000.
    Sql::run(f.t.db(), u"UPDATE URUN SET FIYAT = 5000"_s);
    {
        TFormTakGun update(f.session);
        QVERIFY(update.hasRows());
        // The "U" went at 8.000 a unit, above today's price: only the "V" at 3.000 a unit.
        QCOMPARE(update.grid()->rowCount(), 1);
        QCOMPARE(update.windowTitle(), u"Takas Fiyatlarının Güncellenmesi"_s);
        QCOMPARE(update.grid()->item(0, 6)->text(), u"8.000 TL"_s);
        QCOMPARE(update.grid()->item(0, 7)->text(), u"20.000 TL"_s);
        f.prompter.answer(Answer::Yes);
        update.updateAll();
        QCOMPARE(f.prompter.texts().last(), u"Tüm Liste Güncellensin mi?"_s);
    }
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT TUTAR FROM TAKAS WHERE TIP = 'U'"_s).toDouble(), 8000.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT TUTAR FROM TAKAS WHERE TIP = 'V'"_s).toDouble(), 20000.0);
    f.prompter.clear();
    TakasGuncelle(f.session);
    QCOMPARE(f.prompter.texts(), QStringList{u"Güncellencek kayıt yok."_s});
}

// The list is in date order, yet typing finds a pharmacy; F1 opens the help of the
// picker, the search and the price update.
void TstTakasForm::listTypeAheadAndHelp()
{
    Fixture f;
    FakePlatform platform;
    f.session.platform = &platform;
    TakasLogic logic(f.session);
    int day = 1;
    for (const QString& name : {u"ZEYNEP ECZANESİ"_s, u"ÇINAR ECZANESİ"_s, u"CAN ECZANESİ"_s, u"ŞİFA ECZANESİ"_s}) {
        Exchange e;
        e.pharmacy = name;
        e.product = u"AMOKLAVİN 500 MG 10 SUPP"_s;
        e.quantity = 1;
        e.amount = 1000;
        e.type = u"U"_s;
        e.state = u"A"_s;
        e.date = QDate(2026, 11, day++);
        QVERIFY(logic.store(e));
    }
    TTAKSORForm list(f.session, ExchangeQuery{});
    list.show();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    QCOMPARE(list.grid()->item(0, 0)->text(), u"ŞİFA ECZANESİ"_s);  // the latest first
    list.grid()->setFocus();
    typeText(list.grid(), u"çq"_s);
    QCOMPARE(list.grid()->item(list.grid()->currentRow(), 0)->text(), u"ÇINAR ECZANESİ"_s);
    QCOMPARE(list.searched()->text(), u"Aranan: ç"_s);
    QTest::keyClick(list.grid(), Qt::Key_Backspace);
    typeText(list.grid(), u"z"_s);
    QCOMPARE(list.grid()->item(list.grid()->currentRow(), 0)->text(), u"ZEYNEP ECZANESİ"_s);
    list.sortBy(0);  // by name: the search starts again on the new order
    QCOMPARE(list.searched()->text(), u"Aranan: "_s);
    typeText(list.grid(), u"ş"_s);
    QCOMPARE(list.grid()->item(list.grid()->currentRow(), 0)->text(), u"ŞİFA ECZANESİ"_s);

    TFormARATAK picker(f.session);
    picker.show();
    QVERIFY(QTest::qWaitForWindowActive(&picker));
    QTest::keyClick(&picker, Qt::Key_F1);
    TFormTARA search(f.session);
    search.show();
    QVERIFY(QTest::qWaitForWindowActive(&search));
    QTest::keyClick(&search, Qt::Key_F1);
    Sql::run(f.t.db(), u"UPDATE URUN SET FIYAT = 5000"_s);
    TFormTakGun update(f.session);
    update.show();
    QVERIFY(QTest::qWaitForWindowActive(&update));
    QTest::keyClick(&update, Qt::Key_F1);
    QCOMPARE(platform.calls, QStringList(3, u"help:SELVAR.HLP:0"_s));
}

QTEST_MAIN(TstTakasForm)
#include "tst_takas_form.moc"
