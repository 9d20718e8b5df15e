#pragma once
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace z5 {

class Clock;
class Timer;

// "Обновлять": re-reads the picked block at a chosen interval, off unless the
// user picks one. Each reply arms the next read, so reads never pile up on a
// slow line; anything else that uses the line, another pick or a failed read
// stops it. It also keeps the age of the values shown.
class LiveRefresh : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 4> kIntervalsMs{{250, 500, 1000, 2000}};

    explicit LiveRefresh(Clock &clock);
    ~LiveRefresh() override;
    LiveRefresh(const LiveRefresh &) = delete;
    LiveRefresh &operator=(const LiveRefresh &) = delete;

    // The interval picked by the user; 0 (or any other value) is off.
    void setIntervalMs(int ms);
    int intervalMs() const { return intervalMs_; }
    bool isOn() const { return intervalMs_ > 0; }

    // A block read ended with its values shown: the next read is due one
    // interval later while refreshing is on.
    void valuesShown();
    // A read failed, another block was picked or another exchange starts.
    void stop();
    // The next read is awaited.
    bool isArmed() const;

    // Milliseconds since the values shown were read; empty before the first.
    std::optional<std::int64_t> ageMs() const;
    // "Значения получены 1,2 с назад" in the status bar.
    QString ageText() const;
    // Forgets the values (the view was cleared).
    void forget() { shownAtMs_.reset(); }

signals:
    // The next read is due.
    void due();

private:
    Clock &clock_;
    std::unique_ptr<Timer> timer_;
    int intervalMs_ = 0;
    std::optional<std::int64_t> shownAtMs_;
};

} // namespace z5
