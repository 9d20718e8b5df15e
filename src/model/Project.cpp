#include "model/Project.h"

namespace z5 {

Project::Project() { reset(); }

void Project::reset() {
    for (auto &row : blockSchema_) row.fill(0);
    for (auto &row : blockLinkSchema_) row.fill(0);
    blockLinkSchemaGrafik_.fill(0);
    blockLinkSchemaJurnal_.fill(0);
    for (auto &row : blockLinkSchemaScada_) row.fill(0);
    jurnalInvMask_ = 0;
    exzCount_.fill(0);
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

int Project::grafikLink(int element) const {
    return element >= 0 && element < 65 ? blockLinkSchemaGrafik_[element] : 0;
}

void Project::setGrafikLink(int element, int value) {
    if (element >= 0 && element < 65) blockLinkSchemaGrafik_[element] = static_cast<std::uint8_t>(value);
}

int Project::jurnalLink(int element) const {
    return element >= 0 && element < 69 ? blockLinkSchemaJurnal_[element] : 0;
}

void Project::setJurnalLink(int element, int value) {
    if (element >= 0 && element < 69) blockLinkSchemaJurnal_[element] = value;
}

int Project::scadaLink(int page, int element) const {
    if (page < 0 || page >= 8 || element < 0 || element >= 68) return 0;
    return blockLinkSchemaScada_[page][element];
}

void Project::setScadaLink(int page, int element, int value) {
    if (page < 0 || page >= 8 || element < 0 || element >= 68) return;
    blockLinkSchemaScada_[page][element] = value;
}

void Project::setJurnalInvMask(std::int32_t mask) {
    jurnalInvMask_ = mask;
    // The journal table carries the mask in its elements 64..67, lowest byte first.
    const auto u = static_cast<std::uint32_t>(mask);
    for (int i = 0; i < 4; ++i) blockLinkSchemaJurnal_[64 + i] = (u >> (8 * i)) & 0xFF;
}

int Project::exzCount(int type) const {
    return type >= 0 && type < kTypeCounters ? exzCount_[type] : 0;
}

void Project::setExzCount(int type, int value) {
    if (type >= 0 && type < kTypeCounters) exzCount_[type] = static_cast<std::uint8_t>(value);
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
           blockLinkSchemaGrafik_ == o.blockLinkSchemaGrafik_ &&
           blockLinkSchemaJurnal_ == o.blockLinkSchemaJurnal_ &&
           blockLinkSchemaScada_ == o.blockLinkSchemaScada_ && jurnalInvMask_ == o.jurnalInvMask_ &&
           exzCount_ == o.exzCount_ && sameComponents();
}

} // namespace z5
