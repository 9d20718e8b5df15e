#include "link/ValueEncoder.h"
#include "model/Prompts.h"

namespace z5 {

bool ValueEncoder::encode(float value) {
    const auto bytes = ValueCodec::encodeValue(value);
    if (!bytes) {
        prompts_.message(QStringLiteral("Ошибка параметра"), QStringLiteral("Ошибка"), Prompts::Kind::Error);
        return false;
    }
    lastBytes = *bytes;
    return true;
}

void ValueEncoder::appendValue(QByteArray &data, float value) {
    encode(value);
    for (auto b : lastBytes) data.append(static_cast<char>(b));
}

} // namespace z5
