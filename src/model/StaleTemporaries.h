#pragma once
#include <QString>

namespace z5 {

// What saves of ours left in a folder when their program was stopped before it
// could clean up (killed, a power cut): files and folders named as
// TemporaryName makes them whose process no longer runs. A set's journal is
// finished or undone first (SetJournal), then the rest is removed. Nothing
// else is touched: not a name of another pattern, not what a running program
// (this one included) is still writing, not a link, and not the files of a
// journal that could not be read.
class StaleTemporaries {
public:
    static void sweep(const QString &folder);
};

} // namespace z5
