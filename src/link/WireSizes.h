#pragma once
#include <cstdint>

namespace z5 {

// The tables a download writes, by their number on the wire (byte 2 of the
// header is 0x33 plus this number).
enum class Table : std::uint8_t {
    Blocks = 0,
    Links = 1,
    TrendLinks = 2,
    JournalLinks = 3,
    ScreenLinks = 4,
    SetpointNames = 5,
    PanelTexts = 6,
    TrendNames = 7,
    JournalNames = 8,
    JournalBytes = 9,
    Parameters = 10,
    AlarmTexts = 11,
    Setpoints = 12,
};

constexpr int tableNumber(Table table) { return static_cast<int>(table); }

// Fixed sizes of what travels on the line.
namespace wire {
constexpr int kFrameLength = 6;               // a request frame without its check value
constexpr int kCheckValueLength = 2;
constexpr int kTableCount = 13;               // tables 0..12
constexpr int kBlockReplyLength = 260;        // a block reply with its check value
constexpr int kBlockReplyDataLength = 258;    // the part of a block reply the check value covers
constexpr int kTrendPartLength = 1064;        // one of the 30 parts of a trend page
constexpr int kScreenStreamLength = 28809;    // the screen stream after station and 0x3C
constexpr int kScreenWriteLength = 28811;     // station, 0x3C and the screen stream
constexpr int kTextFieldLength = 17;          // a name or panel text
constexpr int kJournalNameLength = 20;
constexpr int kBlockColumns = 100;            // block columns 0..99
} // namespace wire

} // namespace z5
