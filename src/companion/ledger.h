#pragma once
// The open-account ledger of the companion library: credit entries of sales in HAREKET,
// the running debt of the patient or institution behind them, and the open movements of
// a due-date window.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace selvar {

class Database;

enum class CreditMode { Update = 0, New = 1, Correction = 3 };

// A credit entry as VeresiyeAc receives it. Mode 1 opens a new entry, 0 updates the entry
// whose HAREKNO is `number`, 3 records one for the corrected old sale `number`.
struct CreditEntryRequest {
    int mode = 1;
    QString accountKey;  // HASTANO in digits, or an institution KOD
    QString description;
    QDate date;
    double number = 0;
    double amount = 0;
    QDate dueDate;  // none: due on the entry's date
};

struct Movement {
    double number = 0;    // HAREKNO
    QString account;      // CARIKOD
    double document = 0;  // ALSATNO
    QString kind;         // TUR
    QString source;       // ALSAT
    QString info;         // BILGI
    QDate date, due;
    double debit = 0, credit = 0;  // BORC, ALACAK
    int state = 0;                 // NIHAI
};

// The window of HareketListVer, read from the 1808-byte request.
struct MovementWindow {
    enum Kind { Both = 1, Creditors = 2, Debtors = 3 };
    bool show = false;  // mode letter "T"
    int kind = Both;
    QDate from, to;     // invalid: open on that side

    static MovementWindow fromRequest(const unsigned char* request1808);
};

class Ledger {
public:
    Ledger(Database& db, const QDateTime& now, const QString& user);

    // Writes the entry and its debt in one transaction and returns its HAREKNO; 0 when
    // the mode is unknown or mode 0 names no entry. An entry that already exists for the
    // same sale is updated rather than doubled. Throws LockHeld while the counter is held.
    double record(const CreditEntryRequest& r);

    std::optional<Movement> movement(double number);
    // The credit entry of a sale (ALSATNO, ALSAT "S"), the first when there are several.
    std::optional<Movement> saleEntry(double saleNo);
    // Open movements (NIHAI below 1) due inside the window, by due date. A movement
    // without a due date is due on its date.
    std::vector<Movement> openMovements(const MovementWindow& w, bool institutions = true, bool patients = true);
    // Closing a movement only changes its state; the running balances of the cards are
    // totals of every movement, open or closed.
    void setSettled(double number, bool settled);
    void setDueDate(double number, const QDate& due);

    bool accountExists(const QString& code);
    QString accountName(const QString& code);  // empty when there is no card

    static QString kindText(const QString& kind);
    static QString stateText(const Movement& m);

private:
    void update(const Movement& old, const CreditEntryRequest& r, const QString& key);

    Database& db_;
    QDateTime now_;
    QString user_;
};

}  // namespace selvar
