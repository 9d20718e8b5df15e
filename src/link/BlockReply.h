#pragma once
#include "link/ValueCodec.h"
#include <QByteArray>

namespace z5 {

// Where the values sit in a 260-byte block reply (byte positions from 1 in the
// comments, offsets from 0 in the code). Each row k = 0..7 has three values.
class BlockReply {
public:
    static constexpr int kRows = 8;
    static constexpr int kFirstOffset = 2;      // bytes 3 + 4k .. 6 + 4k
    static constexpr int kSecondOffset = 130;   // bytes 131 + 4k .. 134 + 4k
    static constexpr int kThirdOffset = 162;    // bytes 163 + 4k .. 166 + 4k
    static constexpr int kProcessStateOffset = 2;   // byte 3: 1 while the process runs
    static constexpr int kMinimumLength = 194;

    // A row outside 0..7 or a reply too short for it reads as 0.
    static double first(const QByteArray &reply, int row) { return valueAt(reply, kFirstOffset, row); }
    static double second(const QByteArray &reply, int row) { return valueAt(reply, kSecondOffset, row); }
    static double third(const QByteArray &reply, int row) { return valueAt(reply, kThirdOffset, row); }
    static bool processRuns(const QByteArray &reply) {
        return reply.size() > kProcessStateOffset && reply[kProcessStateOffset] == 1;
    }

private:
    static double valueAt(const QByteArray &reply, int base, int row) {
        const int offset = base + 4 * row;
        if (row < 0 || row >= kRows || offset + 4 > reply.size()) return 0.0;
        return ValueCodec::decodeValue(reply.constData() + offset);
    }
};

} // namespace z5
