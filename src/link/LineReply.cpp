#include "link/LineReply.h"

namespace z5 {

void LineReply::finish(LineOutcome outcome, const QByteArray &bytes, const QString &failure) {
    if (finished_) return;
    finished_ = true;
    outcome_ = outcome;
    bytes_ = outcome == LineOutcome::Reply ? bytes : QByteArray();
    failure_ = failure;
    emit finished(outcome);
}

} // namespace z5
