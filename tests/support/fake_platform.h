#pragma once
// A desktop for tests: which windows "exist", and a log of every call.
#include "platform/platform.h"

#include <QStringList>

namespace selvar::test {

class FakePlatform final : public Platform {
public:
    bool windowExists(const QString& title) override { return windows.contains(title); }
    void restoreWindow(const QString& title) override { calls << QStringLiteral("restore:") + title; }
    void askToQuit(const QString& title) override { calls << QStringLiteral("quit:") + title; }
    bool startProgram(const QString& fileName, const QStringList& arguments) override
    {
        calls << QStringLiteral("start:") + fileName + (arguments.isEmpty() ? QString() : u' ' + arguments.join(u' '));
        return !missingPrograms.contains(fileName);
    }
    bool openWithDefaultProgram(const QString& path) override
    {
        calls << QStringLiteral("open:") + path;
        return true;
    }
    bool startCalculator() override
    {
        calls << QStringLiteral("calculator");
        return true;
    }
    void showHelp(const QString& helpFile, int topic) override
    {
        calls << QStringLiteral("help:") + helpFile + u':' + QString::number(topic);
    }
    qint64 freeBytes(const QString&) override { return free; }
    QString programsDirectory() const override { return QStringLiteral("/programs"); }

    QStringList windows;
    QStringList missingPrograms;
    QStringList calls;
    qint64 free = 1440 * 1024;
};

}  // namespace selvar::test
