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
constexpr int kParameterTable = tableNumber(Table::Parameters);
constexpr int kSetpointTable = tableNumber(Table::Setpoints);

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
    if (checkLength_ > frameBuffer_.size()) return false;
    checkValue_ = checkValueOf(frameBuffer_, checkLength_);
    return true;
}

void Link::loadTableData(int table, const QByteArray &data) {
    dataBlock_ = data;
    fields_.table = static_cast<std::int16_t>(table);
}

void Link::loadScreenData(const QByteArray &stream, int checkedLength) {
    dataBlock_ = stream;
    screenDataLength_ = static_cast<std::int16_t>(checkedLength);
}

// Builds the frame of the request kind. Returns false when a byte source is out of
// range; an unknown kind or table leaves `frame` empty.
bool Link::buildFrame(QByteArray &frame, int &nextIndex) const {
    const int station = settings.station;
    std::array<int, kFrameLength> b{};
    switch (fields_.kind) {
    case Request::ScreenHeader:
        b = {station, 0x32, kScreenWriteLength >> 8, kScreenWriteLength & 0xFF, 0, 0};
        break;
    case Request::TableHeader: {
        const int len = tableLengthField(fields_.table);
        if (len < 0) return true;
        b = {station, kTableFirstByte + fields_.table, len >> 8, len & 0xFF, 0,
             fields_.table == kSetpointTable ? int(fields_.block) : 0};
        break;
    }
    case Request::SteppingRead:
    case Request::Read:
        b = {station, 0x03, fields_.block + 1, fields_.index, fields_.code, fields_.count};
        break;
    case Request::Command:
        b = {station, 0x03, fields_.block, fields_.index, fields_.code, fields_.count};
        break;
    default:
        return true;
    }
    for (int v : b)
        if (!isByte(v)) return false;
    if (fields_.kind == Request::SteppingRead) {
        nextIndex = fields_.index + 1;
        if (!isByte(nextIndex)) return false;
    }
    frame.resize(kFrameLength);
    for (int i = 0; i < kFrameLength; ++i) frame[i] = static_cast<char>(b[i]);
    return true;
}

bool Link::sendRequest() {
    QByteArray frame;
    int nextIndex = fields_.index;
    if (!buildFrame(frame, nextIndex)) {
        prompts_.beep();
        return false;
    }
    if (frame.isEmpty()) {
        // No layout for these fields: the frame built last goes out again.
        if (frameBuffer_.size() < kFrameLength) {
            prompts_.beep();
            return false;
        }
        frame = frameBuffer_.left(kFrameLength);
    }
    frameBuffer_ = frame;
    fields_.index = static_cast<std::uint8_t>(nextIndex);
    checkLength_ = kFrameLength;
    computeCheckValue();
    QByteArray out = frameBuffer_;
    out.append(static_cast<char>(checkValue_ / 256));
    out.append(static_cast<char>(checkValue_ % 256));
    if (!port_.isOpen() || !port_.write(out)) {
        prompts_.beep();
        return false;
    }
    return true;
}

bool Link::sendDataBlock() {
    if (fields_.kind == Request::ScreenHeader) {
        checkLength_ = screenDataLength_;
    } else if (fields_.kind == Request::TableHeader) {
        const int count = tableDataCount(fields_.table);
        if (count >= 0) checkLength_ = static_cast<std::int16_t>(count);
    } else {
        return false;
    }
    frameBuffer_ = dataBlock_;
    if (fields_.table != kParameterTable) {
        if (dataBlock_.size() < checkLength_) return false;
        computeCheckValue();
    }
    QByteArray out;
    if (fields_.kind == Request::ScreenHeader) {
        if (!isByte(settings.station)) return false;
        out.reserve(dataBlock_.size() + 2);
        out.append(static_cast<char>(settings.station));
        out.append(static_cast<char>(kDataMarker));
    }
    out.append(dataBlock_);
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
