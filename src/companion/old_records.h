#pragma once
// The old records a correction starts from: retail, prescription and invoiced sales of
// SATIS.DB and the purchases of ALIS1.DB, newest first.
#include <QDateTime>
#include <QString>
#include <vector>

namespace selvar {

class Database;

enum class OldRecordKind { RetailSales, PrescriptionSales, InvoicedSales, Purchases };

struct OldRecord {
    double number = 0;  // SATISNO or ALISNO
    QDateTime when;
    double total = 0;
    QString party;      // buyer or supplier
    QString document;   // invoice number, institution of a prescription ...
};

std::vector<OldRecord> loadOldRecords(Database& db, OldRecordKind kind);

// The row a typed text points at: a date ("12.03.2026", also with a two-digit year)
// finds the newest record of that day or, when the day has none, the first older one;
// a number finds that record. -1 when nothing fits.
int findOldRecord(const std::vector<OldRecord>& records, const QString& typed);

QString oldRecordTitle(OldRecordKind kind);

}  // namespace selvar
