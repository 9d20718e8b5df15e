#include "link/ValueCodec.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using z5::ValueBytes;
using z5::ValueCodec;

struct EncodeRow {
    const char *name;
    float value;
    ValueBytes bytes;
};

void PrintTo(const EncodeRow &row, std::ostream *os) { *os << row.name; }

class EncodeValueRows : public ::testing::TestWithParam<EncodeRow> {};

TEST_P(EncodeValueRows, SignAndMagnitudeLeastSignificantFirst) {
    const auto got = ValueCodec::encodeValue(GetParam().value);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Values, EncodeValueRows,
    ::testing::Values(EncodeRow{"DC050000", 1.5f, {0xDC, 0x05, 0x00, 0x00}},
                      EncodeRow{"DC050080", -1.5f, {0xDC, 0x05, 0x00, 0x80}},
                      EncodeRow{"00000000", 0.0f, {0x00, 0x00, 0x00, 0x00}},
                      EncodeRow{"00CA9A3B", 1000000.0f, {0x00, 0xCA, 0x9A, 0x3B}},
                      // Halves of a thousandth go to the even neighbour.
                      EncodeRow{"00000000_half_to_zero", 0.0005f, {0x00, 0x00, 0x00, 0x00}},
                      EncodeRow{"02000000_1p5_to_2", 0.0015f, {0x02, 0x00, 0x00, 0x00}},
                      EncodeRow{"02000000_2p5_to_2", 0.0025f, {0x02, 0x00, 0x00, 0x00}},
                      EncodeRow{"02000080_minus_2p5_to_2", -0.0025f, {0x02, 0x00, 0x00, 0x80}},
                      EncodeRow{"3E000000_62p5_to_62", 0.0625f, {0x3E, 0x00, 0x00, 0x00}},
                      EncodeRow{"D0070000_2000p5_to_2000", 2.0005f, {0xD0, 0x07, 0x00, 0x00}},
                      // The largest products still fit; single precision makes 2147483.5 x 1000 = 2147483520.
                      EncodeRow{"80FFFF7F", 2147483.5f, {0x80, 0xFF, 0xFF, 0x7F}},
                      EncodeRow{"80FFFFFF", -2147483.5f, {0x80, 0xFF, 0xFF, 0xFF}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ValueCodec, ValuesThatDoNotFitAreRefused) {
    EXPECT_FALSE(ValueCodec::encodeValue(2200000.0f).has_value());
    EXPECT_FALSE(ValueCodec::encodeValue(-2200000.0f).has_value());
    // x 1000 gives exactly 2^31: one too many for the positive side...
    EXPECT_FALSE(ValueCodec::encodeValue(2147483.75f).has_value());
    // ...and the most negative integer, which sign and magnitude cannot carry.
    EXPECT_FALSE(ValueCodec::encodeValue(-2147483.75f).has_value());
    EXPECT_FALSE(ValueCodec::encodeValue(std::numeric_limits<float>::infinity()).has_value());
    EXPECT_FALSE(ValueCodec::encodeValue(std::nanf("")).has_value());
}

struct DecodeRow {
    const char *name;
    ValueBytes bytes;
    double value;
};

void PrintTo(const DecodeRow &row, std::ostream *os) { *os << row.name; }

class DecodeValueRows : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeValueRows, TwosComplementLeastSignificantFirst) {
    const auto &b = GetParam().bytes;
    EXPECT_DOUBLE_EQ(ValueCodec::decodeValue(b[0], b[1], b[2], b[3]), GetParam().value);
    const char raw[4] = {char(b[0]), char(b[1]), char(b[2]), char(b[3])};
    EXPECT_DOUBLE_EQ(ValueCodec::decodeValue(raw), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, DecodeValueRows,
    ::testing::Values(DecodeRow{"24FAFFFF", {0x24, 0xFA, 0xFF, 0xFF}, -1.5},
                      DecodeRow{"DC050000", {0xDC, 0x05, 0x00, 0x00}, 1.5},
                      DecodeRow{"18FCFFFF", {0x18, 0xFC, 0xFF, 0xFF}, -1.0},
                      DecodeRow{"FFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF}, -0.001},
                      DecodeRow{"40420F00", {0x40, 0x42, 0x0F, 0x00}, 1000.0},
                      DecodeRow{"00000080", {0x00, 0x00, 0x00, 0x80}, -2147483.648},
                      DecodeRow{"FFFFFF7F", {0xFF, 0xFF, 0xFF, 0x7F}, 2147483.647}),
    [](const auto &info) { return std::string(info.param.name); });
