#pragma once
// A command-line program run to its end: exit code and both outputs.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace z5::testing {

struct CliRun {
    int code;
    QString out;
    QString err;
};

// Started with the given environment in the given folder (the test's own, by default).
inline CliRun runProgram(const QString &program, const QStringList &args, int timeoutMs = 30000,
                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                         const QString &folder = QString()) {
    QProcess p;
    p.setProcessEnvironment(environment);
    if (!folder.isEmpty()) p.setWorkingDirectory(folder);
    p.start(program, args);
    p.waitForFinished(timeoutMs);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace z5::testing
