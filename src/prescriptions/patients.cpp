#include "prescriptions/patients.h"

#include "core/turkish.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "data/table.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QVariantMap patientCard(Database& db, qint64 patientNo)
{
    if (patientNo <= 0) return {};
    // The card number is the table's AutoInc key, so it is the row's identity as well.
    return readRecord(db, u"HASTA"_s, patientNo);
}

qint64 patientByName(Database& db, const QString& name, const QString& surname)
{
    if (name.trimmed().isEmpty() || surname.trimmed().isEmpty()) return 0;
    // The card number is the row's identity (AutoInc).
    return findKeyRow(db, u"HASTA"_s, u"HAS_AD_SOY"_s, {name.trimmed(), surname.trimmed()});
}

qint64 patientByRegistration(Database& db, const QString& registrationNo)
{
    const QString no = registrationNo.trimmed();
    if (no.isEmpty()) return 0;
    // The key of the HSICIL index first, so the lookup is an index search.
    const QString key = db.dialect().keyExpression(*tableDef(u"HASTA"_s).field(u"SICILNO"_s));
    // The exact number is compared here: a second condition in the statement makes the
    // planner leave the index.
    Sql q(db, u"SELECT HASTANO, SICILNO FROM HASTA WHERE "_s + key + u" = :SicNo"_s);
    q.bind(u"SicNo"_s, sortKey(no)).exec();
    qint64 found = 0;
    while (q.next())
        if (q.text(1).trimmed() == no && (found == 0 || q.integer(0) < found)) found = q.integer(0);
    return found;
}

DoctorCard doctorCard(Database& db, qint64 code)
{
    DoctorCard d;
    if (code <= 0) return d;
    Sql q(db, u"SELECT DRAD, DRSOYAD, UNITE FROM DR WHERE DRKOD = :k"_s);
    q.bind(u"k"_s, code).exec();
    if (!q.next()) return d;
    d.found = true;
    d.name = q.text(0);
    d.surname = q.text(1);
    d.unit = q.text(2);
    return d;
}

}  // namespace selvar
