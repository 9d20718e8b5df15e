// The live view without a window: reply bytes to value-table rows, panel faces
// and keys, the setpoint fields and the automatic refresh.
#include "PanelFixture.h"
#include "model/BlockCatalogue.h"
#include "console/LiveRefresh.h"
#include "console/LiveView.h"
#include "console/PanelKeys.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>
#include <cstring>

namespace z5::test {
namespace {

// A reply whose rows hold the given values (value x 1000, least significant byte first).
struct Reply {
    QByteArray bytes = QByteArray(260, '\0');
    Reply &put(int offset, int row, double value) {
        const qint32 raw = static_cast<qint32>(value * 1000.0);
        for (int i = 0; i < 4; ++i) bytes[offset + 4 * row + i] = static_cast<char>((raw >> (8 * i)) & 0xFF);
        return *this;
    }
    Reply &first(int row, double v) { return put(2, row, v); }
    Reply &second(int row, double v) { return put(130, row, v); }
    Reply &third(int row, double v) { return put(162, row, v); }
};

struct LiveViewTest : PanelFixture {
    LiveView view{project, store, panel, ParameterCatalogue::standard(), QLocale::c()};
};

TEST_F(LiveViewTest, BytesE8030000InTheSecondValueShowOneInTheRightColumn) {
    place(4, BlockType::PID, 1);
    view.beginRead(4, BlockType::PID);
    QByteArray reply(260, '\0');
    reply[130] = char(0xE8);
    reply[131] = 0x03;
    ASSERT_EQ(view.showReply(reply), LiveView::Shows::Table);
    const auto &row0 = view.table().rows().at(0);
    EXPECT_EQ(row0.top, 15);
    EXPECT_TRUE(row0.hasRight);
    EXPECT_EQ(row0.right.value, QStringLiteral("1"));
    EXPECT_EQ(row0.left.value, QStringLiteral("0"));
    EXPECT_EQ(view.table().rows().at(7).top, 15 + 13 * 7);
}

struct ColumnsRow {
    int type;
    bool right;          // the right column is filled
    double left, rightValue;
};
void PrintTo(const ColumnsRow &row, std::ostream *os) { *os << BlockCatalogue::mnemonic(row.type).toStdString(); }

struct ValueColumns : LiveViewTest, ::testing::WithParamInterface<ColumnsRow> {};

TEST_P(ValueColumns, EachTypeFillsItsColumnsFromItsValues) {
    const ColumnsRow c = GetParam();
    place(2, c.type, 1);
    view.beginRead(2, c.type);
    Reply r;
    r.first(3, 11).second(3, 22).third(3, 33);
    view.showReply(r.bytes);
    ASSERT_EQ(view.table().rows().size(), 8u);
    const auto &row = view.table().rows()[3];
    EXPECT_EQ(row.left.number, c.left);
    EXPECT_EQ(row.hasRight, c.right);
    if (c.right) {
        EXPECT_EQ(row.right.number, c.rightValue);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ValueColumns,
                         ::testing::Values(ColumnsRow{BlockType::A_I, true, 22, 33},    // measured value, raw signal
                                           ColumnsRow{BlockType::A_O, false, 11, 0},    // left column only
                                           ColumnsRow{BlockType::D_O, false, 11, 0},
                                           ColumnsRow{BlockType::D_I, true, 11, 22},
                                           ColumnsRow{BlockType::RS4, true, 11, 22},    // shares code 5 with the commands
                                           ColumnsRow{BlockType::MUL, true, 11, 22}));

TEST_F(LiveViewTest, LabelsComeFromThePinNamesWithoutTheirPadding) {
    place(0, BlockType::A_I, 1);
    view.beginRead(0, BlockType::A_I);
    view.showReply(Reply().bytes);
    const auto &row = view.table().rows()[0];
    const QString name = ParameterCatalogue::standard().signalName(BlockType::A_I, 0, SignalSide::Output).trimmed();
    ASSERT_FALSE(name.isEmpty());
    EXPECT_EQ(row.left.label, name);
    EXPECT_EQ(row.right.label, name);
}

TEST_F(LiveViewTest, ATypeOutsideTheCatalogueShowsValuesWithoutLabels) {
    for (int type : {0, 34, 35, 200}) {
        const ValueTable t = ValueTable::fromReply(Reply().first(0, 5).bytes, type, ParameterCatalogue::standard(),
                                                   NumberText(QLocale::c()));
        ASSERT_EQ(t.rows().size(), 8u) << type;
        EXPECT_TRUE(t.rows()[0].left.label.isEmpty()) << type;
        EXPECT_EQ(t.rows()[0].left.value, QStringLiteral("5")) << type;
    }
}

TEST_F(LiveViewTest, AShortReplyReadsItsMissingValuesAsZero) {
    const ValueTable t = ValueTable::fromReply(QByteArray(10, char(0x7F)), BlockType::MUL, ParameterCatalogue::standard(),
                                               NumberText(QLocale::c()));
    ASSERT_EQ(t.rows().size(), 8u);
    EXPECT_EQ(t.rows()[7].right.number, 0.0);
}

TEST_F(LiveViewTest, HeadingNamesDesignatorMnemonicAndInstance) {
    place(4, BlockType::PID, 1);
    place(10, BlockType::S_P, 12);
    EXPECT_EQ(LiveView::headingOf(project, 4), QStringLiteral("U05 PID 1"));
    EXPECT_EQ(LiveView::headingOf(project, 10), QStringLiteral("U11 S_P 12"));
    EXPECT_TRUE(LiveView::headingOf(project, 50).isEmpty());
    EXPECT_TRUE(LiveView::headingOf(project, 100).isEmpty());
}

// Setpoint programmer: the second value of row k belongs in "Задатчик k+1".
TEST_F(LiveViewTest, SetpointValuesGoIntoTheNumberFieldsNeverIntoTheNames) {
    place(6, BlockType::S_P, 2);
    store.setText({StoreTable::SetpointNames, 0, 1, 0}, QStringLiteral("Темп"));
    layOut(6);
    view.beginRead(6, BlockType::S_P);
    Reply r;
    for (int k = 0; k < 8; ++k) r.second(k, 10 * (k + 1) + 0.5);
    ASSERT_EQ(view.showReply(r.bytes), LiveView::Shows::Setpoints);
    EXPECT_EQ(panel.row(0).text, QStringLiteral("Темп"));
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(panel.row(2 * k + 1).caption, QStringLiteral("Задатчик %1").arg(k + 1));
        EXPECT_EQ(panel.row(2 * k + 1).text, QString::number(10 * (k + 1) + 0.5)) << k;
    }
    // Shown, not yet stored.
    EXPECT_EQ(store.number({StoreTable::Numbers, BlockType::S_P, 1, 0}), 0.0f);
}

TEST_F(LiveViewTest, TheShownSetpointsAreStoredAllOrNoneBeforeTheyAreSent) {
    place(6, BlockType::S_P, 1);
    layOut(6);
    view.beginRead(6, BlockType::S_P);
    Reply r;
    for (int k = 0; k < 8; ++k) r.second(k, k + 1);
    view.showReply(r.bytes);
    type(5, QStringLiteral("7.25"));   // the user's edit is stored at once
    panel.showText(9, QStringLiteral("abc"));
    EXPECT_EQ(view.storeShownSetpoints(6), 9);
    EXPECT_TRUE(panel.row(9).rejected);
    EXPECT_EQ(store.number({StoreTable::Numbers, BlockType::S_P, 0, 0}), 0.0f);  // none of the shown ones
    panel.showText(9, QStringLiteral("5"));
    EXPECT_EQ(view.storeShownSetpoints(6), -1);
    const float expected[8] = {1, 2, 7.25f, 4, 5, 6, 7, 8};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(store.number({StoreTable::Numbers, BlockType::S_P, 0, k}), expected[k]) << k;
}

TEST_F(LiveViewTest, SetpointsOfAnotherBlockOnThePanelAreNeitherShownNorStored) {
    place(6, BlockType::S_P, 1);
    place(7, BlockType::PID, 1);
    layOut(6);
    view.beginRead(6, BlockType::S_P);
    layOut(7);   // a right click elsewhere before the reply
    view.showReply(Reply().second(0, 3).bytes);
    EXPECT_NE(panel.row(1).text, QStringLiteral("3"));
    EXPECT_EQ(view.storeShownSetpoints(6), -1);
    EXPECT_EQ(store.number({StoreTable::Numbers, BlockType::S_P, 0, 0}), 0.0f);
}

// Lamps per layout: row, second value, first value -> the lamp drawn.
struct LampRow {
    int layout;
    int row;
    double first, second;
    PanelFace::Lamp lamp;
};
void PrintTo(const LampRow &row, std::ostream *os) { *os << "layout " << row.layout << " row " << row.row; }

struct PanelLamps : ::testing::TestWithParam<LampRow> {};

TEST_P(PanelLamps, ARowLightsItsLampAtTheLayoutsPlace) {
    const LampRow c = GetParam();
    const PanelFace face = PanelFace::fromReply(Reply().first(c.row, c.first).second(c.row, c.second).bytes,
                                                c.layout, NumberText(QLocale::c()));
    const auto &lamps = face.lamps();
    EXPECT_NE(std::find(lamps.begin(), lamps.end(), c.lamp), lamps.end())
        << "layout " << c.layout << " row " << c.row;
}

using C = PanelFace::Colour;
INSTANTIATE_TEST_SUITE_P(
    Rows, PanelLamps,
    ::testing::Values(LampRow{1, 0, 0, 1, {{24, 57}, 3, C::Red}}, LampRow{1, 1, 0, 1, {{24, 10}, 3, C::Red}},
                      LampRow{1, 7, 0, 1, {{180, 10}, 3, C::Red}}, LampRow{2, 4, 0, 1, {{128, 57}, 3, C::Red}},
                      LampRow{0, 0, 0, 1, {{23, 52}, 3, C::Green}}, LampRow{0, 6, 0, 0, {{179, 52}, 2, C::DarkGreen}},
                      LampRow{0, 4, 1, 0, {{23, 32}, 3, C::Red}}, LampRow{0, 7, 0, 0, {{179, 32}, 2, C::DarkRed}},
                      LampRow{3, 0, 0, 2, {{51, 70}, 3, C::Red}}, LampRow{3, 0, 0, 0, {{51, 70}, 2, C::DarkRed}}));

TEST(PanelFaceTest, LayoutOneLightsOnlyOnAValueOfExactlyOne) {
    const PanelFace face = PanelFace::fromReply(Reply().second(0, 2).second(1, 1).bytes, 1, NumberText(QLocale::c()));
    ASSERT_EQ(face.lamps().size(), 1u);
    EXPECT_EQ(face.lamps()[0].centre, QPoint(24, 10));
}

TEST(PanelFaceTest, TheThirdPictureSetsItsSwitchesFromTheOddRows) {
    const PanelFace face = PanelFace::fromReply(Reply().second(1, 1).second(5, 3).bytes, 2, NumberText(QLocale::c()));
    EXPECT_EQ(face.switches()[0], true);
    EXPECT_EQ(face.switches()[1], false);
    EXPECT_EQ(face.switches()[2], false);   // only exactly 1 is on
    EXPECT_TRUE(face.lamps().empty());
}

TEST(PanelFaceTest, PrintedValuesSitInsideThePicture) {
    const NumberText numbers(QLocale::c());
    for (int layout : {0, 4}) {
        const PanelFace face = PanelFace::fromReply(Reply().first(0, 12.5).first(3, -1).first(7, 3).bytes, layout, numbers);
        // All eight rows, the last four on a second line, none outside the picture.
        ASSERT_EQ(face.prints().size(), 8u) << layout;
        EXPECT_EQ(face.prints()[0].topLeft, QPoint(5, 5));
        EXPECT_EQ(face.prints()[0].text, QStringLiteral("12.5"));
        EXPECT_EQ(face.prints()[3].topLeft, QPoint(161, 5));
        EXPECT_EQ(face.prints()[4].topLeft, QPoint(5, 16));
        EXPECT_EQ(face.prints()[7].topLeft, QPoint(161, 16));
        EXPECT_EQ(face.prints()[7].text, QStringLiteral("3"));
        for (const PanelFace::Print &p : face.prints()) EXPECT_LT(p.topLeft.x(), PanelKeys::kWidth - 30);
    }
    const PanelFace three = PanelFace::fromReply(Reply().second(2, 7).second(4, 8).bytes, 3, numbers);
    ASSERT_EQ(three.prints().size(), 2u);
    EXPECT_EQ(three.prints()[0].topLeft, QPoint(5, 17));
    EXPECT_EQ(three.prints()[1].text, QStringLiteral("8"));
    EXPECT_EQ(three.prints()[1].colour, PanelFace::Colour::Yellow);
}

TEST(PanelFaceTest, OnlyWholeNumbersZeroToFourNameALayout) {
    EXPECT_EQ(PanelFace::layoutOf(0.0f), 0);
    EXPECT_EQ(PanelFace::layoutOf(4.0f), 4);
    EXPECT_FALSE(PanelFace::layoutOf(1.5f));
    EXPECT_FALSE(PanelFace::layoutOf(5.0f));
    EXPECT_FALSE(PanelFace::layoutOf(-1.0f));
    EXPECT_TRUE(PanelFace::fromReply(Reply().second(0, 1).bytes, 7, NumberText()).lamps().empty());
}

struct KeyRow {
    double x, y;
    int key;
};
void PrintTo(const KeyRow &row, std::ostream *os) { *os << "key " << row.key << " at " << row.x << "," << row.y; }
struct KeyUnderPoint : ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyUnderPoint, FindsTheKeyOrNone) {
    const KeyRow c = GetParam();
    EXPECT_EQ(PanelKeys::keyAt(c.x, c.y), c.key) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyUnderPoint,
                         ::testing::Values(KeyRow{20, 120, 1}, KeyRow{170, 20, 12}, KeyRow{50, 20, 100},
                                           KeyRow{80, 70, 6}, KeyRow{130, 130, 3},
                                           KeyRow{20, 50, 100},    // between the top and middle rows
                                           KeyRow{20, 100, 100},   // between the middle and bottom rows
                                           KeyRow{10, 20, 100}, KeyRow{38, 20, 100},  // band edges are outside
                                           KeyRow{20, 15, 100}, KeyRow{20, 140, 100}));

TEST(PanelKeysTest, EachPictureAcceptsItsKeys) {
    std::array<bool, 4> off{};
    EXPECT_FALSE(PanelKeys::accepts(3, 7, off));
    EXPECT_TRUE(PanelKeys::accepts(3, 5, off));
    EXPECT_TRUE(PanelKeys::accepts(3, 6, off));
    EXPECT_TRUE(PanelKeys::accepts(0, 8, off));
    EXPECT_FALSE(PanelKeys::accepts(0, 9, off));
    EXPECT_FALSE(PanelKeys::accepts(4, 12, off));
    EXPECT_TRUE(PanelKeys::accepts(1, 12, off));
    EXPECT_FALSE(PanelKeys::accepts(1, PanelKeys::kNoKey, off));
    // The third picture refuses the keys of a column whose switch is on.
    std::array<bool, 4> second{{false, true, false, false}};
    EXPECT_FALSE(PanelKeys::accepts(2, 2, second));
    EXPECT_FALSE(PanelKeys::accepts(2, 6, second));
    EXPECT_TRUE(PanelKeys::accepts(2, 3, second));
}

TEST(PanelKeysTest, EveryDrawnKeyAnswersAClickAtItsCentre) {
    for (int layout = 0; layout < 5; ++layout)
        for (int key : PanelKeys::drawnKeys(layout)) {
            const QPoint c = PanelKeys::keyRect(key).center();
            EXPECT_EQ(PanelKeys::keyAt(c.x(), c.y()), key) << layout;
        }
}

TEST_F(LiveViewTest, APanelClickSendsTheKeyUnderItOrNothing) {
    place(9, BlockType::PAN, 1);
    store.setNumber({StoreTable::Numbers, BlockType::PAN, 0, 0}, 3.0f);
    ASSERT_EQ(view.beginRead(9, BlockType::PAN), LiveView::Shows::Panel);
    EXPECT_EQ(view.read().layout, 3);
    EXPECT_FALSE(view.keyForClick(130, 70));   // key 7 on the fourth picture
    EXPECT_EQ(view.keyForClick(80, 70), 6);
    EXPECT_FALSE(view.keyForClick(50, 70));    // between the keys
    EXPECT_FALSE(view.keyForSwitch(0));        // no switches on this picture
}

TEST_F(LiveViewTest, SwitchesFollowTheRepliesAndLockTheirColumn) {
    place(9, BlockType::PAN, 2);
    store.setNumber({StoreTable::Numbers, BlockType::PAN, 1, 0}, 2.0f);
    view.beginRead(9, BlockType::PAN);
    EXPECT_EQ(view.keyForClick(20, 120), 1);
    view.showReply(Reply().second(1, 1).bytes);
    EXPECT_TRUE(view.switchOn()[0]);
    EXPECT_FALSE(view.keyForClick(20, 120));
    EXPECT_EQ(view.keyForSwitch(0), 9);
    EXPECT_EQ(view.keyForSwitch(3), 12);
    EXPECT_FALSE(view.keyForSwitch(4));
}

TEST_F(LiveViewTest, AReplyIsDrawnByTheBlockThatWasReadEvenAfterAProcessCommand) {
    place(9, BlockType::PAN, 1);
    store.setNumber({StoreTable::Numbers, BlockType::PAN, 0, 0}, 1.0f);
    view.beginRead(9, BlockType::PAN);
    state.selectedType = 5;   // what storing the configuration leaves behind
    EXPECT_EQ(view.showReply(Reply().second(0, 1).bytes), LiveView::Shows::Panel);
    ASSERT_EQ(view.face().lamps().size(), 1u);
}

TEST(NumberTextTest, AShownValueReadsBackInLocalesWithGroupSeparators) {
    for (const char *name : {"en_US", "de_DE", "ru_RU"}) {
        const NumberText n{QLocale(QString::fromLatin1(name))};
        const QString shown = n.format(572662.3f);
        EXPECT_EQ(n.parseNumber(shown), 572662.3f) << name << " " << shown.toStdString();
    }
}

TEST(LiveRefreshTest, OffByDefaultThenDueOneIntervalAfterEachShownReply) {
    VirtualClock clock;
    LiveRefresh refresh(clock);
    int due = 0;
    QObject::connect(&refresh, &LiveRefresh::due, [&] { ++due; });
    refresh.valuesShown();
    clock.advance(5000);
    EXPECT_EQ(due, 0);
    EXPECT_EQ(refresh.ageMs(), 5000);

    refresh.setIntervalMs(250);
    refresh.valuesShown();
    clock.advance(249);
    EXPECT_EQ(due, 0);
    clock.advance(1);
    EXPECT_EQ(due, 1);
    clock.advance(1000);   // no reply, no further read
    EXPECT_EQ(due, 1);
    refresh.valuesShown();
    refresh.stop();
    clock.advance(1000);
    EXPECT_EQ(due, 1);
    refresh.setIntervalMs(300);   // not one of the choices: off
    EXPECT_FALSE(refresh.isOn());
}

} // namespace
} // namespace z5::test
