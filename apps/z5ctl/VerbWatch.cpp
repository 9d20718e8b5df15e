// z5ctl watch: reads one block again and again and prints a timestamped line
// per reply, under the pin names of the block's type.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ProjectInput.h"
#include "ReadSession.h"
#include "TraceFile.h"
#include "console/WatchColumns.h"
#include "link/BlockingExchange.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"
#include <QDateTime>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

namespace {

const QString kUsage = QStringLiteral(
    "watch --port DEV [--station N] --block UNN [--type MNE | NETLIST] [--every MS] [--count N] [--csv] [--trace FILE]   "
    "(UNN: U5, U05 or 5; the type names the columns; --every at least 50, 1000 by default; --count 0 runs until "
    "stopped)");

int usage(const QString &why) {
    z5ctl::err(QStringLiteral("z5ctl watch: %1").arg(why));
    z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
    return z5ctl::kUsageError;
}

// "U5", "U05" or "5" as the block number 1..100; 0 for anything else.
int blockNumber(const QString &text) {
    static const QRegularExpression form(QStringLiteral("^[Uu]?0*([0-9]{1,3})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) return 0;
    const int n = m.captured(1).toInt();
    return n >= 1 && n <= 100 ? n : 0;
}

QString lineOf(const QString &time, const QStringList &values, bool csv) {
    return (QStringList{time} + values).join(csv ? QLatin1Char(',') : QLatin1Char('\t'));
}

int watch(z5ctl::ReadSession &session, int block, int every, int count, bool csv, const z5::WatchColumns &columns);

int runWatch(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("csv")});
    if (!a.error().isEmpty()) return usage(a.error());
    z5ctl::ReadSession session(QStringLiteral("watch"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    const int block = blockNumber(a.value(QStringLiteral("block")));
    if (block == 0) return usage(QStringLiteral("--block is U1..U100"));
    bool ok = false;
    const int every = a.value(QStringLiteral("every"), QStringLiteral("1000")).toInt(&ok);
    if (!ok || every < 50) return usage(QStringLiteral("--every is at least 50 ms"));
    const int count = a.value(QStringLiteral("count"), QStringLiteral("0")).toInt(&ok);
    if (!ok || count < 0) return usage(QStringLiteral("--count is 0 or more"));
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);
    // The trace is written when the verb ends, and a watch without a count never does.
    if (trace.enabled() && count == 0) return usage(QStringLiteral("--trace needs a --count above 0"));

    int type = 0;
    if (a.has(QStringLiteral("type"))) {
        type = z5::BlockCatalogue::typeByMnemonic(a.value(QStringLiteral("type")));
        if (!z5::BlockCatalogue::isBlockType(type)) return usage(QStringLiteral("--type is a block mnemonic such as PID"));
    } else if (!a.positionals().isEmpty()) {
        z5ctl::ProjectInput input;
        if (const int code = input.read(a, session.prompts, usage)) return code;
        type = input.imported.project.blockType(block - 1);
        if (type == 0) {
            z5ctl::err(QStringLiteral("z5ctl watch: the netlist has no block U%1").arg(block));
            return z5ctl::kBadInput;
        }
    }
    const bool csv = a.has(QStringLiteral("csv"));
    const z5::WatchColumns columns(type, z5::ParameterCatalogue::standard());
    return trace.run(QStringLiteral("watch"), session.line.traffic(),
                     [&] { return watch(session, block, every, count, csv, columns); });
}

int watch(z5ctl::ReadSession &session, int block, int every, int count, bool csv, const z5::WatchColumns &columns) {
    if (!session.open()) return z5ctl::kPortFailure;
    z5ctl::out(lineOf(QStringLiteral("time"), columns.headers(), csv));

    z5::BlockingExchange exchange(session.line);
    int failures = 0;
    for (int n = 0; count == 0 || n < count; ++n) {
        QElapsedTimer started;
        started.start();
        // The console's block read: index 10, code 0, count 0, the block's column.
        const auto ending = exchange.run(z5::Request::blockRead(block - 1));
        const QString time = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
        if (ending == z5::LineSession::Outcome::Reply) {
            z5ctl::out(lineOf(time, columns.values(exchange.reply()), csv));
        } else {
            ++failures;
            z5ctl::err(QStringLiteral("z5ctl watch: %1 no valid reply from station %2 for U%3")
                           .arg(time).arg(session.station()).arg(block));
            if (!session.port.isOpen() && !session.open()) return z5ctl::kPortFailure;
        }
        const qint64 rest = every - started.elapsed();
        if (rest > 0 && (count == 0 || n + 1 < count)) QThread::msleep(static_cast<unsigned long>(rest));
    }
    session.port.close();
    return failures == 0 ? z5ctl::kDone : z5ctl::kNoEnd;
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("watch"), kUsage, runWatch);

} // namespace
