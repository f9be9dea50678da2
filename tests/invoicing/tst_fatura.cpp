// Sale invoices: the line and total calculations, the discount entry, the printed form
// with its totals, rounding and words, the one-transaction store with its counters, the
// credit entry and its undoing, and the road from the sale window.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "invoicing/demo_invoices.h"
#include "invoicing/fatura_logic.h"
#include "platform/clock.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "sales/satis_logic.h"
#include "support/fake_companion.h"
#include "support/releasing_prompter.h"
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
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(14, 0))};
    FakeCompanion companion;
    RecordingPrintService printing;
    Session session{t.db(), prompter, clock};
    Fixture()
    {
        session.companion = &companion;
        session.print = &printing;
        companion.writeCreditEntries(t.db(), clock.now(), u"ECZACI"_s);
        Sql::run(t.db(), u"UPDATE KDV SET KDV1 = 1, KDV2 = 8, KDV3 = 18"_s);
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"MEB"_s}, {u"AD"_s, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s}, {u"ADR1"_s, u"Atatürk Bulvarı"_s},
                      {u"ADR2"_s, u"Kızılay"_s}, {u"ADR3"_s, u"ANKARA"_s}, {u"VERGIDAIRE"_s, u"MALTEPE"_s},
                      {u"VERGINO"_s, u"1234567890"_s}, {u"BORC"_s, 0.0}});
        Sql::run(t.db(), u"INSERT INTO SAYFA (FONTADI, FONTSTYLE, FONTSIZE, PRBICIMI, SAYFAGEN, SAYFAYUK, SAYFAISIM) "
                         u"VALUES ('Courier New', 'Normal', 10, 0, 210, 297, 'A4   (210mm x 297mm)')"_s);
        Sql::run(t.db(), u"INSERT INTO SAYFA (FONTADI) SELECT FONTADI FROM SAYFA"_s);
        Sql::run(t.db(), u"INSERT INTO SAYFA (FONTADI, FONTSIZE) VALUES ('Courier New', 10)"_s);
        insertRecord(t.db(), u"KORPARF"_s,
                     {{u"SAYFA_S"_s, 0}, {u"SAYFA_U"_s, 0}, {u"KR_S"_s, 20}, {u"KR_U"_s, 40}, {u"ADR1_S"_s, 20},
                      {u"ADR1_U"_s, 46}, {u"ADR2_S"_s, 20}, {u"ADR2_U"_s, 52}, {u"ADR3_S"_s, 20}, {u"ADR3_U"_s, 58},
                      {u"VERD_S"_s, 130}, {u"VERD_U"_s, 46}, {u"VERNO_S"_s, 130}, {u"VERNO_U"_s, 52}, {u"TRH_S"_s, 150},
                      {u"TRH_U"_s, 30}, {u"SUTB_S"_s, 15}, {u"SUTB_U"_s, 80}, {u"TOP_S"_s, 110}, {u"TOP_U"_s, 220},
                      {u"YAZI_S"_s, 20}, {u"YAZI_U"_s, 270}, {u"SIRA_U"_s, 10}, {u"URUNAD_U"_s, 90}, {u"MIK_U"_s, 15},
                      {u"BIRIMF_U"_s, 30}, {u"TUTAR_U"_s, 35}});
    }
    void line(int no, const QString& name, int quantity, double price, double vat, qint64 product = 0)
    {
        insertRecord(t.db(), u"SATEMP"_s,
                     {{u"SIRANO"_s, no}, {u"URUNAD"_s, name}, {u"URUNO"_s, product}, {u"MIKTAR"_s, quantity},
                      {u"FIYAT"_s, price}, {u"RECKOD"_s, u"N"_s}, {u"KDV"_s, vat}});
    }
    void twoLines()
    {
        line(1, u"PAROL 500 MG 20 TABLET"_s, 2, 10800, 8);
        line(2, u"VİTAMİN C 1000 MG"_s, 1, 11800, 18);
    }
    int count(const QString& sql) { return Sql::scalar(t.db(), sql).toInt(); }
    double value(const QString& sql) { return Sql::scalar(t.db(), sql).toDouble(); }
    // The texts of a printed page in drawing order.
    QStringList texts(int page = 0) const
    {
        QStringList r;
        for (const TextItem& i : printing.jobs().back().document.pages[size_t(page)].texts()) r << i.text;
        return r;
    }
    // The text drawn right after `label` (its amount on the same row).
    QString after(const QString& label) const
    {
        const QStringList all = texts();
        const int i = int(all.indexOf(label));
        return i >= 0 && i + 1 < all.size() ? all[i + 1] : QString();
    }
};

void fillBuyer(FaturaLogic& f)
{
    f.setField(u"KRMAD"_s, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s);
    f.setField(u"KRMKOD"_s, u"MEB"_s);
    f.setField(u"FATURANO"_s, u"A-000123"_s);
}

}  // namespace

class TstFatura : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linesAndTotalsOfTheWorkedExample();
    void discountEntry();
    void otherRatesAndEmptyList();
    void printedForm();
    void roundingAndWords();
    void secondPageRepeatsTheHeader();
    void saving();
    void heldCounterRetriesOrLeavesNothing();
    void creditEntryAndLeaving();
    void roadFromTheSaleWindow();
    void demoInvoices();
};

void TstFatura::linesAndTotalsOfTheWorkedExample()
{
    Fixture f;
    f.twoLines();
    FaturaLogic l(f.session);
    l.open(1, 0, 0);
    QCOMPARE(l.field(u"FATARIH"_s).toDate(), QDate(2026, 12, 9));
    l.discountPercentLeft(u"10"_s);
    const QList<InvoiceLine> lines = l.lines();
    QCOMPARE(lines[0].amount, 21600.0);
    QCOMPARE(lines[1].amount, 11800.0);
    QCOMPARE(lines[0].vatIn, 1600.0);
    QCOMPARE(lines[1].vatIn, 1800.0);
    QCOMPARE(lines[0].discount, 2000.0);
    QCOMPARE(lines[1].discount, 1000.0);
    QCOMPARE(lines[0].net, 19440.0);
    QCOMPARE(lines[1].net, 10620.0);
    QCOMPARE(l.number(u"BRUT"_s), 33400.0);
    QCOMPARE(l.number(u"TENZIL1"_s), 3400.0);
    QCOMPARE(l.number(u"TENZIL2"_s), 3000.0);
    QCOMPARE(l.subtotal(), 27000.0);
    QCOMPARE(l.number(u"KDV1"_s), 0.0);
    QCOMPARE(l.number(u"KDV2"_s), 1440.0);
    QCOMPARE(l.number(u"KDV3"_s), 1620.0);
    QCOMPARE(l.number(u"TOPKDV"_s), 3060.0);
    QCOMPARE(l.number(u"NET"_s), 30060.0);
}

void TstFatura::discountEntry()
{
    QCOMPARE(FaturaLogic::percentAsTyped(1250), 12.5);
    QCOMPARE(FaturaLogic::percentAsTyped(150), 1.5);
    QCOMPARE(FaturaLogic::percentAsTyped(12500), 12.5);
    QCOMPARE(FaturaLogic::percentAsTyped(99.99), 99.99);
    Fixture f;
    f.twoLines();
    FaturaLogic l(f.session);
    l.open(1, 0, 0);
    // An amount becomes a share of the gross, spread over the lines.
    l.discountAmountLeft(u"3.340"_s);
    QCOMPARE(l.number(u"INORAN2"_s), 10.0);
    QCOMPARE(l.number(u"TENZIL2"_s), 3000.0);
    l.discountPercentLeft(u"1250"_s);
    QCOMPARE(l.number(u"INORAN2"_s), 12.5);
    // An empty box changes nothing.
    l.discountPercentLeft(QString());
    QCOMPARE(l.number(u"INORAN2"_s), 12.5);
}

void TstFatura::otherRatesAndEmptyList()
{
    Fixture f;
    FaturaLogic l(f.session);
    l.open(1, 0, 0);
    for (const char* field : {"BRUT", "TENZIL1", "TENZIL2", "TOPKDV", "NET", "KDV1", "KDV2", "KDV3"})
        QCOMPARE(l.number(QString::fromLatin1(field)), 0.0);
    // Without a gross, a discount amount gives no percentage and no division by zero.
    l.discountAmountLeft(u"500"_s);
    QCOMPARE(l.number(u"INORAN2"_s), 0.0);
    QCOMPARE(l.number(u"TENZIL2"_s), 0.0);
    // A line at 5 % is in no VAT sum: TOPKDV is below the lines' VAT.
    f.twoLines();
    f.line(3, u"BEBEK MAMASI"_s, 1, 10500, 5);
    l.computeTotals();
    const QList<InvoiceLine> lines = l.lines();
    double lineVat = 0;
    for (const InvoiceLine& x : lines) lineVat += x.vatAfter;
    QCOMPARE(l.number(u"TOPKDV"_s), 3400.0);
    QVERIFY(l.number(u"TOPKDV"_s) < lineVat);
}

void TstFatura::printedForm()
{
    Fixture f;
    f.twoLines();
    FaturaLogic l(f.session);
    l.open(1, 0, 0);
    fillBuyer(l);
    l.setField(u"ADR1"_s, u"Atatürk Bulvarı"_s);
    l.setField(u"VERGIDAIRE"_s, u"MALTEPE"_s);
    l.discountPercentLeft(u"10"_s);
    QVERIFY(l.print());
    QVERIFY(l.field(u"KES"_s).toBool());
    QCOMPARE(f.printing.jobs().size(), size_t(1));
    const RecordingPrintService::Job& job = f.printing.jobs().back();
    QCOMPARE(job.document.title, u"Fatura"_s);
    QVERIFY(job.askedPrinter);
    const QStringList texts = f.texts();
    for (const QString& t : {u"1"_s, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s, u"Atatürk Bulvarı"_s, u"09.12.2026"_s, u"MALTEPE"_s,
                             u"PAROL 500 MG 20 TABLET"_s, u"1 "_s, u"2"_s, u"_____________"_s})
        QVERIFY2(texts.contains(t), qPrintable(t));
    QCOMPARE(f.after(u"Toplam :"_s), u"33.400 TL"_s);
    QCOMPARE(f.after(u"K.D.V. ;İndirimi:"_s), u"3.400 TL"_s);
    QCOMPARE(f.after(u"Ara Toplam :"_s), u"30.000 TL"_s);
    QCOMPARE(f.after(u"( % 10,00) İskonto :"_s), u"3.000 TL"_s);
    QCOMPARE(f.after(u"Ara Toplam:"_s), u"27.000 TL"_s);
    QCOMPARE(f.after(u"K.D.V %   8    "_s), u"1.440 TL"_s);
    QCOMPARE(f.after(u"K.D.V %   18   "_s), u"1.620 TL"_s);
    QVERIFY(!texts.join(u'|').contains(u"K.D.V.: %"_s));  // nothing at the first rate
    QCOMPARE(f.after(u"Toplam K.D.V:"_s), u"3.060 TL"_s);
    QCOMPARE(f.after(u"Toplam:"_s), u"30.060 TL"_s);
    QCOMPARE(f.after(u"Yuvarlama Farkı : -"_s), u"60 TL"_s);
    QCOMPARE(f.after(u"Net Toplam:"_s), u"30.000 TL"_s);
    QVERIFY(texts.contains(u"YALNIZ OTUZBİN TL. DİR."_s));
    // Positions from the layout: millimetres times the page's pixels per 10 mm.
    const DocumentPage& page = job.document.pages[0];
    const int fx = job.document.format.pixels.width() * 10 / int(job.document.format.millimetres.width());
    const int fy = job.document.format.pixels.height() * 10 / int(job.document.format.millimetres.height());
    auto item = [&](const QString& text) {
        for (const TextItem& i : page.texts())
            if (i.text == text) return i;
        return TextItem{};
    };
    QCOMPARE(item(u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s).x, 20 * fx / 10);
    QCOMPARE(item(u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s).y, 40 * fy / 10);
    QCOMPARE(item(u"PAROL 500 MG 20 TABLET"_s).x, 25 * fx / 10);
    QCOMPARE(item(u"Toplam :"_s).x, 110 * fx / 10);
    QCOMPARE(item(u"Toplam :"_s).y, 220 * fy / 10);
    QCOMPARE(item(u"YALNIZ OTUZBİN TL. DİR."_s).y, 270 * fy / 10);
    // A cancelled print dialog prints nothing and leaves the tick alone.
    l.setField(u"KES"_s, false);
    f.printing.answerPrintDialog(false);
    QVERIFY(!l.print());
    QVERIFY(!l.field(u"KES"_s).toBool());
    // Without its layout row nothing is printed and the window says so.
    Sql::run(f.t.db(), u"DELETE FROM KORPARF"_s);
    QVERIFY(!l.print());
    QCOMPARE(f.prompter.texts().last(), u"Fatura Sayfa Düzeni Tanımlı Değil."_s);
}

void TstFatura::roundingAndWords()
{
    Fixture f;
    FaturaLogic l(f.session);
    l.open(1, 0, 0);
    fillBuyer(l);
    l.setField(u"NET"_s, 1234567.40);
    l.setRoundDigits(3);
    QCOMPARE(l.roundedNet(), 1234000.0);
    InvoiceLayout layout;
    Sql q(f.t.db(), u"SELECT * FROM KORPARF"_s);
    q.exec();
    QVERIFY(q.next());
    for (int i = 0; i < q.columnCount(); ++i) layout.mm.insert(q.columnName(i).toUpper(), q.value(i));
    auto draw = [&] {
        std::unique_ptr<Canvas> c = f.printing.beginJob(u"Fatura"_s, PageSetup(), false);
        l.drawInvoice(*c, layout);
        c->endDocument();
    };
    draw();
    QCOMPARE(f.after(u"Toplam:"_s), u"1.234.567,40 TL"_s);
    QCOMPARE(f.after(u"Yuvarlama Farkı : -"_s), u"567,40 TL"_s);
    QCOMPARE(f.after(u"Net Toplam:"_s), u"1.234.000 TL"_s);
    QVERIFY(f.texts().contains(u"YALNIZ BİRMİLYONİKİYÜZOTUZDÖRTBİN TL. DİR."_s));
    // n = 0: the net as it is, no rounding rows.
    l.setRoundDigits(0);
    draw();
    QVERIFY(!f.texts().contains(u"Yuvarlama Farkı : -"_s));
    QCOMPARE(f.after(u"Net Toplam:"_s), u"1.234.567,40 TL"_s);
    // n = 5 on a net of four digits: printed unrounded, no difference.
    l.setField(u"NET"_s, 4500.0);
    l.setRoundDigits(5);
    draw();
    QVERIFY(!f.texts().contains(u"Yuvarlama Farkı : -"_s));
    QCOMPARE(f.after(u"Net Toplam:"_s), u"4.500 TL"_s);
    QVERIFY(f.texts().contains(u"YALNIZ DÖRTBİNBEŞYÜZ TL. DİR."_s));
}

void TstFatura::secondPageRepeatsTheHeader()
{
    Fixture f;
    for (int i = 1; i <= 40; ++i) f.line(i, u"ÜRÜN "_s + QString::number(i), 1, 1000, 8);
    FaturaLogic l(f.session);
    l.open(1, 0, 0);
    fillBuyer(l);
    QVERIFY(l.print());
    const Document& doc = f.printing.jobs().back().document;
    QCOMPARE(doc.pages.size(), size_t(2));
    QCOMPARE(doc.pages[1].texts()[0].text, u"Sayfa No :2"_s);
    QCOMPARE(doc.pages[1].texts()[0].x, 0);
    QCOMPARE(doc.pages[1].texts()[1].text, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s);
    QStringList second;
    for (const TextItem& i : doc.pages[1].texts()) second << i.text;
    QVERIFY(second.contains(u"ÜRÜN 40"_s));
    QVERIFY(!f.texts(0).contains(u"ÜRÜN 40"_s));
}

void TstFatura::saving()
{
    Fixture f;
    f.twoLines();
    Sql::run(f.t.db(), u"UPDATE FATKAYIT SET NEWFATNO = 7"_s);
    Sql::run(f.t.db(), u"UPDATE NEWSATIS SET YENISATISNO = 40"_s);
    FaturaLogic l(f.session);
    l.open(1, 0, 0);
    // Name and number are required.
    QCOMPARE(l.store(), FaturaLogic::StoreResult::Stopped);
    QCOMPARE(f.prompter.texts(), QStringList{u"Lütfen Fatura Bilgilerini Tam  Verin"_s});
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 0);
    fillBuyer(l);
    QCOMPARE(l.store(), FaturaLogic::StoreResult::Stored);
    QCOMPARE(l.result(), 40.0);
    QCOMPARE(f.value(u"SELECT FATNO FROM FATURA"_s), 7.0);
    QCOMPARE(f.value(u"SELECT NEWFATNO FROM FATKAYIT"_s), 8.0);
    QCOMPARE(f.value(u"SELECT YENISATISNO FROM NEWSATIS"_s), 41.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT FATURANO FROM FATURA"_s).toString(), u"A-000123"_s);
    QCOMPARE(f.value(u"SELECT BRUT FROM FATURA"_s), 33400.0);
    // An old sale being invoiced keeps its number; the sale counter stays.
    FaturaLogic old(f.session);
    old.open(1, 12, 0);
    fillBuyer(old);
    QCOMPARE(old.store(), FaturaLogic::StoreResult::Stored);
    QCOMPARE(old.result(), 12.0);
    QCOMPARE(f.value(u"SELECT YENISATISNO FROM NEWSATIS"_s), 41.0);
    QCOMPARE(f.value(u"SELECT NEWFATNO FROM FATKAYIT"_s), 9.0);
    // A correction takes no number and logs the old net.
    FaturaLogic fix(f.session);
    fix.open(0, 40, 7);
    QCOMPARE(fix.text(u"FATURANO"_s), u"A-000123"_s);
    fix.discountPercentLeft(u"10"_s);
    QCOMPARE(fix.store(), FaturaLogic::StoreResult::Stored);
    QCOMPARE(fix.result(), 40.0);
    QCOMPARE(f.value(u"SELECT NEWFATNO FROM FATKAYIT"_s), 9.0);
    QCOMPARE(f.value(u"SELECT NET FROM FATURA WHERE FATNO = 7"_s), 30060.0);
    Sql p(f.t.db(), u"SELECT ACIKLA, ISLETNO, TUTAR FROM PROSES WHERE ISLETIPI = 'Prk.Fat.Düzelt'"_s);
    p.exec();
    QVERIFY(p.next());
    QCOMPARE(p.text(0), u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s);
    QCOMPARE(p.number(1), 40.0);
    QCOMPARE(p.number(2), 33400.0);
}

void TstFatura::heldCounterRetriesOrLeavesNothing()
{
    qputenv("SELVAR_LOCK_WAIT_MS", "50");
    Fixture f;
    qunsetenv("SELVAR_LOCK_WAIT_MS");
    f.twoLines();
    {
        // OK after the other workstation finished: stored.
        ReleasingPrompter prompter;
        Session session(f.t.db(), prompter, f.clock);
        FaturaLogic l(session);
        l.open(1, 0, 0);
        fillBuyer(l);
        auto other = f.t.second();
        auto tx = holdCounters(*other);
        prompter.release = [&] { tx->commit(); };
        QCOMPARE(l.store(), FaturaLogic::StoreResult::Stored);
        QCOMPARE(prompter.texts, QStringList{CounterBusyMessage});
        QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 1);
    }
    {
        // The retry box closed: nothing written, no counter moved.
        FaturaLogic l(f.session);
        l.open(1, 0, 0);
        fillBuyer(l);
        const double fat = f.value(u"SELECT NEWFATNO FROM FATKAYIT"_s), sale = f.value(u"SELECT YENISATISNO FROM NEWSATIS"_s);
        auto other = f.t.second();
        auto tx = holdCounters(*other);
        f.prompter.answer(Answer::Cancel);
        QVERIFY_THROWS_EXCEPTION(RetryRefused, l.store());
        tx->commit();
        QVERIFY(!l.stored());
        QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 1);
        QCOMPARE(f.value(u"SELECT NEWFATNO FROM FATKAYIT"_s), fat);
        QCOMPARE(f.value(u"SELECT YENISATISNO FROM NEWSATIS"_s), sale);
    }
}

void TstFatura::creditEntryAndLeaving()
{
    Fixture f;
    f.twoLines();
    const qint64 patient = insertRecord(f.t.db(), u"HASTA"_s, {{u"HASTADI"_s, u"Ayşe"_s}, {u"HASTASOYAD"_s, u"Kaya"_s}, {u"BORC"_s, 0.0}});
    {
        // No buyer code: nothing. A code without a card: the two warnings.
        FaturaLogic l(f.session);
        l.open(1, 0, 0);
        l.creditEntry();
        QVERIFY(f.companion.callsOf(u"VeresiyeAc"_s).isEmpty());
        l.setField(u"KRMKOD"_s, u"YOK"_s);
        l.setField(u"KRMAD"_s, u"BİLİNMEYEN"_s);
        l.creditEntry();
        QCOMPARE(f.prompter.texts(), (QStringList{u"BİLİNMEYEN Cari Adının Kartlarda Kaydı Yok."_s,
                                                  u"Veresiye İşlemi için Önce Cari Kodunu Cari Kartına Karşılklıklar "
                                                  u"Önlemek için Kaydetmeniz Gerekir."_s}));
        QVERIFY(f.companion.callsOf(u"VeresiyeAc"_s).isEmpty());
    }
    {
        // A patient: mode 1 then 0; leaving gives the debt back and deletes the movement.
        FaturaLogic l(f.session);
        l.open(1, 0, 0);
        QVERIFY(l.choosePatient() == false);  // nothing chosen
        f.companion.answer(u"BrHastaCreate"_s, patient);
        QVERIFY(l.choosePatient());
        QCOMPARE(l.text(u"KRMKOD"_s), QString::number(patient));
        QCOMPARE(l.text(u"KRMAD"_s), u"Ayşe Kaya"_s);
        l.creditEntry();
        QVERIFY(l.creditEntryNo() > 0);
        QCOMPARE(f.value(u"SELECT BORC FROM HASTA WHERE HASTANO = "_s + QString::number(patient)), 33400.0);
        l.creditEntry();
        const auto calls = f.companion.callsOf(u"VeresiyeAc"_s);
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[0].args[1].toString(), u"09.12.2026 Tarihli Faturalı Satışın"_s);
        QCOMPARE(calls[0].args[2].toInt(), 1);
        QCOMPARE(calls[1].args[1].toString(), u"09.12.2026Tarihli Faturalı Satışın"_s);
        QCOMPARE(calls[1].args[2].toInt(), 0);
        QCOMPARE(calls[1].args[4].toDouble(), l.creditEntryNo());
        l.closing();
        QCOMPARE(f.value(u"SELECT BORC FROM HASTA WHERE HASTANO = "_s + QString::number(patient)), 0.0);
        QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 0);
    }
    {
        // An institution, stored: the movement takes the sale number and stays.
        FaturaLogic l(f.session);
        l.open(1, 0, 0);
        f.companion.answer(u"BrKurumCreate"_s, u"MEB"_s);
        QVERIFY(l.chooseInstitution());
        QCOMPARE(l.text(u"KRMAD"_s), u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s);
        QCOMPARE(l.text(u"VERGINO"_s), u"1234567890"_s);
        l.setField(u"FATURANO"_s, u"A-1"_s);
        l.creditEntry();
        QCOMPARE(l.store(), FaturaLogic::StoreResult::Stored);
        l.closing();
        QCOMPARE(f.value(u"SELECT ALSATNO FROM HAREKET"_s), l.result());
        QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'MEB'"_s), 33400.0);
        // Its correction records the credit in mode 3 with the sale number.
        FaturaLogic fix(f.session);
        fix.open(0, l.result(), l.number(u"FATNO"_s));
        fix.creditEntry();
        const auto calls = f.companion.callsOf(u"VeresiyeAc"_s);
        QCOMPARE(calls.last().args[2].toInt(), 3);
        QCOMPARE(calls.last().args[4].toDouble(), l.result());
        // Leaving an institution's unsaved credit entry gives its debt back.
        FaturaLogic other(f.session);
        other.open(1, 0, 0);
        f.companion.answer(u"BrKurumCreate"_s, u"MEB"_s);
        other.chooseInstitution();
        const double before = f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'MEB'"_s);
        other.creditEntry();
        other.closing();
        QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'MEB'"_s), before);
    }
}

void TstFatura::roadFromTheSaleWindow()
{
    Fixture f;
    const qint64 parol = addProduct(f.t.db(), u"PAROL 500 MG 20 TABLET"_s, 10800, 30);
    SaleWindowLinks links;
    links.faturaKayitAc = [&](int mode, double saleNo, double invoiceNo, const LinesRecorder& record) {
        FaturaLogic l(f.session);
        l.open(mode, saleNo, invoiceNo);
        fillBuyer(l);
        l.setLinesRecorder(record);
        l.store();
        return l.result();
    };
    SatisLogic sale(f.session, nullptr, links);
    sale.Giris();
    f.line(1, u"PAROL 500 MG 20 TABLET"_s, 2, 10800, 8, parol);
    sale.recomputeTotal();
    sale.faturaKayit();
    const double number = f.value(u"SELECT SATISNO FROM FATURA"_s);
    QVERIFY(number > 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS WHERE PARAKENDE = 'F' AND SATISNO = "_s + QString::number(number)), 1);
    QCOMPARE(f.value(u"SELECT MIKTAR FROM URUN WHERE ILACNO = "_s + QString::number(parol)), 28.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK WHERE ALSATNO = "_s + QString::number(number)), 1);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATEMP"_s), 0);

    // An old prescription sale invoiced as well: the prescription row gets the invoice.
    Sql::run(f.t.db(), u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                       u"VALUES (90, 1, '2026-12-01 10:00:00.000', :p, 10800, 1, 8, 'N', 'R')"_s,
             {{u"p"_s, parol}});
    insertRecord(f.t.db(), u"RECETE"_s, {{u"SATISNO"_s, 90.0}, {u"RKDEFTERNO"_s, u"260000001"_s}, {u"NET"_s, 10800.0}});
    links.chooseOldRecordKind = [] { return QChar(u'R'); };
    f.session.OldSalesAllowed = true;
    SatisLogic again(f.session, nullptr, links);
    again.Giris();
    f.companion.answer(u"BrReceteCreate"_s, 90.0);
    again.eskiSatislar();
    f.prompter.answers({Answer::Yes});
    again.faturaKayit();
    QVERIFY(f.prompter.texts().contains(u"Eski Reçete Kaydı ayrıca Faturalılaştırılsın mı?"_s));
    Sql r(f.t.db(), u"SELECT FATNO, FATURANO, FATARIH FROM RECETE WHERE SATISNO = 90"_s);
    r.exec();
    QVERIFY(r.next());
    QCOMPARE(r.number(0), f.value(u"SELECT FATNO FROM FATURA WHERE SATISNO = 90"_s));
    QCOMPARE(r.text(1), u"A-000123"_s);
    QCOMPARE(r.date(2), QDate(2026, 12, 9));
    QCOMPARE(f.value(u"SELECT COUNT(*) FROM SATIS WHERE SATISNO = 90 AND PARAKENDE = 'E'"_s), 1.0);
}

void TstFatura::demoInvoices()
{
    // The demo's invoices go through the sale window's and the invoice window's code.
    TestDb t(true);
    addDemoInvoices(t.db(), QDate(2026, 12, 9));
    QCOMPARE(Sql::scalar(t.db(), u"SELECT COUNT(*) FROM FATURA"_s).toInt(), 3);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT COUNT(*) FROM FATURA f WHERE NOT EXISTS (SELECT 1 FROM SATIS s WHERE "
                                 u"s.SATISNO = f.SATISNO AND s.PARAKENDE = 'F')"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT COUNT(*) FROM HAREKET h JOIN FATURA f ON f.SATISNO = h.ALSATNO "
                                 u"WHERE h.CARIKOD = 'BK'"_s).toInt(), 1);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT COUNT(*) FROM SATEMP"_s).toInt(), 0);
}

QTEST_MAIN(TstFatura)
#include "tst_fatura.moc"
