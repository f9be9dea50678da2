#pragma once
// The SSK diskette of a recorded invoice (the window TDisketForm, "DİSKET HAZIRLAMA"):
// four dBASE III tables in the files directory of the alias ECZ — the pharmacy
// (ECZTESC1), the prescriptions with barcoded products (ECZRECT1), those with products
// without a barcode (KODSUZ1) and the invoice (ECZFATR1) — and their record areas copied
// to a diskette as files of their own.
#include <QChar>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <array>

namespace selvar {

struct Session;

struct DbfField {
    QString name;
    char type = 'C';  // 'C' text, 'N' number without decimals
    int width = 0;
    int decimals = 0;
};

struct DiskTable {
    QString file;      // "ECZTESC1": the table is <file>.DBF
    QString diskName;  // "ECZTESC": its file on the diskette
    int recordLength = 0;
    QList<DbfField> fields;  // the program's own layout, for a table not found
};

// The four tables in the order they are built and copied.
const std::array<DiskTable, 4>& diskTables();

class DisketLogic {
public:
    explicit DisketLogic(Session& session);

    // Builds the four tables for the invoice (the hourglass is the caller's). Nothing is
    // replaced unless all four are built; false after the message saying why.
    bool build(QChar group, const QString& code, double invoiceNo);
    // The records each table received, field -> value (blank fields absent).
    const std::array<QList<QVariantMap>, 4>& records() const { return records_; }
    qint64 expectedSize(int table) const { return sizes_[size_t(table)]; }
    QString tablePath(int table) const;

    // "&Kopyala" to the target directory.
    void copy(const QString& target);
    bool copied(int table) const { return copied_[size_t(table)]; }
    bool complete() const { return complete_; }

    // The target offered: the first mounted removable medium, else the last one used.
    static QString defaultTarget();
    static void rememberTarget(const QString& target);

private:
    void reset();

    Session& session_;
    std::array<QList<QVariantMap>, 4> records_;
    std::array<qint64, 4> sizes_{};
    std::array<bool, 4> copied_{};
    bool complete_ = false;
};

}  // namespace selvar
