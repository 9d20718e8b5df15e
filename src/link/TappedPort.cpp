#include "link/TappedPort.h"

namespace z5 {

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
