#pragma once
// The SSK print choice (TDokSSKDlg): three digits — group, printout, order — and the
// selection and order of SSK prescriptions each digit stands for.
#include <QChar>
#include <QString>
#include <QStringList>

namespace selvar {

// Item texts of the three choices, in the order of their digits.
QStringList sskGroupCaptions();     // "Grubu"
QStringList sskPrintoutCaptions();  // "Alınacak Döküm"
QStringList sskOrderCaptions();     // "Dökümün Sıralanma Kriteri"

// The choice from the chosen items (-1 = none chosen): no group or no printout gives the
// empty choice, no order sorts by the prescription date ("0").
QString sskPrintChoice(int group, int printout, int order);

// The WHERE condition of a group digit and the ORDER BY clause of an order digit; empty
// for a digit that is none of them.
QString sskGroupCondition(QChar group);
QString sskOrderClause(QChar order);

}  // namespace selvar
