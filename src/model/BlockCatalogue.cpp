#include "model/BlockCatalogue.h"

namespace z5 {
namespace {

struct TypeRow {
    const char *mnemonic;
    int outFirst;
    int outEnd;
    int maxInstance;
};

// Indexed by code - 1.
const TypeRow kTypes[BlockCatalogue::kTypeCount] = {
    {"A_I", 1, 16, 8},   {"A_O", 100, 100, 8}, {"D_I", 1, 8, 8},     {"D_O", 100, 100, 8},
    {"RS4", 100, 100, 8}, {"MUL", 9, 13, 8},   {"SUM", 9, 13, 8},    {"DIV", 9, 13, 8},
    {"SQR", 5, 9, 8},    {"ABS", 5, 9, 8},     {"AND", 9, 13, 8},    {"OR_", 9, 13, 8},
    {"XOR", 9, 13, 8},   {"TRI", 9, 13, 8},    {"REG", 9, 13, 8},    {"S_P", 1, 8, 12},
    {"PID", 7, 9, 8},    {"MUX", 9, 17, 8},    {"PRO", 5, 9, 8},     {"PAN", 9, 17, 8},
    {"RTC", 2, 3, 8},    {"MIN", 9, 11, 8},    {"LIM", 2, 5, 8},     {"CMP", 3, 6, 8},
    {"TIM", 9, 17, 8},   {"COU", 5, 8, 8},     {"OSC", 9, 17, 8},    {"GRA", 100, 100, 8},
    {"JUR", 33, 41, 8},  {"SCA", 33, 41, 8},   {"LOG", 9, 15, 8},    {"MOT", 6, 10, 8},
    {"UNI", 9, 17, 8},   {"INV", 2, 3, 0},     {"***", 1, 100, 0},
};

const TypeRow *row(int code) {
    if (code < 1 || code > BlockCatalogue::kTypeCount) return nullptr;
    return &kTypes[code - 1];
}

} // namespace

int BlockCatalogue::typeByMnemonic(const QString &mnemonic) {
    // Code 35 is a placeholder and never matches.
    for (int code = 1; code <= 34; ++code)
        if (mnemonic == QLatin1String(kTypes[code - 1].mnemonic)) return code;
    return 0;
}

QString BlockCatalogue::mnemonic(int code) {
    const TypeRow *r = row(code);
    return r ? QString::fromLatin1(r->mnemonic) : QString();
}

int BlockCatalogue::pinOutFirst(int code) {
    const TypeRow *r = row(code);
    return r ? r->outFirst : 0;
}

int BlockCatalogue::pinOutEnd(int code) {
    const TypeRow *r = row(code);
    return r ? r->outEnd : 0;
}

int BlockCatalogue::maxInstance(int code) {
    return isBlockType(code) ? kTypes[code - 1].maxInstance : 0;
}

const std::array<std::int16_t, 8> &BlockCatalogue::scadaPinOut() {
    static const std::array<std::int16_t, 8> pins = {33, 34, 67, 68, 101, 102, 135, 136};
    return pins;
}

int BlockCatalogue::outputIndex(int code, int pin) {
    if ((code >= 1 && code <= 5) || code == BlockType::S_P) return pin - 1;
    if (code == BlockType::SCA) {
        const auto &pins = scadaPinOut();
        for (int i = 0; i < 8; ++i)
            if (pins[i] == pin) return i;
        return pin - 1;
    }
    return pinOutEnd(code) - pin - 1;
}

} // namespace z5
