#include "record/RecordDifferences.h"
#include "console/NumberText.h"
#include "link/ValueCodec.h"
#include "link/WireSizes.h"
#include "model/BlockCatalogue.h"
#include "model/Cp1251.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "record/FieldOnWire.h"
#include <algorithm>

namespace z5 {
namespace {

constexpr int kSetpointTable = tableNumber(Table::Setpoints);
constexpr int kValueBytes = 4;
constexpr std::array<Selector, 5> kSelectors = {Selector::Channel, Selector::Step, Selector::Event, Selector::Page,
                                                 Selector::Key};

QString trimmedRight(QString text) {
    while (!text.isEmpty() && text.back() == QLatin1Char(' ')) text.chop(1);
    return text;
}

// The value of a field as the console shows it, from its stored form.
QString shownNumber(float value, int type, int row, const ParameterCatalogue &catalogue) {
    const NumberText numbers;
    if (catalogue.kind(type, row) == FieldKind::Choice) {
        const RowLayout layout = catalogue.rowLayout(type, row);
        const auto code = NumberText::choiceCode(value, layout.maxCode);
        if (code && *code < layout.items.size()) return layout.items[*code].trimmed();
    }
    return numbers.format(value);
}

QString shownNow(const ParameterStore &store, const StorePlace &place, int type, int row,
                 const ParameterCatalogue &catalogue) {
    if (store.isByte(place)) return NumberText().formatByte(store.byte(place));
    if (store.isText(place)) return store.text(place);
    return shownNumber(store.number(place), type, row, catalogue);
}

// The caption of a row shown for some channel, step...: "Уставка (Шаг: 3)".
QString captionFor(int type, int row, const Selectors &selectors, const ParameterCatalogue &catalogue) {
    QString caption = catalogue.label(type, row).trimmed();
    QStringList choices;
    for (Selector s : kSelectors) {
        if (!catalogue.dependsOn(type, row, s)) continue;
        const RowLayout selectorRow = catalogue.rowLayout(type, catalogue.selectorRow(type, s));
        const int choice = selectors.get(s);
        const QString item = choice < selectorRow.items.size() ? selectorRow.items[choice].trimmed()
                                                               : QString::number(choice);
        choices << QStringLiteral("%1 %2").arg(selectorRow.label.trimmed(), item);
    }
    if (!choices.isEmpty()) caption += QStringLiteral(" (%1)").arg(choices.join(QStringLiteral(", ")));
    return caption;
}

// Every choice of the selectors a row moves with (one empty choice for a row that does not move).
std::vector<Selectors> selectorChoices(int type, int row, const ParameterCatalogue &catalogue) {
    std::vector<Selectors> choices{Selectors{}};
    for (Selector s : kSelectors) {
        if (!catalogue.dependsOn(type, row, s)) continue;
        const int count = catalogue.maxCode(type, catalogue.selectorRow(type, s)) + 1;
        std::vector<Selectors> wider;
        wider.reserve(choices.size() * static_cast<std::size_t>(count));
        for (const Selectors &base : choices)
            for (int c = 0; c < count; ++c) {
                Selectors next = base;
                next.set(s, c);
                wider.push_back(next);
            }
        choices.swap(wider);
    }
    return choices;
}

bool isParameterTable(int table) { return FieldOnWire::tableLength(table) >= 0 || table == kSetpointTable; }

QString tableName(int table) { return QStringLiteral("таблица %1").arg(table); }

// Tables the record holds that this project's fields cannot be compared with.
void tableDifferences(const WrittenParameters &written, std::vector<FieldDifference> *out) {
    for (const auto &[table, block] : written.tables) {
        FieldDifference d;
        d.block = tableName(table);
        d.table = table;
        if (table >= 0 && table < wire::kTableCount && !isParameterTable(table)) continue;  // the schema's own tables
        if (!isParameterTable(table)) {
            d.caption = QStringLiteral("нет в проекте");
            d.then = QStringLiteral("%1 байт").arg(block.size());
            d.now = QStringLiteral("—");
        } else if (table != kSetpointTable && !FieldOnWire::layoutMatches(table, block)) {
            d.caption = QStringLiteral("другой размер данных");
            d.then = QStringLiteral("%1 байт").arg(block.size());
            d.now = QStringLiteral("%1 байт").arg(FieldOnWire::tableLength(table));
        } else {
            continue;
        }
        out->push_back(d);
    }
}

} // namespace

QByteArray writtenBytes(const WrittenParameters &written, const StorePlace &place) {
    const auto spot = FieldOnWire::spotOf(place);
    if (!spot) return QByteArray();
    if (place.table == StoreTable::Numbers && place.type == BlockType::S_P) {
        const auto single = written.setpointsBySlot.find(place.slot);
        if (single != written.setpointsBySlot.end()) {
            const int offset = place.row * kValueBytes;
            if (offset + kValueBytes <= single->second.size()) return single->second.mid(offset, kValueBytes);
        }
    }
    const auto table = written.tables.find(spot->table);
    if (table == written.tables.end()) return QByteArray();
    return FieldOnWire::bytesIn(table->second, *spot);
}

bool differsFromWritten(const WrittenParameters &written, const ParameterStore &store, const StorePlace &place) {
    const QByteArray then = writtenBytes(written, place);
    return !then.isNull() && then != FieldOnWire::bytesNow(store, place);
}

QString shownValue(const QByteArray &bytes, const StorePlace &place, int type, int row,
                   const ParameterCatalogue &catalogue) {
    switch (place.table) {
    case StoreTable::Numbers:
        if (bytes.size() < kValueBytes) return QString();
        return shownNumber(static_cast<float>(ValueCodec::decodeValue(bytes.constData())), type, row, catalogue);
    case StoreTable::JournalDelays:
        return bytes.isEmpty() ? QString() : NumberText().formatByte(static_cast<std::uint8_t>(bytes[0]));
    default: return trimmedRight(cp1251::decode(bytes));
    }
}

std::vector<FieldDifference> recordDifferences(const Project &project, const ParameterStore &store,
                                               const std::map<int, QByteArray> &lastWritten) {
    WrittenParameters written;
    written.tables = lastWritten;
    return recordDifferences(project, store, written);
}

namespace {

// Every parameter field of the project's blocks, in column and row order,
// whose recorded bytes differ from `now`'s for it; fields `now` gives no bytes
// for (a null array) are left out. `shown` puts the value now into words.
template <class Now, class Shown>
void fieldDifferences(const Project &project, const WrittenParameters &written, Now now, Shown shown,
                      std::vector<FieldDifference> *out) {
    const ParameterCatalogue &catalogue = ParameterCatalogue::standard();
    std::vector<StorePlace> seen;
    for (int column = 0; column < Project::kColumns; ++column) {
        const int type = project.blockType(column);
        const int instance = project.instance(column);
        if (!BlockCatalogue::isBlockType(type) || instance < 1) continue;
        const QString block = QStringLiteral("%1 %2").arg(BlockCatalogue::mnemonic(type).trimmed()).arg(instance);
        seen.clear();
        for (int row = 0; row < ParameterCatalogue::kRows; ++row) {
            const RowRole role = catalogue.role(type, row);
            if (role != RowRole::Value && role != RowRole::Selects) continue;
            for (const Selectors &selectors : selectorChoices(type, row, catalogue)) {
                const auto place = catalogue.fieldAddress(type, instance - 1, row, selectors);
                if (!place || std::find(seen.begin(), seen.end(), *place) != seen.end()) continue;
                seen.push_back(*place);
                const QByteArray then = writtenBytes(written, *place);
                if (then.isNull()) continue;
                const QByteArray bytesNow = now(*place);
                if (bytesNow.isNull() || then == bytesNow) continue;
                FieldDifference d;
                d.block = block;
                d.column = column;
                d.row = row;
                d.caption = captionFor(type, row, selectors, catalogue);
                d.then = shownValue(then, *place, type, row, catalogue);
                d.now = shown(*place, bytesNow, type, row, catalogue);
                d.table = FieldOnWire::spotOf(*place)->table;
                d.place = place;
                out->push_back(d);
            }
        }
    }
}

} // namespace

std::vector<FieldDifference> recordDifferences(const Project &project, const ParameterStore &store,
                                               const WrittenParameters &written) {
    std::vector<FieldDifference> out;
    if (written.isEmpty()) return out;
    tableDifferences(written, &out);
    fieldDifferences(
        project, written,
        [&](const StorePlace &place) {
            // A value that does not fit the wire still differs from what was written.
            const QByteArray bytes = FieldOnWire::bytesNow(store, place);
            return bytes.isNull() ? QByteArray("") : bytes;
        },
        [&](const StorePlace &place, const QByteArray &, int type, int row, const ParameterCatalogue &catalogue) {
            return shownNow(store, place, type, row, catalogue);
        },
        &out);
    return out;
}

std::vector<FieldDifference> writtenDifferences(const Project &layout, const WrittenParameters &before,
                                                const WrittenParameters &after) {
    std::vector<FieldDifference> out;
    if (before.isEmpty() || after.isEmpty()) return out;
    fieldDifferences(
        layout, before, [&](const StorePlace &place) { return writtenBytes(after, place); },
        [](const StorePlace &place, const QByteArray &bytes, int type, int row, const ParameterCatalogue &catalogue) {
            return shownValue(bytes, place, type, row, catalogue);
        },
        &out);
    return out;
}

QString differenceLine(const FieldDifference &d) {
    if (d.wholeTable()) return QStringLiteral("%1: %2 (было %3, стало %4)").arg(d.block, d.caption, d.then, d.now);
    return QStringLiteral("%1, строка %2 «%3»: было %4, стало %5")
        .arg(d.block)
        .arg(d.row + 1)
        .arg(d.caption, d.then, d.now);
}

} // namespace z5
