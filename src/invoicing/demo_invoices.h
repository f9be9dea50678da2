#pragma once
// Invoiced sales of the demo pharmacy: a few counter sales of the last weeks turned into
// invoices through the sale window's and the invoice window's own code, one of them put
// on the buyer's open account.
#include <QDate>

namespace selvar {
class Database;
void addDemoInvoices(Database& db, const QDate& today);
// Last month's SSK prescriptions of every print group, waiting for their invoices, and
// the month before's invoice of the workers' prescriptions, recorded as the SSK invoice
// window records it.
void addDemoSskInvoices(Database& db, const QDate& today);
}
