// SSK invoices: the VAT of a line's institution share, the group's contribution and
// discount, the recording against the institution (header, movement, balance, marks),
// its correction and deletion, two workstations on the same month, and the printouts.
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "core/format.h"
#include "data/table.h"
#include "invoicing/kesfat_ssk_logic.h"
#include "invoicing/ssk_invoice_logic.h"
#include "platform/clock.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "print/print_service.h"
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
    RecordingPrintService printing;
    Session session{t.db(), prompter, clock};
    QString choice = u"200"_s;
    QStringList diskette;
    explicit Fixture(bool demo = false) : t(demo)
    {
        session.print = &printing;
        if (demo) return;
        Sql::run(t.db(), u"UPDATE KDV SET KDV1 = 1, KDV2 = 8, KDV3 = 18"_s);
        insertRecord(t.db(), u"KRMLAR"_s,
                     {{u"KOD"_s, u"SSK"_s}, {u"AD"_s, u"SOSYAL SİGORTALAR KURUMU"_s}, {u"ADR1"_s, u"Ziya Gökalp Cad."_s},
                      {u"ADR2"_s, u"Kızılay"_s}, {u"ADR3"_s, u"ANKARA"_s}, {u"VERGIDAIRE"_s, u"KAVAKLIDERE"_s},
                      {u"VERGINO"_s, u"7770001112"_s}, {u"BORC"_s, 0.0}, {u"HSP_ISKON"_s, u"0"_s},
                      {u"ILACLARDAKURUM"_s, 10.0}, {u"ILACBERABERKURUM"_s, 5.0}, {u"OZELKATILIMKURUM"_s, 20.0},
                      {u"ILACLARDACALISAN"_s, 20.0}, {u"ILACBERABERCALISAN"_s, 10.0}, {u"OZELKATILIMCALISAN"_s, 30.0},
                      {u"ILACLARDAEMEKLI"_s, 10.0}, {u"ILACBERABEREMEKLI"_s, 5.0}, {u"OZELKATILIMEMEKLI"_s, 15.0},
                      {u"ILACLARDARAPYAT"_s, 4.0}, {u"ILACBERABERRAPYAT"_s, 3.0}, {u"OZELKATILIMRAPYAT"_s, 2.0},
                      {u"FATYUVAR"_s, 0}});
        for (int i = 0; i < 2; ++i)
            Sql::run(t.db(), u"INSERT INTO SAYFA (FONTADI, FONTSTYLE, FONTSIZE, PRBICIMI, SAYFAGEN, SAYFAYUK, SAYFAISIM) "
                             u"VALUES ('Courier New', 'Normal', 10, 0, 210, 297, 'A4   (210mm x 297mm)')"_s);
        for (int top2 : {25, 99})
            insertRecord(t.db(), u"KOORFAT"_s,
                         {{u"SAYFA_S"_s, 0}, {u"SAYFA_U"_s, 0}, {u"KR_S"_s, 20}, {u"KR_U"_s, 35}, {u"ADR1_S"_s, 20},
                          {u"ADR1_U"_s, 41}, {u"ADR2_S"_s, 20}, {u"ADR2_U"_s, 47}, {u"ADR3_S"_s, 20}, {u"ADR3_U"_s, 53},
                          {u"VERD_S"_s, 130}, {u"VERD_U"_s, 41}, {u"VERNO_S"_s, 130}, {u"VERNO_U"_s, 47},
                          {u"TRH_S"_s, 150}, {u"TRH_U"_s, 25}, {u"SUTB_S"_s, 10}, {u"SUTB_U"_s, 75}, {u"SIRA_U"_s, 10},
                          {u"ADETR_U"_s, 60}, {u"BAS1_U"_s, 25}, {u"BAS2_U"_s, 25}, {u"BAS3_U"_s, 25}, {u"TOP1_U"_s, 25},
                          {u"TOP2_U"_s, top2}, {u"TOP3_U"_s, 25}, {u"YAZI_S"_s, 20}, {u"YAZI_U"_s, 275}});
    }
    // A prescription of SSK with its SSK row and one sale line per gross category.
    void prescription(double sale, double n, double i, double o, const QString& status = u"1"_s,
                      const QString& relation = u"0"_s, const QString& name = u"Ali"_s, int day = 10)
    {
        insertRecord(t.db(), u"RECETE"_s,
                     {{u"RKDEFTERNO"_s, QString::number(qint64(sale))}, {u"KURUMKOD"_s, u"SSK"_s}, {u"SATISNO"_s, sale},
                      {u"RECTARIH"_s, QDate(2026, 11, day)}, {u"ALTARIH"_s, QDate(2026, 11, day)}, {u"BRUTN"_s, n},
                      {u"BRUTI"_s, i}, {u"BRUTO"_s, o}, {u"SERINO"_s, u"A"_s + QString::number(qint64(sale))}});
        insertRecord(t.db(), u"RECSSK"_s,
                     {{u"SATISNO"_s, sale}, {u"SICILNO"_s, u"4411223"_s}, {u"DURUM_KOD"_s, status},
                      {u"YAKINLIK_KOD"_s, relation}, {u"RS_AD"_s, name}, {u"RS_SOYAD"_s, u"Demir"_s},
                      {u"HASTALIK"_s, u"0"_s}});
        int line = 0;
        for (const auto& [amount, type] : {std::pair{n, u"N"_s}, std::pair{i, u"I"_s}, std::pair{o, u"O"_s}})
            if (amount > 0)
                insertRecord(t.db(), u"SATIS"_s,
                             {{u"SATISNO"_s, sale}, {u"SIRANOURUN"_s, ++line}, {u"ILACNO"_s, 1}, {u"FIYAT"_s, amount},
                              {u"MIKTAR"_s, 1}, {u"KDV"_s, 8.0}, {u"RECETETIP"_s, type}, {u"PARAKENDE"_s, u"R"_s},
                              {u"SATARIH"_s, QDateTime(QDate(2026, 11, day), QTime(10, 0))}});
    }
    void twoPrescriptions()
    {
        prescription(101, 100000, 20000, 50000);
        prescription(102, 50000, 0, 0, u"1"_s, u"0"_s, u"Veli"_s, 12);
    }
    HazirFatSskLogic::Links links()
    {
        HazirFatSskLogic::Links l;
        l.choosePrintout = [this] { return choice; };
        l.diskette = [this](QChar g, const QString& code, double no) {
            diskette << QString(g) << code << QString::number(no);
        };
        return l;
    }
    KesFatSskLogic kesfat(std::function<void(const QString&, double)> open = {})
    {
        KesFatSskLogic::Links l;
        l.askRange = [](const QDate& a, const QDate& b, const QString&) { return std::optional{std::pair{a, b}}; };
        l.openInvoice = std::move(open);
        return KesFatSskLogic(session, u"SSK"_s, l);
    }
    double value(const QString& sql, const QVariantMap& p = {}) { return Sql::scalar(t.db(), sql, p).toDouble(); }
    int count(const QString& sql) { return Sql::scalar(t.db(), sql).toInt(); }
    QStringList texts(int page = 0) const
    {
        QStringList r;
        for (const TextItem& i : printing.jobs().back().document.pages[size_t(page)].texts()) r << i.text;
        return r;
    }
    // Records the invoice of group 2 through "Fatura Ve Döküm".
    double invoice(HazirFatSskLogic& l, const QString& number = u"77123456"_s)
    {
        l.invoiceAndPrint(number, u"30/11/2026"_s);
        return l.invoiceNo();
    }
};

}  // namespace

class TstSskInvoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineVatAndClasses();
    void vatPerPrescription();
    void groupSharesAndRecording();
    void shareFromGross();
    void roundingAndWords();
    void correctionAfterDropping();
    void deletionAndList();
    void twoWorkstations();
    void heldCounter();
    void messages();
    void repricedPrescriptionIsRefreshed();
    void invoiceLayout();
    void pageCarryOver();
    void listsLetterForLetter();
};

void TstSskInvoice::lineVatAndClasses()
{
    Fixture f;
    Institution inst = loadInstitution(f.t.db(), u"SSK"_s);
    QCOMPARE(QString::number(sskLineVat(inst, 50000, 1, u"O"_s, 8, u"1"_s), 'f', 2), u"2074.07"_s);
    // A status outside 1..8 has no patient rate: only the institution's discount.
    QCOMPARE(QString::number(sskLineVat(inst, 50000, 1, u"O"_s, 8, u"9"_s), 'f', 2), u"2962.96"_s);
    inst.shareFromGross = true;
    QCOMPARE(QString::number(sskLineVat(inst, 50000, 1, u"O"_s, 8, u"1"_s), 'f', 2), u"1851.85"_s);
    QCOMPARE(sskStatusClass(u"3"_s), u"Ç"_s);
    QCOMPARE(sskStatusClass(u"2"_s), u"E"_s);
    QCOMPARE(sskStatusClass(u"7"_s), u"R"_s);
    QCOMPARE(sskStatusClass(u"9"_s), QString());
    QCOMPARE(sskGroupClass(u'5'), u"E"_s);
    QCOMPARE(sskGroupClass(u'6'), u"R"_s);
    QCOMPARE(sskGroupClass(u'8'), u"R"_s);
    QCOMPARE(sskGroupClass(u'7'), u"Ç"_s);
    QCOMPARE(sskRelationText(u"3"_s, false), u"Erkek Çoc."_s);
    QCOMPARE(sskRelationText(u"4"_s, true), u"Kız Çocuk"_s);
    QCOMPARE(sskStatusText(u"6"_s), u"Muaf"_s);
    QCOMPARE(sskStatusText(u"4"_s), u"Yurdışı Sig."_s);
}

void TstSskInvoice::vatPerPrescription()
{
    Fixture f;
    f.prescription(101, 0, 0, 50000);
    f.prescription(102, 10000, 0, 0, u"1"_s, u"0"_s, u"Veli"_s, 12);
    // A rate none of the three of KDV.DB counts nowhere.
    Sql::run(f.t.db(), u"UPDATE SATIS SET KDV = 5 WHERE SATISNO = 102"_s);
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    QCOMPARE(QString::number(f.value(u"SELECT KDVB FROM FATSSK WHERE SATISNO = 101"_s), 'f', 2), u"2074.07"_s);
    QCOMPARE(f.value(u"SELECT KDVA + KDVB + KDVC FROM FATSSK WHERE SATISNO = 102"_s), 0.0);
    QCOMPARE(l.prescriptions().size(), 2);
    QCOMPARE(l.saleLines(101).first().type, u"O"_s);
}

void TstSskInvoice::groupSharesAndRecording()
{
    Fixture f;
    f.twoPrescriptions();
    f.prescription(103, 70000, 0, 0, u"2"_s);  // a pensioner: another group
    QCOMPARE(f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30)), 3);
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    QVERIFY(l.select(u"200"_s));
    QCOMPARE(l.selection().size(), 2);
    const SskPrescription& a = l.selection()[0];
    QCOMPARE(a.share[0], 18000.0);
    QCOMPARE(a.share[1], 1900.0);
    QCOMPARE(a.share[2], 12000.0);
    QCOMPARE(a.shareSum(), 31900.0);
    QCOMPARE(a.net, 117100.0);
    QCOMPARE(l.selection()[1].shareSum(), 9000.0);
    QCOMPARE(l.selection()[1].net, 36000.0);
    QCOMPARE(l.totals().net, 153100.0);

    QCOMPARE(f.invoice(l), 1.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 1);
    const QVariantMap h = readRecord(f.t.db(), u"FATURA"_s, findKeyRow(f.t.db(), u"FATURA"_s, {}, {1.0}));
    QCOMPARE(h.value(u"FATURANO"_s).toString(), u"77123456"_s);
    QCOMPARE(h.value(u"BRUT"_s).toDouble(), 220000.0);
    QCOMPARE(h.value(u"TENZIL1"_s).toDouble(), 26000.0);
    QCOMPARE(h.value(u"TENZIL2"_s).toDouble(), 40900.0);
    QCOMPARE(h.value(u"NET"_s).toDouble(), 153100.0);
    QCOMPARE(h.value(u"FAT_GRB"_s).toInt(), 3);
    QCOMPARE(h.value(u"RCTOPSAYISI"_s).toInt(), 2);
    QVERIFY(h.value(u"KES"_s).toBool());
    QCOMPARE(h.value(u"KRMAD"_s).toString(), u"SOSYAL SİGORTALAR KURUMU"_s);
    QCOMPARE(h.value(u"FATARIH"_s).toDate(), QDate(2026, 11, 30));
    QCOMPARE(f.value(u"SELECT NEWFATNO FROM FATKAYIT"_s), 2.0);
    // Both prescriptions carry the invoice and their own nets; the pensioner stays free.
    QCOMPARE(f.value(u"SELECT NET FROM RECETE WHERE SATISNO = 101 AND FATNO = 1 AND FATURANO = '77123456'"_s), 117100.0);
    QCOMPARE(f.value(u"SELECT HASTAKATPAY FROM RECETE WHERE SATISNO = 101"_s), 31900.0);
    QCOMPARE(f.value(u"SELECT NET FROM RECETE WHERE SATISNO = 102 AND FATNO = 1"_s), 36000.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE WHERE SATISNO = 103 AND FATNO IS NULL"_s), 1);
    // One open-account movement and the balance.
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 1);
    const QVariantMap m = readRecord(f.t.db(), u"HAREKET"_s, findKeyRow(f.t.db(), u"HAREKET"_s, u"ALSATNO_ALSAT"_s, {1.0, u"F"_s}));
    QCOMPARE(m.value(u"TUR"_s).toString(), u"K"_s);
    QCOMPARE(m.value(u"BORC"_s).toDouble(), 153100.0);
    QCOMPARE(m.value(u"NIHAI"_s).toInt(), 0);
    QCOMPARE(m.value(u"BILGI"_s).toString(), u"30.11.2026 Tarihli Kurum Faturası"_s);
    QCOMPARE(m.value(u"CARIKOD"_s).toString(), u"SSK"_s);
    QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 153100.0);
    QCOMPARE(f.printing.jobs().back().document.title, u"SSK Faturası"_s);
    // Printed and recorded, the VAT of the printout on the header.
    QCOMPARE(h.value(u"TOPKDV"_s).toDouble(),
             f.value(u"SELECT SUM(KDVA + KDVB + KDVC) FROM FATSSK WHERE SATISNO IN (101, 102)"_s));
}

void TstSskInvoice::shareFromGross()
{
    Fixture f;
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET HSP_ISKON = '1'"_s);
    f.twoPrescriptions();
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    QVERIFY(l.select(u"202"_s));
    QCOMPARE(l.selection()[0].shareSum(), 37000.0);
    QCOMPARE(l.selection()[0].net, 112000.0);
    // Group 6 takes the report rates, from the gross here: 4.000 + 600 + 1.000.
    QVERIFY(!l.select(u"600"_s));
    Sql::run(f.t.db(), u"UPDATE FATSSK SET DURUM_KOD = '6'"_s);
    QVERIFY(l.select(u"600"_s));
    QCOMPARE(l.selection()[0].shareSum(), 5600.0);
    QCOMPARE(l.selection()[0].net, 170000.0 - 21000.0 - 5600.0);
    // Group 8 selects by the illness mark, whatever the status.
    QVERIFY(!l.select(u"800"_s));
    Sql::run(f.t.db(), u"UPDATE FATSSK SET HASTALIK = '1' WHERE SATISNO = 102"_s);
    QVERIFY(l.select(u"800"_s));
    QCOMPARE(l.selection().size(), 1);
    QCOMPARE(l.selection()[0].saleNo, 102.0);
}

void TstSskInvoice::roundingAndWords()
{
    for (const auto& [digits, lines] : {std::pair{3, true}, std::pair{0, false}, std::pair{7, false}}) {
        Fixture f;
        Sql::run(f.t.db(), u"UPDATE KRMLAR SET FATYUVAR = :d"_s, {{u"d"_s, digits}});
        f.twoPrescriptions();
        f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
        HazirFatSskLogic l(f.session, f.links());
        l.open(u"SSK"_s, 0);
        f.invoice(l);
        const QStringList t = f.texts();
        QCOMPARE(t.contains(u"Yuvarlama Farkı :"_s), lines);
        if (lines) {
            QCOMPARE(t[t.indexOf(u"Yuvarlama Farkı :"_s) + 1], u"- 100 TL"_s);
            QCOMPARE(t[t.indexOf(u"TAM NET TOPLAM :"_s) + 1], u"153.000 TL"_s);
            QVERIFY(t.contains(u"YALNIZ YÜZELLİÜÇBİN TL. DİR."_s));
        } else {
            QVERIFY(t.contains(u"YALNIZ YÜZELLİÜÇBİNYÜZ TL. DİR."_s));
        }
        QCOMPARE(t[t.indexOf(u"NET TOPLAM:"_s) + 1], u"153.100 TL"_s);
        // The recorded net stays the computed one.
        QCOMPARE(f.value(u"SELECT NET FROM FATURA"_s), 153100.0);
    }
}

void TstSskInvoice::correctionAfterDropping()
{
    Fixture f;
    f.twoPrescriptions();
    auto k = f.kesfat();
    k.gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    {
        HazirFatSskLogic l(f.session, f.links());
        l.open(u"SSK"_s, 0);
        f.invoice(l);
    }
    // Reopened for correction: B is dropped, but stays on the recorded invoice until it
    // is recorded again.
    QCOMPARE(k.gatherInvoice(1), 2);
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 1);
    QCOMPARE(l.openingNumber(), u"77123456"_s);
    QCOMPARE(l.openingDate(), QDate(2026, 11, 30));
    const qint64 b = l.prescriptions()[1].value(u"ROWID"_s).toLongLong();
    f.prompter.answer(Answer::Yes);
    QVERIFY(l.dropPrescription(b));
    QCOMPARE(f.prompter.texts().last(), u"Bu Reçete Listeden Çıkarılsın mı?"_s);
    QCOMPARE(l.prescriptions().size(), 1);
    QCOMPARE(f.value(u"SELECT FATNO FROM RECETE WHERE SATISNO = 102"_s), 1.0);

    f.prompter.answer(Answer::Yes);  // replace the recorded invoice
    f.invoice(l);
    QVERIFY(f.prompter.saw(
        u"Bir Önceki Kestiğiniz Fatura İptal Edilip Şimdi Keseceğiniz Fatura Kaydedilecektir.Onaylıyor musunuz?"_s));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE WHERE SATISNO = 102 AND FATNO IS NULL AND FATURANO IS NULL"_s), 1);
    QCOMPARE(f.value(u"SELECT NET FROM FATURA WHERE FATNO = 1"_s), 117100.0);
    QCOMPARE(f.value(u"SELECT RCTOPSAYISI FROM FATURA WHERE FATNO = 1"_s), 1.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 1);
    QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 117100.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 1);
    QCOMPARE(f.value(u"SELECT BORC FROM HAREKET"_s), 117100.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Krm.Fat.Dzlt.' AND TUTAR = 153100 AND ISLETNO = 1"_s), 1);
    QCOMPARE(f.value(u"NEWFATNO"_s.prepend(u"SELECT "_s) + u" FROM FATKAYIT"_s), 2.0);

    // "No" to the replacement question: nothing changes.
    f.prompter.answer(Answer::No);
    f.invoice(l);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Krm.Fat.Dzlt.'"_s), 1);

    // An issued invoice whose movement went missing gets one again.
    Sql::run(f.t.db(), u"DELETE FROM HAREKET"_s);
    f.prompter.answer(Answer::Yes);
    f.invoice(l);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET WHERE ALSATNO = 1 AND ALSAT = 'F' AND BORC = 117100"_s), 1);
    QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 117100.0);
}

void TstSskInvoice::deletionAndList()
{
    Fixture f;
    f.twoPrescriptions();
    QList<double> opened;
    auto k = f.kesfat([&](const QString&, double no) { opened << no; });
    k.newInvoice();
    QCOMPARE(opened, QList<double>{0});
    {
        HazirFatSskLogic l(f.session, f.links());
        l.open(u"SSK"_s, 0);
        f.invoice(l);
    }
    // A sale invoice and an unprinted one are not listed.
    insertRecord(f.t.db(), u"FATURA"_s, {{u"FATNO"_s, 7.0}, {u"KRMKOD"_s, u"SSK"_s}, {u"KES"_s, true}, {u"NET"_s, 5.0}});
    insertRecord(f.t.db(), u"FATURA"_s,
                 {{u"FATNO"_s, 8.0}, {u"KRMKOD"_s, u"SSK"_s}, {u"KES"_s, false}, {u"RCTOPSAYISI"_s, 3}});
    const QList<IssuedSskInvoice> list = k.invoices();
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].number, u"77123456"_s);
    QCOMPARE(list[0].net, 153100.0);
    // Every prescription is invoiced: nothing to offer.
    f.prompter.clear();
    k.newInvoice();
    QCOMPARE(f.prompter.texts(), QStringList{u"SSKKurumuna ait Faturasız Reçete Yok"_s});
    k.correct(1);
    QCOMPARE(opened.last(), 1.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATSSK"_s), 2);
    f.prompter.clear();
    k.correct(5);
    QCOMPARE(f.prompter.texts(), QStringList{u"Bu Fatura Yok"_s});

    // The open movement asks with its number; No keeps everything.
    f.prompter.clear();
    f.prompter.answers({Answer::Yes, Answer::No});
    QVERIFY(!k.remove(1));
    QCOMPARE(f.prompter.texts(),
             (QStringList{u"Silme İşlemini Tasdiklyormusunuz?"_s,
                          u"Bu Faturanın Cari Hareketi Kapanmamış (Hrk No:1,00) !!! Buna Reğmen Fatura İptal Edilsin mi?"_s}));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA WHERE FATNO = 1"_s), 1);
    f.prompter.answers({Answer::Yes, Answer::Yes});
    QVERIFY(k.remove(1));
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA WHERE FATNO = 1"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 0);
    QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 0.0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE WHERE FATNO IS NULL AND FATURANO IS NULL AND FATARIH IS NULL"_s), 2);
    // Offered again under a new invoice.
    QCOMPARE(k.gatherUninvoiced(QDate(1, 1, 1), QDate(9998, 1, 1)), 2);
    f.prompter.clear();
    k.newInvoice();
    QCOMPARE(opened.last(), 0.0);
    QVERIFY(f.prompter.texts().isEmpty());
}

void TstSskInvoice::twoWorkstations()
{
    Fixture f;
    f.twoPrescriptions();
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    QVERIFY(l.select(u"200"_s));
    // Another workstation invoiced B meanwhile.
    auto other = f.t.second();
    Sql::run(*other, u"UPDATE RECETE SET FATNO = 9, FATURANO = '99' WHERE SATISNO = 102"_s);
    QVERIFY(!l.record(u"77123456"_s, QDate(2026, 11, 30)));
    QCOMPARE(f.prompter.texts().last(),
             u"102 Nolu Satışın Reçetesi Başka Bir Faturaya Dahil Edilmiş. Fatura Kaydedilmedi."_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE WHERE SATISNO = 101 AND FATNO IS NULL"_s), 1);
    QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 0.0);
    QCOMPARE(f.value(u"SELECT NEWFATNO FROM FATKAYIT"_s), 1.0);
    QCOMPARE(l.invoiceNo(), 0.0);
}

void TstSskInvoice::heldCounter()
{
    qputenv("SELVAR_LOCK_WAIT_MS", "50");
    Fixture f;
    qunsetenv("SELVAR_LOCK_WAIT_MS");
    f.twoPrescriptions();
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    ReleasingPrompter prompter;
    Session session(f.t.db(), prompter, f.clock);
    HazirFatSskLogic l(session, f.links());
    l.open(u"SSK"_s, 0);
    QVERIFY(l.select(u"200"_s));
    auto other = f.t.second();
    auto tx = holdCounters(*other);
    prompter.release = [&] { tx->commit(); };
    QVERIFY(l.record(u"77123456"_s, QDate(2026, 11, 30)));
    QCOMPARE(prompter.texts, QStringList{CounterBusyMessage});
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 1);
    QCOMPARE(f.value(u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 153100.0);
}

void TstSskInvoice::messages()
{
    Fixture f;
    f.twoPrescriptions();
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    for (const auto& [number, date] : {std::pair{u"        "_s, u"30/11/2026"_s}, std::pair{u"77123456"_s, u"  /  /    "_s},
                                        std::pair{u"77123456"_s, u"31/02/2026"_s}}) {
        f.prompter.clear();
        l.invoiceAndPrint(number, date);
        QCOMPARE(f.prompter.texts(), QStringList{u"Tarih veya Fatura No bilgisi verilmeden Fatura Kesilemez"_s});
    }
    f.prompter.clear();
    f.choice = u"700"_s;
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    QCOMPARE(f.prompter.texts(), QStringList{u"İlgi Döküme ait Kayıt Yok"_s});
    f.choice.clear();  // the choice cancelled
    f.prompter.clear();
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    QVERIFY(f.prompter.texts().isEmpty());
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 0);
    // The print dialog cancelled: nothing recorded.
    f.choice = u"200"_s;
    f.printing.answerPrintDialog(false);
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM FATURA"_s), 0);
    // The diskette wants a recorded invoice first.
    f.prompter.clear();
    l.diskette();
    QCOMPARE(f.prompter.texts(), QStringList{u"Lütfen Önce Fatura Kesiniz"_s});
    QVERIFY(f.diskette.isEmpty());
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    l.diskette();
    QCOMPARE(f.diskette, (QStringList{u"2"_s, u"SSK"_s, u"1"_s}));
    // Without a layout row before the last nothing prints and the form says why.
    Sql::run(f.t.db(), u"DELETE FROM KOORFAT WHERE TOP2_U = 25"_s);
    f.prompter.clear();
    f.prompter.answer(Answer::Yes);
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    QCOMPARE(f.prompter.texts().last(), u"Fatura Sayfa Düzeni Tanımlı Değil."_s);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM PROSES WHERE ISLETIPI = 'Krm.Fat.Dzlt.'"_s), 0);
}

void TstSskInvoice::repricedPrescriptionIsRefreshed()
{
    Fixture f;
    f.twoPrescriptions();
    const qint64 product = addProduct(f.t.db(), u"PAROL 500 MG 20 TABLET"_s, 60000);
    Sql::run(f.t.db(), u"UPDATE SATIS SET ILACNO = :p WHERE SATISNO = 102"_s, {{u"p"_s, product}});
    // The lines of A are at today's prices.
    for (int line = 1; line <= 3; ++line) {
        const double price = f.value(u"SELECT FIYAT FROM SATIS WHERE SATISNO = 101 AND SIRANOURUN = :l"_s, {{u"l"_s, line}});
        Sql::run(f.t.db(), u"UPDATE SATIS SET ILACNO = :p WHERE SATISNO = 101 AND SIRANOURUN = :l"_s,
                 {{u"p"_s, addProduct(f.t.db(), u"ÜRÜN "_s + QString::number(line), price)}, {u"l"_s, line}});
    }
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    QList<double> asked;
    HazirFatSskLogic::Links links = f.links();
    links.reevaluate = [&](double sale) {
        asked << sale;
        // What the repricing writes: the line and the header at the new price.
        Sql::run(f.t.db(), u"UPDATE SATIS SET FIYAT = 60000 WHERE SATISNO = :s"_s, {{u"s"_s, sale}});
        Sql::run(f.t.db(), u"UPDATE RECETE SET BRUTN = 60000 WHERE SATISNO = :s"_s, {{u"s"_s, sale}});
        return u"Devam"_s;
    };
    HazirFatSskLogic l(f.session, links);
    l.open(u"SSK"_s, 0);
    l.recheckPrices();
    QCOMPARE(asked, QList<double>{102});
    QCOMPARE(f.prompter.beeps, 1);
    QCOMPARE(f.value(u"SELECT BRUTN FROM FATSSK WHERE SATISNO = 102"_s), 60000.0);
    QCOMPARE(QString::number(f.value(u"SELECT KDVB FROM FATSSK WHERE SATISNO = 102"_s), 'f', 2), u"3200.00"_s);
    QVERIFY(l.select(u"200"_s));
    QCOMPARE(l.selection()[1].net, 43200.0);
}

void TstSskInvoice::invoiceLayout()
{
    Fixture f;
    f.twoPrescriptions();
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    f.invoice(l);
    QStringList t = f.texts();
    QVERIFY(t.contains(u"Sayfa No:1"_s));
    QVERIFY(t.contains(u"SOSYAL SİGORTALAR KURUMU"_s));
    QVERIFY(t.contains(u"30.11.2026"_s));
    QVERIFY(t.contains(u"İlaç Beraberi"_s));
    QVERIFY(t.contains(u"Ali Demir"_s));
    QCOMPARE(t[t.indexOf(u"TOPLAM :"_s) + 1], u"220.000 TL"_s);
    QCOMPARE(t[t.indexOf(u"TOPLAM :"_s) + 2], u"(150.000 TL +"_s);
    QVERIFY(t.contains(u"%10   + %5    + %20    İndirim :"_s));
    QVERIFY(t.contains(u"%20   + %10   + %30    Hasta Katılım Payı :"_s));
    QCOMPARE(t[t.indexOf(u"ARA TOPLAM :"_s) + 1], u"153.100 TL"_s);
    const QString vat = t.filter(u"KDV DAHİLDIR. ("_s).value(0);
    QVERIFY2(vat.startsWith(u"KDV DAHİLDIR. (%    1 :0 TL + %    8 :"_s), qPrintable(vat));
    QVERIFY(vat.endsWith(u" )"_s));
    // A layout whose second column is 0 leaves its title and its amounts out.
    Sql::run(f.t.db(), u"UPDATE KOORFAT SET TOP2_U = 0 WHERE TOP2_U = 25"_s);
    f.prompter.answer(Answer::Yes);
    f.invoice(l);
    t = f.texts();
    QVERIFY(!t.contains(u"İlaç Beraberi"_s));
    QVERIFY(!t.contains(u"1.900 TL"_s));
    QVERIFY(t.contains(u"12.000 TL"_s));
}

void TstSskInvoice::pageCarryOver()
{
    Fixture f;
    // As many prescriptions as one page holds rows (with this layout): the totals go
    // to a second page.
    for (int i = 0; i < 60; ++i) f.prescription(200 + i, 1000, 0, 0, u"1"_s, u"0"_s, u"Hasta"_s, 1 + i % 28);
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    QVERIFY(l.select(u"200"_s));
    RecordingPrintService probe;
    auto c = probe.beginJob(u"x"_s, PageSetup(), false);
    const int lh = c->textHeight(u"İŞĞÜyg"_s) + 5;
    const int fy = c->pageHeight() * 10 / c->physicalHeightMm();
    const int first = 75 * fy / 10 + lh, end = (c->physicalHeightMm() - 20) * fy / 10;
    const int fits = (end - first) / lh + 1;  // rows before the line passes the end
    Sql::run(f.t.db(), u"DELETE FROM FATSSK WHERE rowid NOT IN (SELECT rowid FROM FATSSK ORDER BY rowid LIMIT :n)"_s,
             {{u"n"_s, fits}});
    f.invoice(l);
    const Document& doc = f.printing.jobs().back().document;
    QCOMPARE(int(doc.pages.size()), 2);
    QStringList second;
    for (const TextItem& i : doc.pages[1].texts()) second << i.text;
    QVERIFY(second.contains(u"1.  Sayfadan Devir"_s));
    QVERIFY(second.contains(u"NET TOPLAM:"_s));
    QVERIFY(second.contains(u"Sayfa No:2"_s));
    QVERIFY(f.texts(0).contains(u"   Toplam:"_s));
    QCOMPARE(second[second.indexOf(u"1.  Sayfadan Devir"_s) + 1], moneyText(1000.0 * fits));
}

void TstSskInvoice::listsLetterForLetter()
{
    Fixture f(true);  // the demo pharmacy's settings
    Sql::run(f.t.db(), u"DELETE FROM RECETE"_s);
    Sql::run(f.t.db(), u"DELETE FROM RECSSK"_s);
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET HSP_ISKON = '0', ILACLARDAKURUM = 10, ILACBERABERKURUM = 5, "
                       u"OZELKATILIMKURUM = 20, ILACLARDACALISAN = 20, ILACBERABERCALISAN = 10, OZELKATILIMCALISAN = 30 "
                       u"WHERE KOD = 'SSK'"_s);
    f.prescription(101, 100000, 20000, 50000);
    Sql::run(f.t.db(), u"UPDATE RECSSK SET TAHSIS_DOSNO = '12345', MEMUNITNO = '210'"_s);
    insertRecord(f.t.db(), u"RECSSK_A"_s, {{u"SATISNO"_s, 101.0}, {u"SIRANOILAC"_s, 1}, {u"ILACNO"_s, 1}, {u"KUTUSAYISI"_s, 2}});
    f.kesfat().gatherUninvoiced(QDate(2026, 11, 1), QDate(2026, 11, 30));
    HazirFatSskLogic l(f.session, f.links());
    l.open(u"SSK"_s, 0);
    QVERIFY(l.select(u"210"_s));
    const QStringList h = l.listHeading();
    Sql e(f.t.db(), u"SELECT EADI, MESULAD, ECZKODU FROM EKIM"_s);
    e.exec();
    QVERIFY(e.next());
    QCOMPARE(h[0], format(u"%50s  REÇETE LİSTESİ"_s, e.text(0)));
    QCOMPARE(h[3], format(u"%-40s :%-s, %-d"_s, u"ECZACI ADI KODU"_s, e.text(1), int(e.integer(2))));
    QCOMPARE(h[7], u"REÇETE SAYISI                            :1"_s);
    QCOMPARE(h[8], u"TOPLAM İLAÇ KALEM ADEDİ                  :1 Kalem, 2 Kutu"_s);
    QCOMPARE(h[11], u"FATURA TOPLAM TUTARI                     :117.100         "_s);
    QCOMPARE(h[12], u"Sayın"_s);
    QCOMPARE(h.value(17), format(u"%43s"_s, u"Çalışan Reçeteleri,"_s));
    QCOMPARE(h.value(18), u" 10.11.2026 - 10.11.2026 Tarihleri Arası Reçete Listesi"_s);

    f.choice = u"210"_s;
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    QCOMPARE(f.printing.jobs().back().document.title, u"Reçete Listesi"_s);
    QStringList t = f.texts();
    QCOMPARE(t.value(0), u"Sayfa No:1"_s);
    QVERIFY2(t.contains(u"   1 Demir             Ali               4411223      /12345       Kendisi     210       10-11-26 A101"
                        u"             170.000        21.000        31.900"_s),
             qPrintable(t.join(u'\n')));

    f.choice = u"220"_s;
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    QCOMPARE(f.printing.jobs().back().document.title, u"SSK Reçete Arkası"_s);
    t = f.texts();
    QVERIFY2(t.contains(u"SIRA İLAÇ KODU     FORMU    MİKTARI   TUTARI    (%20   )   (%10   )    (%30   )"_s),
             qPrintable(t.join(u'\n')));
    QVERIFY(t.contains(format(u"%-38s %-18s %13.0n"_s, e.text(0), u"Genel Toplam       :"_s, 170000.0)));
    QVERIFY(t.contains(format(u"%-38s %-18s %13.0n"_s, e.text(1), u"İskonto Tutarı     :"_s, 21000.0)));
    QVERIFY(t.contains(u"Tahsis No/Sicil No : 12345 / 4411223"_s));
    QVERIFY(t.contains(u"Reçete Tarihi       10.11.2026"_s.replace(u"Reçete Tarihi       "_s, u"Reçete Tarihi      : "_s)));
    QVERIFY(t.contains(u"Reç.İşlem Tarihi   : 10.11.2026         Fatura Tarihi  :   /  /"_s));

    f.choice = u"230"_s;
    l.invoiceAndPrint(u"77123456"_s, u"30/11/2026"_s);
    QCOMPARE(f.printing.jobs().back().document.title, u"İlaçlı Liste"_s);
    QVERIFY(!f.texts().filter(u"  İ Ç E R İ Ğ İ"_s).isEmpty());
}

QTEST_GUILESS_MAIN(TstSskInvoice)
#include "tst_ssk_invoice.moc"
