#pragma once
// Exchanges of the demo pharmacy: about fifteen over the last two months with four
// pharmacies, every direction, some settled, some open ones given below today's price,
// the stock-moving ones with their movements and stock.
#include <QDate>

namespace selvar {
class Database;
void addDemoExchanges(Database& db, const QDate& today);
}
