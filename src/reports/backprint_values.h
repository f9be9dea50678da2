#pragma once
// What both prescription back-prints work out for a prescription: the institution's
// discount, the patient's contribution, balance and net per product category with their
// sums, the visa-date text, the patient's name, and the two closing lines (what the
// patient paid, and what was handed over).
#include "prescriptions/shares.h"
#include "print/report.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <array>
#include <functional>
#include <memory>

namespace selvar {

class Database;

// The five categories in print order and the letters of their named values
// (IndirN, yuzdeI, HKPo, BakiH, NetMR ...).
inline constexpr std::array<const char*, BucketCount> CategoryLetters{"N", "I", "O", "H", "MR"};

// The values of one prescription row (its BRUTx fields, HASTATIP, NET) with the rates of
// the institution, stored at full precision: IndirN..IndirMR, yuzdeN..yuzdeMR,
// HKPn..HKPmr, BakiN..BakiMR, NetN..NetMR, NETSON, HKPson, INDIRSon, BRUT, NetNONIthal,
// NetTumIHL, BRTOPYERLI, BRTOPITHAL, HKPYERLI, HKPITHAL and INDIR (BRUT less the stored
// NET and HKPson). HSP_ISKON "1" takes the contribution from the undiscounted gross.
QVariantMap backPrintValues(const report::Row& row, const Institution& inst);
// The same as calculated fields of a report's prescriptions; `institutionOf` gives the
// card of a row's institution.
void calculateBackPrintValues(report::Report& r, std::function<Institution(const report::Row&)> institutionOf);
ShareResult backPrintShares(const report::Row& row, const Institution& inst);

// "MUAF" without a date, else the date, "  /  " and the date a year of its days before.
QString visaText(const QDate& visa);

// HASTADI and HASTASOYAD of the patient, joined by `separator`; one blank when unknown.
QString patientName(Database& db, qint64 patientNo, const QString& separator);

// A syringe: a name of at least 8 characters beginning with "enjektör", "enjectör",
// "enjektor" or "enjector", in either case.
bool isSyringe(const QString& productName);

// "%20 %10 KATILIM 2.160 TL" from the rates of the categories shown (those with a gross
// above 0) and the contribution; the window adds its ending.
QString contributionText(const QList<double>& rates, double contribution);

// What one prescription handed over, for "k KALEM, q ADET İLAÇ, s ADET ENJEKTÖRÜ ALDIM.".
struct HandedOver {
    int lines = 0;       // k: lines other than syringes
    int quantity = 0;    // q: their boxes
    int syringes = 0;    // s
    void add(const QString& name, int quantity, bool countSyringes);
    QString text() const;              // the line with the syringes
    QString withoutSyringes() const;   // "k KALEM, q ADET İLAÇ ALDIM."
};

// Copies the RECETE rows of a sale into an emptied working table (TMPREC, TMPTREC);
// returns how many.
int copySaleToWorkingTable(Database& db, double saleNo, const QString& workingTable);

// The sale's prescription copied as above in one transaction, with the patient type and
// institution it carries (left as they are when the sale has none).
void takeSaleIntoWorkingTable(Database& db, double saleNo, const QString& workingTable, QString& patientType,
                              QString& institution);

// The institution cards of a printout's prescriptions, each read once.
using InstitutionCache = std::shared_ptr<QHash<QString, Institution>>;
// KNOWN (the institution has a card) and the back-print values of every prescription.
InstitutionCache calculateInstitutionValues(report::Report& r, Database& db);

// The ORDER BY of the prescriptions: "R" prescription date, "A" handing-over date, "S"
// serial number, otherwise the register number.
QString prescriptionOrder(const QString& order);

}  // namespace selvar
