// z5ctl scan: asks each station on the line for a block's values and prints
// which stations answer.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ReadSession.h"
#include "StopSignals.h"
#include "TraceFile.h"
#include "link/PortSettings.h"
#include "link/StationScan.h"
#include <QEventLoop>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("scan"), why); }

QString stationsProblem() { return QStringLiteral("--stations is a list of stations 1..8 such as 1-8 or 1-3,5"); }

// "1-8", "3", "1-3,5": the stations in the order given, each once.
std::optional<std::vector<int>> stationList(const QString &text) {
    static const QRegularExpression item(QStringLiteral("^([0-9]{1,2})(?:-([0-9]{1,2}))?$"));
    std::vector<int> stations;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const auto m = item.match(part.trimmed());
        if (!m.hasMatch()) return std::nullopt;
        const int first = m.captured(1).toInt();
        const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
        if (first < z5::PortSettings::kFirstStation || last > z5::PortSettings::kLastStation || first > last)
            return std::nullopt;
        for (int s = first; s <= last; ++s)
            if (std::find(stations.begin(), stations.end(), s) == stations.end()) stations.push_back(s);
    }
    return stations;
}

int scan(z5ctl::ReadSession &session, const std::vector<int> &stations);

int runScan(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    z5ctl::ReadSession session(QStringLiteral("scan"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    const auto stations = stationList(a.value(QStringLiteral("stations"), QStringLiteral("1-8")));
    if (!stations) return usage(stationsProblem());
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);
    return trace.run(QStringLiteral("scan"), session.line.traffic(), [&] { return scan(session, *stations); });
}

int scan(z5ctl::ReadSession &session, const std::vector<int> &stations) {
    if (!session.open()) return z5ctl::kPortFailure;
    z5::StationScan search(session.clock, session.line);
    int answering = 0;
    z5ctl::out(QStringLiteral("station\tanswer"));
    QObject::connect(&search, &z5::StationScan::stationJudged, [&](const z5::StationScan::Result &r) {
        if (r.answer == z5::StationScan::Answer::Present) ++answering;
        z5ctl::out(QStringLiteral("%1\t%2").arg(r.station).arg(z5::StationScan::answerText(r.answer)));
    });
    QEventLoop loop;
    QObject::connect(&search, &z5::StationScan::finished, &loop, &QEventLoop::quit);
    search.start(stations);
    if (search.isRunning()) {
        z5ctl::StopSignals::quitOnStop(loop);
        loop.exec();
    }
    if (search.isRunning()) {
        // Stopped by a signal: the stations not asked yet are not printed.
        search.cancel();
        session.line.release();
        return z5ctl::kNoEnd;
    }
    session.line.release();
    switch (search.outcome()) {
    case z5::LineOutcome::Reply: break;
    case z5::LineOutcome::NoNetwork:
    case z5::LineOutcome::NotDrained:
        z5ctl::err(QStringLiteral("z5ctl scan: the port failed: %1").arg(search.failure()));
        return z5ctl::kPortFailure;
    default:
        z5ctl::err(QStringLiteral("z5ctl scan: the search did not end"));
        return z5ctl::kNoEnd;
    }
    if (answering == 0) {
        z5ctl::err(QStringLiteral("z5ctl scan: no station answers"));
        return z5ctl::kNoEnd;
    }
    return z5ctl::kDone;
}

const z5ctl::VerbRegistrar registrar({
    QStringLiteral("scan"),
    {QStringLiteral("scan --port DEV [--stations LIST] [--trace FILE]")},
    QStringLiteral("DEV: COM1..COM16, a device path, a by-id name or sim (the simulated\n"
                   "controller); LIST: stations 1..8 as ranges and numbers, 1-8 by default (1-3,5).\n"
                   "Each station is asked for the values of U1\n"
                   "(a read changes nothing) and given 200 ms to answer; one line a station says\n"
                   "\"отвечает\", \"нет ответа\", \"ответ искажён\" or \"конфликт: отвечают несколько\n"
                   "контроллеров\" (two controllers set to one number). Exit status 0 when a station\n"
                   "answers, 3 when none does."),
    QStringLiteral("scan --port COM4 --stations 1-3,5"), runScan});

} // namespace
