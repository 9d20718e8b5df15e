#pragma once
#include <QString>

namespace z5 {

// What a port's receiver saw go wrong on the line since it last said so: bytes
// lost because they came faster than they were taken, or bytes that arrived
// damaged. A set of flags, so that one report can carry several.
struct LineErrors {
    enum Flag : unsigned {
        Overrun = 1u << 0,        // the receiver's hardware was not read in time: bytes lost
        InputOverflow = 1u << 1,  // the driver's input buffer was full: bytes lost
        Framing = 1u << 2,        // a byte without its stop bit (wrong speed, noise)
        Parity = 1u << 3,         // a byte whose parity bit was wrong
        Break = 1u << 4,          // the line held at space longer than a byte
    };
    unsigned flags = 0;

    bool any() const { return flags != 0; }
    bool has(Flag flag) const { return (flags & flag) != 0; }
    LineErrors &operator|=(LineErrors other) {
        flags |= other.flags;
        return *this;
    }

    // "ошибка линии: переполнение приёмника, ошибка кадра" for the traffic
    // monitor and the trace; empty when there is nothing to tell.
    QString text() const;
};

} // namespace z5
