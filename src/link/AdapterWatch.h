#pragma once
#include <QString>
#include <functional>
#include <memory>

namespace z5 {

class Clock;
class Timer;

// Looks for a serial adapter that went away until it is back. The adapter is
// known by the name its port was opened by and, where the system told one, its
// serial number: under a stable by-id name only that adapter answers to the
// name; under a plain name whatever device carries the name is the port. It
// says nothing and opens nothing itself: each look that finds the adapter
// hands its name to the line owner, which opens it.
class AdapterWatch {
public:
    // Looks this often, so that a returning adapter is opened within 2 s.
    static constexpr int kLookEveryMs = 500;
    // The name to open for the adapter last opened as `device` with `serialNumber`,
    // or empty while it is not there.
    using Finder = std::function<QString(const QString &device, const QString &serialNumber)>;

    AdapterWatch(Clock &clock, Finder finder, std::function<void(const QString &openName)> found);
    ~AdapterWatch();
    AdapterWatch(const AdapterWatch &) = delete;
    AdapterWatch &operator=(const AdapterWatch &) = delete;

    void start(const QString &device, const QString &serialNumber);
    void stop();
    bool isWatching() const { return !device_.isEmpty(); }
    QString device() const { return device_; }

private:
    void look();

    Finder finder_;
    std::function<void(const QString &)> found_;
    std::unique_ptr<Timer> timer_;
    QString device_;
    QString serialNumber_;
};

} // namespace z5
