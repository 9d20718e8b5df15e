#include "app/Session.h"

namespace z5 {

Session::Session(Clock &clock_, SerialPort &port_, Prompts &prompts_)
    : clock(clock_),
      prompts(prompts_),
      line(port_, clock_),
      recorder(*this),
      lineAlerts(line, prompts_),
      writeMessages(line, prompts_),
      tables(project, store, &screen),
      chain(clock_, line, tables),
      setpointWrite(chain),
      screenWrite(chain, screenBuilder, screen),
      trends(clock_, line) {
    // A read of a trend recorder asks for its page's first part: the monitor
    // can tell it from a block read only by the block's type.
    line.traffic().setBlockTypes([this](int column) { return project.blockType(column); });
}

} // namespace z5
