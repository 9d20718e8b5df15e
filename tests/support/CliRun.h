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

inline CliRun runProgram(const QString &program, const QStringList &args, int timeoutMs = 30000,
                         const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(timeoutMs);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace z5::testing
