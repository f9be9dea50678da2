#pragma once
// Purchases of the demo pharmacy, recorded through the purchase window's and the purchase
// invoice's own code: every discount category, free goods with and without their VAT, one
// corrected purchase with its log row, and an order list from the orders program.
#include <QDate>

namespace selvar {
class Database;
void addDemoPurchases(Database& db, const QDate& today);
// Two more years of history for the demo's best-selling product before its last year:
// purchases from both suppliers, retail, prescription and invoiced sales, an exchange
// each way and the inventory program's corrections.
void addDemoMovementHistory(Database& db, const QDate& today);
}
