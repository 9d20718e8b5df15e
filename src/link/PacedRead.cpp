#include "link/PacedRead.h"

namespace z5 {

bool PacedRead::send(const Request &request) { return line_ && line_->sendRequest(request); }

QByteArray PacedRead::takeInput() { return line_ ? line_->takeInput() : QByteArray(); }

void PacedRead::noteInTraffic(const QString &text, const QByteArray &bytes) {
    if (line_) line_->noteInTraffic(text, bytes);
}

void PacedRead::end(LineOutcome outcome) {
    if (line_) line_->giveBack(outcome);
}

} // namespace z5
