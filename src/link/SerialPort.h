#pragma once
#include "link/LineErrors.h"
#include <QByteArray>
#include <QString>
#include <functional>

namespace z5 {

// The serial line to the controller: 115200 bit/s, 8 data bits, no parity, one stop bit.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens the device (a path such as /dev/ttyUSB0, or COMn on Windows).
    virtual bool open(const QString &device) = 0;
    // Closes the port once what was written has left (bounded wait).
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues bytes exactly as given; false when the port refused them.
    virtual bool write(const QByteArray &bytes) = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray readAll() = 0;
    // Why the last open or transfer failed, for a message after "Нет сети!!!".
    virtual QString errorString() const = 0;
    // Whether the last failure was the device going away (an adapter unplugged,
    // a far end's terminal closed) or an open not finding it: it may come back.
    virtual bool deviceGone() const { return false; }
    // Called whenever bytes have arrived, so that a reader can take a complete
    // reply at once instead of at its next poll. A port that cannot tell never
    // calls it; an empty handler stops the calls.
    virtual void setArrivalHandler(std::function<void()> handler) { (void)handler; }
    // Called with what the receiver saw go wrong (bytes lost or damaged), on
    // the thread that owns the port, as soon as the port learns of it. A port
    // that cannot tell never calls it; an empty handler stops the calls.
    virtual void setLineErrorHandler(std::function<void(LineErrors)> handler) { (void)handler; }
    // Bytes written that have not left the port yet (its own queue and the
    // driver's); 0 for a port that cannot tell.
    virtual qint64 bytesNotYetSent() const { return 0; }
    // Bytes that the last close() had to drop because they had not left by the
    // drain deadline; 0 when everything left.
    virtual qint64 bytesDroppedAtClose() const { return 0; }
};

} // namespace z5
