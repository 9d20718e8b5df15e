#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"
#include "model/ParameterStore.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

const ParameterCatalogue &cat() { return ParameterCatalogue::standard(); }

int visibleRows(int type) {
    int n = 0;
    for (int r = 0; r < ParameterCatalogue::kRows; ++r)
        if (cat().kind(type, r) != FieldKind::Hidden) ++n;
    return n;
}

StorePlace own(int type, int slot, int row) { return {StoreTable::Numbers, type, slot, row}; }

} // namespace

TEST(ParameterCatalogue, VisibleRowsPerType) {
    const int expected[34] = {9, 4, 4, 3, 3, 4, 10, 4, 4, 0, 1, 1, 0, 0, 1, 17, 9,
                              1, 5, 8, 6, 1, 2, 3, 5, 3, 9, 6, 5, 3, 4, 4, 5, 0};
    int total = 0;
    for (int type = 1; type <= 34; ++type) {
        EXPECT_EQ(visibleRows(type), expected[type - 1]) << BlockCatalogue::mnemonic(type).toStdString();
        total += visibleRows(type);
    }
    EXPECT_EQ(total, 144);
    for (int type : {BlockType::ABS, BlockType::XOR, BlockType::TRI, BlockType::INV})
        for (int r = 0; r < ParameterCatalogue::kRows; ++r) {
            EXPECT_TRUE(cat().label(type, r).isEmpty());
            EXPECT_EQ(cat().rowLayout(type, r).role, RowRole::Hidden);
        }
    EXPECT_EQ(cat().kind(0, 0), FieldKind::Hidden);
    EXPECT_EQ(cat().kind(35, 0), FieldKind::Hidden);
    EXPECT_EQ(cat().kind(BlockType::A_I, 17), FieldKind::Hidden);
}

TEST(ParameterCatalogue, LabelsKeepTheirExactText) {
    EXPECT_EQ(cat().label(BlockType::OSC, 3), QStringLiteral("Импульс "));
    EXPECT_EQ(cat().label(BlockType::OSC, 5), QStringLiteral("Импульс 3"));
    EXPECT_EQ(cat().label(BlockType::GRA, 3), QStringLiteral("Шкала min "));
    EXPECT_EQ(cat().label(BlockType::A_I, 3), QStringLiteral("Шкала min"));
    EXPECT_EQ(cat().label(BlockType::PRO, 0), QStringLiteral("Программа\\Шаг"));
    EXPECT_EQ(cat().label(BlockType::PID, 2), QStringLiteral("Ограничение л"));
    EXPECT_EQ(cat().label(BlockType::S_P, 16), QStringLiteral("Имя блока"));
    EXPECT_EQ(cat().label(BlockType::SCA, 1), QStringLiteral("№ кнопки 1-24"));
    EXPECT_EQ(cat().kind(BlockType::S_P, 0), FieldKind::Text);
    EXPECT_EQ(cat().kind(BlockType::S_P, 1), FieldKind::Number);
    EXPECT_EQ(cat().kind(BlockType::MOT, 0), FieldKind::Number);
    EXPECT_EQ(cat().kind(BlockType::JUR, 2), FieldKind::Choice);
}

TEST(ParameterCatalogue, ChoiceRowsHoldMaxPlusOneItems) {
    for (int type = 1; type <= 34; ++type)
        for (int r = 0; r < ParameterCatalogue::kRows; ++r) {
            const RowLayout l = cat().rowLayout(type, r);
            if (l.kind == FieldKind::Choice) {
                EXPECT_GT(l.maxCode, 0);
                EXPECT_EQ(l.items.size(), l.maxCode + 1) << type << " " << r;
            } else {
                EXPECT_EQ(l.maxCode, 0);
                EXPECT_TRUE(l.items.isEmpty());
            }
        }
}

TEST(ParameterCatalogue, ChoiceItems) {
    EXPECT_EQ(cat().rowLayout(BlockType::A_I, 1).items, QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(cat().rowLayout(BlockType::RS4, 0).items.last(), QStringLiteral("32"));
    const QStringList steps = cat().rowLayout(BlockType::PRO, 0).items;
    EXPECT_EQ(steps[0], QStringLiteral("Программа 1 Шаг 1"));
    EXPECT_EQ(steps[7], QStringLiteral("Программа 1 Шаг 8"));
    EXPECT_EQ(steps[8], QStringLiteral("Программа 2 Шаг 1"));
    EXPECT_EQ(steps[31], QStringLiteral("Программа 4 Шаг 8"));
    EXPECT_EQ(cat().rowLayout(BlockType::SCA, 1).items[23], QStringLiteral("Кн. 24"));
    EXPECT_EQ(cat().rowLayout(BlockType::SCA, 0).items[7], QStringLiteral("Стр. 8"));
    const QStringList kinds = cat().rowLayout(BlockType::LOG, 1).items;
    ASSERT_EQ(kinds.size(), 6);
    EXPECT_EQ(kinds[4], QStringLiteral("STOP"));
    EXPECT_TRUE(kinds[5].isEmpty());
    EXPECT_EQ(cat().rowLayout(BlockType::A_I, 2).items[14], QStringLiteral("4-20 мА"));
    EXPECT_EQ(cat().rowLayout(BlockType::JUR, 2).items[7], QStringLiteral("Сигнал"));
    EXPECT_EQ(cat().rowLayout(BlockType::UNI, 0).items[3], QStringLiteral("Влажность"));
    int named = 0;
    for (int l = static_cast<int>(ChoiceList::SensorTypes); l <= static_cast<int>(ChoiceList::UniversalKinds); ++l)
        if (!ParameterChoiceLists::items(static_cast<ChoiceList>(l)).isEmpty()) ++named;
    EXPECT_EQ(named, ParameterChoiceLists::kNamedLists);
    EXPECT_TRUE(ParameterChoiceLists::rowItems(ChoiceList::Numbers, 0).isEmpty());
}

TEST(ParameterCatalogue, SignalNamesAreTwelveCharacters) {
    for (int type = 1; type <= 33; ++type)
        for (int pos = 0; pos < 8; ++pos)
            for (SignalSide side : {SignalSide::Input, SignalSide::Output})
                EXPECT_EQ(cat().signalName(type, pos, side).size(), 12) << type << " " << pos;
    const QString max = cat().signalName(BlockType::A_I, 3, SignalSide::Input);
    EXPECT_EQ(max, QStringLiteral("Выход MАХ   "));
    EXPECT_EQ(max[7], QChar(0x0410));  // Cyrillic А and Х, as in the original
    EXPECT_EQ(max[8], QChar(0x0425));
    EXPECT_EQ(cat().signalName(BlockType::RS4, 0, SignalSide::Input), QString(12, QLatin1Char(' ')));
    EXPECT_EQ(cat().signalName(BlockType::PID, 5, SignalSide::Input), QStringLiteral("Вход 3 RS Ti"));
    EXPECT_EQ(cat().signalName(BlockType::PID, 6, SignalSide::Input), QString(12, QLatin1Char(' ')));
    EXPECT_EQ(cat().signalName(BlockType::OSC, 7, SignalSide::Input), QStringLiteral("RES 4/PAUS 2"));
    EXPECT_EQ(cat().signalName(BlockType::JUR, 7, SignalSide::Output), QStringLiteral("Сигнализация"));
    EXPECT_EQ(cat().signalName(BlockType::UNI, 7, SignalSide::Output), QStringLiteral("Выход 8     "));
    EXPECT_TRUE(cat().signalName(BlockType::INV, 0, SignalSide::Input).isEmpty());
    EXPECT_TRUE(cat().signalName(BlockType::A_I, 8, SignalSide::Input).isEmpty());
}

TEST(ParameterCatalogue, FieldAddressesOfTheDocumentedCorners) {
    Selectors sel;
    sel.channel = 3;
    EXPECT_EQ(cat().fieldAddress(BlockType::A_I, 2, 8, sel), own(BlockType::A_I, 2, 27));
    sel.channel = 0;
    EXPECT_EQ(cat().fieldAddress(BlockType::A_I, 0, 2, sel), own(BlockType::A_I, 0, 0));

    sel.step = 31;
    EXPECT_EQ(cat().fieldAddress(BlockType::PRO, 4, 1, sel), own(BlockType::PRO, 4, 35));
    EXPECT_EQ(cat().fieldAddress(BlockType::PRO, 4, 2, sel), own(BlockType::PRO, 4, 67));
    EXPECT_EQ(cat().fieldAddress(BlockType::PRO, 4, 3, sel), own(BlockType::PRO, 4, 99));
    EXPECT_EQ(cat().fieldAddress(BlockType::PRO, 4, 4, sel), own(BlockType::PRO, 4, 131));
    EXPECT_EQ(cat().fieldAddress(BlockType::PRO, 4, 0, sel), own(BlockType::PRO, 4, 0));  // the step itself is kept in row 0

    sel.channel = 31;  // GRA is one block: the instance slot plays no part
    EXPECT_EQ(cat().fieldAddress(BlockType::GRA, 5, 3, sel), own(BlockType::GRA, 1, 32));
    EXPECT_EQ(cat().fieldAddress(BlockType::GRA, 5, 4, sel), own(BlockType::GRA, 2, 32));
    EXPECT_EQ(cat().fieldAddress(BlockType::GRA, 0, 0, sel), own(BlockType::GRA, 1, 0));
    EXPECT_EQ(cat().fieldAddress(BlockType::GRA, 0, 1, sel), own(BlockType::GRA, 0, 0));
    EXPECT_EQ(cat().fieldAddress(BlockType::GRA, 0, 2, sel), (StorePlace{StoreTable::TrendTexts, 0, 0, 33}));
    EXPECT_EQ(cat().fieldAddress(BlockType::GRA, 0, 5, sel), (StorePlace{StoreTable::TrendTexts, 0, 0, 32}));

    sel.page = 7;
    sel.key = 23;
    EXPECT_EQ(cat().fieldAddress(BlockType::SCA, 3, 2, sel), own(BlockType::SCA, 0, 199));

    sel.event = 31;
    EXPECT_EQ(cat().fieldAddress(BlockType::JUR, 0, 2, sel), own(BlockType::JUR, 0, 41));
    EXPECT_EQ(cat().fieldAddress(BlockType::JUR, 0, 4, sel), (StorePlace{StoreTable::JournalDelays, 0, 0, 41}));
    EXPECT_EQ(cat().fieldAddress(BlockType::JUR, 0, 1, sel), (StorePlace{StoreTable::JournalTexts, 0, 0, 31}));
    EXPECT_EQ(cat().fieldAddress(BlockType::JUR, 0, 3, sel), own(BlockType::JUR, 0, 50));

    sel.channel = 2;  // LOG's last channel; a fourth would overlap the first channel's rows
    EXPECT_EQ(cat().fieldAddress(BlockType::LOG, 1, 1, sel), own(BlockType::LOG, 1, 2));
    EXPECT_EQ(cat().fieldAddress(BlockType::LOG, 1, 2, sel), own(BlockType::LOG, 1, 5));
    EXPECT_EQ(cat().fieldAddress(BlockType::LOG, 1, 3, sel), own(BlockType::LOG, 1, 8));
    sel.channel = 3;
    for (int r : {1, 2, 3}) EXPECT_FALSE(cat().fieldAddress(BlockType::LOG, 1, r, sel)) << r;

    EXPECT_EQ(cat().fieldAddress(BlockType::S_P, 11, 16, sel), (StorePlace{StoreTable::SetpointNames, 0, 11, 8}));
    EXPECT_EQ(cat().fieldAddress(BlockType::S_P, 11, 15, sel), own(BlockType::S_P, 11, 7));
    EXPECT_EQ(cat().fieldAddress(BlockType::PAN, 2, 5, sel), (StorePlace{StoreTable::PanelTexts, 0, 2, 4}));
    EXPECT_EQ(cat().fieldAddress(BlockType::SUM, 0, 9, sel), own(BlockType::SUM, 0, 13));
    EXPECT_EQ(cat().fieldAddress(BlockType::PID, 0, 2, sel), own(BlockType::PID, 0, 11));
}

TEST(ParameterCatalogue, RowsThatStoreNothing) {
    const Selectors sel;
    for (int r : {0, 1}) EXPECT_FALSE(cat().fieldAddress(BlockType::A_I, 0, r, sel)) << r;
    for (int r : {0, 1, 2}) EXPECT_FALSE(cat().fieldAddress(BlockType::RS4, 0, r, sel)) << r;
    EXPECT_FALSE(cat().fieldAddress(BlockType::MOT, 0, 0, sel));
    EXPECT_FALSE(cat().fieldAddress(BlockType::JUR, 0, 0, sel));
    EXPECT_FALSE(cat().fieldAddress(BlockType::SCA, 0, 0, sel));
    EXPECT_FALSE(cat().fieldAddress(BlockType::ABS, 0, 0, sel));
    EXPECT_FALSE(cat().fieldAddress(BlockType::MUL, 0, 4, sel));
    EXPECT_EQ(cat().role(BlockType::A_I, 0), RowRole::Instance);
    EXPECT_EQ(cat().role(BlockType::RS4, 1), RowRole::NotStored);
    EXPECT_EQ(cat().role(BlockType::A_I, 1), RowRole::Selects);
    EXPECT_EQ(cat().selectorOf(BlockType::A_I, 1), Selector::Channel);
    EXPECT_EQ(cat().selectorOf(BlockType::SCA, 1), Selector::Key);
}

TEST(ParameterCatalogue, OutOfRangeSlotsAndSelectorsAddressNothing) {
    Selectors sel;
    EXPECT_TRUE(cat().fieldAddress(BlockType::MUL, 8, 0, sel));   // declared, never used by the console
    EXPECT_FALSE(cat().fieldAddress(BlockType::MUL, 9, 0, sel));
    EXPECT_FALSE(cat().fieldAddress(BlockType::MUL, -1, 0, sel));
    EXPECT_TRUE(cat().fieldAddress(BlockType::S_P, 12, 1, sel));
    EXPECT_FALSE(cat().fieldAddress(BlockType::S_P, 13, 1, sel));
    sel.channel = 4;  // A_I has channels 0..3; 4 would reach "Шкала min" of channel 0
    EXPECT_FALSE(cat().fieldAddress(BlockType::A_I, 0, 2, sel));
    sel.channel = -1;
    EXPECT_FALSE(cat().fieldAddress(BlockType::A_I, 0, 3, sel));
    sel = Selectors();
    sel.key = 24;
    EXPECT_FALSE(cat().fieldAddress(BlockType::SCA, 0, 2, sel));
    EXPECT_FALSE(cat().fieldAddress(0, 0, 0, sel));
    EXPECT_FALSE(cat().fieldAddress(BlockType::A_I, 0, 17, sel));
}

TEST(ParameterCatalogue, EveryValueRowLandsInsideTheStore) {
    const ParameterStore store;
    for (int type = 1; type <= 33; ++type)
        for (int r = 0; r < ParameterCatalogue::kRows; ++r) {
            if (cat().role(type, r) != RowRole::Value) continue;
            Selectors high;
            for (Selector s : {Selector::Channel, Selector::Step, Selector::Event, Selector::Page, Selector::Key}) {
                const int row = cat().selectorRow(type, s);
                const int max = row < 0 ? 0 : cat().maxCode(type, row);
                switch (s) {
                case Selector::Channel: high.channel = max; break;
                case Selector::Step: high.step = max; break;
                case Selector::Event: high.event = max; break;
                case Selector::Page: high.page = max; break;
                case Selector::Key: high.key = max; break;
                default: break;
                }
            }
            for (int slot : {0, BlockCatalogue::maxInstance(type) - 1})
                for (const Selectors &sel : {Selectors(), high}) {
                    const auto place = cat().fieldAddress(type, slot, r, sel);
                    ASSERT_TRUE(place) << type << " " << r;
                    EXPECT_TRUE(store.contains(*place)) << type << " " << r;
                    const FieldKind k = cat().kind(type, r);
                    if (k == FieldKind::Text) {
                        EXPECT_TRUE(store.isText(*place));
                    } else if (k == FieldKind::Choice) {
                        EXPECT_TRUE(store.isNumber(*place));
                    }
                }
        }
}

TEST(ParameterCatalogue, SelectorDependencies) {
    for (int r = 1; r <= 4; ++r) EXPECT_TRUE(cat().dependsOn(BlockType::PRO, r, Selector::Step)) << r;
    EXPECT_FALSE(cat().dependsOn(BlockType::PRO, 0, Selector::Step));
    EXPECT_TRUE(cat().dependsOn(BlockType::SCA, 2, Selector::Page));
    EXPECT_TRUE(cat().dependsOn(BlockType::SCA, 2, Selector::Key));
    EXPECT_FALSE(cat().dependsOn(BlockType::GRA, 1, Selector::Channel));
    EXPECT_FALSE(cat().dependsOn(BlockType::GRA, 2, Selector::Channel));
    EXPECT_TRUE(cat().dependsOn(BlockType::GRA, 5, Selector::Channel));
    EXPECT_FALSE(cat().dependsOn(BlockType::JUR, 3, Selector::Event));
    EXPECT_TRUE(cat().dependsOn(BlockType::JUR, 4, Selector::Event));
    EXPECT_EQ(cat().selectorRow(BlockType::SCA, Selector::Key), 1);
    EXPECT_EQ(cat().selectorRow(BlockType::MUL, Selector::Channel), -1);
}
