#pragma once
// The demo pharmacy's SSK prescriptions of last month, entered through the SSK counter's
// and the registration's own code.
#include <QDate>

namespace selvar {

class Database;

// 25 uninvoiced SSK prescriptions of "SSK": every status and relationship, some for an
// illness or accident, families sharing the insured's registration number, equivalents
// given, final book numbers, with their sale rows, line data, movements and stock.
void addDemoSskPrescriptions(Database& db, const QDate& today);

// `count` more SSK prescriptions over the month of `firstDay`, in turn of the print groups
// 0, 2, 4, 6 and 8, each with an "I" or "O" line; with `loose`, two of the workers' have
// products without a barcode (one beside barcoded ones, one alone).
void addDemoSskGroups(Database& db, const QDate& firstDay, int count, bool loose = false);

}  // namespace selvar
