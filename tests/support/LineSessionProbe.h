#pragma once
#include "link/LineSession.h"

namespace z5 {

// The one door through which tests look inside the line owner: the request
// side's fields and the reply reception's timers. Product code has no such door.
class LineSessionProbe {
public:
    static Link &link(LineSession &line) { return line.link_; }
    static ReplyReception &reception(LineSession &line) { return line.reception_; }
    // The port as every sender sees it (through the tap).
    static SerialPort &port(LineSession &line) { return line.tap_; }
};

} // namespace z5
