#pragma once
#include "model/ParameterChoiceLists.h"
#include "model/StorePlace.h"
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace z5 {

// Field kinds of a console row.
enum class FieldKind : std::uint8_t { Hidden = 0, Number = 1, Choice = 2, Text = 3 };

// What a visible row does with its value.
enum class RowRole : std::uint8_t {
    Hidden,    // no such row
    Value,     // shows and edits a store element
    Instance,  // shows the block's instance number, locked
    NotStored, // shown locked: the controller never receives what it would hold
    Selects    // picks a channel, step, event, page or key for the other rows
};

enum class Selector : std::uint8_t { None, Channel, Step, Event, Page, Key };

// Current selectors of the console: channel c (also the trend channel of GRA),
// program step s, journal event e, screen page p and key k.
struct Selectors {
    int channel = 0;
    int step = 0;
    int event = 0;
    int page = 0;
    int key = 0;
    int get(Selector s) const;
    void set(Selector s, int value);
};

enum class SignalSide : std::uint8_t { Input, Output };

// Everything the console needs to lay out one row.
struct RowLayout {
    FieldKind kind = FieldKind::Hidden;
    QString label;
    int maxCode = 0;      // highest item code of a choice row; 0 = no items
    QStringList items;    // maxCode + 1 items, or none
    RowRole role = RowRole::Hidden;
    Selector selects = Selector::None;  // for RowRole::Selects
};

// The constant description of the console rows of every block type and the names
// of each type's signals. One map from (type, slot, row, selectors) to the store
// serves the console, the parameter file and the tables alike.
class ParameterCatalogue {
public:
    static constexpr int kRows = 17;        // console rows 0..16
    static constexpr int kTypes = 34;       // type codes 1..34
    static constexpr int kPinPositions = 9; // declared; positions 0..7 are filled
    static constexpr int kPinNameLength = 12;

    ParameterCatalogue();  // builds
    // The one shared catalogue; it is constant once built.
    static const ParameterCatalogue &standard();

    // Fills the row names, kinds and largest codes and the signal names.
    void build();

    // Row layout of type code 1..34, row 0..16; a hidden layout outside.
    RowLayout rowLayout(int type, int row) const;
    FieldKind kind(int type, int row) const;
    QString label(int type, int row) const;
    int maxCode(int type, int row) const;
    RowRole role(int type, int row) const;
    Selector selectorOf(int type, int row) const;
    // True when the row's store place moves with the given selector.
    bool dependsOn(int type, int row, Selector selector) const;
    // The console row that picks a selector for a type, or -1.
    int selectorRow(int type, Selector selector) const;

    // Signal name of type 1..33, position 0..7: exactly 12 characters (blanks for none).
    // Empty outside those bounds.
    QString signalName(int type, int position, SignalSide side) const;

    // The store element a row shows and edits for the block's instance slot and the
    // current selectors. Empty when the row stores nothing, when the slot is outside
    // the table, or when a selector is outside its list.
    std::optional<StorePlace> fieldAddress(int type, int slot, int row, const Selectors &selectors) const;

private:
    // Row names (type code - 1, row).
    std::array<std::array<QString, kRows>, kTypes> rowNames;
    // Row kinds (type code, row); index 0 is never read.
    std::array<std::array<std::uint8_t, kRows>, kTypes + 1> rowKinds{};
    // Largest code of each row (type code - 1, row).
    std::array<std::array<std::uint8_t, kRows>, kTypes> numbersMAX{};
    // Input / output signal names (type code - 1, position).
    std::array<std::array<QString, kPinPositions>, kTypes> inputPinNames;
    std::array<std::array<QString, kPinPositions>, kTypes> outputPinNames;
    // Index into the row data for (type code, row), -1 where none.
    std::array<std::array<std::int16_t, kRows>, kTypes + 1> rowIndex_{};
};

} // namespace z5
