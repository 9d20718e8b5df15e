#pragma once
#include <QByteArray>
#include <vector>

namespace z5sim {

class SimMemory;

// The program a controller offered inside the configurator comes with, so that
// a first look needs no download: the example boiler schematic
// (examples/boiler.net) with default parameters, as its tables go on the wire.
class SimExampleProgram {
public:
    struct Table {
        int table;          // 0..12
        int column;         // the setpoint programmer of table 12 (0-based), else -1
        QByteArray data;    // tables 0 and 1 with their leading "0"
    };

    // Every table, in table order; empty if the program is missing from the build.
    static std::vector<Table> tables();
    // Stores every table in `memory` as a download would leave it.
    static void loadInto(SimMemory &memory);
};

} // namespace z5sim
