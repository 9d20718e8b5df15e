#pragma once
#include <QByteArray>

namespace z5 {

class ScreenModel;

// The 64 element words of the screen stream: each element's pixel position taken
// from its control, with colours, kind and flags above the Y pixel of the odd words.
class ScreenElementWords {
public:
    static constexpr int kBytes = 128;

    // Recomputes every word in the model (the sums stay there, so a saved screen file
    // carries them) and returns the words as sent: high byte, then low byte.
    // A free slot, parameter or alarm, is placed off the screen (X and Y 500).
    static QByteArray update(ScreenModel &model);
};

} // namespace z5
