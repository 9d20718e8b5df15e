// Laying out the panel of a block and following its selectors.
#include "PanelFixture.h"

using namespace z5;
using z5::test::PanelFixture;

namespace {
using Rows = std::vector<int>;
}

TEST_F(PanelFixture, AnalogInputChannelThreeFollowsToTheNextInputBlock) {
    place(0, A_I, 1);
    place(1, A_I, 2);
    store.PARAMETR_A_I.setValue(0, 27, 2.5f);   // "Фильтр", channel 3, instance 1
    store.PARAMETR_A_I.setValue(1, 27, 4.0f);   // the same, instance 2
    store.PARAMETR_A_I.setValue(1, 3, 9.0f);    // "Тип входа" of channel 3: "ТХА"
    store.PARAMETR_A_I.setValue(1, 0, 7.0f);    // "Тип входа" of channel 0

    layOut(0);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(panel.row(0).caption, "№ в сети");
    EXPECT_EQ(panel.row(0).items.size(), 8);
    EXPECT_EQ(panel.row(0).selected, 0);
    EXPECT_FALSE(panel.row(0).choiceEnabled);
    EXPECT_EQ(panel.row(1).selected, 0);
    EXPECT_EQ(panel.row(2).items.size(), 15);
    EXPECT_EQ(panel.row(2).items.at(14), "4-20 мА");
    EXPECT_EQ(panel.row(8).kind, FieldKind::Number);
    EXPECT_EQ(panel.row(8).background, PanelRow::Background::White);

    panel.choose(1, 3);
    EXPECT_EQ(panel.row(8).text, "2.5");
    EXPECT_EQ(panel.selectors().channel, 3);
    EXPECT_EQ(state.CHANNEL_SELECT, 0) << "set when the panel is laid out, not by a choice";

    // A panel without a choice in row 1 between the two does not lose the channel.
    place(2, PID, 1);
    layOut(2);
    layOut(1);
    EXPECT_EQ(panel.row(1).selected, 3);
    EXPECT_EQ(state.CHANNEL_SELECT, 3);
    EXPECT_EQ(state.INSTANCE_SELECT, 1);
    EXPECT_EQ(panel.row(0).selected, 1);
    EXPECT_EQ(panel.row(8).text, "4");
    EXPECT_EQ(panel.row(2).selected, 9);
    EXPECT_EQ(panel.row(2).items.at(9), "ТХА");

    type(8, "0.75");
    EXPECT_EQ(store.PARAMETR_A_I.value(1, 27), 0.75f);
    panel.choose(1, 0);
    EXPECT_EQ(panel.row(2).selected, 7);
    panel.choose(2, 3);
    EXPECT_EQ(store.PARAMETR_A_I.value(1, 0), 3.0f);
}

TEST_F(PanelFixture, AChannelBeyondTheNewListFallsBackToTheFirst) {
    place(0, D_I, 1);
    place(1, A_O, 1);
    layOut(0);
    panel.choose(1, 6);
    layOut(1);
    EXPECT_EQ(panel.row(1).items.size(), 4);
    EXPECT_EQ(panel.row(1).selected, 0);
    EXPECT_EQ(state.CHANNEL_SELECT, 0);
}

TEST_F(PanelFixture, TheLockedInstanceRowIsUnlockedForOtherTypes) {
    place(0, A_I, 1);
    place(1, PID, 1);
    layOut(0);
    panel.choose(0, 5);
    EXPECT_EQ(panel.row(0).selected, 0) << "the instance number cannot be changed";
    EXPECT_FALSE(panel.row(0).choiceEnabled);
    layOut(1);
    EXPECT_TRUE(panel.row(0).choiceEnabled);
    EXPECT_EQ(panel.row(0).items, (QStringList{"Реле", "ПИД 1", "ПИД 2"}));
}

TEST_F(PanelFixture, ProgramStepThirtyOneAndItsStoredSelector) {
    place(2, PRO, 1);
    layOut(2);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2, 3, 4}));
    EXPECT_EQ(panel.row(0).items.size(), 32);
    EXPECT_EQ(panel.row(0).items.at(31), "Программа 4 Шаг 8");
    panel.choose(0, 31);
    EXPECT_EQ(store.PARAMETR_PRO.value(0, 0), 31.0f);
    type(1, "1");
    type(2, "2");
    type(3, "3");
    panel.choose(4, 3);
    EXPECT_EQ(store.PARAMETR_PRO.value(0, 35), 1.0f);
    EXPECT_EQ(store.PARAMETR_PRO.value(0, 67), 2.0f);
    EXPECT_EQ(store.PARAMETR_PRO.value(0, 99), 3.0f);
    EXPECT_EQ(store.PARAMETR_PRO.value(0, 131), 3.0f);

    // The step comes back from the store the next time.
    layOut(2);
    EXPECT_EQ(panel.row(0).selected, 31);
    EXPECT_EQ(panel.row(3).text, "3");
    EXPECT_EQ(panel.row(4).selected, 3);
}

TEST_F(PanelFixture, TrendChannelThirtyOne) {
    place(5, GRA, 1);
    layOut(5);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(panel.row(2).background, PanelRow::Background::Name);
    EXPECT_EQ(panel.row(5).background, PanelRow::Background::Name);
    panel.choose(0, 31);
    EXPECT_EQ(store.PARAMETR_GRA.value(1, 0), 31.0f);
    type(3, "-10");
    type(4, "110");
    type(5, "Дымовые газы");
    type(2, "Котельная");
    type(1, "5");
    EXPECT_EQ(store.PARAMETR_GRA.value(1, 32), -10.0f);
    EXPECT_EQ(store.PARAMETR_GRA.value(2, 32), 110.0f);
    EXPECT_EQ(store.NAME_GRA.element(32), "Дымовые газы");
    EXPECT_EQ(store.NAME_GRA.element(33), "Котельная");
    EXPECT_EQ(store.PARAMETR_GRA.value(0, 0), 5.0f);

    layOut(5);
    EXPECT_EQ(panel.row(0).selected, 31);
    EXPECT_EQ(panel.row(5).text, "Дымовые газы");
    panel.choose(0, 0);
    EXPECT_EQ(panel.row(5).text, "");
    EXPECT_EQ(panel.row(3).text, "0");
    EXPECT_EQ(panel.row(2).text, "Котельная") << "the title does not depend on the channel";
}

TEST_F(PanelFixture, ScreenPageEightKeyTwentyFour) {
    place(7, SCA, 1);
    layOut(7);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2}));
    panel.choose(0, 7);
    panel.choose(1, 23);
    EXPECT_EQ(state.SCA_PAGE_SELECT, 7);
    type(2, "12");
    EXPECT_EQ(store.PARAMETR_SCA.element(199), 12.0f);
    EXPECT_EQ(store.PARAMETR_SCA.element(8), 0.0f);

    // The page is remembered, the key starts over.
    layOut(7);
    EXPECT_EQ(panel.row(0).selected, 7);
    EXPECT_EQ(panel.row(1).selected, 0);
    EXPECT_EQ(panel.row(2).text, "0");
    panel.choose(1, 23);
    EXPECT_EQ(panel.row(2).text, "12");
}

TEST_F(PanelFixture, JournalEventThirtyTwoLeavesTheTrendStoreAlone) {
    place(0, GRA, 1);
    place(1, JUR, 1);
    store.PARAMETR_GRA.setValue(1, 0, 4.0f);   // the trend block's selected channel
    const ParameterStore::NumberTable trendBefore = store.PARAMETR_GRA;

    layOut(1);
    EXPECT_EQ(panel.row(0).selected, 0);
    panel.choose(0, 31);
    type(1, "Пламя");
    panel.choose(2, 5);
    type(3, "30");
    type(4, "200");
    EXPECT_EQ(store.NAME_JUR.element(31), "Пламя");
    EXPECT_EQ(store.PARAMETR_JUR.element(41), 5.0f);
    EXPECT_EQ(store.BYTE_JUR.element(41), 200);
    EXPECT_EQ(store.PARAMETR_JUR.element(50), 30.0f);
    EXPECT_TRUE(store.PARAMETR_GRA == trendBefore) << "an event choice must not reach the trend block";

    layOut(0);
    EXPECT_EQ(panel.row(0).selected, 4);
}

TEST_F(PanelFixture, JournalDelayIsARoundedByte) {
    place(1, JUR, 1);
    layOut(1);
    EXPECT_TRUE(type(4, "2.5").ok());
    EXPECT_EQ(store.BYTE_JUR.element(10), 2);
    EXPECT_TRUE(type(4, "3.5").ok());
    EXPECT_EQ(store.BYTE_JUR.element(10), 4);
    EXPECT_EQ(type(4, "255.5").rejectedRow, 4);
    EXPECT_EQ(type(4, "-1").rejectedRow, 4);
    EXPECT_EQ(store.BYTE_JUR.element(10), 4);
    EXPECT_TRUE(type(4, "255").ok());
    EXPECT_EQ(store.BYTE_JUR.element(10), 255);
    layOut(1);
    EXPECT_EQ(panel.row(4).text, "255");
}

TEST_F(PanelFixture, BlocksWithoutParametersShowAnEmptyPanel) {
    for (int type : {ABS, XOR, TRI}) {
        place(3, type, 1);
        layOut(3);
        EXPECT_TRUE(visibleRows().empty()) << type;
    }
    // A column that holds no block.
    state.BLOCK_SELECT = 50;
    state.BLOCK_SELECT_TYPE = MUL;
    panel.label_Parametr();
    EXPECT_TRUE(visibleRows().empty());
    EXPECT_FALSE(panel.isLaidOut());
}

TEST_F(PanelFixture, StoredChoiceCodesRoundHalfToEven) {
    place(0, PID, 1);
    store.PARAMETR_PID.setValue(0, 0, 2.5f);
    layOut(0);
    EXPECT_EQ(panel.row(0).selected, 2);
    store.PARAMETR_PID.setValue(0, 0, 1.5f);
    layOut(0);
    EXPECT_EQ(panel.row(0).selected, 2);
    EXPECT_EQ(store.PARAMETR_PID.value(0, 0), 1.5f) << "showing a value does not store it";
    // A code beyond the list, as a hand-made file may hold, selects nothing.
    store.PARAMETR_PID.setValue(0, 0, 20.0f);
    layOut(0);
    EXPECT_EQ(panel.row(0).selected, -1);
    EXPECT_EQ(visibleRows().size(), 9u) << "the rest of the panel is laid out all the same";
}

TEST_F(PanelFixture, ChoicesOfALinkBlockStoreNothing) {
    place(0, RS4, 1);
    const ParameterStore before = store;
    layOut(0);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2}));
    EXPECT_TRUE(panel.row(0).choiceEnabled);
    panel.choose(0, 5);
    panel.choose(1, 4);
    panel.choose(2, 1);
    EXPECT_EQ(panel.row(1).selected, 4);
    EXPECT_TRUE(store == before);
}

TEST_F(PanelFixture, SetpointNamesAreTintedTextFields) {
    place(13, S_P, 3);
    layOut(13);
    EXPECT_EQ(visibleRows().size(), 17u);
    EXPECT_EQ(panel.row(16).caption, "Имя блока");
    EXPECT_EQ(panel.row(16).background, PanelRow::Background::Name);
    EXPECT_EQ(panel.row(15).background, PanelRow::Background::White);
    type(16, "Котёл");
    type(15, "80");
    EXPECT_EQ(store.NAME_S_P.value(2, 8), "Котёл");
    EXPECT_EQ(store.PARAMETR_S_P.value(2, 7), 80.0f);
}

TEST_F(PanelFixture, ReloadShowsWhatTheStoreNowHolds) {
    place(0, MUL, 2);
    layOut(0);
    store.PARAMETR_MUL.setValue(1, 2, 1.25f);
    EXPECT_EQ(panel.row(2).text, "0");
    panel.reload();
    EXPECT_EQ(panel.row(2).text, "1.25");
}

TEST_F(PanelFixture, HidingTheRowsKeepsWhatWasLaidOut) {
    place(0, MUL, 1);
    layOut(0);
    panel.hideRows();
    EXPECT_TRUE(visibleRows().empty());
    EXPECT_EQ(panel.row(0).caption, "Усиление 1");
}

TEST(PanelNumbers, TheUsersDecimalSeparatorIsReadAndShown) {
    Project project;
    project.setSchema(Project::TypeRow, 0, MUL);
    project.setSchema(Project::InstanceRow, 0, 1);
    ParameterStore store;
    ConsoleState state;
    ParameterPanel panel(store, project, state, ParameterCatalogue::standard(), QLocale(QLocale::Russian));
    state.BLOCK_SELECT_TYPE = MUL;
    panel.label_Parametr();
    panel.keyPressed(0);
    EXPECT_TRUE(panel.textChanged(0, " 1,5 ").ok());
    EXPECT_EQ(store.PARAMETR_MUL.value(0, 0), 1.5f);
    panel.keyPressed(1);
    EXPECT_TRUE(panel.textChanged(1, "-0.25").ok()) << "a point cannot be a group separator here";
    EXPECT_EQ(store.PARAMETR_MUL.value(0, 1), -0.25f);
    panel.reload();
    EXPECT_EQ(panel.row(0).text, "1,5");
    EXPECT_EQ(panel.row(1).text, "-0,25");
}

TEST(PanelNumbers, FormatKeepsSevenSignificantDigits) {
    const NumberText n(QLocale::c());
    EXPECT_EQ(n.format(0.1f), "0.1");
    EXPECT_EQ(n.format(1234567.0f), "1234567");
    EXPECT_EQ(n.format(-0.0f), "0");
    EXPECT_EQ(n.format(12345678.0f), "1.234568e+07");
    EXPECT_FALSE(n.parseNumber("1e39"));
    EXPECT_FALSE(n.parseNumber("inf"));
    EXPECT_FALSE(n.parseNumber(""));
    EXPECT_FALSE(n.parseNumber("1,000"));
}

TEST_F(PanelFixture, ScreenKeyFieldFollowsTheKeyForEveryInstance) {
    place(7, SCA, 2);
    store.PARAMETR_SCA.setElement(8 + 24 * 1 + 5, 42.0f);
    layOut(7);
    panel.choose(0, 1);
    EXPECT_EQ(panel.row(2).text, "0");
    panel.choose(1, 5);
    EXPECT_EQ(panel.row(2).text, "42");
}
