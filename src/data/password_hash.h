#pragma once
// Sign-in passwords are kept as salted, deliberately slow hashes (Argon2id through
// libsodium), never in clear: a copied USERKIM table gives nobody the passwords.
#include <QString>

namespace selvar {

QString hashPassword(const QString& password);
bool isPasswordHash(const QString& stored);
// The typed password against the stored one: the hash checked, or, for a row of an older
// table that still holds the password in clear, an exact, case-sensitive comparison.
bool passwordMatches(const QString& stored, const QString& typed);

}  // namespace selvar
