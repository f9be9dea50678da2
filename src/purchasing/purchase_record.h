#pragma once
// The stock entry of a saved purchase: the purchase list written as ALIS3.DB lines, one
// URUNHRK.DB entry per line with its net unit cost, and the stock of each product raised.
// A correction first takes the old purchase's lines, movements and stock back. Runs inside
// the caller's transaction (the purchase invoice's save), so the invoice, its payable and
// its stock land together or not at all.
#include <QDateTime>

namespace selvar {

class Database;

// `moment` is the purchase's time: now, or the old purchase's for a correction.
void writePurchaseLines(Database& db, double purchaseNo, const QDateTime& moment, bool correction);
// The ALISTARIH of an old purchase's first line; invalid when it has none.
QDateTime purchaseMoment(Database& db, double purchaseNo);

}  // namespace selvar
