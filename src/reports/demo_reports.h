#pragma once
// What the private reports of the demo pharmacy show: a year of monthly purchases and
// retail sales of ten products with their discounts, private invoices, account movements
// of every kind and state, and operation-log rows of the eight kinds pointing at real
// records.
#include <QDate>

namespace selvar {
class Database;
void addDemoReports(Database& db, const QDate& today);
}
