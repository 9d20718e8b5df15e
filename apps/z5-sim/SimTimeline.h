#pragma once
#include <QJsonObject>
#include <QString>
#include <cstdio>

namespace z5sim {

// Writes one JSON object per line and flushes it, so that a test can follow
// the file while the simulator runs.
class SimTimeline {
public:
    SimTimeline() = default;
    ~SimTimeline();
    SimTimeline(const SimTimeline &) = delete;
    SimTimeline &operator=(const SimTimeline &) = delete;

    bool open(const QString &path);
    void write(const QJsonObject &event);

private:
    std::FILE *file_ = nullptr;
};

} // namespace z5sim
