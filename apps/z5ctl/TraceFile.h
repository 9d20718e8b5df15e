#pragma once
#include <QString>
#include <functional>

namespace z5 {
class TrafficLog;
}

namespace z5ctl {

class Arguments;

// --trace FILE of the verbs that use the line: every transfer of the run, from
// the first to the last, in the lines the monitor window saves. Each line is
// written beside the file as its transfer happens (the log in memory keeps only
// the latest ones), and the file is put in place when the verb ends however it
// ends. It is replaced as a whole, so a trace that cannot be written leaves the
// old one as it was.
class TraceFile {
public:
    // Takes --trace; returns what is wrong with it (no file, or a folder that
    // does not exist or cannot be written), or an empty text.
    QString configure(const Arguments &a);
    bool enabled() const { return !path_.isEmpty(); }
    // Runs the part of the verb that uses the line, then writes the trace. A
    // verb that succeeded but whose trace could not be written exits with
    // kBadInput, after saying why; any other status stays.
    int run(const QString &verb, const z5::TrafficLog &log, const std::function<int()> &useLine) const;

private:
    QString path_;
};

} // namespace z5ctl
