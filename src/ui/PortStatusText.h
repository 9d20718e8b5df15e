#pragma once
#include <QString>

namespace z5 {

class LineSession;

// "COM4: /dev/ttyUSB0 — FT232R USB UART    Z5 №1": the port, its device (with what
// it is, when the machine knows it) and the station, as the status bars show them.
QString portStatusText(const LineSession &line);

} // namespace z5
