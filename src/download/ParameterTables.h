#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

namespace z5 {

class ParameterStore;

// A stored value the wire form cannot carry (value x 1000 outside 32 bits), or a
// setpoint table asked for an instance slot the store does not have.
struct ParameterFault {
    enum class Kind { DoesNotFit, NoSuchInstance };
    Kind kind = Kind::DoesNotFit;
    int type = 0;   // block type code
    int slot = 0;   // instance slot (the column for GRA, 0 for one-index tables)
    int row = 0;    // row (the element for one-index tables)
    float value = 0.0f;
};

// A data block, or the faults that kept it from being built. Nothing is built
// when any value does not fit: sending the previous value's bytes in its place
// would tune a block with a number nobody entered.
struct ParameterTableBuild {
    QByteArray data;
    std::vector<ParameterFault> faults;
    bool ok() const { return faults.empty(); }
};

// Data blocks of the parameter table (10) and the setpoint table (12).
class ParameterTables {
public:
    static constexpr int kParameterValues = 4206;
    static constexpr int kParameterBytes = 16824;   // table 10
    static constexpr int kSetpointBytes = 32;       // table 12
    // What the controller always receives for RS4, whatever was edited.
    static constexpr std::array<float, 4> kRs4Values = {0.0f, 4.0f, 1.0f, 1.0f};

    // One store in the order of table 10: instances (the columns for GRA; 1 for a
    // one-index table) by rows (elements), instance-major.
    struct Section {
        int type;
        int instances;
        int rows;
    };
    // MUX follows PID, not the type-code order.
    static const std::array<Section, 33> &parameterLayout();

    // Every value table 10 would send that does not fit, in sending order.
    static std::vector<ParameterFault> checkParameters(const ParameterStore &store);
    // `Table::Parameters`: every store in the layout order, each value as four bytes.
    static ParameterTableBuild parameters(const ParameterStore &store);

    // Faults of the eight setpoints of instance slot 0..12 of the setpoint programmers' number table.
    static std::vector<ParameterFault> checkSetpoints(const ParameterStore &store, int slot);
    // `Table::Setpoints`: the eight setpoints of one setpoint programmer.
    static ParameterTableBuild setpoints(const ParameterStore &store, int slot);

    // "Ошибка параметра" and one line per fault naming block type, instance and row.
    static QString faultMessage(const std::vector<ParameterFault> &faults);
    static QString faultCaption();  // "Ошибка"
};

} // namespace z5
