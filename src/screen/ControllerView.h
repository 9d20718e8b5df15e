#pragma once
#include <QImage>

namespace z5 {

// The background as the controller will show it: every pixel reduced to the
// eight colours at the given threshold, as the screen build reduces it.
class ControllerView {
public:
    static QImage reduce(const QImage &picture, int threshold);
};

} // namespace z5
