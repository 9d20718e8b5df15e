#include "app/LineAlerts.h"
#include "app/LineTexts.h"
#include "link/LineSession.h"
#include "model/Prompts.h"

namespace z5 {

LineAlerts::LineAlerts(LineSession &line, Prompts &prompts) : line_(line), prompts_(prompts) {
    connect(&line, &LineSession::requestTaken, this, &LineAlerts::follow);
}

void LineAlerts::follow(const std::shared_ptr<LineReply> &work) {
    LineReply *reply = work.get();
    connect(reply, &LineReply::finished, this, [this, reply] { tell(*reply); });
}

void LineAlerts::tell(const LineReply &work) {
    for (int i = 0; i < work.framesNotSent(); ++i) prompts_.beep();
    if (work.wasOverdue()) prompts_.beep();
    if (work.metPortFailure())
        prompts_.message(LineTexts::networkFailure(work.failure(), line_.settings().portNumber, line_.serialDevices()),
                         QString(), Prompts::Kind::Error);
}

} // namespace z5
