#include "ParentConsole.h"

namespace z5 {

// A program started from a terminal writes to it already.
void useParentConsole() {}

} // namespace z5
