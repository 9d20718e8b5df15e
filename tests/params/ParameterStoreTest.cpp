#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include <gtest/gtest.h>
#include <limits>

using namespace z5;

TEST(ParameterStore, DeclaredShapes) {
    const int shapes[33][2] = {{9, 45}, {9, 9},  {9, 25}, {9, 17}, {1, 5},   {9, 9},  {9, 15},  {9, 9},  {9, 9},
                               {9, 5},  {9, 6},  {9, 6},  {9, 5},  {9, 5},   {9, 4},  {13, 9},  {9, 20}, {9, 10},
                               {9, 137}, {9, 15}, {9, 9}, {9, 12}, {9, 6},   {9, 7},  {9, 14},  {9, 9},  {9, 30},
                               {8, 34}, {1, 52}, {1, 200}, {9, 16}, {9, 9}, {9, 18}};
    const ParameterStore store;
    for (int type = 1; type <= 33; ++type) {
        const auto *t = store.numberTable(type);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->slotCount(), shapes[type - 1][0]) << type;
        EXPECT_EQ(t->rowCount(), shapes[type - 1][1]) << type;
        EXPECT_EQ(t->name(), QStringLiteral("PARAMETR_") + BlockCatalogue::mnemonic(type));
    }
    EXPECT_EQ(store.numberTable(BlockType::INV), nullptr);
    EXPECT_EQ(store.numberTable(0), nullptr);
    EXPECT_EQ(&store.numbersOR_, store.numberTable(BlockType::OR_));
    EXPECT_EQ(store.setpointNames.slotCount(), 13);
    EXPECT_EQ(store.setpointNames.rowCount(), 10);
    EXPECT_EQ(store.panelTexts.slotCount(), 9);
    EXPECT_EQ(store.panelTexts.rowCount(), 6);
    EXPECT_EQ(store.trendTexts.rowCount(), 35);
    EXPECT_EQ(store.journalTexts.rowCount(), 34);
    EXPECT_EQ(store.journalDelays.rowCount(), 43);
    EXPECT_EQ(store.journalDelays.name(), QStringLiteral("BYTE_JUR"));
}

TEST(ParameterStore, AccessIsChecked) {
    ParameterStore store;
    const StorePlace last{StoreTable::Numbers, BlockType::PRO, 8, 136};
    EXPECT_TRUE(store.setNumber(last, 2.5f));
    EXPECT_EQ(store.number(last), 2.5f);
    EXPECT_EQ(store.numbersPRO.value(8, 136), 2.5f);
    for (const StorePlace &p : {StorePlace{StoreTable::Numbers, BlockType::PRO, 9, 0}, StorePlace{StoreTable::Numbers, BlockType::PRO, 0, 137},
                                StorePlace{StoreTable::Numbers, BlockType::PRO, -1, 0}, StorePlace{StoreTable::Numbers, BlockType::INV, 0, 0},
                                StorePlace{StoreTable::Numbers, 40, 0, 0}}) {
        EXPECT_FALSE(store.contains(p));
        EXPECT_FALSE(store.setNumber(p, 1.0f));
        EXPECT_EQ(store.number(p), 0.0f);
    }
    // Numbers no file line or wire value can carry are refused.
    EXPECT_FALSE(store.setNumber(last, std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(store.setNumber(last, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(store.number(last), 2.5f);
}

TEST(ParameterStore, TextAndByteTablesThroughPlaces) {
    ParameterStore store;
    const StorePlace name{StoreTable::SetpointNames, 0, 12, 9};
    EXPECT_TRUE(store.setText(name, QStringLiteral("Печь")));
    EXPECT_EQ(store.setpointNames.value(12, 9), QStringLiteral("Печь"));
    EXPECT_FALSE(store.setNumber(name, 1.0f));  // wrong kind
    EXPECT_FALSE(store.setText({StoreTable::TrendTexts, 0, 1, 0}, QStringLiteral("x")));
    const StorePlace delay{StoreTable::JournalDelays, 0, 0, 42};
    EXPECT_TRUE(store.setByte(delay, 200));
    EXPECT_EQ(store.byte(delay), 200);
    EXPECT_FALSE(store.setByte({StoreTable::JournalDelays, 0, 0, 43}, 1));
    EXPECT_FALSE(store.setText(delay, QStringLiteral("x")));
    EXPECT_TRUE(store.isText(name));
    EXPECT_TRUE(store.isByte(delay));
}

TEST(ParameterStore, CopiesCompareAndClear) {
    ParameterStore a;
    ParameterStore b;
    EXPECT_EQ(a, b);
    a.numbersUNI.setValue(7, 16, -1.0f);
    EXPECT_NE(a, b);
    b = a;
    EXPECT_EQ(a, b);
    b.journalTexts.setElement(33, QStringLiteral("x"));
    EXPECT_NE(a, b);
    b.clear();
    EXPECT_EQ(b, ParameterStore());
    EXPECT_EQ(b.numbersUNI.slotCount(), 9);  // clearing keeps the shapes
}
