#pragma once
// What the original ran on and a Linux desktop lacks, behind one interface: other
// programs' windows, starting programs, opening a file with the desktop's default
// program, the calculator, help and drive space. Tests use a fake.
#include <QString>
#include <QStringList>

namespace selvar {

class Platform {
public:
    virtual ~Platform() = default;

    // Top-level windows of other programs of the same desktop session, by exact title.
    virtual bool windowExists(const QString& title) = 0;
    virtual void restoreWindow(const QString& title) = 0;  // restore from minimised and raise
    virtual void askToQuit(const QString& title) = 0;      // the polite close request

    // Starts a program of the programs directory by its file name ("listgor.exe").
    // False when it cannot be found or started.
    virtual bool startProgram(const QString& fileName, const QStringList& arguments) = 0;
    virtual bool openWithDefaultProgram(const QString& path) = 0;
    virtual bool startCalculator() = 0;
    virtual void showHelp(const QString& helpFile, int topic) = 0;
    virtual qint64 freeBytes(const QString& path) = 0;
    virtual QString programsDirectory() const = 0;
};

// The desktop: window lookup and closing through wmctrl (X11 and XWayland sessions),
// programs from the programs directory (SELVAR_PROGRAMS_DIR, default
// ~/.local/share/selvar/programs), Windows programs through wine when it is installed.
class DesktopPlatform final : public Platform {
public:
    bool windowExists(const QString& title) override;
    void restoreWindow(const QString& title) override;
    void askToQuit(const QString& title) override;
    bool startProgram(const QString& fileName, const QStringList& arguments) override;
    bool openWithDefaultProgram(const QString& path) override;
    bool startCalculator() override;
    void showHelp(const QString& helpFile, int topic) override;
    qint64 freeBytes(const QString& path) override;
    QString programsDirectory() const override;
};

}  // namespace selvar
