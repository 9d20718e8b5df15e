// The simulator splits whatever comes down the line into request frames and
// data blocks; bytes in any order, cut anywhere, must not derail it.
#include "SimController.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte cuts the rest into pieces, the second spaces them in time.
    const int piece = 1 + data[0] % 64;
    const int gapMs = data[1] % 80;
    z5sim::SimOptions options;
    options.corruptReplies = data[1] & 1;
    z5sim::SimController controller(options);
    std::int64_t now = 0;
    std::size_t replies = 0;
    for (std::size_t at = 2; at < size; at += piece) {
        const QByteArray bytes(reinterpret_cast<const char *>(data + at), int(std::min<std::size_t>(piece, size - at)));
        for (const z5sim::SimOutput &out : controller.receive(bytes, now)) {
            if (out.delayMs < 0 || out.bytes.isEmpty()) std::abort();
            ++replies;
        }
        now += gapMs;
    }
    // A request frame is eight bytes: never more replies than frames could have asked.
    if (replies > size / 8 + 1) std::abort();
    return 0;
}
