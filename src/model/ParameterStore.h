#pragma once
#include "model/ParameterTable.h"
#include "model/StorePlace.h"
#include <QString>
#include <cstdint>

namespace z5 {

// Slots x rows of one store table as declared (one-index tables: 1 x elements).
struct TableShape {
    int slotCount = 0;
    int rowCount = 0;
};

// The parameter values of every block instance: one number table per block type,
// the text tables of setpoint programmers, panels, trend and journal, and the
// journal delay bytes. Everything starts at zero (texts empty). The per-type tables
// are declared one slot and one row larger than the download sends.
class ParameterStore {
public:
    using NumberTable = ParameterTable<float>;
    using TextTable = ParameterTable<QString>;
    using ByteTable = ParameterTable<std::uint8_t>;

    ParameterStore();

    // Declared shape of a table; {0, 0} for a type without a table (INV, codes outside 1..33).
    static TableShape shapeOf(StoreTable table, int type = 0);
    // `PARAMETR_<mnemonic>`; empty for a code without a table.
    static QString tableName(StoreTable table, int type = 0);

    // The number table of a block type, or nullptr (INV, codes outside 1..33).
    NumberTable *parametr(int type);
    const NumberTable *parametr(int type) const;

    // Checked access through a store place. Reads outside the tables give 0 / empty;
    // writes outside them, or of the wrong kind, are refused (false).
    bool contains(const StorePlace &place) const;
    bool isNumber(const StorePlace &place) const { return place.table == StoreTable::Parametr; }
    bool isText(const StorePlace &place) const;
    bool isByte(const StorePlace &place) const { return place.table == StoreTable::BYTE_JUR; }
    float number(const StorePlace &place) const;
    bool setNumber(const StorePlace &place, float value);
    QString text(const StorePlace &place) const;
    bool setText(const StorePlace &place, const QString &value);
    std::uint8_t byte(const StorePlace &place) const;
    bool setByte(const StorePlace &place, std::uint8_t value);

    void clear();
    bool operator==(const ParameterStore &other) const;
    bool operator!=(const ParameterStore &other) const { return !(*this == other); }

    NumberTable PARAMETR_A_I, PARAMETR_A_O, PARAMETR_D_I, PARAMETR_D_O, PARAMETR_RS4, PARAMETR_MUL,
        PARAMETR_SUM, PARAMETR_DIV, PARAMETR_SQR, PARAMETR_ABS, PARAMETR_AND, PARAMETR_OR_, PARAMETR_XOR,
        PARAMETR_TRI, PARAMETR_REG, PARAMETR_S_P, PARAMETR_PID, PARAMETR_MUX, PARAMETR_PRO, PARAMETR_PAN,
        PARAMETR_RTC, PARAMETR_MIN, PARAMETR_LIM, PARAMETR_CMP, PARAMETR_TIM, PARAMETR_COU, PARAMETR_OSC,
        PARAMETR_GRA, PARAMETR_JUR, PARAMETR_SCA, PARAMETR_LOG, PARAMETR_MOT, PARAMETR_UNI;
    // Setpoint programmer names: rows 0..7 setpoints 1..8, row 8 the block name.
    TextTable NAME_S_P;
    // Panel texts: row 0 the panel name, rows 1..4 the channel names.
    TextTable NAME_PAN;
    // Trend texts: element c+1 names channel c, element 33 is the trend title.
    TextTable NAME_GRA;
    // Journal texts: element e names event e.
    TextTable NAME_JUR;
    // Journal bytes: element 10+e is the delay of event e.
    ByteTable BYTE_JUR;

private:
    const TextTable *textTable(StoreTable table) const;
    TextTable *textTable(StoreTable table);
};

} // namespace z5
