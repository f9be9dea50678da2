// The real libortakdlg.so through the program's loader: the windows are driven while
// they are modal, and the tables are checked afterwards.
#include "companion/backprint_layout.h"
#include "companion/loader/companion_loader.h"
#include "core/dates.h"
#include "data/database.h"
#include "data/sql.h"
#include "modal.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QDate kToday(2026, 12, 9);

QStringList column(QTableView* view, int c)
{
    QStringList r;
    for (int i = 0; i < view->model()->rowCount(); ++i) r << own(view->model()->index(i, c).data().toString());
    return r;
}

MovementListRequest request(int kind, char mode, const QDate& from, const QDate& to)
{
    MovementListRequest r;
    r.setKind(kind);
    r.setMode(mode);
    if (from.isValid()) r.setStartDate(dateText(from));
    if (to.isValid()) r.setEndDate(dateText(to));
    return r;
}

}  // namespace

class TstCompanion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void exportsOnlyTheEntryPoints();
    void programConnectionSurvivesTheCalls();
    void creditEntriesThroughTheLibrary();
    void creditEntryForAnAccountWithoutCard();
    void counterSaleNamesItsAccount();
    void movementListReadsTheRequest_data();
    void movementListReadsTheRequest();
    void movementListWithoutReminderShowsNothing();
    void movementListClosesAMovement();
    void dateAl1ReturnsTheChosenDate();
    void institutionChosenByTyping();
    void patientChosenByTyping();
    void referencedCardIsNotDeleted();
    void newCardFromTheList();
    void institutionCardWithItsRates();
    void patientCardShowsTheInstitutionsLabels();
    void movementDueDateMoves();
    void productCardNewAndEdit();
    void productCardNeedsTheRight();
    void oldSaleChosenByNumberOrDate();
    void backPrintLayoutIsSaved();
    void institutionListEditsAValue();
    void loaderReportsMissingEntryPoint();
    void loaderReportsMissingLibrary();
    void loaderFindsTheLibraryBesideTheProgram();

private:
    void addInstitution(const QString& code, const QString& name)
    {
        Sql::run(db(), u"INSERT INTO KRMLAR (KOD, AD, BORC, ALACAK) VALUES (:k, :a, 0, 0)"_s,
                 {{u"k"_s, code}, {u"a"_s, name}});
    }
    qint64 addPatient(const QString& name, const QString& surname)
    {
        return Sql::insert(db(), u"INSERT INTO HASTA (HASTADI, HASTASOYAD, BORC) VALUES (:a, :s, 0)"_s,
                           {{u"a"_s, name}, {u"s"_s, surname}});
    }
    double number(const QString& sql) { return Sql::scalar(db(), sql).toDouble(); }
    QString text(const QString& sql) { return Sql::scalar(db(), sql).toString(); }
    Database& db() { return testDb_->db(); }

    std::unique_ptr<TestDb> first_;  // the process's first connection, as the program's is
    std::unique_ptr<TestDb> testDb_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<CompanionLoader> loader_;
    std::unique_ptr<QTimer> rescue_;
};

void TstCompanion::initTestCase()
{
    first_ = std::make_unique<TestDb>();
    QVERIFY(QSqlDatabase::connectionNames().size() == 1);
}

void TstCompanion::init()
{
    testDb_ = std::make_unique<TestDb>();
    prompter_ = std::make_unique<ScriptedPrompter>();
    loader_ = std::make_unique<CompanionLoader>(*prompter_);
    // The library opens the alias ECZ itself: here it names the test's database.
    qputenv("SELVAR_ECZ", testDb_->path().toLocal8Bit());
    qputenv("SELVAR_COMPANION_LIB", ORTAKDLG_PATH);
    // A window a failing test leaves open is closed after a while, so the test fails
    // instead of hanging.
    rescue_ = std::make_unique<QTimer>();
    connect(rescue_.get(), &QTimer::timeout, rescue_.get(), [] {
        for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i) {
            qWarning("closing a window the test left open");
            QApplication::activeModalWidget()->close();
        }
    });
    rescue_->start(15000);
}

void TstCompanion::cleanup()
{
    QVERIFY2(!QApplication::activeModalWidget(), "a window of the library stayed open");
    rescue_.reset();
    loader_.reset();
    prompter_.reset();
    testDb_.reset();
}

void TstCompanion::exportsOnlyTheEntryPoints()
{
    QLibrary lib(QString::fromLocal8Bit(ORTAKDLG_PATH));
    QVERIFY2(lib.load(), qPrintable(lib.errorString()));
    for (const char* name : {"DateAl1", "BrKurumCreate", "BrHastaCreate", "BrDoktorCreate", "BrUrunCreate",
                             "BrJenCreate", "BrGrupCreate", "BrFirmaCreate", "BrEndikCreate", "BrSatisCreate",
                             "BrReceteCreate", "BrFatRsizCreate", "EskiAlisCreate", "UEditInsert", "HareketListVer",
                             "VeresiyeAc", "TanimlaRecete", "ListeTanimGor"})
        QVERIFY2(lib.resolve(name), name);
    QVERIFY(!lib.resolve("__wrap__ZN12QSqlDatabase8databaseERK7QStringb"));
    QVERIFY(!lib.resolve("_ZN6selvar5sortKeyERK7QString"));
    QVERIFY(lib.unload());
}

void TstCompanion::programConnectionSurvivesTheCalls()
{
    // The library keeps its own copy of the data layer, whose first connection would be
    // named like the program's first one.
    qputenv("SELVAR_ECZ", first_->path().toLocal8Bit());
    Database& program = first_->db();
    Sql::run(program, u"INSERT INTO KRMLAR (KOD, AD, BORC) VALUES ('SSK', 'SOSYAL SİGORTALAR KURUMU', 0)"_s);
    const QStringList before = QSqlDatabase::connectionNames();
    QCOMPARE(loader_->VeresiyeAc(u"SSK"_s, u"a"_s, 1, kToday, 0, 100, 0, u"SSK"_s), 1.0);
    QCOMPARE(loader_->VeresiyeAc(u"SSK"_s, u"b"_s, 1, kToday, 0, 200, 0, u"SSK"_s), 2.0);
    // The program's connection was neither replaced nor closed, and none of the
    // library's is left behind.
    QCOMPARE(QSqlDatabase::connectionNames(), before);
    QCOMPARE(Sql::scalar(program, u"SELECT SUM(BORC) FROM HAREKET"_s).toDouble(), 300.0);
    QCOMPARE(Sql::scalar(program, u"SELECT BORC FROM KRMLAR"_s).toDouble(), 300.0);
    // The library itself is gone again.
    QFile maps(u"/proc/self/maps"_s);
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("libortakdlg"));
}

void TstCompanion::creditEntriesThroughTheLibrary()
{
    addInstitution(u"ES"_s, u"EMEKLİ SANDIĞI"_s);
    const qint64 patient = addPatient(u"AYŞE"_s, u"YILMAZ"_s);
    Sql::run(db(), u"UPDATE HRKNOAL SET HRKNO = 7"_s);
    const QString key = QString::number(patient);

    const double no = loader_->VeresiyeAc(u"AYŞE YILMAZ"_s, u"09.12.2026 Tarihli Reçeteli Satışın"_s, 1, kToday, 0,
                                          42000, 8000, key);
    QCOMPARE(no, 7.0);
    {
        // (A statement left open would keep this connection on what it read first.)
        Sql q(db(), u"SELECT CARIKOD, ALSATNO, TUR, ALSAT, BORC, BILGI, TARIH, VADE, NIHAI FROM HAREKET "
                    u"WHERE HAREKNO = 7"_s);
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text(0), key);
        QCOMPARE(q.number(1), 0.0);
        QCOMPARE(q.text(2), u"M"_s);
        QCOMPARE(q.text(3), u"S"_s);
        QCOMPARE(q.number(4), 42000.0);
        QCOMPARE(q.text(5), u"09.12.2026 Tarihli Reçeteli Satışın"_s);
        QCOMPARE(q.date(6), kToday);
        QCOMPARE(q.date(7), kToday);
        QCOMPARE(q.integer(8), 0);
    }
    QCOMPARE(number(u"SELECT BORC FROM HASTA"_s), 42000.0);
    QCOMPARE(number(u"SELECT HRKNO FROM HRKNOAL"_s), 8.0);

    // An update changes the amount: the debt follows, it does not grow by both.
    QCOMPARE(loader_->VeresiyeAc(QString(), u"09.12.2026 Prk.Satış"_s, 0, kToday, no, 45500, 0, QString()), no);
    QCOMPARE(number(u"SELECT BORC FROM HAREKET WHERE HAREKNO = 7"_s), 45500.0);
    QCOMPARE(number(u"SELECT BORC FROM HASTA"_s), 45500.0);
    QCOMPARE(number(u"SELECT COUNT(*) FROM HAREKET"_s), 1.0);

    // A corrected old sale of an institution: the sale's number is the document.
    const double corr = loader_->VeresiyeAc(u"ES"_s, u"09.12.2026 Tarihli Faturalı Satışın"_s, 3, kToday, 55, 9000, 0,
                                            u"ES"_s);
    QCOMPARE(corr, 8.0);
    QCOMPARE(number(u"SELECT ALSATNO FROM HAREKET WHERE HAREKNO = 8"_s), 55.0);
    QCOMPARE(number(u"SELECT BORC FROM KRMLAR WHERE KOD = 'ES'"_s), 9000.0);
    QCOMPARE(number(u"SELECT BORC FROM HASTA"_s), 45500.0);
    QCOMPARE(loader_->VeresiyeAc(u"ES"_s, u"tekrar"_s, 3, kToday, 55, 9900, 0, u"ES"_s), 8.0);
    QCOMPARE(number(u"SELECT BORC FROM KRMLAR WHERE KOD = 'ES'"_s), 9900.0);
    QVERIFY(prompter_->shown.isEmpty());
}

void TstCompanion::creditEntryForAnAccountWithoutCard()
{
    QString shown;
    whenMessage([&](QMessageBox* box) {
        shown = own(box->text());
        answerBox(box, u"Tamam"_s);
    });
    QCOMPARE(loader_->VeresiyeAc(u"ALTIN LTD"_s, u"x"_s, 1, kToday, 0, 100, 0, u"ALTIN"_s), 0.0);
    QCOMPARE(shown, u"ALTIN LTD Cari Adının Kartlarda Kaydı Yok."_s);
    QCOMPARE(number(u"SELECT COUNT(*) FROM HAREKET"_s), 0.0);
    // An update of an entry that is not there says so and writes nothing.
    whenMessage([&](QMessageBox* box) {
        shown = own(box->text());
        answerBox(box, u"Tamam"_s);
    });
    QCOMPARE(loader_->VeresiyeAc(QString(), u"x"_s, 0, kToday, 31, 100, 0, QString()), 0.0);
    QCOMPARE(shown, u"31 Nolu Veresiye Kaydı Bulunamadı."_s);
}

void TstCompanion::counterSaleNamesItsAccount()
{
    addInstitution(u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    QString name, refusal;
    whenModal([&](QWidget* w) {
        auto* account = w->findChild<QLineEdit*>(u"account"_s);
        // Saving without an account is refused.
        whenMessage([&](QMessageBox* box) {
            refusal = own(box->text());
            answerBox(box, u"Tamam"_s);
        });
        press(account, Qt::Key_Return);
        typeText(account, u"SSK"_s);
        name = own(w->findChild<QLabel*>(u"accountName"_s)->text());
        auto* due = w->findChild<QLineEdit*>(u"due"_s);
        due->setText(u"20.12.2026"_s);
        press(account, Qt::Key_Return);
    });
    const double no = loader_->VeresiyeAc(QString(), u"09.12.2026 Tarihli Prk.Satış"_s, 1, kToday, 0, 1500, 0, QString());
    QCOMPARE(refusal, u"Veresiye kaydı için bir kurum veya hasta seçin."_s);
    QCOMPARE(name, u"SOSYAL SİGORTALAR KURUMU"_s);
    QCOMPARE(no, 1.0);
    QCOMPARE(text(u"SELECT CARIKOD FROM HAREKET"_s), u"SSK"_s);
    QCOMPARE(Sql::scalar(db(), u"SELECT VADE FROM HAREKET"_s).toString(), u"2026-12-20"_s);
    QCOMPARE(text(u"SELECT BILGI FROM HAREKET"_s), u"09.12.2026 Tarihli Prk.Satış"_s);
    QCOMPARE(number(u"SELECT BORC FROM KRMLAR"_s), 1500.0);

    // Esc: no entry, and the number the sale window keeps is 0.
    whenModal([](QWidget* w) { press(keyTarget(w), Qt::Key_Escape); });
    QCOMPARE(loader_->VeresiyeAc(QString(), u"x"_s, 1, kToday, 0, 700, 0, QString()), 0.0);
    QCOMPARE(number(u"SELECT COUNT(*) FROM HAREKET"_s), 1.0);

    // The entry tied to sale 12 is corrected: the dialog offers its account, and the
    // entry is replaced rather than doubled.
    Sql::run(db(), u"UPDATE HAREKET SET ALSATNO = 12"_s);
    QString offered;
    whenModal([&](QWidget* w) {
        auto* account = w->findChild<QLineEdit*>(u"account"_s);
        offered = own(account->text());
        press(account, Qt::Key_Return);
    });
    QCOMPARE(loader_->VeresiyeAc(QString(), u"09.12.2026 Prk.Satış"_s, 3, kToday, 12, 1800, 0, QString()), 1.0);
    QCOMPARE(offered, u"SSK"_s);
    QCOMPARE(number(u"SELECT COUNT(*) FROM HAREKET"_s), 1.0);
    QCOMPARE(number(u"SELECT BORC FROM KRMLAR"_s), 1800.0);
}

void TstCompanion::movementListReadsTheRequest_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("both") << 1 << kToday.addDays(-5) << kToday.addDays(5) << QStringList{u"3"_s, u"1"_s, u"5"_s};
    QTest::newRow("creditors") << 2 << kToday.addDays(-5) << kToday.addDays(5) << QStringList{u"3"_s, u"5"_s};
    QTest::newRow("debtors") << 3 << kToday.addDays(-5) << kToday.addDays(5) << QStringList{u"1"_s};
    QTest::newRow("open payments") << 2 << QDate() << QDate() << QStringList{u"3"_s, u"5"_s, u"6"_s};
    QTest::newRow("narrow") << 1 << kToday << kToday.addDays(1) << QStringList{u"1"_s};
}

void TstCompanion::movementListReadsTheRequest()
{
    QFETCH(int, kind);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, numbers);
    addInstitution(u"DEPO1"_s, u"MERKEZ ECZA DEPOSU"_s);
    const qint64 patient = addPatient(u"AYŞE"_s, u"YILMAZ"_s);
    auto add = [&](double no, const QString& account, double debit, double credit, const QDate& due, int state) {
        Sql::run(db(), u"INSERT INTO HAREKET (HAREKNO, CARIKOD, TUR, TARIH, VADE, BORC, ALACAK, BILGI, NIHAI) "
                       u"VALUES (:n, :k, 'M', :d, :v, :b, :a, 'açıklama', :s)"_s,
                 {{u"n"_s, no}, {u"k"_s, account}, {u"d"_s, kToday.addDays(-20)}, {u"v"_s, due}, {u"b"_s, debit},
                  {u"a"_s, credit}, {u"s"_s, state}});
    };
    add(1, QString::number(patient), 500, 0, kToday.addDays(1), 0);
    add(2, QString::number(patient), 500, 0, kToday.addDays(1), 1);
    add(3, u"DEPO1"_s, 0, 9000, kToday.addDays(-2), 0);
    add(4, QString::number(patient), 800, 0, kToday.addDays(9), 0);
    add(5, u"DEPO1"_s, 0, 100, kToday.addDays(5), 0);
    add(6, u"DEPO1"_s, 0, 100, kToday.addDays(30), 0);
    QStringList seen, names;
    QString totals;
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        seen = column(view, 0);
        names = column(view, 1);
        totals = own(w->findChild<QLabel*>(u"totals"_s)->text());
        press(keyTarget(w), Qt::Key_Escape);
    });
    loader_->HareketListVer(request(kind, 'T', from, to));
    QCOMPARE(seen, numbers);
    if (numbers.contains(u"1"_s)) QVERIFY(names.contains(u"AYŞE YILMAZ"_s));
    if (numbers.contains(u"3"_s)) QVERIFY(names.contains(u"MERKEZ ECZA DEPOSU"_s));
    QVERIFY(totals.startsWith(u"Açık Borç Toplamı : "_s));
}

void TstCompanion::movementListWithoutReminderShowsNothing()
{
    Sql::run(db(), u"INSERT INTO HAREKET (HAREKNO, CARIKOD, TUR, TARIH, VADE, BORC, NIHAI) "
                   u"VALUES (1, 'X', 'M', :d, :d, 10, 0)"_s,
             {{u"d"_s, kToday}});
    bool shown = false;
    QPointer<QTimer> watch = whenModal([&](QWidget* w) {
        shown = true;
        w->close();
    });
    loader_->HareketListVer(request(1, '0', kToday.addDays(-1), kToday.addDays(1)));
    delete watch.data();
    QVERIFY(!shown);
    QVERIFY(prompter_->shown.isEmpty());
}

void TstCompanion::movementListClosesAMovement()
{
    addInstitution(u"SSK"_s, u"SSK"_s);
    Sql::run(db(), u"INSERT INTO HAREKET (HAREKNO, CARIKOD, TUR, TARIH, VADE, BORC, NIHAI) VALUES "
                   u"(1, 'SSK', 'M', :d, :d, 10, 0), (2, 'SSK', 'M', :d, :v, 20, 0)"_s,
             {{u"d"_s, kToday}, {u"v"_s, kToday.addDays(1)}});
    QString question, state;
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        press(view, Qt::Key_Down);
        whenMessage([&](QMessageBox* box) {
            question = own(box->text());
            press(keyTarget(box), Qt::Key_Return);  // "Evet" is the default
        });
        press(view, Qt::Key_F9);
        state = own(view->model()->index(1, 8).data().toString());
        press(view, Qt::Key_Escape);
    });
    loader_->HareketListVer(request(3, 'T', kToday.addDays(-1), kToday.addDays(1)));
    QCOMPARE(question, u"Bu hareket kapatılsın mı?"_s);
    QCOMPARE(state, u"Kapatıldı"_s);
    QCOMPARE(number(u"SELECT NIHAI FROM HAREKET WHERE HAREKNO = 2"_s), 1.0);
    QCOMPARE(number(u"SELECT NIHAI FROM HAREKET WHERE HAREKNO = 1"_s), 0.0);
}

void TstCompanion::dateAl1ReturnsTheChosenDate()
{
    QDate opened;
    whenModal([&](QWidget* w) {
        opened = w->findChild<QCalendarWidget*>(u"calendar"_s)->selectedDate();
        press(keyTarget(w), Qt::Key_Right);
        press(keyTarget(w), Qt::Key_Return);
    });
    QCOMPARE(loader_->DateAl1(toDateTimeReal(kToday)), toDateTimeReal(kToday.addDays(1)));
    QCOMPARE(opened, kToday);
    whenModal([&](QWidget* w) { press(keyTarget(w), Qt::Key_Escape); });
    QCOMPARE(loader_->DateAl1(toDateTimeReal(kToday)), 0.0);
}

void TstCompanion::institutionChosenByTyping()
{
    addInstitution(u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    addInstitution(u"ES"_s, u"EMEKLİ SANDIĞI"_s);
    addInstitution(u"BK"_s, u"BAĞ-KUR"_s);
    addInstitution(u"ÇB"_s, u"ÇEVRE BAKANLIĞI"_s);
    addInstitution(u"CK"_s, u"CEZAEVİ KURUMU"_s);
    QString searched;
    QStringList order;
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        order = column(view, 0);
        typeText(view, u"emeq"_s);  // the "q" matches nothing and is dropped
        searched = own(w->findChild<QLabel*>(u"search"_s)->text());
        press(view, Qt::Key_Return);
    });
    QCOMPARE(loader_->BrKurumCreate(1), u"ES"_s);
    QCOMPARE(searched, u"Aranan: eme"_s);
    QCOMPARE(order, (QStringList{u"BAĞ-KUR"_s, u"CEZAEVİ KURUMU"_s, u"ÇEVRE BAKANLIĞI"_s, u"EMEKLİ SANDIĞI"_s,
                                 u"SOSYAL SİGORTALAR KURUMU"_s}));
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        typeText(view, u"ç"_s);
        press(view, Qt::Key_Return);
    });
    QCOMPARE(loader_->BrKurumCreate(1), u"ÇB"_s);
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        typeText(view, u"so"_s);
        press(view, Qt::Key_Escape);  // clears the search
        press(view, Qt::Key_Escape);  // closes
    });
    QCOMPARE(loader_->BrKurumCreate(1), QString());
}

void TstCompanion::patientChosenByTyping()
{
    addPatient(u"MEHMET"_s, u"KAYA"_s);
    const qint64 ismail = addPatient(u"İSMAİL"_s, u"DEMİR"_s);
    addPatient(u"IŞIL"_s, u"TAN"_s);
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        typeText(view, u"is"_s);  // i is İ in Turkish
        press(view, Qt::Key_Return);
    });
    QCOMPARE(loader_->BrHastaCreate(1), ismail);
    whenModal([&](QWidget* w) { press(keyTarget(w), Qt::Key_Escape); });
    QCOMPARE(loader_->BrHastaCreate(1), qint64(0));
}

void TstCompanion::referencedCardIsNotDeleted()
{
    Sql::run(db(), u"INSERT INTO GRUP (GRUPNO, GRUPAD) VALUES (1, 'AĞRI KESİCİLER'), (2, 'VİTAMİNLER')"_s);
    addProduct(db(), u"PAROL 500 MG"_s, 2500);
    Sql::run(db(), u"UPDATE URUN SET GRUPNO = 1"_s);
    QString question, refusal;
    int rowsAfter = -1;
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        whenMessage([&](QMessageBox* box) {
            question = own(box->text());
            whenMessage([&](QMessageBox* warning) {
                refusal = own(warning->text());
                answerBox(warning, u"Tamam"_s);
            });
            answerBox(box, u"&Evet"_s);
        });
        press(view, Qt::Key_Delete);
        // The free group goes.
        press(view, Qt::Key_Down);
        whenMessage([&](QMessageBox* box) { answerBox(box, u"&Evet"_s); });
        press(view, Qt::Key_Delete);
        rowsAfter = view->model()->rowCount();
        press(view, Qt::Key_Escape);
    });
    loader_->BrGrupCreate(0);
    QCOMPARE(question, u"Silinsin mi?"_s);
    QCOMPARE(refusal, u"Bu kart başka kayıtlarda kullanılıyor (1 ürün kartı). Silinemez!"_s);
    QCOMPARE(rowsAfter, 1);
    QCOMPARE(text(u"SELECT GRUPAD FROM GRUP"_s), u"AĞRI KESİCİLER"_s);
}

void TstCompanion::newCardFromTheList()
{
    int rows = -1;
    whenModal([&](QWidget* list) {
        auto* view = list->findChild<QTableView*>(u"list"_s);
        whenModal(
            [&](QWidget* form) {
                typeText(keyTarget(form), u"PARASETAMOL"_s);
                press(keyTarget(form), Qt::Key_Return);
            },
            list);
        press(view, Qt::Key_Insert);
        rows = view->model()->rowCount();
        press(view, Qt::Key_Escape);
    });
    loader_->BrJenCreate(0);
    QCOMPARE(rows, 1);
    QCOMPARE(text(u"SELECT JENERIKAD FROM JEN WHERE JENERIKNO = 1"_s), u"PARASETAMOL"_s);
}

void TstCompanion::institutionCardWithItsRates()
{
    addInstitution(u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    addPatient(u"ALİ"_s, u"VELİ"_s);
    Sql::run(db(), u"UPDATE HASTA SET KURUM = 'SSK'"_s);
    Sql::run(db(), u"UPDATE KRMLAR SET BORC = 1250000"_s);
    bool codeLocked = false;
    QString balance;
    whenModal([&](QWidget* list) {
        auto* view = list->findChild<QTableView*>(u"list"_s);
        // A new card with its percentages.
        whenModal(
            [&](QWidget* form) {
                form->findChild<QLineEdit*>(u"KOD"_s)->setText(u"ES"_s);
                form->findChild<QLineEdit*>(u"AD"_s)->setText(u"EMEKLİ SANDIĞI"_s);
                form->findChild<QLineEdit*>(u"ILACLARDAKURUM"_s)->setText(u"10"_s);
                form->findChild<QLineEdit*>(u"ILACLARDAEMEKLI"_s)->setText(u"20"_s);
                form->findChild<QLineEdit*>(u"IHLRAPDIGER"_s)->setText(u"12,5"_s);
                form->findChild<QCheckBox*>(u"HSP_ISKON"_s)->setChecked(true);
                press(keyTarget(form), Qt::Key_F2);
            },
            list);
        press(view, Qt::Key_Insert);
        // The card a patient points at keeps its code; its balance is only shown.
        typeText(view, u"sos"_s);
        whenModal(
            [&](QWidget* form) {
                auto* code = form->findChild<QLineEdit*>(u"KOD"_s);
                codeLocked = code->isReadOnly();
                balance = own(form->findChild<QLineEdit*>(u"BORC"_s)->text());
                press(keyTarget(form), Qt::Key_Escape);
            },
            list);
        press(view, Qt::Key_F2);
        press(view, Qt::Key_Escape);  // clears the search
        press(view, Qt::Key_Escape);
    });
    loader_->BrKurumCreate(0);
    QVERIFY(codeLocked);
    QCOMPARE(balance, u"1.250.000 TL"_s);
    QCOMPARE(number(u"SELECT ILACLARDAKURUM FROM KRMLAR WHERE KOD = 'ES'"_s), 10.0);
    QCOMPARE(number(u"SELECT ILACLARDAEMEKLI FROM KRMLAR WHERE KOD = 'ES'"_s), 20.0);
    QCOMPARE(number(u"SELECT IHLRAPDIGER FROM KRMLAR WHERE KOD = 'ES'"_s), 12.5);
    QCOMPARE(text(u"SELECT HSP_ISKON FROM KRMLAR WHERE KOD = 'ES'"_s), u"1"_s);
    QCOMPARE(text(u"SELECT AD FROM KRMLAR WHERE KOD = 'ES'"_s), u"EMEKLİ SANDIĞI"_s);
}

void TstCompanion::patientCardShowsTheInstitutionsLabels()
{
    addInstitution(u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    Sql::run(db(), u"UPDATE KRMLAR SET ETIKET1 = 'Sicil No', ETIKET2 = 'İşyeri'"_s);
    const qint64 patient = addPatient(u"ALİ"_s, u"VELİ"_s);
    Sql::run(db(), u"UPDATE HASTA SET KURUM = 'SSK'"_s);
    QStringList labels;
    whenModal([&](QWidget* list) {
        whenModal(
            [&](QWidget* form) {
                for (const char* f : {"BAS1", "BAS2", "BAS3"})
                    for (QLabel* l : form->findChildren<QLabel*>())
                        if (l->buddy() == form->findChild<QWidget*>(QString::fromLatin1(f))) labels << own(l->text());
                form->findChild<QLineEdit*>(u"BAS1"_s)->setText(u"12345"_s);
                press(keyTarget(form), Qt::Key_Return);
            },
            list);
        press(list->findChild<QTableView*>(u"list"_s), Qt::Key_Return);  // mode 0: Enter changes the card
        press(list->findChild<QTableView*>(u"list"_s), Qt::Key_Escape);
    });
    QCOMPARE(loader_->BrHastaCreate(0), qint64(0));
    QCOMPARE(labels, (QStringList{u"Sicil No"_s, u"İşyeri"_s, u"Başlık 3"_s}));
    QCOMPARE(text(u"SELECT BAS1 FROM HASTA WHERE HASTANO = "_s + QString::number(patient)), u"12345"_s);
}

void TstCompanion::movementDueDateMoves()
{
    Sql::run(db(), u"INSERT INTO HAREKET (HAREKNO, CARIKOD, TUR, TARIH, VADE, BORC, NIHAI) "
                   u"VALUES (1, 'X', 'M', :d, :d, 10, 0)"_s,
             {{u"d"_s, kToday}});
    QString due;
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        whenModal(
            [](QWidget* calendar) {
                press(keyTarget(calendar), Qt::Key_Down);  // a week later
                press(keyTarget(calendar), Qt::Key_Return);
            },
            w);
        press(view, Qt::Key_F4);
        due = own(view->model()->index(0, 5).data().toString());
        press(view, Qt::Key_Escape);
    });
    loader_->HareketListVer(request(1, 'T', {}, {}));
    QCOMPARE(due, u"16.12.2026"_s);
    QCOMPARE(Sql::scalar(db(), u"SELECT VADE FROM HAREKET"_s).toString(), u"2026-12-16"_s);
}

void TstCompanion::productCardNewAndEdit()
{
    Sql::run(db(), u"INSERT INTO JEN (JENERIKNO, JENERIKAD) VALUES (4, 'PARASETAMOL')"_s);
    whenModal([&](QWidget* form) {
        form->findChild<QLineEdit*>(u"ILACAD"_s)->setText(u"PAROL 500 MG TABLET"_s);
        form->findChild<QLineEdit*>(u"FIYAT"_s)->setText(u"2.500"_s);
        form->findChild<QLineEdit*>(u"FIYATARIH"_s)->setText(u"01.03.2026"_s);
        form->findChild<QLineEdit*>(u"MIAD"_s)->setText(u"05.2028"_s);
        auto* generic = form->findChild<QComboBox*>(u"JENERIKNO"_s);
        generic->setCurrentIndex(generic->findText(u"PARASETAMOL"_s));
        press(keyTarget(form), Qt::Key_F2);
    });
    QCOMPARE(loader_->UEditInsert(QString(), 1), u"PAROL 500 MG TABLET"_s);
    QCOMPARE(number(u"SELECT FIYAT FROM URUN"_s), 2500.0);
    QCOMPARE(number(u"SELECT JENERIKNO FROM URUN"_s), 4.0);
    QCOMPARE(text(u"SELECT MIAD FROM URUN"_s), u"2028-05-31"_s);
    QCOMPARE(number(u"SELECT MIKTAR FROM URUN"_s), 0.0);

    QString shownPrice;
    whenModal([&](QWidget* form) {
        auto* price = form->findChild<QLineEdit*>(u"FIYAT"_s);
        shownPrice = own(price->text());
        price->setText(u"2800"_s);
        press(keyTarget(form), Qt::Key_F2);
    });
    QCOMPARE(loader_->UEditInsert(u"parol 500 mg tablet"_s, 0), u"PAROL 500 MG TABLET"_s);
    QCOMPARE(shownPrice, u"2500"_s);
    QCOMPARE(number(u"SELECT FIYAT FROM URUN"_s), 2800.0);
    QCOMPARE(number(u"SELECT FIYAT FROM URFAYAR"_s), 2500.0);

    // Cancelled: the empty name.
    whenModal([&](QWidget* form) { press(keyTarget(form), Qt::Key_Escape); });
    QCOMPARE(loader_->UEditInsert(u"PAROL 500 MG TABLET"_s, 0), QString());
}

void TstCompanion::productCardNeedsTheRight()
{
    Sql::run(db(), u"UPDATE usera SET KULLANICI = 'KALFA', URUNKARTI = 'H'"_s);
    QString shown;
    whenMessage([&](QMessageBox* box) {
        shown = own(box->text());
        answerBox(box, u"Tamam"_s);
    });
    QCOMPARE(loader_->UEditInsert(QString(), 1), QString());
    QCOMPARE(shown, u"Ürün kartlarında değişiklik yapma yetkiniz yok."_s);
    QCOMPARE(number(u"SELECT COUNT(*) FROM URUN"_s), 0.0);
}

void TstCompanion::oldSaleChosenByNumberOrDate()
{
    auto sale = [&](double no, const QString& kind, const QDateTime& when) {
        Sql::run(db(), u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, PARAKENDE) "
                       u"VALUES (:n, 1, :t, 1, 1000, 1, :k)"_s,
                 {{u"n"_s, no}, {u"t"_s, when}, {u"k"_s, kind}});
    };
    sale(1, u"P"_s, QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    sale(2, u"P"_s, QDateTime(QDate(2026, 12, 4), QTime(9, 0)));
    sale(3, u"R"_s, QDateTime(QDate(2026, 12, 5), QTime(9, 0)));
    sale(4, u"P"_s, QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    QStringList numbers;
    whenModal([&](QWidget* w) {
        numbers = column(w->findChild<QTableView*>(u"list"_s), 1);
        auto* search = w->findChild<QLineEdit*>(u"search"_s);
        typeText(search, u"2"_s);
        press(search, Qt::Key_Return);
    });
    QCOMPARE(loader_->BrSatisCreate(1), 2.0);
    QCOMPARE(numbers, (QStringList{u"4"_s, u"2"_s, u"1"_s}));
    whenModal([&](QWidget* w) {
        auto* search = w->findChild<QLineEdit*>(u"search"_s);
        typeText(search, u"03.12.2026"_s);
        press(search, Qt::Key_Return);
    });
    QCOMPARE(loader_->BrSatisCreate(1), 1.0);
    whenModal([&](QWidget* w) {
        auto* search = w->findChild<QLineEdit*>(u"search"_s);
        press(search, Qt::Key_Down);
        press(search, Qt::Key_Return);
    });
    QCOMPARE(loader_->BrReceteCreate(1), 3.0);  // the one prescription sale; Down stays on it
    whenModal([&](QWidget* w) { press(keyTarget(w), Qt::Key_Escape); });
    QCOMPARE(loader_->BrSatisCreate(1), 0.0);
}

void TstCompanion::backPrintLayoutIsSaved()
{
    addInstitution(u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    QString info, question;
    whenModal([&](QWidget* w) {
        auto* data = w->findChild<QComboBox*>(u"DATA1"_s);
        data->setEditText(u"RECTARIH"_s);
        w->findChild<QLineEdit*>(u"CAPTION1"_s)->setText(u"Reç.Trh :"_s);
        w->findChild<QSpinBox*>(u"GENIS1"_s)->setValue(30);
        w->findChild<QComboBox*>(u"B_DATA2"_s)->setEditText(u"BRUTUTAR"_s);
        whenMessage([&](QMessageBox* box) {
            info = own(box->text());
            answerBox(box, u"Tamam"_s);
        });
        w->findChild<QPushButton*>(u"save"_s)->click();
        // A change left unsaved is asked about; "Hayır" drops it.
        w->findChild<QLineEdit*>(u"CAPTION1"_s)->setText(u"değişti"_s);
        whenMessage([&](QMessageBox* box) {
            question = own(box->text());
            answerBox(box, u"&Hayır"_s);
        });
        press(keyTarget(w), Qt::Key_Escape);
    });
    loader_->TanimlaRecete();
    QCOMPARE(info, u"Reçete arkası tanımı kaydedildi."_s);
    QCOMPARE(question, u"Yapılan değişiklikler kaydedilsin mi?"_s);
    const auto l = loadLayout(db(), u"SSK"_s, u"N"_s);
    QVERIFY(l);
    QCOMPARE(l->fields[0].data, u"RECTARIH"_s);
    QCOMPARE(l->fields[0].chosen, u"Reçete Tarihi"_s);
    QCOMPARE(l->fields[0].caption, u"Reç.Trh :"_s);
    QCOMPARE(l->fields[0].width, 30);
    QCOMPARE(l->columns[1].data, u"BRUTUTAR"_s);
    QVERIFY(l->productLines);
}

void TstCompanion::institutionListEditsAValue()
{
    addInstitution(u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s);
    addInstitution(u"BK"_s, u"BAĞ-KUR"_s);
    QString refusal;
    whenModal([&](QWidget* w) {
        auto* view = w->findChild<QTableView*>(u"list"_s);
        typeText(view, u"so"_s);  // to SOSYAL SİGORTALAR KURUMU
        press(view, Qt::Key_F2);
        auto editorOf = [view] {
            for (QLineEdit* e : view->viewport()->findChildren<QLineEdit*>())
                if (e->isVisible()) return e;  // a closed editor waits for its deletion
            return static_cast<QLineEdit*>(nullptr);
        };
        QLineEdit* editor = editorOf();
        QVERIFY(editor);
        editor->setText(u"Sicil No"_s);
        press(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the cell is stored once the editor closes
        // A rounding of 12 digits is refused.
        view->setCurrentIndex(view->model()->index(view->currentIndex().row(), 8));
        press(view, Qt::Key_F2);
        editor = editorOf();
        QVERIFY(editor);
        whenMessage([&](QMessageBox* box) {
            refusal = own(box->text());
            answerBox(box, u"Tamam"_s);
        });
        editor->setText(u"12"_s);
        press(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        press(view, Qt::Key_Escape);
    });
    loader_->ListeTanimGor();
    QCOMPARE(text(u"SELECT ETIKET1 FROM KRMLAR WHERE KOD = 'SSK'"_s), u"Sicil No"_s);
    QVERIFY(Sql::scalar(db(), u"SELECT ETIKET1 FROM KRMLAR WHERE KOD = 'BK'"_s).isNull());
    QCOMPARE(refusal, u"Yuvarlama hanesi 0 ile 9 arasında bir sayı olmalı."_s);
    QVERIFY(Sql::scalar(db(), u"SELECT FATYUVAR FROM KRMLAR WHERE KOD = 'SSK'"_s).isNull());
}

void TstCompanion::loaderReportsMissingEntryPoint()
{
    qputenv("SELVAR_COMPANION_LIB", ORTAKDLG_EKSIK_PATH);
    QCOMPARE(loader_->DateAl1(10), 11.0);  // the one entry point it has
    QCOMPARE(loader_->BrKurumCreate(1), QString());
    QCOMPARE(prompter_->shown.size(), 1);
    QCOMPARE(prompter_->shown[0].kind, MessageKind::Error);
    QVERIFY(prompter_->shown[0].text.startsWith(u"Ortak Diyalog Kütüphanesinde \"BrKurumCreate\" Bulunamadı."_s));
    QCOMPARE(loader_->VeresiyeAc(u"SSK"_s, u"x"_s, 1, kToday, 0, 10, 0, u"SSK"_s), 0.0);
    loader_->HareketListVer(request(1, 'T', {}, {}));
    QCOMPARE(prompter_->shown.size(), 3);
    QVERIFY(prompter_->shown[2].text.contains(u"\"HareketListVer\""_s));
}

void TstCompanion::loaderReportsMissingLibrary()
{
    qputenv("SELVAR_COMPANION_LIB", "/yok/libortakdlg.so");
    QCOMPARE(loader_->BrHastaCreate(1), qint64(0));
    QCOMPARE(loader_->EskiAlisCreate(1), 0.0);
    QCOMPARE(prompter_->shown.size(), 2);
    QCOMPARE(prompter_->shown[0].text, u"Ortak Diyalog Kütüphanesi (ortakdlg) Yüklenemedi.\n/yok/libortakdlg.so"_s);
}

void TstCompanion::loaderFindsTheLibraryBesideTheProgram()
{
    qunsetenv("SELVAR_COMPANION_LIB");
    QCOMPARE(QFileInfo(CompanionLoader::libraryLocation()).canonicalFilePath(),
             QFileInfo(QString::fromLocal8Bit(ORTAKDLG_PATH)).canonicalFilePath());
    qputenv("SELVAR_COMPANION_LIB", "/elsewhere/lib.so");
    QCOMPARE(CompanionLoader::libraryLocation(), u"/elsewhere/lib.so"_s);
}

QTEST_MAIN(TstCompanion)
#include "tst_companion.moc"
