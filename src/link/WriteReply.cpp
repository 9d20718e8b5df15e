#include "link/WriteReply.h"

namespace z5 {

WriteReply::WriteReply(WriteSequence sequence) : LineReply(Request(), 0, Kind::WriteSequence), sequence_(std::move(sequence)) {}

void WriteReply::noteFailure(const QString &text, bool reported) {
    if (!failureText_.isEmpty()) return;
    failureText_ = text;
    failureWasReported_ = reported;
}

void WriteReply::noteRefusal(int tag, const QString &problem, const QString &caption) {
    ++refusals_;
    noteFailure(problem, true);
    emit stepRefused(tag, problem, caption);
}

} // namespace z5
