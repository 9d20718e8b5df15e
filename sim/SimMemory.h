#pragma once
#include <QByteArray>
#include <array>
#include <map>
#include <optional>

namespace z5sim {

// What the controller keeps of the tables and the screen written to it.
class SimMemory {
public:
    static constexpr int kTables = 13;
    static constexpr int kBlocks = 100;
    static constexpr int kSetpoints = 8;
    static constexpr int kScreenLength = 28809;
    static constexpr int kParameterValues = 4206;

    // Data count of each table as it arrives (tables 0 and 1 add their leading "0").
    static int arrivingLength(int table);
    // Stores a table's data (without the leading "0"). blockByte is byte 6 of
    // the header, which names the block for the setpoint table.
    void storeTable(int table, const QByteArray &data, int blockByte);
    void storeScreen(const QByteArray &screen) { screen_ = screen; }

    const QByteArray &table(int table) const;
    int tableWrites(int table) const;
    const QByteArray &screen() const { return screen_; }

    // From the block table: type code and instance number of a block column; 0 when unknown.
    int blockType(int column) const;
    int instance(int column) const;
    // From the parameter table: value `row` of instance slot `slot` of a type; 0 when not written.
    double parameter(int type, int slot, int row) const;
    // The setpoints written for this block column, if any since the last parameter table.
    std::optional<std::array<double, kSetpoints>> setpoints(int column) const;

private:
    std::array<QByteArray, kTables> tables_;
    std::array<int, kTables> writes_{};
    std::map<int, std::array<double, kSetpoints>> setpoints_;
    QByteArray screen_;
};

} // namespace z5sim
