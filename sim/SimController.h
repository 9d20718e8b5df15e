#pragma once
#include "SimMemory.h"
#include "SimPlant.h"
#include <QByteArray>
#include <QJsonObject>
#include <cstdint>
#include <functional>
#include <vector>

namespace z5sim {

struct SimOptions {
    int station = 1;
    // Which of the controllers set to the same station this is (0: the first);
    // the others' replies differ from the first's in a byte the configurator
    // does not read, as two controllers never answer alike.
    int unit = 0;
    int replyDelayMs = 5;      // the controller's own turnaround
    // Fault switches for tests.
    int lateMs = 0;            // every reply this much later
    int lateReplies = -1;      // only the next N replies are late (-1: all)
    int dropEvery = 0;         // every Nth reply is not sent (0: none)
    int dropReplies = 0;       // the next N replies are not sent
    int corruptReplies = 0;    // the next N block replies carry a wrong check value
    int shortReplies = 0;      // the next N replies lose their last byte
    int strayBytes = 0;        // line noise before every trend part (a turnaround glitch)
    bool damaged = false;      // every block reply carries a wrong check value
};

// A reply to send after delayMs.
struct SimOutput {
    int delayMs;
    QByteArray bytes;
};

// The controller's side of the protocol: splits what arrives into request
// frames and data blocks, keeps what was written, and answers reads, process
// commands, panel keys and trend page requests of its own station.
class SimController {
public:
    static constexpr int kFrameGapMs = 50;      // silence that ends a broken frame
    static constexpr int kDataTimeoutMs = 1000; // a data block must follow its header within this

    explicit SimController(const SimOptions &options);

    // Bytes read from the line at nowMs (milliseconds since start).
    std::vector<SimOutput> receive(const QByteArray &bytes, std::int64_t nowMs);

    // One timeline record per frame, data block, reply and discarded burst.
    std::function<void(const QJsonObject &)> onEvent;

    // The switches, for a run that changes its faults as it goes.
    SimOptions &options() { return options_; }
    const SimMemory &memory() const { return memory_; }
    // For a controller that comes with a program already in it.
    SimMemory &memory() { return memory_; }
    SimPlant &plant() { return plant_; }
    const SimPlant &plant() const { return plant_; }

private:
    enum class Expect { Header, Data, SkipBurst };

    void handleHeader(const QByteArray &frame, std::int64_t nowMs, std::vector<SimOutput> &out);
    void handleData(std::int64_t nowMs);
    QByteArray answerRequest(const QByteArray &frame, std::int64_t nowMs, QJsonObject &event);
    void reply(QByteArray bytes, const QString &what, bool hasCheckValue, std::int64_t nowMs,
               std::vector<SimOutput> &out);
    void emitEvent(QJsonObject event, std::int64_t nowMs);

    SimOptions options_;
    SimMemory memory_;
    SimPlant plant_;
    Expect expect_ = Expect::Header;
    QByteArray pending_;
    std::int64_t lastByteMs_ = -1;
    // The data block being received.
    QByteArray data_;
    int dataLength_ = 0;
    int dataTable_ = -1;         // -1: the screen
    int dataBlockByte_ = 0;
    bool dataForUs_ = false;
    int repliesDue_ = 0;         // replies about to be sent, dropped or not
};

} // namespace z5sim
