#include "data/database.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/hazirdeg_logic.h"
#include "prescriptions/ui/hazirbr_dlg.h"
#include "support/fake_platform.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
const QString Duplicate = u"Aynı Adlı Kayıt Zaten Vardı. Bu Yüzden Kaydedilmedi."_s;

void addValues(Database& db, const QStringList& values)
{
    Table t(db, u"hazirdeg.db"_s);
    for (const QString& v : values) {
        t.insert();
        t.set(u"HAZIRDEGER"_s, v);
        t.post();
    }
}

QStringList stored(Database& db)
{
    QStringList r;
    Table t(db, u"hazirdeg.db"_s);
    if (!t.first()) return r;
    do r << t.text(u"HAZIRDEGER"_s);
    while (t.next());
    return r;
}

// Turkish letters are typed as key events carrying their text.
void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        const int key = c.unicode() < 128 ? QChar(c).toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// Runs `body` on the modal dialog once it is up.
template <typename F>
void onDialog(F body)
{
    QTimer::singleShot(0, [body] {
        auto* dlg = qobject_cast<TfmhazirBr*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        // The window's shortcuts and focus work as on the desktop only in the active window.
        QApplication::setActiveWindow(dlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        body(dlg);
        // Whatever happened, the dialog must not stay open.
        if (QApplication::activeModalWidget() == dlg) dlg->done(QDialog::Rejected);
    });
}

struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(12, 0))};
    FakePlatform platform;
    Session session{t.db(), prompter, clock};
    Fixture()
    {
        session.platform = &platform;
        addValues(t.db(), {u"ANKARA"_s, u"ANTALYA"_s, u"BOLU"_s, u"DENİZLİ"_s, u"IĞDIR"_s, u"İSTANBUL"_s,
                           u"SAMSUN"_s, u"ŞİŞLİ"_s});
    }
};
}  // namespace

class TstHazirDeg : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void incrementalSearch();
    void newValuesInTurkishOrder();
    void duplicatesRefused();
    void deletingAsks();
    void picking();
    void navigating();

    void dialogSearchInsertAndPickByKeys();
    void dialogCloseLeavesHeading();
    void dialogKeepingModeEditsByKeys();
};

void TstHazirDeg::incrementalSearch()
{
    Fixture f;
    HazirDegerLogic l(f.t.db(), f.prompter, 1);
    l.open();
    QCOMPARE(l.currentValue(), u"ANKARA"_s);
    for (QChar c : u"anta"_s) l.typeSearchChar(c);
    QCOMPARE(l.searchText(), u"anta"_s);
    QCOMPARE(l.currentValue(), u"ANTALYA"_s);
    // No value continues with a fifth "x": dropped, the list stays.
    l.typeSearchChar(u'x');
    QCOMPARE(l.searchText(), u"anta"_s);
    QCOMPARE(l.currentValue(), u"ANTALYA"_s);
    l.searchBackspace();
    l.searchBackspace();
    QCOMPARE(l.searchText(), u"an"_s);
    QCOMPARE(l.currentValue(), u"ANKARA"_s);
    l.clearSearch();

    // Turkish case: "ı" finds IĞDIR, "i" İSTANBUL, "ş" ŞİŞLİ after SAMSUN.
    l.typeSearchChar(u'ı');
    QCOMPARE(l.currentValue(), u"IĞDIR"_s);
    l.clearSearch();
    l.typeSearchChar(u'i');
    QCOMPARE(l.currentValue(), u"İSTANBUL"_s);
    l.clearSearch();
    for (QChar c : u"şiş"_s) l.typeSearchChar(c);
    QCOMPARE(l.currentValue(), u"ŞİŞLİ"_s);
    l.clearSearch();
    l.typeSearchChar(u's');
    QCOMPARE(l.currentValue(), u"SAMSUN"_s);

    // The search never outgrows the longest value: a letter past it is dropped too.
    l.clearSearch();
    Fixture g;
    addValues(g.t.db(), {QString(30, u'Z')});
    HazirDegerLogic z(g.t.db(), g.prompter, 1);
    z.open();
    for (int i = 0; i < 40; ++i) z.typeSearchChar(u'z');
    QCOMPARE(z.searchText(), QString(HazirDegerLogic::ValueWidth, u'z'));
    QCOMPARE(z.currentValue(), QString(HazirDegerLogic::ValueWidth, u'Z'));
    // A first letter no value begins with is dropped as well.
    z.clearSearch();
    z.typeSearchChar(u'q');
    QCOMPARE(z.searchText(), QString());
}

void TstHazirDeg::newValuesInTurkishOrder()
{
    Fixture f;
    HazirDegerLogic l(f.t.db(), f.prompter, 0);
    l.open();
    for (QChar c : u"bo"_s) l.typeSearchChar(c);
    l.newValue();
    QCOMPARE(l.editing(), HazirDegerLogic::Editing::New);
    QCOMPARE(l.searchText(), QString());
    // The blank row stands where the cursor was.
    QCOMPARE(l.currentRow(), 2);
    QCOMPARE(l.rows().size(), 9);
    QCOMPARE(l.rows()[2], QString());
    QCOMPARE(l.rowIdAt(2), 0);
    QVERIFY(l.rowIdAt(3) != 0);
    l.setEditText(u"  ÇORUM "_s);
    QVERIFY(l.post());
    QCOMPARE(l.editing(), HazirDegerLogic::Editing::None);
    QCOMPARE(l.currentValue(), u"ÇORUM"_s);
    QCOMPARE(stored(f.t.db()), (QStringList{u"ANKARA"_s, u"ANTALYA"_s, u"BOLU"_s, u"ÇORUM"_s, u"DENİZLİ"_s,
                                            u"IĞDIR"_s, u"İSTANBUL"_s, u"SAMSUN"_s, u"ŞİŞLİ"_s}));
    QCOMPARE(l.rows(), stored(f.t.db()));
    QCOMPARE(l.currentRow(), 3);

    // "iğdir" is not "IĞDIR" in Turkish: a value of its own.
    l.newValue();
    l.setEditText(u"iğdir"_s);
    QVERIFY(l.post());
    QVERIFY(stored(f.t.db()).contains(u"iğdir"_s));

    // Cut to the field's 17 characters.
    l.newValue();
    l.setEditText(u"KAHRAMANMARAŞ MERKEZ"_s);
    QVERIFY(l.post());
    QCOMPARE(l.currentValue(), u"KAHRAMANMARAŞ MER"_s);

    // A blank value is not stored and says nothing.
    const QStringList before = stored(f.t.db());
    l.newValue();
    l.setEditText(u"   "_s);
    QVERIFY(!l.post());
    QCOMPARE(stored(f.t.db()), before);
    QCOMPARE(l.editing(), HazirDegerLogic::Editing::None);
    QCOMPARE(l.currentValue(), u"KAHRAMANMARAŞ MER"_s);
    QVERIFY(f.prompter.shown.isEmpty());

    // Changing a value moves it to its place.
    l.moveTo(l.rowIdAt(0));
    l.changeValue();
    QCOMPARE(l.editText(), u"ANKARA"_s);
    l.setEditText(u"ZONGULDAK"_s);
    QVERIFY(l.post());
    QCOMPARE(stored(f.t.db()).last(), u"ZONGULDAK"_s);
    QCOMPARE(l.currentValue(), u"ZONGULDAK"_s);
    QVERIFY(!stored(f.t.db()).contains(u"ANKARA"_s));
}

void TstHazirDeg::duplicatesRefused()
{
    Fixture f;
    const QStringList before = stored(f.t.db());
    HazirDegerLogic l(f.t.db(), f.prompter, 0);
    l.open();
    l.moveTo(l.rowIdAt(2));  // BOLU
    // The same letters in another case are the same value.
    for (const QString& v : {u"ANKARA"_s, u"ankara"_s, u"Antalya "_s, u"ığdır"_s, u"istanbul"_s}) {
        f.prompter.clear();
        l.newValue();
        l.setEditText(v);
        QVERIFY2(!l.post(), qPrintable(v));
        QCOMPARE(f.prompter.texts(), QStringList{Duplicate});
        QCOMPARE(l.editing(), HazirDegerLogic::Editing::None);
        QCOMPARE(stored(f.t.db()), before);
        QCOMPARE(l.rows(), before);
        QCOMPARE(l.currentValue(), u"BOLU"_s);
    }

    // A change to another stored value is cancelled: BOLU stays BOLU.
    f.prompter.clear();
    l.changeValue();
    l.setEditText(u"denizli"_s);
    QVERIFY(!l.post());
    QCOMPARE(f.prompter.texts(), QStringList{Duplicate});
    QCOMPARE(stored(f.t.db()), before);
    QCOMPARE(l.currentValue(), u"BOLU"_s);
    QCOMPARE(l.editing(), HazirDegerLogic::Editing::None);

    // The value's own other case is no duplicate.
    f.prompter.clear();
    l.changeValue();
    l.setEditText(u"Bolu"_s);
    QVERIFY(l.post());
    QVERIFY(f.prompter.shown.isEmpty());
    QCOMPARE(stored(f.t.db())[2], u"Bolu"_s);

    // Stored meanwhile by another workstation.
    auto other = f.t.second();
    addValues(*other, {u"RİZE"_s});
    l.newValue();
    l.setEditText(u"rize"_s);
    QVERIFY(!l.post());
    QCOMPARE(f.prompter.texts(), QStringList{Duplicate});
    QCOMPARE(stored(f.t.db()).count(u"RİZE"_s), 1);
}

void TstHazirDeg::deletingAsks()
{
    Fixture f;
    HazirDegerLogic l(f.t.db(), f.prompter, 0);
    l.open();
    l.moveTo(l.rowIdAt(2));  // BOLU
    f.prompter.answers({Answer::No, Answer::Cancel, Answer::Yes});
    l.deleteValue();
    l.deleteValue();
    QCOMPARE(stored(f.t.db()).size(), 8);
    QCOMPARE(l.currentValue(), u"BOLU"_s);
    l.deleteValue();
    QCOMPARE(f.prompter.shown.size(), 3);
    for (const auto& s : f.prompter.shown) {
        QCOMPARE(s.text, u"Kayıt Silinsin mi?"_s);
        QCOMPARE(s.buttons, Buttons::YesNoCancel);
    }
    QVERIFY(!stored(f.t.db()).contains(u"BOLU"_s));
    QCOMPARE(stored(f.t.db()).size(), 7);
    QCOMPARE(l.rows(), stored(f.t.db()));
    QCOMPARE(l.currentValue(), u"DENİZLİ"_s);

    // A new value not yet stored is simply dropped.
    f.prompter.clear();
    f.prompter.answer(Answer::Yes);
    l.newValue();
    l.setEditText(u"VAN"_s);
    l.deleteValue();
    QCOMPARE(l.editing(), HazirDegerLogic::Editing::None);
    QCOMPARE(stored(f.t.db()).size(), 7);

    // Nothing to delete on an empty list, nothing asked.
    TestDb empty;
    ScriptedPrompter p;
    HazirDegerLogic e(empty.db(), p, 0);
    e.open();
    e.deleteValue();
    QVERIFY(p.shown.isEmpty());
}

void TstHazirDeg::picking()
{
    Fixture f;
    HazirDegerLogic l(f.t.db(), f.prompter, 1);
    l.open();
    l.setCurrentRow(3);
    QCOMPARE(l.pick(), std::optional<QString>(u"DENİZLİ"_s));

    // A pending edit is stored first, then picked.
    l.newValue();
    l.setEditText(u"DÜZCE"_s);
    QCOMPARE(l.pick(), std::optional<QString>(u"DÜZCE"_s));
    QVERIFY(stored(f.t.db()).contains(u"DÜZCE"_s));
    l.changeValue();
    l.setEditText(u"DÜZCE MERKEZ"_s);
    QCOMPARE(l.pick(), std::optional<QString>(u"DÜZCE MERKEZ"_s));
    QVERIFY(!stored(f.t.db()).contains(u"DÜZCE"_s));

    // A refused edit picks nothing: the list stays open.
    l.newValue();
    l.setEditText(u"bolu"_s);
    QCOMPARE(l.pick(), std::nullopt);
    QCOMPARE(f.prompter.texts(), QStringList{Duplicate});
    l.newValue();
    QCOMPARE(l.pick(), std::nullopt);

    // Keeping the list only: nothing to pick.
    HazirDegerLogic keep(f.t.db(), f.prompter, 0);
    keep.open();
    QCOMPARE(keep.pick(), std::nullopt);

    TestDb empty;
    HazirDegerLogic e(empty.db(), f.prompter, 1);
    e.open();
    QCOMPARE(e.currentRow(), -1);
    QCOMPARE(e.pick(), std::nullopt);
    // "&Değiştir" on an empty list starts a new value.
    e.changeValue();
    QCOMPARE(e.editing(), HazirDegerLogic::Editing::New);
    e.setEditText(u"ANKARA"_s);
    QCOMPARE(e.pick(), std::optional<QString>(u"ANKARA"_s));
}

void TstHazirDeg::navigating()
{
    Fixture f;
    HazirDegerLogic l(f.t.db(), f.prompter, 0);
    l.open();
    l.last();
    QCOMPARE(l.currentValue(), u"ŞİŞLİ"_s);
    QCOMPARE(l.currentRow(), 7);
    l.prior();
    QCOMPARE(l.currentValue(), u"SAMSUN"_s);
    l.first();
    l.next();
    QCOMPARE(l.currentValue(), u"ANTALYA"_s);
    // Moving away stores a pending value, as leaving the row does.
    l.newValue();
    l.setEditText(u"EDİRNE"_s);
    l.last();
    QCOMPARE(l.editing(), HazirDegerLogic::Editing::None);
    QVERIFY(stored(f.t.db()).contains(u"EDİRNE"_s));
    QCOMPARE(l.currentValue(), u"ŞİŞLİ"_s);
    // Refresh shows what another workstation stored.
    auto other = f.t.second();
    addValues(*other, {u"AFYON"_s});
    QVERIFY(!l.rows().contains(u"AFYON"_s));
    l.refresh();
    QCOMPARE(l.rows().first(), u"AFYON"_s);
    QCOMPARE(l.currentValue(), u"ŞİŞLİ"_s);
}

// ---------------------------------------------------------------- the dialog

void TstHazirDeg::dialogSearchInsertAndPickByKeys()
{
    Fixture f;
    onDialog([&](TfmhazirBr* dlg) {
        QCOMPARE(dlg->windowTitle(), u"REÇETE BAŞLIKLARI İÇİN HAZIR DEĞERLER"_s);
        QCOMPARE(dlg->grid()->model()->headerData(0, Qt::Horizontal).toString(), u"Reç.B.Hazır Değerleri"_s);
        QVERIFY(!dlg->button(u"Sec"_s)->isHidden());
        QCOMPARE(dlg->button(u"Sec"_s)->text(), u"&Seç"_s);
        QCOMPARE(dlg->grid()->currentIndex().row(), 0);
        QTableView* grid = dlg->grid();
        // D and S go to the search, not to "&Değiştir" and "&Seç".
        typeText(grid, u"d"_s);
        QCOMPARE(dlg->logic().currentValue(), u"DENİZLİ"_s);
        QCOMPARE(dlg->searchLabel()->text(), u"d"_s);
        QCOMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::None);
        QTest::keyClick(grid, Qt::Key_Escape);
        QCOMPARE(dlg->searchLabel()->text(), QString());
        QVERIFY(dlg->isVisible());
        typeText(grid, u"şiş"_s);
        QCOMPARE(grid->currentIndex().row(), 7);
        QCOMPARE(dlg->searchLabel()->text(), u"şiş"_s);
        typeText(grid, u"s"_s);
        QCOMPARE(dlg->searchLabel()->text(), u"şiş"_s);
        QCOMPARE(dlg->result(), QString());
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(dlg->searchLabel()->text(), QString());
        QCOMPARE(dlg->logic().currentValue(), u"SAMSUN"_s);

        // Insert opens the editor on a new row; Enter stores it and picks it.
        QTest::keyClick(grid, Qt::Key_Insert);
        QLineEdit* editor = dlg->editor();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString());
        QCOMPARE(dlg->grid()->model()->rowCount(), 9);
        typeText(editor, u"Çanakkale"_s);
        QTest::keyClick(editor, Qt::Key_Return);
    });
    QCOMPARE(HazirDegerSec(f.session, 1), u"Çanakkale"_s);
    QVERIFY(stored(f.t.db()).contains(u"Çanakkale"_s));
    QVERIFY(f.prompter.shown.isEmpty());

    // A double click picks the row under it.
    onDialog([&](TfmhazirBr* dlg) {
        QTableView* grid = dlg->grid();
        const QRect r = grid->visualRect(grid->model()->index(2, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    });
    QCOMPARE(HazirDegerSec(f.session, 1), u"BOLU"_s);

    // A refused value keeps the list open; Alt+S then picks the current value.
    onDialog([&](TfmhazirBr* dlg) {
        QTableView* grid = dlg->grid();
        QTest::keyClick(grid, Qt::Key_Insert);
        typeText(dlg->editor(), u"ankara"_s);
        QTest::keyClick(dlg->editor(), Qt::Key_Return);
        QVERIFY(dlg->isVisible());
        QCOMPARE(f.prompter.texts(), QStringList{Duplicate});
        QCOMPARE(grid->model()->rowCount(), 9);
        QCOMPARE(dlg->editor(), nullptr);
        QTest::keyClick(grid, Qt::Key_S, Qt::AltModifier);
    });
    QCOMPARE(HazirDegerSec(f.session, 1), u"ANKARA"_s);

    // Alt+S while typing stores the value and picks it; Alt+D there changes nothing.
    onDialog([&](TfmhazirBr* dlg) {
        QTest::keyClick(dlg->grid(), Qt::Key_Insert);
        typeText(dlg->editor(), u"KARS"_s);
        QTest::keyClick(dlg->editor(), Qt::Key_D, Qt::AltModifier);
        QCOMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::New);
        QTest::keyClick(dlg->editor(), Qt::Key_S, Qt::AltModifier);
    });
    QCOMPARE(HazirDegerSec(f.session, 1), u"KARS"_s);
    QVERIFY(stored(f.t.db()).contains(u"KARS"_s));
}

void TstHazirDeg::dialogCloseLeavesHeading()
{
    Fixture f;
    onDialog([&](TfmhazirBr* dlg) {
        typeText(dlg->grid(), u"bol"_s);
        QTest::mouseClick(dlg->button(u"Kapat"_s), Qt::LeftButton);
    });
    QCOMPARE(HazirDegerSec(f.session, 1), QString());

    // A value being typed when "Kapat" is pressed is kept; the heading still gets nothing.
    onDialog([&](TfmhazirBr* dlg) {
        dlg->button(u"YeniKayit"_s)->click();
        QVERIFY(dlg->editor());
        typeText(dlg->editor(), u"MUŞ"_s);
        dlg->button(u"Kapat"_s)->click();
    });
    QCOMPARE(HazirDegerSec(f.session, 1), QString());
    QVERIFY(stored(f.t.db()).contains(u"MUŞ"_s));

    onDialog([&](TfmhazirBr* dlg) {
        dlg->button(u"Yardim"_s)->click();
        dlg->button(u"Kapat"_s)->click();
    });
    HazirDegerSec(f.session, 1);
    QCOMPARE(f.platform.calls, QStringList{u"help:Selvar.hlp:0"_s});
}

void TstHazirDeg::dialogKeepingModeEditsByKeys()
{
    Fixture f;
    onDialog([&](TfmhazirBr* dlg) {
        QVERIFY(dlg->button(u"Sec"_s)->isHidden());
        QTableView* grid = dlg->grid();
        // Enter picks nothing here; a double click changes the value.
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(dlg->isVisible());
        const QRect r = grid->visualRect(grid->model()->index(1, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
        QLineEdit* editor = dlg->editor();
        QVERIFY(editor);
        QCOMPARE(editor->text(), u"ANTALYA"_s);
        QCOMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::Change);
        // Esc gives the change up and keeps the dialog.
        editor->setText(u"X"_s);
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::None);
        QCOMPARE(grid->model()->index(1, 0).data().toString(), u"ANTALYA"_s);

        // F2 changes, Enter stores and the grid is read-only again.
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(dlg->editor());
        dlg->editor()->selectAll();
        typeText(dlg->editor(), u"Aydın"_s);
        QTest::keyClick(dlg->editor(), Qt::Key_Return);
        QCOMPARE(dlg->editor(), nullptr);
        QCOMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::None);
        QVERIFY(!(grid->model()->flags(grid->currentIndex()) & Qt::ItemIsEditable));
        QCOMPARE(dlg->logic().currentValue(), u"Aydın"_s);
        QCOMPARE(grid->currentIndex().data().toString(), u"Aydın"_s);

        // Alt+D changes too; leaving the row by the arrow keys stores the change.
        QTest::keyClick(grid, Qt::Key_D, Qt::AltModifier);
        QVERIFY(dlg->editor());
        dlg->editor()->selectAll();
        typeText(dlg->editor(), u"AYDIN"_s);
        QTest::keyClick(dlg->editor(), Qt::Key_Down);
        QTRY_COMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::None);
        QCOMPARE(dlg->logic().currentValue(), u"BOLU"_s);

        // Focus moving away takes the editor too; the change is stored and the row stays.
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(dlg->editor());
        dlg->editor()->setText(u"BOLU MERKEZ"_s);
        dlg->button(u"Yardim"_s)->setFocus();
        QTRY_COMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::None);
        QCOMPARE(dlg->editor(), nullptr);
        QCOMPARE(dlg->logic().currentValue(), u"BOLU MERKEZ"_s);
        QCOMPARE(stored(f.t.db())[2], u"BOLU MERKEZ"_s);
        QVERIFY(f.platform.calls.isEmpty());

        // Tab stores and goes on to the next row, as in a data grid.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(dlg->editor());
        dlg->editor()->setText(u"BOLU"_s);
        QTest::keyClick(dlg->editor(), Qt::Key_Tab);
        QTRY_COMPARE(dlg->logic().editing(), HazirDegerLogic::Editing::None);
        QCOMPARE(dlg->logic().currentValue(), u"DENİZLİ"_s);
        QCOMPARE(stored(f.t.db())[2], u"BOLU"_s);

        // "Kayıt Sil" asks.
        grid->setCurrentIndex(grid->model()->index(2, 0));
        f.prompter.answer(Answer::Yes);
        dlg->button(u"KayitSil"_s)->click();
        QCOMPARE(grid->model()->rowCount(), 7);
        QCOMPARE(dlg->logic().currentValue(), u"DENİZLİ"_s);
        QCOMPARE(grid->currentIndex().row(), 2);
        dlg->button(u"Son"_s)->click();
        QCOMPARE(grid->currentIndex().row(), 6);
        dlg->button(u"Ilk"_s)->click();
        QCOMPARE(grid->currentIndex().row(), 0);
        dlg->button(u"Kapat"_s)->click();
    });
    QCOMPARE(HazirDegerSec(f.session, 0), QString());
    QCOMPARE(stored(f.t.db()), (QStringList{u"ANKARA"_s, u"AYDIN"_s, u"DENİZLİ"_s, u"IĞDIR"_s, u"İSTANBUL"_s,
                                            u"SAMSUN"_s, u"ŞİŞLİ"_s}));
    QCOMPARE(f.prompter.texts(), QStringList{u"Kayıt Silinsin mi?"_s});
}

QTEST_MAIN(TstHazirDeg)
#include "tst_hazirdeg.moc"
