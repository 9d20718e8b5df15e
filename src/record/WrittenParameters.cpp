#include "record/WrittenParameters.h"
#include "link/WireSizes.h"
#include "model/BlockCatalogue.h"
#include "model/Project.h"
#include "record/RecordedWrite.h"

namespace z5 {
namespace {

constexpr int kParameterTable = tableNumber(Table::Parameters);
constexpr int kSetpointTable = tableNumber(Table::Setpoints);
constexpr int kColumnByte = 5;   // the block's column in the setpoint table's header

// The column a setpoint write named in its header, or -1.
int setpointColumn(const RecordedWrite &entry) {
    for (const RecordedWrite::Piece &p : entry.pieces)
        if (p.tag == kSetpointTable && p.what == RecordedWrite::Piece::What::Header && p.bytes.size() > kColumnByte)
            return static_cast<std::uint8_t>(p.bytes[kColumnByte]);
    return -1;
}

} // namespace

WrittenParameters WrittenParameters::fromHistory(const WriteHistory &history, int station,
                                                 const QByteArray &netlistHash, const Project &project) {
    WrittenParameters written;
    written.tables = history.lastWrittenData(station, netlistHash);
    if (written.tables.erase(kSetpointTable) == 0) return written;

    // Replay the finished writes of this netlist, oldest first.
    written.tables.clear();
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
    const QDateTime to = QDateTime::currentDateTimeUtc().addYears(100);
    for (const RecordedWrite &entry : history.entries(from, to, station))
        if (entry.state == RecordedWrite::State::Finished && entry.netlistHash == netlistHash)
            written.apply(entry, project);
    return written;
}

WrittenParameters WrittenParameters::sentBy(const RecordedWrite &entry, const Project &project) {
    WrittenParameters sent;
    sent.apply(entry, project);
    return sent;
}

void WrittenParameters::apply(const RecordedWrite &entry, const Project &project) {
    for (const RecordedWrite::Piece &p : entry.pieces) {
        if (p.what != RecordedWrite::Piece::What::Data || p.tag == kSetpointTable) continue;
        tables[p.tag] = p.bytes;
        // A parameter table holds every setpoint: earlier single writes are overwritten.
        if (p.tag == kParameterTable) setpointsBySlot.clear();
    }
    const QByteArray setpoints = entry.dataOf(kSetpointTable);
    const int column = setpointColumn(entry);
    if (setpoints.isEmpty() || column < 0 || column >= Project::kColumns) return;
    if (project.blockType(column) != BlockType::S_P || project.instance(column) < 1) return;
    setpointsBySlot[project.instance(column) - 1] = setpoints;
}

} // namespace z5
