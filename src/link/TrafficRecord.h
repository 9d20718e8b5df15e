#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace z5 {

enum class TrafficDirection : std::uint8_t { Sent, Received };

// What a transfer on the line was, as far as its bytes and the request before
// it tell.
enum class TrafficKind : std::uint8_t {
    BlockRead,          // → a block's live values
    ProcessCommand,     // → pause, start, process state, store the configuration
    PanelKey,           // → a key of an operator panel block
    TrendPartRequest,   // → one part of a trend page
    TrendRecording,     // → trend recording start or stop
    TableHeader,        // → the header of a table write
    TableData,          // → the data block that follows it
    ScreenHeader,       // → the header of a screen write
    ScreenData,         // → the screen stream
    BlockReply,         // ← a 260-byte reply with its check value
    TrendPart,          // ← one part of a trend page
    Stray,              // bytes that belong to no exchange, or an unknown frame
    LineError,          // ← the port's receiver lost or damaged bytes (no bytes of its own)
};
constexpr int kTrafficKindCount = static_cast<int>(TrafficKind::LineError) + 1;

// The check value a transfer carries: a request frame (high byte first) or a
// block reply (low byte first). Data blocks and trend parts carry none.
enum class CheckState : std::uint8_t { None, Good, Bad };

struct TrafficRecord {
    std::uint64_t sequence = 0;   // counts every transfer of the run, from 0
    std::int64_t ms = 0;          // monotonic time since the program started
    TrafficDirection direction = TrafficDirection::Sent;
    TrafficKind kind = TrafficKind::Stray;
    CheckState check = CheckState::None;
    QString what;                 // e.g. "таблица 10, данные 16824 байт"
    QByteArray bytes;             // shared with the port's buffer, never copied
};

} // namespace z5
