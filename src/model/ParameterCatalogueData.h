#pragma once
#include "model/ParameterCatalogue.h"
#include <cstddef>

// The catalogue's constant rows, shared by the catalogue's own sources only.
namespace z5::catalogue_data {

constexpr int kInstanceSlot = -1;  // the selected block's instance slot
constexpr int kNoPlace = -2;       // the row stores nothing

// Where a row's value lives: table, slot (kInstanceSlot, or a fixed slot: the
// column of numbersGRA, 0 for one-index tables) and row = base + mul1 * sel1 + mul2 * sel2.
struct PlaceRule {
    StoreTable table;
    int slot;
    int base;
    Selector sel1 = Selector::None;
    int mul1 = 0;
    Selector sel2 = Selector::None;
    int mul2 = 0;
};

constexpr PlaceRule kNowhere{StoreTable::Numbers, kNoPlace, 0, Selector::None, 0, Selector::None, 0};

struct CatalogueRow {
    int type;
    int row;
    const char16_t *label;
    FieldKind kind;
    int maxCode;
    ChoiceList list;
    RowRole role;
    Selector selects;
    PlaceRule place;  // for Selects rows: where the selector is also kept, if anywhere
};

struct BlockSignalNames {
    int type;
    const char16_t *inputs;   // eight 12-character names, 96 characters
    const char16_t *outputs;
};

const CatalogueRow *rows(std::size_t *count);
const BlockSignalNames *signalNames(std::size_t *count);

} // namespace z5::catalogue_data
