#include "console/LiveView.h"
#include "console/ParameterPanel.h"
#include "link/BlockReply.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include <vector>

namespace z5 {
namespace {

constexpr int kPanelNameRow = 0;
constexpr int kFirstChannelNameRow = 1;

} // namespace

LiveView::LiveView(const Project &project, const ParameterStore &store, ParameterPanel &panel,
                   const ParameterCatalogue &catalogue, QLocale locale)
    : project_(project), store_(store), panel_(panel), catalogue_(catalogue), numbers_(std::move(locale)) {}

LiveView::Shows LiveView::beginRead(int column, int type) {
    const bool samePanel = read_.column == column && read_.type == BlockType::PAN;
    read_ = Read{};
    read_.column = column;
    read_.type = type;
    read_.instance = project_.hasBlock(column) ? project_.instance(column) : 0;
    hasReply_ = false;
    keepSetpoints_ = false;
    table_ = ValueTable{};
    if (!samePanel) switchOn_ = {};
    if (type == BlockType::PAN) {
        const int slot = read_.instance > 0 ? read_.instance - 1 : 0;
        read_.layout = PanelFace::layoutOf(store_.number({StoreTable::Numbers, BlockType::PAN, slot, 0}));
        face_ = PanelFace{};
        shows_ = Shows::Panel;
    } else if (type == BlockType::S_P) {
        shows_ = Shows::Setpoints;
    } else if (type == BlockType::GRA) {
        shows_ = Shows::Nothing;
    } else {
        shows_ = Shows::Table;
    }
    return shows_;
}

LiveView::Shows LiveView::showReply(const QByteArray &reply) {
    if (!read_.isValid()) return Shows::Nothing;
    hasReply_ = true;
    switch (shows_) {
    case Shows::Table: table_ = ValueTable::fromReply(reply, read_.type, catalogue_, numbers_); break;
    case Shows::Panel:
        face_ = PanelFace::fromReply(reply, read_.layout.value_or(-1), numbers_);
        for (std::size_t i = 0; i < switchOn_.size(); ++i)
            if (face_.switches()[i]) switchOn_[i] = *face_.switches()[i];
        break;
    case Shows::Setpoints:
        // Shown only while the fields are this block's: a right click elsewhere
        // may have laid out another panel since the read began.
        if (!keepSetpoints_ && panel_.type() == BlockType::S_P && panel_.slot() == read_.instance - 1)
            for (int k = 0; k < BlockReply::kRows; ++k)
                panel_.showText(setpointRow(k), numbers_.format(static_cast<float>(BlockReply::second(reply, k))));
        break;
    case Shows::Nothing: break;
    }
    return shows_;
}

void LiveView::clear() {
    read_ = Read{};
    shows_ = Shows::Nothing;
    hasReply_ = false;
    table_ = ValueTable{};
    face_ = PanelFace{};
}

QString LiveView::headingOf(const Project &project, int column) {
    if (!project.hasBlock(column)) return QString();
    return QStringLiteral("U%1 %2 %3")
        .arg(column + 1, 2, 10, QLatin1Char('0'))
        .arg(BlockCatalogue::mnemonic(project.blockType(column)))
        .arg(project.instance(column));
}

QString LiveView::heading() const { return read_.isValid() ? headingOf(project_, read_.column) : QString(); }

QString LiveView::panelCaption() const {
    const int slot = read_.instance > 0 ? read_.instance - 1 : 0;
    return QStringLiteral("Панель управления: ") + store_.text({StoreTable::PanelTexts, 0, slot, kPanelNameRow});
}

std::array<QString, 4> LiveView::channelNames() const {
    const int slot = read_.instance > 0 ? read_.instance - 1 : 0;
    std::array<QString, 4> names;
    for (int i = 0; i < 4; ++i) names[i] = store_.text({StoreTable::PanelTexts, 0, slot, kFirstChannelNameRow + i});
    return names;
}

std::optional<int> LiveView::keyForClick(double x, double y) const {
    if (shows_ != Shows::Panel || !read_.layout) return std::nullopt;
    const int key = PanelKeys::keyAt(x, y);
    if (!PanelKeys::accepts(*read_.layout, key, switchOn_)) return std::nullopt;
    return key;
}

std::optional<int> LiveView::keyForSwitch(int switchIndex) const {
    if (shows_ != Shows::Panel || read_.layout != 2) return std::nullopt;
    if (switchIndex < 0 || switchIndex >= PanelKeys::kSwitches) return std::nullopt;
    return PanelKeys::switchKey(switchIndex);
}

void LiveView::keySent() {
    if (read_.layout == 4) face_ = PanelFace{};
}

std::vector<int> LiveView::storableSetpointRows(int column) const {
    std::vector<int> rows;
    if (panel_.type() != BlockType::S_P || !project_.hasBlock(column) || panel_.slot() != project_.instance(column) - 1)
        return rows;
    for (int k = 0; k < BlockReply::kRows; ++k)
        if (!panel_.row(setpointRow(k)).rejected) rows.push_back(setpointRow(k));
    return rows;
}

int LiveView::checkShownSetpoints(int column) {
    if (panel_.type() != BlockType::S_P || !project_.hasBlock(column) || panel_.slot() != project_.instance(column) - 1)
        return -1;
    std::vector<int> rows;
    for (int k = 0; k < BlockReply::kRows; ++k) rows.push_back(setpointRow(k));
    return panel_.checkShown(rows);
}

int LiveView::storeShownSetpoints(int column) {
    if (panel_.type() != BlockType::S_P || !project_.hasBlock(column) || panel_.slot() != project_.instance(column) - 1)
        return -1;
    std::vector<int> rows;
    for (int k = 0; k < BlockReply::kRows; ++k) rows.push_back(setpointRow(k));
    return panel_.storeShown(rows);
}

} // namespace z5
