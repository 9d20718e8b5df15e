#pragma once
#include "LineBench.h"
#include "link/FakeSerialPort.h"
#include "model/VirtualClock.h"
#include "trends/TrendSession.h"
#include "trends/TrendReply.h"
#include <QByteArray>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace z5::testing {

// Sample integer (value x 1000) of a synthetic archive: page, row and channel
// can all be read back from it.
inline std::int32_t archiveSample(int page, int row, int channel) { return page * 100000 + row * 100 + channel; }

// One 1064-byte part as the controller sends it.
inline QByteArray trendPart(int page, int part, int rowsRecorded = 45, int recordingPage = 3) {
    QByteArray out(wire::kTrendPartLength, '\0');
    out[0] = 1;
    out[1] = 3;
    out[2] = char(page - 1);
    out[3] = char(rowsRecorded);
    out[4] = char(recordingPage - 1);
    for (int i = 0; i < TrendPart::kSamples; ++i) {
        const int s = part * TrendPart::kSamples + i;
        const std::int32_t v = archiveSample(page, s / 32, s % 32);
        for (int b = 0; b < 4; ++b) out[8 + 4 * i + b] = char((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
    }
    out[1044] = char(part);         // seconds
    out[1045] = char(10 + part);    // minutes
    out[1046] = 8;                  // hours
    out[1048] = 6;
    out[1049] = 12;
    out[1050] = 26;
    return out;
}

// Gives a part the date and time of day of its page's own place in time (a page
// every two hours, a part every 80 s), so that every page is told apart by them.
inline void datePart(QByteArray &part, int page, int partIndex) {
    const int seconds = ((page - 1) % 12) * 7200 + partIndex * 80;
    part[1044] = char(seconds % 60);
    part[1045] = char(seconds / 60 % 60);
    part[1046] = char(seconds / 3600);
    part[1048] = char(1 + (page - 1) / 12);
    part[1049] = 3;
    part[1050] = 27;
}

// A trend recorder at the far end of the bench's in-memory port, on the virtual
// clock: it answers each part request after a line time, with faults planned per
// request (counted from 1), and records the recording frames.
class ScriptedRecorder {
public:
    enum class Fault { None, Drop, Late, Double, DoubleStreaming, Short, OtherPage, StrayBefore, StrayAfter, Shifted,
                       LookAlike };
    static constexpr int kAnswerMs = 98;   // turnaround and 1064 bytes at 115200 bit/s

    ScriptedRecorder(VirtualClock &clock, FakeSerialPort &port) : clock_(clock), port_(port), timer_(clock.createTimer()) {
        port_.notifiesArrivals = true;
        port_.responder = [this](const QByteArray &frame) {
            heard(frame);
            return QByteArray();
        };
        timer_->setOnTimeout([this] { deliverDue(); });
    }

    struct Request {
        std::int64_t at;
        int column, part, page;
    };
    std::vector<Request> requests;
    std::vector<std::pair<int, bool>> recordings;
    std::map<int, Fault> faults;
    int lateMs = 450;
    int strayCount = 2;
    int recordingPage = 3;
    int rowsRecorded = 45;
    // Every part answered with the same samples and times (part 0's).
    bool partsAlike = false;
    // Each page carries its own date and times (datePart).
    bool datedPages = false;
    // Told of every part request as it is heard (counted from 1).
    std::function<void(const Request &)> onRequest;

private:
    void heard(const QByteArray &frame) {
        if (frame.size() != 8) return;
        const int column = quint8(frame[2]) - 1, index = quint8(frame[3]), count = quint8(frame[5]);
        if (index < 10) {
            recordings.push_back({column, index == 1});
            return;
        }
        const int part = index - 10, page = count;
        requests.push_back({clock_.nowMs(), column, part, page});
        const Fault fault = faults.count(int(requests.size())) ? faults[int(requests.size())] : Fault::None;
        const int answered = page == 0 ? recordingPage : page;
        if (onRequest) onRequest(requests.back());
        QByteArray reply = trendPart(answered, partsAlike ? 0 : part, rowsRecorded, recordingPage);
        if (datedPages) datePart(reply, answered, partsAlike ? 0 : part);
        const std::int64_t at = clock_.nowMs() + kAnswerMs;
        switch (fault) {
        case Fault::Drop: break;
        case Fault::OtherPage: pending_.emplace(at, trendPart(answered + 1, part, rowsRecorded, recordingPage)); break;
        case Fault::Late: pending_.emplace(at + lateMs, reply); break;
        case Fault::Double: pending_.emplace(at, reply + reply); break;
        case Fault::DoubleStreaming:
            // The copy follows on the line at once, a piece every few milliseconds.
            pending_.emplace(at, reply);
            for (int off = 0, k = 1; off < reply.size(); off += 64, ++k) pending_.emplace(at + 5 * k, reply.mid(off, 64));
            break;
        case Fault::Short: pending_.emplace(at, reply.left(wire::kTrendPartLength - 1)); break;
        // Stray bytes at the turnaround come with the part in one burst.
        case Fault::StrayBefore: pending_.emplace(at, QByteArray(strayCount, char(0x03)) + reply); break;
        case Fault::StrayAfter: pending_.emplace(at, reply + QByteArray(strayCount, char(0x03))); break;
        // The first byte lost and a stray one after: 1064 bytes, none of them a part.
        case Fault::Shifted: pending_.emplace(at, reply.mid(1) + char(0)); break;
        // A second, different part that fits as well: which one was meant cannot be told.
        case Fault::LookAlike: pending_.emplace(at, reply + trendPart(answered, (part + 1) % 30, rowsRecorded, recordingPage)); break;
        case Fault::None: pending_.emplace(at, reply); break;
        }
        armTimer();
    }
    void deliverDue() {
        while (!pending_.empty() && pending_.begin()->first <= clock_.nowMs()) {
            const QByteArray bytes = pending_.begin()->second;
            pending_.erase(pending_.begin());
            port_.deliver(bytes);
        }
        armTimer();
    }
    void armTimer() {
        if (pending_.empty()) {
            timer_->stop();
            return;
        }
        timer_->start(int(std::max<std::int64_t>(0, pending_.begin()->first - clock_.nowMs())));
    }

    VirtualClock &clock_;
    FakeSerialPort &port_;
    std::unique_ptr<Timer> timer_;
    std::multimap<std::int64_t, QByteArray> pending_;
};

// The line bench with a scripted recorder at the far end and the trend session
// that reads its pages through the line owner's queue.
struct TrendBench : LineBench {
    ScriptedRecorder recorder{clock, port};
    TrendSession session{clock, line};
};

} // namespace z5::testing
