#pragma once
#include "link/HeldLine.h"
#include "link/LineReply.h"
#include <QByteArray>
#include <QString>

namespace z5 {

class LineSession;

// A queued read that its driver paces itself (a trend page, part by part). It
// waits in the line owner's queue like any request; when its turn comes the
// line is held for it alone: the port is open, input already waiting has been
// discarded, and `started` tells the driver to send its first request. From
// then on the driver sends requests with send(), is told of every arrival and
// takes the bytes with takeInput(), and gives the line back with end(). A read
// cancelled or given up by the line owner ends without the driver's word: the
// driver listens to `finished`.
class PacedRead : public LineReply {
    Q_OBJECT
public:
    // `first` names the read (its first request); the driver sends it itself.
    explicit PacedRead(const Request &first, int watchdogMs) : LineReply(first, watchdogMs, Kind::PacedRead) {}

    // The line is held for this read now.
    bool isUnderWay() const { return line_ != nullptr; }
    // A request on the held line; false when it could not go out (or the read is not under way).
    bool send(const Request &request);
    // Every byte that arrived since the last call.
    QByteArray takeInput();
    // A note in the line's traffic log beside the bytes received (stray bytes).
    void noteInTraffic(const QString &text, const QByteArray &bytes);
    // Gives the line back, saying how the read ended. Nothing once it has ended.
    void end(LineOutcome outcome);

signals:
    // The line is held for the read: send the first request.
    void started();
    // Bytes arrived on the port (ports that cannot tell never emit it: poll takeInput()).
    void arrived();

private:
    friend class LineSession;
    HeldLine *line_ = nullptr;   // while under way
};

} // namespace z5
