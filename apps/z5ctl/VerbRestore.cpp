// z5ctl restore: sends again exactly what an entry of the station record sent,
// every header and data block byte for byte at its offset, the port's closing
// and reopening included. The restore is itself entered in the record.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "RecordInput.h"
#include "TraceFile.h"
#include "WriteSession.h"
#include "app/ResendSequence.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("restore"), why); }

// Why an entry is not sent again without --even-unfinished; empty when it may be.
QString refusal(const z5::RecordedWrite &w) {
    switch (w.state) {
    case z5::RecordedWrite::State::Finished: return QString();
    case z5::RecordedWrite::State::Unfinished:
        return QStringLiteral("entry %1 is unfinished: the program that wrote it ended before the write did, so the "
                              "controller may hold less than the entry, and the entry less than the write meant to send")
            .arg(w.id);
    case z5::RecordedWrite::State::Failed: break;
    }
    return QStringLiteral("entry %1 failed (%2): the controller may not have taken what it holds").arg(w.id).arg(z5ctl::outcomeText(w));
}

int runRestore(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("even-unfinished")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    if (!a.has(QStringLiteral("entry"))) return usage(QStringLiteral("--entry is required"));
    bool ok = false;
    const qint64 id = a.value(QStringLiteral("entry")).toLongLong(&ok);
    if (!ok || id < 1) return usage(QStringLiteral("--entry is the id of a write, as z5ctl history lists it"));
    if (const QString problem = z5ctl::portProblem(a); !problem.isEmpty()) return usage(problem);
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);

    z5ctl::WriteSession session(QStringLiteral("restore"), a.value(QStringLiteral("port")));
    // The entry is read from the record the restore is entered in.
    if (!session.openRecord(a)) {
        z5ctl::err(QStringLiteral("z5ctl restore: %1").arg(session.recordProblem()));
        return z5ctl::kBadInput;
    }
    z5::Session &app = session.app;
    const std::optional<z5::RecordedWrite> entry = app.recorder.record()->entry(id);
    if (!entry) {
        z5ctl::err(QStringLiteral("z5ctl restore: the record holds no entry %1 (z5ctl history lists them)").arg(id));
        return z5ctl::kBadInput;
    }
    if (const QString why = refusal(*entry); !why.isEmpty()) {
        if (!a.has(QStringLiteral("even-unfinished"))) {
            z5ctl::err(QStringLiteral("z5ctl restore: %1; --even-unfinished sends it all the same").arg(why));
            return z5ctl::kBadInput;
        }
        z5ctl::err(QStringLiteral("z5ctl restore: %1; sent all the same").arg(why));
    }
    if (entry->pieces.empty()) {
        z5ctl::err(QStringLiteral("z5ctl restore: nothing of entry %1 went out").arg(id));
        return z5ctl::kBadInput;
    }
    // The frames carry their station; the new entry says the same.
    app.line.changeStation(entry->station);
    app.netlistName = entry->netlistName;
    app.netlistHash = entry->netlistHash;
    return trace.run(QStringLiteral("restore"), app.line.traffic(), [&] {
        return session.write([&] {
            z5::WriteStart start;
            start.reply = app.line.enqueue(z5::resendSequence(*entry));
            return start;
        });
    });
}

const z5ctl::VerbRegistrar registrar(
    {QStringLiteral("restore"),
     {QStringLiteral("restore --entry ID --port DEV [--even-unfinished] [--record FILE] [--trace FILE]")},
     QStringLiteral("Sends again exactly what the write ID of the station record sent (z5ctl history lists them):\n"
                    "every header and data block byte for byte at its offset, the port's closing and reopening\n"
                    "included, to the station it went to. An unfinished or failed write is sent only with\n"
                    "--even-unfinished. The restore is entered in the record as a write of its own."),
     QStringLiteral("restore --entry 1 --port COM4"), runRestore});

} // namespace
