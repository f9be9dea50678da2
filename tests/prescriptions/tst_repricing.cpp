// Repricing recorded prescriptions: the price in force, the proposals of the window, a
// transfer and what it rebuilds, the reminder of a credit entry, the sales the runs find,
// and the automatic run with its two parts.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/demo_repricing.h"
#include "prescriptions/repricing.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(15, 0))};
    Session session{t.db(), prompter, clock};
    qint64 drug = 0;
    Fixture()
    {
        // Discount 10, share 20 for workers ("Ç").
        institution(u"BK"_s, u"R"_s, u"0"_s);
        drug = product(u"PAROL 500 MG 20 TABLET"_s, 12000, QDate(2026, 3, 15));
        history(drug, 10000, QDate(2026, 2, 1));
    }
    void institution(const QString& code, const QString& rule, const QString& fromGross, double share = 20)
    {
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, code}, {u"AD"_s, code + u" KURUMU"_s}, {u"ILACLARDAKURUM"_s, 10.0},
                      {u"ILACLARDACALISAN"_s, share}, {u"HSP_ISKON"_s, fromGross}, {u"YDEGER"_s, rule}});
    }
    qint64 product(const QString& name, double price, const QDate& since)
    {
        const qint64 p = addProduct(t.db(), name, price, 10);
        Sql::run(t.db(), u"UPDATE URUN SET FIYATARIH = :d WHERE ILACNO = :n"_s, {{u"d"_s, since}, {u"n"_s, p}});
        return p;
    }
    void history(qint64 p, double price, const QDate& day)
    {
        insertRecord(t.db(), u"URFAYAR"_s, {{u"ILACNO"_s, p}, {u"FITARIH"_s, QDateTime(day, QTime(9, 30))}, {u"FIYAT"_s, price}});
    }
    // A prescription with its sale lines: (product, quantity, price, class).
    void prescription(double sale, const QString& institutionCode, const QDate& date,
                      const QList<std::tuple<qint64, int, double, QString>>& lines, const QVariantMap& more = {})
    {
        QVariantMap r{{u"RKDEFTERNO"_s, u"XX"_s + QString::number(sale)}, {u"SATISNO"_s, sale},
                      {u"KURUMKOD"_s, institutionCode}, {u"HASTATIP"_s, u"Ç"_s}, {u"RECTARIH"_s, date}, {u"HASTANO"_s, 1}};
        for (auto it = more.begin(); it != more.end(); ++it) r.insert(it.key(), it.value());
        insertRecord(t.db(), u"RECETE"_s, r);
        int no = 0;
        for (const auto& [p, quantity, price, type] : lines)
            insertRecord(t.db(), u"SATIS"_s,
                         {{u"SATISNO"_s, sale}, {u"SIRANOURUN"_s, ++no}, {u"SATARIH"_s, QDateTime(date, QTime(10, 0))},
                          {u"ILACNO"_s, p}, {u"FIYAT"_s, price}, {u"MIKTAR"_s, quantity}, {u"KDV"_s, 8.0},
                          {u"RECETETIP"_s, type}, {u"PARAKENDE"_s, u"R"_s}});
        recomputePrescription(t.db(), sale);
    }
    double value(const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); }
    double field(double sale, const QString& f)
    {
        return Sql::scalar(t.db(), u"SELECT "_s + f + u" FROM RECETE WHERE SATISNO = :n"_s, {{u"n"_s, sale}}).toDouble();
    }
    double price(double sale, int line)
    {
        return Sql::scalar(t.db(), u"SELECT FIYAT FROM SATIS WHERE SATISNO = :n AND SIRANOURUN = :l"_s,
                           {{u"n"_s, sale}, {u"l"_s, line}})
            .toDouble();
    }
};
}  // namespace

class TstRepricing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void priceInForceAndProposals();
    void amountsOfAPrescription();
    void transferAndWhatItRebuilds();
    void creditReminderAndInvoiceNotice();
    void runsFindTheirSales();
    void startDateBox();
    void automaticRun();
    void automaticRunAtTheLatestPrice();
    void failedPartChangesNothing();
    void backSheetLines();
    void demoPrescriptions();
};

void TstRepricing::priceInForceAndProposals()
{
    Fixture f;
    QVERIFY(!priceInForce(f.t.db(), f.drug, QDate(2026, 1, 31)));
    QCOMPARE(priceInForce(f.t.db(), f.drug, QDate(2026, 2, 1))->price, 10000.0);  // the date part counts
    // Dated 10.03, the card's price from 15.03, history from 01.02, 2 boxes sold at 12.000.
    f.prescription(41, u"BK"_s, QDate(2026, 3, 10), {{f.drug, 2, 12000, u"N"_s}});
    YeniDegLogic r(f.session);
    QVERIFY(r.open(41));
    QCOMPARE(r.institutionRule(), u"Reçete Tarihine Göre"_s);
    QCOMPARE(r.choice(), YeniDegLogic::Choice::HistoryPrice);
    RepricingLine l = r.lines().first();
    QCOMPARE(l.productName, u"PAROL 500 MG 20 TABLET"_s);
    QCOMPARE(l.soldPrice, 12000.0);
    QCOMPARE(l.cardPrice, 12000.0);
    QCOMPARE(l.cardDate, QDate(2026, 3, 15));
    QCOMPARE(l.newPrice, 10000.0);
    QCOMPARE(l.newDate.date(), QDate(2026, 2, 1));
    QCOMPARE(l.difference, -4000.0);
    QVERIFY(!r.proposalAfterPrescription(1));
    // The card's price chosen instead: dated after the prescription, a beep when met.
    r.proposeCardPrice(1);
    QCOMPARE(r.lines().first().newPrice, 12000.0);
    QCOMPARE(r.lines().first().difference, 0.0);
    QVERIFY(r.proposalAfterPrescription(1));
    // The latest price: the card's, no difference.
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET YDEGER = 'S'"_s);
    QVERIFY(r.open(41));
    QCOMPARE(r.choice(), YeniDegLogic::Choice::CardPrice);
    QCOMPARE(r.lines().first().newPrice, 12000.0);
    QCOMPARE(r.lines().first().difference, 0.0);
    // Without history, "R" proposes nothing.
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET YDEGER = 'R'"_s);
    Sql::run(f.t.db(), u"DELETE FROM URFAYAR"_s);
    QVERIFY(r.open(41));
    QCOMPARE(r.lines().first().newPrice, 0.0);
    QVERIFY(!r.lines().first().newDate.isValid());
    QVERIFY(!r.open(999));
}

void TstRepricing::amountsOfAPrescription()
{
    Fixture f;
    f.prescription(1, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 2, 12000, u"N"_s}});
    QCOMPARE(f.field(1, u"BRUTN"_s), 24000.0);
    QCOMPARE(f.field(1, u"HASTAKATPAY"_s), 4320.0);
    QCOMPARE(f.field(1, u"NET"_s), 17280.0);
    QCOMPARE(f.field(1, u"KDVB"_s), 1280.0);
    // Shares from the gross.
    f.institution(u"ES"_s, u"R"_s, u"1"_s);
    f.prescription(2, u"ES"_s, QDate(2026, 3, 20), {{f.drug, 2, 12000, u"N"_s}});
    QCOMPARE(f.field(2, u"HASTAKATPAY"_s), 4800.0);
    QCOMPARE(f.field(2, u"NET"_s), 16800.0);
    QCOMPARE(std::round(f.field(2, u"KDVB"_s) * 100) / 100, 1244.44);
    // A rate of 33,33 on 10.000 without discount: the stored rate, not the shown one.
    insertRecord(f.t.db(), u"KRMLAR"_s,
                 {{u"KOD"_s, u"X"_s}, {u"AD"_s, u"X"_s}, {u"ILACLARDAKURUM"_s, 0.0}, {u"ILACLARDACALISAN"_s, 33.33},
                  {u"HSP_ISKON"_s, u"0"_s}});
    f.prescription(3, u"X"_s, QDate(2026, 3, 20), {{f.drug, 1, 10000, u"N"_s}});
    QCOMPARE(f.field(3, u"HASTAKATPAY"_s), 3333.0);
}

void TstRepricing::transferAndWhatItRebuilds()
{
    Fixture f;
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET YDEGER = 'S'"_s);
    const qint64 imported = f.product(u"İTHAL KREM"_s, 5000, QDate(2026, 1, 1));
    f.prescription(41, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 2, 10000, u"N"_s}, {imported, 1, 5000, u"L"_s}});
    QCOMPARE(f.field(41, u"BRUTN"_s), 20000.0);
    YeniDegLogic r(f.session);
    QVERIFY(r.open(41));
    // A proposal of 0 is refused.
    r.proposeHistoryPrice(1, {0, {}});
    QVERIFY(!r.transfer(1));
    QCOMPARE(f.prompter.texts().last(), RepricingZeroMessage);
    r.proposeCardPrice(1);
    // No: nothing changes.
    f.prompter.answer(Answer::No);
    QVERIFY(!r.transfer(1));
    QCOMPARE(f.prompter.texts().last(), u"Fiyat Değişikliğini Tasdikliyormusunuz?"_s);
    QCOMPARE(f.price(41, 1), 10000.0);
    QVERIFY(!r.changed());
    f.prompter.answer(Answer::Yes);
    QVERIFY(r.transfer(1));
    QVERIFY(r.changed());
    QCOMPARE(f.price(41, 1), 12000.0);
    QCOMPARE(r.lines().first().soldPrice, 12000.0);
    QCOMPARE(r.lines().first().difference, 0.0);
    // All five gross fields from the lines, the shares, the net and the VAT.
    QCOMPARE(f.field(41, u"BRUTN"_s), 24000.0);
    QCOMPARE(f.field(41, u"BRUTH"_s), 5000.0);
    QCOMPARE(f.field(41, u"BRUTI"_s), 0.0);
    QCOMPARE(r.prescription().value(u"BRUTN"_s).toDouble(), 24000.0);
    QCOMPARE(r.shares().gross(), 29000.0);
    const double net = f.field(41, u"NET"_s);
    QCOMPARE(net, r.shares().net());
    QCOMPARE(std::round(f.field(41, u"KDVB"_s) * 100), std::round(net * 8 / 108 * 100));
}

void TstRepricing::creditReminderAndInvoiceNotice()
{
    Fixture f;
    insertRecord(f.t.db(), u"HASTA"_s, {{u"HASTANO"_s, 1}, {u"HASTADI"_s, u"DENEME"_s}, {u"HASTASOYAD"_s, u"HASTA"_s}});
    f.prescription(41, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 2, 10000, u"N"_s}}, {{u"FATARIH"_s, QDate(2026, 3, 5)}});
    insertRecord(f.t.db(), u"HAREKET"_s,
                 {{u"HAREKNO"_s, 1.0}, {u"CARIKOD"_s, u"1"_s}, {u"ALSAT"_s, u"S"_s}, {u"ALSATNO"_s, 41.0}, {u"BORC"_s, 4000.0}});
    YeniDegLogic r(f.session);
    QVERIFY(r.open(41));
    QCOMPARE(r.invoiceNotice(), u"05.03.2026 Tarihinde FATURASI Kesilmiştir."_s);
    // Unchanged: no reminder.
    const int shown = int(f.prompter.texts().size());
    QCOMPARE(r.next(), YeniDegLogic::Result::Continue);
    QCOMPARE(int(f.prompter.texts().size()), shown);
    r.proposeCardPrice(1);
    f.prompter.answer(Answer::Yes);
    QVERIFY(r.transfer(1));
    QCOMPARE(r.next(), YeniDegLogic::Result::Continue);
    QCOMPARE(f.prompter.texts().last(), u"Bu Reçete 41 nolu Satışa Ait Olup DENEME HASTA Adına Veresiye Kaydı Var.Eğer Bu "
                                         u"Veresiye Kayıt Hst.Kat.Payına aitse Cari Hareketinden düzeltmeyi Unutmayın"_s);
}

void TstRepricing::runsFindTheirSales()
{
    Fixture f;
    const qint64 fresh = f.product(u"ZETA"_s, 3000, QDate(2026, 1, 1));
    // Three sales: the first and the last sold below the card's price.
    f.prescription(1, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 1, 11000, u"N"_s}, {fresh, 1, 3000, u"N"_s}});
    f.prescription(2, u"BK"_s, QDate(2026, 3, 20), {{fresh, 1, 3000, u"N"_s}});
    f.prescription(3, u"BK"_s, QDate(2026, 3, 21), {{fresh, 1, 2500, u"N"_s}, {f.drug, 1, 11000, u"N"_s}});
    // A line whose product is gone is compared with nothing.
    insertRecord(f.t.db(), u"SATIS"_s,
                 {{u"SATISNO"_s, 2.0}, {u"SIRANOURUN"_s, 2}, {u"SATARIH"_s, QDateTime(QDate(2026, 3, 20), QTime(10, 0))},
                  {u"ILACNO"_s, 9999}, {u"FIYAT"_s, 1.0}, {u"MIKTAR"_s, 1}, {u"PARAKENDE"_s, u"R"_s}});
    const QList<double> lines = salesAtStalePrices(f.t.db(), QDate(2026, 3, 1));
    QCOMPARE(lines, (QList<double>{1, 3, 3}));
    QCOMPARE(salesAtStalePrices(f.t.db(), QDate(2026, 3, 21)), (QList<double>{3, 3}));
    QCOMPARE(salesAtStalePrices(f.t.db(), QDate()).size(), 3);
    // Each sale once, the last one too; "Dur" on the first stops the run.
    QList<double> opened;
    QCOMPARE(repriceSales(lines, [&](double s) { opened << s; return true; }), 2);
    QCOMPARE(opened, (QList<double>{1, 3}));
    opened.clear();
    QCOMPARE(repriceSales(lines, [&](double s) { opened << s; return false; }), 1);
    QCOMPARE(opened, QList<double>{1});
    // Dated before the card's price and sold at it.
    f.prescription(4, u"BK"_s, QDate(2026, 3, 10), {{f.drug, 1, 12000, u"N"_s}});
    QCOMPARE(salesAtTooNewPrices(f.t.db(), QDate(2026, 3, 1)), QList<double>{4});
}

void TstRepricing::startDateBox()
{
    QCOMPARE(repricingStartText(QDate(2026, 12, 9)), u"01.12.2026"_s);
    QCOMPARE(*repricingStart(u"01.12.2026"_s), QDate(2026, 12, 1));
    QCOMPARE(*repricingStart(u"  .  .    "_s), QDate());
    QVERIFY(!repricingStart(u"31.02.2026"_s));
}

void TstRepricing::automaticRun()
{
    Fixture f;
    const qint64 other = f.product(u"BETA"_s, 8000, QDate(2026, 3, 1));  // no history
    // The same product twice in one sale, dated after its price: both lines take it.
    f.prescription(1, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 1, 11000, u"N"_s}, {f.drug, 2, 11000, u"N"_s}});
    // A second prescription with shares from its own gross, dated on the day of the price.
    f.institution(u"ES"_s, u"R"_s, u"1"_s);
    f.prescription(2, u"ES"_s, QDate(2026, 3, 15), {{f.drug, 1, 11000, u"N"_s}});
    // Dated before the price, sold at it: the price in force then.
    f.prescription(3, u"BK"_s, QDate(2026, 3, 10), {{f.drug, 2, 12000, u"N"_s}});
    // No price in force: a memo line.
    f.prescription(4, u"BK"_s, QDate(2026, 2, 10), {{other, 1, 8000, u"N"_s}});
    // Invoiced: left out.
    f.prescription(5, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 1, 11000, u"N"_s}}, {{u"FATNO"_s, 7.0}});
    const AutomaticRepricing r = runAutomaticRepricing(f.session, AutomaticRepricing::AllAtPrescriptionDate, {},
                                                       QDate(1996, 1, 1));
    QCOMPARE(f.price(1, 1), 12000.0);
    QCOMPARE(f.price(1, 2), 12000.0);
    QCOMPARE(f.price(2, 1), 12000.0);
    QCOMPARE(f.price(3, 1), 10000.0);
    QCOMPARE(f.price(4, 1), 8000.0);
    QCOMPARE(f.price(5, 1), 11000.0);
    QCOMPARE(f.field(1, u"BRUTN"_s), 36000.0);
    QCOMPARE(f.field(2, u"HASTAKATPAY"_s), 2400.0);  // 20 % of its own 12.000
    QCOMPARE(f.field(2, u"NET"_s), 8400.0);
    QCOMPARE(f.field(3, u"BRUTN"_s), 20000.0);
    QCOMPARE(f.field(3, u"KDVB"_s), 20000 * 0.72 * 8 / 108);
    // Both parts gathered.
    QCOMPARE(r.saleNumbers, (QList<double>{1, 2, 3}));
    QCOMPARE(r.memo, (QStringList{u"3 kalem ilacın fiyatı değerlendirildi."_s, u"2 Adet Reçete Y.Değerlendirildi."_s,
                                  u"4 Satış nolu reç.nin 1 S.Nolu ilacı için uygun fiyat bulunamadı,lütfen elle düzeltin."_s,
                                  u"1 kalem ilacın fiyatı değerlendirildi."_s, u"1 Adet Reçete Y.Değerlendirildi."_s}));
    // A second run finds nothing.
    const AutomaticRepricing again = runAutomaticRepricing(f.session, AutomaticRepricing::ChosenAtPrescriptionDate, u"ES"_s,
                                                           QDate(1996, 1, 1));
    QCOMPARE(again.memo, QStringList{u"Fiyatlar Uygun. Değerlendirilecek Reçete Kalmadı."_s});
    QVERIFY(again.saleNumbers.isEmpty());
}

void TstRepricing::automaticRunAtTheLatestPrice()
{
    Fixture f;
    f.institution(u"ES"_s, u"S"_s, u"0"_s);
    f.prescription(1, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 1, 11000, u"N"_s}});
    f.prescription(2, u"ES"_s, QDate(2026, 3, 20), {{f.drug, 1, 11000, u"N"_s}});
    f.prescription(3, u"ES"_s, QDate(2026, 3, 10), {{f.drug, 1, 12000, u"N"_s}});
    const AutomaticRepricing r = runAutomaticRepricing(f.session, AutomaticRepricing::ChosenAtLatest, u"ES"_s,
                                                       QDate(2026, 3, 1));
    QCOMPARE(r.saleNumbers, QList<double>{2});
    QCOMPARE(f.price(1, 1), 11000.0);
    QCOMPARE(f.price(2, 1), 12000.0);
    QCOMPARE(f.price(3, 1), 12000.0);  // the latest price only: part 2 does not run
    QCOMPARE(automaticRepricingText(3, u"ES"_s), u"ES için reçeteleri son fiyat .trh.ne göre yeniden fiyatlandırma"_s);
}

void TstRepricing::failedPartChangesNothing()
{
    Fixture f;
    f.prescription(1, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 1, 11000, u"N"_s}, {f.drug, 1, 11000, u"N"_s}});
    f.prescription(2, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 1, 11000, u"N"_s}});
    makeUpdatesFail(f.t.db(), u"RECETE"_s, u"NET"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, runAutomaticRepricing(f.session, 0, {}, QDate(1996, 1, 1)));
    stopFailingUpdates(f.t.db(), u"RECETE"_s);
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM SATIS WHERE FIYAT <> 11000"_s), 0.0);
}

void TstRepricing::backSheetLines()
{
    Fixture f;
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET ETIKET1 = 'Sicil No'"_s);
    insertRecord(f.t.db(), u"HASTA"_s, {{u"HASTANO"_s, 1}, {u"HASTADI"_s, u"DENEME"_s}, {u"BAS1"_s, u"778899"_s}});
    Sql::run(f.t.db(), u"UPDATE EKIM SET EADI = 'PAPATYA ECZANESİ', ADI = 'Ecz. Nergis'"_s);
    const qint64 imported = f.product(u"İTHAL KREM"_s, 5000, QDate(2026, 1, 1));
    f.prescription(41, u"BK"_s, QDate(2026, 3, 20), {{f.drug, 2, 12000, u"N"_s}, {imported, 1, 5000, u"L"_s}});
    YeniDegLogic r(f.session);
    QVERIFY(r.open(41));
    const QStringList lines = r.backPrintLines();
    const QString dash = QString(12, u' ') + u"---"_s;
    QCOMPARE(lines[0], QString(57, u' ') + u"      İLAÇLARDA  İLAÇ BERABERİ   ÖZEL KATILIM     İTHAL İLAÇ"_s);
    QCOMPARE(lines[1], u"PAROL 500 MG 20 TABLET"_s.leftJustified(35) + u"   2x     12.000 TL "_s + u"         24.000"_s + dash
                           + dash + dash + dash);
    QCOMPARE(lines[2], u"İTHAL KREM"_s.leftJustified(35) + u"   1x      5.000 TL "_s + dash + dash + dash
                           + u"          5.000"_s + dash);
    QCOMPARE(lines[4], u"Toplam : "_s.rightJustified(56) + u"         24.000              0              0          5.000"
                                                           u"              0"_s);
    // Only normal drugs have rates on this card.
    QCOMPARE(lines[5].left(56), u"      (%10,00+ %0,00 + %0,00 + %0,00 + %0,00 )İndirim : "_s);
    QCOMPARE(lines[5].mid(56, 15), u"          2.400"_s);
    QCOMPARE(lines[7].left(56), u"      (%20,00+ %0,00 + %0,00 + %0,00 + %0,00 )H.Kat.Py: "_s);
    QVERIFY(lines.contains(u"PAPATYA ECZANESİ"_s));
    QVERIFY(lines.contains(u"Sicil No : 778899"_s));
    QVERIFY(lines.contains(u"Reçetenin Alındığı Tarih:   /  /"_s));
    QCOMPARE(lines.last(), u"(İMZA)"_s);
    QCOMPARE(lines[lines.size() - 2], u"İlaçları Aldım."_s);
}

void TstRepricing::demoPrescriptions()
{
    TestDb t(true);
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(15, 0))};
    Session session{t.db(), prompter, clock};
    const double before = Sql::scalar(t.db(), u"SELECT MAX(SATISNO) FROM SATIS"_s).toDouble();
    addDemoRepricing(t.db(), QDate(2026, 12, 9));
    QList<double> stale = salesAtStalePrices(t.db(), QDate(2026, 11, 1));
    stale.removeIf([&](double s) { return s <= before; });
    QCOMPARE(stale.size(), 4);  // after the change at the old price, one of them invoiced
    QList<double> tooNew = salesAtTooNewPrices(t.db(), QDate(2026, 11, 1));
    tooNew.removeIf([&](double s) { return s <= before; });
    QCOMPARE(tooNew.size(), 1);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT COUNT(*) FROM HAREKET WHERE ALSAT = 'S' AND ALSATNO > :n"_s, {{u"n"_s, before}}).toInt(), 1);
    AutomaticRepricing r = runAutomaticRepricing(session, 0, {}, QDate(2026, 11, 1));
    r.saleNumbers.removeIf([&](double s) { return s <= before; });
    QCOMPARE(r.saleNumbers.size(), 4);  // three at the latest price, one at the old one; not the invoiced one
    stale = salesAtStalePrices(t.db(), QDate(2026, 11, 1));
    stale.removeIf([&](double s) { return s <= before; });
    // The invoiced one waits for the hand; the one dated before the change now holds the
    // price of its date, below the card's.
    QCOMPARE(stale.size(), 2);
}

QTEST_GUILESS_MAIN(TstRepricing)
#include "tst_repricing.moc"
