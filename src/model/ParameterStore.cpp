#include "model/ParameterStore.h"
#include "model/BlockCatalogue.h"
#include <array>

namespace z5 {
namespace {

using NumberTable = ParameterStore::NumberTable;

// Declared slots x rows of `PARAMETR_<mnemonic>`, indexed by type code - 1 (codes 1..33).
// RS4, JUR and SCA are one-index tables (one slot); GRA is columns x rows.
constexpr std::array<TableShape, 33> kParametrShapes = {{
    {9, 45}, {9, 9},  {9, 25}, {9, 17},  {1, 5},  {9, 9},  {9, 15}, {9, 9},  {9, 9},  {9, 5},  {9, 6},
    {9, 6},  {9, 5},  {9, 5},  {9, 4},   {13, 9}, {9, 20}, {9, 10}, {9, 137}, {9, 15}, {9, 9}, {9, 12},
    {9, 6},  {9, 7},  {9, 14}, {9, 9},   {9, 30}, {8, 34}, {1, 52}, {1, 200}, {9, 16}, {9, 9}, {9, 18},
}};

// The same order as kParametrShapes.
constexpr std::array<NumberTable ParameterStore::*, 33> kParametrMembers = {
    &ParameterStore::PARAMETR_A_I, &ParameterStore::PARAMETR_A_O, &ParameterStore::PARAMETR_D_I,
    &ParameterStore::PARAMETR_D_O, &ParameterStore::PARAMETR_RS4, &ParameterStore::PARAMETR_MUL,
    &ParameterStore::PARAMETR_SUM, &ParameterStore::PARAMETR_DIV, &ParameterStore::PARAMETR_SQR,
    &ParameterStore::PARAMETR_ABS, &ParameterStore::PARAMETR_AND, &ParameterStore::PARAMETR_OR_,
    &ParameterStore::PARAMETR_XOR, &ParameterStore::PARAMETR_TRI, &ParameterStore::PARAMETR_REG,
    &ParameterStore::PARAMETR_S_P, &ParameterStore::PARAMETR_PID, &ParameterStore::PARAMETR_MUX,
    &ParameterStore::PARAMETR_PRO, &ParameterStore::PARAMETR_PAN, &ParameterStore::PARAMETR_RTC,
    &ParameterStore::PARAMETR_MIN, &ParameterStore::PARAMETR_LIM, &ParameterStore::PARAMETR_CMP,
    &ParameterStore::PARAMETR_TIM, &ParameterStore::PARAMETR_COU, &ParameterStore::PARAMETR_OSC,
    &ParameterStore::PARAMETR_GRA, &ParameterStore::PARAMETR_JUR, &ParameterStore::PARAMETR_SCA,
    &ParameterStore::PARAMETR_LOG, &ParameterStore::PARAMETR_MOT, &ParameterStore::PARAMETR_UNI,
};

bool hasParametr(int type) { return type >= 1 && type <= 33; }

template <typename Table>
Table makeTable(StoreTable table, int type) {
    const TableShape s = ParameterStore::shapeOf(table, type);
    return Table(ParameterStore::tableName(table, type), s.slotCount, s.rowCount);
}

} // namespace

ParameterStore::ParameterStore()
    : NAME_S_P(makeTable<TextTable>(StoreTable::NAME_S_P, 0)),
      NAME_PAN(makeTable<TextTable>(StoreTable::NAME_PAN, 0)),
      NAME_GRA(makeTable<TextTable>(StoreTable::NAME_GRA, 0)),
      NAME_JUR(makeTable<TextTable>(StoreTable::NAME_JUR, 0)),
      BYTE_JUR(makeTable<ByteTable>(StoreTable::BYTE_JUR, 0)) {
    for (int type = 1; type <= 33; ++type)
        this->*kParametrMembers[type - 1] = makeTable<NumberTable>(StoreTable::Parametr, type);
}

TableShape ParameterStore::shapeOf(StoreTable table, int type) {
    switch (table) {
    case StoreTable::Parametr: return hasParametr(type) ? kParametrShapes[type - 1] : TableShape{};
    case StoreTable::NAME_S_P: return {13, 10};
    case StoreTable::NAME_PAN: return {9, 6};
    case StoreTable::NAME_GRA: return {1, 35};
    case StoreTable::NAME_JUR: return {1, 34};
    case StoreTable::BYTE_JUR: return {1, 43};
    }
    return {};
}

QString ParameterStore::tableName(StoreTable table, int type) {
    switch (table) {
    case StoreTable::Parametr:
        return hasParametr(type) ? QStringLiteral("PARAMETR_") + BlockCatalogue::mnemonic(type) : QString();
    case StoreTable::NAME_S_P: return QStringLiteral("NAME_S_P");
    case StoreTable::NAME_PAN: return QStringLiteral("NAME_PAN");
    case StoreTable::NAME_GRA: return QStringLiteral("NAME_GRA");
    case StoreTable::NAME_JUR: return QStringLiteral("NAME_JUR");
    case StoreTable::BYTE_JUR: return QStringLiteral("BYTE_JUR");
    }
    return QString();
}

ParameterStore::NumberTable *ParameterStore::parametr(int type) {
    return hasParametr(type) ? &(this->*kParametrMembers[type - 1]) : nullptr;
}

const ParameterStore::NumberTable *ParameterStore::parametr(int type) const {
    return hasParametr(type) ? &(this->*kParametrMembers[type - 1]) : nullptr;
}

const ParameterStore::TextTable *ParameterStore::textTable(StoreTable table) const {
    switch (table) {
    case StoreTable::NAME_S_P: return &NAME_S_P;
    case StoreTable::NAME_PAN: return &NAME_PAN;
    case StoreTable::NAME_GRA: return &NAME_GRA;
    case StoreTable::NAME_JUR: return &NAME_JUR;
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
    if (place.table != StoreTable::Parametr) return 0.0f;
    const NumberTable *t = parametr(place.type);
    return t ? t->value(place.slot, place.row) : 0.0f;
}

bool ParameterStore::setNumber(const StorePlace &place, float value) {
    if (place.table != StoreTable::Parametr) return false;
    NumberTable *t = parametr(place.type);
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
    return place.table == StoreTable::BYTE_JUR ? BYTE_JUR.value(place.slot, place.row) : 0;
}

bool ParameterStore::setByte(const StorePlace &place, std::uint8_t value) {
    return place.table == StoreTable::BYTE_JUR && BYTE_JUR.setValue(place.slot, place.row, value);
}

void ParameterStore::clear() {
    for (auto member : kParametrMembers) (this->*member).clear();
    NAME_S_P.clear();
    NAME_PAN.clear();
    NAME_GRA.clear();
    NAME_JUR.clear();
    BYTE_JUR.clear();
}

bool ParameterStore::operator==(const ParameterStore &other) const {
    for (auto member : kParametrMembers)
        if (this->*member != other.*member) return false;
    return NAME_S_P == other.NAME_S_P && NAME_PAN == other.NAME_PAN && NAME_GRA == other.NAME_GRA &&
           NAME_JUR == other.NAME_JUR && BYTE_JUR == other.BYTE_JUR;
}

} // namespace z5
