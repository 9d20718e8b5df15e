#pragma once

namespace z5 {

// Makes --help and --version readable where the program was started from a
// console: on Windows the configurator is a program of the window system and has
// no console of its own, so it writes to the one it was started from, if any.
void useParentConsole();

} // namespace z5
