#pragma once
#include "model/StorePlace.h"
#include <QString>
#include <array>
#include <cstdint>

namespace z5 {

// How a line of the parameter file is read back.
enum class ReadRule : std::uint8_t {
    Locale,   // L: a number with the user's decimal separator
    Leading,  // V: one whole number with a point or a comma as the separator
    Text,     // T: the whole line
    Byte      // B: like L, rounded, 0..255
};

// The fixed line layout of a parameter file: a header line, then 34 sections of
// one value per line. Only the position of a line says what it holds.
class ParameterFileLayout {
public:
    static constexpr int kLineCount = 4149;
    static constexpr int kSectionCount = 34;

    struct Section {
        StoreTable table;
        int type;          // block type code for StoreTable::Numbers, else 0
        bool oneIndex;     // one-index stores: first index is always 0
        int firstCount;    // first index 0..firstCount-1 (instance slot, GRA column)
        int secondFrom;    // second index secondFrom..secondTo (row or element)
        int secondTo;
        ReadRule rule;
        int values() const { return firstCount * (secondTo - secondFrom + 1); }
    };

    static QString header();
    static const std::array<Section, kSectionCount> &sections();
    // File line (1-based) of the first and last value of section i (0-based).
    static int firstLine(int section);
    static int lastLine(int section);
};

} // namespace z5
