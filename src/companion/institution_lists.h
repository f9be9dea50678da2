#pragma once
// The institution list definitions: for every institution the six header labels its
// prescriptions and lists carry, the rounding of its invoices, its re-evaluation rule
// and the base of its patient contribution, side by side for all institutions.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace selvar {

class Database;

struct InstitutionListRow {
    qint64 rowId = 0;
    QString code, name;
    QStringList values;  // one per editable column
};

// KOD and AD, then the editable columns.
const QStringList& institutionListCaptions();
const QStringList& institutionListFields();  // the editable columns' fields

std::vector<InstitutionListRow> loadInstitutionLists(Database& db);
// Stores one value; returns why it was refused, empty when stored. `column` counts the
// editable columns from 0.
QString setInstitutionListValue(Database& db, const QString& code, int column, const QString& value);

}  // namespace selvar
