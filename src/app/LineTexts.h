#pragma once
#include <QString>

namespace z5 {

class SerialDevices;

// What the user is told about the line.
class LineTexts {
public:
    // "Нет сети!!!", followed on a second line by why the port failed (the
    // port's own words), if known, and on a third by which adapter the port
    // number names, when the machine knows it by name.
    static QString networkFailure(const QString &reason, int portNumber, const SerialDevices *devices);
    // The status line while the line waits for an adapter that went away, and once it is back.
    static QString adapterGone(const QString &device);
    static QString adapterReturned(const QString &device);
};

} // namespace z5
