#pragma once
#include "console/NumberText.h"
#include "console/PanelRow.h"
#include "model/ParameterCatalogue.h"
#include <array>
#include <optional>
#include <vector>

namespace z5 {

struct ConsoleState;
class ParameterStore;
class Project;

// The parameter panel of the console: lays out the rows of the selected block's
// type, shows the block's stored values, and stores what the user chooses or
// types. Edits change only the parameter store. The panel keeps the type and
// instance slot it was laid out for, so an edit always lands in the block shown.
class ParameterPanel {
public:
    static constexpr int kRows = ParameterCatalogue::kRows;

    // What an edit of a text field did.
    struct EditResult {
        bool handled = false;        // false: not a user's edit (no key went in first)
        std::vector<int> storedRows; // in storing order
        int rejectedRow = -1;        // the field that did not convert; later ones were not stored
        bool ok() const { return rejectedRow < 0; }
    };

    ParameterPanel(ParameterStore &store, const Project &project, ConsoleState &state,
                   const ParameterCatalogue &catalogue = ParameterCatalogue::standard(), QLocale locale = QLocale());

    // Lays out the panel for the selected block (column and type as the
    // console state holds them) and shows its stored values. A column without a
    // block shows an empty panel.
    void layOutForSelectedBlock();
    // Hides every row (a live view takes the panel's place).
    void hideRows();
    // Shows the stored values again in every row (after the store was replaced).
    void reload();

    // Why a field that is neither stored nor sent is shown read-only.
    static QString notSentReason();

    // The user chose item `code` in row `row`.
    void choose(int row, int code);
    // A key went into the text field of row `row`. A read-only row takes no text:
    // textChanged() leaves it as it is and reports the edit as not handled.
    void keyPressed(int row);
    // The text of row `row` changed. After a key press it is the user's edit, kept
    // as typed and stored only when the field is finished; a text the program
    // sets is never stored.
    EditResult textChanged(int row, const QString &text);
    // The user finished the field (Tab, Return, the focus left it): its whole text
    // is converted and stored with the fields its type stores alongside, or
    // refused and flagged, the store keeping what it held before the edit.
    // Nothing happens for a field that was not edited.
    EditResult finishEdit(int row);
    // Every field still being typed is finished, in row order. -1 when all are
    // stored, else the first row refused.
    int finishEdits();
    // Esc: the field shows the stored value again and its edit is dropped.
    void revertEdit(int row);
    // Visible fields whose text is not stored, top to bottom.
    std::vector<int> refusedRows() const;
    // "«Время задержки»: вне диапазона 0..255" for each refused field.
    QString refusedSummary() const;
    // Shows a value read from the controller in a text field without storing it.
    void showText(int row, const QString &text);
    // Stores what the given number fields show, all of them or none: returns -1
    // once stored, else the first row that does not convert (marked rejected).
    int storeShown(const std::vector<int> &rows);
    // Marks those of the given number fields whose text could not be stored,
    // storing nothing; -1 when none, else the first.
    int checkShown(const std::vector<int> &rows);

    const PanelRow &row(int r) const;
    // The store element row `r` shows now; empty for a row that shows none.
    std::optional<StorePlace> fieldPlace(int r) const { return isLaidOut() ? placeOf(r) : std::nullopt; }
    bool isLaidOut() const { return type_ != 0; }
    int type() const { return type_; }
    int slot() const { return slot_; }
    const Selectors &selectors() const { return selectors_; }

private:
    void selectChoice(int row, int code);
    void showRow(int row);
    void showDependents(Selector selector);
    std::optional<StorePlace> placeOf(int row) const;
    bool isShownNumber(int row) const;
    // Why the row's text cannot be stored as it stands; empty when it can.
    QString refusalOf(int row) const;
    // Stores the row's text; empty when stored, else why it was not.
    QString storeText(int row);
    // True when the row's text says something else than the store holds.
    bool differsFromStore(int row) const;
    void flag(int row, const QString &reason, int waitsFor = -1);
    // The fields that waited for `fixedRow` now wait for the user to type them again.
    void mended(int fixedRow);
    bool validRow(int row) const { return row >= 0 && row < kRows; }

    ParameterStore &store_;
    const Project &project_;
    ConsoleState &state_;
    const ParameterCatalogue &catalogue_;
    NumberText numbers_;
    std::array<PanelRow, kRows> rows_;
    int type_ = 0;   // 0: nothing laid out
    int slot_ = 0;
    Selectors selectors_;
    // The channel picked in the last input or output panel, offered again by the
    // next one whatever other panels came between.
    int keptChannel_ = 0;
};

} // namespace z5
