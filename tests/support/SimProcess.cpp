#include "SimProcess.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QThread>

SimProcess::SimProcess(const QStringList &arguments) {
    QStringList args = arguments;
    args << QStringLiteral("--timeline") << timelinePath();
    process_.setProgram(QStringLiteral(Z5_SIM_PATH));
    process_.setArguments(args);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(5000)) return;
    QDeadlineTimer deadline(5000);
    while (!process_.canReadLine() && !deadline.hasExpired())
        process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    if (process_.canReadLine()) device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
}

SimProcess::~SimProcess() { stop(); }

void SimProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) process_.kill();
    process_.waitForFinished(1000);
}

QString SimProcess::timelinePath() const { return dir_.filePath(QStringLiteral("timeline.jsonl")); }

std::vector<QJsonObject> SimProcess::timeline() const {
    std::vector<QJsonObject> records;
    QFile f(timelinePath());
    if (!f.open(QIODevice::ReadOnly)) return records;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (!line.isEmpty()) records.push_back(QJsonDocument::fromJson(line).object());
    }
    return records;
}

bool SimProcess::waitForEvent(const std::function<bool(const QJsonObject &)> &match, int timeoutMs) {
    return pumpUntil(
        [&] {
            for (const auto &r : timeline())
                if (match(r)) return true;
            return false;
        },
        timeoutMs);
}

void SimProcess::kill() {
    process_.kill();
    process_.waitForFinished(3000);
}

void pumpEvents(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

bool pumpUntil(const std::function<bool()> &condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}
