#pragma once
// Frames as the controller sends them, for tests that play its part.
#include "link/Link.h"
#include <QByteArray>

namespace z5::testframes {

// A 260-byte block reply: 258 bytes and their check value, low byte first;
// byte 3 tells whether the process runs.
inline QByteArray blockReply(char fill, bool processRuns = false) {
    QByteArray r(258, fill);
    r[0] = 1;
    r[1] = 3;
    r[2] = processRuns ? 1 : 0;
    const std::uint16_t crc = Link::checkValueOf(r);
    r.append(char(crc & 0xFF));
    r.append(char(crc >> 8));
    return r;
}

// A request frame followed by its check value, high byte first.
inline QByteArray withCheck(QByteArray frame) {
    const std::uint16_t crc = Link::checkValueOf(frame);
    frame.append(char(crc >> 8));
    frame.append(char(crc & 0xFF));
    return frame;
}

} // namespace z5::testframes
