#pragma once
// The process-wide values of one run of the program, passed by reference to every
// window and its logic.
#include <QString>

namespace selvar {

class Database;
class Prompter;
class Clock;
class Platform;
class Companion;
class PrintService;

// What the back-print windows are asked for: the prescription window leaves the choice,
// the sale window adds the sale number once the lines are recorded.
struct BackPrintRequest {
    int choice = 0;     // 2 the stamped back sheet, 1 the defined one, 0 none
    double saleNo = 0;  // the recorded sale to print
};

struct Session {
    Database& db;
    Prompter& prompter;
    Clock& clock;
    Platform* platform = nullptr;
    Companion* companion = nullptr;
    PrintService* print = nullptr;

    // The signed-in user's values.
    QString UserName;
    bool OldSalesAllowed = false;
    bool OldPurchasesAllowed = false;
    QString ProductCardRight;

    BackPrintRequest PrintRequest;

    Session(Database& d, Prompter& p, Clock& c) : db(d), prompter(p), clock(c) {}
};

}  // namespace selvar
