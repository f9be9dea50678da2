#pragma once
// Purchases of the demo pharmacy, recorded through the purchase window's and the purchase
// invoice's own code: every discount category, free goods with and without their VAT, one
// corrected purchase with its log row, and an order list from the orders program.
#include <QDate>

namespace selvar {
class Database;
void addDemoPurchases(Database& db, const QDate& today);
}
