#include "core/format.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "sales/mik_logic.h"
#include "sales/ui/mik_dlg.h"
#include "sales/ui/zam_form.h"
#include "sales/zam_logic.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QAbstractButton>
#include <algorithm>
#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString Barcode = u"8690000000011"_s;
const QString OtherBarcode = u"8690000000028"_s;
const QDateTime Now(QDate(2026, 12, 9), QTime(14, 35, 20, 250));

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{Now};
    Session session{t.db(), prompter, clock};
    qint64 product = 0;
    QList<QPair<qint64, double>> asked;
    bool confirmRaise = true;

    explicit Fixture(double price = 100, const QDate& priceDate = QDate(2026, 6, 1))
    {
        product = addProduct(t.db(), u"ASPİRİN 100 MG"_s, price, 40, Barcode);
        Sql::run(t.db(), u"UPDATE URUN SET FIYATARIH = :d WHERE ILACNO = :n"_s, {{u"d"_s, priceDate}, {u"n"_s, product}});
        fill(price, priceDate);
    }
    // The sale window's part: the working row filled from the product.
    void fill(double price, const QDate& priceDate, const QString& discountType = {})
    {
        WorkRowValues v;
        v.productNo = product;
        v.price = price;
        v.priceDate = priceDate;
        v.stock = 40;
        v.quantity = 1;
        v.prescriptionType = u"N"_s;
        v.discountType = discountType;
        writeWorkRow(t.db(), v);
    }
    void history(qint64 no, const QDateTime& when, double price)
    {
        Sql::run(t.db(), u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) VALUES (:n, :t, :f)"_s,
                 {{u"n"_s, no}, {u"t"_s, when.isValid() ? QVariant(when) : QVariant()}, {u"f"_s, price}});
    }
    void attach(MikLogic& logic)
    {
        logic.setPriceIncreaseCheck([this](qint64 no, double p) {
            asked << qMakePair(no, p);
            return confirmRaise;
        });
    }
    ProductValuesRequest sale(const QString& barcode = Barcode, const QDate& rx = {})
    {
        ProductValuesRequest r;
        r.productName = u"ASPİRİN 100 MG"_s;
        r.barcode = barcode;
        r.prescriptionDate = rx;
        return r;
    }
    double productPrice() { return Sql::scalar(t.db(), u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, product}}).toDouble(); }
    QDate productPriceDate()
    {
        Sql q(t.db(), u"SELECT FIYATARIH FROM URUN WHERE ILACNO = :n"_s);
        q.bind(u"n"_s, product).exec();
        return q.next() ? q.date(0) : QDate();
    }
    QList<PriceHistoryRow> archive()
    {
        QList<PriceHistoryRow> r;
        Sql q(t.db(), u"SELECT SIRANO, FITARIH, FIYAT FROM URFAYAR WHERE ILACNO = :n ORDER BY FITARIH"_s);
        q.bind(u"n"_s, product).exec();
        while (q.next()) r.push_back({q.integer(0), q.timestamp(1), q.number(2)});
        return r;
    }
};

// A scanner's burst: F2, the code, F2.
MikLogic::ScanStep scan(MikLogic& logic, const QString& code)
{
    if (logic.scannerMark(true) != MikLogic::ScanStep::CaptureOn) return MikLogic::ScanStep::None;
    for (QChar c : code)
        if (!logic.captureChar(QString(c))) return MikLogic::ScanStep::None;
    return logic.scannerMark(true);
}

}  // namespace

class TestMik : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // ---------------------------------------------------------------- showing
    void showingResetsTheDialogState()
    {
        Fixture f;
        MikLogic logic(f.session);
        f.attach(logic);
        logic.show(f.sale());
        QVERIFY(scan(logic, OtherBarcode) == MikLogic::ScanStep::Accept);
        logic.ok();
        QCOMPARE(logic.scanBuffer(), OtherBarcode);

        // Shown again for the next line: scanner state, typed keys and label start afresh.
        f.fill(90, QDate(2026, 2, 1));
        logic.quantityTyped(u"x"_s);
        logic.show(f.sale(OtherBarcode));
        QCOMPARE(logic.scanBuffer(), QString());
        QVERIFY(!logic.scanOn());
        QVERIFY(!logic.scanDone());
        QCOMPARE(logic.typedKeys(), QString());
        QCOMPARE(logic.shownPrice(), 90.0);
        QCOMPARE(logic.productBarcode(), OtherBarcode);
        QCOMPARE(logic.priceLabel(), u"Etiket Fi&yatı"_s);
        QCOMPARE(logic.quantity(), 1);
        QCOMPARE(logic.stock(), 40);
        QCOMPARE(logic.priceDate(), QDate(2026, 2, 1));
        QVERIFY(!logic.oldPriceListEnabled());
        QCOMPARE(f.prompter.beeps, 0);
    }

    void historyButtonFollowsTheProduct()
    {
        Fixture f;
        const qint64 other = addProduct(f.t.db(), u"BETA"_s, 10);
        f.history(other, QDateTime(QDate(2025, 1, 1), QTime(9, 0)), 8);
        MikLogic logic(f.session);
        logic.show(f.sale());
        QVERIFY(!logic.oldPriceListEnabled());  // only another product has history
        QVERIFY(!logic.openOldPriceList());
        logic.cancel();
        f.history(f.product, QDateTime(QDate(2025, 1, 1), QTime(9, 0)), 80);
        logic.show(f.sale());
        QVERIFY(logic.oldPriceListEnabled());
    }

    // ---------------------------------------------------------------- scanner
    void threeScansOfTheSameBarcodeGiveThree()
    {
        Fixture f;
        MikLogic logic(f.session);
        logic.show(f.sale());  // the first scan opened the dialog
        QCOMPARE(scan(logic, Barcode), MikLogic::ScanStep::SameProduct);
        QCOMPARE(logic.quantity(), 2);
        QCOMPARE(logic.scanBuffer(), QString());
        QVERIFY(logic.scanOn() && logic.scanDone());
        QCOMPARE(scan(logic, Barcode), MikLogic::ScanStep::SameProduct);
        QCOMPARE(logic.quantity(), 3);
        logic.ok();
        QCOMPARE(readWorkRow(f.t.db()).quantity, 3);
        QVERIFY(logic.result().ok);
    }

    void anotherBarcodeClosesWithOkAndHandsTheCodeOver()
    {
        Fixture f;
        MikLogic logic(f.session);
        logic.show(f.sale());
        logic.quantityTyped(u"2"_s);
        logic.setQuantityText(u"2"_s);
        QCOMPARE(scan(logic, OtherBarcode), MikLogic::ScanStep::Accept);
        QVERIFY(!logic.scanOn());
        QVERIFY(!logic.scanDone());
        logic.ok();
        const ProductValuesResult r = logic.result();
        QVERIFY(r.ok);
        QCOMPARE(r.scanBuffer, OtherBarcode);
        QCOMPARE(readWorkRow(f.t.db()).quantity, 2);
    }

    void scannedEscCancels()
    {
        Fixture f;
        MikLogic logic(f.session);
        logic.show(f.sale());
        logic.setQuantityText(u"5"_s);
        QCOMPARE(scan(logic, u"ESC"_s), MikLogic::ScanStep::Cancel);
        logic.cancel();
        QVERIFY(!logic.result().ok);
        QCOMPARE(readWorkRow(f.t.db()).quantity, 1);  // the edit is dropped
    }

    void aMarkOutsideTheQuantityBoxStartsNoCapture()
    {
        Fixture f;
        MikLogic logic(f.session);
        logic.show(f.sale());
        QCOMPARE(logic.scannerMark(false), MikLogic::ScanStep::None);
        QVERIFY(!logic.captureChar(u"8"_s));
        QCOMPARE(logic.scanBuffer(), QString());
    }

    void productFoundByNameCountsAScanOfItsCodeAsAnother()
    {
        Fixture f;
        MikLogic logic(f.session);
        logic.show(f.sale(QString()));
        QCOMPARE(scan(logic, Barcode), MikLogic::ScanStep::Accept);
    }

    // ---------------------------------------------------------------- quantity
    void quantityRules_data()
    {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("before");  // committed first, "" = none
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("beeps");
        QTest::newRow("26 beeps, kept") << Barcode << QString() << u"26"_s << u"26"_s << 26 << 1;
        QTest::newRow("25 quietly") << Barcode << QString() << u"25"_s << u"25"_s << 25 << 0;
        QTest::newRow("not a number keeps") << Barcode << u"4"_s << u"4x"_s << u"4x"_s << 4 << 0;
        QTest::newRow("too big keeps") << Barcode << u"3"_s << u"99999999999"_s << u"99999999999"_s << 3 << 0;
        QTest::newRow("empty box is 0") << Barcode << QString() << u"\b"_s << QString() << 0 << 0;
        QTest::newRow("own barcode typed is 1") << Barcode << QString() << Barcode << u"86900000"_s << 1 << 0;
        QTest::newRow("by name, nothing typed is 1") << QString() << QString() << QString() << u"7"_s << 1 << 0;
        QTest::newRow("by name, typed") << QString() << QString() << u"7"_s << u"7"_s << 7 << 0;
    }
    void quantityRules()
    {
        QFETCH(QString, barcode);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, quantity);
        QFETCH(int, beeps);
        Fixture f;
        MikLogic logic(f.session);
        logic.show(f.sale(barcode));
        if (!before.isEmpty()) logic.setQuantityText(before);
        logic.quantityTyped(typed);
        logic.setQuantityText(text);
        QCOMPARE(logic.quantity(), quantity);
        QCOMPARE(f.prompter.beeps, beeps);
        logic.ok();
        QCOMPARE(readWorkRow(f.t.db()).quantity, quantity);
    }

    // ---------------------------------------------------------------- old prescriptions
    void oldPrescriptionPrice_data()
    {
        QTest::addColumn<QDate>("rx");
        QTest::addColumn<double>("price");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<int>("beeps");
        // History: 100 from 10.01.2025 09:00, 120 from 01.03.2026 11:00; now 150 from 01.06.2026.
        QTest::newRow("between the rows") << QDate(2026, 2, 15) << 100.0 << QDate(2025, 1, 10) << false << 1;
        QTest::newRow("on the day of a row") << QDate(2026, 3, 1) << 120.0 << QDate(2026, 3, 1) << false << 1;
        QTest::newRow("after the last row") << QDate(2026, 4, 1) << 120.0 << QDate(2026, 3, 1) << false << 1;
        QTest::newRow("on the day of the first row") << QDate(2025, 1, 10) << 100.0 << QDate(2025, 1, 10) << false << 1;
        QTest::newRow("before every row") << QDate(2024, 12, 1) << 100.0 << QDate(2025, 1, 10) << true << 1;
        QTest::newRow("on the price date") << QDate(2026, 6, 1) << 150.0 << QDate(2026, 6, 1) << false << 0;
        QTest::newRow("after the price date") << QDate(2026, 7, 1) << 150.0 << QDate(2026, 6, 1) << false << 0;
        QTest::newRow("no prescription date") << QDate() << 150.0 << QDate(2026, 6, 1) << false << 0;
    }
    void oldPrescriptionPrice()
    {
        QFETCH(QDate, rx);
        QFETCH(double, price);
        QFETCH(QDate, date);
        QFETCH(bool, warned);
        QFETCH(int, beeps);
        Fixture f(150, QDate(2026, 6, 1));
        f.history(f.product, QDateTime(QDate(2026, 3, 1), QTime(11, 0)), 120);
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 100);
        // Another product's rows must not be taken.
        const qint64 other = addProduct(f.t.db(), u"BETA"_s, 10);
        f.history(other, QDateTime(QDate(2024, 11, 1), QTime(8, 0)), 7);
        f.history(other, QDateTime(QDate(2026, 2, 15), QTime(8, 0)), 9);
        MikLogic logic(f.session);
        logic.show(f.sale(Barcode, rx));
        QCOMPARE(logic.price(), price);
        QCOMPARE(logic.priceDate(), date);
        QCOMPARE(f.prompter.saw(NoOldPriceMessage), warned);
        QCOMPARE(f.prompter.beeps, beeps);
        QVERIFY(!logic.oldPriceListShown());
        QCOMPARE(logic.shownPrice(), 150.0);
        logic.ok();
        QCOMPARE(readWorkRow(f.t.db()).price, price);
        QCOMPARE(readWorkRow(f.t.db()).priceDate, date);
    }

    void oldPrescriptionWithoutHistoryWarnsAndKeepsThePrice()
    {
        Fixture f(150, QDate(2026, 6, 1));
        MikLogic logic(f.session);
        logic.show(f.sale(Barcode, QDate(2026, 2, 15)));
        QCOMPARE(f.prompter.texts(), QStringList{NoOldPriceMessage});
        QCOMPARE(f.prompter.shown.first().kind, MessageKind::Warning);
        QCOMPARE(f.prompter.beeps, 1);
        QCOMPARE(logic.price(), 150.0);
        QCOMPARE(logic.priceDate(), QDate(2026, 6, 1));
    }

    void purchaseModeIgnoresThePrescriptionDate()
    {
        Fixture f(150, QDate(2026, 6, 1));
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 100);
        MikLogic logic(f.session);
        ProductValuesRequest r = f.sale(Barcode, QDate(2026, 2, 15));
        r.purchaseMode = true;
        logic.show(r);
        QCOMPARE(logic.price(), 150.0);
        QCOMPARE(f.prompter.beeps, 0);
    }

    // ---------------------------------------------------------------- price check
    void raisingThePriceAsksOnce()
    {
        Fixture f;
        MikLogic logic(f.session);
        f.attach(logic);
        logic.show(f.sale());
        logic.priceLeft();
        QVERIFY(f.asked.isEmpty());  // unchanged
        QVERIFY(logic.setPriceText(u"120"_s));
        logic.priceLeft();
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked.first(), qMakePair(f.product, 120.0));
        QCOMPARE(logic.shownPrice(), 120.0);
        QVERIFY(logic.setPriceText(u"120"_s));
        logic.priceLeft();
        QCOMPARE(f.asked.size(), 1);
        QVERIFY(logic.setPriceText(u"110"_s));
        logic.priceLeft();
        QCOMPARE(f.asked.size(), 1);  // lower than the confirmed one
        QVERIFY(logic.setPriceText(u"130,5"_s));
        logic.priceLeft();
        QCOMPARE(f.asked.size(), 2);
        QCOMPARE(f.asked.last().second, 130.5);
    }

    void aRefusedRaiseStaysInTheLineAndAsksAgain()
    {
        Fixture f;
        MikLogic logic(f.session);
        f.attach(logic);
        f.confirmRaise = false;
        logic.show(f.sale());
        QVERIFY(logic.setPriceText(u"120"_s));
        logic.priceLeft();
        QCOMPARE(logic.shownPrice(), 100.0);
        logic.priceLeft();
        QCOMPARE(f.asked.size(), 2);
        logic.ok();
        QCOMPARE(readWorkRow(f.t.db()).price, 120.0);
    }

    void priceTextThatIsNotANumberIsRefused()
    {
        Fixture f;
        MikLogic logic(f.session);
        logic.show(f.sale());
        QVERIFY(!logic.setPriceText(u"12a"_s));
        QVERIFY(!logic.setPriceText(QString()));
        QCOMPARE(logic.price(), 100.0);
        QVERIFY(logic.setPriceText(u"1.250,5"_s));
        QCOMPARE(logic.price(), 1250.5);
    }

    void confirmedRaiseThroughTheConfirmation()
    {
        Fixture f(100, QDate(2026, 1, 15));
        MikLogic logic(f.session);
        logic.setPriceIncreaseCheck(
            [&](qint64 no, double p) { return ZamLogic(f.session, no, p).confirm(u"09.12.2026"_s); });
        logic.show(f.sale());
        QVERIFY(!logic.oldPriceListEnabled());
        QVERIFY(logic.setPriceText(u"125"_s));
        logic.priceLeft();
        QCOMPARE(logic.shownPrice(), 125.0);
        QCOMPARE(f.productPrice(), 125.0);
        logic.ok();
        QVERIFY(logic.oldPriceListEnabled());  // the old price is history now
    }

    // ---------------------------------------------------------------- ZamOnay
    void zamOnayArchivesTheOldPriceAndWritesTheNew()
    {
        Fixture f(100, QDate(2026, 1, 15));
        ZamLogic z(f.session, f.product, 125.5);
        QCOMPARE(z.initialDateText(), u"09.12.2026"_s);
        QVERIFY(z.confirm(u"08.12.2026"_s));
        const QList<PriceHistoryRow> rows = f.archive();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].date, QDateTime(QDate(2026, 1, 15), QTime(14, 35, 20, 250)));
        QCOMPARE(rows[0].price, 100.0);
        QCOMPARE(f.productPrice(), 125.5);
        QCOMPARE(f.productPriceDate(), QDate(2026, 12, 8));
        QVERIFY(f.prompter.shown.isEmpty());
    }

    void zamOnayRefusesAnInvalidDate()
    {
        Fixture f(100, QDate(2026, 1, 15));
        ZamLogic z(f.session, f.product, 125);
        QVERIFY(!z.confirm(u"31.02.2026"_s));
        QCOMPARE(f.prompter.texts(), QStringList{invalidDateMessage(u"31.02.2026"_s)});
        QCOMPARE(f.prompter.shown.first().kind, MessageKind::Error);
        QVERIFY(!z.confirm(u"  .  .    "_s));
        QVERIFY(f.archive().isEmpty());
        QCOMPARE(f.productPrice(), 100.0);
        QCOMPARE(f.productPriceDate(), QDate(2026, 1, 15));
    }

    void zamOnayWritesBothOrNeither()
    {
        Fixture f(100, QDate(2026, 1, 15));
        makeUpdatesFail(f.t.db(), u"URUN"_s, u"FIYAT"_s);
        ZamLogic z(f.session, f.product, 125);
        QVERIFY_THROWS_EXCEPTION(DbError, z.confirm(u"09.12.2026"_s));
        QVERIFY(f.archive().isEmpty());
        QCOMPARE(f.productPrice(), 100.0);
        QVERIFY(!f.t->inTransaction());
    }

    void zamFormYesAndNo()
    {
        Fixture f(100, QDate(2026, 1, 15));
        {
            TZamForm form(f.session, f.product, 130);
            QCOMPARE(form.windowTitle(), u"Zam Onay"_s);
            QCOMPARE(form.dateBox()->text(), u"09.12.2026"_s);
            const QList<QLabel*> labels = form.findChildren<QLabel*>();
            QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text() == ZamQuestion; }));
            QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text() == u"Onay Tarihi"_s; }));
            QCOMPARE(form.noButton()->text(), u"&Hayır"_s);
            QTimer::singleShot(0, &form, [&] { form.noButton()->click(); });
            QCOMPARE(form.exec(), int(QDialog::Rejected));
        }
        QVERIFY(f.archive().isEmpty());
        QCOMPARE(f.productPrice(), 100.0);
        {
            TZamForm form(f.session, f.product, 130);
            QTimer::singleShot(0, &form, [&] {
                form.dateBox()->setText(u"31.13.2026"_s);
                form.yesButton()->click();  // refused, the form stays
                QVERIFY(form.isVisible());
                form.dateBox()->setText(u"01.12.2026"_s);
                form.yesButton()->click();
            });
            QCOMPARE(form.exec(), int(QDialog::Accepted));
        }
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.archive().size(), 1);
        QCOMPARE(f.productPrice(), 130.0);
        QCOMPARE(f.productPriceDate(), QDate(2026, 12, 1));
    }

    // ---------------------------------------------------------------- old-price list
    void oldPriceListInKeyOrder()
    {
        Fixture f;
        f.history(f.product, QDateTime(QDate(2026, 3, 1), QTime(11, 0)), 90);
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 70);
        f.history(addProduct(f.t.db(), u"BETA"_s, 10), QDateTime(QDate(2025, 6, 1), QTime(9, 0)), 5);
        f.history(f.product, QDateTime(QDate(2025, 8, 5), QTime(16, 0)), 80);
        MikLogic logic(f.session);
        logic.show(f.sale());
        QVERIFY(logic.openOldPriceList());
        QVERIFY(logic.oldPriceListShown());
        QList<double> prices;
        for (const PriceHistoryRow& r : logic.history()) prices << r.price;
        QCOMPARE(prices, (QList<double>{70, 80, 90}));
        QCOMPARE(logic.historyCurrent(), 0);
        logic.closeOldPriceList();
        QVERIFY(!logic.oldPriceListShown());
        QVERIFY(logic.oldPriceListEnabled());
    }

    void enterTakesOnlyRealPrices()
    {
        Fixture f;
        f.history(f.product, QDateTime(QDate(999, 5, 5), QTime(10, 0)), 60);
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 0);
        f.history(f.product, QDateTime(QDate(2025, 8, 5), QTime(16, 0)), 80);
        MikLogic logic(f.session);
        logic.show(f.sale());
        QVERIFY(logic.openOldPriceList());
        QCOMPARE(logic.history().size(), 3);
        logic.setHistoryCurrent(0);  // dated before 1.1.1000
        QVERIFY(!logic.takeHistoryRow());
        logic.setHistoryCurrent(1);  // price 0
        QVERIFY(!logic.takeHistoryRow());
        QVERIFY(logic.oldPriceListShown());
        QCOMPARE(logic.price(), 100.0);
        logic.setHistoryCurrent(2);
        QVERIFY(logic.takeHistoryRow());
        QVERIFY(!logic.oldPriceListShown());
        QCOMPARE(logic.price(), 80.0);
        QCOMPARE(logic.priceDate(), QDate(2025, 8, 5));
        logic.ok();
        QCOMPARE(readWorkRow(f.t.db()).price, 80.0);
        QCOMPARE(readWorkRow(f.t.db()).priceDate, QDate(2025, 8, 5));
        QCOMPARE(f.productPrice(), 100.0);  // the card keeps its price
    }

    void editingAHistoryRowSetsTheProductPrice()
    {
        Fixture f;
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 70);
        f.history(f.product, QDateTime(QDate(2025, 8, 5), QTime(16, 0)), 80);
        MikLogic logic(f.session);
        logic.show(f.sale());
        QVERIFY(logic.openOldPriceList());
        double value = 0;
        QVERIFY(parseNumber(u"12,5"_s, &value));
        logic.postHistoryRow(0, QDate(2025, 9, 1), value);
        const QList<PriceHistoryRow> rows = f.archive();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].date, QDateTime(QDate(2025, 9, 1), QTime(14, 35, 20, 250)));
        QCOMPARE(rows[1].price, 12.5);
        QCOMPARE(rows[0].price, 80.0);
        QCOMPARE(f.productPrice(), 12.5);
        QCOMPARE(f.productPriceDate(), QDate(2025, 9, 1));
        // The list follows the new order and stands on its last row.
        QCOMPARE(logic.history().size(), 2);
        QCOMPARE(logic.history().last().price, 12.5);
        QCOMPARE(logic.historyCurrent(), 1);
        QCOMPARE(logic.price(), 100.0);  // the line's price is not touched
    }

    void oldPriceListShownForACorrection()
    {
        Fixture f;
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 70);
        f.history(f.product, QDateTime(QDate(2025, 8, 5), QTime(16, 0)), 80);
        f.history(f.product, QDateTime(QDate(2026, 3, 1), QTime(11, 0)), 90);
        MikLogic logic(f.session);
        ProductValuesRequest r = f.sale();
        r.showOldPriceList = true;
        r.oldPriceListAt = QDateTime(QDate(2025, 10, 1), QTime(12, 0));
        logic.show(r);
        QVERIFY(logic.oldPriceListShown());
        QCOMPARE(logic.historyCurrent(), 1);
        logic.cancel();
        r.oldPriceListAt = QDateTime(QDate(2026, 10, 1), QTime(12, 0));
        logic.show(r);
        QCOMPARE(logic.historyCurrent(), 2);
        logic.cancel();
        QVERIFY(!logic.oldPriceListShown());
    }

    // ---------------------------------------------------------------- purchase mode
    void purchaseLabels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("label");
        const QString labels[] = {u"Etiket Fi&yatı"_s,   u"Etiket Fi&yatı"_s,   u"Depocu Fi&yatı"_s,
                                  u"Depocu Fi&yatı"_s,   u"D.Kdvsiz Fi&yatı"_s, u"Etiket Fi&yatı"_s,
                                  u"Depocu Fi&yatı"_s,   u"D.Kdvsiz Fi&yatı"_s, u"D.Kdvsiz Fi&yatı"_s};
        for (int i = 0; i < 9; ++i) QTest::addRow("type %d", i) << i << labels[i];
    }
    void purchaseLabels()
    {
        QFETCH(int, type);
        QFETCH(QString, label);
        Fixture f;
        f.fill(100, QDate(2026, 6, 1), QString::number(type));
        MikLogic logic(f.session);
        ProductValuesRequest r = f.sale();
        r.purchaseMode = true;
        r.quantityLabel = u"Alınan Mik&tar"_s;
        logic.show(r);
        QCOMPARE(logic.priceLabel(), label);  // from the row's type when shown
        QCOMPARE(logic.selectsWholePrice(), type == 4);
        logic.setDiscountType(type == 0 ? 4 : 0);
        QCOMPARE(logic.priceLabel(), type == 0 ? u"D.Kdvsiz Fi&yatı"_s : u"Etiket Fi&yatı"_s);
        logic.setDiscountType(type);
        QCOMPARE(logic.priceLabel(), label);
        logic.ok();
        QCOMPARE(readWorkRow(f.t.db()).discountType, QString::number(type));
        QCOMPARE(logic.result().discountType, type);
    }

    void purchasePanelValues()
    {
        Fixture f;
        MikLogic logic(f.session);
        ProductValuesRequest r = f.sale();
        r.purchaseMode = true;
        logic.show(r);
        QCOMPARE(logic.discountType(), -1);
        QCOMPARE(logic.freeGoodsText(), u"0"_s);
        QCOMPARE(logic.freeGoodsVatChoice(), 1);
        logic.setLineDiscountText(u"12"_s);
        logic.setFreeGoodsText(u"5"_s);
        logic.setFreeGoodsVatChoice(0);
        logic.ok();
        ProductValuesResult res = logic.result();
        QCOMPARE(res.lineDiscountText, u"12"_s);
        QCOMPARE(res.freeGoodsText, u"5"_s);
        QCOMPARE(res.freeGoodsVatChoice, 0);
        QCOMPARE(res.discountType, -1);

        r.freeGoodsText = u"3"_s;
        logic.show(r);
        QCOMPARE(logic.freeGoodsText(), u"3"_s);
        QCOMPARE(logic.freeGoodsVatChoice(), 1);  // back to "&Hayır"
        QVERIFY(!logic.selectsWholePrice());

        // Sale mode keeps the sale label whatever the row's type.
        f.fill(100, QDate(2026, 6, 1), u"2"_s);
        logic.show(f.sale());
        QCOMPARE(logic.priceLabel(), u"Etiket Fi&yatı"_s);
    }

    // ---------------------------------------------------------------- the widget
    void widgetScansAndEnter()
    {
        Fixture f;
        TMikDlg dlg(f.session);
        QCOMPARE(dlg.windowTitle(), u"Ürün Değerlerini Belirleme"_s);
        QTimer::singleShot(0, &dlg, [&] {
            QLineEdit* q = dlg.quantityBox();
            QCOMPARE(q->text(), u"1"_s);
            for (int i = 0; i < 2; ++i) {
                QTest::keyClick(q, Qt::Key_F2);
                QTest::keyClicks(q, Barcode);
                QTest::keyClick(q, Qt::Key_F2);
            }
            QCOMPARE(q->text(), u"3"_s);
            QTest::keyClick(q, Qt::Key_Return);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        const ProductValuesResult r = dlg.showModal(f.sale());
        QVERIFY(r.ok);
        QCOMPARE(readWorkRow(f.t.db()).quantity, 3);
    }

    void widgetAnotherScanClosesAndTypedQuantityCounts()
    {
        Fixture f;
        TMikDlg dlg(f.session);
        QTimer::singleShot(0, &dlg, [&] {
            QLineEdit* q = dlg.quantityBox();
            QTest::keyClicks(q, u"4"_s);
            QTest::keyClick(q, Qt::Key_F2);
            QTest::keyClicks(q, OtherBarcode);
            QCOMPARE(q->text(), u"4"_s);  // the code does not land in the box
            QTest::keyClick(q, Qt::Key_F2);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        const ProductValuesResult r = dlg.showModal(f.sale());
        QVERIFY(r.ok);
        QCOMPARE(r.scanBuffer, OtherBarcode);
        QCOMPARE(readWorkRow(f.t.db()).quantity, 4);
        QCOMPARE(dlg.logic().typedKeys(), u"4"_s);
    }

    void widgetEscAndScannedEscCancel()
    {
        Fixture f;
        TMikDlg dlg(f.session);
        QTimer::singleShot(0, &dlg, [&] {
            QTest::keyClicks(dlg.quantityBox(), u"7"_s);
            QTest::keyClick(dlg.quantityBox(), Qt::Key_Escape);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        QVERIFY(!dlg.showModal(f.sale()).ok);
        QCOMPARE(readWorkRow(f.t.db()).quantity, 1);

        // Reused for the next line.
        QTimer::singleShot(0, &dlg, [&] {
            QLineEdit* q = dlg.quantityBox();
            QCOMPARE(q->text(), u"1"_s);
            QTest::keyClick(q, Qt::Key_F2);
            QTest::keyClicks(q, u"ESC"_s);
            QTest::keyClick(q, Qt::Key_F2);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        const ProductValuesResult r = dlg.showModal(f.sale());
        QVERIFY(!r.ok);
        QCOMPARE(readWorkRow(f.t.db()).quantity, 1);
    }

    void widgetQuantityAndPrice()
    {
        Fixture f;
        TMikDlg dlg(f.session);
        dlg.logic().setPriceIncreaseCheck([&](qint64 no, double p) {
            f.asked << qMakePair(no, p);
            return true;
        });
        QTimer::singleShot(0, &dlg, [&] {
            QTest::keyClicks(dlg.quantityBox(), u"26"_s);
            dlg.priceBox()->setFocus();
            dlg.priceBox()->selectAll();
            QTest::keyClicks(dlg.priceBox(), u"112,5"_s);
            QTest::keyClick(dlg.priceBox(), Qt::Key_Return);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        QVERIFY(dlg.showModal(f.sale()).ok);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked.first().second, 112.5);
        QCOMPARE(f.prompter.beeps, 1);
        const WorkRowValues v = readWorkRow(f.t.db());
        QCOMPARE(v.quantity, 26);
        QCOMPARE(v.price, 112.5);
    }

    void widgetRaisedPriceGoesThroughZamOnay()
    {
        Fixture f(100, QDate(2026, 1, 15));
        TMikDlg dlg(f.session);
        QString question;
        QTimer::singleShot(0, &dlg, [&] {
            dlg.priceBox()->setFocus();
            dlg.priceBox()->selectAll();
            QTest::keyClicks(dlg.priceBox(), u"140"_s);
            QTimer::singleShot(0, &dlg, [&] {
                auto* zam = dlg.findChild<TZamForm*>();
                QVERIFY(zam);
                question = zam->windowTitle();
                zam->yesButton()->click();
            });
            QTest::keyClick(dlg.priceBox(), Qt::Key_Return);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        QVERIFY(dlg.showModal(f.sale()).ok);
        QCOMPARE(question, u"Zam Onay"_s);
        QCOMPARE(dlg.logic().shownPrice(), 140.0);
        QCOMPARE(f.productPrice(), 140.0);
        QCOMPARE(f.productPriceDate(), QDate(2026, 12, 9));
        QCOMPARE(f.archive().size(), 1);
        QCOMPARE(readWorkRow(f.t.db()).price, 140.0);
    }

    void widgetPrescriptionTypeAndHistory()
    {
        Fixture f;
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 0);
        f.history(f.product, QDateTime(QDate(2025, 8, 5), QTime(16, 0)), 80);
        TMikDlg dlg(f.session);
        QCOMPARE(dlg.prescriptionTypes()->buttons().size(), 12);
        QTimer::singleShot(0, &dlg, [&] {
            QCOMPARE(dlg.historyButton()->text(), u"Eski Fiyat &Listesi"_s);
            QVERIFY(dlg.historyButton()->isEnabled());
            QVERIFY(!dlg.historyGrid()->isVisible());
            QCOMPARE(dlg.prescriptionTypes()->checkedId(), 0);
            dlg.prescriptionTypes()->button(2)->click();  // "&Kırmızı Reçeteli"
            dlg.historyButton()->click();
            QTableWidget* g = dlg.historyGrid();
            QVERIFY(g->isVisible());
            QVERIFY(dlg.historyCloseButton()->isVisible());
            QCOMPARE(dlg.historyCloseButton()->text(), u"Esk. Fyt. List.Ka&pat"_s);
            QVERIFY(!dlg.historyButton()->isVisible());
            QCOMPARE(g->horizontalHeaderItem(0)->text(), u"Fyt.Tarihi"_s);
            QCOMPARE(g->horizontalHeaderItem(1)->text(), u"Eski Fiyatları"_s);
            QCOMPARE(g->item(0, 0)->text(), u"10.01.2025"_s);
            QTest::keyClick(g, Qt::Key_Return);  // price 0: not taken
            QVERIFY(g->isVisible());
            g->setCurrentCell(1, 0);
            QTest::keyClick(g, Qt::Key_Return);
            QVERIFY(!g->isVisible());
            QCOMPARE(dlg.priceBox()->text(), u"80"_s);
            QCOMPARE(dlg.priceDateBox()->text(), u"05.08.2025"_s);
            dlg.okButton()->click();
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        QVERIFY(dlg.showModal(f.sale()).ok);
        const WorkRowValues v = readWorkRow(f.t.db());
        QCOMPARE(v.price, 80.0);
        QCOMPARE(v.prescriptionType, u"K"_s);
    }

    void widgetEditsAHistoryRow()
    {
        Fixture f;
        f.history(f.product, QDateTime(QDate(2025, 1, 10), QTime(9, 0)), 70);
        f.history(f.product, QDateTime(QDate(2025, 8, 5), QTime(16, 0)), 80);
        TMikDlg dlg(f.session);
        QTimer::singleShot(0, &dlg, [&] {
            dlg.historyButton()->click();
            QTableWidget* g = dlg.historyGrid();
            g->setCurrentCell(0, 1);
            QTest::keyClick(g, Qt::Key_Insert);
            auto* editor = g->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, u"12,5"_s);
            QTest::keyClick(editor, Qt::Key_Return);
            // The post runs from the event loop: waited for, however busy the machine.
            QTRY_COMPARE(g->currentRow(), 1);  // the list stands on its last row
            QCOMPARE(f.productPrice(), 12.5);
            QCOMPARE(f.productPriceDate(), QDate(2025, 1, 10));
            QCOMPARE(g->item(0, 1)->text(), u"12,5"_s);
            // A date that is no date is refused with a beep and the row comes back.
            g->setCurrentCell(1, 0);
            QTest::keyClick(g, Qt::Key_Insert);
            editor = g->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, u"45.13.2025"_s);
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::qWait(20);
            QCOMPARE(f.prompter.beeps, 1);
            QCOMPARE(g->item(1, 0)->text(), u"05.08.2025"_s);
            QTest::keyClick(g, Qt::Key_Escape);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        QVERIFY(!dlg.showModal(f.sale()).ok);
        const QList<PriceHistoryRow> rows = f.archive();
        QCOMPARE(rows[0].date, QDateTime(QDate(2025, 1, 10), QTime(14, 35, 20, 250)));
        QCOMPARE(rows[0].price, 12.5);
        QCOMPARE(rows[1].price, 80.0);
    }

    void widgetTypeFourSelectsThePriceWhole()
    {
        Fixture f;
        f.fill(100, QDate(2026, 6, 1), u"4"_s);
        TMikDlg dlg(f.session);
        ProductValuesRequest r = f.sale();
        r.purchaseMode = true;
        QTimer::singleShot(0, &dlg, [&] {
            dlg.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            QCOMPARE(dlg.priceLabel()->text(), u"D.Kdvsiz Fi&yatı"_s);
            dlg.priceBox()->setFocus(Qt::OtherFocusReason);
            QTest::qWait(20);
            QCOMPARE(dlg.priceBox()->selectedText(), u"100"_s);
            dlg.quantityBox()->setFocus();
            dlg.discountTypes()->button(0)->click();
            dlg.priceBox()->setFocus(Qt::TabFocusReason);
            QTest::qWait(20);
            QCOMPARE(dlg.priceBox()->selectedText(), QString());
            dlg.cancelButton()->click();
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        QVERIFY(!dlg.showModal(r).ok);
    }

    void widgetPurchasePanel()
    {
        Fixture f;
        f.fill(100, QDate(2026, 6, 1), u"0"_s);
        TMikDlg dlg(f.session);
        ProductValuesRequest r = f.sale();
        r.purchaseMode = true;
        r.quantityLabel = u"Alınan Mik&tar"_s;
        r.color = QColor(255, 0, 0);
        QTimer::singleShot(0, &dlg, [&] {
            QVERIFY(dlg.purchasePanel()->isVisible());
            QCOMPARE(dlg.quantityLabel()->text(), u"Alınan Mik&tar"_s);
            QCOMPARE(dlg.priceLabel()->text(), u"Etiket Fi&yatı"_s);
            QCOMPARE(dlg.freeGoodsBox()->text(), u"0"_s);
            QCOMPARE(dlg.freeGoodsVat()->checkedId(), 1);
            QCOMPARE(dlg.discountTypes()->button(4)->text(), u"&5.Diğ.(KDVsiz) İsk.suz"_s);
            dlg.discountTypes()->button(4)->click();
            QCOMPARE(dlg.priceLabel()->text(), u"D.Kdvsiz Fi&yatı"_s);
            QTest::keyClicks(dlg.lineDiscountBox(), u"123"_s);  // two digits only
            QCOMPARE(dlg.lineDiscountBox()->text(), u"12"_s);
            dlg.okButton()->click();
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);
        const ProductValuesResult res = dlg.showModal(r);
        QVERIFY(res.ok);
        QCOMPARE(res.discountType, 4);
        QCOMPARE(res.lineDiscountText, u"12"_s);
        QVERIFY(!dlg.purchasePanel()->isVisibleTo(&dlg));
        QCOMPARE(readWorkRow(f.t.db()).discountType, u"4"_s);
    }
};

QTEST_MAIN(TestMik)
#include "tst_mik.moc"
