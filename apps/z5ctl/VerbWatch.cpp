// z5ctl watch: reads one block again and again and prints a timestamped line
// per reply, under the pin names of the block's type.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ProjectInput.h"
#include "ReadSession.h"
#include "StopSignals.h"
#include "TraceFile.h"
#include "console/WatchColumns.h"
#include "link/BlockingExchange.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"
#include <QDateTime>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <limits>
#include <optional>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("watch"), why); }

constexpr qint64 kShortestEveryMs = 50;
constexpr qint64 kLongestEveryMs = 24 * 3600 * 1000;
constexpr qint64 kMostRows = 1000000000;

// A whole number as typed, however large (beyond any limit when it has too many
// digits to hold), or nothing when the text is no whole number.
std::optional<qint64> wholeNumber(const QString &text) {
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!digits.match(t).hasMatch()) return std::nullopt;
    bool ok = false;
    const qint64 n = t.toLongLong(&ok);
    if (ok) return n;
    return t.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

QString lineOf(const QString &time, const QStringList &values, bool csv) {
    return (QStringList{time} + values).join(csv ? QLatin1Char(',') : QLatin1Char('\t'));
}

struct WatchPlan {
    int block = 0;
    int every = 1000;
    int count = 0;
    bool csv = false;
    bool keepGoing = false;
};

int watch(z5ctl::ReadSession &session, const WatchPlan &plan, const z5::WatchColumns &columns);

QString reasonOf(z5::LineSession::Outcome outcome, const z5::LineSession &line) {
    using Outcome = z5::LineSession::Outcome;
    switch (outcome) {
    case Outcome::WrongCheckValue: return QStringLiteral("the reply's check value was wrong");
    case Outcome::NoReply: return QStringLiteral("no complete reply within 1000 ms");
    default: return QStringLiteral("the port failed: %1").arg(line.portErrorText());
    }
}

int runWatch(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("csv"), QStringLiteral("keep-going")});
    if (!a.error().isEmpty()) return usage(a.error());
    z5ctl::ReadSession session(QStringLiteral("watch"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    if (!a.has(QStringLiteral("block"))) return usage(QStringLiteral("--block is required"));
    const int block = z5ctl::blockColumn(a.value(QStringLiteral("block"))) + 1;
    if (block == 0) return usage(z5ctl::blockRangeProblem());
    // The columns are named by --type or by the netlist, not both.
    if (a.has(QStringLiteral("type")) && !a.positionals().isEmpty())
        return usage(QStringLiteral("--type or NETLIST, not both: unexpected '%1'").arg(a.positionals().first()));
    if (const QString extra = a.surplus(1); !extra.isEmpty()) return usage(extra);

    const std::optional<qint64> every = wholeNumber(a.value(QStringLiteral("every"), QStringLiteral("1000")));
    if (every && *every > kLongestEveryMs)
        return usage(QStringLiteral("--every is at most %1 ms (a day)").arg(kLongestEveryMs));
    if (!every || *every < kShortestEveryMs) return usage(QStringLiteral("--every is at least %1 ms").arg(kShortestEveryMs));
    const std::optional<qint64> count = wholeNumber(a.value(QStringLiteral("count"), QStringLiteral("0")));
    if (count && *count > kMostRows) return usage(QStringLiteral("--count is at most %1").arg(kMostRows));
    if (!count || *count < 0) return usage(QStringLiteral("--count is 0 or more"));
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);

    int type = 0;
    if (a.has(QStringLiteral("type"))) {
        type = z5::BlockCatalogue::typeByMnemonic(a.value(QStringLiteral("type")));
        if (!z5::BlockCatalogue::isBlockType(type))
            return usage(QStringLiteral("--type is a block mnemonic such as PID, not '%1'").arg(a.value(QStringLiteral("type"))));
    } else if (!a.positionals().isEmpty()) {
        z5ctl::ProjectInput input;
        if (const int code = input.read(a, session.prompts, usage)) return code;
        type = input.imported.project.blockType(block - 1);
        if (type == 0) {
            z5ctl::err(QStringLiteral("z5ctl watch: the netlist has no block U%1").arg(block));
            return z5ctl::kBadInput;
        }
    }
    WatchPlan plan;
    plan.block = block;
    plan.every = static_cast<int>(*every);
    plan.count = static_cast<int>(*count);
    plan.csv = a.has(QStringLiteral("csv"));
    plan.keepGoing = a.has(QStringLiteral("keep-going"));
    const z5::WatchColumns columns(type, z5::ParameterCatalogue::standard());
    return trace.run(QStringLiteral("watch"), session.line.traffic(),
                     [&] { return watch(session, plan, columns); });
}

void sayReopened(const z5ctl::ReadSession &session) {
    z5ctl::err(QStringLiteral("z5ctl watch: %1 reopened %2")
                   .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs), session.device()));
}

// Opens the port; with keepGoing waits one interval between tries (a vanished
// port comes back when its device does) and says when it is open again.
bool openPort(z5ctl::ReadSession &session, const WatchPlan &plan, bool again) {
    if (session.open()) return true;
    if (!plan.keepGoing) return false;
    do {
        if (!z5ctl::StopSignals::sleep(plan.every)) return false;
    } while (!session.open(true));
    if (again) sayReopened(session);
    return true;
}

// Waits while the line looks for an adapter that went away, until it has
// opened it again; false on a stop signal.
bool awaitAdapter(z5ctl::ReadSession &session) {
    QEventLoop loop;
    z5ctl::StopSignals::quitOnStop(loop);
    QObject::connect(&session.line, &z5::LineSession::adapterReturned, &loop, &QEventLoop::quit);
    if (session.line.awaitsAdapter()) loop.exec();
    if (!session.line.isPortOpen()) return false;
    sayReopened(session);
    return true;
}

int watch(z5ctl::ReadSession &session, const WatchPlan &plan, const z5::WatchColumns &columns) {
    if (!openPort(session, plan, false)) return z5ctl::kPortFailure;
    z5ctl::out(lineOf(QStringLiteral("time"), columns.headers(), plan.csv));

    z5::BlockingExchange exchange(session.line);
    int failures = 0;
    // A signal or a reader that went away ends the watch after the row in hand.
    for (int n = 0; (plan.count == 0 || n < plan.count) && !z5ctl::StopSignals::received() && !z5ctl::outputFailed();
         ++n) {
        QElapsedTimer started;
        started.start();
        // The console's block read: index 10, code 0, count 0, the block's column.
        const auto ending = exchange.run(z5::Request::blockRead(plan.block - 1));
        const QString time = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
        if (ending == z5::LineSession::Outcome::Reply) {
            z5ctl::out(lineOf(time, columns.values(exchange.reply()), plan.csv));
        } else {
            ++failures;
            z5ctl::err(QStringLiteral("z5ctl watch: %1 no valid reply from station %2 for U%3 (%4)")
                           .arg(time).arg(session.station()).arg(plan.block).arg(reasonOf(ending, session.line)));
            // An adapter that went away is looked for by the line itself; any other
            // failure is tried again one interval later.
            if (ending == z5::LineSession::Outcome::NoNetwork && plan.keepGoing && session.line.awaitsAdapter()) {
                if (!awaitAdapter(session)) return z5ctl::StopSignals::received() ? z5ctl::kNoEnd : z5ctl::kPortFailure;
                continue;
            }
            if (ending == z5::LineSession::Outcome::NoNetwork && plan.keepGoing) session.line.release();
            if (!session.line.isPortOpen() && !openPort(session, plan, true))
                return z5ctl::StopSignals::received() ? z5ctl::kNoEnd : z5ctl::kPortFailure;
        }
        const qint64 rest = plan.every - started.elapsed();
        if (rest > 0 && (plan.count == 0 || n + 1 < plan.count)) z5ctl::StopSignals::sleep(static_cast<int>(rest));
    }
    session.line.release();
    return failures == 0 ? z5ctl::kDone : z5ctl::kNoEnd;
}

const z5ctl::VerbRegistrar registrar({
    QStringLiteral("watch"),
    {QStringLiteral("watch --port DEV [--station N] --block UNN [--type MNE | NETLIST] [--every MS] [--count N] "
                    "[--csv] [--trace FILE] [--keep-going]")},
    QStringLiteral("UNN: U5, U05 or 5 (U1..U99). --type or the netlist's block names the columns.\n"
                   "--every 50 ms to a day (86400000), 1000 by default; --count up to 1000000000 rows,\n"
                   "0 (the default) runs until stopped:\n"
                   "Ctrl+C, SIGTERM or SIGHUP end it after the row in hand, with every row and the trace written.\n"
                   "--keep-going waits for a port that vanished and opens it again."),
    QStringLiteral("watch --port COM4 --block U4 --type PID --every 500 --count 10 --csv > u4.csv"),
    runWatch});

} // namespace
