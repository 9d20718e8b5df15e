#include "link/WriteSequence.h"
#include <algorithm>

namespace z5 {

WriteSequence &WriteSequence::add(Step step) {
    const auto after = std::upper_bound(steps_.begin(), steps_.end(), step.atMs,
                                        [](int atMs, const Step &s) { return atMs < s.atMs; });
    steps_.insert(after, std::move(step));
    return *this;
}

WriteSequence &WriteSequence::header(int atMs, int tag, const Request &header, Build build, OnRefusal onRefusal) {
    Step step;
    step.atMs = atMs;
    step.kind = StepKind::Header;
    step.tag = tag;
    step.header = header;
    step.build = std::move(build);
    step.onRefusal = onRefusal;
    return add(std::move(step));
}

WriteSequence &WriteSequence::data(int atMs, int tag, Build build, OnRefusal onRefusal) {
    Step step;
    step.atMs = atMs;
    step.kind = StepKind::Data;
    step.tag = tag;
    step.build = std::move(build);
    step.onRefusal = onRefusal;
    return add(std::move(step));
}

WriteSequence &WriteSequence::recordedHeader(int atMs, int tag, const QByteArray &bytes) {
    Step step;
    step.atMs = atMs;
    step.kind = StepKind::Header;
    step.tag = tag;
    step.asRecorded = true;
    step.recorded = bytes;
    return add(std::move(step));
}

WriteSequence &WriteSequence::recordedData(int atMs, int tag, const QByteArray &bytes) {
    Step step;
    step.atMs = atMs;
    step.kind = StepKind::Data;
    step.tag = tag;
    step.asRecorded = true;
    step.recorded = bytes;
    return add(std::move(step));
}

WriteSequence &WriteSequence::closePort(int atMs) {
    Step step;
    step.atMs = atMs;
    step.kind = StepKind::ClosePort;
    return add(std::move(step));
}

WriteSequence &WriteSequence::reopenPort(int atMs) {
    Step step;
    step.atMs = atMs;
    step.kind = StepKind::ReopenPort;
    return add(std::move(step));
}

WriteSequence &WriteSequence::mark(int atMs, int mark, int tag) {
    Step step;
    step.atMs = atMs;
    step.kind = StepKind::Mark;
    step.tag = tag;
    step.mark = mark;
    return add(std::move(step));
}

} // namespace z5
