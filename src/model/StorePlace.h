#pragma once
#include <cstdint>

namespace z5 {

// The tables of the parameter store: the per-type number tables
// and the text and byte tables of the setpoint programmers, panels, trend and journal.
enum class StoreTable : std::uint8_t { Numbers, SetpointNames, PanelTexts, TrendTexts, JournalTexts, JournalDelays };

// One element of the parameter store. For `Numbers` the type code picks the table.
// slot is the instance slot (the column for the trend recorder's table, 0 for one-index tables);
// row is the row (the element for one-index tables).
struct StorePlace {
    StoreTable table = StoreTable::Numbers;
    int type = 0;
    int slot = 0;
    int row = 0;

    bool operator==(const StorePlace &o) const {
        return table == o.table && type == o.type && slot == o.slot && row == o.row;
    }
    bool operator!=(const StorePlace &o) const { return !(*this == o); }
};

} // namespace z5
