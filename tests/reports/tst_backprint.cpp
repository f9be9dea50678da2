// The prescription back-prints: shares, texts, the stamped and the defined printouts and
// their options, read from the recording print service.
#include "companion/backprint_layout.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/document.h"
#include "print/print_service.h"
#include "prescriptions/shares.h"
#include "print/report.h"
#include "reports/backprint_values.h"
#include "reports/kaseli_logic.h"
#include "reports/tanimli_logic.h"
#include "support/fake_companion.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>
#include <cmath>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Line {
    QString name;
    int quantity;
    double price;
    QString type;  // RECETETIP
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(16, 0))};
    RecordingPrintService printing;
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    double nextSale = 100;

    Fixture()
    {
        session.print = &printing;
        session.companion = &companion;
        Sql::run(t.db(), u"UPDATE EKIM SET EADI = 'PAPATYA ECZANESİ', MESULAD = 'Ecz. Nergis', ADR1 = 'Çiçek Sok. 7', "
                         u"ADR2 = 'Bahçelievler', ADR3 = 'ANKARA', TLF = '3122223344'"_s);
    }
    // An institution with the same discount and contribution rates in every category.
    void institution(const QString& code, double discount, double share, const QString& fromGross = u"0"_s)
    {
        QVariantMap v{{u"KOD"_s, code}, {u"AD"_s, code + u" KURUMU"_s}, {u"HSP_ISKON"_s, fromGross},
                      {u"ETIKET1"_s, u"Sicil No"_s}, {u"ETIKET2"_s, u"Kurum"_s}};
        for (const char* p : {"ILACLARDA", "ILACBERABER", "OZELKATILIM", "ITHAL", "IHLRAP"}) {
            v.insert(QString::fromLatin1(p) + u"KURUM"_s, discount);
            for (const char* c : {"CALISAN", "EMEKLI", "RAPYAT", "DIGER"}) v.insert(QString::fromLatin1(p) + QString::fromLatin1(c), share);
        }
        insertRecord(t.db(), u"KRMLAR"_s, v);
    }
    // A recorded prescription sale with its lines; returns the sale number.
    double prescription(const QString& code, const QString& type, const QList<Line>& lines, const QVariantMap& extra = {},
                        const QString& table = u"RECETE"_s)
    {
        const double sale = nextSale++;
        QVariantMap rec{{u"RKDEFTERNO"_s, QStringLiteral("26%1").arg(int(sale), 7, 10, QChar(u'0'))},
                        {u"KURUMKOD"_s, code}, {u"SATISNO"_s, sale}, {u"HASTATIP"_s, type},
                        {u"RECTARIH"_s, QDate(2026, 12, 1)}, {u"ALTARIH"_s, QDate(2026, 12, 2)}};
        double gross[5] = {};
        int n = 1;
        for (const Line& l : lines) {
            const qint64 product = addProduct(t.db(), l.name, l.price, 100, {}, l.type.isEmpty() ? u"N"_s : l.type);
            Sql::run(t.db(), u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, RECETETIP, PARAKENDE) "
                             u"VALUES (:s, :n, :t, :i, :f, :m, :r, 'R')"_s,
                     {{u"s"_s, sale}, {u"n"_s, n++}, {u"t"_s, QDateTime(QDate(2026, 12, 2), QTime(10, 0))}, {u"i"_s, product},
                      {u"f"_s, l.price}, {u"m"_s, l.quantity}, {u"r"_s, l.type}});
            gross[int(bucketOf(l.type))] += l.quantity * l.price;
        }
        for (int b = 0; b < 5; ++b) rec.insert(grossField(Bucket(b)), gross[b]);
        const Institution inst = loadInstitution(t.db(), code);
        std::array<double, BucketCount> g{};
        for (int b = 0; b < 5; ++b) g[size_t(b)] = gross[b];
        const ShareResult s = computeShares(g, inst, type, false);
        rec.insert(u"HASTAKATPAY"_s, s.share());
        rec.insert(u"NET"_s, s.net());
        for (auto it = extra.begin(); it != extra.end(); ++it) rec.insert(it.key(), it.value());
        insertRecord(t.db(), table, rec);
        return sale;
    }
    QStringList printedStamped(const QString& code, const QString& type, double sale,
                               const std::function<void(StampedOptions&)>& set = {})
    {
        printing.clear();
        KaseliLogic l(session, code, type, sale);
        if (set) set(l.options());
        l.print();
        QStringList all;
        for (const auto& job : printing.jobs()) all << job.document.allLines();
        return all;
    }
};

QString joined(const QStringList& lines) { return lines.join(u'\n'); }

bool hasLineWith(const QStringList& lines, const QStringList& parts)
{
    for (const QString& l : lines) {
        bool all = true;
        for (const QString& p : parts) all = all && l.contains(p);
        if (all) return true;
    }
    return false;
}

}  // namespace

class TstBackPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sharesByOrderAndPatientType();
    void textsOfThePrintout();
    void stampedSheetOfOneSale();
    void unknownInstitutionAndNothingToPrint();
    void importedApartInTwoListings();
    void manyPrescriptionsInEveryOrder();
    void optionsRowAfterClosing();
    void definedColumnsAndWordings();
    void definedWarnings();
    void demoPrescriptionsAddUp();
};

void TstBackPrint::sharesByOrderAndPatientType()
{
    Fixture f;
    f.institution(u"ES"_s, 10, 20, u"1"_s);
    f.institution(u"BK"_s, 10, 20, u"0"_s);
    report::Row row{{u"BRUTN"_s, 1000.0}, {u"HASTATIP"_s, u"E"_s}, {u"NET"_s, 700.0}};
    QVariantMap v = backPrintValues(row, loadInstitution(f.t.db(), u"ES"_s));
    QCOMPARE(v.value(u"IndirN"_s).toDouble(), 100.0);
    QCOMPARE(v.value(u"HKPn"_s).toDouble(), 200.0);  // "1": from the undiscounted gross
    QCOMPARE(v.value(u"NetN"_s).toDouble(), 700.0);
    QCOMPARE(v.value(u"INDIR"_s).toDouble(), 1000.0 - (700.0 + 200.0));
    v = backPrintValues(row, loadInstitution(f.t.db(), u"BK"_s));
    QCOMPARE(v.value(u"IndirN"_s).toDouble(), 100.0);
    QCOMPARE(v.value(u"HKPn"_s).toDouble(), 180.0);
    QCOMPARE(v.value(u"BakiN"_s).toDouble(), 900.0);
    QCOMPARE(v.value(u"NETSON"_s).toDouble(), 720.0);
    // The patient type picks the rates: "E" the ...EMEKLI ones; "N", "Y" and none pay nothing.
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET ILACLARDAEMEKLI = 15, ILACLARDACALISAN = 30 WHERE KOD = 'BK'"_s);
    const Institution bk = loadInstitution(f.t.db(), u"BK"_s);
    QCOMPARE(backPrintValues(row, bk).value(u"yuzdeN"_s).toDouble(), 15.0);
    for (const QString& type : {u"N"_s, u"Y"_s, QString()}) {
        row.set(u"HASTATIP"_s, type);
        QCOMPARE(backPrintValues(row, bk).value(u"HKPn"_s).toDouble(), 0.0);
    }
    // Rates at full precision, domestic and imported apart.
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET ITHALCALISAN = 12.5 WHERE KOD = 'BK'"_s);
    report::Row two{{u"BRUTN"_s, 1000.0}, {u"BRUTH"_s, 2000.0}, {u"HASTATIP"_s, u"Ç"_s}};
    v = backPrintValues(two, loadInstitution(f.t.db(), u"BK"_s));
    QCOMPARE(v.value(u"yuzdeH"_s).toDouble(), 12.5);
    QCOMPARE(v.value(u"HKPITHAL"_s).toDouble(), 0.125 * 1800);
    QCOMPARE(v.value(u"BRTOPYERLI"_s).toDouble(), 1000.0);
    QCOMPARE(v.value(u"BRTOPITHAL"_s).toDouble(), 2000.0);
    QCOMPARE(v.value(u"NetTumIHL"_s).toDouble(), 1800 - 225.0);
}

void TstBackPrint::textsOfThePrintout()
{
    QCOMPARE(visaText(QDate()), u"MUAF"_s);
    QCOMPARE(visaText(QDate(2026, 6, 15)), u"15.06.2026  /  15.06.2025"_s);
    QCOMPARE(visaText(QDate(2028, 3, 1)), u"01.03.2028  /  01.03.2027"_s);  // a leap year has 366 days
    QVERIFY(isSyringe(u"ENJEKTÖR 5 ML"_s));
    QVERIFY(isSyringe(u"enjector 2 ml"_s));
    QVERIFY(!isSyringe(u"ENJEKTÖR"_s.left(7)));
    HandedOver h;
    h.add(u"ENJEKTÖR 5 ML"_s, 2, true);
    h.add(u"PAROL 500 MG"_s, 3, true);
    QCOMPARE(h.text(), u"1 KALEM, 3 ADET İLAÇ, 2 ADET ENJEKTÖRÜ ALDIM."_s);
    QCOMPARE(h.withoutSyringes(), u"1 KALEM, 3 ADET İLAÇ ALDIM."_s);
    QCOMPARE(contributionText({20}, 2160), u"%20 KATILIM 2.160 TL"_s);
    QCOMPARE(contributionText({20, 10}, 2160), u"%20 %10 KATILIM 2.160 TL"_s);
    QCOMPARE(contributionText({12.5}, 100), u"%12,5 KATILIM 100 TL"_s);
}

void TstBackPrint::stampedSheetOfOneSale()
{
    Fixture f;
    f.institution(u"BK"_s, 10, 20);
    Sql::run(f.t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD) VALUES ('DENEME', 'HASTA')"_s);
    const double sale = f.prescription(u"BK"_s, u"Ç"_s, {{u"ENJEKTÖR 5 ML"_s, 2, 1500, u"N"_s}, {u"PAROL 500 MG"_s, 3, 10000, u"N"_s}},
                                       {{u"HASTANO"_s, 1}, {u"BAS1"_s, u"12345"_s}, {u"PROTOKOLNO"_s, u"P-77"_s}});
    const QStringList lines = f.printedStamped(QString(), QString(), sale, [](StampedOptions& o) {
        o.visa = o.protocol = o.registerNo = true;
    });
    QCOMPARE(f.printing.jobs().size(), size_t(1));
    QCOMPARE(f.printing.lastJob().document.title, u"Reç.Arkası Dökümü"_s);
    const QString text = joined(lines);
    for (const QString& part : {u"PAPATYA ECZANESİ"_s, u"Ecz. Nergis"_s, u"3122223344"_s, u"Sicil No : 12345"_s,
                                u"Vize Tarihi :"_s, u"MUAF"_s, u"Protokol No:"_s, u"P-77"_s, u"Reç.Kayıt Def.No"_s,
                                u"BK KURUMU"_s, u"DENEME HASTA"_s, u"ÜRÜNÜN ADI"_s, u"%20 ilaç.da"_s, u"ENJEKTÖR 5 ML"_s,
                                u"GENEL TOPLAM :"_s, u"İMZA"_s, u"İlaç.Veriliş Trh:"_s, u"02.12.2026"_s})
        QVERIFY2(text.contains(part), qPrintable(part + u"\n"_s + text));
    // Gross 33.000, discount 3.300, balance 29.700, contribution 5.940, net 23.760.
    QVERIFY(hasLineWith(lines, {u"PAROL 500 MG"_s, u"10.000"_s, u"30.000"_s}));
    QVERIFY(hasLineWith(lines, {u"TOPLAM"_s, u"33.000"_s}));
    QVERIFY(hasLineWith(lines, {u"İskonto :"_s, u"3.300"_s}));
    QVERIFY(hasLineWith(lines, {u"Bakiye :"_s, u"29.700"_s}));
    QVERIFY(hasLineWith(lines, {u"Kat.Payı :"_s, u"5.940"_s}));
    QVERIFY(hasLineWith(lines, {u"GENEL TOPLAM :"_s, u"23.760"_s}));
    QVERIFY(hasLineWith(lines, {u"İlacı Alanın Adı Soyadı :"_s, u"DENEME HASTA"_s}));
    QVERIFY(lines.contains(u"%20 KATILIM 5.940 TL ÖDEYEREK"_s));
    QVERIFY(lines.contains(u"1 KALEM, 3 ADET İLAÇ, 2 ADET ENJEKTÖRÜ ALDIM."_s));
    // Only N was sold: one amount column, the others take no room.
    for (const QString& other : {u"ilç.berb"_s, u"öz.kat.lı"_s, u"ithal ilç"_s, u"Rp ithal"_s}) QVERIFY(!text.contains(other));
    const Document& doc = f.printing.lastJob().document;
    const auto n = doc.find(0, u"%20 ilaç.da"_s);
    const auto price = doc.find(0, u"FİYATI"_s);
    QCOMPARE(n.size(), size_t(1));
    QVERIFY(n[0].x > price[0].x);
    // The copy of the sale is what was printed; the working copy holds that sale alone.
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM TMPREC"_s).toInt(), 1);
}

void TstBackPrint::unknownInstitutionAndNothingToPrint()
{
    Fixture f;
    const double sale = f.prescription(u"YOK"_s, u"Ç"_s, {{u"PAROL 500 MG"_s, 1, 10000, u"N"_s}});
    const QStringList lines = f.printedStamped(QString(), QString(), sale);
    const QString text = joined(lines);
    QVERIFY(text.contains(u"PAROL 500 MG"_s));
    QVERIFY(!text.contains(u"GENEL TOPLAM"_s));
    QVERIFY(!text.contains(u"İskonto :"_s));
    QVERIFY(!text.contains(u"KATILIM"_s));
    QVERIFY(text.contains(u"ADET İLAÇ"_s));
    // A prescription without a net prints nothing, and says so.
    const double empty = f.prescription(u"YOK"_s, u"Ç"_s, {{u"PAROL 500 MG"_s, 1, 10000, u"N"_s}}, {{u"NET"_s, QVariant()}});
    Sql::run(f.t.db(), u"UPDATE RECETE SET NET = NULL WHERE SATISNO = :s"_s, {{u"s"_s, empty}});
    QVERIFY(f.printedStamped(QString(), QString(), empty).isEmpty());
    QCOMPARE(f.prompter.texts().last(), u"Dökümü alınacak reçete bulunamadı."_s);
    // Empty institution and patient type still print.
    const double blank = f.prescription(QString(), QString(), {{u"PAROL 500 MG"_s, 1, 10000, u"N"_s}});
    QVERIFY(joined(f.printedStamped(QString(), QString(), blank)).contains(u"PAROL 500 MG"_s));
    // Their options row is found again at the next opening, not appended once more.
    for (int i = 0; i < 2; ++i) {
        KaseliLogic l(f.session, QString(), QString(), blank);
        l.options().visa = i == 0;
        l.closing();
    }
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM RECKASE"_s).toInt(), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT VIZEYAZ FROM RECKASE"_s).toInt(), 0);
}

void TstBackPrint::importedApartInTwoListings()
{
    Fixture f;
    QVariantMap v{{u"KOD"_s, u"SSK"_s}, {u"AD"_s, u"SSK KURUMU"_s}, {u"ILACLARDAKURUM"_s, 10.0}, {u"ILACLARDACALISAN"_s, 20.0},
                  {u"ITHALKURUM"_s, 5.0}, {u"ITHALCALISAN"_s, 10.0}};
    insertRecord(f.t.db(), u"KRMLAR"_s, v);
    const double sale = f.prescription(u"SSK"_s, u"Ç"_s, {{u"PAROL 500 MG"_s, 2, 5000, u"N"_s}, {u"İTHAL İLAÇ"_s, 1, 8000, u"L"_s}});
    f.printedStamped(QString(), QString(), sale, [](StampedOptions& o) { o.twoListings = true; });
    QCOMPARE(f.printing.jobs().size(), size_t(2));
    const QStringList one = f.printing.jobs()[0].document.allLines();
    const QStringList two = f.printing.jobs()[1].document.allLines();
    QVERIFY(hasLineWith(one, {u"GENEL TOPLAM :"_s, u"7.200"_s}));
    QVERIFY(hasLineWith(one, {u"Reçete Tutarı"_s, u"10.000"_s}));
    QVERIFY(one.contains(u"%20 KATILIM 1.800 TL ÖDEYEREK"_s));
    QVERIFY(!joined(one).contains(u"İTHAL İLAÇ"_s));
    QVERIFY(hasLineWith(two, {u"GENEL TOPLAM :"_s, u"6.840"_s}));
    QVERIFY(hasLineWith(two, {u"Reçete Tutarı"_s, u"8.000"_s}));
    QVERIFY(two.contains(u"%10 KATILIM 760 TL ÖDEYEREK"_s));
    QVERIFY(!joined(two).contains(u"PAROL"_s));
    QVERIFY(two.contains(u"0 KALEM, 1 ADET İLAÇ, 0 ADET ENJEKTÖRÜ ALDIM."_s) || joined(two).contains(u"1 KALEM, 1 ADET"_s));
}

void TstBackPrint::manyPrescriptionsInEveryOrder()
{
    Fixture f;
    f.institution(u"BK"_s, 10, 20);
    // Register numbers, prescription dates, dates given and serial numbers each order them otherwise.
    const QList<QVariantMap> extras{
        {{u"RKDEFTERNO"_s, u"260000003"_s}, {u"RECTARIH"_s, QDate(2026, 12, 1)}, {u"ALTARIH"_s, QDate(2026, 12, 3)}, {u"SERINO"_s, u"B"_s}},
        {{u"RKDEFTERNO"_s, u"260000001"_s}, {u"RECTARIH"_s, QDate(2026, 12, 3)}, {u"ALTARIH"_s, QDate(2026, 12, 2)}, {u"SERINO"_s, u"C"_s}},
        {{u"RKDEFTERNO"_s, u"260000002"_s}, {u"RECTARIH"_s, QDate(2026, 12, 2)}, {u"ALTARIH"_s, QDate(2026, 12, 1)}, {u"SERINO"_s, u"A"_s}}};
    const QStringList names{u"BİRİNCİ İLAÇ"_s, u"İKİNCİ İLAÇ"_s, u"ÜÇÜNCÜ İLAÇ"_s};
    for (int i = 0; i < 3; ++i) f.prescription(u"BK"_s, u"E"_s, {{names[i], 1, 1000.0 * (i + 1), u"N"_s}}, extras[i], u"RECTEMP"_s);
    auto order = [&](const QString& code) {
        const QStringList lines = f.printedStamped(u"BK"_s, u"E"_s, 0, [code](StampedOptions& o) {
            o.order = code;
            o.runningNo = o.closingTotals = true;
        });
        QStringList seen;
        for (const QString& l : lines)
            for (const QString& n : names)
                if (l.contains(n)) seen << n.left(1);
        return std::make_pair(seen.join(QString()), lines);
    };
    QCOMPARE(order(u"D"_s).first, u"İÜB"_s);
    QCOMPARE(order(u"R"_s).first, u"BÜİ"_s);
    QCOMPARE(order(u"A"_s).first, u"ÜİB"_s);
    const auto [serial, lines] = order(u"S"_s);
    QCOMPARE(serial, u"ÜBİ"_s);
    QVERIFY(hasLineWith(lines, {u"Toplam Reçete Sayısı :"_s, u"3 Adet"_s}));
    QVERIFY(hasLineWith(lines, {u"TOPLAM TUTAR"_s, u"6.000 TL"_s}));
    QVERIFY(hasLineWith(lines, {u"KURUM İSKONTOSU"_s, u"600 TL"_s}));
    QVERIFY(hasLineWith(lines, {u"GENEL TOPLAM"_s, u"4.320 TL"_s}));
    // The running numbers 1, 2 and 3 stand alone on their lines.
    for (const char* n : {"1", "2", "3"}) QVERIFY(lines.contains(QString::fromLatin1(n)));
}

void TstBackPrint::optionsRowAfterClosing()
{
    Fixture f;
    f.institution(u"BK"_s, 10, 20);
    const double sale = f.prescription(u"BK"_s, u"Ç"_s, {{u"PAROL 500 MG"_s, 1, 10000, u"N"_s}});
    auto row = [&](const QString& field) {
        return Sql::scalar(f.t.db(), u"SELECT "_s + field + u" FROM RECKASE WHERE KURUM = 'BK' AND TIP = 'Ç'"_s);
    };
    {
        // A new row gets the defaults and the options changed in the window.
        KaseliLogic l(f.session, QString(), QString(), sale);
        QCOMPARE(l.institution(), u"BK"_s);
        QCOMPARE(l.patientType(), u"Ç"_s);
        l.options().twoListings = true;
        l.closing();
    }
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM RECKASE"_s).toInt(), 1);
    QCOMPARE(row(u"ITHALYAZ"_s).toInt(), 1);
    QCOMPARE(row(u"CERCEVE"_s).toInt(), 1);
    QCOMPARE(row(u"SIRALAMAKRITER"_s).toString(), u"D"_s);
    QCOMPARE(row(u"FONTSIZE"_s).toInt(), 8);
    QCOMPARE(row(u"FONTSTYLE"_s).toString(), u"R"_s);
    QCOMPARE(row(u"RECARBOYUZ"_s).toInt(), 10);
    QCOMPARE(row(u"SAYFA_TIPI"_s).toString(), u"9"_s);
    QCOMPARE(row(u"OZKAT"_s).toString(), u"öz.kat.lı"_s);
    {
        // Reopened: the row is found again; without the font dialog the font stays.
        KaseliLogic l(f.session, u"BK"_s, u"Ç"_s);
        QVERIFY(l.options().twoListings);
        l.options().font.size = 14;
        l.options().margin = 7;
        l.closing();
    }
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM RECKASE"_s).toInt(), 1);
    QCOMPARE(row(u"FONTSIZE"_s).toInt(), 8);
    QCOMPARE(row(u"MARJIN"_s).toInt(), 7);
    {
        // With the font dialog the chosen font is stored.
        KaseliLogic l(f.session, u"BK"_s, u"Ç"_s);
        FontDef chosen(u"Arial"_s, 11, true, false, true);
        f.printing.answerFontDialog(chosen);
        l.chooseFont();
        l.closing();
    }
    QCOMPARE(row(u"FONTADI"_s).toString(), u"Arial"_s);
    QCOMPARE(row(u"FONTSIZE"_s).toInt(), 11);
    QCOMPARE(row(u"FONTSTYLE"_s).toString(), u"E"_s);
    // Empty codes are found again rather than stored anew.
    for (int i = 0; i < 2; ++i) {
        KaseliLogic l(f.session, QString(), QString());
        l.closing();
    }
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM RECKASE"_s).toInt(), 2);
    // The paper of the options.
    StampedOptions o;
    o.paper = u"$100"_s;
    QCOMPARE(o.pageSetup().paper, UserPaper);
    QCOMPARE(o.pageSetup().paperLength, 1500);
    o.paper = u"x"_s;
    QCOMPARE(o.pageSetup().paper, A4Paper);
    o.paper = u"5"_s;
    o.orientation = u"Y"_s;
    QCOMPARE(o.pageSetup().paper, 5);
    QCOMPARE(*o.pageSetup().orientation, Orientation::Landscape);
}

void TstBackPrint::definedColumnsAndWordings()
{
    Fixture f;
    f.institution(u"ES"_s, 10, 20);
    Sql::run(f.t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD) VALUES ('DENEME', 'HASTA')"_s);
    BackPrintLayout layout;
    layout.institution = u"ES"_s;
    layout.patientType = u"E"_s;
    layout.fontName = u"Courier New"_s;
    layout.fontSize = 10;
    layout.fields[0] = {u"Defter"_s, u"Reç.Kayıt No"_s, u"RKDEFTERNO"_s, 30};
    layout.fields[1] = {u"Net"_s, u"Net Tutar"_s, u"NET"_s, 25};
    layout.columns[0] = {u"Ad"_s, u"İlacın Adı"_s, u"ILAD"_s, 60};
    layout.columns[1] = {u"Barkod"_s, u"Barkod"_s, u"BARKOD"_s, 15};
    layout.columns[2] = {u"Tip"_s, u"Tip"_s, u"RECETETIP"_s, 25};
    layout.columns[3] = {u"Adet"_s, u"Adet"_s, u"MIKTAR"_s, 10};
    layout.columns[4] = {u"Tutar"_s, u"Tutarı"_s, u"BRUTUTAR"_s, 20};
    saveLayout(f.t.db(), layout);
    const double sale = f.prescription(u"ES"_s, u"E"_s, {{u"ENJEKTÖR 5 ML"_s, 2, 1500, u"I"_s}, {u"PAROL 500 MG"_s, 3, 10000, u"N"_s}},
                                       {{u"HASTANO"_s, 1}});
    QCOMPARE(columnLefts({60, 15, 25}), (QList<double>{0, 60 + 5 * 25.4 / 96, 75 + 2 * 5 * 25.4 / 96}));
    QCOMPARE(std::round(columnLefts({60, 15, 25})[1] * 100) / 100, 61.32);
    QCOMPARE(std::round(columnLefts({60, 15, 25})[2] * 100) / 100, 77.65);
    QCOMPARE(columnLefts({20, 0, 10}), (QList<double>{0, 20 + 5 * 25.4 / 96, 20 + 5 * 25.4 / 96}));

    auto printed = [&](const QString& wording, bool productLines = true) {
        BackPrintLayout l = layout;
        l.totalWording = wording;
        l.productLines = productLines;
        saveLayout(f.t.db(), l);
        f.printing.clear();
        TanimliLogic logic(f.session, u"ÖRNEK"_s, QString(), QString(), sale);
        logic.print();
        return f.printing.jobs().empty() ? Document() : f.printing.lastJob().document;
    };
    const Document doc = printed(QString());
    QCOMPARE(doc.title, u"Reçete Arkası Dökümü"_s);
    const QStringList lines = doc.allLines();
    QVERIFY(lines.contains(u"ÖRNEK ES KURUMU REÇETE ARKASI DÖKÜMÜ"_s));
    QVERIFY(hasLineWith(lines, {u"Reç.Kayıt No"_s, QStringLiteral("26%1").arg(int(sale), 7, 10, QChar(u'0'))}));
    QVERIFY(hasLineWith(lines, {u"İlacın Adı"_s, u"Adet"_s, u"Tutarı"_s}));
    QVERIFY(hasLineWith(lines, {u"PAROL 500 MG"_s, u"3"_s, u"30.000"_s}));
    QVERIFY(lines.contains(u"DENEME  HASTA"_s));
    // Columns side by side: 0, 61.32 and 77.65 mm from the margin.
    const double pxPerMm = doc.format.pixels.width() / doc.format.millimetres.width();
    const auto at = [&](const QString& text) { return doc.find(0, text).at(0).x / pxPerMm; };
    QVERIFY(std::abs(at(u"İlacın Adı"_s) - 0) < 0.1);
    QVERIFY(std::abs(at(u"Barkod"_s) - 61.32) < 0.1);
    QVERIFY(std::abs(at(u"Tip"_s) - 77.65) < 0.1);
    // The wordings of the closing lines.
    const QString rate = u"%20 %20 KATILIM "_s;
    QVERIFY(doc.allLines().join(u'\n').contains(rate));
    QVERIFY(lines.last().endsWith(u" ödedim."_s) || joined(lines).contains(u" ödedim."_s));
    QVERIFY(!joined(lines).contains(u"ALDIM"_s));
    QStringList e = printed(u"E"_s).allLines();
    QVERIFY(joined(e).contains(u" ÖDEYEREK,"_s));
    QVERIFY(e.contains(u"1 KALEM, 3 ADET İLAÇ, 2 ADET ENJEKTÖRÜ ALDIM."_s));
    QStringList h = printed(u"H"_s).allLines();
    QVERIFY(joined(h).contains(u" ÖDEDİM."_s));
    QVERIFY(!joined(h).contains(u"ALDIM"_s));
    QStringList k = printed(u"K"_s).allLines();
    QVERIFY(joined(k).contains(u" ÖDEDİM."_s));
    QVERIFY(k.contains(u"1 KALEM, 3 ADET İLAÇ ALDIM."_s));  // the receipt line ended after the quantity
    // ILACVARMI "H": no product heading and no product lines.
    const QString none = joined(printed(QString(), false).allLines());
    QVERIFY(!none.contains(u"İlacın Adı"_s));
    QVERIFY(!none.contains(u"PAROL 500 MG"_s));
    QVERIFY(none.contains(u"Net Tutar"_s));
}

void TstBackPrint::definedWarnings()
{
    Fixture f;
    f.institution(u"ES"_s, 10, 20);
    const double sale = f.prescription(u"ES"_s, u"E"_s, {{u"PAROL 500 MG"_s, 1, 10000, u"N"_s}});
    {
        TanimliLogic l(f.session, QString(), QString(), QString(), sale);
        l.preview();
        l.print();
        QCOMPARE(f.prompter.texts(), (QStringList{u"RECETE TANIMLAyı kullanarak önce rapor tanımlayın"_s,
                                                  u"RECETE TANIMı kullanarak önce rapor tanımlayın"_s}));
        QVERIFY(f.printing.jobs().empty());
        // "Reçete Tanımla" opens the companion's editor and reads the layout again.
        BackPrintLayout layout;
        layout.institution = u"ES"_s;
        layout.patientType = u"E"_s;
        layout.fields[0] = {u"x"_s, u"Garip"_s, u"DROP TABLE"_s, 20};
        layout.fields[1] = {u"Net"_s, u"Net Tutar"_s, u"NET"_s, 25};
        layout.columns[0] = {u"y"_s, u"Olmayan"_s, u"YOKALAN"_s, 20};
        f.companion.onCall(u"TanimlaRecete"_s, [&](const FakeCompanion::Call&) {
            saveLayout(f.t.db(), layout);
            return QVariant();
        });
        l.defineLayout();
        QVERIFY(l.layout().has_value());
        QCOMPARE(l.unknownDataNames(), (QStringList{u"DROP TABLE"_s, u"YOKALAN"_s}));
        f.prompter.clear();
        l.print();
        QCOMPARE(f.prompter.texts(),
                 QStringList{u"Reçete arkası tanımında bilinmeyen alanlar yazılmayacak: DROP TABLE, YOKALAN"_s});
        QCOMPARE(f.printing.jobs().size(), size_t(1));
        const QString text = joined(f.printing.lastJob().document.allLines());
        QVERIFY(text.contains(u"Net Tutar"_s));
        QVERIFY(text.contains(u"Garip"_s));
        QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM RECETE"_s).toInt(), 1);
    }
}

// The demo pharmacy's prescriptions agree with their sale lines, shares and counters.
void TstBackPrint::demoPrescriptionsAddUp()
{
    TestDb t(true);
    Database& db = t.db();
    QVERIFY(Sql::scalar(db, u"SELECT COUNT(*) FROM RECETE WHERE KURUMKOD = 'SSK' AND HASTATIP = 'Ç'"_s).toInt() >= 4);
    QVERIFY(Sql::scalar(db, u"SELECT COUNT(*) FROM RECETE WHERE BRUTH > 0"_s).toInt() > 0);
    QVERIFY(Sql::scalar(db, u"SELECT COUNT(*) FROM RECETE WHERE BRUTI > 0"_s).toInt() > 0);
    // The gross of every prescription is the sum of its prescription sale lines.
    QCOMPARE(Sql::scalar(db, u"SELECT COUNT(*) FROM RECETE r WHERE ABS(r.BRUTN + r.BRUTI + r.BRUTO + r.BRUTH + r.BRUTMR - "
                             u"(SELECT SUM(s.FIYAT * s.MIKTAR) FROM SATIS s WHERE s.SATISNO = r.SATISNO AND s.PARAKENDE = 'R')) > 0.001"_s)
                 .toInt(),
             0);
    // What the window would compute again for each.
    Sql q(db, u"SELECT KURUMKOD, HASTATIP, BRUTN, BRUTI, BRUTO, BRUTH, BRUTMR, HASTAKATPAY, NET FROM RECETE"_s);
    q.exec();
    while (q.next()) {
        const ShareResult r = computeShares({q.number(2), q.number(3), q.number(4), q.number(5), q.number(6)},
                                            loadInstitution(db, q.text(0)), q.text(1));
        QCOMPARE(q.number(7), r.share());
        QCOMPARE(q.number(8), r.net());
    }
    QCOMPARE(Sql::scalar(db, u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(),
             Sql::scalar(db, u"SELECT MAX(SATISNO) + 1 FROM SATIS"_s).toInt());
    QCOMPARE(Sql::scalar(db, u"SELECT COUNT(*) FROM RECETE WHERE RKDEFTERNO NOT LIKE '26%'"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(db, u"SELECT COUNT(*) FROM recarka"_s).toInt(), 3);
    QCOMPARE(Sql::scalar(db, u"SELECT ITHALYAZ FROM RECKASE WHERE KURUM = 'SSK' AND TIP = 'Ç'"_s).toInt(), 1);
    QCOMPARE(Sql::scalar(db, u"SELECT RAPITHAL FROM RECKASE WHERE KURUM = 'SSK' AND TIP = 'Ç'"_s).toString(), u"Rp ithal"_s);
}

QTEST_GUILESS_MAIN(TstBackPrint)
#include "tst_backprint.moc"
