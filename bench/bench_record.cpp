// The station record: how much a download adds to the file, what a step's
// commit costs while the write is paced, and how long the console waits for
// the data last written when it opens.
#include "SessionBench.h"
#include "model/BlockCatalogue.h"
#include "record/StationRecord.h"
#include "record/WrittenParameters.h"
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The example netlist in a session on the virtual clock, entered in a record of its own.
struct RecordedSession : z5::SessionBench {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("record.sqlite"));
    RecordedSession() {
        const z5::ImportResult imported =
            session.netlistImport.importFile(QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net"), z5::Numbering::Manual);
        session.project = imported.project;
        session.netlistName = imported.netlistName;
        session.netlistHash = imported.netlistHash;
        session.recorder.open(path);
    }
    void download() {
        session.chain.startDownload();
        clock.advance(7000);
    }
    qint64 fileBytes() const { return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size(); }
};

// Each iteration is one whole download on the virtual clock, its 26 steps entered.
void BM_RecordGrowthPerDownload(benchmark::State &state) {
    RecordedSession s;
    s.download();
    const qint64 before = s.fileBytes();
    for (auto _ : state) s.download();
    s.session.recorder.record()->checkpoint();
    state.counters["bytes_per_download"] = double(s.fileBytes() - before) / double(state.iterations());
    state.counters["bytes_sent_per_download"] = double(s.session.recorder.record()->summaries({}, {}).back().bytesSent);
}
BENCHMARK(BM_RecordGrowthPerDownload)->Iterations(100)->Unit(benchmark::kMillisecond);

// One data block the size of the parameter table, committed as the recorder does between two steps.
void BM_CommitOfAParameterTable(benchmark::State &state) {
    QTemporaryDir dir;
    auto record = z5::StationRecord::open(dir.filePath(QStringLiteral("r.sqlite")), z5::StationRecord::Use::Writing, nullptr);
    z5::RecordedWrite w;
    w.started = QDateTime::currentDateTimeUtc();
    const qint64 id = record->enterStarted(w);
    const QByteArray block(16824, 'p');
    int number = 0;
    for (auto _ : state) record->addSteps(id, number++, {{4300, z5::StationRecord::Step::What::Data, 10, block}});
}
BENCHMARK(BM_CommitOfAParameterTable)->Unit(benchmark::kMicrosecond);

// The data last written of the netlist to its station, in a record of 200 downloads.
void BM_LastWrittenData(benchmark::State &state) {
    RecordedSession s;
    for (int i = 0; i < 200; ++i) s.download();
    const z5::StationRecord &record = *s.session.recorder.record();
    std::size_t tables = 0;
    for (auto _ : state) tables = record.lastWrittenData(1, s.session.netlistHash).size();
    state.counters["tables"] = double(tables);
}
BENCHMARK(BM_LastWrittenData)->Unit(benchmark::kMillisecond);

// The same once a setpoint write followed: the console then reads every entry to
// learn whose setpoints went out after the last parameter table.
void BM_WrittenParametersAfterASetpointWrite(benchmark::State &state) {
    RecordedSession s;
    for (int i = 0; i < 200; ++i) s.download();
    int setpointColumn = -1;
    for (int c = 0; c < z5::Project::kColumns && setpointColumn < 0; ++c)
        if (s.session.project.blockType(c) == z5::BlockType::S_P) setpointColumn = c;
    s.session.setpointWrite.writeSetpoints(setpointColumn);
    s.clock.advance(1000);
    const z5::StationRecord &record = *s.session.recorder.record();
    std::size_t tables = 0;
    for (auto _ : state)
        tables = z5::WrittenParameters::fromHistory(record, 1, s.session.netlistHash, s.session.project).tables.size();
    state.counters["tables"] = double(tables);
}
BENCHMARK(BM_WrittenParametersAfterASetpointWrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
