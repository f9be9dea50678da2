#pragma once
// One-row counter tables (NEWSATIS, NEWALIS, HRKNOAL, FATKAYIT, RKAYIT): taking a number
// reads the value and stores the value plus one, atomically across workstations. Inside
// a caller's transaction the number is only used up when that transaction commits.
// LockHeld is thrown when another workstation keeps the tables beyond the short wait.
#include <QString>

namespace selvar {

class Database;

double takeNumber(Database& db, const QString& table, const QString& field);

inline double takeSaleNumber(Database& db) { return takeNumber(db, QStringLiteral("NEWSATIS"), QStringLiteral("YENISATISNO")); }
inline double takePurchaseNumber(Database& db) { return takeNumber(db, QStringLiteral("NEWALIS"), QStringLiteral("NEWALISNO")); }
inline double takeMovementNumber(Database& db) { return takeNumber(db, QStringLiteral("HRKNOAL"), QStringLiteral("HRKNO")); }
inline double takeInvoiceNumber(Database& db) { return takeNumber(db, QStringLiteral("FATKAYIT"), QStringLiteral("NEWFATNO")); }

// "XX0000041" -> "XX0000042": drop the "XX", add one, pad to 7 digits, prefix "XX".
QString nextProvisionalBookNumber(const QString& current);
// Takes the provisional prescription book number of RKAYIT.DB.
QString takeProvisionalBookNumber(Database& db);

// The final book number of a year: the last number between yy0000001 and yy9999999
// plus one, or yy0000001 when the year has none yet.
QString nextFinalBookNumber(Database& db, int year);

// Gives the prescription row the next final book number of the year it was received in
// and returns the number. Inside the recording's transaction.
QString giveFinalBookNumber(Database& db, qint64 prescriptionRowId, int year);

}  // namespace selvar
