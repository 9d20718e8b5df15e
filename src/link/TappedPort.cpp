#include "link/TappedPort.h"

namespace z5 {

TappedPort::TappedPort(SerialPort &port, QObject *parent) : QObject(parent), port_(port) {
    port_.setLineErrorHandler([this](LineErrors errors) {
        emit lineErrors(errors);
        // A copy: the handler may be replaced while it runs.
        if (const auto handler = lineErrorHandler_) handler(errors);
    });
}

// The port outlives its tap.
TappedPort::~TappedPort() { port_.setLineErrorHandler({}); }

void TappedPort::close() {
    const bool wasOpen = port_.isOpen();
    port_.close();
    if (wasOpen) emit closed();
}

bool TappedPort::write(const QByteArray &bytes) {
    const bool ok = port_.write(bytes);
    if (ok) emit sent(bytes);
    return ok;
}

QByteArray TappedPort::readAll() {
    const QByteArray bytes = port_.readAll();
    if (!bytes.isEmpty()) emit received(bytes);
    return bytes;
}

} // namespace z5
