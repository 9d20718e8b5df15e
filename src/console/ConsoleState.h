#pragma once
#include <cstdint>

namespace z5 {

// What the block console has selected. One console per run; the values live as
// long as the console and keep their meaning between selections.
struct ConsoleState {
    // Column of the selected block in the block schema, 0..99.
    std::uint8_t selectedColumn = 0;
    // Type code of the selected block (1..33); a process command sets it to 5
    // so that its reply is read as a process state.
    std::uint8_t selectedType = 0;
    // Instance slot (instance number - 1) of the block whose panel is laid out.
    std::uint8_t selectedInstance = 0;
    // Channel picked in row 1 of an A_I, A_O, D_I or D_O panel at layout.
    std::uint8_t selectedChannel = 0;
    // Page last picked in row 0 of an SCA panel, 0..7.
    std::uint8_t selectedScreenPage = 0;
    // 1 after a key went into a text field whose change is not handled yet.
    std::uint8_t textKeyPending = 0;
};

} // namespace z5
