#include "link/ReplyCheck.h"
#include "link/Link.h"
#include "link/WireSizes.h"

namespace z5 {

bool receivedCheckValue(const QByteArray &reply, std::uint32_t &value) {
    if (reply.size() < wire::kBlockReplyLength) return false;
    const int at = wire::kBlockReplyDataLength;
    value = static_cast<std::uint8_t>(reply[at]) + 256u * static_cast<std::uint8_t>(reply[at + 1]);
    return true;
}

bool blockReplyCheckHolds(const QByteArray &reply) {
    std::uint32_t received = 0;
    if (!receivedCheckValue(reply, received)) return false;
    return Link::checkValueOf(reply, wire::kBlockReplyDataLength) == received;
}

} // namespace z5
