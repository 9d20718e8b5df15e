#pragma once
#include "link/Request.h"
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace z5 {

// The data block of a table or screen write, or why it cannot go out as it stands.
struct WriteBlock {
    QByteArray bytes;
    // A screen stream: how many of its bytes the check value covers; -1 for a table.
    int checkedLength = -1;
    QString problem;   // empty when the block can be sent
    QString caption;   // the caption the front end shows the problem with
    bool ok() const { return problem.isEmpty(); }
    bool isScreen() const { return checkedLength >= 0; }
};

// A timed write as one whole: every step with the millisecond from the start of
// the write at which it goes out. The line owner paces the steps and answers the
// sequence with a WriteReply that reports each step as it happens.
//
// Each step carries a tag for progress: the table it belongs to (kScreen for the
// screen stream), or for a mark what the mark means to whoever follows the
// write. A header may carry a build: the block is built just before the header
// goes out and sent by the data step of the same tag. A data step may carry its
// own build instead (the data is built when it goes out). A build that fails
// reports its tag refused and drops the later steps of that tag; the write then
// goes on, or ends at once when the step says so.
//
// A header or data step may instead carry bytes recorded from an earlier write:
// they go out exactly as they are, whatever the line last carried.
class WriteSequence {
public:
    static constexpr int kScreen = -1;
    static constexpr int kNoTag = -1000;

    enum class StepKind { Header, Data, ClosePort, ReopenPort, Mark };
    enum class OnRefusal { GoOn, EndWrite };
    using Build = std::function<WriteBlock()>;

    struct Step {
        int atMs = 0;
        StepKind kind = StepKind::Mark;
        int tag = kNoTag;
        Request header;
        Build build;
        OnRefusal onRefusal = OnRefusal::GoOn;
        int mark = 0;   // a mark's meaning
        // A header or data block sent as recorded, check value and all.
        bool asRecorded = false;
        QByteArray recorded;
    };

    // Steps are kept in time order; steps of the same millisecond go out in the
    // order they were added.
    WriteSequence &header(int atMs, int tag, const Request &header, Build build = {},
                          OnRefusal onRefusal = OnRefusal::GoOn);
    WriteSequence &data(int atMs, int tag, Build build = {}, OnRefusal onRefusal = OnRefusal::GoOn);
    // Closes the port once what was written has left (bounded wait).
    WriteSequence &closePort(int atMs);
    // Opens the port again on the port chosen by then.
    WriteSequence &reopenPort(int atMs);
    // A header frame or data block that goes out byte for byte as given (a
    // write sent again from the station record).
    WriteSequence &recordedHeader(int atMs, int tag, const QByteArray &bytes);
    WriteSequence &recordedData(int atMs, int tag, const QByteArray &bytes);
    // Nothing on the wire: a moment the write's followers are told about.
    WriteSequence &mark(int atMs, int mark, int tag = kNoTag);

    const std::vector<Step> &steps() const { return steps_; }
    bool isEmpty() const { return steps_.empty(); }

private:
    WriteSequence &add(Step step);
    std::vector<Step> steps_;
};

} // namespace z5
