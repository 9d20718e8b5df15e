#include "ui/Session.h"

namespace z5 {

Session::Session(Clock &clock_, SerialPort &port_, Prompts &prompts_)
    : clock(clock_),
      port(port_),
      prompts(prompts_),
      link(port_, prompts_),
      reception(link, clock_, prompts_),
      tables(project, store, &screen),
      chain(clock_, link, prompts_, tables),
      setpointWrite(chain),
      screenWrite(chain, screenBuilder, screen),
      trendLine(link),
      trends(clock_, trendLine) {
    trendLine.isBusy = [this] { return chain.isBusy() || reception.exchange() != ReplyReception::Exchange::Idle; };
}

} // namespace z5
