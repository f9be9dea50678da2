#pragma once
// The signed-in user as the companion library sees them: the name for the operation log
// and the one-letter rights of usera.db ("H" means no).
#include <QString>

namespace selvar {

class Database;

struct SignedInUser {
    QString name;
    bool productCards = true;          // URUNKARTI: change product cards
    bool institutionMovements = true;  // KURUMHRK: see and close institution movements
    bool patientMovements = true;      // HASTAHRK: see and close patient movements

    static SignedInUser read(Database& db);
};

}  // namespace selvar
