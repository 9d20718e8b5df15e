#include "import/ConsoleLayout.h"
#include "model/BlockCatalogue.h"

namespace z5 {

int ConsoleLayout::iconNumber(int type, int instance) {
    if (!BlockCatalogue::isBlockType(type) || instance < 1) return -1;
    const int icon = (type - 1) + BlockCatalogue::kBlockTypes * (instance - 1);
    return icon < kIconCount ? icon : -1;
}

QPoint ConsoleLayout::slotPosition(int column, int lowerTop) {
    // Four slots across the top, then four 5-wide quarters: left and right above,
    // left and right below.
    const int c = column;
    if (c < 4) return {700 * c + 900, 200};
    if (c < 24) return {((c + 1) % 5) * 700 + 200, ((c + 1) / 5 - 1) * 700 + 900};
    if (c < 49) return {((c - 24) % 5) * 700 + 3900, ((c - 24) / 5 - 1) * 700 + 900};
    if (c < 74) return {((c - 49) % 5) * 700 + 200, ((c - 49) / 5 - 1) * 700 + lowerTop};
    return {((c - 74) % 5) * 700 + 3900, ((c - 74) / 5 - 1) * 700 + lowerTop};
}

QString ConsoleLayout::slotNumberText(int column) { return QString::number(column + 1).rightJustified(2, u'0'); }

QPoint ConsoleLayout::slotNumberPosition(int column, bool fromSchemaCommand) {
    return slotPosition(column, fromSchemaCommand ? kLowerLabelTop : kLowerIconTop) + QPoint(100, 170);
}

QString ConsoleLayout::priorityText(int priority) {
    return priority >= 1 && priority <= 9 ? QStringLiteral("0") + QString::number(priority) : QString::number(priority);
}

QPoint ConsoleLayout::priorityPosition(int column) { return slotPosition(column, kLowerLabelTop) + QPoint(100, -170); }

ConsoleLayout ConsoleLayout::fromProject(const Project &project) {
    ConsoleLayout layout;
    for (int c = 0; c < Project::kColumns; ++c) {
        if (!project.hasBlock(c)) continue;
        BlockIcon icon;
        icon.column = c;
        icon.iconNumber = iconNumber(project.blockType(c), project.instance(c));
        icon.position = slotPosition(c);
        icon.priorityText = priorityText(project.priority(c));
        icon.priorityPosition = priorityPosition(c);
        layout.icons_.push_back(icon);
    }
    return layout;
}

const ConsoleLayout::BlockIcon *ConsoleLayout::iconOf(int column) const {
    for (const BlockIcon &icon : icons_)
        if (icon.column == column) return &icon;
    return nullptr;
}

} // namespace z5
