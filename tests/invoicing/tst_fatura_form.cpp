// The invoice window by its keys: the buyer by F5, the form number typed, the discount box
// left, "Fatura &Kes" and "&Sakla" by their letters, Esc after a credit entry; and the
// whole road from the sale window's F9.
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "invoicing/ui/fatura_kayit.h"
#include "invoicing/ui/fatura_form.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "sales/ui/satis_form.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
class TakeOne final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest&) override
    {
        ProductValuesResult r;
        r.ok = true;
        return r;
    }
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(16, 0))};
    FakeCompanion companion;
    RecordingPrintService printing;
    Session session{t.db(), prompter, clock};
    qint64 parol = 0;
    Fixture()
    {
        session.companion = &companion;
        session.print = &printing;
        companion.writeCreditEntries(t.db(), clock.now(), u"ECZACI"_s);
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"MEB"_s}, {u"AD"_s, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s}, {u"ADR1"_s, u"Atatürk Bulvarı"_s},
                      {u"BORC"_s, 0.0}});
        for (int i = 0; i < 3; ++i)
            Sql::run(t.db(), u"INSERT INTO SAYFA (FONTADI, FONTSIZE, SAYFAISIM) VALUES ('Courier New', 10, 'A4   (210mm x 297mm)')"_s);
        insertRecord(t.db(), u"KORPARF"_s,
                     {{u"KR_S"_s, 20}, {u"KR_U"_s, 40}, {u"SUTB_S"_s, 15}, {u"SUTB_U"_s, 80}, {u"TOP_S"_s, 110},
                      {u"TOP_U"_s, 220}, {u"YAZI_S"_s, 20}, {u"YAZI_U"_s, 270}, {u"SIRA_U"_s, 10}, {u"URUNAD_U"_s, 90},
                      {u"MIK_U"_s, 15}, {u"BIRIMF_U"_s, 30}, {u"TUTAR_U"_s, 35}});
        parol = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 10800, 30);
    }
    void line()
    {
        insertRecord(t.db(), u"SATEMP"_s,
                     {{u"SIRANO"_s, 1}, {u"URUNAD"_s, u"PAROL 500 MG 20 TABLET"_s}, {u"URUNO"_s, parol}, {u"MIKTAR"_s, 2},
                      {u"FIYAT"_s, 10800.0}, {u"RECKOD"_s, u"N"_s}, {u"KDV"_s, 8.0}});
    }
};
}  // namespace

class TstFaturaForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void byKeys();
    void escapeUndoesTheCreditEntry();
    void roadFromTheSaleWindow();
};

void TstFaturaForm::byKeys()
{
    Fixture f;
    f.line();
    TFaturaForm1 form(f.session);
    form.open(1, 0, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"Fatura Kayıt"_s);
    QVERIFY(form.box(u"FATURANO"_s)->hasFocus());
    QCOMPARE(form.box(u"FATARIH"_s)->text(), u"09/12/2026"_s);
    QCOMPARE(form.box(u"INORAN2"_s)->text(), u"0,00"_s);
    QCOMPARE(form.roundingBox()->value(), 2);
    QCOMPARE(form.lineGrid()->rowCount(), 1);
    QCOMPARE(form.lineGrid()->item(0, 4)->text(), u"21.600,00"_s);
    QTest::keyClicks(form.box(u"FATURANO"_s), u"A-000123"_s);
    // F5 takes the institution's card and goes on to the discount.
    f.companion.answer(u"BrKurumCreate"_s, u"MEB"_s);
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(form.box(u"KRMAD"_s)->text(), u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s);
    QCOMPARE(form.box(u"KRMKOD"_s)->text(), u"MEB"_s);
    QVERIFY(form.box(u"INORAN2"_s)->hasFocus());
    // A discount typed and "Fatura &Kes" by its letter: the box counts first.
    form.box(u"INORAN2"_s)->selectAll();
    QTest::keyClicks(form.box(u"INORAN2"_s), u"1000"_s);
    QTest::keyClick(&form, Qt::Key_K, Qt::AltModifier);
    QTRY_COMPARE(f.printing.jobs().size(), size_t(1));
    QCOMPARE(form.logic().number(u"INORAN2"_s), 10.0);
    QVERIFY(form.printedTick()->isChecked());
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(form.result(), int(QDialog::Accepted));
    Sql q(f.t.db(), u"SELECT FATURANO, KRMKOD, KRMAD, KES, INORAN2, BRUT FROM FATURA"_s);
    q.exec();
    QVERIFY(q.next());
    QCOMPARE(q.text(0), u"A-000123"_s);
    QCOMPARE(q.text(1), u"MEB"_s);
    QCOMPARE(q.text(2), u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s);
    QVERIFY(q.boolean(3));
    QCOMPARE(q.number(4), 10.0);
    QCOMPARE(q.number(5), 21600.0);
}

void TstFaturaForm::escapeUndoesTheCreditEntry()
{
    Fixture f;
    f.line();
    TFaturaForm1 form(f.session);
    form.open(1, 0, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    f.companion.answer(u"BrKurumCreate"_s, u"MEB"_s);
    QTest::keyClick(&form, Qt::Key_F5);
    QTest::keyClick(&form, Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM HAREKET"_s).toInt(), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM KRMLAR WHERE KOD = 'MEB'"_s).toDouble(), 21600.0);
    QTest::keyClick(&form, Qt::Key_Escape);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM HAREKET"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM KRMLAR WHERE KOD = 'MEB'"_s).toDouble(), 0.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM FATURA"_s).toInt(), 0);
}

void TstFaturaForm::roadFromTheSaleWindow()
{
    // F9 in the sale window opens the invoice window; saving it records the sale.
    Fixture f;
    TakeOne values;
    SaleWindowLinks links;
    links.faturaKayitAc = [&](int mode, double sale, double invoice, const LinesRecorder& lines) {
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TFaturaForm1*>(QApplication::activeModalWidget());
            QVERIFY(w);
            w->box(u"FATURANO"_s)->setText(u"A-7"_s);
            w->logic().setField(u"FATURANO"_s, u"A-7"_s);
            f.companion.answer(u"BrKurumCreate"_s, u"MEB"_s);
            w->logic().chooseInstitution();
            w->store();
        });
        return FaturaKayitAc(f.session, mode, sale, invoice, lines);
    };
    TSatisForm sale(f.session, links, nullptr);
    sale.setValuesDialog(&values);
    sale.Giris();
    QVERIFY(QTest::qWaitForWindowActive(&sale));
    for (QChar c : u"PAROL"_s) QTest::keyClick(sale.productList(), c.toLatin1());
    QTest::keyClick(sale.productList(), Qt::Key_Return);
    QCOMPARE(sale.lineModel()->rowCount(), 1);
    QTest::keyClick(sale.productList(), Qt::Key_F9);
    const double number = Sql::scalar(f.t.db(), u"SELECT SATISNO FROM FATURA"_s).toDouble();
    QVERIFY(number > 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT PARAKENDE FROM SATIS WHERE SATISNO = :n"_s, {{u"n"_s, number}}).toString(), u"F"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, f.parol}}).toInt(), 29);
    QCOMPARE(sale.lineModel()->rowCount(), 0);
    sale.close();
}

QTEST_MAIN(TstFaturaForm)
#include "tst_fatura_form.moc"
