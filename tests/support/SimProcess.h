#pragma once
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <vector>

// The one launcher of the built z5-sim for end-to-end tests: it runs on its own
// pseudo-terminal for one test, with its timeline in a temporary folder.
class SimProcess {
public:
    explicit SimProcess(const QStringList &arguments = {});
    ~SimProcess();

    bool running() const { return !device_.isEmpty(); }
    QString device() const { return device_; }
    // The temporary folder, for files a test writes next to the timeline.
    QString dir() const { return dir_.path(); }
    QString timelinePath() const;
    std::vector<QJsonObject> timeline() const;
    // Runs the event loop until the timeline holds a matching record (or time is up).
    bool waitForEvent(const std::function<bool(const QJsonObject &)> &match, int timeoutMs);
    // Ends the simulator (politely first) so that its timeline is complete.
    void stop();
    void kill();
    // The simulator's process, to signal it (SIGUSR1, SIGUSR2).
    qint64 pid() const { return process_.processId(); }

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString device_;
};

// Runs the event loop for this long.
void pumpEvents(int ms);
// Runs the event loop until the condition holds or time is up; returns the condition.
bool pumpUntil(const std::function<bool()> &condition, int timeoutMs);
