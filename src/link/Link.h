#pragma once
#include "link/Request.h"
#include "link/WireSizes.h"
#include <QByteArray>
#include <cstdint>

namespace z5 {

// The encoder of what goes out on the line: request frames from their fields
// and the station, the check value, and the data blocks of table and screen
// writes. It holds nothing between calls; the line owner (LineSession) keeps
// what was last on the line and writes the bytes.
class Link {
public:
    static constexpr std::uint8_t kDataMarker = 0x3C;   // second byte of a screen write

    enum class Build {
        Built,       // the frame is in `bytes`
        NoLayout,    // an unknown kind or table: the line owner resends the frame built last
        OutOfRange   // a field outside a byte, or an index that cannot step past 255
    };
    struct Frame {
        Build build = Build::NoLayout;
        QByteArray bytes;      // the 6 bytes without their check value
        int nextIndex = 0;     // the index the next frame carries (one higher after a stepping read)
    };
    // The frame of `fields` for `station`, or for the station the fields name themselves.
    static Frame frameOf(const RequestFields &fields, int station);
    // The bytes with their check value appended, high byte first.
    static QByteArray withCheckValue(const QByteArray &bytes);

    // How many leading bytes of a table write's data the check covers: the
    // table's data count (tables 0 and 1 carry a leading "0" beyond it), or
    // `otherwise` for a table the controller does not know.
    static int checkedTableLength(int table, int otherwise);
    // Whether the data of table `table` may go out: at least `checkedLength`
    // bytes, except for the parameter table, which goes out as it is.
    static bool tableDataFits(int table, const QByteArray &data, int checkedLength);
    // The data block of a screen write: station, 0x3C and the stream; empty
    // when the station is not a byte.
    static QByteArray screenDataBlock(int station, const QByteArray &stream);

    // CRC-16 with the reflected polynomial 0xA001, start 0xFFFF, no final inversion.
    static std::uint16_t checkValueOf(const QByteArray &bytes, int length);
    static std::uint16_t checkValueOf(const QByteArray &bytes) { return checkValueOf(bytes, bytes.size()); }
    // Length field of a table header and the number of data bytes the table
    // carries (without the leading "0" of tables 0 and 1); -1 for no such table.
    static int tableLengthField(int table);
    static int tableDataCount(int table);
};

} // namespace z5
