// What an edit stores, in which order, and what a text that does not convert does.
#include "PanelFixture.h"
#include "console/StoringOrder.h"
#include <functional>

using namespace z5;
using z5::test::PanelFixture;

namespace {
using Rows = std::vector<int>;
}

TEST(StoringOrder, FieldsEachTypeConvertsOnAnEdit) {
    struct Case {
        int type;
        int row;
        Rows rows;
    };
    const Case cases[] = {
        {BlockType::A_I, 5, {5}},          {BlockType::A_I, 1, {}},           {BlockType::A_O, 3, {3}},
        {BlockType::MUL, 2, {2}},          {BlockType::S_P, 16, {16}},        {BlockType::PID, 1, {1, 2}},
        {BlockType::PID, 4, {1, 2, 4}},    {BlockType::PRO, 2, {1, 2, 3}},    {BlockType::PAN, 3, {3, 6, 7}},
        {BlockType::PAN, 7, {6, 7}},       {BlockType::OSC, 4, {1, 2, 3, 4, 5, 6, 7, 8}},
        {BlockType::GRA, 1, {3, 4, 5, 2, 1}}, {BlockType::JUR, 4, {1, 3, 4}}, {BlockType::SCA, 2, {2}},
        {BlockType::LOG, 2, {3, 2}},       {BlockType::MOT, 0, {1, 2}},       {BlockType::UNI, 3, {1, 2, 3, 4}},
        {BlockType::D_O, 2, {}},           {BlockType::AND, 0, {}},           {BlockType::RS4, 1, {}},
    };
    for (const Case &c : cases) EXPECT_EQ(StoringOrder::rowsFor(c.type, c.row), c.rows) << c.type << "/" << c.row;
}

TEST_F(PanelFixture, TextsSetByTheProgramAreNeverStored) {
    place(0, BlockType::MUL, 1);
    layOut(0);
    const ParameterPanel::EditResult r = panel.textChanged(0, "42");
    EXPECT_FALSE(r.handled);
    EXPECT_EQ(store.numbersMUL.value(0, 0), 0.0f);
    EXPECT_EQ(panel.row(0).text, "42");
    EXPECT_EQ(state.textKeyPending, 0);

    panel.keyPressed(0);
    EXPECT_EQ(state.textKeyPending, 1);
    EXPECT_TRUE(panel.textChanged(0, "42").handled);
    EXPECT_EQ(state.textKeyPending, 0);
    EXPECT_EQ(store.numbersMUL.value(0, 0), 0.0f) << "not before the field is left";
    EXPECT_EQ(panel.finishEdit(0).storedRows, std::vector<int>{0});
    EXPECT_EQ(store.numbersMUL.value(0, 0), 42.0f);
}

TEST_F(PanelFixture, ALetterInANumberFieldIsMarkedAndNotStored) {
    place(0, BlockType::CMP, 1);
    layOut(0);
    ASSERT_TRUE(type(1, "3").ok());
    const ParameterPanel::EditResult r = type(1, "3x");
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(r.rejectedRow, 1);
    EXPECT_TRUE(panel.row(1).rejected);
    EXPECT_EQ(store.numbersCMP.value(0, 1), 3.0f);
    EXPECT_EQ(state.textKeyPending, 0);

    // As soon as the field holds a number again, that number is stored.
    EXPECT_TRUE(type(1, "3.25").ok());
    EXPECT_FALSE(panel.row(1).rejected);
    EXPECT_EQ(store.numbersCMP.value(0, 1), 3.25f);

    // An emptied field is no number either.
    EXPECT_EQ(type(1, "").rejectedRow, 1);
    EXPECT_EQ(store.numbersCMP.value(0, 1), 3.25f);
}

TEST_F(PanelFixture, APidPeriodThatIsNoNumberStopsEveryLaterField) {
    place(0, BlockType::PID, 1);
    store.numbersPID.setValue(0, 4, 1.0f);
    store.numbersPID.setValue(0, 1, 0.5f);
    layOut(0);
    EXPECT_EQ(type(1, "abc").rejectedRow, 1);

    const ParameterPanel::EditResult r = type(3, "2.5");  // "КП 1"
    EXPECT_EQ(r.rejectedRow, 1) << "the period is converted first";
    EXPECT_TRUE(r.storedRows.empty());
    EXPECT_EQ(store.numbersPID.value(0, 4), 1.0f);
    EXPECT_EQ(store.numbersPID.value(0, 1), 0.5f);
    EXPECT_TRUE(panel.row(1).rejected);
    EXPECT_TRUE(panel.row(3).rejected);
    EXPECT_EQ(panel.row(3).notStoredReason, QStringLiteral("сначала исправьте «Период»"));

    // Mending the period stores it and the limit, but not the gain typed before.
    const ParameterPanel::EditResult fixed = type(1, "10");
    EXPECT_EQ(fixed.storedRows, (Rows{1, 2}));
    EXPECT_EQ(store.numbersPID.value(0, 4), 10.0f);
    EXPECT_EQ(store.numbersPID.value(0, 1), 0.5f);
    EXPECT_FALSE(panel.row(1).rejected);
    EXPECT_TRUE(panel.row(3).rejected);
    EXPECT_EQ(panel.row(3).notStoredReason, QStringLiteral("не сохранено, введите значение снова"));
    EXPECT_EQ(type(3, "2.5").storedRows, (Rows{1, 2, 3}));
    EXPECT_FALSE(panel.row(3).rejected);
    EXPECT_EQ(store.numbersPID.value(0, 1), 2.5f);
}

TEST_F(PanelFixture, OscillatorStoresItsFieldsInOrderUpToTheFirstBadOne) {
    place(0, BlockType::OSC, 1);
    for (int row : {1, 2, 8, 9, 15, 16, 22, 23}) store.numbersOSC.setValue(0, row, 1.0f);
    layOut(0);
    // Fields 1..8 hold "1"; field 5 is spoiled, then field 2 is edited.
    panel.textChanged(5, "x");  // set without a key: not an edit
    const ParameterPanel::EditResult r = type(2, "7");
    EXPECT_EQ(r.storedRows, (Rows{1, 2, 3, 4}));
    EXPECT_EQ(r.rejectedRow, 5);
    EXPECT_EQ(store.numbersOSC.value(0, 2), 7.0f);
    EXPECT_EQ(store.numbersOSC.value(0, 15), 1.0f);
    // Fields after the bad one keep their old values even when their text changed.
    panel.textChanged(8, "9");
    type(1, "2");
    EXPECT_EQ(store.numbersOSC.value(0, 23), 1.0f);
    EXPECT_EQ(store.numbersOSC.value(0, 1), 2.0f);
}

TEST_F(PanelFixture, TrendFieldsGoChannelFirstThenTitleThenPolling) {
    place(0, BlockType::GRA, 1);
    layOut(0);
    panel.textChanged(1, "fast");   // "Опрос" spoiled without a key
    panel.textChanged(4, "100");
    const ParameterPanel::EditResult r = type(2, "Котёл");
    EXPECT_EQ(r.storedRows, (Rows{3, 4, 5, 2}));
    EXPECT_EQ(r.rejectedRow, 1);
    EXPECT_EQ(store.numbersGRA.value(2, 1), 100.0f);
    EXPECT_EQ(store.trendTexts.element(33), "Котёл");

    panel.textChanged(3, "low");
    const ParameterPanel::EditResult r2 = type(1, "2");
    EXPECT_EQ(r2.rejectedRow, 3);
    EXPECT_TRUE(r2.storedRows.empty());
    EXPECT_EQ(store.numbersGRA.value(0, 0), 0.0f);
}

TEST_F(PanelFixture, ChannelLogicStoresDelayBeforeParameter) {
    place(0, BlockType::LOG, 2);
    layOut(0);
    panel.choose(0, 2);
    panel.textChanged(3, "?");
    EXPECT_EQ(type(2, "5").rejectedRow, 3);
    EXPECT_EQ(store.numbersLOG.value(1, 5), 0.0f);
    panel.textChanged(3, "1.5");
    EXPECT_EQ(type(2, "5").storedRows, (Rows{3, 2}));
    EXPECT_EQ(store.numbersLOG.value(1, 8), 1.5f);
    EXPECT_EQ(store.numbersLOG.value(1, 5), 5.0f);
}

TEST_F(PanelFixture, PanelNamesAndSetpoints) {
    place(0, BlockType::PAN, 1);
    layOut(0);
    EXPECT_EQ(type(1, "Горелка").storedRows, (Rows{1, 6, 7}));
    EXPECT_EQ(store.panelTexts.value(0, 0), "Горелка");
    EXPECT_EQ(type(7, "20").storedRows, (Rows{6, 7}));
    EXPECT_EQ(store.numbersPAN.value(0, 6), 20.0f);
}

TEST_F(PanelFixture, MotorNetworkNumberGoesNowhere) {
    place(0, BlockType::MOT, 1);
    layOut(0);
    const ParameterStore before = store;
    // The number is read-only: typing into it is no edit and stores nothing.
    EXPECT_FALSE(type(0, "17").handled);
    EXPECT_TRUE(panel.row(0).text.isEmpty());
    EXPECT_TRUE(store == before);
    EXPECT_EQ(type(2, "3").storedRows, (Rows{1, 2}));
    EXPECT_EQ(store.numbersMOT.value(0, 3), 3.0f);
}

TEST_F(PanelFixture, AFieldNotStoredSaysWhy) {
    struct Case {
        int type;
        int row;
        const char *text;
        const char *reason;
    };
    const Case cases[] = {
        {BlockType::CMP, 1, "3x", "не число"},
        {BlockType::CMP, 1, "", "не число"},
        {BlockType::CMP, 1, "1e39", "вне диапазона"},
        {BlockType::JUR, 4, "256", "вне диапазона 0..255"},
        {BlockType::JUR, 4, "-1", "вне диапазона 0..255"},
        {BlockType::JUR, 4, "abc", "не число"},
    };
    place(0, BlockType::CMP, 1);
    place(1, BlockType::JUR, 1);
    for (const Case &c : cases) {
        layOut(c.type == BlockType::JUR ? 1 : 0);
        EXPECT_EQ(type(c.row, c.text).rejectedRow, c.row) << c.text;
        EXPECT_EQ(panel.row(c.row).notStoredReason, QString::fromUtf8(c.reason)) << c.text;
        EXPECT_TRUE(type(c.row, "1").ok());
        EXPECT_TRUE(panel.row(c.row).notStoredReason.isEmpty());
    }
}

TEST_F(PanelFixture, OnlyFieldsWhoseTextTheStoreLacksWaitForTheBadOne) {
    place(0, BlockType::PID, 1);
    store.numbersPID.setValue(0, 2, 3.0f);
    layOut(0);
    EXPECT_EQ(type(1, "x").rejectedRow, 1);
    panel.textChanged(5, "9");  // set without a key: not an edit, yet not stored either
    EXPECT_EQ(type(4, "3").rejectedRow, 1);
    // "ТИ 1" shows what the store holds: nothing waits there.
    EXPECT_FALSE(panel.row(4).rejected);
    EXPECT_FALSE(panel.row(5).rejected) << "only the fields of this edit's storing order";
    EXPECT_EQ(type(4, "4").rejectedRow, 1);
    EXPECT_EQ(panel.row(4).notStoredReason, QStringLiteral("сначала исправьте «Период»"));
    // Laying the panel out again shows the store and drops every flag.
    layOut(0);
    for (int r = 0; r < ParameterPanel::kRows; ++r) EXPECT_FALSE(panel.row(r).rejected) << r;
}

// Nothing is stored while the user types, and a text refused when he leaves the
// field keeps the value from before the edit in the store, whatever an earlier
// keystroke spelled; Esc brings the stored value back.
TEST_F(PanelFixture, OnlyAWholeValidTextIsStored) {
    struct Case {
        const char *what;
        int type;
        int row;
        QString typed;
        bool refused;
        std::function<QString(const ParameterStore &)> stored;
        QString before;
    };
    const auto jurDelay = [](const ParameterStore &s) { return QString::number(s.journalDelays.element(10)); };
    const Case cases[] = {
        {"byte past 255", BlockType::JUR, 4, "300", true, jurDelay, "7"},
        {"byte", BlockType::JUR, 4, "30", false, jurDelay, "7"},
        {"number past the wire", BlockType::PID, 2, "1e39", true,
         [](const ParameterStore &s) { return QString::number(s.numbersPID.value(0, 11)); }, "1000"},
        {"number with a letter", BlockType::CMP, 1, "12x", true,
         [](const ParameterStore &s) { return QString::number(s.numbersCMP.value(0, 1)); }, "5"},
        {"setpoint", BlockType::S_P, 3, "250.5", false,
         [](const ParameterStore &s) { return QString::number(s.numbersS_P.value(0, 1)); }, "5"},
        {"name", BlockType::PAN, 1, "Горелка", false, [](const ParameterStore &s) { return s.panelTexts.value(0, 0); },
         "Котёл"},
    };
    for (const Case &c : cases) {
        store = ParameterStore{};
        store.journalDelays.setElement(10, 7);
        store.numbersPID.setValue(0, 11, 1000.0f);
        store.numbersCMP.setValue(0, 1, 5.0f);
        store.numbersS_P.setValue(0, 1, 5.0f);
        store.panelTexts.setValue(0, 0, "Котёл");
        project = Project{};
        place(0, c.type, 1);
        layOut(0);
        ASSERT_EQ(c.stored(store), c.before) << c.what;
        typeKeys(c.row, c.typed);
        EXPECT_EQ(c.stored(store), c.before) << c.what << ": nothing while typing";
        EXPECT_TRUE(panel.row(c.row).editing) << c.what;
        const ParameterPanel::EditResult r = panel.finishEdit(c.row);
        EXPECT_EQ(r.rejectedRow >= 0, c.refused) << c.what;
        EXPECT_EQ(panel.row(c.row).text, c.typed) << c.what << ": the text stays as typed";
        if (c.refused) {
            EXPECT_EQ(c.stored(store), c.before) << c.what;
            EXPECT_EQ(panel.refusedRows(), std::vector<int>{c.row}) << c.what;
            panel.revertEdit(c.row);   // Esc
            EXPECT_FALSE(panel.row(c.row).rejected) << c.what;
            EXPECT_EQ(c.stored(store), c.before) << c.what;
            EXPECT_EQ(panel.row(c.row).text, c.before) << c.what;
        } else {
            EXPECT_EQ(c.stored(store), c.typed) << c.what;
            EXPECT_TRUE(panel.refusedRows().empty()) << c.what;
        }
        // Esc while typing drops the edit; leaving the field afterwards stores nothing.
        typeKeys(c.row, "9");
        const QString kept = c.stored(store);
        panel.revertEdit(c.row);
        EXPECT_FALSE(panel.finishEdit(c.row).handled) << c.what;
        EXPECT_EQ(c.stored(store), kept) << c.what;
    }
}

// A value read from the controller never lands in a field the user is typing.
TEST_F(PanelFixture, AValueReadLeavesAFieldBeingTypedAlone) {
    place(0, BlockType::S_P, 1);
    layOut(0);
    typeKeys(1, "55");
    panel.showText(1, "12");
    EXPECT_EQ(panel.row(1).text, "55");
    panel.finishEdit(1);
    EXPECT_EQ(store.numbersS_P.value(0, 0), 55.0f);
    panel.showText(1, "12");
    EXPECT_EQ(panel.row(1).text, "12");
}
