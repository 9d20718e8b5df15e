#pragma once
#include "link/LineSession.h"

namespace z5 {

// The one door through which tests look inside the line owner: what it keeps
// of the line and the reply reception's timers. Product code has no such door.
class LineSessionProbe {
public:
    static ReplyReception &reception(LineSession &line) { return line.reception_; }
    // The port as every sender sees it (through the tap).
    static SerialPort &port(LineSession &line) { return line.tap_; }
    static bool openPort(LineSession &line, const QString &device) { return line.openPort(device); }
    static bool openPort(LineSession &line) { return line.openPort(); }
    static void closePort(LineSession &line) { line.closePort(); }
    // The fields last on the line, which the next request carries.
    static const RequestFields &onLine(const LineSession &line) { return line.onLine_; }
    // Puts fields on the line as if a request had left them there.
    static void setOnLine(LineSession &line, const RequestFields &fields) { line.onLine_ = fields; }
    // The last frame or data block built, and how much of it the check covered.
    static const QByteArray &lastBuilt(const LineSession &line) { return line.lastBuilt_; }
    static int checkedLength(const LineSession &line) { return line.checkedLength_; }
    // Every frame that could not go out since the line was made, whatever held the line.
    static int framesNotSent(const LineSession &line) { return line.framesNotSent_; }
    // The reply of the work under way (an exchange, a paced read or a frame), if any.
    static std::shared_ptr<LineReply> underWay(const LineSession &line) { return line.current_; }
    // How much of the loaded screen data the check covers.
    static int screenCheckedLength(const LineSession &line) { return line.screenCheckedLength_; }
    // Sends a request as the line owner completes it, outside any exchange.
    static bool send(LineSession &line, const Request &request) {
        line.onLine_ = request.completedFrom(line.onLine_);
        return line.sendFrame(line.onLine_);
    }
    // Sends the loaded data block after the header last sent.
    static bool sendData(LineSession &line) { return line.sendDataBlock(); }
    // The data block of a table write, as the write sequencer hands it over.
    static void loadTableData(LineSession &line, int table, const QByteArray &data) { line.loadTableData(table, data); }
    static void loadScreenData(LineSession &line, const QByteArray &stream, int checkedLength) {
        line.loadScreenData(stream, checkedLength);
    }
};

} // namespace z5
