#include "app/ui/main_form.h"
#include "app/ui/marquee.h"
#include "app/ui/password_dlg.h"
#include "app/password_logic.h"
#include "app/ui/splash.h"
#include "companion/companion.h"
#include "data/database.h"
#include "data/password_hash.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/retry.h"
#include "platform/ui/command.h"
#include "platform/session.h"
#include "support/fake_platform.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cstring>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Records the reminder requests; every dialog answers "nothing chosen".
class RecordingCompanion final : public Companion {
public:
    double DateAl1(double) override { return 0; }
    QString BrKurumCreate(int mode) override { return note(u"BrKurumCreate"_s, mode), QString(); }
    qint64 BrHastaCreate(int mode) override { return note(u"BrHastaCreate"_s, mode), 0; }
    qint64 BrDoktorCreate(int mode) override { return note(u"BrDoktorCreate"_s, mode), 0; }
    QString BrUrunCreate(int mode) override { return note(u"BrUrunCreate"_s, mode), QString(); }
    void BrJenCreate(int mode) override { note(u"BrJenCreate"_s, mode); }
    void BrGrupCreate(int mode) override { note(u"BrGrupCreate"_s, mode); }
    void BrFirmaCreate(int mode) override { note(u"BrFirmaCreate"_s, mode); }
    void BrEndikCreate(int mode) override { note(u"BrEndikCreate"_s, mode); }
    double BrSatisCreate(int) override { return 0; }
    double BrReceteCreate(int) override { return 0; }
    double BrFatRsizCreate(int) override { return 0; }
    double EskiAlisCreate(int mode) override { return note(u"EskiAlisCreate"_s, mode), 0; }
    QString UEditInsert(const QString&, int) override { return {}; }
    void HareketListVer(const MovementListRequest& r) override { requests << r; }
    double VeresiyeAc(const QString&, const QString&, int, const QDate&, double, double, double, const QString&) override
    {
        return 0;
    }
    void TanimlaRecete() override { calls << u"TanimlaRecete"_s; }
    void ListeTanimGor() override { calls << u"ListeTanimGor"_s; }
    void note(const QString& name, int mode) { calls << name + u':' + QString::number(mode); }
    QList<MovementListRequest> requests;
    QStringList calls;
};

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 0)), 1};
    FakePlatform platform;
    RecordingCompanion companion;
    Session session{t.db(), prompter, clock};
    Fixture()
    {
        session.platform = &platform;
        session.companion = &companion;
        Sql::run(t.db(), u"UPDATE EKIM SET EADI = 'PAPATYA ECZANESİ', ACE = 'Ctrl+K', HATGUNB = 10, HATGUNA = 7"_s);
    }
    // A user with every right except those given as false (null when `nulls`).
    void addUser(const QString& name, const QString& password, const QStringList& without = {}, bool nulls = false,
                 const QString& productCard = u"E"_s)
    {
        t->addPassword(SessionPassword);
        Table users(t.db(), u"USERKIM.db"_s);
        users.insert();
        users.set(u"KULLANICI"_s, name);
        users.set(u"SIFRESI"_s, password);
        users.set(u"URUNKARTI"_s, productCard);
        users.set(u"KURUMHRK"_s, u"E"_s);
        users.set(u"HASTAHRK"_s, u"H"_s);
        for (const FieldDef& f : users.def().fields)
            if (f.type == FieldType::Logical)
                users.set(f.name, without.contains(f.name) ? (nulls ? QVariant() : QVariant(false)) : QVariant(true));
        users.post();
        t->dropPasswords();
    }
    bool signIn(const QString& name, const QString& password)
    {
        PasswordLogic logic(session);
        logic.shown();
        const bool ok = logic.tryLogin(name, password);
        logic.closed();
        return ok;
    }
    WindowOpeners allOpeners()
    {
        WindowOpeners o;
        auto mark = [this](const QString& what) { return [this, what] { opened << what; }; };
        o.sale = mark(u"sale"_s);
        o.purchase = mark(u"purchase"_s);
        o.exchange = mark(u"exchange"_s);
        o.sskSale = mark(u"sskSale"_s);
        o.issuedSskInvoices = [this](const QString& code) { opened << u"ssk:"_s + code; };
        o.salesPriceSetting = [this](double n) { opened << u"price:"_s + QString::number(n); };
        o.repricing = mark(u"repricing"_s);
        o.oldPriceRepricing = mark(u"oldPriceRepricing"_s);
        o.automaticRepricing = mark(u"automaticRepricing"_s);
        o.privateReports = mark(u"privateReports"_s);
        return o;
    }
    QStringList opened;
};

QByteArray expectedRequest(int kind, const QString& start, const QString& end, char mode)
{
    QByteArray b(1808, '\0');
    auto text = [&](int offset, const QString& s) {
        const QByteArray latin = s.toLatin1();
        b[offset] = char(latin.size());
        std::memcpy(b.data() + offset + 1, latin.constData(), size_t(latin.size()));
    };
    text(512, start);
    text(768, end);
    const qint32 k = kind, zero = 0, minus = -1;
    std::memcpy(b.data() + 1536, &k, 4);
    std::memcpy(b.data() + 1540, &zero, 4);
    std::memcpy(b.data() + 1800, &minus, 4);
    b[1804] = mode;
    return b;
}

QByteArray bytesOf(const MovementListRequest& r) { return QByteArray(reinterpret_cast<const char*>(r.bytes.data()), 1808); }

QStringList logRows(Database& db)
{
    QStringList r;
    Sql q(db, u"SELECT ACIKLA, ISLETIPI FROM PROSES ORDER BY rowid"_s);
    q.exec();
    while (q.next()) r << q.text(0) + u" | "_s + q.text(1);
    return r;
}

}  // namespace

class TstApp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wrongUserAndWrongPasswordLookAlike();
    void passwordDialogKeys();
    void signInCopiesTheUserIntoUsera();
    void clearPasswordReplacedByItsHash();
    void firstUserOnANewDatabase();
    void rightsDisableExactlyTheirCommand();
    void rightsForOtherWindows();
    void mainWindowCaptionShortcutAndLog();
    void reminderRequests();
    void reminderAtFirstActivationAndMenu();
    void companionCommands();
    void siblingPrograms();
    void quitMessagesOnExit();
    void splashAndBanner();
    void oneCommandBoundary();
};

void TstApp::wrongUserAndWrongPasswordLookAlike()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"Gizli1"_s);
    PasswordLogic logic(f.session);
    logic.shown();
    QVERIFY(!logic.tryLogin(u"YOK"_s, u"Gizli1"_s));
    QVERIFY(!logic.tryLogin(u"ECZACI"_s, u"yanlis"_s));
    QVERIFY(!logic.tryLogin(u"ECZACI"_s, u"gizli1"_s));  // case-sensitive
    QVERIFY(!logic.tryLogin(u"eczaci"_s, u"Gizli1"_s));  // the key as typed
    QCOMPARE(f.prompter.texts(), QStringList(4, InvalidLoginMessage));
    QVERIFY(logic.tryLogin(u"ECZACI"_s, u"Gizli1"_s));  // unlimited retries
    logic.closed();
    QVERIFY(logic.succeeded());
    // The protected table is closed again afterwards.
    QVERIFY_THROWS_EXCEPTION(DbError, Table(f.t.db(), u"USERKIM"_s));
}

void TstApp::passwordDialogKeys()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"Gizli1"_s);
    {
        TPassWordDlg dlg(f.session);
        QCOMPARE(dlg.windowTitle(), u"ŞİFRE ONAY"_s);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.passwordBox()->echoMode(), QLineEdit::Password);
        QTest::keyClicks(dlg.userBox(), u"ECZACI"_s);
        QTest::keyClicks(dlg.passwordBox(), u"yanlis"_s);
        QTest::keyClick(dlg.passwordBox(), Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QCOMPARE(f.prompter.texts(), QStringList{InvalidLoginMessage});
        QVERIFY(dlg.passwordBox()->hasFocus());
        dlg.passwordBox()->clear();
        QTest::keyClicks(dlg.passwordBox(), u"Gizli1"_s);
        QTest::keyClick(dlg.userBox(), Qt::Key_Enter);  // Enter anywhere is "Tamam"
        QVERIFY(!dlg.isVisible());
        QVERIFY(dlg.succeeded());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    {
        // "Vazgeç" ends without a user and without a log row.
        Sql::run(f.t.db(), u"DELETE FROM usera"_s);
        TPassWordDlg dlg(f.session);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QPushButton* cancel = nullptr;
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->text() == u"Vazgeç"_s) cancel = b;
        QVERIFY(cancel);
        QTest::keyClicks(dlg.userBox(), u"ECZACI"_s);
        QTest::keyClicks(dlg.passwordBox(), u"Gizli1"_s);
        cancel->click();
        QVERIFY(!dlg.succeeded());
        QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM usera"_s).toInt(), 0);
        QVERIFY(logRows(f.t.db()).isEmpty());
    }
}

void TstApp::signInCopiesTheUserIntoUsera()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"Gizli1"_s);
    f.addUser(u"KALFA"_s, u"kalfa"_s, {u"ESKISAT"_s, u"GIZLIKASA"_s, u"TAKAS"_s}, false, u"H"_s);
    QVERIFY(f.signIn(u"ECZACI"_s, u"Gizli1"_s));
    auto compare = [&](const QString& user) {
        f.t->addPassword(SessionPassword);
        Table src(f.t.db(), u"USERKIM"_s);
        QVERIFY(src.findKey({user}));
        Table dst(f.t.db(), u"usera"_s);
        QVERIFY(dst.first());
        for (const FieldDef& fd : src.def().fields) QCOMPARE(dst.value(fd.name), src.value(fd.name));
        f.t->dropPasswords();
        QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM usera"_s).toInt(), 1);
    };
    compare(u"ECZACI"_s);
    QVERIFY(f.signIn(u"KALFA"_s, u"kalfa"_s));
    compare(u"KALFA"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT KULLANICI FROM usera"_s).toString(), u"KALFA"_s);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT GIZLIKASA FROM usera"_s).toInt(), 0);
}

// A row of an older table holds its password in clear: the first good sign-in replaces it
// by its hash (in the signed-in copy too); the password keeps working, exactly as typed.
void TstApp::clearPasswordReplacedByItsHash()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"Gizli1"_s);
    auto stored = [&](const QString& table) {
        f.t->addPassword(SessionPassword);
        const QString s = Sql::scalar(f.t.db(), u"SELECT SIFRESI FROM "_s + table + u" WHERE KULLANICI = 'ECZACI'"_s).toString();
        f.t->dropPasswords();
        return s;
    };
    QVERIFY(!f.signIn(u"ECZACI"_s, u"gizli1"_s));
    QCOMPARE(f.prompter.texts(), QStringList{InvalidLoginMessage});
    QCOMPARE(stored(u"USERKIM"_s), u"Gizli1"_s);  // a refused sign-in changes nothing
    QVERIFY(f.signIn(u"ECZACI"_s, u"Gizli1"_s));
    const QString hash = stored(u"USERKIM"_s);
    QVERIFY(isPasswordHash(hash));
    QVERIFY(!hash.contains(u"Gizli1"_s));
    QCOMPARE(stored(u"usera"_s), hash);
    QVERIFY(f.signIn(u"ECZACI"_s, u"Gizli1"_s));
    QCOMPARE(stored(u"USERKIM"_s), hash);  // hashed once, not at every sign-in
    f.prompter.clear();
    QVERIFY(!f.signIn(u"ECZACI"_s, u"Gizli1 "_s));
    QVERIFY(!f.signIn(u"ECZACI"_s, QString()));
    QCOMPARE(f.prompter.texts(), QStringList(2, InvalidLoginMessage));
}

void TstApp::firstUserOnANewDatabase()
{
    Fixture f;
    QVERIFY(!hasAnyUser(f.session));
    QCOMPARE(createFirstUser(f.session, u"ECZ"_s, u"abc"_s, u"abd"_s), u"Girilen iki şifre aynı değil."_s);
    QCOMPARE(createFirstUser(f.session, u""_s, u"abc"_s, u"abc"_s), u"Kullanıcı adı ve şifre boş bırakılamaz."_s);
    QVERIFY(!hasAnyUser(f.session));
    QCOMPARE(createFirstUser(f.session, u"ECZ"_s, u"abc"_s, u"abc"_s), QString());
    QVERIFY(hasAnyUser(f.session));
    QVERIFY(f.signIn(u"ECZ"_s, u"abc"_s));
    f.t->addPassword(SessionPassword);
    QVERIFY(isPasswordHash(Sql::scalar(f.t.db(), u"SELECT SIFRESI FROM USERKIM"_s).toString()));
    f.t->dropPasswords();
    // Every right is given.
    MainLogic main(f.session);
    const MainRights r = main.create();
    QVERIFY(r.envanter && r.alism && r.takas && r.gizlikasa && r.acikode && r.hatborc && r.hatalac && r.hatikisi);
    QVERIFY(f.session.OldSalesAllowed && f.session.OldPurchasesAllowed);
    QCOMPARE(f.session.ProductCardRight, u"E"_s);
}

void TstApp::rightsDisableExactlyTheirCommand()
{
    // right -> the commands (menu items) and buttons it disables
    const QList<std::pair<QString, QStringList>> table = {
        {u"ENVANTER"_s, {u"button:Envanter"_s}},
        {u"ALISM"_s, {u"Alış"_s, u"button:Alış"_s}},
        {u"TAKAS"_s, {u"Takas"_s, u"button:Takas"_s}},
        {u"GIZLIKASA"_s, {u"Sifreli"_s, u"button:İstatistikler"_s}},
        {u"ACIKODE"_s, {u"Açık Ödemeler"_s}},
        {u"HATBORC"_s, {u"Açık Vadeli Borçlular"_s}},
        {u"HATALAC"_s, {u"Açık Vadeli Alacaklılar"_s}},
        {u"HATIKISI"_s, {u"İkisi de"_s}},
    };
    QStringList watched;
    for (const auto& [right, items] : table) watched << items;
    for (const auto& [right, items] : table) {
        Fixture f;
        f.addUser(u"U"_s, u"p"_s, {right});
        QVERIFY(f.signIn(u"U"_s, u"p"_s));
        TILKForm form(f.session, f.allOpeners());
        for (const QString& w : watched) {
            const bool isButton = w.startsWith(u"button:"_s);
            bool enabled;
            if (isButton) {
                QPushButton* b = form.button(w.mid(7));
                QVERIFY2(b, qPrintable(w));
                enabled = b->isEnabled();
            } else {
                QAction* a = form.command(w);
                QVERIFY2(a, qPrintable(w));
                enabled = a->isEnabled();
            }
            QVERIFY2(enabled == !items.contains(w), qPrintable(right + u" -> "_s + w));
        }
    }
}

void TstApp::rightsForOtherWindows()
{
    Fixture f;
    f.addUser(u"NULLS"_s, u"p"_s, {u"ESKISAT"_s, u"ALISESKI"_s}, true, QString());
    QVERIFY(f.signIn(u"NULLS"_s, u"p"_s));
    QVERIFY(Sql::scalar(f.t.db(), u"SELECT ESKISAT FROM usera"_s).isNull());
    MainLogic main(f.session);
    main.create();
    QCOMPARE(f.session.UserName, u"NULLS"_s);
    QCOMPARE(f.session.OldSalesAllowed, false);
    QCOMPARE(f.session.OldPurchasesAllowed, false);
    QCOMPARE(f.session.ProductCardRight, QString());
    Fixture g;
    g.addUser(u"H"_s, u"p"_s, {}, false, u"H"_s);
    QVERIFY(g.signIn(u"H"_s, u"p"_s));
    MainLogic m2(g.session);
    m2.create();
    QCOMPARE(g.session.ProductCardRight, u"H"_s);
    QVERIFY(g.session.OldSalesAllowed);
}

void TstApp::mainWindowCaptionShortcutAndLog()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"p"_s);
    QVERIFY(f.signIn(u"ECZACI"_s, u"p"_s));
    {
        TILKForm form(f.session, f.allOpeners());
        QCOMPARE(form.windowTitle(), u"PAPATYA ECZANESİ"_s);
        QCOMPARE(form.command(u"Sifreli"_s)->shortcut(), QKeySequence(u"Ctrl+K"_s));
        QVERIFY(form.command(u"Sifreli"_s)->isEnabled());
        QCOMPARE(form.command(u"Satış"_s)->shortcut(), QKeySequence(u"Ctrl+S"_s));
        QCOMPARE(form.command(u"SSK Faturası"_s)->shortcut(), QKeySequence(u"Ctrl+F"_s));
        QCOMPARE(form.command(u"Cari Kartı"_s)->shortcut(), QKeySequence(u"Ctrl+C"_s));
        QCOMPARE(logRows(f.t.db()), QStringList{u"Prg.Giriş-ECZACI | Prg. Giriş"_s});
        form.command(u"Satış"_s)->trigger();
        form.command(u"Sifreli"_s)->trigger();
        QCOMPARE(f.opened, (QStringList{u"sale"_s, u"privateReports"_s}));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.close();
    }
    QCOMPARE(logRows(f.t.db()),
             (QStringList{u"Prg.Giriş-ECZACI | Prg. Giriş"_s, u"Programdan Çıkış | Prg. Çıkış"_s}));
    // Windows of this build that are missing leave their commands disabled, not silent.
    Sql::run(f.t.db(), u"UPDATE EKIM SET ACE = NULL"_s);
    TILKForm bare(f.session, WindowOpeners{});
    for (const char* c : {"Satış", "Alış", "Takas", "SSK Reçetesi", "Yeniden Değerlendirme", "Esk.Fyt.lı Rç.Değerlendirme",
                          "Otomatik Yeniden Reç.Değerlendirme", "Sifreli", "SSK Faturası", "Satış Fiyatı Oluşturma"})
        QVERIFY2(!bare.command(QString::fromUtf8(c))->isEnabled(), c);
    QVERIFY(bare.command(u"Cari Kartı"_s)->isEnabled());
    QCOMPARE(bare.command(u"Sifreli"_s)->shortcut(), QKeySequence(u"Ctrl+B"_s));
}

void TstApp::reminderRequests()
{
    Fixture f;
    MainLogic main(f.session);
    // Debtors: 10 days either side of 09.12.2026.
    QCOMPARE(bytesOf(main.reminderRequest(u"B"_s)), expectedRequest(3, u"29.11.2026"_s, u"19.12.2026"_s, 'T'));
    QCOMPARE(bytesOf(main.reminderRequest(u"A"_s)), expectedRequest(2, u"02.12.2026"_s, u"16.12.2026"_s, 'T'));
    // Both: the larger of the two counts.
    QCOMPARE(bytesOf(main.reminderRequest(u"İ"_s)), expectedRequest(1, u"29.11.2026"_s, u"19.12.2026"_s, 'T'));
    // Zero or negative days give one day either side.
    Sql::run(f.t.db(), u"UPDATE EKIM SET HATGUNB = 0, HATGUNA = -5"_s);
    QCOMPARE(bytesOf(main.reminderRequest(u"B"_s)), expectedRequest(3, u"08.12.2026"_s, u"10.12.2026"_s, 'T'));
    QCOMPARE(bytesOf(main.reminderRequest(u"A"_s)), expectedRequest(2, u"08.12.2026"_s, u"10.12.2026"_s, 'T'));
    QCOMPARE(bytesOf(main.reminderRequest(u"İ"_s)), expectedRequest(1, u"08.12.2026"_s, u"10.12.2026"_s, 'T'));
    // Any other letter: no list.
    QCOMPARE(bytesOf(main.reminderRequest(u"H"_s)), expectedRequest(0, QString(), QString(), '0'));
    QCOMPARE(bytesOf(main.reminderRequest(u"X"_s)).at(1804), '0');
}

void TstApp::reminderAtFirstActivationAndMenu()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"p"_s);
    QVERIFY(f.signIn(u"ECZACI"_s, u"p"_s));
    // HATIRLA null: no reminder at start.
    {
        MainLogic main(f.session);
        main.create();
        QCOMPARE(main.startupLetter(), u"H"_s);
        main.activated();
        QVERIFY(f.companion.requests.isEmpty());
        QVERIFY(!main.firstActivation());
    }
    Sql::run(f.t.db(), u"UPDATE EKIM SET HATIRLA = 'İ'"_s);
    MainLogic main(f.session);
    main.create();
    main.activated();
    main.activated();  // only the first activation reminds
    QCOMPARE(f.companion.requests.size(), 1);
    QCOMPARE(bytesOf(f.companion.requests[0]), expectedRequest(1, u"29.11.2026"_s, u"19.12.2026"_s, 'T'));
    TILKForm form(f.session, f.allOpeners());
    form.command(u"Açık Vadeli Alacaklılar"_s)->trigger();
    QCOMPARE(f.companion.requests.last().kind(), 2);
    form.command(u"Açık Ödemeler"_s)->trigger();
    QCOMPARE(bytesOf(f.companion.requests.last()), expectedRequest(2, QString(), QString(), 'T'));
}

void TstApp::companionCommands()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"p"_s);
    QVERIFY(f.signIn(u"ECZACI"_s, u"p"_s));
    TILKForm form(f.session, f.allOpeners());
    for (const char* c : {"Cari Kartı", "Doktor Kartı", "Hasta Kartı", "Ürün Kartı", "Endikasyon Kartı", "Firma Kartı",
                          "Jenerik Kartı", "Ürün Grubu Kartı", "Reçete Tanım", "Kurum Listesi Tanım", "SSK Faturası",
                          "Satış Fiyatı Oluşturma"})
        form.command(QString::fromUtf8(c))->trigger();
    QCOMPARE(f.companion.calls,
             (QStringList{u"BrKurumCreate:0"_s, u"BrDoktorCreate:0"_s, u"BrHastaCreate:0"_s, u"BrUrunCreate:0"_s,
                          u"BrEndikCreate:0"_s, u"BrFirmaCreate:0"_s, u"BrJenCreate:0"_s, u"BrGrupCreate:0"_s,
                          u"TanimlaRecete"_s, u"ListeTanimGor"_s, u"BrKurumCreate:1"_s, u"EskiAlisCreate:1"_s}));
    // Nothing chosen: the issued-invoice and price windows are not opened.
    QVERIFY(f.opened.isEmpty());
    form.command(u"Yardım"_s)->trigger();
    QCOMPARE(f.platform.calls, QStringList{u"help:Selvar.hlp:1"_s});
}

void TstApp::siblingPrograms()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"p"_s);
    QVERIFY(f.signIn(u"ECZACI"_s, u"p"_s));
    f.platform.windows = {u"Liste"_s, u"SELVAR 8.0 BAKIM VE DESTEK"_s};
    f.platform.missingPrograms = {u"baglan.exe"_s};
    TILKForm form(f.session, f.allOpeners());
    form.button(u"Listeler"_s)->click();
    form.button(u"Listeler"_s)->click();
    form.button(u"Sipariş"_s)->click();
    form.button(u"Bakım Destek"_s)->click();
    form.button(u"Fiyat Aktar"_s)->click();
    form.button(u"Fiyat Aktar"_s)->click();
    form.button(u"Krm.Liste, Fatura"_s)->click();
    form.button(u"İnternet ve BBS"_s)->click();
    QCOMPARE(f.platform.calls,
             (QStringList{u"restore:Liste"_s, u"restore:Liste"_s, u"start:sipyon.exe SelvarKDPT47"_s,
                          u"restore:SELVAR 8.0 BAKIM VE DESTEK"_s, u"start:tasiyici.exe"_s, u"start:tasiyici.exe"_s,
                          u"start:odeyen.exe SelvarKDPT47"_s, u"start:baglan.exe"_s}));
    QCOMPARE(f.prompter.texts(), QStringList{u"baglan.exe bulunamadı"_s});
    f.platform.windows.clear();
    f.platform.calls.clear();
    form.button(u"Bakım Destek"_s)->click();
    QCOMPARE(f.platform.calls, QStringList{u"start:onarim.exe"_s});
    // The wholesaler popup: only EDAK does something.
    auto* menu = form.findChild<QMenu*>(u"DepoMenu"_s);
    QVERIFY(menu);
    f.platform.calls.clear();
    for (QAction* a : menu->actions()) a->trigger();
    QCOMPARE(f.platform.calls, QStringList{u"open:/programs/EDAK.HT"_s});
}

void TstApp::quitMessagesOnExit()
{
    Fixture f;
    f.addUser(u"ECZACI"_s, u"p"_s);
    QVERIFY(f.signIn(u"ECZACI"_s, u"p"_s));
    f.platform.windows = {u"Fiyat Etiketi Bas Selvar"_s, u"Liste"_s, u"Kurum Faturası Selvar"_s,
                          u"BARKOD TANIM SELVAR"_s, u"ENVANTER Selvar"_s, u"SELVAR 8.0 BAKIM VE DESTEK"_s,
                          u"istatistikler Selvar"_s};
    TILKForm form(f.session, f.allOpeners());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.close();
    QCOMPARE(f.platform.calls, (QStringList{u"quit:BARKOD TANIM SELVAR"_s, u"quit:Liste"_s, u"quit:ENVANTER Selvar"_s,
                                            u"quit:istatistikler Selvar"_s, u"quit:Fiyat Etiketi Bas Selvar"_s}));
}

void TstApp::splashAndBanner()
{
    TResimForm splash;
    splash.show();
    splash.runGauge();
    QCOMPARE(splash.gauge(), 100);
    Fixture f;
    f.addUser(u"ECZACI"_s, u"p"_s);
    QVERIFY(f.signIn(u"ECZACI"_s, u"p"_s));
    TILKForm form(f.session, f.allOpeners());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QStringList lines = form.banner()->lines();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], u"PAPATYA ECZANESİ"_s);
    QCOMPARE(lines[1], u"SELVAR ECZANE OTOMASYONU 8.0"_s);
    QVERIFY(lines[2].startsWith(u'@') && lines[3].startsWith(u'@'));
}

void TstApp::oneCommandBoundary()
{
    // Every window's commands end here: one box with the engine's text, none after a
    // refused retry (its box was the message), anything else shown too.
    ScriptedPrompter prompter;
    QVERIFY(runCommand(prompter, [] {}));
    QVERIFY(!runCommand(prompter, [] { throw RetryRefused(u"Diğer Kullanıcı Dosyaya Yazıyor."_s); }));
    QVERIFY(prompter.texts().isEmpty());
    QVERIFY(!runCommand(prompter, [] { throw LockHeld(u"Diğer Kullanıcı Dosyaya Yazıyor."_s); }));
    QVERIFY(!runCommand(prompter, [] { throw DbError(u"Veritabanı hatası: x"_s); }));
    QTest::ignoreMessage(QtWarningMsg, "command failed: beklenmedik");
    QVERIFY(!runCommand(prompter, [] { throw std::runtime_error("beklenmedik"); }));
    QCOMPARE(prompter.texts(), (QStringList{u"Diğer Kullanıcı Dosyaya Yazıyor."_s, u"Veritabanı hatası: x"_s, u"beklenmedik"_s}));
    QCOMPARE(prompter.shown.first().kind, MessageKind::Error);
    // A refusal in the retry rule is what the boundary keeps silent.
    ScriptedPrompter refusing;
    refusing.answer(Answer::Cancel);
    QVERIFY(!runCommand(refusing, [&] { withLockRetry(refusing, CounterBusyMessage, [] { throw LockHeld(u"x"_s); }); }));
    QCOMPARE(refusing.texts(), QStringList{CounterBusyMessage});
}

QTEST_MAIN(TstApp)
#include "tst_app.moc"
