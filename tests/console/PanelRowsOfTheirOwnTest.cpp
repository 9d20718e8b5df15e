// Every field the panel lets the user change lands in a store row of its own;
// a field whose value goes nowhere is shown locked and says why.
#include "PanelFixture.h"
#include <set>

using namespace z5;
using z5::test::PanelFixture;

namespace {

// LOG: channel code, console row, the store row that the edit must land in.
struct LogField {
    int channel;
    int row;
    int storeRow;
};

const LogField kLogFields[] = {
    {0, 1, 0}, {0, 2, 3}, {0, 3, 6},  //
    {1, 1, 1}, {1, 2, 4}, {1, 3, 7},  //
    {2, 1, 2}, {2, 2, 5}, {2, 3, 8},
};

} // namespace

TEST_F(PanelFixture, ChannelLogicOffersOnlyChannelsWithRowsOfTheirOwn) {
    place(0, BlockType::LOG, 2);
    layOut(0);
    EXPECT_EQ(panel.row(0).items, (QStringList{"1", "2", "3"}));
    // Each field gets a value of its own; none may overwrite another.
    float value = 1.0f;
    for (const LogField &f : kLogFields) {
        panel.choose(0, f.channel);
        if (f.row == 1)
            panel.choose(1, 1 + f.channel);
        else
            ASSERT_TRUE(type(f.row, QString::number(value)).ok());
        value += 1.0f;
    }
    value = 1.0f;
    std::set<int> rows;
    for (const LogField &f : kLogFields) {
        const float expected = f.row == 1 ? float(1 + f.channel) : value;
        EXPECT_EQ(store.numbersLOG.value(1, f.storeRow), expected) << f.channel << " " << f.row;
        EXPECT_TRUE(rows.insert(f.storeRow).second) << "two fields share row " << f.storeRow;
        value += 1.0f;
    }
    for (int r = 9; r < 16; ++r) EXPECT_EQ(store.numbersLOG.value(1, r), 0.0f) << r;
    // Back on a channel, its fields show what was stored for it alone.
    panel.choose(0, 0);
    EXPECT_EQ(panel.row(2).text, "2");
    EXPECT_EQ(panel.row(3).text, "3");
    panel.choose(0, 3);  // a code the list does not hold changes nothing
    EXPECT_EQ(panel.selectors().channel, 0);
}

struct LockedField {
    int type;
    int row;
    FieldKind kind;
};

class LockedFields : public PanelFixture, public ::testing::WithParamInterface<LockedField> {};

TEST_P(LockedFields, AreShownReadOnlyWithTheirReasonAndStoreNothing) {
    const LockedField &f = GetParam();
    place(0, f.type, 1);
    layOut(0);
    const PanelRow &row = panel.row(f.row);
    ASSERT_TRUE(row.visible);
    EXPECT_EQ(row.kind, f.kind);
    EXPECT_TRUE(row.readOnly());
    EXPECT_EQ(row.readOnlyReason, QStringLiteral("не передаётся в Z5"));
    EXPECT_FALSE(row.choiceEnabled);
    EXPECT_EQ(row.selected, -1) << "nothing is shown as chosen";
    const ParameterStore before = store;
    if (f.kind == FieldKind::Choice) {
        panel.choose(f.row, 1);
        EXPECT_EQ(panel.row(f.row).selected, -1);
    } else {
        EXPECT_FALSE(type(f.row, "5").handled);
        EXPECT_TRUE(panel.row(f.row).text.isEmpty());
    }
    EXPECT_TRUE(store == before);
    // The fields beside it that do reach the controller stay editable.
    for (int r = 0; r < ParameterPanel::kRows; ++r)
        if (panel.row(r).visible && ParameterCatalogue::standard().role(f.type, r) == RowRole::Value) EXPECT_FALSE(panel.row(r).readOnly()) << r;
}

INSTANTIATE_TEST_SUITE_P(Rows, LockedFields,
                         ::testing::Values(LockedField{BlockType::RS4, 0, FieldKind::Choice},
                                           LockedField{BlockType::RS4, 1, FieldKind::Choice},
                                           LockedField{BlockType::RS4, 2, FieldKind::Choice},
                                           LockedField{BlockType::MOT, 0, FieldKind::Number}));

TEST_F(PanelFixture, ALockedPanelBetweenTwoInputPanelsKeepsTheChannel) {
    place(0, BlockType::A_I, 1);
    place(1, BlockType::RS4, 1);
    place(2, BlockType::A_I, 2);
    layOut(0);
    panel.choose(1, 2);
    layOut(1);
    EXPECT_EQ(panel.row(1).selected, -1) << "the link's speed is not the channel";
    layOut(2);
    EXPECT_EQ(panel.row(1).selected, 2);
}
