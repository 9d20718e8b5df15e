#pragma once
#include "model/Project.h"
#include <QPoint>
#include <QString>
#include <vector>

namespace z5 {

// Where the block console shows a project: one icon per block, chosen by type and
// instance, in the slot of the block's column, and the block's priority beside it.
// All coordinates are twips of the console window.
class ConsoleLayout {
public:
    static constexpr int kIconCount = 396;      // `Logik_Blok_img` 0..395
    static constexpr int kSlotCount = 99;       // slots "01".."99" for U1..U99
    static constexpr int kLowerIconTop = 4520;  // top of the lower slot rows for icons
    static constexpr int kLowerLabelTop = 4525; // ... for priority labels and the schema command's slot numbers

    struct BlockIcon {
        int column = 0;
        int iconNumber = 0;       // index of `Logik_Blok_img`
        QPoint position;          // icon corner
        QString priorityText;     // two digits
        QPoint priorityPosition;  // where the priority label is printed
    };

    // Icon of a block of this type and instance; -1 when there is none.
    static int iconNumber(int type, int instance);
    // Corner of the slot of a column (0..99); lowerTop is the top of the lower rows.
    static QPoint slotPosition(int column, int lowerTop = kLowerIconTop);
    // Slot number printed before an import ("01" for column 0), 100 twips right and 170
    // below the slot's corner; the schema command prints the lower rows 5 twips lower.
    static QString slotNumberText(int column);
    static QPoint slotNumberPosition(int column, bool fromSchemaCommand);
    // Priority label of a block: 100 twips right of and 170 above its slot.
    static QString priorityText(int priority);
    static QPoint priorityPosition(int column);
    // The "00" heading printed before the priority labels.
    static QString priorityHeadingText() { return QStringLiteral("00"); }
    static QPoint priorityHeadingPosition() { return {330, 1}; }
    // `Picture_PAUSE_PROCESS` and `Picture_RABOTA_PROCESS`.
    static QPoint processIndicatorPosition() { return {200, 200}; }
    static constexpr int kLabelFontSize = 7;

    static ConsoleLayout fromProject(const Project &project);
    const std::vector<BlockIcon> &icons() const { return icons_; }
    // The icon placed for a column, or nullptr.
    const BlockIcon *iconOf(int column) const;

private:
    std::vector<BlockIcon> icons_;
};

} // namespace z5
