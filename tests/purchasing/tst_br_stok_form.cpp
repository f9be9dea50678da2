// The movement history window driven by keys: its title, the explanation following Up and
// Down, the totals, the date range through its dialog, the listing and OK.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "purchasing/ui/br_stok_form.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

class TstBrStokForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void byKeys();
};

void TstBrStokForm::byKeys()
{
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock(QDateTime(QDate(2026, 1, 7), QTime(18, 0)));
    RecordingPrintService printing(300);
    Session session(t.db(), prompter, clock);
    session.print = &printing;
    const qint64 p = addProduct(t.db(), u"VİTAMİN C 1000 MG"_s, 5000);
    insertRecord(t.db(), u"ALIS1"_s, {{u"ALISNO"_s, 12.0}, {u"KRMKOD"_s, u"DEPO1"_s}, {u"FATNO"_s, u"A-4500"_s}});
    insertRecord(t.db(), u"SATIS"_s, {{u"SATISNO"_s, 61.0}, {u"SIRANOURUN"_s, 1}, {u"ILACNO"_s, p}, {u"PARAKENDE"_s, u"P"_s}});
    for (const auto& [when, in, price, out, doc] :
         QList<std::tuple<QDateTime, QVariant, double, QVariant, double>>{
             {QDateTime(QDate(2026, 1, 5), QTime(10, 30)), 10, 4000.0, {}, 12},
             {QDateTime(QDate(2026, 1, 7), QTime(16, 5)), {}, 5000.0, 3, 61}})
        insertRecord(t.db(), u"URUNHRK"_s,
                     {{u"ILACNO"_s, p}, {u"GCTARIH"_s, when}, {u"GIRMIK"_s, in}, {u"CIKMIK"_s, out},
                      {in.isNull() ? u"CIKFIYAT"_s : u"GIRFIYAT"_s, price}, {u"ALSATNO"_s, doc}, {u"SIRANO"_s, 1}});

    TBrStokForm form(session, p, u"VİTAMİN C 1000 MG"_s);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"ÜRÜN GİRİŞ ÇIKIŞ HAREKETLERİ"_s);
    QCOMPARE(form.titleLabel()->text(), u"VİTAMİN C 1000 MG Adlı Ürünün Stok Bilgileri"_s);
    QVERIFY(form.grid()->hasFocus());
    QCOMPARE(form.explanation()->text(), u"DEPO1 Kodlu yerden A-4500 No lu Fatura ile alınmıştır.(Alış No:12)"_s);
    QCOMPARE(form.total(u"Fark"_s)->text(), u"-25.000 TL"_s);
    QCOMPARE(form.total(u"Hareket Dışı Miktar :"_s)->text(), QString());
    QTest::keyClick(form.grid(), Qt::Key_Down);
    QCOMPARE(form.explanation()->text(), u"61 Nolu Perakende Satış"_s);
    QTest::keyClick(form.grid(), Qt::Key_Up);
    QCOMPARE(form.explanation()->text(), u"DEPO1 Kodlu yerden A-4500 No lu Fatura ile alınmıştır.(Alış No:12)"_s);

    // "Tarih Aralığı ": today only; the same "Fark".
    QTimer::singleShot(50, [] {
        QWidget* range = QApplication::activeModalWidget();
        QVERIFY(range);
        for (auto* b : range->findChildren<QPushButton*>())
            if (b->text() == u"&Tamam"_s) b->click();
    });
    form.button(u"Tarih Aralığı "_s)->click();
    QCOMPARE(form.model()->rowCount(), 1);
    QCOMPARE(form.explanation()->text(), u"61 Nolu Perakende Satış"_s);
    QCOMPARE(form.total(u"Fark"_s)->text(), u"-25.000 TL"_s);

    // The listing of the range shown, then OK.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Y, Qt::AltModifier);
    QTRY_COMPARE(printing.jobs().size(), size_t(1));
    QStringList texts;
    for (const TextItem& i : printing.jobs().back().document.pages[0].texts()) texts << i.text;
    QVERIFY(texts.contains(u" ( 61 Nolu Perakende Satış )"_s));
    QVERIFY(!texts.contains(u" ( DEPO1 Kodlu yerden A-4500 No lu Fatura ile alınmıştır.(Alış No:12) )"_s));
    form.button(u"OK"_s)->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TstBrStokForm)
#include "tst_br_stok_form.moc"
