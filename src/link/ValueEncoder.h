#pragma once
#include "link/ValueCodec.h"
#include <QByteArray>

namespace z5 {

class Prompts;

// Encodes parameter values for the tables written to the controller. A value
// that does not fit shows "Ошибка параметра" and leaves lastBytes as they
// were, so the previous value's bytes take its place and the table goes on.
class ValueEncoder {
public:
    explicit ValueEncoder(Prompts &prompts) : prompts_(prompts) {}

    // The bytes of the last value that fitted.
    ValueBytes lastBytes{};

    // Returns false (after the message) when the value did not fit.
    bool encode(float value);
    // encode, then the four bytes appended to `data`.
    void appendValue(QByteArray &data, float value);

private:
    Prompts &prompts_;
};

} // namespace z5
