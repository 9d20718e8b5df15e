#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace z5sim {

// Byte-level helpers on the controller's side of the line. Kept apart from the
// configurator's own code so that the two ends check each other.
class SimWire {
public:
    static std::uint16_t checkValue(const QByteArray &bytes, int length);
    // Appends the check value of `data` low byte first, as replies carry it.
    static QByteArray withCheckValue(const QByteArray &data);
    // True when the eight bytes are a request frame with a valid check value
    // (high byte first) and a known second byte.
    static bool isRequestFrame(const QByteArray &eight);
    // A value as the controller sends it: thousandths, two's complement, LSB first.
    static void putValue(QByteArray &buffer, int offset, double value);
    static void putRaw(QByteArray &buffer, int offset, std::int32_t raw);
    // A value as the configurator writes it: thousandths, sign and magnitude.
    static double signMagnitudeAt(const QByteArray &buffer, int offset);
    static QString hex(const QByteArray &bytes);
};

} // namespace z5sim
