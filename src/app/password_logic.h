#pragma once
// The user check at start-up: USERKIM.db (opened only with the session password) and
// the one-row usera.db that holds the user now signed in.
#include <QString>
#include <memory>

namespace selvar {

struct Session;
class Table;

inline const QString InvalidLoginMessage = QStringLiteral("Geçersiz Şifre veya Kullanıcı Adı");

class PasswordLogic {
public:
    explicit PasswordLogic(Session& session);
    ~PasswordLogic();

    void shown();  // adds the session password, opens USERKIM.db, clears the flag
    // Exact key lookup and a case-sensitive password; on failure the warning is shown.
    bool tryLogin(const QString& user, const QString& password);
    // On success copies the found user into usera.db; always closes the tables and drops
    // the session passwords.
    void closed();
    bool succeeded() const { return success_; }

private:
    Session& session_;
    std::unique_ptr<Table> users_;
    bool success_ = false;
};

// A new database has no user: the first one gets every right so nobody is locked out.
bool hasAnyUser(Session& session);
// Returns an empty text on success, else the message to show.
QString createFirstUser(Session& session, const QString& user, const QString& password, const QString& repeated);

}  // namespace selvar
