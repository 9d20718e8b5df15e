#include "trends/LinkTrendLine.h"
#include "link/Link.h"
#include "link/SerialPort.h"

namespace z5 {

bool LinkTrendLine::open() { return link_.openPort(); }

bool LinkTrendLine::send(int column, int index, int count) {
    if (column < 0 || column > 255 || index < 0 || index > 254 || count < 0 || count > 255) return false;
    link_.REQUEST_kind = Link::SteppingRead;
    link_.REQUEST_block = static_cast<std::int16_t>(column);
    link_.REQUEST_index = static_cast<std::uint8_t>(index);
    link_.REQUEST_code = 0;
    link_.REQUEST_count = static_cast<std::int16_t>(count);
    return link_.SendRequest();
}

bool LinkTrendLine::sendPartRequest(int column, int part, int page) {
    return send(column, kFirstPartIndex + part, page);
}

bool LinkTrendLine::sendRecording(int column, bool start) { return send(column, start ? 1 : 0, kRecordingCount); }

QByteArray LinkTrendLine::takeInput() {
    SerialPort &port = link_.port();
    return port.isOpen() ? port.readAll() : QByteArray();
}

QString LinkTrendLine::failureReason() const { return link_.port().errorString(); }

} // namespace z5
