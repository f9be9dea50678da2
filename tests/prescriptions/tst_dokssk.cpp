#include "data/database.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "prescriptions/dokssk_logic.h"
#include "prescriptions/ui/dokssk_dlg.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
// A radio button answers a click on its circle and caption, not on the empty rest of its row.
void clickRadio(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }
}  // namespace

class TstDokSSK : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choiceCodes_data();
    void choiceCodes();
    void conditionsAndOrders();
    void dialog();
};

void TstDokSSK::choiceCodes_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("printout");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("choice");
    QTest::newRow("Emekli Aileleri, Liste, no order") << 5 << 1 << -1 << u"510"_s;
    QTest::newRow("first of each") << 0 << 0 << 0 << u"000"_s;
    QTest::newRow("last of each") << 8 << 3 << 3 << u"833"_s;
    QTest::newRow("Yurtdışı, Reçete Arkası, Ada Göre") << 7 << 2 << 2 << u"722"_s;
    QTest::newRow("no printout") << 5 << -1 << 2 << QString();
    QTest::newRow("no group") << -1 << 1 << 0 << QString();
    QTest::newRow("no group, no order") << -1 << 1 << -1 << QString();
    QTest::newRow("group out of range") << 9 << 1 << 0 << QString();
}

void TstDokSSK::choiceCodes()
{
    QFETCH(int, group);
    QFETCH(int, printout);
    QFETCH(int, order);
    QFETCH(QString, choice);
    QCOMPARE(sskPrintChoice(group, printout, order), choice);
}

void TstDokSSK::conditionsAndOrders()
{
    const QString choice = sskPrintChoice(5, 1, -1);
    QCOMPARE(sskGroupCondition(choice[0]), u"WHERE (DURUM_KOD='2') AND (YAKINLIK_KOD<>'0')"_s);
    QCOMPARE(sskOrderClause(choice[2]), u"ORDER BY RECTARIH"_s);
    QCOMPARE(sskGroupCondition(u'0'), u"WHERE (DURUM_KOD='3') AND (YAKINLIK_KOD='0')"_s);
    QCOMPARE(sskGroupCondition(u'3'), u"WHERE (DURUM_KOD='1') AND (YAKINLIK_KOD<>'0')"_s);
    QCOMPARE(sskGroupCondition(u'6'),
             u"WHERE (DURUM_KOD='5') OR (DURUM_KOD='6') OR (DURUM_KOD='7') OR (DURUM_KOD='8')"_s);
    QCOMPARE(sskGroupCondition(u'7'), u"WHERE (DURUM_KOD='4')"_s);
    QCOMPARE(sskGroupCondition(u'8'), u"WHERE (HASTALIK='1')"_s);
    QCOMPARE(sskGroupCondition(u'9'), QString());
    QCOMPARE(sskOrderClause(u'1'), u"ORDER BY ALTARIH"_s);
    QCOMPARE(sskOrderClause(u'2'), u"ORDER BY RS_AD"_s);
    QCOMPARE(sskOrderClause(u'3'), u"ORDER BY RS_SOYAD"_s);
    QCOMPARE(sskOrderClause(u'4'), QString());
    // Every group has its condition.
    for (int g = 0; g < sskGroupCaptions().size(); ++g) QVERIFY(!sskGroupCondition(QChar(u'0' + g)).isEmpty());
}

void TstDokSSK::dialog()
{
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(12, 0))};
    Session session{t.db(), prompter, clock};

    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TDokSSKDlg*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), u"SSK Döküm Seçimi"_s);
        QStringList titles;
        for (QGroupBox* b : dlg->findChildren<QGroupBox*>()) titles << b->title();
        QCOMPARE(titles, (QStringList{u"Grubu"_s, u"Alınacak Döküm"_s, u"Dökümün Sıralanma Kriteri"_s}));
        QCOMPARE(dlg->groups()->buttons().size(), 9);
        QCOMPARE(dlg->groups()->button(8)->text(), u"Hstlk.,İş Kz,Meslek Hast. ve Analık Reçeteleri"_s);
        QCOMPARE(dlg->printouts()->button(3)->text(), u"İlaçlı Liste"_s);
        QCOMPARE(dlg->orders()->button(1)->text(), u"Alındığı Tarihe Göre"_s);
        QCOMPARE(dlg->choice(), u"000"_s);  // the first item of each is chosen
        clickRadio(dlg->groups()->button(5));
        clickRadio(dlg->printouts()->button(1));
        QCOMPARE(dlg->groups()->button(5)->text(), u"Emekli Aileleri"_s);
        QCOMPARE(dlg->printouts()->button(1)->text(), u"Liste"_s);
        QCOMPARE(dlg->choice(), u"510"_s);
        checked = true;
        QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    });
    QCOMPARE(SSKDokumSec(session), u"510"_s);
    QVERIFY(checked);

    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TDokSSKDlg*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        QCOMPARE(dlg->choice(), u"000"_s);  // a new dialog each time
        clickRadio(dlg->orders()->button(3));
        QCOMPARE(dlg->cancelButton()->text(), u"Vazgeç"_s);
        QTest::mouseClick(dlg->cancelButton(), Qt::LeftButton);
    });
    QCOMPARE(SSKDokumSec(session), QString());
}

QTEST_MAIN(TstDokSSK)
#include "tst_dokssk.moc"
