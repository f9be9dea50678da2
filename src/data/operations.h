#pragma once
// Data operations several windows share: the operation log, running balances of
// accounts and stock with its product movements. Balances and stock change with one
// atomic UPDATE each (never read-add-post), so two workstations never lose each
// other's changes.
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace selvar {

class Database;

// "text-user" when a user is known, else the text.
QString withUser(const QString& text, const QString& user);

void appendOperationLog(Database& db, const QDateTime& when, const QString& description, const QString& kind,
                        std::optional<double> documentNo = {}, std::optional<double> amount = {});

// The account of a movement's CARIKOD: a patient (HASTANO) when it is all digits,
// otherwise an institution code of KRMLAR.
bool isPatientAccount(const QString& accountCode);

// Adds to BORC of the patient or institution behind the account code.
void changeAccountDebt(Database& db, const QString& accountCode, double delta);
// Adds to ALACAK of an institution (suppliers are institutions).
void changeInstitutionCredit(Database& db, const QString& code, double delta);

// Adds to the stock MIKTAR of a product.
void changeStock(Database& db, qint64 productNo, double delta);

struct StockMovement {
    qint64 productNo = 0;
    QDateTime when;
    double documentNo = 0;  // sale, purchase or exchange number
    qint64 line = 0;
    std::optional<double> inQuantity, inPrice;    // purchases, exchanges in
    std::optional<double> outQuantity, outPrice;  // sales, exchanges out
};

// Appends the URUNHRK row and changes the stock by in - out, in one transaction.
void recordStockMovement(Database& db, const StockMovement& m);

// Deletes the movement rows of a product at a moment under a document number (one line
// when given) without touching stock; returns how many were deleted.
int deleteStockMovements(Database& db, qint64 productNo, const QDateTime& when, double documentNo,
                         std::optional<qint64> line = {});

bool productHasMovements(Database& db, qint64 productNo);

// Removes an open-account entry made for a document that was then abandoned: when it is
// not tied to a document yet (ALSATNO below 1) its amount comes off the account's debt.
void removeCreditEntry(Database& db, double movementNo);

// The documents a sale carries besides its lines, as a correction or conversion of the
// sale removes or updates them. The prescription and invoice windows own these tables;
// the sale window reaches them only through these.
// The SSK fields of a prescription sale (RECSSK) and of its lines (RECSSK_A).
void deleteSskRecords(Database& db, double saleNo);
// The SSK fields of one line of a sale.
void deleteSskLineRecord(Database& db, double saleNo, qint64 line, qint64 productNo);
// Every SSK line row of a sale.
void deleteSskLineRecords(Database& db, double saleNo);
// The prescription of a sale (RECETE) with its SSK fields.
void deletePrescription(Database& db, double saleNo);
// The invoice of a sale (FATURA).
void deleteSaleInvoice(Database& db, double saleNo);
// A prescription sale that is invoiced too: its RECETE row takes the invoice's date and
// numbers.
void copyInvoiceIntoPrescription(Database& db, double saleNo);
// The book number of a sale's prescription, empty when there is none.
QString prescriptionBookNo(Database& db, double saleNo);
// The FATNO of a sale's invoice, 0 when there is none.
double saleInvoiceNo(Database& db, double saleNo);

// One line of the sale being entered (SATEMP, this workstation's own list).
struct SaleLine {
    int no = 0;  // SIRANO
    QString name;
    int quantity = 0;
    double price = 0;
    qint64 productNo = 0;
    QString prescriptionType;
    double vat = 0;
};

// The lines of the sale being entered, in line order: what the sale window shows and
// the prescription window prices.
QList<SaleLine> workingSaleLines(Database& db);

}  // namespace selvar
