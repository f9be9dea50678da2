#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/recete_logic.h"
#include "sales/satis_logic.h"
#include "print/canvas.h"
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
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(15, 0))};
    FakeCompanion companion;
    Session session{t.db(), prompter, clock};
    ReceteLogic logic{session};
    Fixture()
    {
        session.companion = &companion;
        session.UserName = u"ECZACI"_s;
        companion.writeCreditEntries(t.db(), QDateTime(QDate(2026, 12, 9), QTime(15, 0)));
        Sql::run(t.db(), u"UPDATE EKIM SET EADI = 'PAPATYA ECZANESİ', ADI = 'Ecz. Nergis', ADR1 = 'Çiçek Sok. 7', "
                         u"ADR2 = 'Bahçelievler', ADR3 = 'ANKARA', TLF = '3122223344'"_s);
    }
    void institution(const QString& code, double normal, double retiredShare, const QString& fromGross = u"0"_s)
    {
        Sql::run(t.db(), u"INSERT INTO KRMLAR (KOD, AD, ILACLARDAKURUM, ILACLARDAEMEKLI, ILACLARDACALISAN, HSP_ISKON, "
                         u"ETIKET1, ETIKET2, BORC) VALUES (:k, :a, :n, :e, 10, :h, 'Sicil No', 'Kurum', 0)"_s,
                 {{u"k"_s, code}, {u"a"_s, code + u" KURUMU"_s}, {u"n"_s, normal}, {u"e"_s, retiredShare}, {u"h"_s, fromGross}});
    }
    void line(int no, const QString& name, int quantity, double price, const QString& type = u"N"_s, double vat = 8)
    {
        Sql::run(t.db(), u"INSERT INTO SATEMP (SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV) VALUES (:s, :a, :m, :f, :s, :r, :k)"_s,
                 {{u"s"_s, no}, {u"a"_s, name}, {u"m"_s, quantity}, {u"f"_s, price}, {u"r"_s, type}, {u"k"_s, vat}});
    }
    void patient(const QString& name, const QString& surname, const QString& kurum = {}, const QString& sinif = u"E"_s)
    {
        Sql::run(t.db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD, KURUM, SINIF, BAS1, BORC) VALUES (:a, :s, :k, :c, '998877', 0)"_s,
                 {{u"a"_s, name}, {u"s"_s, surname}, {u"k"_s, kurum.isEmpty() ? QVariant() : QVariant(kurum)}, {u"c"_s, sinif}});
    }
    void openNew(const QString& kurum = {}, const QString& cls = u"E"_s)
    {
        logic.open(QString(), 1, u"09.12.2026"_s, 0);
        logic.setInstitutionBox(kurum);
        logic.setClassLetter(cls);
        logic.computeShares();
    }
    int count(const QString& sql) { return Sql::scalar(t.db(), sql).toInt(); }
};

}  // namespace

class TstRecete : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void grossWithoutInstitution();
    void sharesFromGrossOrAfterDiscount();
    void shownRatesAreUsed();
    void importedLineAndItsVat();
    void classChoice();
    void dateWarnings();
    void visaBox();
    void patientLookupAndCard();
    void doctorRules();
    void storeNewPrescription();
    void storeStopsAndLeavesNothing();
    void correctionAndFinalNumbers();
    void creditEntryAndClosing();
    void standardBackPrintLines();
    void prescriptionAndItsLinesLandTogether();
    void heldCountersAskAndRetry();
};

void TstRecete::grossWithoutInstitution()
{
    Fixture f;
    f.line(1, u"RAPORLU İTHAL"_s, 1, 10000, u"U"_s);
    f.line(2, u"PAROL"_s, 2, 10000, u"N"_s);
    f.openNew();
    QCOMPARE(f.logic.number(u"BRUTMR"_s), 10000.0);
    QCOMPARE(f.logic.number(u"BRUTN"_s), 20000.0);
    QCOMPARE(f.logic.shares().gross(), 30000.0);
    QCOMPARE(f.logic.number(u"NET"_s), 30000.0);
    QCOMPARE(f.logic.number(u"HASTAKATPAY"_s), 0.0);
    // An unknown institution code counts as none; the box is cleared.
    f.logic.setInstitutionBox(u"YOK"_s);
    f.logic.institutionLeft();
    QCOMPARE(f.logic.institutionBox(), QString());
    QCOMPARE(f.logic.number(u"NET"_s), 30000.0);
}

void TstRecete::sharesFromGrossOrAfterDiscount()
{
    {
        Fixture f;
        f.institution(u"ES"_s, 10, 20, u"1"_s);
        f.line(1, u"PAROL"_s, 1, 100000);
        f.openNew(u"ES"_s, u"E"_s);
        QCOMPARE(f.logic.shares().buckets[0].discount, 10000.0);
        QCOMPARE(f.logic.number(u"HASTAKATPAY"_s), 20000.0);
        QCOMPARE(f.logic.number(u"NET"_s), 70000.0);
    }
    {
        Fixture f;
        f.institution(u"SSK"_s, 10, 20);
        f.line(1, u"PAROL"_s, 1, 100000);
        f.openNew(u"SSK"_s, u"E"_s);
        QCOMPARE(f.logic.number(u"HASTAKATPAY"_s), 18000.0);
        QCOMPARE(f.logic.number(u"NET"_s), 72000.0);
        QCOMPARE(f.logic.shares().subtotal(), 90000.0);
        QCOMPARE(f.logic.shownDiscountRates()[0], u"10,00"_s);
        QCOMPARE(f.logic.shownShareRates()[0], u"20,00"_s);
    }
}

void TstRecete::shownRatesAreUsed()
{
    Fixture f;
    f.institution(u"SSK"_s, 0, 33.33);
    f.line(1, u"PAROL"_s, 1, 100000);
    f.openNew(u"SSK"_s, u"E"_s);
    QCOMPARE(f.logic.shownShareRates()[0], u"33,30"_s);
    QCOMPARE(f.logic.number(u"HASTAKATPAY"_s), 33300.0);
    QCOMPARE(shownRate(12.345), u"12,30"_s);
    QCOMPARE(shownRate(100), u"100,00"_s);
    QCOMPARE(shownRate(5.5), u"5,50"_s);
}

void TstRecete::importedLineAndItsVat()
{
    Fixture f;
    f.institution(u"SSK"_s, 10, 20);
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET ITHALKURUM = 25, ITHALEMEKLI = 40"_s);
    f.line(1, u"İTHAL İLAÇ"_s, 1, 100000, u"L"_s, 8);
    f.line(2, u"YERLİ"_s, 1, 54000, u"N"_s, 8);
    f.line(3, u"BAŞKA KDV"_s, 1, 1000, u"N"_s, 5);
    f.openNew(u"SSK"_s, u"E"_s);
    const BucketShare& imported = f.logic.shares().buckets[int(Bucket::Imported)];
    QCOMPARE(imported.gross, 100000.0);
    QCOMPARE(imported.discount, 25000.0);
    QCOMPARE(imported.share, 30000.0);  // 40 % of 75,000
    QCOMPARE(imported.net, 45000.0);
    f.logic.setField(u"HASTATIP"_s, u"E"_s);
    f.logic.computeVat();
    // VAT of the institution's part: 45,000 x 8/108 and (54,000 - 5,400 - 9,720) x 8/108.
    QCOMPARE(f.logic.number(u"KDVB"_s), 45000.0 * 8 / 108 + 38880.0 * 8 / 108);
    QCOMPARE(f.logic.number(u"KDVA"_s), 0.0);
    QCOMPARE(f.logic.number(u"KDVC"_s), 0.0);  // a rate of none of the three counts nowhere
}

void TstRecete::classChoice()
{
    Fixture f;
    f.institution(u"SSK"_s, 10, 20);
    f.line(1, u"PAROL"_s, 1, 100000);
    f.openNew(u"SSK"_s, u"Ç"_s);
    QCOMPARE(f.logic.number(u"HASTAKATPAY"_s), 9000.0);  // CALISAN 10 %
    f.logic.setClassLetter(u"N"_s);
    QCOMPARE(f.logic.number(u"HASTAKATPAY"_s), 0.0);
    f.logic.setClassLetter(u"Y"_s);
    QCOMPARE(f.logic.number(u"HASTAKATPAY"_s), 0.0);
    QCOMPARE(f.logic.number(u"NET"_s), 90000.0);
    // A new prescription opens with "Çalışan".
    Fixture g;
    g.logic.open(QString(), 1, u"  .  .    "_s, 0);
    QCOMPARE(g.logic.classLetter(), u"Ç"_s);
    QCOMPARE(g.logic.date(u"RECTARIH"_s), QDate(2026, 12, 9));
    QCOMPARE(g.logic.date(u"ALTARIH"_s), QDate(2026, 12, 9));
}

void TstRecete::dateWarnings()
{
    Fixture f;
    f.openNew();
    f.logic.setField(u"RECTARIH"_s, QDate(2026, 12, 1));
    f.logic.prescriptionDateLeft();
    QCOMPARE(f.logic.date(u"ALTARIH"_s), QDate(2026, 12, 1));
    f.logic.setField(u"ALTARIH"_s, QDate(2026, 12, 5));
    f.logic.receiptDateLeft();
    QVERIFY(f.prompter.shown.isEmpty());
    f.logic.setField(u"ALTARIH"_s, QDate(2026, 12, 6));
    f.logic.receiptDateLeft();
    QCOMPARE(f.prompter.texts(), QStringList{u"Reçetenin günü geçmiş!!!"_s});
}

void TstRecete::visaBox()
{
    Fixture f;
    f.openNew();
    f.logic.visaLeft(u"31.12.2026"_s);
    QCOMPARE(f.logic.date(u"VIZETRH"_s), QDate(2026, 12, 31));
    f.logic.visaLeft(u"45.13.2026"_s);  // not a date: the previous value stays, with a beep
    QCOMPARE(f.logic.date(u"VIZETRH"_s), QDate(2026, 12, 31));
    QCOMPARE(f.prompter.beeps, 1);
    f.logic.visaLeft(u"01.12.2026"_s);  // before the prescription date
    QCOMPARE(f.prompter.texts(), QStringList{u"Hasta Vize Tarihinin Günü Geçmiş"_s});
    f.logic.visaLeft(u"  .  .    "_s);
    QVERIFY(!f.logic.date(u"VIZETRH"_s).isValid());
}

void TstRecete::patientLookupAndCard()
{
    Fixture f;
    f.institution(u"ES"_s, 10, 20);
    f.patient(u"Ayşe"_s, u"Yılmaz"_s, u"ES"_s, u"E"_s);
    f.patient(u"Ayşe"_s, u"Yılmaz"_s, QString(), u"N"_s);  // another card of the same name
    f.line(1, u"PAROL"_s, 1, 100000);
    f.openNew();
    f.logic.setPatientName(u"ayşe"_s);
    f.logic.setPatientSurname(u"YILMAZ"_s);
    f.logic.patientNameLeft();
    QCOMPARE(f.logic.patientState(), ReceteLogic::PatientState::KnownByName);
    QCOMPARE(f.logic.patientNo(), 1);
    QCOMPARE(f.logic.institutionBox(), u"ES"_s);
    QCOMPARE(f.logic.classLetter(), u"E"_s);
    QCOMPARE(f.logic.text(u"BAS1"_s), u"998877"_s);
    QCOMPARE(f.logic.number(u"NET"_s), 72000.0);
    // Chosen with F6: the same name typed again keeps the chosen card.
    f.companion.answer(u"BrHastaCreate"_s, 2);
    f.logic.choosePatient();
    QCOMPARE(f.logic.patientState(), ReceteLogic::PatientState::Chosen);
    QCOMPARE(f.logic.patientNo(), 2);
    f.logic.patientNameLeft();
    QCOMPARE(f.logic.patientNo(), 2);
    QCOMPARE(f.logic.institutionBox(), QString());
    // A name without a card is a new patient.
    f.logic.setPatientName(u"Yeni"_s);
    f.logic.patientNameLeft();
    QCOMPARE(f.logic.patientState(), ReceteLogic::PatientState::New);
}

void TstRecete::doctorRules()
{
    Fixture f;
    Sql::run(f.t.db(), u"INSERT INTO DR (DRKOD, DRAD, DRSOYAD) VALUES (7, 'Ali', 'Kaya')"_s);
    f.openNew();
    f.logic.doctorCodeLeft(u"7"_s);
    QCOMPARE(f.logic.doctorName(), u"Ali"_s);
    QCOMPARE(f.logic.field(u"DRKOD"_s).toInt(), 7);
    f.logic.doctorCodeLeft(u"8"_s);
    QCOMPARE(f.logic.doctorName(), QString());
    QCOMPARE(f.logic.field(u"DRKOD"_s).toInt(), 0);
    QCOMPARE(f.prompter.beeps, 1);
    f.logic.setDoctorName(u"ali"_s);
    f.logic.setDoctorSurname(u"kaya"_s);
    f.logic.doctorNameLeft();
    QCOMPARE(f.logic.field(u"DRKOD"_s).toInt(), 7);
}

void TstRecete::storeNewPrescription()
{
    Fixture f;
    f.institution(u"SSK"_s, 10, 20);
    f.line(1, u"PAROL"_s, 2, 50000);
    Sql::run(f.t.db(), u"UPDATE NEWSATIS SET YENISATISNO = 77"_s);
    Sql::run(f.t.db(), u"INSERT INTO DR (DRKOD, DRAD, DRSOYAD) VALUES (12, 'Eski', 'Doktor')"_s);
    f.openNew(u"SSK"_s, u"E"_s);
    f.logic.setPatientName(u"Mehmet"_s);
    f.logic.setPatientSurname(u"Öztürk"_s);
    f.logic.patientNameLeft();
    f.logic.setDoctorName(u"Zeynep"_s);
    f.logic.setDoctorSurname(u"Demir"_s);
    f.logic.setField(u"SERINO"_s, u"A123"_s);
    f.prompter.answer(Answer::No);  // not into the book yet
    QCOMPARE(f.logic.store(), ReceteLogic::StoreResult::Stored);
    QCOMPARE(f.prompter.texts(), QStringList{u"Reçete Kayıt Defterine Kaydedilsin mi?"_s});
    QCOMPARE(f.logic.result(), 77.0);
    Sql r(f.t.db(), u"SELECT RKDEFTERNO, KURUMKOD, SATISNO, DRKOD, HASTATIP, HASTANO, BRUTN, HASTAKATPAY, NET, KDVB, SERINO FROM RECETE"_s);
    r.exec();
    QVERIFY(r.next());
    QCOMPARE(r.text(0), u"XX0000001"_s);
    QCOMPARE(r.text(1), u"SSK"_s);
    QCOMPARE(r.number(2), 77.0);
    QCOMPARE(r.integer(3), 13);  // the new doctor card got the next free code
    QCOMPARE(r.text(4), u"E"_s);
    QCOMPARE(r.integer(5), 1);
    QCOMPARE(r.number(6), 100000.0);
    QCOMPARE(r.number(7), 18000.0);
    QCOMPARE(r.number(8), 72000.0);
    QCOMPARE(r.number(9), 72000.0 * 8 / 108);
    QCOMPARE(r.text(10), u"A123"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT HASTADI || ' ' || HASTASOYAD || ' ' || KURUM || ' ' || SINIF FROM HASTA"_s).toString(),
             u"Mehmet Öztürk SSK E"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT DRAD FROM DR WHERE DRKOD = 13"_s).toString(), u"Zeynep"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RECETEKAYITNO FROM RKAYIT"_s).toString(), u"XX0000002"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 78);
}

void TstRecete::storeStopsAndLeavesNothing()
{
    Fixture f;
    f.line(1, u"PAROL"_s, 1, 1000);
    f.openNew();
    QCOMPARE(f.logic.store(), ReceteLogic::StoreResult::Stopped);
    QCOMPARE(f.prompter.texts(), QStringList{u"Hasta Adı Bilgisini vermeden Kayıt Yapılamaz."_s});
    f.logic.setPatientName(u"Ali"_s);
    f.logic.setPatientSurname(u"Veli"_s);
    f.prompter.answer(Answer::Cancel);
    QCOMPARE(f.logic.store(), ReceteLogic::StoreResult::Stopped);
    // A known patient whose card differs: Cancel in the card question stops too.
    f.patient(u"Ali"_s, u"Veli"_s, QString(), u"N"_s);
    f.logic.patientNameLeft();
    f.logic.setClassLetter(u"E"_s);
    f.prompter.answers({Answer::No, Answer::Cancel});
    QCOMPARE(f.logic.store(), ReceteLogic::StoreResult::Stopped);
    QCOMPARE(f.prompter.texts().last(), u"Hastanın Kart Bilgileri ile Bu Reçetedeki Bilgileri Farklı,Bu Reçetedeki bilgiler "
                                        u"Hastanın Kartına İşlensin mi?"_s);
    // A failure in the middle of the store leaves nothing behind.
    Sql::run(f.t.db(), u"INSERT INTO RECETE (RKDEFTERNO) VALUES ('XX0000001')"_s);
    f.prompter.answers({Answer::No, Answer::Yes});
    QVERIFY_THROWS_EXCEPTION(DbError, f.logic.store());
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE"_s), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SINIF FROM HASTA"_s).toString(), u"N"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RECETEKAYITNO FROM RKAYIT"_s).toString(), u"XX0000001"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT YENISATISNO FROM NEWSATIS"_s).toInt(), 1);
    QVERIFY(!f.logic.stored());
}

void TstRecete::correctionAndFinalNumbers()
{
    Fixture f;
    f.patient(u"Ali"_s, u"Veli"_s);
    Sql::run(f.t.db(), u"INSERT INTO RECETE (RKDEFTERNO, SATISNO, RECTARIH, ALTARIH, HASTANO, HASTATIP, NET, FATURANO) "
                       u"VALUES ('XX0000005', 40, '2026-11-30', '2026-11-30', 1, 'E', 5000, 'A-7')"_s);
    Sql::run(f.t.db(), u"INSERT INTO RECETE (RKDEFTERNO) VALUES ('260000099')"_s);
    f.line(1, u"PAROL"_s, 1, 6000);
    f.logic.open(u"XX0000005"_s, 0, QString(), 40);
    QCOMPARE(f.logic.invoiceNotice(), u"Bu Reçete A-7 Nolu Faturaya dahildir."_s);
    QCOMPARE(f.logic.patientName(), u"Ali"_s);
    QCOMPARE(f.logic.number(u"NET"_s), 6000.0);
    f.prompter.answers({Answer::Yes, Answer::No});  // into the book now; the card stays as it is
    QCOMPARE(f.logic.store(), ReceteLogic::StoreResult::Stored);
    QCOMPARE(f.logic.result(), 40.0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RKDEFTERNO FROM RECETE WHERE SATISNO = 40"_s).toString(), u"260000100"_s);
    Sql log(f.t.db(), u"SELECT ACIKLA, ISLETNO, ISLETIPI, TUTAR FROM PROSES"_s);
    log.exec();
    QVERIFY(log.next());
    QCOMPARE(log.text(0), u"Ali Veli"_s);
    QCOMPARE(log.number(1), 40.0);
    QCOMPARE(log.text(2), u"Reç. Düzeltme"_s);
    QCOMPARE(log.number(3), 5000.0);
    // The first final number of a year.
    Fixture g;
    g.line(1, u"PAROL"_s, 1, 6000);
    g.openNew();
    g.logic.setField(u"ALTARIH"_s, QDate(2027, 1, 2));
    g.logic.setPatientName(u"Ali"_s);
    g.logic.setPatientSurname(u"Veli"_s);
    g.prompter.answer(Answer::Yes);
    g.logic.store();
    QCOMPARE(Sql::scalar(g.t.db(), u"SELECT RKDEFTERNO FROM RECETE"_s).toString(), u"270000001"_s);
}

void TstRecete::creditEntryAndClosing()
{
    Fixture f;
    f.patient(u"Ali"_s, u"Veli"_s);
    f.line(1, u"PAROL"_s, 1, 6000);
    f.openNew();
    // A patient and an institution without cards cannot be put on credit.
    f.logic.setPatientName(u"Kartsız"_s);
    f.logic.setPatientSurname(u"Hasta"_s);
    f.logic.creditEntry();
    QCOMPARE(f.prompter.texts().size(), 1);
    QVERIFY(f.prompter.texts()[0].startsWith(u"Hasta ve Kurumunun Kartlarda Kaydı Yok."_s));
    QCOMPARE(f.companion.count(u"VeresiyeAc"_s), 0);
    f.logic.setPatientName(u"Ali"_s);
    f.logic.setPatientSurname(u"Veli"_s);
    f.logic.patientNameLeft();
    f.logic.creditEntry();
    const auto* call = f.companion.last(u"VeresiyeAc"_s);
    QVERIFY(call);
    QCOMPARE(call->args[0].toString(), u"Ali"_s);
    QCOMPARE(call->args[1].toString(), u"09.12.2026 Tarihli Reçeteli Satışın"_s);
    QCOMPARE(call->args[2].toInt(), 1);
    QCOMPARE(call->args[5].toDouble(), 6000.0);
    QCOMPARE(call->args[7].toString(), u"1"_s);
    QVERIFY(f.logic.creditEntryNo() > 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = 1"_s).toDouble(), 6000.0);
    f.logic.creditEntry();  // again: the same entry is updated
    QCOMPARE(f.companion.last(u"VeresiyeAc"_s)->args[2].toInt(), 0);
    // Closing without storing removes the entry and gives the debt back.
    f.logic.closing();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HAREKET"_s), 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = 1"_s).toDouble(), 0.0);
}

void TstRecete::standardBackPrintLines()
{
    Fixture f;
    f.institution(u"SSK"_s, 10, 20);
    Sql::run(f.t.db(), u"UPDATE KRMLAR SET ITHALKURUM = 5, ITHALEMEKLI = 15, IHLRAPKURUM = 6, IHLRAPEMEKLI = 25"_s);
    const QString longName = u"AMOKLAVİN BID 1000 MG 14 FİLM TABLET"_s;
    QCOMPARE(longName.size(), 36);
    f.line(1, longName, 2, 50000, u"N"_s);
    f.line(2, u"İTHAL İLAÇ"_s, 1, 40000, u"L"_s);
    f.line(3, u"RAPORLU İTHAL"_s, 1, 20000, u"U"_s);
    f.line(4, u"ENJEKTÖR 5 CC"_s, 3, 1000, u"N"_s);
    f.openNew(u"SSK"_s, u"E"_s);
    f.logic.setPatientName(u"Ali"_s);
    f.logic.setPatientSurname(u"Veli"_s);
    f.logic.setField(u"PROTOKOLNO"_s, u"55"_s);
    f.logic.setField(u"SERINO"_s, u"A1"_s);
    f.logic.setField(u"BAS1"_s, u"998877"_s);
    f.logic.setField(u"VIZETRH"_s, QDate(2027, 3, 1));
    StandardBackPrintOptions o;
    const QStringList lines = f.logic.standardBackPrintLines(o);
    const QString pad47(47, u' ');
    QCOMPARE(lines[0], u"Ali Veli - SSK KURUMU"_s);
    QCOMPARE(lines[1], pad47 + u"   (%20,00 ) ( % 0,00 ) ( % 0,00 ) ( %15,00 ) ( %25,00 )"_s);
    // A 36-character name prints its first 31 characters; the columns stay aligned.
    QCOMPARE(lines[2], u"AMOKLAVİN BID 1000 MG 14 FİLM T  2x     50.000     100.000        ---        ---        ---        ---"_s);
    QCOMPARE(lines[3], u"İTHAL İLAÇ                       1x     40.000         ---        ---        ---     40.000        ---"_s);
    QCOMPARE(lines[2].size(), lines[3].size());
    QCOMPARE(lines[6], QString(48, u' ') + u"  _________  _________  _________  _________  _________"_s);
    QCOMPARE(lines[7], u"Toplam : "_s.rightJustified(47) + u"    103.000          0          0     40.000     20.000"_s);
    QCOMPARE(lines[8], u"(%10,00 +%0,00  +%0,00  +%5,00  +%6,00  )İndr:      10.300          0          0      2.000      1.200"_s);
    QCOMPARE(lines[9], u"Ara Toplam : "_s.rightJustified(47) + u"     92.700          0          0     38.000     18.800"_s);
    // The patient's shares: the imported one in the fourth column, the reported one in the fifth.
    QCOMPARE(lines[10], u"(%20,00 +%0,00  +%0,00  +%15,00 +%25,00 )H.K.P:     18.540          0          0      5.700      4.700"_s);
    QCOMPARE(lines[11], u"Ara Toplam : "_s.rightJustified(47) + u"     74.160          0          0     32.300     14.100"_s);
    QCOMPARE(lines[12], pad47 + u"    ----------"_s);
    QCOMPARE(lines[13], u"NET TOPLAM : "_s.rightJustified(47) + u"       120.560"_s);
    QCOMPARE(lines[14], u"PAPATYA ECZANESİ"_s);
    QCOMPARE(lines[18], u"ANKARA Tlf:3122223344"_s);
    QCOMPARE(lines[19], u" "_s);
    QCOMPARE(lines[20], u"Vize Tarihi : 01.03.2026 / 01.03.2027"_s);
    QCOMPARE(lines[21], u"Sicil No : 998877"_s);
    QCOMPARE(lines[22], u"Kurum : "_s);
    QCOMPARE(lines[23], u"Ecz.Prt. No : 55"_s);
    QCOMPARE(lines[24], u"Seri No : A1"_s);
    QCOMPARE(lines[25], u"İlaçların Veriliş Trh.: 09.12.2026"_s);
    QCOMPARE(lines[26], u"%20,00+ %0,00 + %0,00 + %15,00 Katılım Karşılığı: 28.940 ödeyerek"_s);
    QCOMPARE(lines[27], u"3 kalem 4 adet ilaç ve 3 adet enjektör aldım."_s);
    QCOMPARE(lines[28], u"İlacı Alanın Adı Soyadı : Ali Veli"_s);
    QCOMPARE(lines.last(), u"(İMZA)"_s);
    o.syringes = false;
    o.visa = false;
    const QStringList plain = f.logic.standardBackPrintLines(o);
    QVERIFY(plain.contains(u"İlaçları Aldım."_s));
    QVERIFY(!plain.join(u'\n').contains(u"Vize Tarihi"_s));
    // On the canvas: one page, a pitch apart, the rates line underlined.
    RecordingCanvas canvas;
    canvas.beginDocument(u"Reçete Arkası"_s);
    QVERIFY(f.logic.drawStandardBackPrint(canvas, StandardBackPrintOptions{}));
    QVERIFY(canvas.endDocument());
    QCOMPARE(canvas.document().pages.size(), 1);
    QStringList printed;  // as read back: trailing blanks and empty lines go
    for (QString l : lines) {
        while (l.endsWith(u' ')) l.chop(1);
        if (!l.isEmpty()) printed << l;
    }
    QCOMPARE(canvas.document().lines(0), printed);
    const auto rates = canvas.document().find(0, u"( %15,00 )"_s);
    QCOMPARE(rates.size(), size_t(1));
    QVERIFY(rates[0].font.underline);
    const auto name = canvas.document().find(0, u"Ali Veli - SSK"_s);
    QVERIFY(!name[0].font.underline);
    QCOMPARE(rates[0].y - name[0].y, canvas.textHeight(u"İÖĞygŞ"_s) + 3);
}


void TstRecete::heldCountersAskAndRetry()
{
    qputenv("SELVAR_LOCK_WAIT_MS", "50");
    TestDb t;
    qunsetenv("SELVAR_LOCK_WAIT_MS");
    ReleasingPrompter prompter;
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(15, 0)));
    Session session(t.db(), prompter, clock);
    ReceteLogic logic(session);
    logic.open(QString(), 1, u"09.12.2026"_s, 0);
    logic.setPatientName(u"Ali"_s);
    logic.setPatientSurname(u"Veli"_s);
    auto other = t.second();
    auto tx = holdCounters(*other);
    prompter.release = [&] { tx->commit(); };
    QCOMPARE(logic.store(), ReceteLogic::StoreResult::Stored);
    QCOMPARE(prompter.texts, (QStringList{u"Reçete Kayıt Defterine Kaydedilsin mi?"_s, BookCounterBusy}));
    QCOMPARE(Sql::scalar(t.db(), u"SELECT RKDEFTERNO FROM RECETE"_s).toString(), u"XX0000001"_s);
}

void TstRecete::prescriptionAndItsLinesLandTogether()
{
    // The sale window registers a prescription: the registration's store writes the
    // prescription and the sale's lines in one transaction.
    Fixture f;
    const qint64 aspirin = addProduct(f.t.db(), u"ASPİRİN 100 MG"_s, 10000, 30);
    const qint64 parol = addProduct(f.t.db(), u"PAROL 500 MG"_s, 25000, 50);
    f.line(1, u"ASPİRİN 100 MG"_s, 2, 10000);
    f.line(2, u"PAROL 500 MG"_s, 1, 25000);
    SaleWindowLinks links;
    links.receteKayitAc = [&](const QString& book, int mode, const QString& date, double sale, const LinesRecorder& record) {
        f.logic.open(book, mode, date, sale);
        f.logic.setPatientName(u"Ali"_s);
        f.logic.setPatientSurname(u"Veli"_s);
        f.logic.setLinesRecorder(record);
        try {
            f.logic.store();
        } catch (const DbError&) {
            return 0.0;  // the window shows the error, and the person leaves it
        }
        return f.logic.stored() ? f.logic.result() : 0.0;
    };
    SatisLogic sale(f.session, nullptr, links);
    sale.Giris();
    auto stock = [&](qint64 p) { return Sql::scalar(f.t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, p}}).toInt(); };

    // Writing the lines fails: nothing of the prescription is left, no number is used up,
    // and the list is still there.
    makeUpdatesFail(f.t.db(), u"URUN"_s, u"MIKTAR"_s);
    f.prompter.answer(Answer::No);  // "Reçete Kayıt Defterine Kaydedilsin mi?"
    sale.receteKayit();
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM RECETE"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM HASTA"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS"_s), 0);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK"_s), 0);
    QCOMPARE(f.count(u"SELECT YENISATISNO FROM NEWSATIS"_s), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT RECETEKAYITNO FROM RKAYIT"_s).toString(), u"XX0000001"_s);
    QCOMPARE(sale.lineCount(), 2);
    QCOMPARE(stock(aspirin), 30);

    // Stored again once it can be: the prescription and both lines under one number.
    stopFailingUpdates(f.t.db(), u"URUN"_s);
    f.prompter.answer(Answer::No);
    sale.receteKayit();
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT SATISNO FROM RECETE WHERE RKDEFTERNO = 'XX0000001'"_s).toInt(), 1);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM SATIS WHERE SATISNO = 1 AND PARAKENDE = 'R'"_s), 2);
    QCOMPARE(f.count(u"SELECT COUNT(*) FROM URUNHRK WHERE ALSATNO = 1"_s), 2);
    QCOMPARE(stock(aspirin), 28);
    QCOMPARE(stock(parol), 49);
    QCOMPARE(sale.lineCount(), 0);
    QCOMPARE(f.count(u"SELECT YENISATISNO FROM NEWSATIS"_s), 2);
}

QTEST_GUILESS_MAIN(TstRecete)
#include "tst_recete.moc"
