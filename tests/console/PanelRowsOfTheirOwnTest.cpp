// Every field the panel lets the user change lands in a store row of its own; a
// field whose value never reaches the controller is locked and says why.
#include "PanelFixture.h"
#include "model/BlockCatalogue.h"

using namespace z5;
using z5::test::PanelFixture;

TEST_F(PanelFixture, ChannelLogicFieldsNeverShareARow) {
    place(0, BlockType::LOG, 2);
    layOut(0);
    EXPECT_EQ(panel.row(0).items, (QStringList{"1", "2", "3"}));
    for (int c = 0; c < 3; ++c) {
        panel.choose(0, c);
        panel.choose(1, 1 + c);
        type(2, QString::number(10 + c));
        type(3, QString::number(20 + c));
    }
    // Type in rows 0..2, parameter in 3..5, delay in 6..8, each written once.
    const float expected[10] = {1, 2, 3, 10, 11, 12, 20, 21, 22, 0};
    for (int r = 0; r < 10; ++r) EXPECT_EQ(store.numbersLOG.value(1, r), expected[r]) << r;
}

struct LockedField {
    int type;
    int row;
};
void PrintTo(const LockedField &row, std::ostream *os) {
    *os << BlockCatalogue::mnemonic(row.type).toStdString() << " row " << row.row;
}

class LockedFields : public PanelFixture, public ::testing::WithParamInterface<LockedField> {};

TEST_P(LockedFields, AreReadOnlyWithTheirReasonAndStoreNothing) {
    place(0, GetParam().type, 1);
    layOut(0);
    const int r = GetParam().row;
    EXPECT_TRUE(panel.row(r).visible);
    EXPECT_EQ(panel.row(r).readOnlyReason, QStringLiteral("не передаётся в Z5"));
    EXPECT_FALSE(panel.row(r).choiceEnabled);
    const ParameterStore before = store;
    panel.choose(r, 1);
    EXPECT_FALSE(type(r, "5").handled);
    EXPECT_EQ(panel.row(r).selected, -1) << "nothing is shown as chosen";
    EXPECT_TRUE(panel.row(r).text.isEmpty());
    EXPECT_TRUE(store == before);
}

INSTANTIATE_TEST_SUITE_P(Rows, LockedFields,
                         ::testing::Values(LockedField{BlockType::RS4, 0}, LockedField{BlockType::RS4, 1},
                                           LockedField{BlockType::RS4, 2}, LockedField{BlockType::MOT, 0}));
