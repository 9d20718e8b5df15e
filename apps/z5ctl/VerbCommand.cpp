// z5ctl command: sends a process command and prints the process state it reports.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "link/BlockReply.h"
#include "ReadSession.h"
#include "TraceFile.h"
#include <QMap>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("command"), why); }

int sendCommand(z5ctl::ReadSession &session, z5::Request::CommandCode code);

int runCommand(const QStringList &args) {
    static const QMap<QString, std::uint8_t> codes{
        {QStringLiteral("pause"), z5::Request::PauseProcess},
        {QStringLiteral("start"), z5::Request::StartProcess},
        {QStringLiteral("picture"), z5::Request::ProcessPicture},
        {QStringLiteral("store"), z5::Request::StoreSchema},
    };
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (a.positionals().isEmpty()) return usage(QStringLiteral("name one command: start, pause, picture or store"));
    if (!codes.contains(a.positionals().first()))
        return usage(QStringLiteral("'%1' is no command: start, pause, picture or store").arg(a.positionals().first()));
    if (const QString extra = a.surplus(1); !extra.isEmpty()) return usage(extra);
    z5ctl::ReadSession session(QStringLiteral("command"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);
    const auto code = static_cast<z5::Request::CommandCode>(codes.value(a.positionals().first()));
    return trace.run(QStringLiteral("command"), session.line.traffic(), [&] { return sendCommand(session, code); });
}

int sendCommand(z5ctl::ReadSession &session, z5::Request::CommandCode code) {
    if (!session.open()) return z5ctl::kPortFailure;
    if (!session.exchange(z5::Request::processCommand(code))) {
        z5ctl::err(QStringLiteral("z5ctl command: no valid reply from station %1 (%2)")
                       .arg(session.station()).arg(session.failure()));
        return session.portFailed() ? z5ctl::kPortFailure : z5ctl::kNoEnd;
    }
    z5ctl::out(z5::BlockReply::processRuns(session.reply()) ? QStringLiteral("process: running")
                                                             : QStringLiteral("process: stopped"));
    return 0;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("command"),
                                      {QStringLiteral("command --port DEV [--station N] start|pause|picture|store [--trace FILE]")},
                                      QStringLiteral("DEV: COM1..COM16, a device path, a by-id name or sim (the simulated\n"
                                                     "controller); N: station 1..8.\n"
                                                     "Prints the process state the reply reports."),
                                      QStringLiteral("command --port COM4 start"), runCommand});

} // namespace
