#pragma once
#include "console/NumberText.h"
#include "console/PanelFace.h"
#include "console/ValueTable.h"
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace z5 {

class ParameterCatalogue;
class ParameterPanel;
class ParameterStore;
class Project;

// What the console shows of the block read last, without a window: the value
// table, the panel face with its switches, or the setpoint fields. A reply is
// drawn by the block that was asked for (kept from the read's start), never by
// a type code a later command may have overwritten.
class LiveView {
public:
    enum class Shows { Nothing, Table, Panel, Setpoints };

    // The block a read asked for.
    struct Read {
        int column = -1;
        int type = 0;
        int instance = 0;                // 1.. as in the schematic, 0 for none
        std::optional<int> layout;       // panel blocks: picture 0..4
        bool isValid() const { return column >= 0; }
    };

    LiveView(const Project &project, const ParameterStore &store, ParameterPanel &panel,
             const ParameterCatalogue &catalogue, QLocale locale = QLocale());

    // A read of the block in `column` with type `type` starts (a left click on
    // its icon): remembers it and says what the window will show.
    Shows beginRead(int column, int type);
    // A block reply with a correct check value for the read under way or a
    // panel key of the same block: updates what is shown.
    Shows showReply(const QByteArray &reply);
    // The process commands take the view's place.
    void clear();

    const Read &read() const { return read_; }
    Shows shows() const { return shows_; }
    const ValueTable &table() const { return table_; }
    const PanelFace &face() const { return face_; }
    bool hasReply() const { return hasReply_; }

    // "U05 PID 1": designator, mnemonic and instance of a block column; empty
    // for a column without a block.
    static QString headingOf(const Project &project, int column);
    QString heading() const;
    // "Панель управления: " and the panel's name; the four channel names.
    QString panelCaption() const;
    std::array<QString, 4> channelNames() const;

    // Panel keys. The key a click at (x, y) on the shown picture sends, if any.
    std::optional<int> keyForClick(double x, double y) const;
    // The key a click on switch 0..3 sends; none while no panel is shown.
    std::optional<int> keyForSwitch(int switchIndex) const;
    // Before a key request the fifth picture is wiped.
    void keySent();
    const std::array<bool, PanelKeys::kSwitches> &switchOn() const { return switchOn_; }

    // Setpoint programmer: the panel rows that show the eight setpoints.
    static constexpr int kSetpoints = 8;
    static int setpointRow(int k) { return 2 * k + 1; }
    // Before the setpoint write of `column`: the values the fields show go into
    // the store, so that what is sent is what the user sees. -1 once stored (or
    // when the panel shows another block); else the row that does not convert.
    int storeShownSetpoints(int column);
    // Marks the setpoint fields of `column` whose text could not be stored,
    // storing nothing; -1 when none (or another block is shown), else the first.
    int checkShownSetpoints(int column);
    // The setpoint fields of `column` that can be stored, when the panel shows it.
    std::vector<int> storableSetpointRows(int column) const;
    // The user edits the setpoint fields: replies leave them alone until the next pick.
    void keepShownSetpoints() { keepSetpoints_ = true; }

private:
    const Project &project_;
    const ParameterStore &store_;
    ParameterPanel &panel_;
    const ParameterCatalogue &catalogue_;
    NumberText numbers_;
    Read read_;
    Shows shows_ = Shows::Nothing;
    bool hasReply_ = false;
    bool keepSetpoints_ = false;
    ValueTable table_;
    PanelFace face_;
    std::array<bool, PanelKeys::kSwitches> switchOn_{};
};

} // namespace z5
