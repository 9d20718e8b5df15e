#include "SimWire.h"
#include <cmath>
#include <limits>

namespace z5sim {

std::uint16_t SimWire::checkValue(const QByteArray &bytes, int length) {
    std::uint16_t v = 0xFFFF;
    for (int i = 0; i < length && i < bytes.size(); ++i) {
        v ^= static_cast<std::uint8_t>(bytes[i]);
        for (int k = 0; k < 8; ++k) v = (v & 1) ? std::uint16_t((v >> 1) ^ 0xA001) : std::uint16_t(v >> 1);
    }
    return v;
}

QByteArray SimWire::withCheckValue(const QByteArray &data) {
    const std::uint16_t crc = checkValue(data, data.size());
    QByteArray out = data;
    out.append(char(crc & 0xFF));
    out.append(char(crc >> 8));
    return out;
}

bool SimWire::isRequestFrame(const QByteArray &eight) {
    if (eight.size() < 8) return false;
    const int second = static_cast<std::uint8_t>(eight[1]);
    if (second != 0x03 && (second < 0x32 || second > 0x3F)) return false;
    const std::uint16_t crc = checkValue(eight, 6);
    return static_cast<std::uint8_t>(eight[6]) == (crc >> 8) && static_cast<std::uint8_t>(eight[7]) == (crc & 0xFF);
}

void SimWire::putRaw(QByteArray &buffer, int offset, std::int32_t raw) {
    const auto u = static_cast<std::uint32_t>(raw);
    for (int i = 0; i < 4; ++i) buffer[offset + i] = char((u >> (8 * i)) & 0xFF);
}

void SimWire::putValue(QByteArray &buffer, int offset, double value) {
    double scaled = std::nearbyint(value * 1000.0);
    constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    if (!(scaled >= lo)) scaled = lo;
    if (scaled > hi) scaled = hi;
    putRaw(buffer, offset, static_cast<std::int32_t>(scaled));
}

double SimWire::signMagnitudeAt(const QByteArray &buffer, int offset) {
    if (offset < 0 || offset + 4 > buffer.size()) return 0.0;
    const auto b = [&](int i) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(buffer[offset + i])); };
    const std::uint32_t magnitude = b(0) | (b(1) << 8) | (b(2) << 16) | ((b(3) & 0x7F) << 24);
    const double v = magnitude / 1000.0;
    return (b(3) & 0x80) ? -v : v;
}

QString SimWire::hex(const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex(' ').toUpper()); }

} // namespace z5sim
