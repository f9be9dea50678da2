#pragma once
// Writing a sale and undoing an old one: the lines under the sale's number with one
// product movement each and the stock lowered, the open-account entry tied to the sale,
// its discount; an old sale reversed before it is written again under its number and
// moment; an old sale read back into the working list; the documents a converted sale
// leaves behind. Every function runs inside the caller's transaction.
#include "data/operations.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace selvar {

class Database;

// What the sale window holds: a new sale, or an old one loaded for correction. The values
// are the numbers the window has always kept.
enum class SaleMode { New = 0, OldPrescription = 1, OldInvoice = 2, OldRetail = 3, OldInvoicedPrescription = 4 };

// The correction under way: first the kind of the old sale loaded (the values of
// SaleMode); once a registration window has stored it, what it becomes, written as the
// old kind's digit and the new one's (1 prescription, 2 invoice, 3 retail).
enum class Correction {
    None = 0,
    Prescription = 1,
    Invoice = 2,
    Retail = 3,
    InvoicedPrescription = 4,
    PrescriptionAlsoInvoiced = 12,  // an old prescription is invoiced as well
    PrescriptionToRetail = 13,
    InvoiceAlsoPrescription = 21,   // an old invoice is registered as a prescription as well
    InvoiceToRetail = 23,
    RetailToPrescription = 31,
    RetailToInvoice = 32,
    InvoicedPrescriptionToRetail = 43,
};

struct SaleToWrite {
    QList<SaleLine> lines;
    double number = 0;  // 0: a new number from the sale counter
    QString kind;       // PARAKENDE: P retail, R prescription, F invoiced, E invoiced prescription
    QDateTime when;     // a correction keeps the old sale's moment
    SaleMode oldMode = SaleMode::New;  // another: the old sale `number` is reversed first
    Correction correction = Correction::None;
    double creditEntryNo = 0;  // the open-account entry made for this sale
    double discount = 0;
};

// Writes the sale and empties the working list; returns the sale's number.
double writeSale(Database& db, const SaleToWrite& sale);

// Gives the stock of every line of an old sale back and removes its movements, its rows
// and their SSK line fields.
void reverseSale(Database& db, double number, const QDateTime& when);

// What a corrected or converted sale no longer needs among its documents, or takes over.
void cleanUpConvertedSale(Database& db, double number, SaleMode oldMode, Correction correction);

struct OldSale {
    bool found = false;
    QDateTime when;
    QString kind;  // PARAKENDE
    double discount = 0;
    QList<SaleLine> lines;
};
OldSale readOldSale(Database& db, double number);
// Puts lines into the working list (after the ones it holds).
void fillWorkingList(Database& db, const QList<SaleLine>& lines);

}  // namespace selvar
