#pragma once
// Helpers for tests that work in a fresh folder and look at it through the shell.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace zev::testing {

// Runs a shell command in the current folder; what it printed, or why it failed.
inline QString shell(const QString& command) {
    QProcess process;
    process.start(QStringLiteral("bash"), {QStringLiteral("-c"), command});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// Runs the test body with the process's current folder set to a fresh temporary one.
class CurrentFolder {
public:
    CurrentFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~CurrentFolder() { QDir::setCurrent(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace zev::testing
