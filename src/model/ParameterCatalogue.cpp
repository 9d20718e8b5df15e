#include "model/ParameterCatalogue.h"
#include "model/ParameterCatalogueData.h"
#include "model/ParameterStore.h"

namespace z5 {
namespace {

using catalogue_data::CatalogueRow;

bool validType(int type) { return type >= 1 && type <= ParameterCatalogue::kTypes; }
bool validRow(int row) { return row >= 0 && row < ParameterCatalogue::kRows; }

const CatalogueRow &catalogueRowAt(int index) {
    std::size_t count = 0;
    return catalogue_data::rows(&count)[index];
}

} // namespace

int Selectors::get(Selector s) const {
    switch (s) {
    case Selector::None: return 0;
    case Selector::Channel: return channel;
    case Selector::Step: return step;
    case Selector::Event: return event;
    case Selector::Page: return page;
    case Selector::Key: return key;
    }
    return 0;
}

void Selectors::set(Selector s, int value) {
    switch (s) {
    case Selector::None: break;
    case Selector::Channel: channel = value; break;
    case Selector::Step: step = value; break;
    case Selector::Event: event = value; break;
    case Selector::Page: page = value; break;
    case Selector::Key: key = value; break;
    }
}

ParameterCatalogue::ParameterCatalogue() { build(); }

const ParameterCatalogue &ParameterCatalogue::standard() {
    static const ParameterCatalogue catalogue;
    return catalogue;
}

void ParameterCatalogue::build() {
    for (auto &t : rowNames) t.fill(QString());
    for (auto &t : rowKinds) t.fill(0);
    for (auto &t : numbersMAX) t.fill(0);
    for (auto &t : rowIndex_) t.fill(-1);
    std::size_t count = 0;
    const CatalogueRow *rows = catalogue_data::rows(&count);
    for (std::size_t i = 0; i < count; ++i) {
        const CatalogueRow &r = rows[i];
        if (!validType(r.type) || !validRow(r.row)) continue;
        rowNames[r.type - 1][r.row] = QString::fromUtf16(r.label);
        rowKinds[r.type][r.row] = static_cast<std::uint8_t>(r.kind);
        numbersMAX[r.type - 1][r.row] = static_cast<std::uint8_t>(r.maxCode);
        rowIndex_[r.type][r.row] = static_cast<std::int16_t>(i);
    }

    // Name i of a type is the 12 characters from 12 * i of its 96-character string.
    for (auto &t : inputPinNames) t.fill(QString());
    for (auto &t : outputPinNames) t.fill(QString());
    const catalogue_data::BlockSignalNames *names = catalogue_data::signalNames(&count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto &n = names[i];
        if (n.type < 1 || n.type > 33) continue;
        const QString in = QString::fromUtf16(n.inputs);
        const QString out = QString::fromUtf16(n.outputs);
        for (int pos = 0; pos < 8; ++pos) {
            inputPinNames[n.type - 1][pos] = in.mid(kPinNameLength * pos, kPinNameLength);
            outputPinNames[n.type - 1][pos] = out.mid(kPinNameLength * pos, kPinNameLength);
        }
    }
}

FieldKind ParameterCatalogue::kind(int type, int row) const {
    if (!validType(type) || !validRow(row)) return FieldKind::Hidden;
    return static_cast<FieldKind>(rowKinds[type][row]);
}

QString ParameterCatalogue::label(int type, int row) const {
    if (!validType(type) || !validRow(row)) return QString();
    return rowNames[type - 1][row];
}

int ParameterCatalogue::maxCode(int type, int row) const {
    if (!validType(type) || !validRow(row)) return 0;
    return numbersMAX[type - 1][row];
}

RowRole ParameterCatalogue::role(int type, int row) const {
    if (!validType(type) || !validRow(row) || rowIndex_[type][row] < 0) return RowRole::Hidden;
    return catalogueRowAt(rowIndex_[type][row]).role;
}

Selector ParameterCatalogue::selectorOf(int type, int row) const {
    if (!validType(type) || !validRow(row) || rowIndex_[type][row] < 0) return Selector::None;
    return catalogueRowAt(rowIndex_[type][row]).selects;
}

bool ParameterCatalogue::dependsOn(int type, int row, Selector selector) const {
    if (selector == Selector::None || role(type, row) != RowRole::Value) return false;
    const auto &p = catalogueRowAt(rowIndex_[type][row]).place;
    return (p.sel1 == selector && p.mul1 != 0) || (p.sel2 == selector && p.mul2 != 0);
}

int ParameterCatalogue::selectorRow(int type, Selector selector) const {
    if (selector == Selector::None) return -1;
    for (int row = 0; row < kRows; ++row)
        if (role(type, row) == RowRole::Selects && selectorOf(type, row) == selector) return row;
    return -1;
}

RowLayout ParameterCatalogue::rowLayout(int type, int row) const {
    RowLayout layout;
    if (!validType(type) || !validRow(row)) return layout;
    layout.kind = kind(type, row);
    layout.label = label(type, row);
    layout.maxCode = maxCode(type, row);
    layout.role = role(type, row);
    layout.selects = selectorOf(type, row);
    const ChoiceList list = rowIndex_[type][row] < 0 ? ChoiceList::None : catalogueRowAt(rowIndex_[type][row]).list;
    layout.items = ParameterChoiceLists::rowItems(list, layout.maxCode);
    return layout;
}

QString ParameterCatalogue::signalName(int type, int position, SignalSide side) const {
    if (type < 1 || type > 33 || position < 0 || position > 7) return QString();
    return side == SignalSide::Input ? inputPinNames[type - 1][position] : outputPinNames[type - 1][position];
}

std::optional<StorePlace> ParameterCatalogue::fieldAddress(int type, int slot, int row,
                                                           const Selectors &selectors) const {
    const RowRole r = role(type, row);
    if (r != RowRole::Value && r != RowRole::Selects) return std::nullopt;
    const auto &p = catalogueRowAt(rowIndex_[type][row]).place;
    if (p.slot == catalogue_data::kNoPlace) return std::nullopt;

    // A selector outside its own list would reach another row's elements.
    int index = p.base;
    for (const auto &[sel, mul] : {std::pair{p.sel1, p.mul1}, std::pair{p.sel2, p.mul2}}) {
        if (sel == Selector::None || mul == 0) continue;
        const int value = selectors.get(sel);
        const int selRow = selectorRow(type, sel);
        if (selRow < 0 || value < 0 || value > maxCode(type, selRow)) return std::nullopt;
        index += mul * value;
    }

    StorePlace place;
    place.table = p.table;
    place.type = p.table == StoreTable::Numbers ? type : 0;
    place.slot = p.slot == catalogue_data::kInstanceSlot ? slot : p.slot;
    place.row = index;
    const TableShape shape = ParameterStore::shapeOf(place.table, place.type);
    if (place.slot < 0 || place.slot >= shape.slotCount || place.row < 0 || place.row >= shape.rowCount)
        return std::nullopt;
    return place;
}

} // namespace z5
