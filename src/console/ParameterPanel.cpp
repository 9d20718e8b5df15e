#include "console/ParameterPanel.h"
#include "console/ConsoleState.h"
#include "console/StoringOrder.h"
#include "link/ValueCodec.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"

namespace z5 {
namespace {

// Types whose row 1 picks a channel of the block's own instance.
bool isChannelType(int type) { return type >= BlockType::A_I && type <= BlockType::D_O; }

const PanelRow kNoRow;

QString notANumber() { return QStringLiteral("не число"); }
QString outOfRange() { return QStringLiteral("вне диапазона"); }
QString byteOutOfRange() { return QStringLiteral("вне диапазона 0..255"); }
QString retypeReason() { return QStringLiteral("не сохранено, введите значение снова"); }

} // namespace

ParameterPanel::ParameterPanel(ParameterStore &store, const Project &project, ConsoleState &state,
                               const ParameterCatalogue &catalogue, QLocale locale)
    : store_(store), project_(project), state_(state), catalogue_(catalogue), numbers_(std::move(locale)) {}

QString ParameterPanel::notSentReason() { return QStringLiteral("не передаётся в Z5"); }

const PanelRow &ParameterPanel::row(int r) const { return validRow(r) ? rows_[r] : kNoRow; }

void ParameterPanel::hideRows() {
    for (PanelRow &r : rows_) r.visible = false;
}

void ParameterPanel::layOutForSelectedBlock() {
    const int type = state_.selectedType;
    const int instance = project_.instance(state_.selectedColumn);
    // Kept across layouts: a channel picked for one input block stays picked.
    if (isChannelType(type_)) keptChannel_ = rows_[1].selected;

    const bool valid = BlockCatalogue::isBlockType(type) && instance >= 1;
    type_ = valid ? type : 0;
    slot_ = valid ? instance - 1 : 0;
    selectors_ = Selectors{};

    for (int r = 0; r < kRows; ++r) {
        const RowLayout layout = catalogue_.rowLayout(type_, r);
        PanelRow &row = rows_[r];
        row.kind = layout.kind;
        row.visible = layout.kind != FieldKind::Hidden;
        row.caption = layout.label;
        row.background = layout.kind == FieldKind::Text ? PanelRow::Background::Name : PanelRow::Background::White;
        row.rejected = false;
        row.notStoredReason.clear();
        row.waitsFor = -1;
        row.editing = false;
        // A field whose value goes nowhere is shown, locked, and says so.
        row.readOnlyReason = layout.role == RowRole::NotStored ? notSentReason() : QString();
        row.choiceEnabled = !row.readOnly();
        row.text.clear();
        // A row that is no choice here keeps its choice box as it was, hidden.
        if (layout.kind == FieldKind::Choice) {
            row.items = layout.items;
            row.selected = -1;
        }
    }
    if (!valid) return;

    state_.selectedInstance = static_cast<std::uint8_t>(slot_);
    if (isChannelType(type_)) {
        const int maxChannel = catalogue_.maxCode(type_, 1);
        const int channel = keptChannel_ >= 0 && keptChannel_ <= maxChannel ? keptChannel_ : 0;
        rows_[1].selected = channel;
        state_.selectedChannel = static_cast<std::uint8_t>(channel);
        if (catalogue_.selectorOf(type_, 1) == Selector::Channel) selectors_.channel = channel;
        if (slot_ < rows_[0].items.size()) rows_[0].selected = slot_;
        // The instance number is fixed by the schematic.
        rows_[0].choiceEnabled = catalogue_.role(type_, 0) != RowRole::Instance;
    } else {
        for (int r = 0; r < kRows; ++r) {
            if (catalogue_.role(type_, r) != RowRole::Selects) continue;
            const Selector which = catalogue_.selectorOf(type_, r);
            const int maxCode = catalogue_.maxCode(type_, r);
            int code = 0;
            if (const auto kept = catalogue_.fieldAddress(type_, slot_, r, selectors_)) {
                // The program step and the trend channel are kept in the store.
                code = NumberText::choiceCode(store_.number(*kept), maxCode).value_or(0);
            } else if (which == Selector::Page && state_.selectedScreenPage <= maxCode) {
                code = state_.selectedScreenPage;
            }
            selectors_.set(which, code);
            rows_[r].selected = code;
        }
    }
    for (int r = 0; r < kRows; ++r)
        if (rows_[r].visible && catalogue_.role(type_, r) == RowRole::Value) showRow(r);
}

void ParameterPanel::reload() {
    if (!isLaidOut()) return;
    for (int r = 0; r < kRows; ++r)
        if (catalogue_.role(type_, r) == RowRole::Value) showRow(r);
}

std::optional<StorePlace> ParameterPanel::placeOf(int row) const {
    return catalogue_.fieldAddress(type_, slot_, row, selectors_);
}

void ParameterPanel::showRow(int r) {
    PanelRow &row = rows_[r];
    row.rejected = false;
    row.notStoredReason.clear();
    row.waitsFor = -1;
    row.editing = false;
    const std::optional<StorePlace> place = placeOf(r);
    switch (row.kind) {
    case FieldKind::Hidden:
        return;
    case FieldKind::Choice:
        // A stored code outside the list (a hand-made parameter file) selects nothing.
        row.selected = place ? NumberText::choiceCode(store_.number(*place), catalogue_.maxCode(type_, r)).value_or(-1)
                             : -1;
        return;
    case FieldKind::Text:
        row.text = place ? store_.text(*place) : QString();
        return;
    case FieldKind::Number:
        if (!place)
            row.text.clear();
        else if (store_.isByte(*place))
            row.text = numbers_.formatByte(store_.byte(*place));
        else
            row.text = numbers_.format(store_.number(*place));
        return;
    }
}

void ParameterPanel::showDependents(Selector selector) {
    for (int r = 0; r < kRows; ++r)
        if (rows_[r].visible && catalogue_.dependsOn(type_, r, selector)) showRow(r);
}

void ParameterPanel::choose(int r, int code) {
    if (!isLaidOut() || !validRow(r)) return;
    PanelRow &row = rows_[r];
    if (!row.showsChoice() || code < 0 || code >= row.items.size()) return;
    switch (catalogue_.role(type_, r)) {
    case RowRole::Instance:
        // The instance number cannot be changed here: keep showing it, locked.
        row.selected = slot_ < row.items.size() ? slot_ : -1;
        row.choiceEnabled = false;
        return;
    case RowRole::Selects: {
        const Selector which = catalogue_.selectorOf(type_, r);
        selectors_.set(which, code);
        row.selected = code;
        if (type_ == BlockType::SCA && which == Selector::Page) state_.selectedScreenPage = static_cast<std::uint8_t>(code);
        // The program step and the trend channel are remembered in the block's store.
        if (const auto kept = placeOf(r)) store_.setNumber(*kept, static_cast<float>(code));
        // Every instance reloads here, an SCA block of instance 2 and up too: all of
        // them share one store, and skipping the reload left the old key's value shown.
        showDependents(which);
        return;
    }
    case RowRole::Value:
        row.selected = code;
        if (const auto place = placeOf(r)) store_.setNumber(*place, static_cast<float>(code));
        return;
    case RowRole::NotStored:
        // Locked: nothing would keep the choice, so none is shown as made.
        row.selected = -1;
        return;
    case RowRole::Hidden:
        row.selected = code;
        return;
    }
}

void ParameterPanel::keyPressed(int r) {
    if (validRow(r)) state_.textKeyPending = 1;
}

QString ParameterPanel::refusalOf(int r) const {
    const PanelRow &row = rows_[r];
    const std::optional<StorePlace> place = placeOf(r);
    if (!place || row.kind == FieldKind::Text) return QString();
    if (store_.isByte(*place)) {
        if (numbers_.parseByte(row.text)) return QString();
        return numbers_.isNumber(row.text) ? byteOutOfRange() : notANumber();
    }
    if (const auto v = numbers_.parseNumber(row.text)) {
        // A value the line cannot carry to the controller is refused here, as typed,
        // not later by the write.
        return ValueCodec::fits(*v) ? QString() : outOfRange();
    }
    return numbers_.isNumber(row.text) ? outOfRange() : notANumber();
}

QString ParameterPanel::storeText(int r) {
    const QString refused = refusalOf(r);
    if (!refused.isEmpty()) return refused;
    const PanelRow &row = rows_[r];
    const std::optional<StorePlace> place = placeOf(r);
    if (!place) return QString();
    bool stored = false;
    if (row.kind == FieldKind::Text)
        stored = store_.setText(*place, row.text);
    else if (store_.isByte(*place))
        stored = store_.setByte(*place, *numbers_.parseByte(row.text));
    else
        stored = store_.setNumber(*place, *numbers_.parseNumber(row.text));
    return stored ? QString() : QStringLiteral("не сохранено");
}

bool ParameterPanel::differsFromStore(int r) const {
    const PanelRow &row = rows_[r];
    const std::optional<StorePlace> place = placeOf(r);
    if (!place) return false;
    if (row.kind == FieldKind::Text) return row.text != store_.text(*place);
    // Either the text as shown or its value may match: a stored value shows with
    // seven digits, which need not read back exactly, and "3.0" is the 3 stored.
    if (store_.isByte(*place))
        return row.text != numbers_.formatByte(store_.byte(*place)) &&
               numbers_.parseByte(row.text) != std::optional<std::uint8_t>(store_.byte(*place));
    return row.text != numbers_.format(store_.number(*place)) &&
           numbers_.parseNumber(row.text) != std::optional<float>(store_.number(*place));
}

void ParameterPanel::flag(int r, const QString &reason, int waitsFor) {
    rows_[r].rejected = !reason.isEmpty();
    rows_[r].notStoredReason = reason;
    rows_[r].waitsFor = waitsFor;
}

void ParameterPanel::mended(int fixedRow) {
    // What was typed there is still not stored: the edit that was held up is
    // not repeated behind the user's back, so the field asks for it.
    for (int r = 0; r < kRows; ++r)
        if (rows_[r].waitsFor == fixedRow && rows_[r].rejected) flag(r, retypeReason());
}

ParameterPanel::EditResult ParameterPanel::textChanged(int r, const QString &text) {
    EditResult result;
    if (!validRow(r)) return result;
    if (rows_[r].readOnly()) {
        state_.textKeyPending = 0;
        return result;
    }
    rows_[r].text = text;
    // Texts the program sets are not edits: only a change after a key press is the user's.
    if (state_.textKeyPending != 1) return result;
    state_.textKeyPending = 0;
    if (!isLaidOut()) return result;
    // Kept as typed: a prefix of what the user means ("30" on the way to "300") is never stored.
    rows_[r].editing = true;
    result.handled = true;
    return result;
}

ParameterPanel::EditResult ParameterPanel::finishEdit(int r) {
    EditResult result;
    if (!validRow(r) || !rows_[r].editing || !isLaidOut()) return result;
    rows_[r].editing = false;
    result.handled = true;
    const std::vector<int> order = StoringOrder::rowsFor(type_, r);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int s = order[i];
        if (!validRow(s)) continue;
        const PanelRow &row = rows_[s];
        if (!row.showsText() || catalogue_.role(type_, s) != RowRole::Value) continue;
        const QString reason = storeText(s);
        if (!reason.isEmpty()) {
            // The store keeps the old value of this field and of every field after it;
            // those whose text it does not hold say which field holds them up.
            flag(s, reason);
            result.rejectedRow = s;
            const QString waitFor = QStringLiteral("сначала исправьте «%1»").arg(row.caption.trimmed());
            for (std::size_t j = i + 1; j < order.size(); ++j) {
                const int later = order[j];
                if (validRow(later) && rows_[later].showsText() && differsFromStore(later)) flag(later, waitFor, s);
            }
            return result;
        }
        flag(s, QString());
        result.storedRows.push_back(s);
    }
    for (int s : result.storedRows) mended(s);
    return result;
}

int ParameterPanel::finishEdits() {
    for (int r = 0; r < kRows; ++r) finishEdit(r);
    const std::vector<int> refused = refusedRows();
    return refused.empty() ? -1 : refused.front();
}

void ParameterPanel::revertEdit(int r) {
    if (!validRow(r) || !isLaidOut() || rows_[r].readOnly() || !rows_[r].showsText()) return;
    rows_[r].editing = false;
    // The field shows what the store holds, so nothing waits for it any more.
    showRow(r);
    mended(r);
}

std::vector<int> ParameterPanel::refusedRows() const {
    std::vector<int> out;
    for (int r = 0; r < kRows; ++r)
        if (rows_[r].showsText() && rows_[r].rejected) out.push_back(r);
    return out;
}

QString ParameterPanel::refusedSummary() const {
    QStringList parts;
    for (int r : refusedRows())
        parts << QStringLiteral("«%1»: %2").arg(rows_[r].caption.trimmed(), rows_[r].notStoredReason);
    return parts.join(QStringLiteral("; "));
}

void ParameterPanel::showText(int r, const QString &text) {
    // What the user is typing there is neither lost nor merged with a value read.
    if (!validRow(r) || rows_[r].editing) return;
    rows_[r].text = text;
    rows_[r].rejected = false;
    rows_[r].notStoredReason.clear();
}

bool ParameterPanel::isShownNumber(int r) const {
    return validRow(r) && rows_[r].showsText() && rows_[r].kind == FieldKind::Number && placeOf(r);
}

int ParameterPanel::checkShown(const std::vector<int> &rows) {
    if (!isLaidOut()) return -1;
    int first = -1;
    for (int r : rows) {
        if (!isShownNumber(r)) continue;
        if (const QString refused = refusalOf(r); !refused.isEmpty()) {
            flag(r, refused);
            if (first < 0) first = r;
        }
    }
    return first;
}

int ParameterPanel::storeShown(const std::vector<int> &rows) {
    if (!isLaidOut()) return -1;
    // Checked first, so that a field that does not convert leaves the whole set as it was.
    for (int r : rows) {
        if (!isShownNumber(r)) continue;
        if (const QString refused = refusalOf(r); !refused.isEmpty()) {
            flag(r, refused);
            return r;
        }
    }
    for (int r : rows) {
        if (!isShownNumber(r)) continue;
        storeText(r);
        rows_[r].editing = false;
        flag(r, QString());
    }
    return -1;
}

} // namespace z5
