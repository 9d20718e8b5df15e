#pragma once
// The one test bench of the line: a virtual clock, an in-memory port on it,
// recorded prompts and the line owner over them. Rigs derive from it (or from
// SessionBench) and add what they test; none wires its own clock or port.
#include "LineSessionProbe.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "link/ReplyReception.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"

namespace z5 {

struct LineBench {
    VirtualClock clock;
    FakeSerialPort port{&clock};
    RecordingPrompts prompts;
    LineSession line{port, clock};
    // Inside the line owner, for tests that check its timers.
    ReplyReception &reception = LineSessionProbe::reception(line);
};

} // namespace z5
