#include "SimController.h"
#include "SimWire.h"

namespace z5sim {
namespace {

constexpr int kFrameLength = 8;
constexpr int kScreenWriteLength = 28811;
constexpr int kGraType = 28;
constexpr int kPanType = 20;
constexpr int kBlockRead = 10;
constexpr int kLastTrendPart = 39;

int byteAt(const QByteArray &b, int i) { return static_cast<std::uint8_t>(b[i]); }

} // namespace

SimController::SimController(const SimOptions &options)
    : options_(options), plant_(memory_, options.station, options.unit) {}

void SimController::emitEvent(QJsonObject event, std::int64_t nowMs) {
    if (!onEvent) return;
    event.insert(QStringLiteral("ms"), static_cast<qint64>(nowMs));
    onEvent(event);
}

std::vector<SimOutput> SimController::receive(const QByteArray &bytes, std::int64_t nowMs) {
    std::vector<SimOutput> out;
    const std::int64_t gap = lastByteMs_ < 0 ? INT64_MAX : nowMs - lastByteMs_;
    lastByteMs_ = nowMs;
    if (expect_ == Expect::Header && !pending_.isEmpty() && gap > kFrameGapMs) {
        emitEvent({{"dir", "in"}, {"what", "incomplete frame"}, {"length", pending_.size()},
                   {"hex", SimWire::hex(pending_)}}, nowMs);
        pending_.clear();
    }
    if (expect_ == Expect::SkipBurst && gap > kFrameGapMs) expect_ = Expect::Header;
    if (expect_ == Expect::Data && gap > kDataTimeoutMs) {
        emitEvent({{"dir", "in"}, {"what", "incomplete data"}, {"table", dataTable_}, {"length", data_.size()},
                   {"expected", dataLength_}}, nowMs);
        expect_ = Expect::Header;
        pending_.clear();
    }
    pending_.append(bytes);

    while (!pending_.isEmpty()) {
        if (expect_ == Expect::SkipBurst) {
            emitEvent({{"dir", "in"}, {"what", "skipped"}, {"length", pending_.size()}, {"hex", SimWire::hex(pending_)}},
                      nowMs);
            pending_.clear();
            break;
        }
        if (expect_ == Expect::Data) {
            if (data_.isEmpty()) {
                // A header in place of the data means the data never came.
                if (pending_.size() < kFrameLength) break;
                if (SimWire::isRequestFrame(pending_.left(kFrameLength))) {
                    emitEvent({{"dir", "in"}, {"what", "missing data"}, {"table", dataTable_}, {"expected", dataLength_}},
                              nowMs);
                    expect_ = Expect::Header;
                    continue;
                }
            }
            const int take = qMin<int>(dataLength_ - data_.size(), pending_.size());
            data_.append(pending_.left(take));
            pending_.remove(0, take);
            if (data_.size() == dataLength_) {
                expect_ = Expect::Header;
                handleData(nowMs);
            }
            continue;
        }
        if (pending_.size() < kFrameLength) break;
        const QByteArray frame = pending_.left(kFrameLength);
        if (!SimWire::isRequestFrame(frame)) {
            // No telling where the next frame starts: drop the rest of this burst.
            emitEvent({{"dir", "in"}, {"what", "frame"}, {"check", false}, {"length", pending_.size()},
                       {"hex", SimWire::hex(pending_)}}, nowMs);
            pending_.clear();
            expect_ = Expect::SkipBurst;
            break;
        }
        pending_.remove(0, kFrameLength);
        handleHeader(frame, nowMs, out);
    }
    return out;
}

void SimController::handleHeader(const QByteArray &frame, std::int64_t nowMs, std::vector<SimOutput> &out) {
    const int station = byteAt(frame, 0);
    const int second = byteAt(frame, 1);
    const bool forUs = station == options_.station;
    QJsonObject event{{"dir", "in"}, {"what", "header"}, {"check", true}, {"station", station},
                      {"hex", SimWire::hex(frame)}};
    if (!forUs) event.insert(QStringLiteral("otherStation"), true);

    if (second == 0x32 || (second >= 0x33 && second <= 0x3F)) {
        const int lengthField = byteAt(frame, 2) * 256 + byteAt(frame, 3);
        dataForUs_ = forUs;
        dataBlockByte_ = byteAt(frame, 5);
        data_.clear();
        if (second == 0x32) {
            dataTable_ = -1;
            dataLength_ = kScreenWriteLength;
            event.insert(QStringLiteral("write"), QStringLiteral("screen"));
        } else {
            dataTable_ = second - 0x33;
            dataLength_ = SimMemory::arrivingLength(dataTable_);
            event.insert(QStringLiteral("write"), QStringLiteral("table"));
            event.insert(QStringLiteral("table"), dataTable_);
            if (dataTable_ == 12) event.insert(QStringLiteral("block"), dataBlockByte_);
        }
        event.insert(QStringLiteral("lengthField"), lengthField);
        emitEvent(event, nowMs);
        expect_ = Expect::Data;
        return;
    }

    // 0x03: a read, a key, a trend request or a process command.
    event.insert(QStringLiteral("block"), byteAt(frame, 2));
    event.insert(QStringLiteral("index"), byteAt(frame, 3));
    event.insert(QStringLiteral("code"), byteAt(frame, 4));
    event.insert(QStringLiteral("count"), byteAt(frame, 5));
    if (!forUs) {
        emitEvent(event, nowMs);
        return;
    }
    const QByteArray answer = answerRequest(frame, nowMs, event);
    emitEvent(event, nowMs);
    if (!answer.isEmpty())
        reply(answer, answer.size() == SimTrendArchive::kPartLength ? QStringLiteral("trend part")
                                                                     : QStringLiteral("block reply"),
              answer.size() != SimTrendArchive::kPartLength, nowMs, out);
}

QByteArray SimController::answerRequest(const QByteArray &frame, std::int64_t nowMs, QJsonObject &event) {
    const int blockByte = byteAt(frame, 2), index = byteAt(frame, 3), code = byteAt(frame, 4), count = byteAt(frame, 5);
    if (blockByte == 0) {
        if (code >= SimPlant::Pause && code <= SimPlant::Store) {
            plant_.processCommand(code);
            event.insert(QStringLiteral("request"), QStringLiteral("process command"));
            return plant_.processReply();
        }
        event.insert(QStringLiteral("request"), QStringLiteral("ignored"));
        return QByteArray();
    }
    const int column = blockByte - 1;
    const int type = memory_.blockType(column);
    if (type == kGraType) {
        if (index >= kBlockRead && index <= kLastTrendPart) {
            event.insert(QStringLiteral("request"), QStringLiteral("trend part"));
            return plant_.trends().part(options_.station, count, index - kBlockRead, nowMs);
        }
        if (index <= 1 && count == 2) {
            plant_.trends().setRecording(index == 1, nowMs);
            event.insert(QStringLiteral("request"), index == 1 ? QStringLiteral("recording start")
                                                                : QStringLiteral("recording stop"));
            return QByteArray();
        }
    } else if (type == kPanType && code >= 1 && code <= 12) {
        plant_.pressKey(column, code);
        event.insert(QStringLiteral("request"), QStringLiteral("panel key"));
        return plant_.blockReply(column, nowMs);
    } else if (index == kBlockRead) {
        event.insert(QStringLiteral("request"), QStringLiteral("block read"));
        return plant_.blockReply(column, nowMs);
    }
    event.insert(QStringLiteral("request"), QStringLiteral("ignored"));
    return QByteArray();
}

void SimController::reply(QByteArray bytes, const QString &what, bool hasCheckValue, std::int64_t nowMs,
                          std::vector<SimOutput> &out) {
    QJsonObject event{{"dir", "out"}, {"what", what}};
    ++repliesDue_;
    const bool dropThisOne = options_.dropEvery > 0 && repliesDue_ % options_.dropEvery == 0;
    if (options_.dropReplies > 0 || dropThisOne) {
        if (!dropThisOne) --options_.dropReplies;
        event.insert(QStringLiteral("fault"), QStringLiteral("dropped"));
        event.insert(QStringLiteral("length"), 0);
        emitEvent(event, nowMs);
        return;
    }
    if (hasCheckValue && (options_.damaged || options_.corruptReplies > 0)) {
        if (!options_.damaged) --options_.corruptReplies;
        bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 0x5A);
        event.insert(QStringLiteral("fault"), QStringLiteral("wrong check value"));
    }
    if (!hasCheckValue && options_.strayBytes > 0) {
        bytes.prepend(QByteArray(options_.strayBytes, char(0xFF)));
        event.insert(QStringLiteral("fault"), QStringLiteral("stray bytes"));
    }
    if (options_.shortReplies > 0) {
        --options_.shortReplies;
        bytes.chop(1);
        event.insert(QStringLiteral("fault"), QStringLiteral("short"));
    }
    const bool late = options_.lateMs > 0 && options_.lateReplies != 0;
    if (late && options_.lateReplies > 0) --options_.lateReplies;
    const int delay = options_.replyDelayMs + (late ? options_.lateMs : 0);
    if (late && !event.contains(QStringLiteral("fault")))
        event.insert(QStringLiteral("fault"), QStringLiteral("late"));
    event.insert(QStringLiteral("length"), bytes.size());
    event.insert(QStringLiteral("hex"), SimWire::hex(bytes));
    event.insert(QStringLiteral("delayMs"), delay);
    emitEvent(event, nowMs);
    out.push_back({delay, bytes});
}

void SimController::handleData(std::int64_t nowMs) {
    QJsonObject event{{"dir", "in"}, {"what", "data"}, {"length", data_.size()}, {"hex", SimWire::hex(data_)}};
    if (!dataForUs_) event.insert(QStringLiteral("otherStation"), true);
    if (dataTable_ < 0) {
        event.insert(QStringLiteral("write"), QStringLiteral("screen"));
        const bool framed = byteAt(data_, 0) == options_.station && byteAt(data_, 1) == 0x3C;
        event.insert(QStringLiteral("framed"), framed);
        if (dataForUs_ && framed) memory_.storeScreen(data_.mid(2));
    } else {
        event.insert(QStringLiteral("write"), QStringLiteral("table"));
        event.insert(QStringLiteral("table"), dataTable_);
        QByteArray content = data_;
        if (dataTable_ <= 1) {
            event.insert(QStringLiteral("leadingZero"), data_.startsWith('0'));
            content.remove(0, 1);
        }
        if (dataForUs_) memory_.storeTable(dataTable_, content, dataBlockByte_);
    }
    emitEvent(event, nowMs);
    data_.clear();
}

} // namespace z5sim
