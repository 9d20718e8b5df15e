#include "link/Link.h"
#include "link/SerialDevices.h"
#include "link/SerialPort.h"
#include "model/Prompts.h"
#include <array>

namespace z5 {
namespace {

struct TableType {
    int lengthField;
    int dataCount;
};

// Tables 0 and 4 announce one byte less than they carry; the controller expects it so.
constexpr std::array<TableType, Link::kTableCount> kTables{{
    {0x01F3, 500},  {0x0640, 1600}, {0x0040, 64},  {0x0044, 68},    {0x021F, 544},
    {0x072C, 1836}, {0x02A8, 680},  {0x0242, 578}, {0x0294, 660},   {0x0020, 32},
    {0x41B8, 16824}, {0x0140, 320}, {0x0020, 32},
}};

constexpr int kTableFirstByte = 0x33;
constexpr int kParameterTable = 10;
constexpr int kSetpointTable = 12;

bool isByte(int v) { return v >= 0 && v <= 255; }

} // namespace

Link::Link(SerialPort &port, Prompts &prompts) : port_(port), prompts_(prompts) {}

std::uint16_t Link::checkValueOf(const QByteArray &bytes, int length) {
    std::uint16_t value = 0xFFFF;
    const int n = length < bytes.size() ? length : static_cast<int>(bytes.size());
    for (int i = 0; i < n; ++i) {
        value ^= static_cast<std::uint8_t>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? static_cast<std::uint16_t>((value >> 1) ^ 0xA001) : static_cast<std::uint16_t>(value >> 1);
    }
    return value;
}

int Link::tableLengthField(int table) {
    return table >= 0 && table < kTableCount ? kTables[table].lengthField : -1;
}

int Link::tableDataCount(int table) {
    return table >= 0 && table < kTableCount ? kTables[table].dataCount : -1;
}

bool Link::computeCheckValue() {
    if (checkLength > frameBuffer.size()) return false;
    checkValue = checkValueOf(frameBuffer, checkLength);
    return true;
}

// Builds the frame of requestKind. Returns false when a byte source is out of
// range; an unknown kind or table leaves `frame` empty.
bool Link::buildFrame(QByteArray &frame, int &nextIndex) const {
    const int station = settings.station;
    std::array<int, kFrameLength> b{};
    switch (requestKind) {
    case ScreenHeader:
        b = {station, 0x32, kScreenWriteLength >> 8, kScreenWriteLength & 0xFF, 0, 0};
        break;
    case TableHeader: {
        const int len = tableLengthField(requestTable);
        if (len < 0) return true;
        b = {station, kTableFirstByte + requestTable, len >> 8, len & 0xFF, 0,
             requestTable == kSetpointTable ? int(requestBlock) : 0};
        break;
    }
    case SteppingRead:
    case Read:
        b = {station, 0x03, requestBlock + 1, requestIndex, requestCode, requestCount};
        break;
    case Command:
        b = {station, 0x03, requestBlock, requestIndex, requestCode, requestCount};
        break;
    default:
        return true;
    }
    for (int v : b)
        if (!isByte(v)) return false;
    if (requestKind == SteppingRead) {
        nextIndex = requestIndex + 1;
        if (!isByte(nextIndex)) return false;
    }
    frame.resize(kFrameLength);
    for (int i = 0; i < kFrameLength; ++i) frame[i] = static_cast<char>(b[i]);
    return true;
}

bool Link::sendRequest() {
    QByteArray frame;
    int nextIndex = requestIndex;
    if (!buildFrame(frame, nextIndex)) {
        prompts_.beep();
        return false;
    }
    if (frame.isEmpty()) {
        // No layout for these fields: the frame built last goes out again.
        if (frameBuffer.size() < kFrameLength) {
            prompts_.beep();
            return false;
        }
        frame = frameBuffer.left(kFrameLength);
    }
    frameBuffer = frame;
    requestIndex = static_cast<std::uint8_t>(nextIndex);
    checkLength = kFrameLength;
    computeCheckValue();
    QByteArray out = frameBuffer;
    out.append(static_cast<char>(checkValue / 256));
    out.append(static_cast<char>(checkValue % 256));
    if (!port_.isOpen() || !port_.write(out)) {
        prompts_.beep();
        return false;
    }
    return true;
}

bool Link::sendDataBlock() {
    if (requestKind == ScreenHeader) {
        checkLength = screenDataLength;
    } else if (requestKind == TableHeader) {
        const int count = tableDataCount(requestTable);
        if (count >= 0) checkLength = static_cast<std::int16_t>(count);
    } else {
        return false;
    }
    frameBuffer = dataBlock;
    if (requestTable != kParameterTable) {
        if (dataBlock.size() < checkLength) return false;
        computeCheckValue();
    }
    QByteArray out;
    if (requestKind == ScreenHeader) {
        if (!isByte(settings.station)) return false;
        out.reserve(dataBlock.size() + 2);
        out.append(static_cast<char>(settings.station));
        out.append(static_cast<char>(kDataMarker));
    }
    out.append(dataBlock);
    return port_.isOpen() && port_.write(out);
}

bool Link::openPort() {
    if (port_.isOpen()) return true;
    const QString device = PortSettings::deviceName(settings.portNumber);
    return !device.isEmpty() && port_.open(device);
}

QString Link::networkFailureText() const {
    const QString detail = port_.errorString();
    QString text = detail.isEmpty() ? QStringLiteral("Нет сети!!!") : QStringLiteral("Нет сети!!!\n") + detail;
    // Which adapter that was, when the machine knows it by name.
    const QString adapter = describePort(settings.portNumber, serialDevices, true);
    if (!adapter.isEmpty()) text += QLatin1Char('\n') + adapter;
    return text;
}

} // namespace z5
