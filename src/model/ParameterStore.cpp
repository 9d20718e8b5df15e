#include "model/ParameterStore.h"
#include "model/BlockCatalogue.h"
#include <array>

namespace z5 {
namespace {

using NumberTable = ParameterStore::NumberTable;

// Declared slots x rows of each type's number table, indexed by type code - 1 (codes 1..33).
// RS4, JUR and SCA are one-index tables (one slot); GRA is columns x rows.
constexpr std::array<TableShape, 33> kNumberTableShapes = {{
    {9, 45}, {9, 9},  {9, 25}, {9, 17},  {1, 5},  {9, 9},  {9, 15}, {9, 9},  {9, 9},  {9, 5},  {9, 6},
    {9, 6},  {9, 5},  {9, 5},  {9, 4},   {13, 9}, {9, 20}, {9, 10}, {9, 137}, {9, 15}, {9, 9}, {9, 12},
    {9, 6},  {9, 7},  {9, 14}, {9, 9},   {9, 30}, {8, 34}, {1, 52}, {1, 200}, {9, 16}, {9, 9}, {9, 18},
}};

// The same order as kNumberTableShapes.
constexpr std::array<NumberTable ParameterStore::*, 33> kNumberTableMembers = {
    &ParameterStore::numbersA_I, &ParameterStore::numbersA_O, &ParameterStore::numbersD_I,
    &ParameterStore::numbersD_O, &ParameterStore::numbersRS4, &ParameterStore::numbersMUL,
    &ParameterStore::numbersSUM, &ParameterStore::numbersDIV, &ParameterStore::numbersSQR,
    &ParameterStore::numbersABS, &ParameterStore::numbersAND, &ParameterStore::numbersOR_,
    &ParameterStore::numbersXOR, &ParameterStore::numbersTRI, &ParameterStore::numbersREG,
    &ParameterStore::numbersS_P, &ParameterStore::numbersPID, &ParameterStore::numbersMUX,
    &ParameterStore::numbersPRO, &ParameterStore::numbersPAN, &ParameterStore::numbersRTC,
    &ParameterStore::numbersMIN, &ParameterStore::numbersLIM, &ParameterStore::numbersCMP,
    &ParameterStore::numbersTIM, &ParameterStore::numbersCOU, &ParameterStore::numbersOSC,
    &ParameterStore::numbersGRA, &ParameterStore::numbersJUR, &ParameterStore::numbersSCA,
    &ParameterStore::numbersLOG, &ParameterStore::numbersMOT, &ParameterStore::numbersUNI,
};

bool hasNumberTable(int type) { return type >= 1 && type <= 33; }

template <typename Table>
Table makeTable(StoreTable table, int type) {
    const TableShape s = ParameterStore::shapeOf(table, type);
    return Table(ParameterStore::tableName(table, type), s.slotCount, s.rowCount);
}

} // namespace

ParameterStore::ParameterStore()
    : setpointNames(makeTable<TextTable>(StoreTable::SetpointNames, 0)),
      panelTexts(makeTable<TextTable>(StoreTable::PanelTexts, 0)),
      trendTexts(makeTable<TextTable>(StoreTable::TrendTexts, 0)),
      journalTexts(makeTable<TextTable>(StoreTable::JournalTexts, 0)),
      journalDelays(makeTable<ByteTable>(StoreTable::JournalDelays, 0)) {
    for (int type = 1; type <= 33; ++type)
        this->*kNumberTableMembers[type - 1] = makeTable<NumberTable>(StoreTable::Numbers, type);
}

TableShape ParameterStore::shapeOf(StoreTable table, int type) {
    switch (table) {
    case StoreTable::Numbers: return hasNumberTable(type) ? kNumberTableShapes[type - 1] : TableShape{};
    case StoreTable::SetpointNames: return {13, 10};
    case StoreTable::PanelTexts: return {9, 6};
    case StoreTable::TrendTexts: return {1, 35};
    case StoreTable::JournalTexts: return {1, 34};
    case StoreTable::JournalDelays: return {1, 43};
    }
    return {};
}

QString ParameterStore::tableName(StoreTable table, int type) {
    switch (table) {
    case StoreTable::Numbers:
        return hasNumberTable(type) ? QStringLiteral("PARAMETR_") + BlockCatalogue::mnemonic(type) : QString();
    case StoreTable::SetpointNames: return QStringLiteral("NAME_S_P");
    case StoreTable::PanelTexts: return QStringLiteral("NAME_PAN");
    case StoreTable::TrendTexts: return QStringLiteral("NAME_GRA");
    case StoreTable::JournalTexts: return QStringLiteral("NAME_JUR");
    case StoreTable::JournalDelays: return QStringLiteral("BYTE_JUR");
    }
    return QString();
}

ParameterStore::NumberTable *ParameterStore::numberTable(int type) {
    return hasNumberTable(type) ? &(this->*kNumberTableMembers[type - 1]) : nullptr;
}

const ParameterStore::NumberTable *ParameterStore::numberTable(int type) const {
    return hasNumberTable(type) ? &(this->*kNumberTableMembers[type - 1]) : nullptr;
}

const ParameterStore::TextTable *ParameterStore::textTable(StoreTable table) const {
    switch (table) {
    case StoreTable::SetpointNames: return &setpointNames;
    case StoreTable::PanelTexts: return &panelTexts;
    case StoreTable::TrendTexts: return &trendTexts;
    case StoreTable::JournalTexts: return &journalTexts;
    default: return nullptr;
    }
}

ParameterStore::TextTable *ParameterStore::textTable(StoreTable table) {
    return const_cast<TextTable *>(static_cast<const ParameterStore *>(this)->textTable(table));
}

bool ParameterStore::isText(const StorePlace &place) const { return textTable(place.table) != nullptr; }

bool ParameterStore::contains(const StorePlace &place) const {
    const TableShape s = shapeOf(place.table, place.type);
    return place.slot >= 0 && place.slot < s.slotCount && place.row >= 0 && place.row < s.rowCount;
}

float ParameterStore::number(const StorePlace &place) const {
    if (place.table != StoreTable::Numbers) return 0.0f;
    const NumberTable *t = numberTable(place.type);
    return t ? t->value(place.slot, place.row) : 0.0f;
}

bool ParameterStore::setNumber(const StorePlace &place, float value) {
    if (place.table != StoreTable::Numbers) return false;
    NumberTable *t = numberTable(place.type);
    return t && t->setValue(place.slot, place.row, value);
}

QString ParameterStore::text(const StorePlace &place) const {
    const TextTable *t = textTable(place.table);
    return t ? t->value(place.slot, place.row) : QString();
}

bool ParameterStore::setText(const StorePlace &place, const QString &value) {
    TextTable *t = textTable(place.table);
    return t && t->setValue(place.slot, place.row, value);
}

std::uint8_t ParameterStore::byte(const StorePlace &place) const {
    return place.table == StoreTable::JournalDelays ? journalDelays.value(place.slot, place.row) : 0;
}

bool ParameterStore::setByte(const StorePlace &place, std::uint8_t value) {
    return place.table == StoreTable::JournalDelays && journalDelays.setValue(place.slot, place.row, value);
}

void ParameterStore::clear() {
    for (auto member : kNumberTableMembers) (this->*member).clear();
    setpointNames.clear();
    panelTexts.clear();
    trendTexts.clear();
    journalTexts.clear();
    journalDelays.clear();
}

bool ParameterStore::operator==(const ParameterStore &other) const {
    for (auto member : kNumberTableMembers)
        if (this->*member != other.*member) return false;
    return setpointNames == other.setpointNames && panelTexts == other.panelTexts && trendTexts == other.trendTexts &&
           journalTexts == other.journalTexts && journalDelays == other.journalDelays;
}

} // namespace z5
