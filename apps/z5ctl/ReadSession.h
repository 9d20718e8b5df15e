#pragma once
#include "CommandLine.h"
#include "link/Link.h"
#include "link/SystemSerialPort.h"
#include "app/Session.h"
#include "link/LineSession.h"
#include "link/Request.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include <QByteArray>

namespace z5ctl {

// One request and its block reply over a real port, for the verbs that read.
class ReadSession {
public:
    z5::QtClock clock;

private:
    // The device itself: only the line owner opens, reads, writes or closes it.
    z5::SystemSerialPort port_{clock};

public:
    explicit ReadSession(const QString &verb) : app(clock, port_, prompts), line(app.line), verb_(verb) {}

    // Takes --port and --station; returns what is wrong with them, or an empty text.
    QString configure(const Arguments &a);
    int station() const { return line.settings().station; }
    QString device() const { return device_; }
    // Opens the port; says why on standard error when it cannot, unless quietly.
    bool open(bool quietly = false);
    // Sends the request and awaits the reply; false when no valid reply came,
    // the reason is then in failure(). Closes the port.
    bool exchange(const z5::Request &request);
    const QByteArray &reply() const { return reply_; }
    QString failure() const { return failure_; }
    // The exchange failed because the port did, not for want of a reply.
    bool portFailed() const { return portFailed_; }

    z5::RecordingPrompts prompts;
    z5::Session app;
    z5::LineSession &line;

private:
    QString verb_;
    QString device_;
    QByteArray reply_;
    QString failure_;
    bool portFailed_ = false;
};

} // namespace z5ctl
