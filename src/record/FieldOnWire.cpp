#include "record/FieldOnWire.h"
#include "download/NameTables.h"
#include "download/ParameterTables.h"
#include "link/ValueCodec.h"
#include "link/WireSizes.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include <array>

namespace z5 {
namespace {

constexpr int kTextWidth = wire::kTextFieldLength;
constexpr int kJournalTextWidth = wire::kJournalNameLength;
constexpr int kFirstJournalDelay = 10;
constexpr int kLastJournalDelay = 41;

struct NumberSection {
    int offset = -1;
    int instances = 0;
    int rows = 0;
};

// The start of each block type's values in the parameter table, by type code.
const std::array<NumberSection, BlockCatalogue::kTypeCount + 1> &numberSections() {
    static const auto sections = [] {
        std::array<NumberSection, BlockCatalogue::kTypeCount + 1> s{};
        int offset = 0;
        for (const auto &section : ParameterTables::parameterLayout()) {
            s[section.type] = {offset, section.instances, section.rows};
            offset += section.instances * section.rows * 4;
        }
        return s;
    }();
    return sections;
}

std::optional<WireSpot> grid(int table, int slot, int row, int slotCount, int rows, int width) {
    if (slot < 0 || slot >= slotCount || row < 0 || row >= rows) return std::nullopt;
    return WireSpot{table, (slot * rows + row) * width, width};
}

QByteArray encoded(float value) {
    const auto bytes = ValueCodec::encodeValue(value);
    if (!bytes) return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(bytes->data()), static_cast<int>(bytes->size()));
}

} // namespace

std::optional<WireSpot> FieldOnWire::spotOf(const StorePlace &place) {
    switch (place.table) {
    case StoreTable::Numbers: {
        if (place.type < 0 || place.type > BlockCatalogue::kTypeCount) return std::nullopt;
        const NumberSection &s = numberSections()[place.type];
        if (s.offset < 0 || s.instances == 0) return std::nullopt;
        auto spot = grid(tableNumber(Table::Parameters), place.slot, place.row, s.instances, s.rows, 4);
        if (spot) spot->offset += s.offset;
        return spot;
    }
    case StoreTable::SetpointNames: return grid(tableNumber(Table::SetpointNames), place.slot, place.row, 12, 9, kTextWidth);
    case StoreTable::PanelTexts: return grid(tableNumber(Table::PanelTexts), place.slot, place.row, 8, 5, kTextWidth);
    case StoreTable::TrendTexts: return grid(tableNumber(Table::TrendNames), place.slot, place.row, 1, 34, kTextWidth);
    case StoreTable::JournalTexts:
        return grid(tableNumber(Table::JournalNames), place.slot, place.row, 1, 33, kJournalTextWidth);
    case StoreTable::JournalDelays:
        if (place.slot != 0 || place.row < kFirstJournalDelay || place.row > kLastJournalDelay) return std::nullopt;
        return WireSpot{tableNumber(Table::JournalBytes), place.row - kFirstJournalDelay, 1};
    }
    return std::nullopt;
}

int FieldOnWire::tableLength(int table) {
    switch (Table(table)) {
    case Table::SetpointNames: return NameTables::kSetpointNamesBytes;
    case Table::PanelTexts: return NameTables::kPanelTextsBytes;
    case Table::TrendNames: return NameTables::kTrendNamesBytes;
    case Table::JournalNames: return NameTables::kJournalNamesBytes;
    case Table::JournalBytes: return NameTables::kJournalBytesBytes;
    case Table::Parameters: return ParameterTables::kParameterBytes;
    default: return -1;
    }
}

QByteArray FieldOnWire::bytesNow(const ParameterStore &store, const StorePlace &place) {
    switch (place.table) {
    case StoreTable::Numbers:
        // The download always sends the same values for RS4, whatever is stored.
        if (place.type == BlockType::RS4 && place.slot == 0 && place.row >= 0 &&
            place.row < static_cast<int>(ParameterTables::kRs4Values.size()))
            return encoded(ParameterTables::kRs4Values[static_cast<std::size_t>(place.row)]);
        return encoded(store.number(place));
    case StoreTable::JournalDelays: return QByteArray(1, static_cast<char>(store.byte(place)));
    case StoreTable::JournalTexts: return NameTables::fixedField(store.text(place), kJournalTextWidth);
    default: return NameTables::fixedField(store.text(place), kTextWidth);
    }
}

bool FieldOnWire::layoutMatches(int table, const QByteArray &block) {
    const int length = tableLength(table);
    return length >= 0 && (block.size() == length || block.size() == length + wire::kCheckValueLength);
}

QByteArray FieldOnWire::bytesIn(const QByteArray &block, const WireSpot &spot) {
    if (!layoutMatches(spot.table, block) || spot.offset + spot.width > tableLength(spot.table)) return QByteArray();
    return block.mid(spot.offset, spot.width);
}

} // namespace z5
