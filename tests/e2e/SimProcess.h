#pragma once
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <vector>

// The built z5-sim running on its own pseudo-terminal for one test, with its
// timeline in a temporary folder.
class SimProcess {
public:
    explicit SimProcess(const QStringList &arguments = {});
    ~SimProcess();

    bool running() const { return !device_.isEmpty(); }
    QString device() const { return device_; }
    QString timelinePath() const;
    std::vector<QJsonObject> timeline() const;
    // Runs the event loop until the timeline holds a matching record (or time is up).
    bool waitForEvent(const std::function<bool(const QJsonObject &)> &match, int timeoutMs);
    void kill();

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString device_;
};

// Runs the event loop for this long.
void pumpEvents(int ms);
// Runs the event loop until the condition holds or time is up; returns the condition.
bool pumpUntil(const std::function<bool()> &condition, int timeoutMs);
