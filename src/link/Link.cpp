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

bool Link::ComputeCheckValue() {
    if (CHECK_length > FRAME_buffer.size()) return false;
    CHECK_value = checkValueOf(FRAME_buffer, CHECK_length);
    return true;
}

// Builds the frame of REQUEST_kind. Returns false when a byte source is out of
// range; an unknown kind or table leaves `frame` empty.
bool Link::buildFrame(QByteArray &frame, int &nextIndex) const {
    const int station = settings.NET_Z5_number;
    std::array<int, kFrameLength> b{};
    switch (REQUEST_kind) {
    case ScreenHeader:
        b = {station, 0x32, kScreenWriteLength >> 8, kScreenWriteLength & 0xFF, 0, 0};
        break;
    case TableHeader: {
        const int len = tableLengthField(REQUEST_table);
        if (len < 0) return true;
        b = {station, kTableFirstByte + REQUEST_table, len >> 8, len & 0xFF, 0,
             REQUEST_table == kSetpointTable ? int(REQUEST_block) : 0};
        break;
    }
    case SteppingRead:
    case Read:
        b = {station, 0x03, REQUEST_block + 1, REQUEST_index, REQUEST_code, REQUEST_count};
        break;
    case Command:
        b = {station, 0x03, REQUEST_block, REQUEST_index, REQUEST_code, REQUEST_count};
        break;
    default:
        return true;
    }
    for (int v : b)
        if (!isByte(v)) return false;
    if (REQUEST_kind == SteppingRead) {
        nextIndex = REQUEST_index + 1;
        if (!isByte(nextIndex)) return false;
    }
    frame.resize(kFrameLength);
    for (int i = 0; i < kFrameLength; ++i) frame[i] = static_cast<char>(b[i]);
    return true;
}

bool Link::SendRequest() {
    QByteArray frame;
    int nextIndex = REQUEST_index;
    if (!buildFrame(frame, nextIndex)) {
        prompts_.beep();
        return false;
    }
    if (frame.isEmpty()) {
        // No layout for these fields: the frame built last goes out again.
        if (FRAME_buffer.size() < kFrameLength) {
            prompts_.beep();
            return false;
        }
        frame = FRAME_buffer.left(kFrameLength);
    }
    FRAME_buffer = frame;
    REQUEST_index = static_cast<std::uint8_t>(nextIndex);
    CHECK_length = kFrameLength;
    ComputeCheckValue();
    QByteArray out = FRAME_buffer;
    out.append(static_cast<char>(CHECK_value / 256));
    out.append(static_cast<char>(CHECK_value % 256));
    if (!port_.isOpen() || !port_.write(out)) {
        prompts_.beep();
        return false;
    }
    return true;
}

bool Link::SendDataBlock() {
    if (REQUEST_kind == ScreenHeader) {
        CHECK_length = SCREEN_data_length;
    } else if (REQUEST_kind == TableHeader) {
        const int count = tableDataCount(REQUEST_table);
        if (count >= 0) CHECK_length = static_cast<std::int16_t>(count);
    } else {
        return false;
    }
    FRAME_buffer = DATA_block;
    if (REQUEST_table != kParameterTable) {
        if (DATA_block.size() < CHECK_length) return false;
        ComputeCheckValue();
    }
    QByteArray out;
    if (REQUEST_kind == ScreenHeader) {
        if (!isByte(settings.NET_Z5_number)) return false;
        out.reserve(DATA_block.size() + 2);
        out.append(static_cast<char>(settings.NET_Z5_number));
        out.append(static_cast<char>(kDataMarker));
    }
    out.append(DATA_block);
    return port_.isOpen() && port_.write(out);
}

bool Link::openPort() {
    if (port_.isOpen()) return true;
    const QString device = PortSettings::deviceName(settings.COM_PORT_number);
    return !device.isEmpty() && port_.open(device);
}

QString Link::networkFailureText() const {
    const QString detail = port_.errorString();
    QString text = detail.isEmpty() ? QStringLiteral("Нет сети!!!") : QStringLiteral("Нет сети!!!\n") + detail;
    // Which adapter that was, when the machine knows it by name.
    const QString adapter = describePort(settings.COM_PORT_number, serialDevices, true);
    if (!adapter.isEmpty()) text += QLatin1Char('\n') + adapter;
    return text;
}

} // namespace z5
