#include "sales/zam_logic.h"

#include "core/dates.h"
#include "data/database.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QString invalidDateMessage(const QString& text) { return u"'"_s + text.trimmed() + u"' geçerli bir tarih değil."_s; }

ZamLogic::ZamLogic(Session& session, qint64 productNo, double newPrice)
    : session_(session), productNo_(productNo), newPrice_(newPrice)
{
}

QString ZamLogic::initialDateText() const { return dateText(session_.clock.today()); }

std::optional<QDate> ZamLogic::confirmationDate(const QString& text) const
{
    const DateInput in = parseDateText(text);
    if (!in.isValid()) {
        session_.prompter.error(invalidDateMessage(text));
        return std::nullopt;
    }
    return in.date;
}

bool ZamLogic::apply(const QDate& confirmed)
{
    Database& db = session_.db;
    Transaction tx(db);
    double oldPrice = 0;
    QDate oldDate;
    {
        Sql old(db, u"SELECT URUN.FIYAT, URUN.FIYATARIH FROM URUN WHERE ILACNO=:nosu"_s);
        old.bind(u"nosu"_s, productNo_).exec();
        if (!old.next()) return false;
        oldPrice = old.number(0);
        oldDate = old.date(1);
    }
    // The time of day keeps two changes of one day apart in the history's key order.
    const QDateTime archived = withTimeOf(oldDate, session_.clock.now());
    Sql::run(db, u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) VALUES (:nosu, :trh, :fyt)"_s,
             {{u"nosu"_s, productNo_},
              {u"trh"_s, archived.isValid() ? QVariant(archived) : QVariant()},
              {u"fyt"_s, oldPrice}});
    Sql::run(db, u"UPDATE URUN SET FIYAT=:fiyNe, FIYATARIH=:fiyTrh WHERE ILACNO=:nosu"_s,
             {{u"fiyNe"_s, newPrice_}, {u"fiyTrh"_s, confirmed}, {u"nosu"_s, productNo_}});
    tx.commit();
    return true;
}

bool ZamLogic::confirm(const QString& dateText)
{
    const std::optional<QDate> d = confirmationDate(dateText);
    return d && apply(*d);
}

}  // namespace selvar
