// The companion library's rules without windows: the request block, the ledger, the
// card rules, old records, back-print layouts, institution list values and the fake.
#include "companion/backprint_layout.h"
#include "companion/cards.h"
#include "companion/institution_lists.h"
#include "companion/ledger.h"
#include "companion/old_records.h"
#include "companion/rights.h"
#include "core/dates.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "support/fake_companion.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QDate kToday(2026, 12, 9);
const QDateTime kNow(kToday, QTime(10, 30));

qint64 addPatient(Database& db, const QString& name, const QString& surname, const QString& institution = {})
{
    return Sql::insert(db, u"INSERT INTO HASTA (HASTADI, HASTASOYAD, KURUM, BORC) VALUES (:a, :s, :k, 0)"_s,
                       {{u"a"_s, name}, {u"s"_s, surname},
                        {u"k"_s, institution.isEmpty() ? QVariant() : QVariant(institution)}});
}

void addInstitution(Database& db, const QString& code, const QString& name)
{
    Sql::run(db, u"INSERT INTO KRMLAR (KOD, AD, BORC, ALACAK) VALUES (:k, :a, 0, 0)"_s, {{u"k"_s, code}, {u"a"_s, name}});
}

double number(Database& db, const QString& sql, const QVariantMap& p = {}) { return Sql::scalar(db, sql, p).toDouble(); }

struct Row {
    double no, alsatno, borc;
    QString carikod, tur, alsat, bilgi;
    QDate tarih, vade;
    int nihai;
};

Row movementRow(Database& db, double no)
{
    Sql q(db, u"SELECT HAREKNO, ALSATNO, BORC, CARIKOD, TUR, ALSAT, BILGI, TARIH, VADE, NIHAI FROM HAREKET "
              u"WHERE HAREKNO = :n"_s);
    q.bind(u"n"_s, no).exec();
    if (!q.next()) return {};
    return {q.number(0), q.number(1), q.number(2), q.text(3), q.text(4), q.text(5), q.text(6),
            q.date(7),   q.date(8),   int(q.integer(9))};
}

void addMovement(Database& db, double no, const QString& account, double debit, double credit, const QDate& due,
                 int state = 0, const QString& kind = u"M"_s, const QDate& date = {})
{
    Sql q(db, u"INSERT INTO HAREKET (HAREKNO, CARIKOD, ALSATNO, TUR, TARIH, VADE, ALACAK, ALSAT, BILGI, NIHAI, BORC) "
              u"VALUES (:n, :k, 0, :t, :d, :v, :a, 'S', 'x', :s, :b)"_s);
    q.bind(u"n"_s, no).bind(u"k"_s, account).bind(u"t"_s, kind).bind(u"d"_s, date.isValid() ? date : due.addDays(-10));
    q.bind(u"v"_s, due.isValid() ? QVariant(due) : QVariant());
    q.bind(u"a"_s, credit).bind(u"s"_s, state).bind(u"b"_s, debit).exec();
}

// A request laid out byte by byte, without the program's own block type.
std::array<unsigned char, 1808> rawRequest(int kind, char mode, const QString& from, const QString& to)
{
    std::array<unsigned char, 1808> b{};
    auto text = [&](int offset, const QString& s) {
        const QByteArray bytes = s.toLatin1();
        b[size_t(offset)] = static_cast<unsigned char>(bytes.size());
        std::memcpy(b.data() + offset + 1, bytes.constData(), size_t(bytes.size()));
    };
    text(512, from);
    text(768, to);
    b[1536] = static_cast<unsigned char>(kind);  // little-endian int32
    b[1800] = b[1801] = b[1802] = b[1803] = 0xFF;
    b[1804] = static_cast<unsigned char>(mode);
    return b;
}

std::vector<double> numbers(const std::vector<Movement>& list)
{
    std::vector<double> r;
    for (const Movement& m : list) r.push_back(m.number);
    return r;
}

}  // namespace

class TstCompanionLogic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestIsReadAtItsOffsets_data();
    void requestIsReadAtItsOffsets();
    void requestOfTheProgramsBlockType();
    void newCreditEntry();
    void updateReplacesTheAmount();
    void institutionAndPatientAccounts();
    void correctionEntryIsOnePerSale();
    void updateMovesTheDebtToAnotherAccount();
    void updateOfMissingEntryWritesNothing();
    void dueDateMovedByTheUserStays();
    void openMovementsOfAWindow();
    void settlingChangesOnlyTheState();
    void stateTexts();
    void referencedCardsCannotBeDeleted();
    void keysInUseCannotChange();
    void productSaveKeepsOldPrice();
    void cardListInTurkishOrder();
    void searchByTyping();
    void oldRecordsNewestFirst();
    void backPrintLayoutRoundTrip();
    void institutionListValues();
    void rightsOfTheSignedInUser();
    void fakeRecordsAndScripts();
    void fakeWritesLikeTheLibrary();
};

void TstCompanionLogic::requestIsReadAtItsOffsets_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<char>("mode");
    QTest::addColumn<bool>("show");
    QTest::newRow("both") << 1 << 'T' << true;
    QTest::newRow("creditors") << 2 << 'T' << true;
    QTest::newRow("debtors") << 3 << 'T' << true;
    QTest::newRow("no reminder") << 3 << '0' << false;
}

void TstCompanionLogic::requestIsReadAtItsOffsets()
{
    QFETCH(int, kind);
    QFETCH(char, mode);
    QFETCH(bool, show);
    const auto raw = rawRequest(kind, mode, u"02.12.2026"_s, u"16.12.2026"_s);
    const MovementWindow w = MovementWindow::fromRequest(raw.data());
    QCOMPARE(w.kind, kind);
    QCOMPARE(w.show, show);
    QCOMPARE(w.from, QDate(2026, 12, 2));
    QCOMPARE(w.to, QDate(2026, 12, 16));
}

void TstCompanionLogic::requestOfTheProgramsBlockType()
{
    MovementListRequest r;
    r.setKind(2);
    r.setMode('T');
    const MovementWindow noDates = MovementWindow::fromRequest(r.bytes.data());
    QVERIFY(noDates.show);
    QCOMPARE(noDates.kind, 2);
    QVERIFY(!noDates.from.isValid());
    QVERIFY(!noDates.to.isValid());
    // The block and the raw layout agree byte for byte.
    r.setStartDate(u"02.12.2026"_s);
    r.setEndDate(u"16.12.2026"_s);
    r.setKind(3);
    const auto raw = rawRequest(3, 'T', u"02.12.2026"_s, u"16.12.2026"_s);
    QVERIFY(std::equal(raw.begin(), raw.end(), r.bytes.begin()));
}

void TstCompanionLogic::newCreditEntry()
{
    TestDb t;
    const qint64 patient = addPatient(t.db(), u"AYŞE"_s, u"YILMAZ"_s);
    Sql::run(t.db(), u"UPDATE HRKNOAL SET HRKNO = 41"_s);
    Ledger ledger(t.db(), kNow, u"ECZACI"_s);
    const double no = ledger.record({1, QString::number(patient), u"09.12.2026 Tarihli Prk.Satış"_s, kToday, 0, 50000, {}});
    QCOMPARE(no, 41.0);
    const Row r = movementRow(t.db(), no);
    QCOMPARE(r.no, 41.0);
    QCOMPARE(r.tur, u"M"_s);
    QCOMPARE(r.alsat, u"S"_s);
    QCOMPARE(r.carikod, QString::number(patient));
    QCOMPARE(r.borc, 50000.0);
    QCOMPARE(r.alsatno, 0.0);
    QCOMPARE(r.bilgi, u"09.12.2026 Tarihli Prk.Satış"_s);
    QCOMPARE(r.tarih, kToday);
    QCOMPARE(r.vade, kToday);
    QCOMPARE(r.nihai, 0);
    QCOMPARE(number(t.db(), u"SELECT HRKNO FROM HRKNOAL"_s), 42.0);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = :n"_s, {{u"n"_s, patient}}), 50000.0);
    // A due date given by the user is kept.
    const double second = ledger.record({1, QString::number(patient), u"x"_s, kToday, 0, 100, kToday.addDays(30)});
    QCOMPARE(movementRow(t.db(), second).vade, kToday.addDays(30));
}

void TstCompanionLogic::updateReplacesTheAmount()
{
    TestDb t;
    const qint64 patient = addPatient(t.db(), u"AYŞE"_s, u"YILMAZ"_s);
    Sql::run(t.db(), u"UPDATE HASTA SET BORC = 7000 WHERE HASTANO = :n"_s, {{u"n"_s, patient}});
    Ledger ledger(t.db(), kNow, u"ECZACI"_s);
    const QString key = QString::number(patient);
    const double no = ledger.record({1, key, u"09.12.2026 Tarihli Prk.Satış"_s, kToday, 0, 50000, {}});
    QCOMPARE(ledger.record({0, QString(), u"10.12.2026 Prk.Satış"_s, kToday.addDays(1), no, 60000, {}}), no);
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM HAREKET"_s), 1.0);
    const Row r = movementRow(t.db(), no);
    QCOMPARE(r.borc, 60000.0);
    QCOMPARE(r.carikod, key);  // an update without a key keeps the account
    QCOMPARE(r.bilgi, u"10.12.2026 Prk.Satış"_s);
    QCOMPARE(r.tarih, kToday.addDays(1));
    QCOMPARE(r.vade, kToday.addDays(1));
    QCOMPARE(number(t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = :n"_s, {{u"n"_s, patient}}), 67000.0);
    QCOMPARE(number(t.db(), u"SELECT HRKNO FROM HRKNOAL"_s), 2.0);  // no number used by the update
    Sql log(t.db(), u"SELECT ACIKLA, ISLETNO, TUTAR, ISLETIPI FROM PROSES"_s);
    log.exec();
    QVERIFY(log.next());
    QCOMPARE(log.text(0), u"Veresiye Düzeltme-ECZACI"_s);
    QCOMPARE(log.number(1), no);
    QCOMPARE(log.number(2), 50000.0);
    QCOMPARE(log.text(3), u"Veresiye. Dzlt"_s);
}

void TstCompanionLogic::institutionAndPatientAccounts()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    addInstitution(t.db(), u"12A"_s, u"KOD RAKAMLA BAŞLAYAN KURUM"_s);
    qint64 patient = 0;
    for (int i = 0; i < 12; ++i) patient = addPatient(t.db(), u"HASTA"_s, QString::number(i));
    QCOMPARE(patient, 12);
    Ledger ledger(t.db(), kNow, QString());
    ledger.record({1, u"SSK"_s, u"a"_s, kToday, 0, 1000, {}});
    ledger.record({1, u"12"_s, u"b"_s, kToday, 0, 250, {}});
    ledger.record({1, u"12A"_s, u"c"_s, kToday, 0, 75, {}});
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 1000.0);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM HASTA WHERE HASTANO = 12"_s), 250.0);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR WHERE KOD = '12A'"_s), 75.0);
    QCOMPARE(number(t.db(), u"SELECT SUM(BORC) FROM HASTA"_s), 250.0);
    QVERIFY(ledger.accountExists(u"12"_s));
    QVERIFY(!ledger.accountExists(u"13"_s));
    QCOMPARE(ledger.accountName(u"12"_s), u"HASTA 11"_s);
    QCOMPARE(ledger.accountName(u"SSK"_s), u"SOSYAL SİGORTALAR KURUMU"_s);
}

void TstCompanionLogic::correctionEntryIsOnePerSale()
{
    TestDb t;
    addInstitution(t.db(), u"ES"_s, u"EMEKLİ SANDIĞI"_s);
    Ledger ledger(t.db(), kNow, QString());
    const double first = ledger.record({3, u"ES"_s, u"09.12.2026 Prk.Satış"_s, kToday, 77, 30000, {}});
    QCOMPARE(movementRow(t.db(), first).alsatno, 77.0);
    const double again = ledger.record({3, u"ES"_s, u"09.12.2026 Prk.Satış"_s, kToday, 77, 45000, {}});
    QCOMPARE(again, first);
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM HAREKET WHERE ALSATNO = 77"_s), 1.0);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR WHERE KOD = 'ES'"_s), 45000.0);
    // Another sale gets its own entry.
    const double other = ledger.record({3, u"ES"_s, u"x"_s, kToday, 78, 5, {}});
    QVERIFY(other != first);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR WHERE KOD = 'ES'"_s), 45005.0);
}

void TstCompanionLogic::updateMovesTheDebtToAnotherAccount()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SSK"_s);
    const qint64 patient = addPatient(t.db(), u"ALİ"_s, u"VELİ"_s);
    Ledger ledger(t.db(), kNow, QString());
    const double no = ledger.record({1, u"SSK"_s, u"x"_s, kToday, 0, 800, {}});
    ledger.record({0, QString::number(patient), u"x"_s, kToday, no, 900, {}});
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR WHERE KOD = 'SSK'"_s), 0.0);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM HASTA"_s), 900.0);
    QCOMPARE(movementRow(t.db(), no).carikod, QString::number(patient));
}

void TstCompanionLogic::updateOfMissingEntryWritesNothing()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SSK"_s);
    Ledger ledger(t.db(), kNow, QString());
    QCOMPARE(ledger.record({0, u"SSK"_s, u"x"_s, kToday, 99, 800, {}}), 0.0);
    QCOMPARE(ledger.record({2, u"SSK"_s, u"x"_s, kToday, 0, 800, {}}), 0.0);
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM HAREKET"_s), 0.0);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR"_s), 0.0);
    QCOMPARE(number(t.db(), u"SELECT HRKNO FROM HRKNOAL"_s), 1.0);
}

void TstCompanionLogic::dueDateMovedByTheUserStays()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SSK"_s);
    Ledger ledger(t.db(), kNow, QString());
    const double no = ledger.record({1, u"SSK"_s, u"x"_s, kToday, 0, 800, {}});
    ledger.setDueDate(no, QDate(2027, 1, 15));
    ledger.record({0, QString(), u"x"_s, kToday.addDays(2), no, 850, {}});
    QCOMPARE(movementRow(t.db(), no).vade, QDate(2027, 1, 15));
    QCOMPARE(movementRow(t.db(), no).tarih, kToday.addDays(2));
}

void TstCompanionLogic::openMovementsOfAWindow()
{
    TestDb t;
    addInstitution(t.db(), u"DEPO1"_s, u"MERKEZ ECZA DEPOSU"_s);
    addPatient(t.db(), u"AYŞE"_s, u"YILMAZ"_s);
    addMovement(t.db(), 1, u"1"_s, 500, 0, kToday.addDays(2));          // debtor inside
    addMovement(t.db(), 2, u"1"_s, 600, 0, kToday.addDays(20));         // debtor outside
    addMovement(t.db(), 3, u"DEPO1"_s, 0, 9000, kToday.addDays(-3));    // creditor inside
    addMovement(t.db(), 4, u"1"_s, 700, 0, kToday, 1);                  // settled
    addMovement(t.db(), 5, u"DEPO1"_s, 0, 100, kToday.addDays(-7));     // the first day
    addMovement(t.db(), 6, u"DEPO1"_s, 0, 100, kToday.addDays(-8));     // one day before
    addMovement(t.db(), 7, u"1"_s, 50, 0, QDate(), 0, u"M"_s, kToday.addDays(-10));  // no due date: its date
    Ledger ledger(t.db(), kNow, QString());
    MovementWindow w{true, MovementWindow::Both, kToday.addDays(-7), kToday.addDays(7)};
    // By due date, both ends inclusive.
    QCOMPARE(numbers(ledger.openMovements(w)), (std::vector<double>{5, 3, 1}));
    w.from = kToday.addDays(-9);
    QCOMPARE(numbers(ledger.openMovements(w)), (std::vector<double>{6, 5, 3, 1}));
    w.from = {};
    QCOMPARE(numbers(ledger.openMovements(w)), (std::vector<double>{7, 6, 5, 3, 1}));
    w.kind = MovementWindow::Creditors;
    QCOMPARE(numbers(ledger.openMovements(w)), (std::vector<double>{6, 5, 3}));
    w.kind = MovementWindow::Debtors;
    QCOMPARE(numbers(ledger.openMovements(w)), (std::vector<double>{7, 1}));
    w.to = {};
    QCOMPARE(numbers(ledger.openMovements(w)), (std::vector<double>{7, 1, 2}));
    const std::vector<Movement> list = ledger.openMovements(w);
    QCOMPARE(list[0].due, kToday.addDays(-10));
    // Without the right to patient movements they are left out.
    w.kind = MovementWindow::Both;
    QCOMPARE(numbers(ledger.openMovements(w, true, false)), (std::vector<double>{6, 5, 3}));
    QCOMPARE(numbers(ledger.openMovements(w, false, true)), (std::vector<double>{7, 1, 2}));
}

void TstCompanionLogic::settlingChangesOnlyTheState()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SSK"_s);
    Ledger ledger(t.db(), kNow, QString());
    const double no = ledger.record({1, u"SSK"_s, u"x"_s, kToday, 0, 800, {}});
    ledger.setSettled(no, true);
    QCOMPARE(movementRow(t.db(), no).nihai, 1);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR"_s), 800.0);
    QVERIFY(ledger.openMovements({true, 1, {}, {}}).empty());
    ledger.setSettled(no, false);
    QCOMPARE(movementRow(t.db(), no).nihai, 0);
    QCOMPARE(ledger.openMovements({true, 1, {}, {}}).size(), size_t(1));
}

void TstCompanionLogic::stateTexts()
{
    Movement m;
    m.kind = u"M"_s;
    QCOMPARE(Ledger::stateText(m), u"Açık"_s);
    m.state = 1;
    QCOMPARE(Ledger::stateText(m), u"Kapatıldı"_s);
    m.state = 5;
    QCOMPARE(Ledger::stateText(m), u"Kapatıldı"_s);
    m.kind = u"S"_s;
    m.debit = 10;
    m.state = 2;
    QCOMPARE(Ledger::stateText(m), u"Protesto"_s);
    m.debit = 0;
    m.state = 0;
    QCOMPARE(Ledger::stateText(m), u"Senet Alındı"_s);
    m.kind = u"Ç"_s;
    m.state = 2;
    QCOMPARE(Ledger::stateText(m), u"Çek Cirolandı"_s);
    m.kind = u"N"_s;
    QCOMPARE(Ledger::stateText(m), QString());
    QCOMPARE(Ledger::kindText(u"M"_s), u"VERESİYELER"_s);
    QCOMPARE(Ledger::kindText(u"Ç"_s), u"ÇEKLER"_s);
}

void TstCompanionLogic::referencedCardsCannotBeDeleted()
{
    TestDb t;
    Sql::run(t.db(), u"INSERT INTO GRUP (GRUPNO, GRUPAD) VALUES (1, 'AĞRI KESİCİLER'), (2, 'VİTAMİNLER')"_s);
    const qint64 product = addProduct(t.db(), u"PAROL 500 MG"_s, 2500);
    Sql::run(t.db(), u"UPDATE URUN SET GRUPNO = 1"_s);
    CardRules groups(t.db(), cardDef(CardKind::Group));
    QCOMPARE(groups.deleteRefusal(1), u"Bu kart başka kayıtlarda kullanılıyor (1 ürün kartı). Silinemez!"_s);
    QCOMPARE(groups.remove(1), groups.deleteRefusal(1));
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM GRUP"_s), 2.0);
    QCOMPARE(groups.remove(2), QString());
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM GRUP"_s), 1.0);

    // A product with stock movements, and one with only its price history.
    CardRules products(t.db(), cardDef(CardKind::Product));
    Sql::run(t.db(), u"INSERT INTO URUNHRK (ILACNO, GCTARIH, CIKMIK, ALSATNO, SIRANO) VALUES (:n, :t, 1, 5, 1)"_s,
             {{u"n"_s, product}, {u"t"_s, kNow}});
    QCOMPARE(products.remove(product), u"Ürünün Stok Bilgisi Mevut Silinemez!!!"_s);
    const qint64 fresh = addProduct(t.db(), u"YENİ ÜRÜN"_s, 100);
    Sql::run(t.db(), u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) VALUES (:n, :t, 90)"_s,
             {{u"n"_s, fresh}, {u"t"_s, kNow}});
    QCOMPARE(products.remove(fresh), QString());
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM URFAYAR"_s), 0.0);

    // A patient named by a movement, an institution named by a patient and a movement.
    addInstitution(t.db(), u"SSK"_s, u"SSK"_s);
    const qint64 patient = addPatient(t.db(), u"ALİ"_s, u"VELİ"_s, u"SSK"_s);
    addMovement(t.db(), 1, QString::number(patient), 10, 0, kToday);
    addMovement(t.db(), 2, u"SSK"_s, 10, 0, kToday);
    CardRules patients(t.db(), cardDef(CardKind::Patient));
    QCOMPARE(patients.remove(patient), u"Bu kart başka kayıtlarda kullanılıyor (1 cari hareket). Silinemez!"_s);
    CardRules institutions(t.db(), cardDef(CardKind::Institution));
    QCOMPARE(institutions.remove(u"SSK"_s),
             u"Bu kart başka kayıtlarda kullanılıyor (1 cari hareket, 1 hasta kartı). Silinemez!"_s);
    CardRules doctors(t.db(), cardDef(CardKind::Doctor));
    Sql::run(t.db(), u"INSERT INTO DR (DRKOD, DRAD) VALUES (7, 'MEHMET')"_s);
    Sql::run(t.db(), u"INSERT INTO RECETE (RKDEFTERNO, DRKOD, SATISNO) VALUES ('XX0000001', 7, 1)"_s);
    QCOMPARE(doctors.remove(7), u"Bu kart başka kayıtlarda kullanılıyor (1 reçete). Silinemez!"_s);
    // Companies are referred to by nothing.
    Sql::run(t.db(), u"INSERT INTO FIRMA (FIRMANO, FIRMAAD) VALUES (1, 'ANADOLU')"_s);
    QCOMPARE(CardRules(t.db(), cardDef(CardKind::Company)).remove(1), QString());
}

void TstCompanionLogic::keysInUseCannotChange()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SSK"_s);
    addInstitution(t.db(), u"ES"_s, u"EMEKLİ SANDIĞI"_s);
    addPatient(t.db(), u"ALİ"_s, u"VELİ"_s, u"SSK"_s);
    CardRules rules(t.db(), cardDef(CardKind::Institution));
    QVERIFY(rules.keyInUse(u"SSK"_s));
    QVERIFY(!rules.keyInUse(u"ES"_s));
    const QVariantMap renamed{{u"KOD"_s, u"SGK"_s}, {u"AD"_s, u"SGK"_s}};
    QCOMPARE(rules.validate(renamed, u"SSK"_s), u"Kurum Kodu başka kayıtlarda kullanıldığı için değiştirilemez."_s);
    QVERIFY_THROWS_EXCEPTION(DbError, rules.save(renamed, u"SSK"_s, kNow));
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM KRMLAR WHERE KOD = 'SSK'"_s), 1.0);
    // An unused code may change; a taken one may not be taken twice, in any case.
    QCOMPARE(rules.save({{u"KOD"_s, u"EMS"_s}, {u"AD"_s, u"EMEKLİ SANDIĞI"_s}}, u"ES"_s, kNow).toString(), u"EMS"_s);
    QCOMPARE(rules.validate({{u"KOD"_s, u"ssk"_s}, {u"AD"_s, u"X"_s}}, QVariant()), u"Bu kodla kayıtlı bir kart var: ssk"_s);
    QVERIFY(rules.validate({{u"KOD"_s, u"123"_s}, {u"AD"_s, u"X"_s}}, QVariant()).startsWith(u"Kurum kodu yalnız rakamlardan"_s));
    QCOMPARE(rules.validate({{u"KOD"_s, u"BK"_s}, {u"AD"_s, u""_s}}, QVariant()), u"Adı boş bırakılamaz."_s);
    // The same code keeps its other fields changeable.
    rules.save({{u"KOD"_s, u"SSK"_s}, {u"AD"_s, u"SOSYAL SİGORTALAR"_s}, {u"ILACLARDAKURUM"_s, 5.0}}, u"SSK"_s, kNow);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT AD FROM KRMLAR WHERE KOD = 'SSK'"_s).toString(), u"SOSYAL SİGORTALAR"_s);
    QCOMPARE(number(t.db(), u"SELECT ILACLARDAKURUM FROM KRMLAR WHERE KOD = 'SSK'"_s), 5.0);

    CardRules doctors(t.db(), cardDef(CardKind::Doctor));
    QCOMPARE(doctors.nextNumber().toLongLong(), 1);
    doctors.save({{u"DRKOD"_s, 4}, {u"DRAD"_s, u"AHMET"_s}}, QVariant(), kNow);
    QCOMPARE(doctors.nextNumber().toLongLong(), 5);
    QCOMPARE(doctors.validate({{u"DRKOD"_s, 4}, {u"DRAD"_s, u"B"_s}}, QVariant()), u"Bu kodla kayıtlı bir kart var: 4"_s);
    // The small cards number themselves.
    CardRules generics(t.db(), cardDef(CardKind::Generic));
    QCOMPARE(generics.save({{u"JENERIKAD"_s, u"PARASETAMOL"_s}}, QVariant(), kNow).toLongLong(), 1);
    QCOMPARE(generics.save({{u"JENERIKAD"_s, u"İBUPROFEN"_s}}, QVariant(), kNow).toLongLong(), 2);
}

void TstCompanionLogic::productSaveKeepsOldPrice()
{
    TestDb t;
    CardRules rules(t.db(), cardDef(CardKind::Product));
    const QVariant no = rules.save({{u"ILACAD"_s, u"PAROL 500 MG"_s}, {u"FIYAT"_s, 2500.0},
                                    {u"FIYATARIH"_s, QDate(2026, 3, 1)}, {u"KDV"_s, 8.0}},
                                   QVariant(), kNow);
    QCOMPARE(number(t.db(), u"SELECT MIKTAR FROM URUN"_s), 0.0);
    // Stock is not a card value: it moves only with its movements.
    rules.save({{u"ILACAD"_s, u"PAROL 500 MG"_s}, {u"FIYAT"_s, 2800.0}, {u"FIYATARIH"_s, kToday}, {u"MIKTAR"_s, 99}},
               no, kNow);
    QCOMPARE(number(t.db(), u"SELECT MIKTAR FROM URUN"_s), 0.0);
    QCOMPARE(number(t.db(), u"SELECT FIYAT FROM URUN"_s), 2800.0);
    Sql h(t.db(), u"SELECT ILACNO, FITARIH, FIYAT FROM URFAYAR"_s);
    h.exec();
    QVERIFY(h.next());
    QCOMPARE(h.integer(0), no.toLongLong());
    QCOMPARE(h.timestamp(1), QDateTime(QDate(2026, 3, 1), QTime(10, 30)));
    QCOMPARE(h.number(2), 2500.0);
    QVERIFY(!h.next());
    // Unchanged price, no history; a second card of the same name is refused.
    rules.save({{u"ILACAD"_s, u"PAROL 500 MG"_s}, {u"FIYAT"_s, 2800.0}}, no, kNow);
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM URFAYAR"_s), 1.0);
    QCOMPARE(rules.validate({{u"ILACAD"_s, u"parol 500 mg"_s}}, QVariant()), u"Bu adla kayıtlı bir ürün var: PAROL 500 MG"_s);
    QCOMPARE(rules.validate({{u"ILACAD"_s, u""_s}}, QVariant()), u"Ürün Adı boş bırakılamaz."_s);
}

void TstCompanionLogic::cardListInTurkishOrder()
{
    TestDb t;
    for (const QString& n : {u"ŞAHİN"_s, u"ÇINAR"_s, u"İLKER"_s, u"sarı"_s, u"ISPARTA"_s, u"CAN"_s, u"DERYA"_s})
        addInstitution(t.db(), n.left(3) + u"X"_s, n);
    QStringList names;
    for (const CardRow& r : loadCardList(t.db(), cardDef(CardKind::Institution))) names << r.values[0].toString();
    QCOMPARE(names, (QStringList{u"CAN"_s, u"ÇINAR"_s, u"DERYA"_s, u"ISPARTA"_s, u"İLKER"_s, u"sarı"_s, u"ŞAHİN"_s}));
}

void TstCompanionLogic::searchByTyping()
{
    TestDb t;
    for (const QString& n : {u"ŞAHİN"_s, u"ÇINAR"_s, u"İLKER"_s, u"SARI"_s, u"ISPARTA"_s, u"CAN"_s, u"CEYLAN"_s})
        addInstitution(t.db(), n.left(3), n);
    Table cursor(t.db(), u"KRMLAR"_s);
    cursor.setIndex(u"KRMAD"_s);
    TypeAhead s(u"AD"_s, cardSearchRules(36));
    QVERIFY(s.type(cursor, u"ç"_s));
    QCOMPARE(cursor.text(u"AD"_s), u"ÇINAR"_s);
    s.clear();
    QVERIFY(s.type(cursor, u"c"_s));
    QCOMPARE(cursor.text(u"AD"_s), u"CAN"_s);
    QVERIFY(!s.type(cursor, u"x"_s));  // no name begins with "CX": the place and the text stay
    QCOMPARE(s.text(), u"c"_s);
    QCOMPARE(cursor.text(u"AD"_s), u"CAN"_s);
    QVERIFY(s.type(cursor, u"e"_s));
    QCOMPARE(cursor.text(u"AD"_s), u"CEYLAN"_s);
    s.backspace(cursor);
    QCOMPARE(cursor.text(u"AD"_s), u"CAN"_s);
    s.clear();
    QVERIFY(s.type(cursor, u"ı"_s));
    QCOMPARE(cursor.text(u"AD"_s), u"ISPARTA"_s);
    s.clear();
    QVERIFY(s.type(cursor, u"i"_s));
    QCOMPARE(cursor.text(u"AD"_s), u"İLKER"_s);
    s.clear();
    QVERIFY(s.type(cursor, u"ş"_s));
    QCOMPARE(cursor.text(u"AD"_s), u"ŞAHİN"_s);
    // A first key that matches nothing leaves the cursor where it was.
    s.clear();
    cursor.first();
    QVERIFY(!s.type(cursor, u"Z"_s));
    QCOMPARE(cursor.text(u"AD"_s), u"CAN"_s);
    QCOMPARE(s.text(), QString());
}

void TstCompanionLogic::oldRecordsNewestFirst()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    addInstitution(t.db(), u"DEPO1"_s, u"MERKEZ ECZA DEPOSU"_s);
    const qint64 patient = addPatient(t.db(), u"AYŞE"_s, u"YILMAZ"_s);
    auto sale = [&](double no, const QString& kind, const QDateTime& when, double price, int qty, int line = 1) {
        Sql::run(t.db(), u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, PARAKENDE) "
                         u"VALUES (:n, :l, :t, 1, :f, :m, :k)"_s,
                 {{u"n"_s, no}, {u"l"_s, line}, {u"t"_s, when}, {u"f"_s, price}, {u"m"_s, qty}, {u"k"_s, kind}});
    };
    sale(1, u"P"_s, QDateTime(QDate(2026, 12, 1), QTime(9, 0)), 1000, 2);
    sale(1, u"P"_s, QDateTime(QDate(2026, 12, 1), QTime(9, 0)), 500, 1, 2);
    sale(2, u"R"_s, QDateTime(QDate(2026, 12, 3), QTime(9, 0)), 700, 1);
    sale(3, u"P"_s, QDateTime(QDate(2026, 12, 5), QTime(18, 0)), 300, 1);
    sale(4, u"F"_s, QDateTime(QDate(2026, 12, 6), QTime(9, 0)), 900, 1);
    sale(5, u"E"_s, QDateTime(QDate(2026, 12, 7), QTime(9, 0)), 400, 1);
    sale(6, u"P"_s, QDateTime(QDate(2026, 12, 8), QTime(9, 0)), 100, 3);
    addMovement(t.db(), 1, QString::number(patient), 300, 0, kToday);
    Sql::run(t.db(), u"UPDATE HAREKET SET ALSATNO = 3"_s);
    Sql::run(t.db(), u"INSERT INTO RECETE (RKDEFTERNO, SATISNO, KURUMKOD, HASTANO) VALUES ('260000001', 2, 'SSK', :h)"_s,
             {{u"h"_s, patient}});
    Sql::run(t.db(), u"INSERT INTO FATURA (FATNO, SATISNO, KRMAD, FATURANO) VALUES (1, 4, 'ALTIN LTD', 'A-1'), "
                     u"(2, 5, 'SOSYAL SİGORTALAR KURUMU', 'A-2')"_s);
    Sql::run(t.db(), u"INSERT INTO ALIS1 (KRMKOD, ALISNO, FATNO, FATARIH, NET) VALUES "
                     u"('DEPO1', 1, 'D-10', '2026-11-20', 5000), ('DEPO1', 2, 'D-11', '2026-12-02', 7000)"_s);

    const auto retail = loadOldRecords(t.db(), OldRecordKind::RetailSales);
    QCOMPARE(retail.size(), size_t(3));
    QCOMPARE(retail[0].number, 6.0);
    QCOMPARE(retail[0].total, 300.0);
    QCOMPARE(retail[1].number, 3.0);
    QCOMPARE(retail[1].party, u"AYŞE YILMAZ"_s);
    QCOMPARE(retail[2].number, 1.0);
    QCOMPARE(retail[2].total, 2500.0);
    QCOMPARE(retail[2].when, QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    QCOMPARE(findOldRecord(retail, u"1"_s), 2);
    QCOMPARE(findOldRecord(retail, u"2"_s), -1);
    QCOMPARE(findOldRecord(retail, u"05.12.2026"_s), 1);
    QCOMPARE(findOldRecord(retail, u"04.12.26"_s), 2);  // none that day: the next older one
    QCOMPARE(findOldRecord(retail, u"30.11.2026"_s), -1);
    QCOMPARE(findOldRecord(retail, u"04.12"_s), -1);

    const auto prescriptions = loadOldRecords(t.db(), OldRecordKind::PrescriptionSales);
    QCOMPARE(prescriptions.size(), size_t(2));
    QCOMPARE(prescriptions[0].number, 5.0);
    QCOMPARE(prescriptions[1].number, 2.0);
    QCOMPARE(prescriptions[1].party, u"SSK / AYŞE YILMAZ"_s);
    QCOMPARE(prescriptions[1].document, u"260000001"_s);

    const auto invoiced = loadOldRecords(t.db(), OldRecordKind::InvoicedSales);
    QCOMPARE(invoiced.size(), size_t(2));
    QCOMPARE(invoiced[0].number, 5.0);
    QCOMPARE(invoiced[1].party, u"ALTIN LTD"_s);
    QCOMPARE(invoiced[1].document, u"A-1"_s);

    const auto purchases = loadOldRecords(t.db(), OldRecordKind::Purchases);
    QCOMPARE(purchases.size(), size_t(2));
    QCOMPARE(purchases[0].number, 2.0);
    QCOMPARE(purchases[0].party, u"MERKEZ ECZA DEPOSU"_s);
    QCOMPARE(purchases[0].total, 7000.0);
    QCOMPARE(purchases[0].document, u"D-11"_s);
}

void TstCompanionLogic::backPrintLayoutRoundTrip()
{
    TestDb t;
    QVERIFY(!loadLayout(t.db(), u"SSK"_s, u"E"_s));
    BackPrintLayout l;
    l.institution = u"SSK"_s;
    l.patientType = u"E"_s;
    l.fontName = u"Courier New"_s;
    l.fontSize = 9;
    l.style = u"B"_s;
    l.color = 255;
    l.margin = 12;
    l.fields[0] = {u"Reçete Tarihi"_s, u"Reç.Trh:"_s, u"RECTARIH"_s, 30};
    l.fields[8] = {u"Net Tutar"_s, u"Net:"_s, u"NET"_s, 25};
    l.columns[0] = {u"Ürün Adı"_s, u"İLACIN ADI"_s, u"ILAD"_s, 60};
    l.columns[7] = {u"Tutar"_s, u"TUTAR"_s, u"BRUTUTAR"_s, 20};
    l.totalWording = u"K"_s;
    l.productLines = false;
    saveLayout(t.db(), l);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT ILACVARMI FROM recarka"_s).toString(), u"H"_s);
    QCOMPARE(Sql::scalar(t.db(), u"SELECT B_DATA8 FROM recarka"_s).toString(), u"BRUTUTAR"_s);
    QCOMPARE(number(t.db(), u"SELECT GENIS9 FROM recarka"_s), 25.0);
    const auto back = loadLayout(t.db(), u"SSK"_s, u"E"_s);
    QVERIFY(back);
    QVERIFY(*back == l);
    l.margin = 5;
    l.productLines = true;
    saveLayout(t.db(), l);
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM recarka"_s), 1.0);
    QCOMPARE(loadLayout(t.db(), u"SSK"_s, u"E"_s)->margin, 5);
    QVERIFY(loadLayout(t.db(), u"SSK"_s, u"E"_s)->productLines);
    QVERIFY(!loadLayout(t.db(), u"SSK"_s, u"N"_s));
    deleteLayout(t.db(), u"SSK"_s, u"E"_s);
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM recarka"_s), 0.0);
    QCOMPARE(dataFieldMeaning(u"HKPson"_s), u"Katılım Payı Toplamı"_s);
}

void TstCompanionLogic::institutionListValues()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    addInstitution(t.db(), u"BK"_s, u"BAĞ-KUR"_s);
    QCOMPARE(setInstitutionListValue(t.db(), u"SSK"_s, 0, u"Sicil No"_s), QString());
    QCOMPARE(setInstitutionListValue(t.db(), u"SSK"_s, 6, u"3"_s), QString());
    QCOMPARE(setInstitutionListValue(t.db(), u"SSK"_s, 7, u"r"_s), QString());
    QCOMPARE(setInstitutionListValue(t.db(), u"SSK"_s, 8, u"1"_s), QString());
    QCOMPARE(setInstitutionListValue(t.db(), u"SSK"_s, 6, u"12"_s), u"Yuvarlama hanesi 0 ile 9 arasında bir sayı olmalı."_s);
    QVERIFY(!setInstitutionListValue(t.db(), u"SSK"_s, 7, u"X"_s).isEmpty());
    QVERIFY(!setInstitutionListValue(t.db(), u"SSK"_s, 8, u"E"_s).isEmpty());
    QVERIFY(!setInstitutionListValue(t.db(), u"SSK"_s, 1, u"123456789012345678"_s).isEmpty());
    QVERIFY(!setInstitutionListValue(t.db(), u"YOK"_s, 1, u"x"_s).isEmpty());
    const auto rows = loadInstitutionLists(t.db());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].code, u"BK"_s);  // by name
    QCOMPARE(rows[1].values, (QStringList{u"Sicil No"_s, {}, {}, {}, {}, {}, u"3"_s, u"R"_s, u"1"_s}));
    QCOMPARE(institutionLabels(t.db(), u"SSK"_s).value(0), u"Sicil No"_s);
    // Clearing a value stores no value.
    QCOMPARE(setInstitutionListValue(t.db(), u"SSK"_s, 7, QString()), QString());
    QVERIFY(Sql::scalar(t.db(), u"SELECT YDEGER FROM KRMLAR WHERE KOD = 'SSK'"_s).isNull());
}

void TstCompanionLogic::rightsOfTheSignedInUser()
{
    TestDb t;
    SignedInUser u = SignedInUser::read(t.db());
    QVERIFY(u.productCards && u.institutionMovements && u.patientMovements);
    Sql::run(t.db(), u"UPDATE usera SET KULLANICI = 'KALFA', URUNKARTI = 'H', HASTAHRK = 'H', KURUMHRK = 'E'"_s);
    u = SignedInUser::read(t.db());
    QCOMPARE(u.name, u"KALFA"_s);
    QVERIFY(!u.productCards);
    QVERIFY(u.institutionMovements);
    QVERIFY(!u.patientMovements);
}

void TstCompanionLogic::fakeRecordsAndScripts()
{
    FakeCompanion c;
    c.answer(u"BrKurumCreate"_s, u"SSK"_s);
    c.answer(u"DateAl1"_s, QDate(2026, 12, 10));
    c.answer(u"BrHastaCreate"_s, 12);
    QCOMPARE(c.BrKurumCreate(1), u"SSK"_s);
    QCOMPARE(c.BrKurumCreate(1), QString());  // nothing queued: nothing chosen
    QCOMPARE(c.DateAl1(toDateTimeReal(kToday)), toDateTimeReal(QDate(2026, 12, 10)));
    QCOMPARE(c.BrHastaCreate(1), qint64(12));
    QCOMPARE(c.EskiAlisCreate(1), 0.0);
    MovementListRequest r;
    r.setKind(3);
    r.setMode('T');
    r.setStartDate(u"08.12.2026"_s);
    c.HareketListVer(r);
    int handled = 0;
    c.onCall(u"UEditInsert"_s, [&](const FakeCompanion::Call& call) {
        ++handled;
        return QVariant(call.args[0].toString() + u" FORTE"_s);
    });
    QCOMPARE(c.UEditInsert(u"PAROL"_s, 0), u"PAROL FORTE"_s);
    QCOMPARE(handled, 1);
    QCOMPARE(c.VeresiyeAc(u"SSK"_s, u"d"_s, 1, kToday, 5, 100, 20, u"SSK"_s), 0.0);
    QCOMPARE(c.entries(), (QStringList{u"BrKurumCreate"_s, u"BrKurumCreate"_s, u"DateAl1"_s, u"BrHastaCreate"_s,
                                       u"EskiAlisCreate"_s, u"HareketListVer"_s, u"UEditInsert"_s, u"VeresiyeAc"_s}));
    const FakeCompanion::Call* list = c.last(u"HareketListVer"_s);
    QVERIFY(list);
    QCOMPARE(list->request.size(), 1808);
    QCOMPARE(int(list->request[1536]), 3);
    QCOMPARE(list->request[1804], 'T');
    QCOMPARE(MovementWindow::fromRequest(reinterpret_cast<const unsigned char*>(list->request.constData())).from,
             QDate(2026, 12, 8));
    QCOMPARE(c.last(u"VeresiyeAc"_s)->args,
             (QVariantList{u"SSK"_s, u"d"_s, 1, kToday, 5.0, 100.0, 20.0, u"SSK"_s}));
    QCOMPARE(c.count(u"BrKurumCreate"_s), 2);
    QVERIFY(!c.last(u"TanimlaRecete"_s));
}

void TstCompanionLogic::fakeWritesLikeTheLibrary()
{
    TestDb t;
    addInstitution(t.db(), u"SSK"_s, u"SSK"_s);
    const qint64 patient = addPatient(t.db(), u"AYŞE"_s, u"YILMAZ"_s);
    FakeCompanion c;
    c.writeCreditEntries(t.db(), kNow, u"ECZACI"_s);
    const double no = c.VeresiyeAc(u"SSK"_s, u"x Tarihli Faturalı Satışın"_s, 1, kToday, 12, 4000, 0, u"SSK"_s);
    QCOMPARE(no, 1.0);
    QCOMPARE(movementRow(t.db(), no).alsatno, 12.0);
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR"_s), 4000.0);
    c.VeresiyeAc(QString(), u"y"_s, 0, kToday, no, 3500, 0, QString());
    QCOMPARE(number(t.db(), u"SELECT BORC FROM KRMLAR"_s), 3500.0);
    // The counter sale names no account: the user's answer decides.
    QCOMPARE(c.VeresiyeAc(QString(), u"z"_s, 1, kToday, 0, 100, 0, QString()), 0.0);
    c.creditAccount = QString::number(patient);
    c.creditDueDate = kToday.addDays(15);
    const double counter = c.VeresiyeAc(QString(), u"z"_s, 1, kToday, 0, 100, 0, QString());
    QCOMPARE(movementRow(t.db(), counter).carikod, QString::number(patient));
    QCOMPARE(movementRow(t.db(), counter).vade, kToday.addDays(15));
    QCOMPARE(number(t.db(), u"SELECT BORC FROM HASTA"_s), 100.0);
    QCOMPARE(c.VeresiyeAc(u"YOK"_s, u"z"_s, 1, kToday, 0, 100, 0, u"YOK"_s), 0.0);
    QCOMPARE(number(t.db(), u"SELECT COUNT(*) FROM HAREKET"_s), 2.0);
}

QTEST_GUILESS_MAIN(TstCompanionLogic)
#include "tst_companion_logic.moc"
