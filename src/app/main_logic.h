#pragma once
// The main window's rules: the signed-in user's rights, the start and exit log rows,
// the private-report shortcut, the reminder of open-term debtors and creditors, and the
// commands that reach the companion library and the sibling programs.
#include "companion/movement_request.h"

#include <QString>
#include <optional>

namespace selvar {

struct Session;

// Rights of the main window's own commands (false = disabled).
struct MainRights {
    bool envanter = false;   // "En&vanter"
    bool alism = false;      // "Alış" / "&Alış"
    bool takas = false;      // "Takas" / "&Takas"
    bool gizlikasa = false;  // Sifreli, "&İstatistikler"
    bool acikode = false;    // "Açık Ödemeler"
    bool hatborc = false;    // "Açık Vadeli Borçlular"
    bool hatalac = false;    // "Açık Vadeli Alacaklılar"
    bool hatikisi = false;   // "İkisi de"
};

class MainLogic {
public:
    explicit MainLogic(Session& session);

    // Window creation: reads usera.db into the session and the rights, logs the start,
    // reads the shortcut and the caption.
    MainRights create();
    QString caption() const { return caption_; }
    QString privateShortcut() const { return shortcut_; }  // "Ctrl+B" by default
    bool firstActivation() const { return firstActivation_; }

    // The request the reminder sends for a letter: "A" creditors, "B" debtors, "İ" both;
    // any other letter gives mode "0" (no list).
    MovementListRequest reminderRequest(const QString& letter) const;
    // The letter of the start-up reminder: first letter of HATIRLA, "H" when empty.
    QString startupLetter() const;
    void remind(const QString& letter);  // SorguEcz + HareketListVer
    void activated();                    // the first activation runs the start-up reminder
    void openPayments();                 // "Açık Ödemeler"

    void closing();  // log row and the quit requests to the siblings

private:
    Session& session_;
    QString caption_;
    QString shortcut_ = QStringLiteral("Ctrl+B");
    bool firstActivation_ = true;
};

}  // namespace selvar
