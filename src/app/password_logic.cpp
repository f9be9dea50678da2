#include "app/password_logic.h"

#include "data/database.h"
#include "data/password_hash.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/prompter.h"
#include "platform/session.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

PasswordLogic::PasswordLogic(Session& session) : session_(session) {}

PasswordLogic::~PasswordLogic() = default;

void PasswordLogic::shown()
{
    session_.db.addPassword(SessionPassword);
    users_ = std::make_unique<Table>(session_.db, u"USERKIM.db"_s);
    success_ = false;
}

bool PasswordLogic::tryLogin(const QString& user, const QString& password)
{
    if (!users_) shown();
    // The key as typed: a name that differs only in case is another name.
    const bool found = !user.isEmpty() && users_->findKey({user}) && users_->text(u"KULLANICI"_s) == user;
    if (found && passwordMatches(users_->text(u"SIFRESI"_s), password)) {
        // A password an older table kept in clear is replaced by its hash now that it is known.
        if (!isPasswordHash(users_->text(u"SIFRESI"_s))) {
            users_->edit();
            users_->set(u"SIFRESI"_s, hashPassword(password));
            users_->post();
        }
        success_ = true;
        return true;
    }
    session_.prompter.warning(InvalidLoginMessage);
    return false;
}

void PasswordLogic::closed()
{
    if (success_ && users_) {
        Table current(session_.db, u"usera.db"_s);
        Transaction tx(session_.db);
        // usera.db always holds exactly one row: the last user who signed in.
        if (current.first()) current.edit();
        else current.insert();
        for (const FieldDef& f : users_->def().fields) current.set(f.name, users_->value(f.name));
        current.post();
        Sql::run(session_.db, u"DELETE FROM usera WHERE "_s + session_.db.dialect().rowId() + u" <> :r"_s,
                 {{u"r"_s, current.rowId()}});
        tx.commit();
    }
    users_.reset();
    session_.db.dropPasswords();
}

bool hasAnyUser(Session& session)
{
    session.db.addPassword(SessionPassword);
    const bool any = !Sql::scalar(session.db, u"SELECT 1 FROM USERKIM LIMIT 1"_s).isNull();
    session.db.dropPasswords();
    return any;
}

QString createFirstUser(Session& session, const QString& user, const QString& password, const QString& repeated)
{
    if (user.trimmed().isEmpty() || password.isEmpty()) return u"Kullanıcı adı ve şifre boş bırakılamaz."_s;
    if (password != repeated) return u"Girilen iki şifre aynı değil."_s;
    if (user.size() > 25 || password.size() > 25) return u"Kullanıcı adı ve şifre en çok 25 karakter olabilir."_s;
    session.db.addPassword(SessionPassword);
    try {
        Table users(session.db, u"USERKIM.db"_s);
        users.insert();
        users.set(u"KULLANICI"_s, user.trimmed());
        users.set(u"SIFRESI"_s, hashPassword(password));
        for (const char* f : {"URUNKARTI", "KURUMHRK", "HASTAHRK"}) users.set(QString::fromLatin1(f), u"E"_s);
        for (const FieldDef& f : users.def().fields)
            if (f.type == FieldType::Logical) users.set(f.name, true);
        users.post();
    } catch (...) {
        session.db.dropPasswords();
        throw;
    }
    session.db.dropPasswords();
    return {};
}

}  // namespace selvar
