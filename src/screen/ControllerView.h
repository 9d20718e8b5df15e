#pragma once
#include <QColor>
#include <QImage>

namespace z5 {

// The background as the controller will show it: every pixel reduced to the
// eight colours at the given threshold, as the screen build reduces it.
class ControllerView {
public:
    static QImage reduce(const QImage &picture, int threshold);
    // What the controller receives in the given display mode: the reduced
    // picture, and in packed mode every pixel the stream does not carry (the
    // bottom of a picture too big for it) in notReceivedColour().
    static QImage asReceived(const QImage &picture, int threshold, bool runLength);
    // Grey, none of the eight display colours.
    static QColor notReceivedColour() { return QColor(0x80, 0x80, 0x80); }
};

} // namespace z5
