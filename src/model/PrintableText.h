#pragma once
#include <QString>

namespace z5 {

// Text that came from outside (a file line, an argument, a device name) made
// safe to show: control characters, which on a terminal could retitle, clear or
// recolour it, are shown as \xNN. printableLine() escapes every one of them;
// printableMessage() keeps the line breaks and tabs of a message of several lines.
QString printableLine(const QString &text);
QString printableMessage(const QString &text);

} // namespace z5
