#pragma once
#include <QByteArray>
#include <cstdint>

namespace z5 {

// The check value a block reply carries in bytes 259 and 260, low byte first;
// nothing for a reply shorter than 260 bytes.
bool receivedCheckValue(const QByteArray &reply, std::uint32_t &value);
// Whether the reply's own check value matches that of its first 258 bytes.
bool blockReplyCheckHolds(const QByteArray &reply);

} // namespace z5
