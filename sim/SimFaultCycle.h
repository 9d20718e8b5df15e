#pragma once
#include "SimController.h"

namespace z5sim {

// A fixed rotation of the fault switches for long runs: a phase with no fault,
// then dropped, late, spoiled and cut replies, then silence. Each phase replaces
// the previous phase's switches so nothing is left over from it.
class SimFaultCycle {
public:
    static constexpr int kPhases = 6;

    // The phase after n, wrapping round.
    static int next(int phase) { return (phase + 1) % kPhases; }
    // Sets the fault switches of the phase; the station and turnaround stay.
    static void apply(int phase, SimOptions &options);
    // "none", "drop", "late", "corrupt", "short" or "silence".
    static const char *name(int phase);
};

} // namespace z5sim
