#include "link/ValueCodec.h"
#include <cfenv>
#include <cmath>

namespace z5 {

std::optional<ValueBytes> ValueCodec::encodeValue(float value) {
    // The product is taken in single precision, as the store holds the value,
    // then rounded half to even like the conversion to a 32-bit integer. In
    // single precision a typed half thousandth (0.0005, 2.0005) is an exact half
    // and goes to the even neighbour; the exact binary product would not be.
    const float scaled = value * 1000.0f;
    if (!std::isfinite(scaled)) return std::nullopt;
    const double n = std::nearbyint(static_cast<double>(scaled));
    if (n > 2147483647.0 || n <= -2147483648.0) return std::nullopt;
    const auto ni = static_cast<std::int64_t>(n);
    const auto m = static_cast<std::uint32_t>(ni < 0 ? -ni : ni);
    ValueBytes b{};
    b[0] = m & 0xFF;
    b[1] = (m >> 8) & 0xFF;
    b[2] = (m >> 16) & 0xFF;
    b[3] = (m >> 24) & 0xFF;
    if (ni < 0) b[3] = static_cast<std::uint8_t>(b[3] + 128);
    return b;
}

double ValueCodec::decodeValue(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    std::int64_t u = b0 + 256LL * b1 + 65536LL * b2 + 16777216LL * b3;
    if (b3 > 127) u -= 4294967296LL;
    return static_cast<double>(u) / 1000.0;
}

double ValueCodec::decodeValue(const char *p) {
    return decodeValue(static_cast<std::uint8_t>(p[0]), static_cast<std::uint8_t>(p[1]),
                       static_cast<std::uint8_t>(p[2]), static_cast<std::uint8_t>(p[3]));
}

} // namespace z5
