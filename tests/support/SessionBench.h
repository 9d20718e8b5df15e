#pragma once
// The test bench of a whole run: the clock, port and prompts of LineBench
// under a Session, as the windows and z5ctl share it.
#include "app/Session.h"
#include "link/FakeSerialPort.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"

namespace z5 {

struct SessionBench {
    VirtualClock clock;
    FakeSerialPort port{&clock};
    RecordingPrompts prompts;
    Session session{clock, port, prompts};
};

} // namespace z5
