#pragma once
// A z5-sim on a pseudo-terminal writing its timeline, and z5ctl run against it.
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

class SimSession {
public:
    SimSession() {
        sim_.start(QStringLiteral(Z5_SIM_PATH), {QStringLiteral("--timeline"), timelinePath()});
        if (sim_.waitForStarted(10000)) {
            while (!sim_.canReadLine() && sim_.waitForReadyRead(10000)) {
            }
            device_ = QString::fromUtf8(sim_.readLine()).trimmed();
        }
    }
    ~SimSession() { stop(); }

    QString device() const { return device_; }
    QString dir() const { return dir_.path(); }
    QString timelinePath() const { return dir_.filePath(QStringLiteral("timeline.jsonl")); }

    void stop() {
        if (sim_.state() == QProcess::NotRunning) return;
        sim_.terminate();
        if (!sim_.waitForFinished(5000)) {
            sim_.kill();
            sim_.waitForFinished();
        }
    }

    // Every record the simulator wrote (stop it first to have them all).
    std::vector<QJsonObject> timeline() const {
        std::vector<QJsonObject> out;
        QFile f(timelinePath());
        if (!f.open(QIODevice::ReadOnly)) return out;
        while (!f.atEnd()) {
            const QByteArray line = f.readLine().trimmed();
            if (!line.isEmpty()) out.push_back(QJsonDocument::fromJson(line).object());
        }
        return out;
    }

private:
    QTemporaryDir dir_;
    QProcess sim_;
    QString device_;
};

// The bytes of a record's "hex" field.
inline QByteArray hexBytes(const QJsonObject &o) {
    return QByteArray::fromHex(o.value(QStringLiteral("hex")).toString().toLatin1());
}

} // namespace z5::e2e
