#include "platform/platform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
// Titles of the windows of this desktop session, through wmctrl.
QStringList windowTitles()
{
    const QString wmctrl = QStandardPaths::findExecutable(u"wmctrl"_s);
    if (wmctrl.isEmpty()) return {};
    QProcess p;
    p.start(wmctrl, {u"-l"_s});
    if (!p.waitForFinished(3000)) return {};
    QStringList titles;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        // <id> <desktop> <host> <title...>
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() < 4) continue;
        qsizetype pos = 0;
        for (int i = 0; i < 3; ++i) pos = line.indexOf(parts[i], pos) + parts[i].size();
        titles << line.mid(pos + 1);
    }
    return titles;
}

void wmctrl(const QStringList& args)
{
    const QString tool = QStandardPaths::findExecutable(u"wmctrl"_s);
    if (!tool.isEmpty()) QProcess::execute(tool, args);
}
}  // namespace

bool DesktopPlatform::windowExists(const QString& title) { return windowTitles().contains(title); }

void DesktopPlatform::restoreWindow(const QString& title) { wmctrl({u"-F"_s, u"-a"_s, title}); }

void DesktopPlatform::askToQuit(const QString& title) { wmctrl({u"-F"_s, u"-c"_s, title}); }

QString DesktopPlatform::programsDirectory() const
{
    const QString env = qEnvironmentVariable("SELVAR_PROGRAMS_DIR");
    return env.isEmpty() ? QDir::homePath() + u"/.local/share/selvar/programs"_s : env;
}

bool DesktopPlatform::startProgram(const QString& fileName, const QStringList& arguments)
{
    const QDir dir(programsDirectory());
    QString path = dir.absoluteFilePath(fileName);
    if (QFileInfo::exists(path) && fileName.endsWith(u".exe"_s, Qt::CaseInsensitive)) {
        const QString wine = QStandardPaths::findExecutable(u"wine"_s);
        if (wine.isEmpty()) return false;
        return QProcess::startDetached(wine, QStringList{path} + arguments, dir.absolutePath());
    }
    // A native build of the same program carries the name without ".exe".
    QString native = fileName;
    if (native.endsWith(u".exe"_s, Qt::CaseInsensitive)) native.chop(4);
    path = dir.absoluteFilePath(native);
    if (QFileInfo(path).isExecutable()) return QProcess::startDetached(path, arguments, dir.absolutePath());
    return false;
}

bool DesktopPlatform::openWithDefaultProgram(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopPlatform::startCalculator()
{
    for (const QString& c : {u"gnome-calculator"_s, u"kcalc"_s, u"galculator"_s, u"mate-calc"_s, u"qalculate-gtk"_s,
                             u"xcalc"_s}) {
        const QString exe = QStandardPaths::findExecutable(c);
        if (!exe.isEmpty()) return QProcess::startDetached(exe, {});
    }
    return startProgram(u"calc.exe"_s, {});
}

void DesktopPlatform::showHelp(const QString& helpFile, int topic)
{
    // A help file converted for this desktop lies beside the programs as HTML.
    const QDir dir(programsDirectory());
    const QString base = QFileInfo(helpFile).completeBaseName();
    for (const QString& candidate : {base + u"-"_s + QString::number(topic) + u".html"_s, base + u".html"_s}) {
        if (dir.exists(candidate)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(dir.absoluteFilePath(candidate)));
            return;
        }
    }
}

qint64 DesktopPlatform::freeBytes(const QString& path)
{
    const QStorageInfo info(path);
    return info.isValid() ? info.bytesAvailable() : 0;
}

}  // namespace selvar
