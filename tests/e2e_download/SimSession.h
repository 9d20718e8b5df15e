#pragma once
// A z5-sim on a pseudo-terminal writing its timeline, and z5ctl run against it.
#include "SimProcess.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace z5::e2e {

struct Run {
    int exitCode = -1;
    QString err;
};

// Runs z5ctl to its end (bounded).
inline Run runZ5ctl(const QStringList &args, int timeoutMs = 60000) {
    QProcess p;
    p.start(QStringLiteral(Z5CTL_PATH), args);
    Run r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("z5ctl did not end");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The shared z5-sim launcher.
using SimSession = ::SimProcess;

// The bytes of a record's "hex" field.
inline QByteArray hexBytes(const QJsonObject &o) {
    return QByteArray::fromHex(o.value(QStringLiteral("hex")).toString().toLatin1());
}

} // namespace z5::e2e
