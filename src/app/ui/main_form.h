#pragma once
#include "app/main_logic.h"
#include "app/ui/windows.h"

#include <QHash>
#include <QDialog>
#include <QMainWindow>
#include <functional>

class QAction;
class QPushButton;
class QMenu;

namespace selvar {

class MarqueeBanner;

// The main window: the big-button panel and the main menu of the whole program.
class TILKForm : public QMainWindow {
    Q_OBJECT
public:
    TILKForm(Session& session, const WindowOpeners& openers, QWidget* parent = nullptr);
    ~TILKForm() override;

    MainLogic& logic() { return logic_; }
    // Commands by their caption without '&' ("Satış", "Cari Kartı", "Sifreli" ...).
    QAction* command(const QString& name) const { return commands_.value(name); }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    MarqueeBanner* banner() const { return banner_; }

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* addCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut, std::function<void()> run,
                        bool allowed = true);
    QPushButton* addButton(const QString& caption, QAction* action);
    QPushButton* addButton(const QString& caption, std::function<void()> run, bool allowed = true);
    void addPrivateReportCommand();
    void guarded(const std::function<void()>& f);
    void sibling(const QString& program, const QString& title);

    Session& session_;
    WindowOpeners openers_;
    MainLogic logic_;
    MainRights rights_;
    QHash<QString, QAction*> commands_;
    QHash<QString, QPushButton*> buttons_;
    QList<QPushButton*> panel_;
    MarqueeBanner* banner_ = nullptr;
};

// "Program Hakkında".
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace selvar
