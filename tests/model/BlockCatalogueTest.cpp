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
    EXPECT_EQ(BlockCatalogue::maxInstance(z5::S_P), 12);
    EXPECT_EQ(BlockCatalogue::maxInstance(z5::PID), 8);
    EXPECT_EQ(BlockCatalogue::maxInstance(z5::INV), 0);
    EXPECT_EQ(BlockCatalogue::maxInstance(99), 0);
}

TEST(BlockCatalogue, OutputIndices) {
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::MUL, 12), 0);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::MUL, 9), 3);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::PID, 8), 0);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::PID, 7), 1);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::A_I, 1), 0);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::A_I, 15), 14);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::S_P, 3), 2);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::SCA, 67), 2);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::SCA, 136), 7);
    EXPECT_EQ(BlockCatalogue::outputIndex(z5::SCA, 50), 49);
}

TEST(BlockCatalogue, PinsAndScadaPages) {
    EXPECT_TRUE(BlockCatalogue::isInputPin(z5::A_O, 8));
    EXPECT_TRUE(BlockCatalogue::isInputPin(z5::MUL, 8));
    EXPECT_FALSE(BlockCatalogue::isInputPin(z5::MUL, 9));
    EXPECT_FALSE(BlockCatalogue::isInputPin(z5::A_I, 1));
    EXPECT_EQ(BlockCatalogue::scadaInputPage(35), 1);
    EXPECT_EQ(BlockCatalogue::scadaInputSlot(35), 0);
    EXPECT_EQ(BlockCatalogue::scadaInputPage(32), 0);
    EXPECT_EQ(BlockCatalogue::scadaInputSlot(32), 31);
}

TEST(BlockCatalogue, EveryRowOfTheCatalogue) {
    struct Row {
        const char *mnemonic;
        int outFirst, outEnd, maxInstance;
    };
    const Row rows[] = {
        {"A_I", 1, 16, 8},   {"A_O", 100, 100, 8}, {"D_I", 1, 8, 8},    {"D_O", 100, 100, 8}, {"RS4", 100, 100, 8},
        {"MUL", 9, 13, 8},   {"SUM", 9, 13, 8},    {"DIV", 9, 13, 8},   {"SQR", 5, 9, 8},     {"ABS", 5, 9, 8},
        {"AND", 9, 13, 8},   {"OR_", 9, 13, 8},    {"XOR", 9, 13, 8},   {"TRI", 9, 13, 8},    {"REG", 9, 13, 8},
        {"S_P", 1, 8, 12},   {"PID", 7, 9, 8},     {"MUX", 9, 17, 8},   {"PRO", 5, 9, 8},     {"PAN", 9, 17, 8},
        {"RTC", 2, 3, 8},    {"MIN", 9, 11, 8},    {"LIM", 2, 5, 8},    {"CMP", 3, 6, 8},     {"TIM", 9, 17, 8},
        {"COU", 5, 8, 8},    {"OSC", 9, 17, 8},    {"GRA", 100, 100, 8}, {"JUR", 33, 41, 8},  {"SCA", 33, 41, 8},
        {"LOG", 9, 15, 8},   {"MOT", 6, 10, 8},    {"UNI", 9, 17, 8},   {"INV", 2, 3, 0},     {"***", 1, 100, 0},
    };
    for (int code = 1; code <= 35; ++code) {
        const Row &r = rows[code - 1];
        EXPECT_EQ(BlockCatalogue::mnemonic(code), QLatin1String(r.mnemonic)) << code;
        EXPECT_EQ(BlockCatalogue::pinOutFirst(code), r.outFirst) << code;
        EXPECT_EQ(BlockCatalogue::pinOutEnd(code), r.outEnd) << code;
        EXPECT_EQ(BlockCatalogue::maxInstance(code), r.maxInstance) << code;
        if (code <= 34) {
            EXPECT_EQ(BlockCatalogue::typeByMnemonic(QLatin1String(r.mnemonic)), code);
        }
    }
}
