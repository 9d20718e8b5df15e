#pragma once
#include <QString>
#include <array>
#include <cstdint>

namespace z5 {

// Type codes of the block catalogue: the position of the mnemonic, 1-based.
// Scoped by the namespace (MIN and others are libc macro names) but still plain
// ints: codes index tables and are computed with.
namespace BlockType {
enum Code : int {
    A_I = 1, A_O, D_I, D_O, RS4, MUL, SUM, DIV, SQR, ABS, AND, OR_, XOR, TRI, REG,
    S_P, PID, MUX, PRO, PAN, RTC, MIN, LIM, CMP, TIM, COU, OSC, GRA, JUR, SCA,
    LOG, MOT, UNI, INV, PLACEHOLDER
};
} // namespace BlockType

// The fixed catalogue of block types: mnemonics, pin layout, instance limits.
class BlockCatalogue {
public:
    static constexpr int kTypeCount = 35;   // codes 1..35
    static constexpr int kBlockTypes = 33;  // codes 1..33 are real blocks
    static constexpr int kNoOutputs = 100;

    // Code of a three-character mnemonic (codes 1..34, case-sensitive); 0 when none.
    static int typeByMnemonic(const QString &mnemonic);
    // Mnemonic of a code 1..35; empty for anything else.
    static QString mnemonic(int code);
    static bool isBlockType(int code) { return code >= 1 && code <= kBlockTypes; }

    // First output pin, and last output pin + 1 (100: no outputs); 0 for a code out of range.
    static int pinOutFirst(int code);
    static int pinOutEnd(int code);
    // Highest instance number a type allows (12 for S_P, else 8); 0 for non-blocks.
    static int maxInstance(int code);

    // True when pin p (1-based) of a block of type code is an input.
    static bool isInputPin(int code, int pin) { return pin < pinOutFirst(code); }
    // Output index of output pin p of a block of type code.
    static int outputIndex(int code, int pin);

    // The SCA output pins, in output-index order.
    static const std::array<std::int16_t, 8> &scadaPinOut();
    // Page (0..7) and slot (0..31) of an SCA input pin.
    static int scadaInputPage(int pin) { return pin / 34; }
    static int scadaInputSlot(int pin) { return pin < 35 ? pin - 1 : (pin % 34) - 1; }
};

} // namespace z5
