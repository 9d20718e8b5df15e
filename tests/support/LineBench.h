#pragma once
// The one test bench of the line: a virtual clock, an in-memory port on it,
// recorded prompts and the line owner over them. Rigs derive from it (or from
// SessionBench) and add what they test; none wires its own clock or port.
#include "LineSessionProbe.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "link/Link.h"
#include "link/ReplyReception.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"

namespace z5 {

struct LineBench {
    VirtualClock clock;
    FakeSerialPort port{&clock};
    RecordingPrompts prompts;
    LineSession line{port, clock, prompts};
    // Inside the line owner, for tests that check its fields and timers.
    Link &link = LineSessionProbe::link(line);
    ReplyReception &reception = LineSessionProbe::reception(line);
};

} // namespace z5
