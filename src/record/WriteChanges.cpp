#include "record/WriteChanges.h"
#include "link/WireSizes.h"
#include "model/Project.h"
#include "record/FieldOnWire.h"

namespace z5 {
namespace {

constexpr int kBlockTable = tableNumber(Table::Blocks);
constexpr int kSetpointTable = tableNumber(Table::Setpoints);

constexpr int kScreenKeys = -1000;   // the screen's pieces are held apart from the tables

// A table whose changes are told field by field.
bool carriesFields(const RecordedWrite &entry, int tag) {
    return entry.kind != RecordedWrite::Kind::Screen && (FieldOnWire::tableLength(tag) >= 0 || tag == kSetpointTable);
}

int keyOf(const RecordedWrite &entry, int tag) {
    return entry.kind == RecordedWrite::Kind::Screen ? kScreenKeys - tag : tag;
}

QString tableWords(int tag, RecordedWrite::Kind kind) {
    if (kind == RecordedWrite::Kind::Screen) return QStringLiteral("экран оператора");
    switch (tag) {
    case 0: return QStringLiteral("схема: блоки");
    case 1: return QStringLiteral("схема: связи блоков");
    case 2: return QStringLiteral("схема: входы трендов");
    case 3: return QStringLiteral("схема: входы журнала");
    case 4: return QStringLiteral("схема: входы экрана");
    case 11: return QStringLiteral("тексты сигнализаций");
    default: return QStringLiteral("таблица %1").arg(tag);
    }
}

// The blocks of a recorded block table ("0", then the schema row by row).
Project layoutOf(const QByteArray &blockTable) {
    Project project;
    constexpr int kRows = Project::InstanceRow + 1;
    if (blockTable.size() < 1 + kRows * Project::kColumns) return project;
    for (int row = 0; row < kRows; ++row)
        for (int c = 0; c < Project::kColumns; ++c)
            project.setSchema(row, c, static_cast<std::uint8_t>(blockTable[1 + row * Project::kColumns + c]));
    return project;
}

} // namespace

QStringList WriteChange::lines() const {
    if (first) return {QStringLiteral("первая запись")};
    QStringList out = tables;
    for (const FieldDifference &d : fields) out << differenceLine(d);
    if (out.isEmpty()) out << QStringLiteral("без изменений");
    return out;
}

WriteChange WriteChanges::next(const RecordedWrite &entry) {
    Held &held = held_[{entry.station, entry.netlistHash}];
    const QByteArray blockTable =
        entry.kind == RecordedWrite::Kind::Screen ? QByteArray() : entry.dataOf(kBlockTable);
    const Project layout = layoutOf(blockTable.isEmpty() ? held.blockTable : blockTable);
    const WrittenParameters sent = WrittenParameters::sentBy(entry, layout);

    WriteChange change;
    bool earlier = false;
    for (const RecordedWrite::Piece &p : entry.pieces) {
        if (p.what != RecordedWrite::Piece::What::Data) continue;
        if (carriesFields(entry, p.tag)) {
            earlier = earlier || (p.tag == kSetpointTable ? !held.parameters.isEmpty()
                                                          : held.parameters.tables.count(p.tag) > 0);
            continue;
        }
        const auto before = held.otherTables.find(keyOf(entry, p.tag));
        if (before == held.otherTables.end()) continue;
        earlier = true;
        if (before->second != p.bytes) change.tables << tableWords(p.tag, entry.kind);
    }
    change.first = !earlier;
    if (earlier) change.fields = writtenDifferences(layout, held.parameters, sent);
    // A setpoint write of a block the layout does not know is told as a whole.
    if (earlier && entry.kind == RecordedWrite::Kind::Setpoints && sent.isEmpty() &&
        !entry.dataOf(kSetpointTable).isEmpty())
        change.tables << QStringLiteral("задатчик: блок неизвестен");

    if (entry.state != RecordedWrite::State::Finished) return change;
    held.parameters.apply(entry, layout);
    for (const RecordedWrite::Piece &p : entry.pieces)
        if (p.what == RecordedWrite::Piece::What::Data && !carriesFields(entry, p.tag))
            held.otherTables[keyOf(entry, p.tag)] = p.bytes;
    if (!blockTable.isEmpty()) held.blockTable = blockTable;
    return change;
}

} // namespace z5
