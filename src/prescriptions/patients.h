#pragma once
// The patient and doctor cards as the registration windows look them up.
#include <QString>
#include <QVariantMap>

namespace selvar {

class Database;

// The HASTA.DB card of a patient; empty for 0 or an unknown number.
QVariantMap patientCard(Database& db, qint64 patientNo);
// The card with this name and surname (index HAS_AD_SOY); 0 when none.
qint64 patientByName(Database& db, const QString& name, const QString& surname);
// The card holding an insurance registration number (SICILNO); 0 when none.
qint64 patientByRegistration(Database& db, const QString& registrationNo);

struct DoctorCard {
    bool found = false;
    QString name, surname, unit;  // DRAD, DRSOYAD, UNITE
};
DoctorCard doctorCard(Database& db, qint64 code);

}  // namespace selvar
