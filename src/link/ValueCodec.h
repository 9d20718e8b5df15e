#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace z5 {

using ValueBytes = std::array<std::uint8_t, 4>;

// Parameter values on the wire: thousandths in 32 bits, least significant byte
// first; sign and magnitude when written, two's complement when read.
class ValueCodec {
public:
    // Empty when value x 1000 does not fit a signed 32-bit integer (or is its most
    // negative value, which sign and magnitude cannot carry).
    static std::optional<ValueBytes> encodeValue(float value);
    static bool fits(float value) { return encodeValue(value).has_value(); }
    static double decodeValue(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
    static double decodeValue(const char *fourBytes);
};

} // namespace z5
