#pragma once
#include <QObject>
#include <memory>

namespace z5 {

class Clock;
class Timer;

// The console's progress bar `ProgressBar1` and its timer: the bar
// is not tied to any exchange, it only advances by one per tick and stops at 100.
class ConsoleProgress : public QObject {
    Q_OBJECT
public:
    static constexpr int kDownloadIntervalMs = 100;  // about ten seconds to the end
    static constexpr int kMaximum = 100;

    explicit ConsoleProgress(Clock &clock);
    ~ConsoleProgress();

    // Bar at 0, then a step every intervalMs.
    void restart(int intervalMs);
    void stop();
    void setValue(int value);
    int value() const { return value_; }
    const Timer &progressTimer() const { return *timer_; }

signals:
    void changed(int value);

private:
    void onTick();

    std::unique_ptr<Timer> timer_;
    int value_ = 0;
};

} // namespace z5
