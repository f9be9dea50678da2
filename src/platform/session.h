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

    // Back-print choice, then the sale number to print.
    int PrintRequest = 0;

    Session(Database& d, Prompter& p, Clock& c) : db(d), prompter(p), clock(c) {}
};

}  // namespace selvar
