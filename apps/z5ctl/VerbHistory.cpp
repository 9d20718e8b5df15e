// z5ctl history: lists the writes the station record holds, oldest first.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "RecordInput.h"
#include "link/PortSettings.h"
#include <QDateTime>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("history"), why); }

// "2026-12-08" (midnight, local time) or "2026-12-08T14:30[:00]" (local unless it names its offset).
QDateTime sinceOf(const QString &text) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid()) return day.startOfDay();
    return QDateTime::fromString(text, Qt::ISODate);
}

// The start in local time with its offset from UTC: "2026-12-08T14:30:05+03:00".
QString localTime(const QDateTime &utc) {
    return utc.toOffsetFromUtc(utc.toLocalTime().offsetFromUtc()).toString(Qt::ISODate);
}

int runHistory(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    int station = 0;
    if (a.has(QStringLiteral("station"))) {
        bool ok = false;
        station = a.value(QStringLiteral("station")).toInt(&ok);
        if (!ok || station < z5::PortSettings::kFirstStation || station > z5::PortSettings::kLastStation)
            return usage(QStringLiteral("--station is 1..8"));
    }
    QDateTime since;
    if (a.has(QStringLiteral("since"))) {
        since = sinceOf(a.value(QStringLiteral("since")));
        if (!since.isValid()) return usage(QStringLiteral("--since is a date (2026-12-08) or a time (2026-12-08T14:30)"));
    }
    const auto record = z5ctl::openRecordToRead(QStringLiteral("history"), a);
    if (!record) return z5ctl::kBadInput;
    const std::vector<z5::RecordedWrite> writes = record->summaries(since, QDateTime(), station);
    if (!record->lastError().isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl history: %1").arg(record->lastError()));
        return z5ctl::kBadInput;
    }
    z5ctl::out(QStringLiteral("id\ttime\tkind\tstation\tnetlist\tuser\toutcome\tsent/total"));
    for (const z5::RecordedWrite &w : writes) {
        // Joined, not formatted: a name or reason may hold a "%".
        const QString dash = QStringLiteral("-");
        z5ctl::out(QStringList{QString::number(w.id), localTime(w.started), z5ctl::kindText(w.kind),
                               QString::number(w.station), w.netlistName.isEmpty() ? dash : w.netlistName,
                               w.user.isEmpty() ? dash : w.user, z5ctl::outcomeText(w),
                               QStringLiteral("%1/%2").arg(w.bytesSent).arg(w.bytesTotal)}
                       .join(QLatin1Char('\t')));
    }
    return z5ctl::kDone;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("history"),
                                      {QStringLiteral("history [--station N] [--since DATE] [--record FILE]")},
                                      QStringLiteral("Lists the writes into the controllers that the station record holds, oldest first, one a line:\n"
                                                     "id, start (local time), kind, station, netlist, user, outcome, bytes sent of total.\n"
                                                     "DATE: 2026-12-08 (from midnight) or 2026-12-08T14:30. FILE: another record than the usual one."),
                                      QStringLiteral("history --station 1 --since 2026-12-01"), runHistory});

} // namespace
