// SSK prescriptions: the counter's working list and recording, the registration's shares,
// cards and one-transaction store, the back sheet, the dosage forms and the values
// dialog's SSK rules.
#include "core/format.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "prescriptions/recete_ssk_logic.h"
#include "prescriptions/satis_ssk_logic.h"
#include "prescriptions/ssk_codes.h"
#include "print/print_service.h"
#include "print/report.h"
#include "sales/mik_logic.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The values dialog of logic tests: each show takes the next scripted step.
class FakeValues final : public ProductValuesDialog {
public:
    struct Step {
        int quantity = 1;
        std::optional<double> price = {};
        QString type = {};
        QString dailyUse = u"1"_s;
        QString dose = u"  1"_s;
        QString scanned = {};
        bool ok = true;
    };
    ProductValuesResult showModal(const ProductValuesRequest& r) override
    {
        requests << r;
        const Step s = steps.isEmpty() ? Step{} : steps.takeFirst();
        Sql::run(*db, u"UPDATE FITMP SET SATISMIK = :q"_s, {{u"q"_s, s.quantity}});
        if (s.price) Sql::run(*db, u"UPDATE FITMP SET FIYAT = :f"_s, {{u"f"_s, *s.price}});
        if (!s.type.isEmpty()) Sql::run(*db, u"UPDATE FITMP SET RECKOD = :r"_s, {{u"r"_s, s.type}});
        ProductValuesResult res;
        res.ok = s.ok;
        res.dailyUse = s.dailyUse;
        res.dose = s.dose;
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
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(11, 30, 0))};
    FakeCompanion companion;
    FakeValues values;
    Session session{t.db(), prompter, clock};
    qint64 krem = 0, beraber = 0, serum = 0;
    // What the registration does when the counter opens it; none: it is left unstored.
    std::function<void(ReceteSskLogic&)> registration;
    QList<std::tuple<int, QString, double>> registrations;
    std::unique_ptr<SatisSskLogic> sale;

    explicit Fixture(const QString& fromGross = u"0"_s)
    {
        session.companion = &companion;
        session.OldSalesAllowed = true;
        session.ProductCardRight = u"E"_s;
        session.UserName = u"ECZACI"_s;
        values.db = &t.db();
        Sql::run(t.db(), u"UPDATE EKIM SET EADI = 'PAPATYA ECZANESİ', MESULAD = 'Ecz. Nergis', ADR1 = 'Çiçek Sok. 7', "
                         u"ADR2 = 'Bahçelievler', ADR3 = 'ANKARA'"_s);
        if (Sql::scalar(t.db(), u"SELECT COUNT(*) FROM EKIM"_s).toInt() == 0)
            Sql::run(t.db(), u"INSERT INTO EKIM (EADI, MESULAD, ADR1, ADR2, ADR3) VALUES ('PAPATYA ECZANESİ', 'Ecz. Nergis', "
                             u"'Çiçek Sok. 7', 'Bahçelievler', 'ANKARA')"_s);
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"SSK"_s}, {u"AD"_s, u"SOSYAL SİGORTALAR KURUMU"_s}, {u"HSP_ISKON"_s, fromGross},
                      {u"ILACLARDAKURUM"_s, 10.0}, {u"ILACBERABERKURUM"_s, 10.0}, {u"OZELKATILIMKURUM"_s, 20.0},
                      {u"ILACLARDAEMEKLI"_s, 10.0}, {u"ILACBERABEREMEKLI"_s, 20.0}, {u"OZELKATILIMEMEKLI"_s, 30.0},
                      {u"ETIKET1"_s, u"Sicil No"_s}, {u"ETIKET2"_s, u"Ünite No"_s}, {u"ETIKET3"_s, u"İşyeri No"_s}});
        krem = addProduct(t.db(), u"DERMO KREM 30 G"_s, 25000, 20, u"8699123340015"_s, u"N"_s, 8);
        beraber = addProduct(t.db(), u"ENJEKTÖR 5 ML"_s, 10000, 30, u"8699123010012"_s, u"I"_s, 18);
        serum = addProduct(t.db(), u"SERUM FİZYOLOJİK 500 ML"_s, 50000, 12, u"SF500A"_s, u"O"_s, 8);
        SskSaleLinks links;
        links.receteSskAc = [this](int mode, const QString& date, double saleNo, const LinesRecorder& record) {
            registrations << std::tuple{mode, date, saleNo};
            if (!registration) return 0.0;
            ReceteSskLogic r(session);
            r.open(mode, date, saleNo);
            r.setLinesRecorder(record);
            registration(r);
            return r.stored() ? r.result() : 0.0;
        };
        sale = std::make_unique<SatisSskLogic>(session, &values, links);
        sale->Giris();
    }

    // Adds a product through the list and the values dialog.
    void add(qint64 product, FakeValues::Step step = {})
    {
        values.steps << step;
        sale->picker().products().gotoRowId(product);
        sale->satEkle();
    }
    // The three lines of the worked example: N 2 × 25.000, I 1 × 10.000, O 1 × 50.000.
    void example()
    {
        add(krem, {.quantity = 2});
        add(beraber);
        add(serum);
    }
    static void fill(ReceteSskLogic& r, const QString& cls = u"E"_s)
    {
        r.setInstitutionBox(u"SSK"_s);
        r.setPatientName(u"Fatma"_s);
        r.setPatientSurname(u"Kaya"_s);
        r.setInsuredName(u"Hasan"_s);
        r.setInsuredSurname(u"Kaya"_s);
        r.setStatusItem(u"2-Emekli Sigortalı"_s);
        r.setRelationshipItem(u"2-Kadın Eş"_s);
        r.setSskField(u"SICILNO"_s, u"123-456 789"_s);
        r.setClassLetter(cls);
        r.computeShares();
    }
    int count(const QString& sql) { return Sql::scalar(t.db(), sql).toInt(); }
    int stock(qint64 product)
    {
        return Sql::scalar(t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, product}}).toInt();
    }
};

}  // namespace

class TstSsk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dosageForms();
    void sharesOfTheWorkedExample();
    void sharesFromTheGross();
    void backSheetLines();
    void storeWritesEverythingTogether();
    void codesKeepTheirDigits();
    void invoicedNotice();
    void insuredCardMadeOnce();
    void cancelAndFailuresWriteNothing();
    void heldCounterRetries();
    void workingList();
    void correctionKeepsNumberTimeAndStock();
    void correctionFindsTheInsuredsOwnCard();
    void registrationLeftKeepsTheList();
    void emptyBarcodeAddsNothing();
    void valuesDialogSskRules();
    void dataMatrixBoxesOfAPrescription();
    void demoPrescriptions();
};

// The SSK counter takes the box's DataMatrix too: its product, its serial kept with the
// prescription's line, the same box refused.
void TstSsk::dataMatrixBoxesOfAPrescription()
{
    Fixture f;
    const qint64 boxed = addProduct(f.t.db(), u"KAREKODLU TABLET 20"_s, 25000, 10, u"8699123010014"_s);
    f.sale->picker().reopen();
    auto scan = [&](const QString& serial) {
        f.sale->scannerMark();
        for (const QChar c : u"]d201086991230100141728123110LOT5<GS>21"_s + serial) f.sale->picker().typeSearchChar(c);
        f.sale->scannerMark();
    };
    f.values.steps << FakeValues::Step{};
    scan(u"RX0001"_s);
    QCOMPARE(f.sale->lineCount(), 1);
    QCOMPARE(f.sale->lines()[0].productNo, boxed);
    scan(u"RX0001"_s);
    QCOMPARE(f.prompter.texts().last(), u"Bu kutu zaten satış listesinde (Seri No: RX0001)."_s);
    QCOMPARE(f.sale->lineCount(), 1);
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.store();
    };
    f.prompter.answers({Answer::Yes});
    f.sale->sskReceteKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKOD WHERE SERINO = 'RX0001' AND YON = 'S' AND BELGENO = 1 AND SIRANO = 1"_s), 1);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM KAREKODTMP"_s), 0);
    f.prompter.clear();
    scan(u"RX0001"_s);
    QVERIFY(f.prompter.texts().last().startsWith(u"Bu kutu daha önce satıldı: Satış No 1, "_s));
}

void TstSsk::dosageForms()
{
    QCOMPARE(dosageForm(u"8699123340015"_s), u"KREM"_s);
    QCOMPARE(dosageForm(u"8699123010012"_s), u"TABLET"_s);
    QCOMPARE(dosageForm(u"8699123550012"_s), u"KAPSÜL"_s);
    QCOMPARE(dosageForm(u"8699123220012"_s), QString());
    QCOMPARE(dosageForm(u"86991233400"_s), QString());  // 11 digits
    QCOMPARE(dosageForm(u"8699123A40015"_s), QString());
    QCOMPARE(dosageForm(u"8699123950015"_s), u"AŞI"_s);
    QCOMPARE(printedProductCode(u"SF500A"_s, u"SERUM FİZYOLOJİK 500 ML"_s), u"SERUM FİZYOLO"_s);
    QCOMPARE(sskItemOf(sskStatusItems(), u"7"_s), u"7--Muaf (Kurum Mem.)"_s);
    QCOMPARE(sskItemOf(sskRelationshipItems(), u"0"_s), u"0-Kendisi / Sigortalı "_s);
    QCOMPARE(sskItemOf(sskCountryItems(), u"09"_s, 2), u"09-Kıbrıs"_s);
}

void TstSsk::sharesOfTheWorkedExample()
{
    Fixture f;
    f.example();
    ReceteSskLogic r(f.session);
    r.open(1, QString(), 0);
    QCOMPARE(r.classLetter(), u"N"_s);  // "Normal" at the start
    Fixture::fill(r);
    QCOMPARE(r.number(u"BRUTN"_s), 50000.0);
    QCOMPARE(r.number(u"BRUTI"_s), 10000.0);
    QCOMPARE(r.number(u"BRUTO"_s), 50000.0);
    QCOMPARE(r.shares().discount(), 16000.0);
    QCOMPARE(r.number(u"HASTAKATPAY"_s), 18300.0);
    QCOMPARE(r.number(u"NET"_s), 75700.0);
    // The special line's part before the share: 50.000 less its own 20 %.
    QCOMPARE(r.shares().buckets[size_t(Bucket::Special)].subtotal, 40000.0);
    r.computeVat();
    QCOMPARE(qRound(r.number(u"KDVB"_s) * 100), 507407);
    QCOMPARE(qRound(r.number(u"KDVC"_s) * 100), 109831);
    QCOMPARE(r.headingLabel(0), u"Sicil No"_s);
    QCOMPARE(r.headingLabel(2), u"İşyeri No"_s);
    const QList<SskPrescriptionLine> lines = r.lines();
    QCOMPARE(lines[1].i, 10000.0);  // the with-medicine line in its own column
    QCOMPARE(lines[2].o, 50000.0);
    QCOMPARE(lines[0].form, u"KREM"_s);
}

void TstSsk::sharesFromTheGross()
{
    Fixture f(u"1"_s);
    f.example();
    ReceteSskLogic r(f.session);
    r.open(1, QString(), 0);
    Fixture::fill(r);
    QCOMPARE(r.number(u"HASTAKATPAY"_s), 22000.0);
    QCOMPARE(r.number(u"NET"_s), 72000.0);
    // Without an institution the gross is the net and nobody pays a share.
    r.setInstitutionBox(QString());
    r.computeShares();
    QCOMPARE(r.number(u"NET"_s), 110000.0);
    QCOMPARE(r.number(u"HASTAKATPAY"_s), 0.0);
    QCOMPARE(r.lines()[0].n, 0.0);
}

void TstSsk::backSheetLines()
{
    Fixture f;
    f.example();
    ReceteSskLogic r(f.session);
    r.open(1, u"05.12.2026"_s, 0);
    Fixture::fill(r);
    const QStringList lines = r.backPrintLines();
    QVERIFY(lines.contains(u"   1 8699123340015 KREM           2      50.000     50.000          0          0"_s));
    QVERIFY(lines.contains(u"   3 SERUM FİZYOLO                1      50.000          0          0     50.000"_s));
    QVERIFY(lines.contains(u"PAPATYA ECZANESİ                       Genel Toplam       :     110.000 TL"_s));
    QVERIFY(lines.contains(u"Yakınlık Durumu    : 2-Kadın Eş"_s));
    QVERIFY(lines.contains(u"Reçete Tarihi     :   05.12.2026"_s));
    QVERIFY(lines.contains(u"Tahsis No/Sicil No:    / 123-456 789"_s));
    QVERIFY(lines[0].startsWith(u"SIRA  İLAÇ KODU    FORMU    MİKTARI   TUTARI   ( %10,00)"_s));
    // Drawn on a page: the same lines, the first underlined.
    RecordingPrintService printing;
    auto canvas = printing.beginJob(u"SSK Reçete Arkası"_s, PageSetup(), false);
    r.drawBackPrint(*canvas, 0);
    canvas->endDocument();
    const QStringList printed = printing.lastJob().document.allLines();
    QVERIFY(printed.contains(u"   1 8699123340015 KREM           2      50.000     50.000          0          0"_s));
    QVERIFY(printing.lastJob().document.pages[0].texts()[0].font.underline);
    // The preview's report has the same amounts in its bucket columns.
    auto rep = r.previewReport();
    QCOMPARE(rep->source->rows({}).size(), size_t(3));
    QCOMPARE(rep->source->rows({})[2].number(u"Oilac"_s), 50000.0);
}

void TstSsk::storeWritesEverythingTogether()
{
    Fixture f;
    f.example();
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.setSskField(u"GUNKULACIK"_s, u"günde 3 kez"_s);
        r.setIllness(true);
        r.store();
    };
    f.prompter.answers({Answer::Yes});  // into the book
    f.sale->setDateBox(u"05.12.2026"_s);
    f.sale->sskReceteKayit();
    QCOMPARE(f.prompter.texts(), QStringList{u"Reçete Kayıt Defterine Kaydedilsin mi?"_s});
    QCOMPARE(std::get<0>(f.registrations[0]), 1);
    QCOMPARE(std::get<1>(f.registrations[0]), u"05.12.2026"_s);
    Sql r(f.t.db(), u"SELECT RKDEFTERNO, SATISNO, HASTATIP, NET, HASTAKATPAY, RECTARIH, HASTANO FROM RECETE"_s);
    r.exec();
    QVERIFY(r.next());
    QCOMPARE(r.text(0), u"260000001"_s);
    QCOMPARE(r.number(1), 1.0);
    QCOMPARE(r.text(2), u"E"_s);
    QCOMPARE(r.number(3), 75700.0);
    QCOMPARE(r.number(4), 18300.0);
    QCOMPARE(r.date(5), QDate(2026, 12, 5));
    Sql s(f.t.db(), u"SELECT SICILNO, DURUM_KOD, YAKINLIK_KOD, HASTALIK, RS_AD, RS_SOYAD FROM RECSSK WHERE SATISNO = 1"_s);
    s.exec();
    QVERIFY(s.next());
    QCOMPARE(s.text(0), u"123456789"_s);
    QCOMPARE(s.text(1), u"2"_s);
    QCOMPARE(s.text(2), u"2"_s);
    QCOMPARE(s.text(3), u"1"_s);
    QCOMPARE(s.text(4), u"Hasan"_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS WHERE SATISNO = 1 AND PARAKENDE = 'R'"_s), 3);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECSSK_A WHERE SATISNO = 1"_s), 3);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BIRKUL_ALMIK FROM RECSSK_A WHERE SIRANOILAC = 1"_s).toString(), u"1"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT KUTUSAYISI FROM RECSSK_A WHERE SIRANOILAC = 1"_s).toInt(), 2);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK WHERE ALSATNO = 1"_s), 3);
    QCOMPARE(f.stock(f.krem), 18);
    QCOMPARE(f.sale->lineCount(), 0);
    QCOMPARE(f.sale->dateBox(), QString());
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 2);
    // Two cards: the patient and her insured husband.
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HASTA"_s), 2);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SICILNO FROM HASTA WHERE HASTADI = 'Hasan'"_s).toString(), u"123456789"_s);
}

void TstSsk::codesKeepTheirDigits()
{
    Fixture f;
    f.add(f.krem);
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.setField(u"SERINO"_s, u"A-1234"_s);
        r.setSskField(u"ISYERNO"_s, u"12 34"_s);
        r.setSskField(u"DRUNITNO"_s, u"U-77"_s);
        r.store();
    };
    f.prompter.answers({Answer::No});
    f.sale->sskReceteKayit();
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SERINO FROM RECETE"_s).toString(), u"1234"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ISYERNO FROM RECSSK"_s).toString(), u"1234"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT DRUNITNO FROM RECSSK"_s).toString(), u"77"_s);
    // Not into the book: the provisional number stays.
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RKDEFTERNO FROM RECETE"_s).toString(), u"XX0000001"_s);
}

void TstSsk::invoicedNotice()
{
    Fixture f;
    Sql::run(f.t.db(), u"INSERT INTO RECETE (RKDEFTERNO, SATISNO, FATURANO, FATARIH, KURUMKOD) "
                       u"VALUES ('260000004', 7, 'A-55', '2026-11-30', 'SSK')"_s);
    ReceteSskLogic r(f.session);
    r.open(0, QString(), 7);
    QCOMPARE(r.invoiceNotice(), u"Bu Reçete30.11.2026TarihliA-55Nolu Faturaya dahildir"_s);
    QCOMPARE(r.institutionBox(), u"SSK"_s);
    // A sale without a prescription row: registered under its own number, no other row touched.
    f.add(f.krem);
    ReceteSskLogic missing(f.session);
    missing.open(0, QString(), 9);
    Fixture::fill(missing);
    f.prompter.answers({Answer::No});
    QCOMPARE(missing.store(), ReceteSskLogic::StoreResult::Stored);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE WHERE SATISNO = 9 AND RKDEFTERNO LIKE 'XX%'"_s), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RKDEFTERNO FROM RECETE WHERE SATISNO = 7"_s).toString(), u"260000004"_s);
}

void TstSsk::insuredCardMadeOnce()
{
    {
        // The patient is his own insured: one card with both.
        Fixture f;
        f.add(f.krem);
        f.registration = [](ReceteSskLogic& r) {
            Fixture::fill(r);
            r.setPatientName(u"Hasan"_s);
            r.setRelationshipItem(u"0-Kendisi / Sigortalı "_s);
            r.store();
        };
        f.prompter.answers({Answer::No});
        f.sale->sskReceteKayit();
        QCOMPARE(f.count(u"SELECT COUNT(*) FROM HASTA"_s), 1);
        QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SICILNO FROM HASTA"_s).toString(), u"123456789"_s);
        QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YAKINLIK_KOD FROM RECSSK"_s).toString(), u"0"_s);
    }
    {
        // A family sharing a registration number: the insured's card is found by it.
        Fixture f;
        Sql::run(f.t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD, SICILNO, KM_UNITNO) VALUES ('Hasan', 'Kaya', '555', '12')"_s);
        f.add(f.krem);
        f.registration = [](ReceteSskLogic& r) {
            Fixture::fill(r);
            r.setSskField(u"SICILNO"_s, QString());
            r.insuredNameLeft();
            QCOMPARE(r.insuredState(), ReceteSskLogic::CardState::KnownByName);
            QCOMPARE(r.sskText(u"SICILNO"_s), u"555"_s);
            QCOMPARE(r.sskText(u"MEMUNITNO"_s), u"12"_s);
            r.store();
        };
        f.prompter.answers({Answer::No, Answer::No});  // the card's institution differs; not into the book
        f.sale->sskReceteKayit();
        QCOMPARE(f.count(u"SELECT COUNT(*) FROM HASTA WHERE HASTADI = 'Hasan'"_s), 1);
        QCOMPARE(f.count(u"SELECT COUNT(*) FROM HASTA"_s), 2);
    }
}

void TstSsk::cancelAndFailuresWriteNothing()
{
    Fixture f;
    Sql::run(f.t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD, KURUM, SINIF) VALUES ('Fatma', 'Kaya', 'ES', 'Ç')"_s);
    f.example();
    f.sale->setDateBox(u"05.12.2026"_s);
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.patientNameLeft();
        r.setInstitutionBox(u"SSK"_s);
        r.setClassLetter(u"E"_s);
        QCOMPARE(r.store(), ReceteSskLogic::StoreResult::Stopped);
    };
    // The card differs: Cancel stops the store before anything is written.
    f.prompter.answers({Answer::Cancel});
    f.sale->sskReceteKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HASTA"_s), 1);
    QCOMPARE(f.sale->lineCount(), 3);
    // Missing status: refused with the message.
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.setSskField(u"DURUM_KOD"_s, QString());
        QCOMPARE(r.store(), ReceteSskLogic::StoreResult::Stopped);
    };
    f.prompter.clear();
    f.sale->sskReceteKayit();
    QCOMPARE(f.prompter.texts(), QStringList{u"Hasta Bilgileri verilmeden Kayıt Yapılamaz."_s});
    // A failure after the prescription's row was posted: nothing stays, counters included.
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.setAfterPostHook([] { throw DbError(u"disk dolu"_s); });
        QVERIFY_THROWS_EXCEPTION(DbError, r.store());
    };
    f.prompter.clear();
    f.prompter.answers({Answer::No, Answer::Yes});
    f.sale->sskReceteKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECSSK"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HASTA"_s), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RECETEKAYITNO FROM RKAYIT"_s).toString(), u"XX0000001"_s);
    QCOMPARE(f.stock(f.krem), 20);
    QCOMPARE(f.sale->lineCount(), 3);
    QCOMPARE(f.sale->dateBox(), u"05.12.2026"_s);
}

void TstSsk::heldCounterRetries()
{
    Fixture f;
    f.add(f.krem);
    int tries = 0;
    f.registration = [&](ReceteSskLogic& r) {
        Fixture::fill(r);
        // The first attempt finds the counter held by another workstation.
        r.setAfterPostHook([&] {
            if (++tries == 1) throw LockHeld(u"NEWSATIS"_s);
        });
        r.store();
    };
    f.prompter.answers({Answer::No});
    f.sale->sskReceteKayit();
    QCOMPARE(tries, 2);
    QVERIFY(f.prompter.texts().contains(CounterBusyMessage));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE"_s), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 2);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 1);
}

void TstSsk::workingList()
{
    Fixture f;
    // The same product at the same price is one line; at another price a second one.
    f.add(f.krem, {.quantity = 2, .dailyUse = u"3"_s});
    f.add(f.krem, {.quantity = 1, .dailyUse = u"2"_s, .dose = u"  2"_s});
    f.add(f.krem, {.quantity = 1, .price = 26000.0});
    QList<SskLine> lines = f.sale->lines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].quantity, 3);
    QCOMPARE(lines[0].dailyUse, u"2"_s);  // taken from the dialog again
    QCOMPARE(f.sale->total(), 3 * 25000.0 + 26000.0);
    // Two products of one name are told apart by their numbers.
    const qint64 twin = addProduct(f.t.db(), u"DERMO KREM 30 G"_s, 30000, 5, u"8699123340022"_s, u"N"_s, 8);
    f.add(twin);
    f.add(f.beraber);
    QCOMPARE(f.sale->lineCount(), 4);
    QCOMPARE(f.sale->lines()[2].productNo, twin);
    // Line 2 of 4 removed: 1, 2, 3 again.
    f.sale->removeLine(2);
    lines = f.sale->lines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1].no, 2);
    QCOMPARE(lines[1].productNo, twin);
    QCOMPARE(lines[2].no, 3);
    // Quantity 0 posted: refused with the message and the line goes.
    f.prompter.clear();
    SskLine zero = lines[2];
    zero.quantity = 0;
    f.sale->postLine(zero);
    QCOMPARE(f.prompter.texts(), QStringList{u"1 den küçük miktarlı satış yapılamaz"_s});
    QCOMPARE(f.sale->lineCount(), 2);
    // An equivalent given in place of the list's product.
    f.sale->picker().products().gotoRowId(f.serum);
    f.sale->markEquivalent(1);
    f.sale->setEquivalenceCode(1, u"12a"_s);
    QCOMPARE(f.sale->lines()[0].prescribedName, u"SERUM FİZYOLOJİK 500 ML"_s);
    f.sale->clearEquivalent(1);
    QCOMPARE(f.sale->lines()[0].prescribedNo, 0);
    QCOMPARE(f.sale->lines()[0].equivalence, QString());
    // Esc: asked, and the list goes on Yes.
    f.prompter.answers({Answer::Yes});
    f.sale->satisListesiIptali();
    QCOMPARE(f.sale->lineCount(), 0);
    QCOMPARE(f.sale->total(), 0.0);
    // The SSK texts of the list.
    QCOMPARE(f.sale->picker().searchModeLabel(), u"Liste Şu An KLAVYDEN ARAMAYA AYARLI"_s);
}

void TstSsk::correctionKeepsNumberTimeAndStock()
{
    Fixture f;
    f.add(f.krem, {.quantity = 2, .dailyUse = u"3"_s, .dose = u"  1"_s});
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.store();
    };
    f.prompter.answers({Answer::Yes});
    f.sale->sskReceteKayit();
    QCOMPARE(f.stock(f.krem), 18);
    const QDateTime first = Sql::scalar(f.t.db(), u"SELECT SATARIH FROM SATIS"_s).toDateTime();
    // The next day the sale is loaded, its quantity changed, and recorded again.
    f.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    f.companion.answer(u"BrReceteCreate"_s, 1.0);
    f.sale->eskiReceteler();
    QVERIFY(f.sale->correcting());
    QCOMPARE(f.sale->captions().record, u"Eski Reçete Kayıt"_s);
    QCOMPARE(f.sale->captions().oldPrescriptions, u"Esk.Rçt.Dzlt.Vazgeç"_s);
    QCOMPARE(f.sale->captions().oldNumberLabel, u"1 Nolu ESKİ"_s);
    SskLine l = f.sale->lines()[0];
    QCOMPARE(l.dailyUse, u"3"_s);
    QCOMPARE(l.quantity, 2);
    l.quantity = 3;
    f.sale->postLine(l);
    f.prompter.clear();
    f.sale->sskReceteKayit();
    QCOMPARE(std::get<0>(f.registrations.last()), 0);
    QCOMPARE(std::get<2>(f.registrations.last()), 1.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE"_s), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT MIKTAR FROM SATIS WHERE SATISNO = 1"_s).toInt(), 3);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SATARIH FROM SATIS"_s).toDateTime(), first);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK WHERE ALSATNO = 1"_s), 1);
    QCOMPARE(f.stock(f.krem), 17);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT KUTUSAYISI FROM RECSSK_A"_s).toInt(), 3);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Reç. Düzeltme'"_s), 1);
    QVERIFY(!f.sale->correcting());
    // An invoiced prescription corrected stays invoiced.
    Sql::run(f.t.db(), u"UPDATE SATIS SET PARAKENDE = 'E'"_s);
    f.companion.answer(u"BrReceteCreate"_s, 1.0);
    f.sale->eskiReceteler();
    f.sale->sskReceteKayit();
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT PARAKENDE FROM SATIS"_s).toString(), u"E"_s);
    // Abandoning a correction empties the list.
    f.companion.answer(u"BrReceteCreate"_s, 1.0);
    f.sale->eskiReceteler();
    QCOMPARE(f.sale->lineCount(), 1);
    f.sale->eskiReceteler();
    QVERIFY(!f.sale->correcting());
    QCOMPARE(f.sale->lineCount(), 0);
}

void TstSsk::correctionFindsTheInsuredsOwnCard()
{
    // A family member's card holds the same number and the lower card number: the
    // correction still finds the insured's own card, asks nothing and renames nobody.
    Fixture f;
    Sql::run(f.t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD, SICILNO, KURUM, SINIF) VALUES ('Ayşe', 'Kaya', '123456789', 'SSK', 'E')"_s);
    f.add(f.krem);
    f.registration = [](ReceteSskLogic& r) {
        Fixture::fill(r);
        r.store();
    };
    f.prompter.answers({Answer::Yes});
    f.sale->sskReceteKayit();
    const qint64 hasan = Sql::scalar(f.t.db(), u"SELECT HASTANO FROM HASTA WHERE HASTADI = 'Hasan'"_s).toLongLong();
    QVERIFY(hasan > 1);
    qint64 insured = 0;
    f.registration = [&](ReceteSskLogic& r) {
        insured = r.insuredNo();
        r.store();
    };
    f.companion.answer(u"BrReceteCreate"_s, 1.0);
    f.sale->eskiReceteler();
    f.prompter.clear();
    f.sale->sskReceteKayit();
    QCOMPARE(insured, hasan);
    QVERIFY(!f.prompter.texts().join(u'|').contains(u"Sigortalı Kart"_s));
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT HASTADI FROM HASTA WHERE HASTANO = 1"_s).toString(), u"Ayşe"_s);
}

void TstSsk::registrationLeftKeepsTheList()
{
    Fixture f;
    f.add(f.krem);
    f.sale->setDateBox(u"05.12.2026"_s);
    f.sale->sskReceteKayit();  // no registration: left without storing
    QCOMPARE(f.registrations.size(), 1);
    QCOMPARE(f.sale->lineCount(), 1);
    QCOMPARE(f.sale->dateBox(), u"05.12.2026"_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 0);
    // Closing the window keeps a new prescription's list.
    f.sale->closing();
    f.sale->Giris();
    QCOMPARE(f.sale->lineCount(), 1);
    QCOMPARE(f.sale->total(), 25000.0);
}

void TstSsk::emptyBarcodeAddsNothing()
{
    Fixture f;
    addProduct(f.t.db(), u"AAA KODSUZ"_s, 1000, 5);
    f.sale->picker().toggleSearchMode();
    f.sale->enterInProductList();
    QCOMPARE(f.sale->lineCount(), 0);
    // A typed code adds its product; an unknown code beeps.
    for (QChar c : u"8699123010012"_s) f.sale->picker().typeSearchChar(c);
    f.sale->enterInProductList();
    QCOMPARE(f.sale->lineCount(), 1);
    QCOMPARE(f.sale->lines()[0].productNo, f.beraber);
    const int beeps = f.prompter.beeps;
    for (QChar c : u"111"_s) f.sale->picker().typeSearchChar(c);
    f.sale->enterInProductList();
    QCOMPARE(f.sale->lineCount(), 1);
    QCOMPARE(f.prompter.beeps, beeps + 1);
}

void TstSsk::valuesDialogSskRules()
{
    Fixture f;
    MikLogic m(f.session, MikRules{true});
    WorkRowValues w{f.krem, 25000, QDate(2026, 11, 1), 20, 1, u"N"_s, {}};
    writeWorkRow(f.t.db(), w);
    ProductValuesRequest req;
    req.productName = u"DERMO KREM 30 G"_s;
    req.barcode = u"8699-123340015"_s;
    m.show(req);
    QCOMPARE(m.priceLabel(), u"&Fiyatı"_s);
    QCOMPARE(m.productBarcode(), u"8699123340015"_s);
    QCOMPARE(m.dailyUse(), u"1"_s);
    QCOMPARE(m.dose(), u"  1"_s);
    // An empty box is one box.
    m.setQuantityText(QString());
    QCOMPARE(m.quantity(), 1);
    // Above 25 a beep.
    const int beeps = f.prompter.beeps;
    m.setQuantityText(u"26"_s);
    QCOMPARE(f.prompter.beeps, beeps + 1);
    // Its own code scanned twice: two boxes more.
    m.setQuantityText(u"1"_s);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(m.scannerMark(true), MikLogic::ScanStep::CaptureOn);
        for (QChar c : u"8699123340015"_s) m.captureChar(QString(c));
        QCOMPARE(m.scannerMark(true), MikLogic::ScanStep::SameProduct);
    }
    QCOMPARE(m.quantity(), 3);
    // Another code closes with OK and goes on to the next line.
    QCOMPARE(m.scannerMark(true), MikLogic::ScanStep::CaptureOn);
    for (QChar c : u"8699123010012"_s) m.captureChar(QString(c));
    QCOMPARE(m.scannerMark(true), MikLogic::ScanStep::Accept);
    m.setDailyUse(u"3"_s);
    m.setDose(u"  2"_s);
    m.ok();
    QCOMPARE(m.result().scanBuffer, u"8699123010012"_s);
    QCOMPARE(m.result().dailyUse, u"3"_s);
    QCOMPARE(m.result().dose, u"  2"_s);

    // The old-price date: the last history price on or before the prescription's day.
    for (const auto& [when, price] : {std::pair{QDateTime(QDate(2026, 9, 1), QTime(10, 0)), 20000.0},
                                      std::pair{QDateTime(QDate(2026, 10, 1), QTime(10, 0)), 22000.0}})
        Sql::run(f.t.db(), u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) VALUES (:n, :t, :f)"_s,
                 {{u"n"_s, f.krem}, {u"t"_s, when}, {u"f"_s, price}});
    writeWorkRow(f.t.db(), w);
    req.prescriptionDate = QDate(2026, 9, 15);
    m.show(req);
    QCOMPARE(m.price(), 20000.0);
    QCOMPARE(m.priceDate(), QDate(2026, 9, 1));
    // An edited history entry: the card takes the latest entry's price and date.
    QVERIFY(m.openOldPriceList());
    // An entry without a date (an imported one) is never the latest.
    Sql::run(f.t.db(), u"INSERT INTO URFAYAR (ILACNO, FIYAT) VALUES (:n, 99999)"_s, {{u"n"_s, f.krem}});
    double typed = 0;
    QVERIFY(parseNumber(u"12.345,5"_s, &typed));
    m.postHistoryRow(0, QDate(2026, 9, 2), typed);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT FIYAT FROM URFAYAR WHERE FIYAT < 13000"_s).toDouble(), 12345.5);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, f.krem}}).toDouble(), 22000.0);
    m.cancel();
}

// The demo's SSK month, entered through the counter's and the registration's code.
void TstSsk::demoPrescriptions()
{
    TestDb t(true);
    Database& db = t.db();
    auto count = [&](const QString& sql) { return Sql::scalar(db, sql).toInt(); };
    QCOMPARE(count(u"SELECT COUNT(*) FROM RECETE r JOIN RECSSK s ON s.SATISNO = r.SATISNO WHERE r.KURUMKOD = 'SSK' "
                   u"AND r.RKDEFTERNO LIKE '26%' AND r.FATURANO IS NULL AND r.ALTARIH >= '2026-11-01' AND r.ALTARIH < '2026-12-01'"_s),
             25);
    QCOMPARE(count(u"SELECT COUNT(DISTINCT DURUM_KOD) FROM RECSSK"_s), 8);
    QCOMPARE(count(u"SELECT COUNT(DISTINCT YAKINLIK_KOD) FROM RECSSK"_s), 7);
    QVERIFY(count(u"SELECT COUNT(*) FROM RECSSK WHERE HASTALIK = '1'"_s) > 0);
    QVERIFY(count(u"SELECT COUNT(*) FROM RECSSK_A WHERE ESDEGERGK = '001' AND REC_ILAC IS NOT NULL"_s) > 0);
    // Families: several prescriptions under one registration number, each patient a card.
    QVERIFY(count(u"SELECT MAX(c) FROM (SELECT COUNT(DISTINCT r.HASTANO) AS c FROM RECSSK s JOIN RECETE r ON r.SATISNO = s.SATISNO "
                  u"GROUP BY s.SICILNO) x"_s) >= 3);
    // Every line: a sale row, its SSK line row and its movement.
    QCOMPARE(count(u"SELECT COUNT(*) FROM SATIS s JOIN RECSSK x ON x.SATISNO = s.SATISNO"_s),
             count(u"SELECT COUNT(*) FROM RECSSK_A"_s));
    QCOMPARE(count(u"SELECT COUNT(*) FROM RECSSK_A a WHERE NOT EXISTS (SELECT 1 FROM URUNHRK h WHERE h.ALSATNO = a.SATISNO "
                   u"AND h.ILACNO = a.ILACNO)"_s),
             0);
    QCOMPARE(count(u"SELECT YENISATISNO FROM NEWSATIS"_s), count(u"SELECT MAX(SATISNO) + 1 FROM SATIS"_s));
    QCOMPARE(count(u"SELECT COUNT(DISTINCT RKDEFTERNO) FROM RECETE"_s), count(u"SELECT COUNT(*) FROM RECETE"_s));
}

QTEST_GUILESS_MAIN(TstSsk)
#include "tst_ssk.moc"
