#include "link/ValueCodec.h"
#include <gtest/gtest.h>

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
                      EncodeRow{"00CA9A3B", 1000000.0f, {0x00, 0xCA, 0x9A, 0x3B}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ValueCodec, ValuesThatDoNotFitAreRefused) {
    EXPECT_FALSE(ValueCodec::encodeValue(2200000.0f).has_value());
    EXPECT_FALSE(ValueCodec::encodeValue(-2200000.0f).has_value());
}

TEST(ValueCodec, DecodeIsTwosComplement) {
    EXPECT_DOUBLE_EQ(ValueCodec::decodeValue(0x24, 0xFA, 0xFF, 0xFF), -1.5);
    EXPECT_DOUBLE_EQ(ValueCodec::decodeValue(0xDC, 0x05, 0x00, 0x00), 1.5);
    EXPECT_DOUBLE_EQ(ValueCodec::decodeValue(0x00, 0x00, 0x00, 0x80), -2147483.648);
}
