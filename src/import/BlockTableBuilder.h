#pragma once
#include "import/NetlistLine.h"
#include "import/Numbering.h"
#include "model/Project.h"
#include <array>
#include <vector>

namespace z5 {

// Fills the component list and the block table from the netlist lines and checks
// instance numbers and priorities. Each step returns the message that stops the
// import, or an empty text.
class BlockTableBuilder {
public:
    BlockTableBuilder(Project &project, Numbering mode) : project_(project), mode_(mode) {}

    // Component list (Project::components) in netlist order (one record per value line).
    QString collectComponents(const std::vector<NetlistLine> &lines);
    // Blocks, instances and priorities, with the validation messages.
    QString buildBlocks();
    // Priority order row; a priority beyond the row is a fault.
    QString buildPriorityOrder();

private:
    QString buildBlock(int record);
    QString assignNumbers(int record, int column, int type, int q);

    Project &project_;
    Numbering mode_;
    // Per record: the whole designator as written and the file line of its component.
    std::array<QString, Project::kColumns> fullDesignator_;
    std::array<int, Project::kColumns> recordLine_{};
    std::array<int, Project::kColumns> columnLine_{};
};

} // namespace z5
