#pragma once
#include "link/PortSettings.h"
#include "link/Request.h"
#include "link/WireSizes.h"
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace z5 {

class SerialPort;
class Prompts;
class SerialDevices;

// The request side of the controller link: the shared request fields, the two
// send operations and the check value. Every exchange fills the fields and
// calls sendRequest (and, for a table or screen write, sendDataBlock 100 ms
// later). The fields are never cleared: what a caller leaves unset goes out as
// the previous request left it, and the controller sees exactly that.
class Link {
public:
    // Frame layouts selected by requestKind, and the process command codes.
    using Kind = Request::Kind;
    using CommandCode = Request::CommandCode;
    static constexpr Kind ScreenHeader = Request::ScreenHeader;
    static constexpr Kind TableHeader = Request::TableHeader;
    static constexpr Kind SteppingRead = Request::SteppingRead;
    static constexpr Kind Read = Request::Read;
    static constexpr Kind Command = Request::Command;
    static constexpr CommandCode PauseProcess = Request::PauseProcess;
    static constexpr CommandCode StartProcess = Request::StartProcess;
    static constexpr CommandCode ProcessPicture = Request::ProcessPicture;
    static constexpr CommandCode StoreSchema = Request::StoreSchema;

    static constexpr int kFrameLength = wire::kFrameLength;
    static constexpr int kTableCount = wire::kTableCount;
    static constexpr int kScreenWriteLength = wire::kScreenWriteLength;
    static constexpr std::uint8_t kDataMarker = 0x3C;   // second byte of a screen write
    static constexpr char kLeadingZero = '0';           // in front of the data of tables 0 and 1

    Link(SerialPort &port, Prompts &prompts);

    // Shared request fields.
    std::uint8_t requestKind = 0;
    std::int16_t requestTable = 0;
    std::int16_t requestBlock = 0;
    std::uint8_t requestIndex = 0;
    std::uint8_t requestCode = 0;
    std::int16_t requestCount = 0;
    QByteArray dataBlock;
    QByteArray frameBuffer;
    std::int16_t checkLength = 0;
    std::uint32_t checkValue = 0;
    std::int16_t screenDataLength = 0;

    PortSettings settings;
    // The serial devices present, to name the adapter in failure texts; none when null.
    const SerialDevices *serialDevices = nullptr;

    // Builds the frame of requestKind into frameBuffer and writes it with its
    // check value (high byte first) in one write. A field outside a byte, an
    // index that cannot step past 255 or a port that is not open: nothing is
    // written and the computer beeps. An unknown kind or table resends the frame
    // left in frameBuffer. Returns whether the frame went out.
    bool sendRequest();
    // Sends dataBlock after a kind 0 or 1 header: kind 0 as station, 0x3C, data;
    // kind 1 as the data alone. Never followed by a check value. A block shorter
    // than the table's data count (not checked for table 10) or a port that is
    // not open: nothing is sent, silently. Returns whether it went out.
    bool sendDataBlock();
    // checkValue = check value of the first checkLength bytes of frameBuffer.
    // False (checkValue kept) when frameBuffer is shorter than that.
    bool computeCheckValue();

    // The open sequence every sender performs before its first request: an open
    // port is reused as it is, a closed one is opened on portNumber.
    bool openPort();
    // "Нет сети!!!", followed on a second line by why the port failed, if known.
    QString networkFailureText() const;

    SerialPort &port() { return port_; }
    const SerialPort &port() const { return port_; }

    // CRC-16 with the reflected polynomial 0xA001, start 0xFFFF, no final inversion.
    static std::uint16_t checkValueOf(const QByteArray &bytes, int length);
    static std::uint16_t checkValueOf(const QByteArray &bytes) { return checkValueOf(bytes, bytes.size()); }
    // Length field of a table header and the number of data bytes the table
    // carries (without the leading "0" of tables 0 and 1); -1 for no such table.
    static int tableLengthField(int table);
    static int tableDataCount(int table);

private:
    bool buildFrame(QByteArray &frame, int &nextIndex) const;

    SerialPort &port_;
    Prompts &prompts_;
};

} // namespace z5
