#include "app/main_logic.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/siblings.h"

#include <algorithm>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

MainLogic::MainLogic(Session& session) : session_(session) {}

MainRights MainLogic::create()
{
    firstActivation_ = true;
    MainRights r;
    session_.db.addPassword(SessionPassword);
    {
        Table usera(session_.db, u"usera.db"_s);
        usera.first();
        session_.UserName = usera.text(u"KULLANICI"_s);
        session_.OldSalesAllowed = usera.boolean(u"ESKISAT"_s);
        session_.OldPurchasesAllowed = usera.boolean(u"ALISESKI"_s);
        session_.ProductCardRight = usera.text(u"URUNKARTI"_s);
        r.envanter = usera.boolean(u"ENVANTER"_s);
        r.alism = usera.boolean(u"ALISM"_s);
        r.takas = usera.boolean(u"TAKAS"_s);
        r.gizlikasa = usera.boolean(u"GIZLIKASA"_s);
        r.acikode = usera.boolean(u"ACIKODE"_s);
        r.hatborc = usera.boolean(u"HATBORC"_s);
        r.hatalac = usera.boolean(u"HATALAC"_s);
        r.hatikisi = usera.boolean(u"HATIKISI"_s);
    }
    session_.db.dropPasswords();
    appendOperationLog(session_.db, session_.clock.now(), u"Prg.Giriş-"_s + session_.UserName, u"Prg. Giriş"_s);
    Table ekim(session_.db, u"EKIM.DB"_s);
    if (ekim.first()) {
        const QString ace = ekim.text(u"ACE"_s).trimmed();
        if (!ace.isEmpty()) shortcut_ = ace;
        caption_ = ekim.text(u"EADI"_s);
    }
    return r;
}

QString MainLogic::startupLetter() const
{
    const QVariant v = Sql::scalar(session_.db, u"SELECT HATIRLA FROM EKIM LIMIT 1"_s);
    const QString t = v.isNull() ? QString() : v.toString();
    return t.isEmpty() ? u"H"_s : t.left(1);
}

MovementListRequest MainLogic::reminderRequest(const QString& letter) const
{
    MovementListRequest req;
    int kind = 0;
    int days = 0;
    Sql q(session_.db, u"SELECT HATGUNB, HATGUNA FROM EKIM LIMIT 1"_s);
    q.exec();
    const int debtorDays = q.next() ? int(q.integer(0)) : 0;
    const int creditorDays = int(q.integer(1));
    if (letter == u"A"_s) {
        kind = 2;
        days = creditorDays;
    } else if (letter == u"B"_s) {
        kind = 3;
        days = debtorDays;
    } else if (letter == u"İ"_s) {
        kind = 1;
        days = std::max(debtorDays, creditorDays);
    } else {
        req.setMode('0');
        return req;
    }
    days = std::max(days, 1);
    const QDate today = session_.clock.today();
    req.setStartDate(dateText(today.addDays(-days)));
    req.setEndDate(dateText(today.addDays(days)));
    req.setKind(kind);
    req.setMode('T');
    return req;
}

void MainLogic::remind(const QString& letter)
{
    const MovementListRequest req = reminderRequest(letter);
    if (req.mode() != '0' && session_.companion) session_.companion->HareketListVer(req);
    firstActivation_ = false;
}

void MainLogic::activated()
{
    if (firstActivation_) remind(startupLetter());
}

void MainLogic::openPayments()
{
    MovementListRequest req;
    req.setKind(2);
    req.setMode('T');
    if (session_.companion) session_.companion->HareketListVer(req);
}

void MainLogic::closing()
{
    appendOperationLog(session_.db, session_.clock.now(), u"Programdan Çıkış"_s, u"Prg. Çıkış"_s);
    if (session_.platform) Siblings(*session_.platform, session_.prompter).quitOnExit();
}

}  // namespace selvar
