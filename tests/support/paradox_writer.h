#pragma once
// Paradox tables written with pxlib's writer, for the tests, the benchmark and the sample
// directory of the import: a table in the code page asked for (857 DOS Turkish or 1254
// Windows Turkish, stamped in its header and used for its texts), its memos in a .MB
// file beside it.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace selvar {

enum class ParadoxType {
    Alpha, Short, Long, AutoInc, Number, Money, Date, Time, Timestamp, Logical,
    Memo, FormattedMemo, Binary, Bcd, Bytes
};

struct ParadoxField {
    QString name;
    ParadoxType type = ParadoxType::Alpha;
    // Alpha: characters. Memo, FormattedMemo, Binary: bytes kept in the record, the last
    // ten of them pointing into the .MB file (0: 20). Bcd: decimals. Bytes: bytes.
    int size = 0;
};

class ParadoxWriter {
public:
    // Creates the table (and its .MB file when a field is a memo); throws
    // std::runtime_error when pxlib cannot.
    ParadoxWriter(const QString& path, const QList<ParadoxField>& fields, int codePage = 1254);
    ~ParadoxWriter();  // closes the files when close() was not called
    ParadoxWriter(const ParadoxWriter&) = delete;
    ParadoxWriter& operator=(const ParadoxWriter&) = delete;

    // One record, a value per field; a null QVariant leaves the field empty. Texts are
    // QString (Bytes and Binary QByteArray), dates QDate, timestamps QDateTime, times
    // QTime, logicals bool, numbers and BCD numbers.
    void add(const QVariantList& values);
    // Writes the table to its file.
    void close();
    qint64 records() const;

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

// A plausible data directory of the old program: products with Turkish names (a memo for
// some), generics, groups, patients, doctors, institutions, account movements, sales
// with their lines, prescriptions, purchases, invoices, the counter tables, a working
// table and a file that is not a table, and a few values that do not fit the program's
// fields. Returns a line per file written.
struct ParadoxSampleSizes {
    int products = 2000;
    int saleLines = 20000;
};
QStringList writeParadoxSample(const QString& dir, const ParadoxSampleSizes& sizes,
                               const std::function<void(const QString& line)>& progress = {});

}  // namespace selvar
