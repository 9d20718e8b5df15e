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
// send operations and the check value. Every exchange applies a Request and
// calls sendRequest (and, for a table or screen write, sendDataBlock 100 ms
// later). The fields are never cleared: what a caller leaves unset goes out as
// the previous request left it, and the controller sees exactly that.
class Link {
public:
    // The frame layouts and command codes are named once, in Request.
    static constexpr int kFrameLength = wire::kFrameLength;
    static constexpr int kTableCount = wire::kTableCount;
    static constexpr int kScreenWriteLength = wire::kScreenWriteLength;
    static constexpr std::uint8_t kDataMarker = 0x3C;   // second byte of a screen write
    static constexpr char kLeadingZero = '0';           // in front of the data of tables 0 and 1

    Link(SerialPort &port, Prompts &prompts);

    // What the next frame is built from. Only a Request writes these (applyTo):
    // what it leaves unset goes out as the previous request left it.
    const RequestFields &fields() const { return fields_; }
    // A read or command that could not go out leaves the kind at 0; a repeat
    // after it builds from that.
    void clearKind() { fields_.kind = 0; }

    // The data block of a table write and its table, for the header and the
    // data that follow.
    void loadTableData(int table, const QByteArray &data);
    // The data of a screen write: `checkedLength` bytes of it are covered by
    // the check value.
    void loadScreenData(const QByteArray &stream, int checkedLength);
    // The data block last loaded, or the reply last taken in (they share one buffer).
    const QByteArray &dataBlock() const { return dataBlock_; }
    void takeReply(const QByteArray &reply) { dataBlock_ = reply; }
    int screenDataLength() const { return screenDataLength_; }

    // The last frame or data block built, and the check value over its first
    // checkLength bytes.
    const QByteArray &frame() const { return frameBuffer_; }
    int checkLength() const { return checkLength_; }
    std::uint32_t checkValue() const { return checkValue_; }

    PortSettings settings;
    // The serial devices present, to name the adapter in failure texts; none when null.
    const SerialDevices *serialDevices = nullptr;

    // Builds the frame of the request kind and writes it with its
    // check value (high byte first) in one write. A field outside a byte, an
    // index that cannot step past 255 or a port that is not open: nothing is
    // written and the computer beeps. An unknown kind or table resends the frame
    // built last. Returns whether the frame went out.
    bool sendRequest();
    // Sends the data block after a kind 0 or 1 header: kind 0 as station, 0x3C, data;
    // kind 1 as the data alone. Never followed by a check value. A block shorter
    // than the table's data count (not checked for table 10) or a port that is
    // not open: nothing is sent, silently. Returns whether it went out.
    bool sendDataBlock();
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
    friend class Request;

    bool buildFrame(QByteArray &frame, int &nextIndex) const;
    // checkValue = check value of the first checkLength bytes of the frame.
    // False (checkValue kept) when the frame is shorter than that.
    bool computeCheckValue();

    RequestFields fields_;
    QByteArray dataBlock_;
    QByteArray frameBuffer_;
    std::int16_t checkLength_ = 0;
    std::uint32_t checkValue_ = 0;
    std::int16_t screenDataLength_ = 0;

    SerialPort &port_;
    Prompts &prompts_;
};

} // namespace z5
