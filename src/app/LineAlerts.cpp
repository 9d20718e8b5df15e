#include "app/LineAlerts.h"
#include "app/LineTexts.h"
#include "link/LineSession.h"
#include "model/Prompts.h"

namespace z5 {

LineAlerts::LineAlerts(LineSession &line, Prompts &prompts) : line_(line), prompts_(prompts) {
    connect(&line, &LineSession::requestNotSent, this, [this] { prompts_.beep(); });
    connect(&line, &LineSession::replyOverdue, this, [this] { prompts_.beep(); });
    connect(&line, &LineSession::networkFailed, this, &LineAlerts::tellNetworkFailure);
}

void LineAlerts::tellNetworkFailure(const QString &reason) {
    prompts_.message(LineTexts::networkFailure(reason, line_.settings().portNumber, line_.serialDevices()), QString(),
                     Prompts::Kind::Error);
}

} // namespace z5
