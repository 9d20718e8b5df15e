#include "SimMemory.h"
#include "SimWire.h"

namespace z5sim {
namespace {

const int kDataCounts[SimMemory::kTables] = {500, 1600, 64, 68, 544, 1836, 680, 578, 660, 32, 16824, 320, 32};

struct StoreShape {
    int type;
    int instances;
    int rows;
};

// The parameter table walks the stores in this order, instance by instance.
const StoreShape kParameterOrder[] = {
    {1, 8, 44},  {2, 8, 8},   {3, 8, 24},  {4, 8, 16},  {5, 1, 4},   {6, 8, 8},    {7, 8, 14},
    {8, 8, 8},   {9, 8, 8},   {10, 8, 4},  {11, 8, 5},  {12, 8, 5},  {13, 8, 4},   {14, 8, 4},
    {15, 8, 3},  {16, 12, 8}, {17, 8, 19}, {18, 8, 9},  {19, 8, 136}, {20, 8, 14}, {21, 8, 8},
    {22, 8, 11}, {23, 8, 5},  {24, 8, 6},  {25, 8, 13}, {26, 8, 8},  {27, 8, 29},  {28, 7, 33},
    {29, 1, 51}, {30, 1, 200}, {31, 8, 15}, {32, 8, 8},  {33, 8, 17},
};

// Index of the first value of a type's store in the parameter table, or -1.
int firstValueOf(int type, int &instances, int &rows) {
    int index = 0;
    for (const StoreShape &s : kParameterOrder) {
        if (s.type == type) {
            instances = s.instances;
            rows = s.rows;
            return index;
        }
        index += s.instances * s.rows;
    }
    return -1;
}

} // namespace

int SimMemory::arrivingLength(int table) {
    if (table < 0 || table >= kTables) return -1;
    return kDataCounts[table] + (table <= 1 ? 1 : 0);
}

void SimMemory::storeTable(int table, const QByteArray &data, int blockByte) {
    if (table < 0 || table >= kTables) return;
    tables_[table] = data;
    ++writes_[table];
    if (table == 10) setpoints_.clear();
    if (table == 12) {
        std::array<double, kSetpoints> values{};
        for (int k = 0; k < kSetpoints; ++k) values[k] = SimWire::signMagnitudeAt(data, 4 * k);
        setpoints_[blockByte] = values;
    }
}

const QByteArray &SimMemory::table(int table) const {
    static const QByteArray none;
    return table >= 0 && table < kTables ? tables_[table] : none;
}

int SimMemory::tableWrites(int table) const { return table >= 0 && table < kTables ? writes_[table] : 0; }

int SimMemory::blockType(int column) const {
    const QByteArray &t = tables_[0];
    return column >= 0 && column < kBlocks && column < t.size() ? static_cast<std::uint8_t>(t[column]) : 0;
}

int SimMemory::instance(int column) const {
    const QByteArray &t = tables_[0];
    const int at = kBlocks + column;
    return column >= 0 && column < kBlocks && at < t.size() ? static_cast<std::uint8_t>(t[at]) : 0;
}

double SimMemory::parameter(int type, int slot, int row) const {
    int instances = 0, rows = 0;
    const int first = firstValueOf(type, instances, rows);
    if (first < 0 || slot < 0 || slot >= instances || row < 0 || row >= rows) return 0.0;
    return SimWire::signMagnitudeAt(tables_[10], 4 * (first + slot * rows + row));
}

std::optional<std::array<double, SimMemory::kSetpoints>> SimMemory::setpoints(int column) const {
    const auto it = setpoints_.find(column);
    if (it == setpoints_.end()) return std::nullopt;
    return it->second;
}

} // namespace z5sim
