#include "link/PacedRead.h"
#include "link/LineSession.h"

namespace z5 {

bool PacedRead::send(const Request &request) { return line_ && line_->sendInPacedRead(request); }

QByteArray PacedRead::takeInput() { return line_ ? line_->takePacedInput() : QByteArray(); }

void PacedRead::noteInTraffic(const QString &text, const QByteArray &bytes) {
    if (line_) line_->traffic().recordNote(text, bytes);
}

void PacedRead::end(LineOutcome outcome) {
    if (line_) line_->endPacedRead(outcome);
}

} // namespace z5
