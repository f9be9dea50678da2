#pragma once
#include <QDate>

namespace selvar {
class Database;

// A small, realistic pharmacy: products with Turkish names, barcodes, shelves, prices
// and price history, generics, groups, indications, institutions, patients, doctors, the
// pharmacy settings, the demo user and some weeks of sales, purchases and account
// movements. Deterministic: the same `today` gives the same database.
void fillDemoData(Database& db, const QDate& today);

// The demo user (also in the README).
inline constexpr const char* DemoUser = "ECZACI";
inline constexpr const char* DemoPassword = "eczane";
}
