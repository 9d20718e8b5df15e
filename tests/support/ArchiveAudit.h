#pragma once
// What an archive read from z5-sim left in the record, held against the
// simulator's own archive, and what the simulators sent on the way. For the
// end-to-end tests and the benchmarks that define Z5CTL_PATH and Z5_SOURCE_DIR;
// the target links z5_record and z5_sim_logic.
#include "SimProcess.h"
#include "SimTrendArchive.h"
#include "record/ArchivePageStore.h"
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <map>
#include <memory>

namespace z5::testing {

// A controller plugged in at `link`: a fresh z5-sim given the example program
// before the link names it, as a controller keeps its program while its adapter
// is out. Null when the simulator or the download failed.
inline std::unique_ptr<SimProcess> plugInController(const QString &link, const QStringList &simArguments,
                                                    const QString &downloadRecord) {
    auto sim = std::make_unique<SimProcess>(simArguments);
    if (!sim->running()) return nullptr;
    QProcess download;
    download.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("download"), QStringLiteral("--port"), sim->device(),
                                                QStringLiteral("--record"), downloadRecord,
                                                QStringLiteral(Z5_SOURCE_DIR "/examples/boiler.net")});
    if (!download.waitForFinished(30000) || download.exitCode() != 0) return nullptr;
    QFile::remove(link);
    if (!QFile::link(sim->device(), link)) return nullptr;
    return sim;
}

// The trend parts the simulator has sent (whole or cut off by its end).
inline int trendPartsSent(const SimProcess &sim) {
    const std::vector<QJsonObject> events = sim.timeline();
    return int(std::count_if(events.begin(), events.end(), [](const QJsonObject &e) {
        return e[QStringLiteral("dir")] == QStringLiteral("out") && e[QStringLiteral("what")] == QStringLiteral("trend part");
    }));
}

struct ArchiveAudit {
    int stored = 0;         // pages of the range stored once, whole and as the simulator keeps them
    int twiceOrHalf = 0;    // every other page stored: a second copy, rows or samples missing or not as sent
};

// The page as z5-sim keeps it: its beginning, its rows and every sample of them.
// The page being recorded is compared as it was when it held the rows stored.
inline bool storedAsTheSimulatorKeepsIt(const ArchivedPage &stored) {
    const z5sim::SimTrendArchive sim;
    const int number = stored.page.pageNumber;
    const int rows = stored.page.rowCount;
    const bool recording = number == sim.recordingPage(0);
    if (stored.finished ? rows != z5sim::SimTrendArchive::kRows : !recording) return false;
    const std::int64_t nowMs =
        recording ? std::int64_t(std::max(0, rows - sim.rowsRecorded(0))) * z5sim::SimTrendArchive::kRowPeriodMs : 0;
    const QByteArray first = sim.part(stored.key.station, number, 0, nowMs);
    const auto at = [&](int i) { return int(quint8(first[i])); };
    const QDateTime begun(QDate(2000 + at(1050), at(1049), at(1048)), QTime(at(1046), at(1045), at(1044)), Qt::UTC);
    if (stored.key.start != begun) return false;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < z5sim::SimTrendArchive::kChannels; ++c) {
            const std::int32_t sent = sim.sample(number, r, c, nowMs);
            if (sent == z5sim::SimTrendArchive::kMissing || stored.page.sample(r, c) != float(double(sent) / 1000.0))
                return false;
        }
    return true;
}

// The pages of recorder `column` at station 1 in the record, pages first..last expected.
inline ArchiveAudit auditArchive(const QString &recordPath, int column, int first, int last) {
    ArchiveAudit audit;
    ArchivePageStore store;
    if (!store.open(recordPath)) return audit;
    std::map<int, int> copies;
    for (const ArchivedPage &a : store.pages(1, column)) {
        const int number = a.page.pageNumber;
        const bool whole = number >= first && number <= last && storedAsTheSimulatorKeepsIt(a);
        if (++copies[number] == 1 && whole)
            ++audit.stored;
        else
            ++audit.twiceOrHalf;
    }
    return audit;
}

} // namespace z5::testing
