#include "model/Project.h"

namespace z5 {

Project::Project() { reset(); }

void Project::reset() {
    for (auto &row : blockSchema_) row.fill(0);
    for (auto &row : blockLinkSchema_) row.fill(0);
    trendLinks_.fill(0);
    journalLinks_.fill(0);
    for (auto &row : screenLinks_) row.fill(0);
    journalInvertMask_ = 0;
    instanceCounters_.fill(0);
    components_.fill(ComponentRecord{});
}

bool Project::isEmpty() const { return blockCount() == 0; }

std::uint8_t Project::schema(int row, int column) const {
    if (row < 0 || row > 4 || column < 0 || column >= kColumns) return 0;
    return blockSchema_[row][column];
}

void Project::setSchema(int row, int column, std::uint8_t value) {
    if (row < 0 || row > 4 || column < 0 || column >= kColumns) return;
    blockSchema_[row][column] = value;
}

int Project::blockCount() const {
    int n = 0;
    for (int c = 0; c < kColumns; ++c)
        if (hasBlock(c)) ++n;
    return n;
}

int Project::columnOfType(int type) const {
    for (int c = 0; c < kColumns; ++c)
        if (blockType(c) == type) return c;
    return -1;
}

int Project::columnOf(int type, int inst) const {
    for (int c = 0; c < kColumns; ++c)
        if (blockType(c) == type && instance(c) == inst) return c;
    return -1;
}

void Project::rebuildPriorityOrder() {
    blockSchema_[OrderRow].fill(0);
    for (int c = 1; c < kColumns; ++c) {
        const int p = blockSchema_[PriorityRow][c];
        if (p < kColumns) blockSchema_[OrderRow][p] = static_cast<std::uint8_t>(c);
    }
    blockSchema_[OrderRow][0] = 0;
}

int Project::link(int column, int element) const {
    if (column < 0 || column >= kColumns || element < 0 || element >= 16) return 0;
    return blockLinkSchema_[element][column];
}

void Project::setLink(int column, int element, int value) {
    if (column < 0 || column >= kColumns || element < 0 || element >= 16) return;
    blockLinkSchema_[element][column] = value;
}

int Project::trendLink(int element) const {
    return element >= 0 && element < 65 ? trendLinks_[element] : 0;
}

void Project::setTrendLink(int element, int value) {
    if (element >= 0 && element < 65) trendLinks_[element] = static_cast<std::uint8_t>(value);
}

int Project::journalLink(int element) const {
    return element >= 0 && element < 69 ? journalLinks_[element] : 0;
}

void Project::setJournalLink(int element, int value) {
    if (element >= 0 && element < 69) journalLinks_[element] = value;
}

int Project::scadaLink(int page, int element) const {
    if (page < 0 || page >= 8 || element < 0 || element >= 68) return 0;
    return screenLinks_[page][element];
}

void Project::setScadaLink(int page, int element, int value) {
    if (page < 0 || page >= 8 || element < 0 || element >= 68) return;
    screenLinks_[page][element] = value;
}

void Project::setJournalInvertMask(std::int32_t mask) {
    journalInvertMask_ = mask;
    // The journal table carries the mask in its elements 64..67, lowest byte first.
    const auto u = static_cast<std::uint32_t>(mask);
    for (int i = 0; i < 4; ++i) journalLinks_[64 + i] = (u >> (8 * i)) & 0xFF;
}

int Project::instanceCounter(int type) const {
    return type >= 0 && type < kTypeCounters ? instanceCounters_[type] : 0;
}

void Project::setInstanceCounter(int type, int value) {
    if (type >= 0 && type < kTypeCounters) instanceCounters_[type] = static_cast<std::uint8_t>(value);
}

bool Project::operator==(const Project &o) const {
    auto sameComponents = [&] {
        for (int i = 0; i < kColumns; ++i)
            if (components_[i].designator != o.components_[i].designator ||
                components_[i].mnemonic != o.components_[i].mnemonic ||
                components_[i].value != o.components_[i].value)
                return false;
        return true;
    };
    return blockSchema_ == o.blockSchema_ && blockLinkSchema_ == o.blockLinkSchema_ &&
           trendLinks_ == o.trendLinks_ &&
           journalLinks_ == o.journalLinks_ &&
           screenLinks_ == o.screenLinks_ && journalInvertMask_ == o.journalInvertMask_ &&
           instanceCounters_ == o.instanceCounters_ && sameComponents();
}

} // namespace z5
