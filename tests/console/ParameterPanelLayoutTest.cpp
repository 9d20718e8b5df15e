// Laying out the panel of a block and following its selectors.
#include "PanelFixture.h"

using namespace z5;
using z5::test::PanelFixture;

namespace {
using Rows = std::vector<int>;
}

TEST_F(PanelFixture, AnalogInputChannelThreeFollowsToTheNextInputBlock) {
    place(0, BlockType::A_I, 1);
    place(1, BlockType::A_I, 2);
    store.numbersA_I.setValue(0, 27, 2.5f);   // "Фильтр", channel 3, instance 1
    store.numbersA_I.setValue(1, 27, 4.0f);   // the same, instance 2
    store.numbersA_I.setValue(1, 3, 9.0f);    // "Тип входа" of channel 3: "ТХА"
    store.numbersA_I.setValue(1, 0, 7.0f);    // "Тип входа" of channel 0

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
    EXPECT_EQ(state.selectedChannel, 0) << "set when the panel is laid out, not by a choice";

    // A panel without a choice in row 1 between the two does not lose the channel.
    place(2, BlockType::PID, 1);
    layOut(2);
    layOut(1);
    EXPECT_EQ(panel.row(1).selected, 3);
    EXPECT_EQ(state.selectedChannel, 3);
    EXPECT_EQ(state.selectedInstance, 1);
    EXPECT_EQ(panel.row(0).selected, 1);
    EXPECT_EQ(panel.row(8).text, "4");
    EXPECT_EQ(panel.row(2).selected, 9);
    EXPECT_EQ(panel.row(2).items.at(9), "ТХА");

    type(8, "0.75");
    EXPECT_EQ(store.numbersA_I.value(1, 27), 0.75f);
    panel.choose(1, 0);
    EXPECT_EQ(panel.row(2).selected, 7);
    panel.choose(2, 3);
    EXPECT_EQ(store.numbersA_I.value(1, 0), 3.0f);
}

TEST_F(PanelFixture, AChannelBeyondTheNewListFallsBackToTheFirst) {
    place(0, BlockType::D_I, 1);
    place(1, BlockType::A_O, 1);
    layOut(0);
    panel.choose(1, 6);
    layOut(1);
    EXPECT_EQ(panel.row(1).items.size(), 4);
    EXPECT_EQ(panel.row(1).selected, 0);
    EXPECT_EQ(state.selectedChannel, 0);
}

TEST_F(PanelFixture, TheLockedInstanceRowIsUnlockedForOtherTypes) {
    place(0, BlockType::A_I, 1);
    place(1, BlockType::PID, 1);
    layOut(0);
    panel.choose(0, 5);
    EXPECT_EQ(panel.row(0).selected, 0) << "the instance number cannot be changed";
    EXPECT_FALSE(panel.row(0).choiceEnabled);
    layOut(1);
    EXPECT_TRUE(panel.row(0).choiceEnabled);
    EXPECT_EQ(panel.row(0).items, (QStringList{"Реле", "ПИД 1", "ПИД 2"}));
}

TEST_F(PanelFixture, ProgramStepThirtyOneAndItsStoredSelector) {
    place(2, BlockType::PRO, 1);
    layOut(2);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2, 3, 4}));
    EXPECT_EQ(panel.row(0).items.size(), 32);
    EXPECT_EQ(panel.row(0).items.at(31), "Программа 4 Шаг 8");
    panel.choose(0, 31);
    EXPECT_EQ(store.numbersPRO.value(0, 0), 31.0f);
    type(1, "1");
    type(2, "2");
    type(3, "3");
    panel.choose(4, 3);
    EXPECT_EQ(store.numbersPRO.value(0, 35), 1.0f);
    EXPECT_EQ(store.numbersPRO.value(0, 67), 2.0f);
    EXPECT_EQ(store.numbersPRO.value(0, 99), 3.0f);
    EXPECT_EQ(store.numbersPRO.value(0, 131), 3.0f);

    // The step comes back from the store the next time.
    layOut(2);
    EXPECT_EQ(panel.row(0).selected, 31);
    EXPECT_EQ(panel.row(3).text, "3");
    EXPECT_EQ(panel.row(4).selected, 3);
}

TEST_F(PanelFixture, TrendChannelThirtyOne) {
    place(5, BlockType::GRA, 1);
    layOut(5);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(panel.row(2).background, PanelRow::Background::Name);
    EXPECT_EQ(panel.row(5).background, PanelRow::Background::Name);
    panel.choose(0, 31);
    EXPECT_EQ(store.numbersGRA.value(1, 0), 31.0f);
    type(3, "-10");
    type(4, "110");
    type(5, "Дымовые газы");
    type(2, "Котельная");
    type(1, "5");
    EXPECT_EQ(store.numbersGRA.value(1, 32), -10.0f);
    EXPECT_EQ(store.numbersGRA.value(2, 32), 110.0f);
    EXPECT_EQ(store.trendTexts.element(32), "Дымовые газы");
    EXPECT_EQ(store.trendTexts.element(33), "Котельная");
    EXPECT_EQ(store.numbersGRA.value(0, 0), 5.0f);

    layOut(5);
    EXPECT_EQ(panel.row(0).selected, 31);
    EXPECT_EQ(panel.row(5).text, "Дымовые газы");
    panel.choose(0, 0);
    EXPECT_EQ(panel.row(5).text, "");
    EXPECT_EQ(panel.row(3).text, "0");
    EXPECT_EQ(panel.row(2).text, "Котельная") << "the title does not depend on the channel";
}

TEST_F(PanelFixture, ScreenPageEightKeyTwentyFour) {
    place(7, BlockType::SCA, 1);
    layOut(7);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2}));
    panel.choose(0, 7);
    panel.choose(1, 23);
    EXPECT_EQ(state.selectedScreenPage, 7);
    type(2, "12");
    EXPECT_EQ(store.numbersSCA.element(199), 12.0f);
    EXPECT_EQ(store.numbersSCA.element(8), 0.0f);

    // The page is remembered, the key starts over.
    layOut(7);
    EXPECT_EQ(panel.row(0).selected, 7);
    EXPECT_EQ(panel.row(1).selected, 0);
    EXPECT_EQ(panel.row(2).text, "0");
    panel.choose(1, 23);
    EXPECT_EQ(panel.row(2).text, "12");
}

TEST_F(PanelFixture, JournalEventThirtyTwoLeavesTheTrendStoreAlone) {
    place(0, BlockType::GRA, 1);
    place(1, BlockType::JUR, 1);
    store.numbersGRA.setValue(1, 0, 4.0f);   // the trend block's selected channel
    const ParameterStore::NumberTable trendBefore = store.numbersGRA;

    layOut(1);
    EXPECT_EQ(panel.row(0).selected, 0);
    panel.choose(0, 31);
    type(1, "Пламя");
    panel.choose(2, 5);
    type(3, "30");
    type(4, "200");
    EXPECT_EQ(store.journalTexts.element(31), "Пламя");
    EXPECT_EQ(store.numbersJUR.element(41), 5.0f);
    EXPECT_EQ(store.journalDelays.element(41), 200);
    EXPECT_EQ(store.numbersJUR.element(50), 30.0f);
    EXPECT_TRUE(store.numbersGRA == trendBefore) << "an event choice must not reach the trend block";

    layOut(0);
    EXPECT_EQ(panel.row(0).selected, 4);
}

TEST_F(PanelFixture, JournalDelayIsARoundedByte) {
    place(1, BlockType::JUR, 1);
    layOut(1);
    EXPECT_TRUE(type(4, "2.5").ok());
    EXPECT_EQ(store.journalDelays.element(10), 2);
    EXPECT_TRUE(type(4, "3.5").ok());
    EXPECT_EQ(store.journalDelays.element(10), 4);
    EXPECT_EQ(type(4, "255.5").rejectedRow, 4);
    EXPECT_EQ(type(4, "-1").rejectedRow, 4);
    EXPECT_EQ(store.journalDelays.element(10), 4);
    EXPECT_TRUE(type(4, "255").ok());
    EXPECT_EQ(store.journalDelays.element(10), 255);
    layOut(1);
    EXPECT_EQ(panel.row(4).text, "255");
}

TEST_F(PanelFixture, BlocksWithoutParametersShowAnEmptyPanel) {
    for (int type : {BlockType::ABS, BlockType::XOR, BlockType::TRI}) {
        place(3, type, 1);
        layOut(3);
        EXPECT_TRUE(visibleRows().empty()) << type;
    }
    // A column that holds no block.
    state.selectedColumn = 50;
    state.selectedType = BlockType::MUL;
    panel.layOutForSelectedBlock();
    EXPECT_TRUE(visibleRows().empty());
    EXPECT_FALSE(panel.isLaidOut());
}

TEST_F(PanelFixture, StoredChoiceCodesRoundHalfToEven) {
    place(0, BlockType::PID, 1);
    store.numbersPID.setValue(0, 0, 2.5f);
    layOut(0);
    EXPECT_EQ(panel.row(0).selected, 2);
    store.numbersPID.setValue(0, 0, 1.5f);
    layOut(0);
    EXPECT_EQ(panel.row(0).selected, 2);
    EXPECT_EQ(store.numbersPID.value(0, 0), 1.5f) << "showing a value does not store it";
    // A code beyond the list, as a hand-made file may hold, selects nothing.
    store.numbersPID.setValue(0, 0, 20.0f);
    layOut(0);
    EXPECT_EQ(panel.row(0).selected, -1);
    EXPECT_EQ(visibleRows().size(), 9u) << "the rest of the panel is laid out all the same";
}

TEST_F(PanelFixture, ChoicesOfALinkBlockStoreNothing) {
    place(0, BlockType::RS4, 1);
    const ParameterStore before = store;
    layOut(0);
    EXPECT_EQ(visibleRows(), (Rows{0, 1, 2}));
    EXPECT_FALSE(panel.row(0).choiceEnabled);
    panel.choose(0, 5);
    panel.choose(1, 4);
    panel.choose(2, 1);
    EXPECT_EQ(panel.row(1).selected, -1) << "a choice that goes nowhere is not shown as made";
    EXPECT_TRUE(store == before);
}

TEST_F(PanelFixture, SetpointNamesAreTintedTextFields) {
    place(13, BlockType::S_P, 3);
    layOut(13);
    EXPECT_EQ(visibleRows().size(), 17u);
    EXPECT_EQ(panel.row(16).caption, "Имя блока");
    EXPECT_EQ(panel.row(16).background, PanelRow::Background::Name);
    EXPECT_EQ(panel.row(15).background, PanelRow::Background::White);
    type(16, "Котёл");
    type(15, "80");
    EXPECT_EQ(store.setpointNames.value(2, 8), "Котёл");
    EXPECT_EQ(store.numbersS_P.value(2, 7), 80.0f);
}

TEST_F(PanelFixture, ReloadShowsWhatTheStoreNowHolds) {
    place(0, BlockType::MUL, 2);
    layOut(0);
    store.numbersMUL.setValue(1, 2, 1.25f);
    EXPECT_EQ(panel.row(2).text, "0");
    panel.reload();
    EXPECT_EQ(panel.row(2).text, "1.25");
}

TEST_F(PanelFixture, HidingTheRowsKeepsWhatWasLaidOut) {
    place(0, BlockType::MUL, 1);
    layOut(0);
    panel.hideRows();
    EXPECT_TRUE(visibleRows().empty());
    EXPECT_EQ(panel.row(0).caption, "Усиление 1");
}

TEST(PanelNumbers, TheUsersDecimalSeparatorIsReadAndShown) {
    Project project;
    project.setSchema(Project::TypeRow, 0, BlockType::MUL);
    project.setSchema(Project::InstanceRow, 0, 1);
    ParameterStore store;
    ConsoleState state;
    ParameterPanel panel(store, project, state, ParameterCatalogue::standard(), QLocale(QLocale::Russian));
    state.selectedType = BlockType::MUL;
    panel.layOutForSelectedBlock();
    panel.keyPressed(0);
    panel.textChanged(0, " 1,5 ");
    EXPECT_TRUE(panel.finishEdit(0).ok());
    EXPECT_EQ(store.numbersMUL.value(0, 0), 1.5f);
    panel.keyPressed(1);
    panel.textChanged(1, "-0.25");
    EXPECT_TRUE(panel.finishEdit(1).ok()) << "a point cannot be a group separator here";
    EXPECT_EQ(store.numbersMUL.value(0, 1), -0.25f);
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
    place(7, BlockType::SCA, 2);
    store.numbersSCA.setElement(8 + 24 * 1 + 5, 42.0f);
    layOut(7);
    panel.choose(0, 1);
    EXPECT_EQ(panel.row(2).text, "0");
    panel.choose(1, 5);
    EXPECT_EQ(panel.row(2).text, "42");
}
