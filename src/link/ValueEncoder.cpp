#include "link/ValueEncoder.h"
#include "model/Prompts.h"

namespace z5 {

bool ValueEncoder::EncodeValue(float value) {
    const auto bytes = ValueCodec::encodeValue(value);
    if (!bytes) {
        prompts_.message(QStringLiteral("Ошибка параметра"), QStringLiteral("Ошибка"), Prompts::Kind::Error);
        return false;
    }
    VALUE_bytes = *bytes;
    return true;
}

void ValueEncoder::appendValue(QByteArray &data, float value) {
    EncodeValue(value);
    for (auto b : VALUE_bytes) data.append(static_cast<char>(b));
}

} // namespace z5
