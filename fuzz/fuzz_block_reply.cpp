// A block reply as the line delivers it: any bytes, in pieces, late or short. Only
// a reply whose check value holds is handed over, exactly one ending is reported,
// and reading values out of any reply stays inside it.
#include "link/BlockReply.h"
#include "link/FakeSerialPort.h"
#include "link/Link.h"
#include "link/ReplyReception.h"
#include "link/Request.h"
#include "model/VirtualClock.h"
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    const QByteArray reply(reinterpret_cast<const char *>(data + 2), static_cast<int>(size - 2));
    z5::VirtualClock clock;
    z5::FakeSerialPort port(&clock);
    z5::ReplyReception reception(port, clock);
    std::vector<QByteArray> handed;
    int endings = 0;
    QObject::connect(&reception, &z5::ReplyReception::blockReply, [&](const QByteArray &r) { handed.push_back(r); });
    QObject::connect(&reception, &z5::ReplyReception::released, [&](z5::ReplyReception::Ending) { ++endings; });
    port.pieceSize = data[0] % 3 == 0 ? 0 : 1 + data[0];
    port.pieceIntervalMs = data[1] * 4;
    port.responder = [&reply](const QByteArray &) { return reply; };
    if (!port.open(QStringLiteral("/dev/fake"))) std::abort();
    port.write(z5::Link::withCheckValue(z5::Link::frameOf(z5::Request::blockRead(1).fields(), 1).bytes));
    reception.awaitBlockReply();
    clock.advance(2 * z5::ReplyReception::kBlockWatchdogMs);
    if (endings != 1 || handed.size() > 1) std::abort();
    for (const QByteArray &r : handed) {
        if (r.size() < z5::wire::kBlockReplyLength) std::abort();
        const int length = z5::wire::kBlockReplyDataLength;
        const std::uint16_t check = std::uint8_t(r[length]) | std::uint16_t(std::uint8_t(r[length + 1]) << 8);
        if (check != z5::Link::checkValueOf(r, length)) std::abort();
    }
    for (int row = -1; row <= z5::BlockReply::kRows; ++row)
        (void)(z5::BlockReply::first(reply, row) + z5::BlockReply::second(reply, row) + z5::BlockReply::third(reply, row));
    (void)z5::BlockReply::processRuns(reply);
    return 0;
}
