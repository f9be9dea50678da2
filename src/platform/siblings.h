#pragma once
// The maker's sibling programs started from the main window: found by their window
// title and brought to the front, or started with the access token.
#include <QString>
#include <QStringList>

namespace selvar {

class Platform;
class Prompter;

inline const QString SiblingToken = QStringLiteral("SelvarKDPT47");

// Titles asked to quit when the main window closes, in this order.
const QStringList& siblingsClosedOnExit();

class Siblings {
public:
    Siblings(Platform& platform, Prompter& prompter) : platform_(platform), prompter_(prompter) {}

    // Restores the running program with that window title, else starts it with the token.
    void activateOrStart(const QString& program, const QString& title);
    // "Bakı&m Destek": restores its window, else starts the program with no argument.
    void activateOrStartPlain(const QString& program, const QString& title);
    // Always a new copy, without arguments.
    bool startNew(const QString& program);
    // "İ&nternet ve BBS": warns when the program is missing.
    void startDialUp();
    void quitOnExit();

private:
    Platform& platform_;
    Prompter& prompter_;
};

}  // namespace selvar
