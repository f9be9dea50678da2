// The purchase invoice window and the purchase window by their keys: the boxes, the rates,
// the total grid with a typed total and the refresh, the due-date question, the save; and
// the whole road from a product typed in the purchase window to its stock.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "purchasing/ui/alis_form.h"
#include "purchasing/ui/alis_kayit.h"
#include "purchasing/ui/isl_alis_form.h"
#include "purchasing/ui/sat_fiy_form.h"
#include "purchasing/ui/sip_aktar_form.h"
#include "sales/product_list_model.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
class Quantity final : public ProductValuesDialog {
public:
    explicit Quantity(Database& db) : db_(db) {}
    ProductValuesResult showModal(const ProductValuesRequest& r) override
    {
        requests << r;
        Sql::run(db_, u"UPDATE FITMP SET SATISMIK = :q"_s, {{u"q"_s, quantity}});
        ProductValuesResult res;
        res.ok = true;
        res.freeGoodsText = freeGoods;
        res.freeGoodsVatChoice = 0;
        return res;
    }
    int quantity = 1;
    QString freeGoods;
    QList<ProductValuesRequest> requests;

private:
    Database& db_;
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(16, 0))};
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    qint64 parol = 0;
    Fixture()
    {
        session.companion = &companion;
        session.UserName = u"ECZACI"_s;
        session.OldPurchasesAllowed = true;
        session.ProductCardRight = u"E"_s;
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"DEPO1"_s}, {u"AD"_s, u"MERKEZ ECZA DEPOSU"_s}, {u"ILACLARDAKURUM"_s, 25.0},
                      {u"ILACBERABERKURUM"_s, 8.0}, {u"FATYUVAR"_s, 0}, {u"ALACAK"_s, 0.0}});
        parol = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 10800, 30);
    }
    double value(const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); }
};
}  // namespace

class TstAlisForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void invoiceByKeys();
    void roadFromThePurchaseWindow();
    void salesPricesWindow();
    void orderReview();
};

void TstAlisForm::invoiceByKeys()
{
    Fixture f;
    insertRecord(f.t.db(), u"ALISTEMP"_s,
                 {{u"SIRANO"_s, 1}, {u"URUNO"_s, f.parol}, {u"URUNAD"_s, u"PAROL 500 MG 20 TABLET"_s},
                  {u"FIYAT"_s, 10800.0}, {u"MIKTAR"_s, 10}, {u"MALFAZLASI"_s, 2}, {u"TIPISKONTO"_s, u"0"_s},
                  {u"KDV"_s, 8.0}, {u"MKDVVARMI"_s, u"E"_s}, {u"RECKOD"_s, u"N"_s}});
    TAlisForm form(f.session);
    form.open(true, u"DEPO1"_s, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"Alış Faturası Kayıt"_s);
    QVERIFY(form.box(u"FATNO"_s)->hasFocus());
    QCOMPARE(form.box(u"FATARIH"_s)->text(), u"09/12/2026"_s);
    QCOMPARE(form.box(u"INORAN1"_s)->text(), u"25,00"_s);
    QCOMPARE(form.findChild<QLabel*>(u"KurumAdi"_s)->text(), u"MERKEZ ECZA DEPOSU"_s);
    QTableWidget* totals = form.totalGrid();
    QCOMPARE(totals->item(9, 3)->text(), u"60.816,00"_s);   // NET
    QCOMPARE(totals->item(9, 0)->text(), u"60.816,00"_s);   // İskontolu
    QCOMPARE(totals->item(5, 1)->text(), u"-------"_s);     // no discount without one
    QCOMPARE(totals->item(1, 2)->text(), u"-------"_s);     // no VAT deduction on VAT-free prices
    QCOMPARE(form.lineGrid()->rowCount(), 1);
    QCOMPARE(form.lineGrid()->item(0, 1)->text(), u"PAROL 500 MG 20 TABLET"_s);
    QCOMPARE(form.lineGrid()->item(0, 8)->text(), u"6.081,60"_s);
    QTest::keyClicks(form.box(u"FATNO"_s), u"MD-1"_s);
    // The profit rate typed without its comma, taken on leaving.
    form.box(u"INORAN1"_s)->setFocus();
    form.box(u"INORAN1"_s)->selectAll();
    QTest::keyClicks(form.box(u"INORAN1"_s), u"2000"_s);
    QTest::keyClick(form.box(u"INORAN1"_s), Qt::Key_Tab);
    QCOMPARE(form.logic().number(u"INORAN1"_s), 20.0);
    QCOMPARE(form.box(u"INORAN1"_s)->text(), u"20,00"_s);
    // A total typed to agree with the paper invoice, then refreshed from the lines.
    totals->item(9, 3)->setText(u"61000"_s);
    QTRY_COMPARE(form.logic().number(u"NET"_s), 61000.0);
    f.prompter.answer(Answer::Yes);
    form.button(u"Guncelle"_s)->click();
    QCOMPARE(f.prompter.texts().last(), u"Beyaz Kutulardaki Toplamlar Hesapları Güncellensin mi?"_s);
    QVERIFY(form.logic().number(u"NET"_s) != 61000.0);
    // No due date: asked; No keeps the window open in the due-date box.
    f.prompter.answer(Answer::No);
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(f.prompter.texts().last(), u"Vade Tarihi belirtmediniz.Saklama İşlemine devam Edilsin mi?"_s);
    QTRY_VERIFY(form.box(u"VADE"_s)->hasFocus());
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS1"_s), 0.0);
    QTest::qWait(10);
    QTest::keyClicks(form.box(u"VADE"_s), u"09012027"_s);
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(form.result(), int(QDialog::Accepted));
    Sql q(f.t.db(), u"SELECT FATNO, KRMKOD, VADE, INORAN1, NET FROM ALIS1"_s);
    q.exec();
    QVERIFY(q.next());
    QCOMPARE(q.text(0), u"MD-1"_s);
    QCOMPARE(q.text(1), u"DEPO1"_s);
    QCOMPARE(q.date(2), QDate(2027, 1, 9));
    QCOMPARE(q.number(3), 20.0);
    QCOMPARE(f.value(u"SELECT ALACAK FROM KRMLAR WHERE KOD = 'DEPO1'"_s), q.number(4));
}

void TstAlisForm::roadFromThePurchaseWindow()
{
    Fixture f;
    Quantity values(f.t.db());
    PurchaseWindowLinks links;
    links.alisFormAc = [&](bool isNew, const QString& supplier, double no, const PurchaseLinesRecorder& lines) {
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TAlisForm*>(QApplication::activeModalWidget());
            if (!w) return;
            QVERIFY(QTest::qWaitForWindowActive(w));
            if (isNew) {  // a new invoice starts in its number; a correction has its own
                QVERIFY(w->box(u"FATNO"_s)->hasFocus());
                QTest::keyClicks(w->box(u"FATNO"_s), u"MD-204"_s);
                w->box(u"VADE"_s)->setFocus();
                QTest::qWait(10);
                QTest::keyClicks(w->box(u"VADE"_s), u"09012027"_s);
            } else {
                QCOMPARE(w->windowTitle(), u"Alış Faturası Düzeltme"_s);
            }
            w->button(u"Sakla"_s)->click();
            if (w->isVisible()) w->reject();  // never left hanging
        });
        return AlisFormAc(f.session, isNew, supplier, no, lines);
    };
    TIslAlisForm form(f.session, links, nullptr);
    form.setValuesDialog(&values);
    form.Giris();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"ALIŞ İŞLEMLERİ"_s);
    QCOMPARE(form.productModel()->headerData(ProductListModel::Stock, Qt::Horizontal, Qt::DisplayRole).toString(),
             u"Eldeki"_s);
    QVERIFY(form.productList()->isColumnHidden(ProductListModel::ActiveStock));
    QVERIFY(!form.productList()->isColumnHidden(ProductListModel::DiscountType));
    QCOMPARE(form.button(u"AramaModu"_s)->text(), u"Barkodla Ara(F5 tuşu)"_s);
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(form.button(u"AramaModu"_s)->text(), u"Klavyeden Ara(F5 tuşu)"_s);
    QTest::keyClick(&form, Qt::Key_F5);
    for (QChar c : u"PAROL"_s) QTest::keyClick(form.productList(), c.toLatin1());
    values.quantity = 12;
    values.freeGoods = u"2"_s;
    QTest::keyClick(form.productList(), Qt::Key_Return);
    QCOMPARE(values.requests.last().quantityLabel, u"Alınan Mik&tar"_s);
    QCOMPARE(form.lineModel()->rowCount(), 1);
    QCOMPARE(form.lineModel()->data(form.lineModel()->index(0, PurchaseLinesModel::FreeGoods), Qt::DisplayRole).toInt(), 2);
    QCOMPARE(form.label(u"Toplam"_s)->text(), u"129.600 TL"_s);
    // The quantity of the new line takes the focus.
    QTRY_VERIFY(form.purchaseList()->hasFocus());
    QCOMPARE(form.purchaseList()->currentIndex().column(), int(PurchaseLinesModel::Quantity));
    // F7: the supplier, the invoice, then the lines, movements and stock.
    f.companion.answer(u"BrKurumCreate"_s, u"DEPO1"_s);
    QTest::keyClick(&form, Qt::Key_F7);
    QTRY_COMPARE(f.value(u"SELECT COUNT(*) FROM ALIS3"_s), 1.0);
    QCOMPARE(f.value(u"SELECT MIKTAR FROM URUN WHERE ILACNO = "_s + QString::number(f.parol)), 42.0);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM URUNHRK WHERE GIRMIK = 12"_s), 1.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT FATNO FROM ALIS1"_s).toString(), u"MD-204"_s);
    QTRY_COMPARE(form.lineModel()->rowCount(), 0);
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // F3: the purchase back for correction; the captions follow.
    f.companion.answer(u"EskiAlisCreate"_s, 1.0);
    QTest::keyClick(&form, Qt::Key_F3);
    QTRY_COMPARE(form.lineModel()->rowCount(), 1);
    QCOMPARE(form.button(u"EskiAlislar"_s)->text(), u"Es.Al.Dzl.Vazgeç"_s);
    QCOMPARE(form.button(u"AlisKayit"_s)->text(), u"Eski Alış Kayıt"_s);
    // The quantity typed in the grid: 12 becomes 10.
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    QTableView* list = form.purchaseList();
    list->setCurrentIndex(form.lineModel()->index(0, PurchaseLinesModel::Quantity));
    form.lineModel()->setData(form.lineModel()->index(0, PurchaseLinesModel::Quantity), 10, Qt::EditRole);
    QCOMPARE(f.value(u"SELECT MIKTAR FROM ALISTEMP"_s), 10.0);
    QTest::keyClick(&form, Qt::Key_F7);
    QTRY_COMPARE(f.value(u"SELECT MIKTAR FROM URUN WHERE ILACNO = "_s + QString::number(f.parol)), 40.0);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM ALIS1"_s), 1.0);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Alış.Fat.Dzlt.'"_s), 1.0);
    QTRY_COMPARE(form.button(u"EskiAlislar"_s)->text(), u"Eski Alımlar"_s);
    form.close();
}

void TstAlisForm::salesPricesWindow()
{
    Fixture f;
    insertRecord(f.t.db(), u"ALIS1"_s, {{u"ALISNO"_s, 4.0}, {u"KRMKOD"_s, u"DEPO1"_s}, {u"FATARIH"_s, QDate(2026, 12, 1)}});
    insertRecord(f.t.db(), u"ALIS3"_s,
                 {{u"ALISNO"_s, 4.0}, {u"SIRANOILAC"_s, 1}, {u"ILACNO"_s, f.parol}, {u"FIYAT"_s, 10000.0},
                  {u"MIKTAR"_s, 3}, {u"KDV"_s, 8.0}, {u"ISKONTIP"_s, u"4"_s}});
    TSatFiyForm form(f.session);
    QVERIFY(form.open(4));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.grid()->item(0, 4)->text(), u"Diğ.Isk.siz"_s);
    QVERIFY(!form.transferButton()->isVisible());
    QVERIFY(form.grid()->isColumnHidden(7));
    form.percentBox()->setFocus();
    form.percentBox()->setCursorPosition(0);
    QTest::keyClicks(form.percentBox(), u"2500"_s);
    form.showButton()->click();
    QVERIFY(form.transferButton()->isVisible());
    QCOMPARE(form.grid()->item(0, 7)->text(), u"15.000,00"_s);
    QCOMPARE(form.grid()->item(0, 9)->text(), u"13.500,00"_s);
    f.prompter.answer(Answer::Yes);
    form.transferButton()->click();
    QCOMPARE(f.prompter.texts().last(), u"Fiyatlar Aktarıldı."_s);
    QCOMPARE(f.value(u"SELECT FIYAT FROM URUN WHERE ILACNO = "_s + QString::number(f.parol)), 15000.0);
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TstAlisForm::orderReview()
{
    Fixture f;
    for (const auto& [name, ordered] : {std::pair{u"BETA"_s, 2}, std::pair{u"ALFA"_s, 3}})
        insertRecord(f.t.db(), u"SIPLIST"_s,
                     {{u"ILACNO"_s, f.parol}, {u"ILACAD"_s, name}, {u"FIYAT"_s, 100.0}, {u"SIPARIS"_s, ordered},
                      {u"FIYAT_1"_s, ordered * 100.0}, {u"TIPISKON"_s, u"0"_s}});
    Quantity values(f.t.db());
    TSipAktarForm form(f.session, &values);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"SİPARİŞ LİSTESİNİ    ALIŞ LİSTESİNE   AKTARMA"_s);
    QTableView* grid = form.grid();
    QCOMPARE(form.model()->rows().first().name, u"ALFA"_s);
    // Type-ahead on the name moves to BETA; "h" in "Aktar" marks it "H".
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_B);
    QCOMPARE(grid->currentIndex().row(), 1);
    grid->setCurrentIndex(form.model()->index(1, OrderRowsModel::Transfer));
    QTest::keyClick(grid, Qt::Key_H);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT AKTARMA FROM SIPLIST WHERE ILACAD = 'BETA'"_s).toString(), u"H"_s);
    QCOMPARE(grid->currentIndex().row(), 1);
    QTest::keyClick(grid, Qt::Key_X);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT AKTARMA FROM SIPLIST WHERE ILACAD = 'BETA'"_s).toString(), u"E"_s);
    // The values dialog changes the quantity; the amount follows.
    values.quantity = 7;
    form.findChild<QPushButton*>(u"Degistir"_s)->click();
    QCOMPARE(values.requests.last().quantityLabel, u"Sipariş Miktarı"_s);
    QCOMPARE(f.value(u"SELECT FIYAT_1 FROM SIPLIST WHERE ILACAD = 'BETA'"_s), 700.0);
    QTest::keyClick(&form, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(form.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TstAlisForm)
#include "tst_alis_form.moc"
