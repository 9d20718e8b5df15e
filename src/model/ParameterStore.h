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
    NumberTable *numberTable(int type);
    const NumberTable *numberTable(int type) const;

    // Checked access through a store place. Reads outside the tables give 0 / empty;
    // writes outside them, or of the wrong kind, are refused (false).
    bool contains(const StorePlace &place) const;
    bool isNumber(const StorePlace &place) const { return place.table == StoreTable::Numbers; }
    bool isText(const StorePlace &place) const;
    bool isByte(const StorePlace &place) const { return place.table == StoreTable::JournalDelays; }
    float number(const StorePlace &place) const;
    bool setNumber(const StorePlace &place, float value);
    QString text(const StorePlace &place) const;
    bool setText(const StorePlace &place, const QString &value);
    std::uint8_t byte(const StorePlace &place) const;
    bool setByte(const StorePlace &place, std::uint8_t value);

    void clear();
    bool operator==(const ParameterStore &other) const;
    bool operator!=(const ParameterStore &other) const { return !(*this == other); }

    NumberTable numbersA_I, numbersA_O, numbersD_I, numbersD_O, numbersRS4, numbersMUL,
        numbersSUM, numbersDIV, numbersSQR, numbersABS, numbersAND, numbersOR_, numbersXOR,
        numbersTRI, numbersREG, numbersS_P, numbersPID, numbersMUX, numbersPRO, numbersPAN,
        numbersRTC, numbersMIN, numbersLIM, numbersCMP, numbersTIM, numbersCOU, numbersOSC,
        numbersGRA, numbersJUR, numbersSCA, numbersLOG, numbersMOT, numbersUNI;
    // Setpoint programmer names: rows 0..7 setpoints 1..8, row 8 the block name.
    TextTable setpointNames;
    // Panel texts: row 0 the panel name, rows 1..4 the channel names.
    TextTable panelTexts;
    // Trend texts: element c+1 names channel c, element 33 is the trend title.
    TextTable trendTexts;
    // Journal texts: element e names event e.
    TextTable journalTexts;
    // Journal bytes: element 10+e is the delay of event e.
    ByteTable journalDelays;

private:
    const TextTable *textTable(StoreTable table) const;
    TextTable *textTable(StoreTable table);
};

} // namespace z5
