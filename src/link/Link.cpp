#include "link/Link.h"
#include <array>

namespace z5 {
namespace {

struct TableType {
    int lengthField;
    int dataCount;
};

// Tables 0 and 4 announce one byte less than they carry; the controller expects it so.
constexpr std::array<TableType, wire::kTableCount> kTables{{
    {0x01F3, 500},  {0x0640, 1600}, {0x0040, 64},  {0x0044, 68},    {0x021F, 544},
    {0x072C, 1836}, {0x02A8, 680},  {0x0242, 578}, {0x0294, 660},   {0x0020, 32},
    {0x41B8, 16824}, {0x0140, 320}, {0x0020, 32},
}};

constexpr int kParameterTable = tableNumber(Table::Parameters);
constexpr int kSetpointTable = tableNumber(Table::Setpoints);

bool isByte(int v) { return v >= 0 && v <= 255; }

} // namespace

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
    return table >= 0 && table < wire::kTableCount ? kTables[table].lengthField : -1;
}

int Link::tableDataCount(int table) {
    return table >= 0 && table < wire::kTableCount ? kTables[table].dataCount : -1;
}

Link::Frame Link::frameOf(const RequestFields &f, int chosenStation) {
    const int station = f.station != 0 ? f.station : chosenStation;
    Frame frame;
    frame.nextIndex = f.index;
    std::array<int, wire::kFrameLength> b{};
    switch (f.kind) {
    case Request::ScreenHeader:
        b = {station, wire::kScreenFrameByte, wire::kScreenWriteLength >> 8, wire::kScreenWriteLength & 0xFF, 0, 0};
        break;
    case Request::TableHeader: {
        const int len = tableLengthField(f.table);
        if (len < 0) return frame;
        b = {station, wire::kFirstTableByte + f.table, len >> 8, len & 0xFF, 0, f.table == kSetpointTable ? int(f.block) : 0};
        break;
    }
    case Request::SteppingRead:
    case Request::Read:
        b = {station, wire::kReadFrameByte, f.block + 1, f.index, f.code, f.count};
        break;
    case Request::Command:
        b = {station, wire::kReadFrameByte, f.block, f.index, f.code, f.count};
        break;
    default:
        return frame;
    }
    frame.build = Build::OutOfRange;
    for (int v : b)
        if (!isByte(v)) return frame;
    if (f.kind == Request::SteppingRead) {
        frame.nextIndex = f.index + 1;
        if (!isByte(frame.nextIndex)) return frame;
    }
    frame.build = Build::Built;
    frame.bytes.resize(wire::kFrameLength);
    for (int i = 0; i < wire::kFrameLength; ++i) frame.bytes[i] = static_cast<char>(b[i]);
    return frame;
}

QByteArray Link::withCheckValue(const QByteArray &bytes) {
    const std::uint16_t check = checkValueOf(bytes);
    QByteArray out = bytes;
    out.append(static_cast<char>(check >> 8));
    out.append(static_cast<char>(check & 0xFF));
    return out;
}

int Link::checkedTableLength(int table, int otherwise) {
    const int count = tableDataCount(table);
    return count >= 0 ? count : otherwise;
}

bool Link::tableDataFits(int table, const QByteArray &data, int checkedLength) {
    return table == kParameterTable || data.size() >= checkedLength;
}

QByteArray Link::screenDataBlock(int station, const QByteArray &stream) {
    if (!isByte(station)) return {};
    QByteArray out;
    out.reserve(stream.size() + 2);
    out.append(static_cast<char>(station));
    out.append(static_cast<char>(kDataMarker));
    out.append(stream);
    return out;
}

} // namespace z5
