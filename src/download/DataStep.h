#pragma once
#include "link/WireSizes.h"
#include "link/WriteSequence.h"

namespace z5 {

// The data step of a table or screen write: the header (its data built just
// before it), 100 ms later the data block. The alarm texts come after the
// closing, which has already given the main window back; every other block
// keeps the window disabled until then. Shared by the configuration download,
// the screen write and the closing.
class DataStep {
public:
    static constexpr int kIntervalMs = 100;

    // A table whose build fails at its header is left out whole (no header
    // without data); the rest of the write goes on.
    static void appendTable(WriteSequence &sequence, int atMs, Table table, WriteSequence::Build build);
    static void appendScreen(WriteSequence &sequence, int atMs, WriteSequence::Build build);
};

} // namespace z5
