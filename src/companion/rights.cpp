#include "companion/rights.h"

#include "data/sql.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

SignedInUser SignedInUser::read(Database& db)
{
    SignedInUser u;
    Sql q(db, u"SELECT KULLANICI, URUNKARTI, KURUMHRK, HASTAHRK FROM usera"_s);
    q.exec();
    if (!q.next()) return u;
    u.name = q.text(0);
    u.productCards = q.text(1) != u"H"_s;
    u.institutionMovements = q.text(2) != u"H"_s;
    u.patientMovements = q.text(3) != u"H"_s;
    return u;
}

}  // namespace selvar
