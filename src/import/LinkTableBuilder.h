#pragma once
#include "import/NetlistLine.h"
#include "model/Project.h"
#include <vector>

namespace z5 {

// Turns the nets of the netlist into the link tables of a project whose block table
// is already built: puts each net's driver first, folds inverters into inversion bits
// and records, for every block input, the block output that drives it.
// Every step returns the fault that stops the import, or an empty text.
class LinkTableBuilder {
public:
    LinkTableBuilder(Project &project, std::vector<NetlistLine> lines);

    QString build();
    // The buffer as the steps left it (for tests and diagnostics).
    const std::vector<NetlistLine> &lines() const { return lines_; }

private:
    QString checkNodes() const;
    QString putDriversFirst();
    QString setInversionBits();
    void removeInverters();
    QString storeLinks();

    // Whether a block node is an input of its block; a fault for an impossible screen pin.
    QString classify(const NetlistLine &node, bool &isInput) const;
    QString storeInput(const NetlistLine &node, int sourceIndex, int sourceNumberPlus1);
    bool isNodeAt(std::size_t i) const { return i < lines_.size() && lines_[i].isNode(); }

    Project &project_;
    std::vector<NetlistLine> lines_;
};

} // namespace z5
