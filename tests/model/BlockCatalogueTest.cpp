#include "model/BlockCatalogue.h"
#include <gtest/gtest.h>

using z5::BlockCatalogue;

TEST(BlockCatalogue, MnemonicLookupIsExactAndSkipsThePlaceholder) {
    EXPECT_EQ(BlockCatalogue::typeByMnemonic("A_I"), 1);
    EXPECT_EQ(BlockCatalogue::typeByMnemonic("UNI"), 33);
    EXPECT_EQ(BlockCatalogue::typeByMnemonic("INV"), 34);
    EXPECT_EQ(BlockCatalogue::typeByMnemonic("***"), 0);
    EXPECT_EQ(BlockCatalogue::typeByMnemonic("a_i"), 0);
    EXPECT_EQ(BlockCatalogue::typeByMnemonic("A_I "), 0);
    EXPECT_FALSE(BlockCatalogue::isBlockType(34));
    EXPECT_FALSE(BlockCatalogue::isBlockType(35));
    for (int code = 1; code <= 35; ++code)
        EXPECT_EQ(BlockCatalogue::mnemonic(code).size(), 3) << code;
    EXPECT_TRUE(BlockCatalogue::mnemonic(36).isEmpty());
    EXPECT_TRUE(BlockCatalogue::mnemonic(0).isEmpty());
}

TEST(BlockCatalogue, InstanceLimits) {
    EXPECT_EQ(BlockCatalogue::maxInstance(z5::BlockType::S_P), 12);
    EXPECT_EQ(BlockCatalogue::maxInstance(z5::BlockType::PID), 8);
    EXPECT_EQ(BlockCatalogue::maxInstance(z5::BlockType::INV), 0);
    EXPECT_EQ(BlockCatalogue::maxInstance(99), 0);
}

TEST(BlockCatalogue, OutputIndices) {
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::MUL, 12), 0);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::MUL, 9), 3);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::PID, 8), 0);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::PID, 7), 1);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::A_I, 1), 0);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::A_I, 15), 14);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::S_P, 3), 2);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::SCA, 67), 2);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::SCA, 136), 7);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::BlockType::SCA, 50), 49);
}

TEST(BlockCatalogue, PinsAndScadaPages) {
    EXPECT_TRUE(BlockCatalogue::isInputPin(z5::BlockType::A_O, 8));
    EXPECT_TRUE(BlockCatalogue::isInputPin(z5::BlockType::MUL, 8));
    EXPECT_FALSE(BlockCatalogue::isInputPin(z5::BlockType::MUL, 9));
    EXPECT_FALSE(BlockCatalogue::isInputPin(z5::BlockType::A_I, 1));
    EXPECT_EQ(BlockCatalogue::scadaInputPage(35), 1);
    EXPECT_EQ(BlockCatalogue::scadaInputSlot(35), 0);
    EXPECT_EQ(BlockCatalogue::scadaInputPage(32), 0);
    EXPECT_EQ(BlockCatalogue::scadaInputSlot(32), 31);
}
