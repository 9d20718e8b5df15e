// z5ctl read-block: reads one block's live values and prints its eight rows.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "link/BlockReply.h"
#include "ReadSession.h"
#include "TraceFile.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("read-block"), why); }

QString number(double v) { return QString::number(v, 'f', 3); }

int readBlock(z5ctl::ReadSession &session, int block);

int runReadBlock(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (!a.positionals().isEmpty()) return usage(QStringLiteral("unexpected '%1'").arg(a.positionals().first()));
    z5ctl::ReadSession session(QStringLiteral("read-block"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    if (!a.has(QStringLiteral("block"))) return usage(QStringLiteral("--block is required"));
    const int block = z5ctl::blockColumn(a.value(QStringLiteral("block"))) + 1;
    if (block == 0) return usage(z5ctl::blockRangeProblem());
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);
    return trace.run(QStringLiteral("read-block"), session.line.traffic(), [&] { return readBlock(session, block); });
}

int readBlock(z5ctl::ReadSession &session, int block) {
    if (!session.open()) return z5ctl::kPortFailure;
    // The console's block read: index 10, code 0, count 0, the block's column.
    if (!session.exchange(z5::Request::blockRead(block - 1))) {
        z5ctl::err(QStringLiteral("z5ctl read-block: no valid reply from station %1 for U%2 (%3)")
                       .arg(session.station()).arg(block).arg(session.failure()));
        return session.portFailed() ? z5ctl::kPortFailure : z5ctl::kNoEnd;
    }
    const int station = session.station();
    const QByteArray &r = session.reply();
    z5ctl::out(QStringLiteral("U%1 at station %2").arg(block).arg(station));
    z5ctl::out(QStringLiteral("row\tfirst\tsecond\tthird"));
    for (int k = 0; k < z5::BlockReply::kRows; ++k)
        z5ctl::out(QStringLiteral("%1\t%2\t%3\t%4")
                       .arg(k)
                       .arg(number(z5::BlockReply::first(r, k)), number(z5::BlockReply::second(r, k)),
                            number(z5::BlockReply::third(r, k))));
    return 0;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("read-block"),
                                      {QStringLiteral("read-block --port DEV [--station N] --block UNN [--trace FILE]")},
                                      QStringLiteral("DEV: COM1..COM16, a device path, a by-id name or sim (the simulated\n"
                                                     "controller); N: station 1..8; UNN: U3, U03 or 3 (U1..U99).\n"
                                                     "Prints the block's eight rows of values."),
                                      QStringLiteral("read-block --port COM4 --block U3"), runReadBlock});

} // namespace
