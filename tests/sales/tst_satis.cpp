#include "companion/companion.h"
#include "core/dates.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "sales/satis_logic.h"
#include "support/fake_companion.h"
#include "support/fake_platform.h"
#include "support/releasing_prompter.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QFile>
#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The product values dialog for logic tests: each show takes the next scripted step.
class FakeValues final : public ProductValuesDialog {
public:
    struct Step {
        bool ok = true;
        int quantity = 1;
        std::optional<double> price;
        QString type;
        QString scanned;
    };
    ProductValuesResult showModal(const ProductValuesRequest& r) override
    {
        requests << r;
        Step s = steps.isEmpty() ? Step{} : steps.takeFirst();
        if (s.ok) {
            Sql::run(*db, u"UPDATE FITMP SET SATISMIK = :q"_s, {{u"q"_s, s.quantity}});
            if (s.price) Sql::run(*db, u"UPDATE FITMP SET FIYAT = :f"_s, {{u"f"_s, *s.price}});
            if (!s.type.isEmpty()) Sql::run(*db, u"UPDATE FITMP SET RECKOD = :r"_s, {{u"r"_s, s.type}});
        }
        ProductValuesResult res;
        res.ok = s.ok;
        res.scanBuffer = s.scanned;
        return res;
    }
    Database* db = nullptr;
    QList<Step> steps;
    QList<ProductValuesRequest> requests;
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(11, 30, 0, 250))};
    FakePlatform platform;
    FakeCompanion companion;
    double oldSale = 0;  // the old sale the choosers return
    FakeValues values;
    Session session{t.db(), prompter, clock};
    QList<std::tuple<QString, int, QString, double>> prescriptionCalls;
    QList<std::tuple<int, double, double>> invoiceCalls;
    double prescriptionAnswer = 0;  // 0 = a new number from NEWSATIS
    double invoiceAnswer = -1;
    QList<int> backPrints;
    QChar oldKind = u'S';
    std::unique_ptr<SatisLogic> logic;
    qint64 parol = 0, aspirin = 0, cream = 0, surup = 0;

    Fixture()
    {
        session.platform = &platform;
        session.companion = &companion;
        session.UserName = u"ECZACI"_s;
        // Credit entries are written by the ledger; a counter sale's customer is patient 1.
        companion.writeCreditEntries(t.db(), clock.now(), u"ECZACI"_s);
        companion.creditAccount = u"1"_s;
        for (const QString& chooser : {u"BrSatisCreate"_s, u"BrReceteCreate"_s, u"BrFatRsizCreate"_s})
            companion.onCall(chooser, [this](const FakeCompanion::Call&) { return QVariant(oldSale); });
        session.OldSalesAllowed = true;
        session.ProductCardRight = u"E"_s;
        values.db = &t.db();
        parol = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 25000, 50, u"8699514010010"_s);
        aspirin = addProduct(t.db(), u"ASPİRİN 100 MG"_s, 10000, 30, u"8699514010027"_s);
        cream = addProduct(t.db(), u"ÇİNKO KREM 30 G"_s, 40000, 8, u"8699514010034"_s);
        surup = addProduct(t.db(), u"ŞURUP ÖKSÜRÜK"_s, 60000, 12);
        Sql::run(t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD, BORC) VALUES ('Ayşe', 'Yılmaz', 0)"_s);
        SaleWindowLinks links;
        // The registration windows store their header row under the sale number.
        // and the lines with it, in one transaction.
        links.receteKayitAc = [this](const QString& book, int mode, const QString& date, double sale,
                                     const LinesRecorder& recordLines) {
            prescriptionCalls << std::tuple{book, mode, date, sale};
            if (prescriptionAnswer < 0) return 0.0;
            Transaction tx(t.db());
            const double n = sale != 0 ? sale : (prescriptionAnswer > 0 ? prescriptionAnswer : newSaleNumber());
            if (mode == 1)
                Sql::run(t.db(), u"INSERT INTO RECETE (RKDEFTERNO, SATISNO) VALUES (:r, :n)"_s,
                         {{u"r"_s, QStringLiteral("XX%1").arg(int(n), 7, 10, QChar(u'0'))}, {u"n"_s, n}});
            recordLines(n);
            tx.commit();
            return n;
        };
        links.faturaKayitAc = [this](int mode, double sale, double invoice, const LinesRecorder& recordLines) {
            invoiceCalls << std::tuple{mode, sale, invoice};
            if (invoiceAnswer == 0) return 0.0;
            Transaction tx(t.db());
            const double n = sale != 0 ? sale : newSaleNumber();
            if (mode == 1)
                Sql::run(t.db(), u"INSERT INTO FATURA (FATNO, FATURANO, SATISNO, FATARIH) VALUES (9, 'A-123', :n, '2026-12-02')"_s,
                         {{u"n"_s, n}});
            recordLines(n);
            tx.commit();
            return n;
        };
        links.backPrint = [this](int kind) { backPrints << kind << int(session.PrintRequest.saleNo); };
        links.chooseOldRecordKind = [this] { return oldKind; };
        logic = std::make_unique<SatisLogic>(session, &values, links);
        logic->Giris();
    }
    double newSaleNumber()
    {
        const double n = Sql::scalar(t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toDouble();
        Sql::run(t.db(), u"UPDATE NEWSATIS SET YENISATISNO = YENISATISNO + 1"_s);
        return n;
    }
    void add(const QString& name, FakeValues::Step step = {})
    {
        QVERIFY(logic->positionByName(name));
        values.steps << step;
        logic->satisEkle();
    }
    int stock(qint64 p) { return Sql::scalar(t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, p}}).toInt(); }
    int count(const QString& sql) { return Sql::scalar(t.db(), sql).toInt(); }
    QStringList lineSummary()
    {
        QStringList r;
        for (const SaleLine& l : logic->lines()) r << QStringLiteral("%1 %2 x%3 @%4").arg(l.no).arg(l.name).arg(l.quantity).arg(l.price);
        return r;
    }
};

QStringList creditCalls(const FakeCompanion& c)
{
    QStringList r;
    for (const FakeCompanion::Call& call : c.callsOf(u"VeresiyeAc"_s))
        r << QStringLiteral("%1|%2|%3|%4").arg(call.args[2].toInt()).arg(call.args[1].toString())
                 .arg(call.args[4].toDouble()).arg(call.args[5].toDouble());
    return r;
}

}  // namespace

class TstSatis : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nameSearch();
    void sameProductMergesDifferentPriceDoesNot();
    void removingALineRenumbers();
    void editingLines();
    void warningsAndColours();
    void expiryWarnings();
    void barcodeSearchAndScanner();
    void scannedCommandCodes();
    void dataMatrixBoxesSoldOnce();
    void dataMatrixBoxWrittenWithTheSale();
    void retailSaleIsRecordedWhole();
    void failedRecordingLeavesNothing();
    void counterHeldAsksAndRetries();
    void crossedRecordingRunsAgain();
    void serverLostWhileTheSaleIsOpen();
    void discountAndPaid();
    void creditEntryTiedOrReversed();
    void correctionOfAnOldRetailSale();
    void correctionPresetsTheOldPrice();
    void conversionsCleanUp_data();
    void conversionsCleanUp();
    void prescriptionRoadAndBackPrint();
    void cancellingACorrection();
    void saleListFile();
    void productMaintenance();
};

void TstSatis::nameSearch()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    l.typeSearchChar(u'ş');
    QCOMPARE(l.currentProductName(), u"ŞURUP ÖKSÜRÜK"_s);
    l.clearSearch();
    for (QChar c : u"çi"_s) l.typeSearchChar(c);
    QCOMPARE(l.currentProductName(), u"ÇİNKO KREM 30 G"_s);
    QCOMPARE(l.searchText(), u"çi"_s);
    l.typeSearchChar(u'x');  // no name continues with it: dropped
    QCOMPARE(l.searchText(), u"çi"_s);
    QCOMPARE(l.currentProductName(), u"ÇİNKO KREM 30 G"_s);
    l.searchBackspace();
    QCOMPARE(l.searchText(), u"ç"_s);
    l.clearSearch();
    l.typeSearchChar(u'p');
    QCOMPARE(l.currentProductName(), u"PAROL 500 MG 20 TABLET"_s);
    // The 37th character empties the search text.
    l.clearSearch();
    const QString longText = u"PAROL 500 MG 20 TABLET"_s;
    for (QChar c : longText) l.typeSearchChar(c);
    QCOMPARE(l.searchText(), longText);
    Sql::run(f.t.db(), u"UPDATE URUN SET ILACAD = 'PAROL 500 MG 20 TABLET KUTU UZUN ADL' WHERE ILACNO = :n"_s, {{u"n"_s, f.parol}});
    for (QChar c : u" KUTU UZUN ADL"_s) l.typeSearchChar(c);
    QCOMPARE(l.searchText().size(), 36);
    l.typeSearchChar(u'X');
    QCOMPARE(l.searchText(), QString());
}

void TstSatis::sameProductMergesDifferentPriceDoesNot()
{
    Fixture f;
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 2});
    QCOMPARE(f.lineSummary(), QStringList{u"1 PAROL 500 MG 20 TABLET x3 @25000"_s});
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 1, 27500.0});
    QCOMPARE(f.lineSummary(), (QStringList{u"1 PAROL 500 MG 20 TABLET x3 @25000"_s, u"2 PAROL 500 MG 20 TABLET x1 @27500"_s}));
    QCOMPARE(f.logic->total(), 3 * 25000.0 + 27500.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT FIYAT FROM TOPFIY"_s).toDouble(), 102500.0);
    // The dialog got the working row the way it expects it.
    QCOMPARE(f.values.requests.last().quantityLabel, u"Satılacak Mik&tar"_s);
    QCOMPARE(f.values.requests.last().productName, u"PAROL 500 MG 20 TABLET"_s);
    // A cancelled dialog or a quantity of 0 adds nothing.
    f.add(u"ASPİRİN 100 MG"_s, {false});
    f.add(u"ASPİRİN 100 MG"_s, {true, 0});
    QCOMPARE(f.logic->lineCount(), 2);
    QCOMPARE(f.prompter.beeps, 1);
}

void TstSatis::removingALineRenumbers()
{
    Fixture f;
    for (const QString& n : {u"PAROL 500 MG 20 TABLET"_s, u"ASPİRİN 100 MG"_s, u"ÇİNKO KREM 30 G"_s, u"ŞURUP ÖKSÜRÜK"_s})
        f.add(n);
    f.logic->removeLine(2);
    QCOMPARE(f.lineSummary(), (QStringList{u"1 PAROL 500 MG 20 TABLET x1 @25000"_s, u"2 ÇİNKO KREM 30 G x1 @40000"_s,
                                           u"3 ŞURUP ÖKSÜRÜK x1 @60000"_s}));
    QCOMPARE(f.logic->total(), 125000.0);
    // The next product gets the next free number.
    f.add(u"ASPİRİN 100 MG"_s);
    QCOMPARE(f.logic->lines().last().no, 4);
}

void TstSatis::editingLines()
{
    Fixture f;
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    f.add(u"ASPİRİN 100 MG"_s);
    f.logic->editLine(1, 4, 26000, u"Y"_s);
    QCOMPARE(f.lineSummary().first(), u"1 PAROL 500 MG 20 TABLET x4 @26000"_s);
    QCOMPARE(f.logic->lines().first().prescriptionType, u"Y"_s);
    QCOMPARE(f.logic->total(), 4 * 26000.0 + 10000.0);
    f.logic->editLine(2, 1, 10000, QString());  // posted empty the type becomes "N"
    QCOMPARE(f.logic->lines()[1].prescriptionType, u"N"_s);
    f.logic->editLine(1, 0, 26000, u"N"_s);  // quantity 0 removes the line with a beep
    QCOMPARE(f.lineSummary(), QStringList{u"1 ASPİRİN 100 MG x1 @10000"_s});
    QCOMPARE(f.prompter.beeps, 1);
}

void TstSatis::warningsAndColours()
{
    Fixture f;
    const qint64 b = addProduct(f.t.db(), u"B TIPI"_s, 1, 1, {}, u"B"_s);
    const qint64 s = addProduct(f.t.db(), u"S TIPI"_s, 1, 1, {}, u"S"_s);
    Q_UNUSED(b);
    Q_UNUSED(s);
    addProduct(f.t.db(), u"Y TIPI"_s, 1, 1, {}, u"Y"_s);
    addProduct(f.t.db(), u"K TIPI"_s, 1, 1, {}, u"K"_s);
    addProduct(f.t.db(), u"R TIPI"_s, 1, 1, {}, u"R"_s);
    f.add(u"B TIPI"_s);
    QCOMPARE(f.prompter.shown.last().text, u"Bu İlacın Bedeli Resmi Kurumlar tarafından Ödenmez !"_s);
    QCOMPARE(f.prompter.shown.last().buttons, Buttons::CancelOnly);
    f.add(u"S TIPI"_s);
    QCOMPARE(f.prompter.shown.last().text, u"Sağlık Kurulu Raporu Gerekli!"_s);
    QCOMPARE(f.prompter.beeps, 2);
    f.add(u"Y TIPI"_s);
    QCOMPARE(f.values.requests.last().color, QColor(0, 255, 0));
    f.add(u"K TIPI"_s);
    QCOMPARE(f.values.requests.last().color, QColor(255, 0, 0));
    f.add(u"R TIPI"_s);
    QCOMPARE(f.values.requests.last().color, QColor(255, 255, 0));
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    QVERIFY(!f.values.requests.last().color.isValid());
    QCOMPARE(f.prompter.beeps, 5);
    QCOMPARE(f.prompter.shown.size(), 2);
}

void TstSatis::expiryWarnings()
{
    Fixture f;
    const QDate today(2026, 12, 9);
    auto expiring = [&](int days) {
        f.prompter.clear();
        Sql::run(f.t.db(), u"UPDATE URUN SET MIAD = :d WHERE ILACNO = :n"_s, {{u"d"_s, today.addDays(days)}, {u"n"_s, f.parol}});
        f.add(u"PAROL 500 MG 20 TABLET"_s);
        return f.prompter.texts();
    };
    QCOMPARE(expiring(64), QStringList());
    QCOMPARE(expiring(63), QStringList{u"İlacın Miadı Yakın"_s});
    QCOMPARE(expiring(0), QStringList{u"İlacın Miadı Yakın"_s});
    QCOMPARE(f.prompter.beeps, 0);
    QCOMPARE(expiring(-1), QStringList{u"İLACIN MİADI GEÇMİŞ"_s});
    QCOMPARE(f.prompter.beeps, 1);
}

void TstSatis::barcodeSearchAndScanner()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    // An empty barcode with Enter adds the product under the cursor.
    l.positionByName(u"ASPİRİN 100 MG"_s);
    l.toggleSearchMode();
    QCOMPARE(l.searchModeLabel(), u"Liste Şu An BARKODLA ARAMAYA AYARLI"_s);
    QCOMPARE(l.searchButtonCaption(), u"Klavyeden Ara ( F5 Tuşu )"_s);
    f.values.steps << FakeValues::Step{};
    l.barcodeEnter();
    QCOMPARE(f.lineSummary(), QStringList{u"1 ASPİRİN 100 MG x1 @10000"_s});
    // A typed code finds its product; the dialog gets the code.
    for (QChar c : u"8699514010034"_s) l.typeSearchChar(c);
    f.values.steps << FakeValues::Step{};
    l.enterInProductList();
    QCOMPARE(f.lineSummary().last(), u"2 ÇİNKO KREM 30 G x1 @40000"_s);
    QCOMPARE(f.values.requests.last().barcode, u"8699514010034"_s);
    QCOMPARE(l.products().indexName(), u"ILACADI"_s);
    // A code of no product beeps and adds nothing.
    for (QChar c : u"8699999999999"_s) l.typeSearchChar(c);
    l.barcodeEnter();
    QCOMPARE(l.lineCount(), 2);
    QCOMPARE(f.prompter.beeps, 1);
    l.toggleSearchMode();
    // The scanner: F2, the code, F2; the keyboard search comes back afterwards.
    l.scannerMark();
    QVERIFY(l.scanStarted());
    QCOMPARE(l.searchMode(), SatisLogic::SearchMode::Barcode);
    for (QChar c : u"8699514010010"_s) l.typeSearchChar(c);
    // In the dialog another product is scanned: it closes with OK and that one follows.
    f.values.steps << FakeValues::Step{true, 1, {}, {}, u"8699514010027"_s} << FakeValues::Step{};
    l.scannerMark();
    QCOMPARE(f.lineSummary(), (QStringList{u"1 ASPİRİN 100 MG x2 @10000"_s, u"2 ÇİNKO KREM 30 G x1 @40000"_s,
                                           u"3 PAROL 500 MG 20 TABLET x1 @25000"_s}));
    QVERIFY(!l.scanStarted());
    QVERIFY(!l.scanEnded());
    QCOMPARE(l.searchMode(), SatisLogic::SearchMode::Keyboard);
    QCOMPARE(f.values.requests.last().barcode, u"8699514010027"_s);
}

void TstSatis::scannedCommandCodes()
{
    Fixture f;
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    SatisLogic& l = *f.logic;
    l.scannerMark();
    for (QChar c : u"F7"_s) l.typeSearchChar(c);
    l.scannerMark();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS WHERE PARAKENDE = 'P'"_s), 1);
    QCOMPARE(l.lineCount(), 0);
    QCOMPARE(f.prompter.beeps, 0);
    f.add(u"ASPİRİN 100 MG"_s);
    l.scannerMark();
    for (QChar c : u"F8"_s) l.typeSearchChar(c);
    l.scannerMark();
    QCOMPARE(f.prescriptionCalls.size(), 1);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS WHERE PARAKENDE = 'R'"_s), 1);
}

void TstSatis::retailSaleIsRecordedWhole()
{
    Fixture f;
    Sql::run(f.t.db(), u"UPDATE NEWSATIS SET YENISATISNO = 41"_s);
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 2});
    f.add(u"ÇİNKO KREM 30 G"_s, {true, 1, 42000.0, u"I"_s});
    f.logic->perakendeKayit();
    QCOMPARE(f.logic->lineCount(), 0);
    QCOMPARE(f.logic->total(), 0.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 42);
    Sql q(f.t.db(), u"SELECT SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE FROM SATIS ORDER BY SIRANOURUN"_s);
    q.exec();
    QVERIFY(q.next());
    QCOMPARE(q.number(0), 41.0);
    QCOMPARE(q.timestamp(2), QDateTime(QDate(2026, 12, 9), QTime(11, 30, 0, 250)));
    QCOMPARE(q.integer(3), f.parol);
    QCOMPARE(q.integer(5), 2);
    QCOMPARE(q.text(8), u"P"_s);
    QVERIFY(q.next());
    QCOMPARE(q.number(4), 42000.0);
    QCOMPARE(q.text(7), u"I"_s);
    QCOMPARE(f.stock(f.parol), 48);
    QCOMPARE(f.stock(f.cream), 7);
    Sql m(f.t.db(), u"SELECT ILACNO, GCTARIH, CIKMIK, CIKFIYAT, ALSATNO, SIRANO FROM URUNHRK ORDER BY SIRANO"_s);
    m.exec();
    QVERIFY(m.next());
    QCOMPARE(m.timestamp(1), QDateTime(QDate(2026, 12, 9), QTime(11, 30, 0, 250)));
    QCOMPARE(m.integer(2), 2);
    QCOMPARE(m.number(3), 25000.0);
    QCOMPARE(m.number(4), 41.0);
    QVERIFY(m.next());
    QCOMPARE(m.integer(5), 2);
    // Nothing to record on an empty list.
    f.logic->perakendeKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 2);
}

namespace {
// A DataMatrix as a 2D scanner sends it, between the two scanner marks of the list.
QString dataMatrix(const QString& serial, const QString& expiry = u"290630"_s)
{
    return u"]d20108699514010012"_s + u"17"_s + expiry + u"10PARTİ7"_s + QChar(29) + u"21"_s + serial;
}
void scan(SatisLogic& l, const QString& code)
{
    l.scannerMark();
    for (const QChar c : code) l.typeSearchChar(c);
    l.scannerMark();
}
qint64 addBoxedProduct(Database& db)
{
    const qint64 p = addProduct(db, u"KAREKODLU ŞURUP 100 ML"_s, 30000, 20, u"8699514010012"_s);
    Sql::run(db, u"UPDATE URUN SET MIAD = '2029-06-30' WHERE ILACNO = :p"_s, {{u"p"_s, p}});
    return p;
}
}  // namespace

// The box read from its DataMatrix: found by its GTIN, sold once, its own expiry warned
// about; a sale corrected to leave it out frees it again.
void TstSatis::dataMatrixBoxesSoldOnce()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    const qint64 boxed = addBoxedProduct(f.t.db());
    l.productsChanged();
    f.values.steps << FakeValues::Step{};
    scan(l, dataMatrix(u"SNi001"_s));
    QCOMPARE(f.values.requests.size(), 1);
    QCOMPARE(f.values.requests.last().productName, u"KAREKODLU ŞURUP 100 ML"_s);
    QCOMPARE(f.values.requests.last().barcode, u"8699514010012"_s);
    QCOMPARE(f.lineSummary(), QStringList{u"1 KAREKODLU ŞURUP 100 ML x1 @30000"_s});
    QVERIFY(f.prompter.texts().isEmpty());  // the card's expiry is far and so is the box's
    // The same box again: refused, nothing opens.
    scan(l, dataMatrix(u"SNi001"_s));
    QCOMPARE(f.values.requests.size(), 1);
    QCOMPARE(f.prompter.texts().last(), u"Bu kutu zaten satış listesinde (Seri No: SNi001)."_s);
    // On a Turkish keyboard "i" may come as "ı": still the same box.
    scan(l, dataMatrix(u"SNı001"_s));
    QCOMPARE(f.values.requests.size(), 1);
    QCOMPARE(f.prompter.texts().last(), u"Bu kutu zaten satış listesinde (Seri No: SNı001)."_s);
    // Another box of the same product: one more.
    f.values.steps << FakeValues::Step{};
    scan(l, dataMatrix(u"SN0002"_s));
    QCOMPARE(f.lineSummary(), QStringList{u"1 KAREKODLU ŞURUP 100 ML x2 @30000"_s});
    l.perakendeKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKOD WHERE BELGENO = 1 AND SIRANO = 1 AND YON = 'S'"_s), 2);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT PARTI FROM KAREKOD WHERE SERINO = 'SN0002'"_s).toString(), u"PARTİ7"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT MIAD FROM KAREKOD WHERE SERINO = 'SN0002'"_s).toDate(), QDate(2029, 6, 30));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKODTMP"_s), 0);

    // The next day a box already sold is refused with its sale.
    f.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    f.prompter.clear();
    scan(l, dataMatrix(u"snİ001"_s));
    QCOMPARE(f.prompter.texts(),
             QStringList{u"Bu kutu daha önce satıldı: Satış No 1, 09.12.2026 (Seri No: snİ001). Aynı kutu iki kez satılamaz."_s});
    QCOMPARE(l.lineCount(), 0);
    // A box whose own expiry has passed warns although the card's is years away.
    f.prompter.clear();
    f.values.steps << FakeValues::Step{};
    scan(l, dataMatrix(u"SN0003"_s, u"261100"_s));  // day 00: the end of November
    QVERIFY(f.prompter.texts().contains(u"İLACIN MİADI GEÇMİŞ"_s));
    f.prompter.unansweredQuestion = Answer::Yes;
    l.satisListesiIptali();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKODTMP"_s), 0);

    // Sale 1 corrected: its line removed, so its boxes are free again.
    f.oldSale = 1;
    f.oldKind = u'S';
    l.eskiSatislar();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKODTMP"_s), 2);
    l.removeLine(1);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKODTMP"_s), 0);
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    f.prompter.unansweredQuestion = Answer::Yes;
    l.perakendeKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKOD"_s), 0);
    f.prompter.clear();
    f.values.steps << FakeValues::Step{};
    scan(l, dataMatrix(u"SNi001"_s));
    QCOMPARE(f.lineSummary(), QStringList{u"1 KAREKODLU ŞURUP 100 ML x1 @30000"_s});
    QCOMPARE(f.stock(boxed), 20);
    // Garbage and a wrong check digit: a message and a beep, nothing added.
    f.prompter.clear();
    scan(l, u"]d20108699514010013"_s);
    QCOMPARE(f.prompter.texts(), QStringList{u"Karekoddaki ürün numarasının (GTIN) kontrol hanesi yanlış: 08699514010013"_s});
    QCOMPARE(l.lineCount(), 1);
}

// A box scanned in the values dialog counts one more; the serials land with the sale in
// its transaction or not at all.
void TstSatis::dataMatrixBoxWrittenWithTheSale()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    addBoxedProduct(f.t.db());
    l.productsChanged();
    f.values.steps << FakeValues::Step{};
    scan(l, dataMatrix(u"SN0010"_s));
    f.values.steps << FakeValues::Step{};
    scan(l, dataMatrix(u"SN0011"_s));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKODTMP"_s), 2);
    // The stock update fails after the serials went in: neither sale nor serials stay.
    makeUpdatesFail(f.t.db(), u"URUN"_s, u"MIKTAR"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, l.perakendeKayit());
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKOD"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKODTMP"_s), 2);  // still there to record again
    stopFailingUpdates(f.t.db(), u"URUN"_s);
    // Meanwhile another workstation sold box SN0011: this sale is refused whole.
    Sql::run(f.t.db(), u"INSERT INTO KAREKOD (ILACNO, SERINO, SERIANAH, BELGENO, SIRANO, TARIH, YON) "
                       u"SELECT ILACNO, 'SN0011', 'SN0011', 77, 1, '2026-12-09 11:00:00.000', 'S' FROM URUN "
                       u"WHERE ILACKOD = '8699514010012'"_s);
    try {
        l.perakendeKayit();
        QFAIL("recorded a box sold elsewhere");
    } catch (const DbError& e) {
        QCOMPARE(e.message(), u"Bu kutu daha önce satıldı: Satış No 77, 09.12.2026 (Seri No: SN0011). Aynı kutu iki kez satılamaz."_s);
    }
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 0);
    Sql::run(f.t.db(), u"DELETE FROM KAREKOD"_s);
    l.perakendeKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKOD WHERE YON = 'S'"_s), 2);
    // The index holds it too: one sold row per box.
    QVERIFY_THROWS_EXCEPTION(DbError, Sql::run(f.t.db(), u"INSERT INTO KAREKOD (ILACNO, SERINO, SERIANAH, BELGENO, YON) "
                                                         u"SELECT ILACNO, 'x', SERIANAH, 5, 'S' FROM KAREKOD LIMIT 1"_s));
}

void TstSatis::failedRecordingLeavesNothing()
{
    Fixture f;
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 3});
    f.add(u"ASPİRİN 100 MG"_s);
    // A row already stored under the next number makes the second line fail.
    Sql::run(f.t.db(), u"INSERT INTO SATIS (SATISNO, SIRANOURUN, MIKTAR) VALUES (1, 2, 9)"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, f.logic->perakendeKayit());
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 1);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK"_s), 0);
    QCOMPARE(f.stock(f.parol), 50);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 1);
    QCOMPARE(f.logic->lineCount(), 2);  // the list is still there to be recorded again
}


void TstSatis::counterHeldAsksAndRetries()
{
    Fixture f;
    ReleasingPrompter prompter;
    qputenv("SELVAR_LOCK_WAIT_MS", "50");
    TestDb held;
    qunsetenv("SELVAR_LOCK_WAIT_MS");
    // The session works on a connection with a short wait; another one holds the lock.
    Session session(held.db(), prompter, f.clock);
    session.companion = &f.companion;
    FakeValues values;
    values.db = &held.db();
    SatisLogic logic(session, &values, {});
    logic.Giris();
    addProduct(held.db(), u"PAROL"_s, 100, 5);
    logic.positionByName(u"PAROL"_s);
    values.steps << FakeValues::Step{};
    logic.satisEkle();
    auto other = held.second();
    auto tx = holdCounters(*other);
    prompter.release = [&] { tx->commit(); };
    logic.perakendeKayit();
    QCOMPARE(prompter.texts, QStringList{CounterBusyMessage});
    QCOMPARE(Sql::scalar(held.db(), u"SELECT COUNT(*) FROM SATIS"_s).toInt(), 1);
}

void TstSatis::crossedRecordingRunsAgain()
{
    // The server rolled a recording back for a deadlock: it runs again without a word,
    // and only a conflict that keeps coming back asks the user.
    ScriptedPrompter prompter;
    int runs = 0;
    QCOMPARE(withLockRetry(prompter, CounterBusyMessage, [&] {
                 if (++runs < 3) throw WriteConflict(u"x"_s);
                 return 7;
             }),
             7);
    QCOMPARE(runs, 3);
    QVERIFY(prompter.texts().isEmpty());
    runs = 0;
    prompter.answers({Answer::Ok, Answer::Cancel});
    QVERIFY_THROWS_EXCEPTION(RetryRefused, withLockRetry(prompter, CounterBusyMessage, [&] {
                                 ++runs;
                                 throw WriteConflict(u"x"_s);
                             }));
    QCOMPARE(runs, 10);
    QCOMPARE(prompter.texts(), (QStringList{CounterBusyMessage, CounterBusyMessage}));
}

void TstSatis::serverLostWhileTheSaleIsOpen()
{
    if (!onPostgres()) QSKIP("only a server connection can be lost");
    Fixture f;
    Database& db = f.t.db();
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 2});
    // The server ends this workstation's connection, as a restart does.
    const qint64 pid = Sql::scalar(db, u"SELECT pg_backend_pid()"_s).toLongLong();
    auto admin = f.t.second();
    Sql::scalar(*admin, u"SELECT pg_terminate_backend(:p)"_s, {{u"p"_s, pid}});
    QVERIFY_THROWS_EXCEPTION(ConnectionLost, f.logic->perakendeKayit());
    // Nothing of the sale was written.
    QCOMPARE(Sql::scalar(*admin, u"SELECT COUNT(*) FROM SATIS"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(*admin, u"SELECT MIKTAR FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, f.parol}}).toInt(), 50);
    QCOMPARE(Sql::scalar(*admin, u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 1);
    // The next sale connects again (its working list starts empty) and is recorded.
    QCOMPARE(f.logic->lineCount(), 0);
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 2});
    f.logic->perakendeKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS WHERE SATISNO = 1"_s), 1);
    QCOMPARE(f.stock(f.parol), 48);
    QVERIFY(Sql::scalar(db, u"SELECT pg_backend_pid()"_s).toLongLong() != pid);
}

void TstSatis::discountAndPaid()
{
    Fixture f;
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 4});
    SatisLogic& l = *f.logic;
    QCOMPARE(l.paid(), 100000.0);
    l.discountLeft(5000);
    QCOMPARE(l.paid(), 95000.0);
    l.paidLeft(90000);
    QCOMPARE(l.discount(), 10000.0);
    l.perakendeKayit();
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ISKONTUT FROM iskonto WHERE SATISNO = 1"_s).toDouble(), 10000.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT TARIH FROM iskonto"_s).toString(), u"2026-12-09"_s);
    QCOMPARE(l.discount(), 0.0);
    QCOMPARE(l.paid(), 0.0);
}

void TstSatis::creditEntryTiedOrReversed()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    l.veresiyeKayit();  // nothing on an empty list
    QVERIFY(creditCalls(f.companion).isEmpty());
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 2});
    l.veresiyeKayit();
    QCOMPARE(creditCalls(f.companion), QStringList{u"1|09.12.2026 Tarihli Prk.Satış|0|50000"_s});
    QCOMPARE(l.creditEntryNo(), 1.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ALSATNO FROM HAREKET"_s).toDouble(), 0.0);
    f.add(u"ASPİRİN 100 MG"_s);
    l.veresiyeKayit();  // the same entry is updated
    QCOMPARE(creditCalls(f.companion).last(), u"0|09.12.2026 Prk.Satış|1|60000"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = 1"_s).toDouble(), 60000.0);
    // Emptying the list gives the debt back and removes the untied entry.
    f.prompter.answer(Answer::Yes);
    l.satisListesiIptali();
    QCOMPARE(f.prompter.shown.last().text, u"Satışla ilgili İşlemler İptal Edilsin mi?"_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = 1"_s).toDouble(), 0.0);
    QCOMPARE(l.creditEntryNo(), 0.0);
    // Recorded: the entry is tied to the sale number.
    f.add(u"ŞURUP ÖKSÜRÜK"_s);
    l.veresiyeKayit();
    l.perakendeKayit();
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ALSATNO FROM HAREKET"_s).toDouble(), 1.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = 1"_s).toDouble(), 60000.0);
}

void TstSatis::correctionOfAnOldRetailSale()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 5});
    f.add(u"ASPİRİN 100 MG"_s, {true, 2});
    l.perakendeKayit();
    const QDateTime first(QDate(2026, 12, 9), QTime(11, 30, 0, 250));
    QCOMPARE(f.stock(f.parol), 45);
    f.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    // Load it again: F3, "Satışlar", sale 1.
    f.oldSale = 1;
    f.oldKind = u'S';
    l.eskiSatislar();
    QCOMPARE(l.saleMode(), 3);
    QCOMPARE(l.correctionCode(), 3);
    QCOMPARE(l.oldSaleNo(), 1.0);
    QCOMPARE(l.oldSaleDate(), first);
    const SaleCaptions c = l.captions();
    QCOMPARE(c.retail, u"Eski Perknd.Kayıt"_s);
    QCOMPARE(c.oldSales, u"Esk.Prk.Dzlt.Vazgeç"_s);
    QCOMPARE(c.oldNumberLabel, u"1 Nolu ESKİ"_s);
    QCOMPARE(c.oldDateLabel, u"(09.12.2026 11:30:00)"_s);
    QCOMPARE(f.lineSummary(), (QStringList{u"1 PAROL 500 MG 20 TABLET x5 @25000"_s, u"2 ASPİRİN 100 MG x2 @10000"_s}));
    // Change a quantity and record: same number, same moment, stock right.
    l.editLine(1, 3, 25000, u"N"_s);
    f.prompter.answer(Answer::Yes);
    l.perakendeKayit();
    QCOMPARE(f.prompter.shown.last().text, u"Eski Prk Satışın Kaydı Düzeltilsin mi?"_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 2);
    QCOMPARE(f.count(u"SELECT COUNT(DISTINCT SATISNO) FROM SATIS"_s), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT MIKTAR FROM SATIS WHERE ILACNO = :n"_s, {{u"n"_s, f.parol}}).toInt(), 3);
    Sql times(f.t.db(), u"SELECT DISTINCT SATARIH FROM SATIS"_s);
    times.exec();
    QVERIFY(times.next());
    QCOMPARE(times.timestamp(0), first);
    QCOMPARE(f.stock(f.parol), 47);
    QCOMPARE(f.stock(f.aspirin), 28);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK"_s), 2);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SUM(CIKMIK) FROM URUNHRK"_s).toInt(), 5);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 2);
    Sql log(f.t.db(), u"SELECT ACIKLA, ISLETNO, TUTAR, ISLETIPI FROM PROSES"_s);
    log.exec();
    QVERIFY(log.next());
    QCOMPARE(log.text(0), u"Esk.Prk.Sat.Dzlt-ECZACI"_s);
    QCOMPARE(log.number(1), 1.0);
    QCOMPARE(log.number(2), 145000.0);
    QCOMPARE(log.text(3), u"Prk.Sat.Dzlt"_s);
    QCOMPARE(l.saleMode(), 0);
    QCOMPARE(l.captions().retail, u"Perakende Kayıt"_s);
    QVERIFY(!l.captions().oldLabelsShown);
}

void TstSatis::correctionPresetsTheOldPrice()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    l.perakendeKayit();  // sold on 09.12.2026 11:30
    Sql::run(f.t.db(), u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) VALUES (:n, '2026-06-01 10:00:00.000', 20000), "
                       u"(:n, '2026-12-20 10:00:00.000', 25000)"_s, {{u"n"_s, f.parol}});
    f.oldSale = 1;
    l.eskiSatislar();
    f.values.steps << FakeValues::Step{};
    l.positionByName(u"PAROL 500 MG 20 TABLET"_s);
    l.satisEkle();
    QVERIFY(f.values.requests.last().showOldPriceList);
    // The row before the nearest one at the sale's moment: the June price.
    QCOMPARE(f.lineSummary().last(), u"2 PAROL 500 MG 20 TABLET x1 @20000"_s);
}

void TstSatis::conversionsCleanUp_data()
{
    QTest::addColumn<QString>("kind");      // PARAKENDE of the old sale
    QTest::addColumn<QString>("command");   // F7 F8 F9
    QTest::addColumn<int>("code");          // CorrectionCode after recording
    QTest::addColumn<QString>("parakende"); // of the recorded rows
    QTest::addColumn<int>("receteRows");
    QTest::addColumn<int>("faturaRows");
    QTest::addColumn<int>("sskRows");
    QTest::addColumn<bool>("invoiceCopied");
    // The SSK line data goes with the old sale rows; the SSK header stays.
    QTest::newRow("12 prescription also invoiced") << u"R"_s << u"F9"_s << 12 << u"E"_s << 1 << 1 << 1 << true;
    QTest::newRow("13 prescription to retail") << u"R"_s << u"F7"_s << 13 << u"P"_s << 0 << 0 << 0 << false;
    QTest::newRow("21 invoice also prescription") << u"F"_s << u"F8"_s << 21 << u"E"_s << 1 << 1 << 0 << true;
    QTest::newRow("23 invoice to retail") << u"F"_s << u"F7"_s << 23 << u"P"_s << 0 << 0 << 0 << false;
    QTest::newRow("31 retail to prescription") << u"P"_s << u"F8"_s << 31 << u"R"_s << 1 << 0 << 0 << false;
    QTest::newRow("32 retail to invoice") << u"P"_s << u"F9"_s << 32 << u"F"_s << 0 << 1 << 0 << false;
    QTest::newRow("43 invoiced prescription to retail") << u"E"_s << u"F7"_s << 43 << u"P"_s << 0 << 0 << 0 << false;
}

void TstSatis::conversionsCleanUp()
{
    QFETCH(QString, kind);
    QFETCH(QString, command);
    QFETCH(int, code);
    QFETCH(QString, parakende);
    QFETCH(int, receteRows);
    QFETCH(int, faturaRows);
    QFETCH(int, sskRows);
    QFETCH(bool, invoiceCopied);
    Fixture f;
    SatisLogic& l = *f.logic;
    Database& db = f.t.db();
    // An old sale 7 of that kind with the records that belong to it.
    const QDateTime when(QDate(2026, 12, 1), QTime(10, 0));
    Sql::run(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                 u"VALUES (7, 1, :t, :p, 25000, 2, 8, 'N', :k)"_s, {{u"t"_s, when}, {u"p"_s, f.parol}, {u"k"_s, kind}});
    Sql::run(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, CIKMIK, CIKFIYAT, ALSATNO, SIRANO) VALUES (:p, :t, 2, 25000, 7, 1)"_s,
             {{u"t"_s, when}, {u"p"_s, f.parol}});
    Sql::run(db, u"UPDATE URUN SET MIKTAR = 48 WHERE ILACNO = :p"_s, {{u"p"_s, f.parol}});
    if (kind == u"R"_s || kind == u"E"_s) {
        Sql::run(db, u"INSERT INTO RECETE (RKDEFTERNO, SATISNO, NET) VALUES ('260000005', 7, 45000)"_s);
        Sql::run(db, u"INSERT INTO RECSSK (SATISNO, SICILNO) VALUES (7, '123')"_s);
        Sql::run(db, u"INSERT INTO RECSSK_A (SATISNO, SIRANOILAC, ILACNO, KUTUSAYISI) VALUES (7, 1, :p, 2)"_s, {{u"p"_s, f.parol}});
    }
    if (kind == u"F"_s || kind == u"E"_s)
        Sql::run(db, u"INSERT INTO FATURA (FATNO, FATURANO, SATISNO, FATARIH, NET) VALUES (3, 'A-123', 7, '2026-12-02', 50000)"_s);
    f.oldSale = 7;
    f.oldKind = kind == u"P"_s ? u'S' : (kind == u"F"_s ? u'F' : u'R');
    l.eskiSatislar();
    QCOMPARE(l.oldSaleNo(), 7.0);
    f.prompter.unansweredQuestion = Answer::Yes;
    if (command == u"F7"_s) l.perakendeKayit();
    else if (command == u"F8"_s) {
        l.receteKayit();
        // Prescription registration stored a header for the sale.
        if (receteRows && Sql::scalar(db, u"SELECT COUNT(*) FROM RECETE"_s).toInt() == 0) QFAIL("no prescription stored");
    } else
        l.faturaKayit();
    Q_UNUSED(code);
    QCOMPARE(Sql::scalar(db, u"SELECT DISTINCT PARAKENDE FROM SATIS WHERE SATISNO = 7"_s).toString(), parakende);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), faturaRows);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECSSK"_s) + f.count(u"SELECT COUNT(*) FROM RECSSK_A"_s), sskRows);
    if (receteRows == 0) QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE"_s), 0);
    if (invoiceCopied) {
        QCOMPARE(Sql::scalar(db, u"SELECT FATURANO FROM RECETE WHERE SATISNO = 7"_s).toString(), u"A-123"_s);
        QVERIFY(Sql::scalar(db, u"SELECT FATNO FROM RECETE WHERE SATISNO = 7"_s).toDouble() > 0);
    }
    // Every conversion keeps the number and the moment and leaves the stock as it was.
    QCOMPARE(f.stock(f.parol), 48);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK WHERE ALSATNO = 7"_s), 1);
    QCOMPARE(Sql::scalar(db, u"SELECT SATARIH FROM SATIS WHERE SATISNO = 7"_s).toString(), u"2026-12-01 10:00:00.000"_s);
    QCOMPARE(l.saleMode(), 0);
    QCOMPARE(l.correctionCode(), 0);
}

void TstSatis::prescriptionRoadAndBackPrint()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    l.setDateBox(u"05.12.2026"_s);
    // The prescription window is closed without storing: nothing is written.
    f.prescriptionAnswer = -1;
    l.receteKayit();
    QCOMPARE(f.prescriptionCalls.size(), 1);
    QCOMPARE(std::get<1>(f.prescriptionCalls[0]), 1);
    QCOMPARE(std::get<2>(f.prescriptionCalls[0]), u"05.12.2026"_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 0);
    QCOMPARE(l.lineCount(), 1);
    // Stored with the stamped back-print asked for.
    f.prescriptionAnswer = 0;
    f.session.PrintRequest.choice = 2;
    l.receteKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS WHERE PARAKENDE = 'R' AND SATISNO = 1"_s), 1);
    QCOMPARE(f.backPrints, (QList<int>{2, 1}));
    QCOMPARE(l.dateBox(), QString());
    // An earlier retail credit entry can be removed before the prescription's own.
    f.add(u"ASPİRİN 100 MG"_s);
    l.veresiyeKayit();
    f.prompter.answer(Answer::Yes);
    f.session.PrintRequest.choice = 0;
    l.receteKayit();
    QVERIFY(f.prompter.texts().contains(u"Bu İşlemden Önce Perakende Satış Veresiye Kaydı Yapmıştınız.Eğer Reçete Veresiye "
                                        u"Kaydını Reçetede Göstermek İstiyorsanız, Önceden  Yaptığınız Veresiye Kaydı Silinsin mi?"_s));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = 1"_s).toDouble(), 0.0);
}

void TstSatis::cancellingACorrection()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    l.perakendeKayit();
    f.oldSale = 1;
    l.eskiSatislar();
    l.veresiyeKayit();  // a credit entry for the corrected old sale
    QCOMPARE(creditCalls(f.companion).last(), u"3|09.12.2026 Prk.Satış|1|25000"_s);
    QVERIFY(l.correctionCreditNo() > 0);
    f.prompter.answer(Answer::Yes);  // go back to the correction
    l.eskiSatislar();
    QCOMPARE(f.prompter.shown.last().text,
             u"Vazgeçtiğiniz bu satışa, Veresiye kaydı yaptınız.Bu veresiye geçersizse düzeltmeniz,için Geriye Dönülsün mü?"_s);
    QCOMPARE(l.saleMode(), 3);
    f.prompter.answer(Answer::No);
    l.eskiSatislar();
    QCOMPARE(l.saleMode(), 0);
    QCOMPARE(l.lineCount(), 0);
    QCOMPARE(l.captions().oldSales, u"Eski Satışlar"_s);
    // Without the right the button does nothing.
    f.session.OldSalesAllowed = false;
    l.eskiSatislar();
    QCOMPARE(l.saleMode(), 0);
}

void TstSatis::saleListFile()
{
    Fixture f;
    f.add(u"PAROL 500 MG 20 TABLET"_s, {true, 2});
    f.add(u"ÇİNKO KREM 30 G"_s);
    f.logic->discountLeft(5000);
    f.logic->writeSaleList();
    QFile file(f.logic->satisTxtPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QCOMPARE(lines[0], u"  1 PAROL 500 MG 20 TABLET                2x         25.000"_s);
    QCOMPARE(lines[1], u"  2 ÇİNKO KREM 30 G                       1x         40.000"_s);
    QCOMPARE(lines[2], u" "_s);
    QCOMPARE(lines[3], u"                                Toplam :             90.000"_s);
    QCOMPARE(lines[4], u"                               İskonto :              5.000"_s);
    QCOMPARE(lines[5], u"                             Net Toplam:             85.000"_s);
    QCOMPARE(f.platform.calls, QStringList{u"open:"_s + f.logic->satisTxtPath()});
}

void TstSatis::productMaintenance()
{
    Fixture f;
    SatisLogic& l = *f.logic;
    f.add(u"PAROL 500 MG 20 TABLET"_s);
    l.perakendeKayit();
    l.positionByName(u"PAROL 500 MG 20 TABLET"_s);
    f.prompter.answer(Answer::Yes);
    l.deleteProduct();
    QCOMPARE(f.prompter.texts(), (QStringList{u"Silinsin mi?"_s, u"Ürünün Stok Bilgisi Mevut Silinemez!!!"_s}));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUN"_s), 4);
    l.positionByName(u"ŞURUP ÖKSÜRÜK"_s);
    f.prompter.answer(Answer::Yes);
    l.deleteProduct();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUN"_s), 3);
    // Product cards through the companion library; a saved name is found again.
    l.positionByName(u"ASPİRİN 100 MG"_s);
    f.companion.answer(u"UEditInsert"_s, u"ASPİRİN 100 MG"_s);
    l.productCard(0);
    QCOMPARE(f.companion.count(u"UEditInsert"_s), 1);
    QCOMPARE(f.companion.last(u"UEditInsert"_s)->args, (QVariantList{u"ASPİRİN 100 MG"_s, 0}));
    QCOMPARE(l.currentProductName(), u"ASPİRİN 100 MG"_s);
    f.session.ProductCardRight = u"H"_s;
    l.productCard(1);
    QCOMPARE(f.companion.count(u"UEditInsert"_s), 1);
}

QTEST_GUILESS_MAIN(TstSatis)
#include "tst_satis.moc"
