#include "app/FieldSearch.h"
#include "app/RecordComparison.h"
#include "app/Session.h"
#include "console/NumberText.h"
#include "model/BlockCatalogue.h"
#include <set>

namespace z5 {
namespace {

// The row's value for the first channel, step... as the panel shows it.
QString shownValue(const ParameterStore &store, int type, int slot, int row) {
    const ParameterCatalogue &catalogue = ParameterCatalogue::standard();
    const auto place = catalogue.fieldAddress(type, slot, row, Selectors{});
    if (!place) return QString();
    if (store.isText(*place)) return store.text(*place);
    if (store.isByte(*place)) return NumberText().formatByte(store.byte(*place));
    const float value = store.number(*place);
    if (catalogue.kind(type, row) == FieldKind::Choice) {
        const RowLayout layout = catalogue.rowLayout(type, row);
        const auto code = NumberText::choiceCode(value, layout.maxCode);
        if (code && *code < layout.items.size()) return layout.items[*code].trimmed();
    }
    return NumberText().format(value);
}

} // namespace

std::vector<FoundField> findFields(const Session &session, const RecordComparison &record, const QString &text,
                                   bool onlyChanged) {
    std::vector<FoundField> found;
    const QString wanted = text.trimmed();
    if (wanted.isEmpty() && !onlyChanged) return found;
    std::set<std::pair<int, int>> changed;
    if (onlyChanged)
        for (const FieldDifference &d : record.differences())
            if (!d.wholeTable()) changed.insert({d.column, d.row});
    const ParameterCatalogue &catalogue = ParameterCatalogue::standard();
    const auto matches = [&wanted](const QString &s) { return s.contains(wanted, Qt::CaseInsensitive); };
    for (int column = 0; column < Project::kColumns; ++column) {
        const int type = session.project.blockType(column);
        const int instance = session.project.instance(column);
        if (!BlockCatalogue::isBlockType(type) || instance < 1) continue;
        const QString block = QStringLiteral("%1 %2").arg(BlockCatalogue::mnemonic(type).trimmed()).arg(instance);
        const bool blockMatches = matches(block);
        bool rowFound = false;
        for (int row = 0; row < ParameterCatalogue::kRows; ++row) {
            const RowRole role = catalogue.role(type, row);
            if (role != RowRole::Value && role != RowRole::Selects) continue;
            if (onlyChanged && !changed.count({column, row})) continue;
            const QString caption = catalogue.label(type, row).trimmed();
            const QString value = shownValue(session.store, type, instance - 1, row);
            if (!blockMatches && !matches(caption) && !matches(value)) continue;
            found.push_back({column, type, row, QStringLiteral("%1 · %2 = %3").arg(block, caption, value)});
            rowFound = true;
        }
        if (blockMatches && !rowFound && !onlyChanged) found.push_back({column, type, -1, block});
    }
    return found;
}

} // namespace z5
