#pragma once
#include <cstdint>

namespace z5 {

// The tables a download writes, by their number on the wire (the second byte
// of a table's header is wire::kFirstTableByte plus this number).
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

// Tables 0 and 1 carry a leading "0" in front of their data.
constexpr bool carriesLeadingZero(int table) {
    return table == tableNumber(Table::Blocks) || table == tableNumber(Table::Links);
}

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

// What the second byte of a request frame (after the station) says it is.
constexpr int kReadFrameByte = 0x03;          // a block read, a process command, a panel key, a trend part
constexpr int kScreenFrameByte = 0x32;        // the screen header
constexpr int kFirstTableByte = 0x33;         // table 0's header; table n's is this + n
} // namespace wire

} // namespace z5
