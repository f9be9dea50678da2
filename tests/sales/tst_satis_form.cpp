#include "data/database.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "sales/product_list_model.h"
#include "sales/ui/arajen_dlg.h"
#include "sales/ui/satis_form.h"
#include "support/fake_companion.h"
#include "support/fake_platform.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
// Turkish letters are typed as key events carrying their text.
void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.unicode() < 128 ? QChar(c).toUpper().unicode() : 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

class CountingValues final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest& r) override
    {
        names << r.productName;
        return {true, {}};
    }
    QStringList names;
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(12, 0))};
    FakePlatform platform;
    Session session{t.db(), prompter, clock};
    CountingValues values;
    std::unique_ptr<TAraJenDlg> search;
    std::unique_ptr<TSatisForm> form;
    Fixture()
    {
        session.platform = &platform;
        session.OldSalesAllowed = false;
        session.ProductCardRight = u"H"_s;
        for (const QString& n : {u"ASPİRİN"_s, u"ÇAY ÖZÜ"_s, u"ÇİNKO KREM"_s, u"PAROL"_s, u"ŞURUP"_s})
            addProduct(t.db(), n, 1000, 10, {});
        Sql::run(t.db(), u"UPDATE URUN SET JENERIKNO = 7"_s);
        Sql::run(t.db(), u"INSERT INTO JEN (JENERIKNO, JENERIKAD) VALUES (7, 'PARASETAMOL')"_s);
        search = std::make_unique<TAraJenDlg>(t.db());
        form = std::make_unique<TSatisForm>(session, SaleWindowLinks{}, search.get());
        form->setValuesDialog(&values);
        form->Giris();
        // Window shortcuts (F-keys, Ctrl+L) need the window to be the active one.
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    QString current() const { return form->logic().currentProductName(); }
};
}  // namespace

class TstSatisForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typingEnterAndRecordingByKeys();
    void linesByKeys();
    void searchModeAndRights();
    void genericSearchDialog();
    void oldSaleQuantityTypedAfterCtrlL();
    void discountTypedThenF7();
};

void TstSatisForm::typingEnterAndRecordingByKeys()
{
    Fixture f;
    QCOMPARE(f.form->windowTitle(), u"SATIŞ İŞLEMLERİ"_s);
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    QTableView* list = f.form->productList();
    QCOMPARE(f.form->productModel()->rowCount(), 5);
    typeText(list, u"çi"_s);
    QCOMPARE(f.current(), u"ÇİNKO KREM"_s);
    QCOMPARE(list->currentIndex().row(), 2);
    QCOMPARE(f.form->label(u"Aranan"_s)->text(), u"Aranan: çi"_s);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(f.values.names, QStringList{u"ÇİNKO KREM"_s});
    QCOMPARE(f.form->lineModel()->rowCount(), 1);
    QCOMPARE(f.form->label(u"Toplam"_s)->text(), u"1.000 TL"_s);
    // Arrow keys move the list and clear the search.
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(f.current(), u"PAROL"_s);
    QCOMPARE(f.form->label(u"Aranan"_s)->text(), QString());
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_F7);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM SATIS"_s).toInt(), 2);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SUM(MIKTAR) FROM URUN"_s).toInt(), 48);
    QCOMPARE(f.form->lineModel()->rowCount(), 0);
    QCOMPARE(f.form->productModel()->data(f.form->productModel()->index(2, ProductListModel::Stock)).toInt(), 9);
}

void TstSatisForm::linesByKeys()
{
    Fixture f;
    QTableView* list = f.form->productList();
    for (const char* key : {"a", "p", "ş"}) {
        f.form->logic().clearSearch();
        typeText(list, QString::fromUtf8(key));
        QTest::keyClick(list, Qt::Key_Return);
    }
    QCOMPARE(f.form->lineModel()->rowCount(), 3);
    // A quantity changed in the grid moves the total with it.
    f.form->lineModel()->setData(f.form->lineModel()->index(0, SaleLinesModel::Quantity), u"4"_s, Qt::EditRole);
    QTRY_COMPARE(f.form->label(u"Toplam"_s)->text(), u"6.000 TL"_s);
    QCOMPARE(f.form->paidBox()->text(), u"6.000,0"_s);
    QTest::keyClick(list, Qt::Key_L, Qt::ControlModifier);
    QTableView* lines = f.form->saleList();
    QVERIFY(lines->hasFocus());
    lines->setCurrentIndex(f.form->lineModel()->index(1, SaleLinesModel::Quantity));
    QTest::keyClick(lines, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.form->lineModel()->rowCount(), 2);
    QCOMPARE(f.form->lineModel()->lines()[1].no, 2);
    QCOMPARE(f.form->lineModel()->lines()[1].name, u"ŞURUP"_s);
    // Esc outside the product list asks before emptying the list.
    f.prompter.answer(Answer::No);
    QTest::keyClick(lines, Qt::Key_Escape);
    QCOMPARE(f.prompter.texts().last(), u"Satışla ilgili İşlemler İptal Edilsin mi?"_s);
    QCOMPARE(f.form->lineModel()->rowCount(), 2);
    f.prompter.answer(Answer::Yes);
    QTest::keyClick(lines, Qt::Key_Escape);
    QCOMPARE(f.form->lineModel()->rowCount(), 0);
}

void TstSatisForm::searchModeAndRights()
{
    Fixture f;
    QVERIFY(!f.form->button(u"EskiSatislar"_s)->isEnabled());
    QVERIFY(!f.form->button(u"UrunKarti"_s)->isEnabled());
    QCOMPARE(f.form->label(u"Mode"_s)->text(), u"Liste Şu An KLAVYEDEN ARAMAYA AYARLI"_s);
    QTest::keyClick(f.form->productList(), Qt::Key_F5);
    QCOMPARE(f.form->label(u"Mode"_s)->text(), u"Liste Şu An BARKODLA ARAMAYA AYARLI"_s);
    QCOMPARE(f.form->button(u"AramaModu"_s)->text(), u"Klavyeden Ara ( F5 Tuşu )"_s);
    // An invalid old-price date is cleared with a beep when the box is left.
    QLineEdit* date = f.form->dateBox();
    date->setFocus();
    QTest::keyClicks(date, u"31129"_s);
    QTest::keyClick(date, Qt::Key_Tab);
    QCOMPARE(f.prompter.beeps, 1);
    QCOMPARE(f.form->logic().dateBox(), QString());
}

void TstSatisForm::genericSearchDialog()
{
    Fixture f;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TAraJenDlg*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), u"Jenerik Ada Göre İlaç Arama"_s);
        QCOMPARE(dlg->list()->count(), 5);
        typeText(dlg->list(), u"ş"_s);
        QCOMPARE(dlg->logic().currentName(), u"ŞURUP"_s);
        QTest::keyClick(dlg->list(), Qt::Key_Return);
    });
    QTest::keyClick(f.form->productList(), Qt::Key_F11);
    QCOMPARE(f.current(), u"ŞURUP"_s);
    // Within the class a letter that matches nothing is dropped, except the three i's.
    AraJenLogic& l = f.search->logic();
    l.open(AraJenLogic::Kind::Generic, 7);
    QCOMPARE(l.className(), u"PARASETAMOL"_s);
    l.type(u'x');
    QCOMPARE(l.searchText(), QString());
    for (QChar c : u"iıİ"_s) l.type(c);
    QCOMPARE(l.searchText(), u"iıİ"_s);
    l.clear();
    l.type(u'ç');
    l.type(u'i');
    QCOMPARE(l.currentName(), u"ÇİNKO KREM"_s);
    l.backspace();
    QCOMPARE(l.currentName(), u"ÇAY ÖZÜ"_s);
    // The leaflet text is saved when its box is left.
    f.form->logic().positionByName(u"PAROL"_s);
    f.form->logic().saveLeaflet(u"Günde iki kez."_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT PROSPEKTUS FROM URUN WHERE ILACAD = 'PAROL'"_s).toString(), u"Günde iki kez."_s);
}

void TstSatisForm::oldSaleQuantityTypedAfterCtrlL()
{
    Fixture f;
    typeText(f.form->productList(), u"parol"_s);
    QTest::keyClick(f.form->productList(), Qt::Key_Return);
    QTest::keyClick(f.form->productList(), Qt::Key_F7);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM SATIS WHERE SATISNO = 1"_s).toInt(), 1);
    // F3 loads the old sale; Ctrl+L, then the quantity typed at once goes to its first line.
    FakeCompanion companion;
    companion.onCall(u"BrSatisCreate"_s, [](const FakeCompanion::Call&) { return QVariant(1.0); });
    f.session.companion = &companion;
    f.session.OldSalesAllowed = true;
    SaleWindowLinks links;
    links.chooseOldRecordKind = [] { return QChar(u'S'); };
    TSatisForm form(f.session, links, f.search.get());
    form.setValuesDialog(&f.values);
    form.Giris();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.productList(), Qt::Key_F3);
    QCOMPARE(form.logic().saleMode(), 3);
    QCOMPARE(form.lineModel()->rowCount(), 1);
    QTest::keyClick(form.productList(), Qt::Key_L, Qt::ControlModifier);
    QTableView* lines = form.saleList();
    QVERIFY(lines->hasFocus());
    QCOMPARE(lines->currentIndex().row(), 0);
    QTest::keyClick(lines, Qt::Key_3, Qt::NoModifier);
    QVERIFY(QApplication::focusWidget() != lines);  // the quantity's editor took the key
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(form.logic().lines().value(0).quantity, 3);
    f.session.companion = nullptr;
}

void TstSatisForm::discountTypedThenF7()
{
    // F7 pressed in the discount box records the sale with the discount just typed.
    Fixture f;
    typeText(f.form->productList(), u"PAROL"_s);
    QTest::keyClick(f.form->productList(), Qt::Key_Return);
    QLineEdit* discount = f.form->findChild<QLineEdit*>(u"Iskonto"_s);
    QVERIFY(discount);
    discount->setFocus();
    discount->clear();
    QTest::keyClicks(discount, u"100"_s);
    QTest::keyClick(discount, Qt::Key_F7);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM SATIS"_s).toInt(), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ISKONTUT FROM iskonto"_s).toDouble(), 100.0);
    // The paid amount typed before F7 counts as typed, not as the box shows it again.
    f.form->productList()->setFocus();
    f.form->logic().clearSearch();
    typeText(f.form->productList(), u"PAROL"_s);
    QTest::keyClick(f.form->productList(), Qt::Key_Return);
    QLineEdit* paid = f.form->paidBox();
    paid->setFocus();
    paid->clear();
    QTest::keyClicks(paid, u"600,25"_s);
    QTest::keyClick(paid, Qt::Key_F7);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ISKONTUT FROM iskonto WHERE SATISNO = 2"_s).toDouble(), 399.75);
}

QTEST_MAIN(TstSatisForm)
#include "tst_satis_form.moc"
