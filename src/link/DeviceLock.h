#pragma once
#include "link/PortIdentity.h"
#include <QString>
#include <memory>

class QLockFile;

namespace z5 {

// The program's claim on a serial device, taken on the device itself rather
// than on the name it was opened by, so that two programs can never hold one
// device under two of its names. A claim left by a program that died is taken
// over; one whose folder cannot be written is not taken at all (the port's own
// exclusive open still applies).
class DeviceLock {
public:
    DeviceLock();
    ~DeviceLock();
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;

    // False when another program (or another port of this one) holds the
    // device; holder() then names it.
    bool take(const PortIdentity &port);
    void release();
    // "z5ctl, процесс 4242", "процесс 4242", or empty when it cannot be told.
    QString holder() const { return holder_; }

    // The lock file standing for the device, in the first writable folder; empty when none is.
    static QString lockPath(const PortIdentity &port);

private:
    std::unique_ptr<QLockFile> lock_;
    QString holder_;
};

} // namespace z5
