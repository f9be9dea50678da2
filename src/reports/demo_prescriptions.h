#pragma once
// The demo pharmacy's institution prescriptions of the last weeks, and the back-print
// settings that print them, so the back-print windows have something to show.
#include <QDate>

namespace selvar {

class Database;

// Adds to a database filled by fillDemoData: two syringe products, some prescriptions of
// the institutions with their sale lines, stock movements and final book numbers, the
// stamped options of SSK workers and the defined layouts of SSK and BK workers and of ES
// retirees; then the SSK prescriptions of last month.
void addDemoPrescriptions(Database& db, const QDate& today);

}  // namespace selvar
