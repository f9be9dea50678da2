#pragma once
// Prescriptions of the demo pharmacy that wait for repricing: a product whose price rose
// ten days ago, sold before that day at the new price (an institution paying the price
// of the prescription date) and after it at the old one (institutions paying the latest
// price), one of them already invoiced and one with the patient's credit entry.
#include <QDate>

namespace selvar {
class Database;
void addDemoRepricing(Database& db, const QDate& today);
}
