// Request frames as they leave the line, one row per frame, named by the bytes sent.
#include "LineBench.h"
#include "link/Link.h"
#include "LineSessionProbe.h"
#include <gtest/gtest.h>

using z5::Link;
using z5::LineSessionProbe;

struct FrameRow {
    const char *sent;   // hex of the frame and its check value, high byte first
    int station;
    std::uint8_t kind;
    std::int16_t table;
    std::int16_t block;
    std::uint8_t index;
    std::uint8_t code;
    std::int16_t count;
};

void PrintTo(const FrameRow &row, std::ostream *os) { *os << row.sent; }

class FrameRows : public ::testing::TestWithParam<FrameRow> {};

TEST_P(FrameRows, FrameAndCheckValueGoOutInOneWrite) {
    const FrameRow &r = GetParam();
    z5::LineBench b;
    ASSERT_TRUE(b.port.open(QStringLiteral("/dev/null")));
    b.line.changeStation(r.station);

    EXPECT_TRUE(LineSessionProbe::send(b.line, z5::Request::withFields({r.kind, r.table, r.block, r.index, r.code, r.count})));

    const QByteArray expected = QByteArray::fromHex(r.sent);
    ASSERT_EQ(b.port.writes().size(), 1u);
    EXPECT_EQ(b.port.writes()[0].bytes.toHex().toUpper(), expected.toHex().toUpper());
    EXPECT_EQ(Link::withCheckValue(expected.left(6)), expected);
    EXPECT_EQ(LineSessionProbe::lastBuilt(b.line), expected.left(6));
    EXPECT_EQ(LineSessionProbe::checkedLength(b.line), 6);
    EXPECT_EQ(LineSessionProbe::framesNotSent(b.line), 0);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameRows,
    ::testing::Values(
        // kind, table, block, index, code, count
        FrameRow{"0132708B0000E452", 1, 0, 0, 0, 0, 0, 0},        // screen write header
        FrameRow{"0103000B3300F820", 1, 4, 0, 0, 11, 51, 0},      // start the process
        FrameRow{"0103040A0000F864", 1, 2, 0, 3, 10, 0, 0},       // read block 3
        FrameRow{"013C002000000550", 1, 1, 9, 0, 0, 0, 0},       // table 9 header
        FrameRow{"013301F3000001F4", 1, 1, 0, 0, 0, 0, 0},        // table 0 announces 499
        FrameRow{"01340640000052B1", 1, 1, 1, 0, 0, 0, 0},
        FrameRow{"0137021F000070C4", 1, 1, 4, 0, 0, 0, 0},        // table 4 announces 543
        FrameRow{"013D41B8000016F8", 1, 1, 10, 0, 0, 0, 0},
        FrameRow{"013E014000002728", 1, 1, 11, 0, 0, 0, 0},
        FrameRow{"013F00200007C755", 1, 1, 12, 7, 0, 0, 0},       // table 12 carries the block
        FrameRow{"0103060100024395", 1, 2, 0, 5, 1, 0, 2},       // trend recording start
        FrameRow{"01030600000283C4", 1, 2, 0, 5, 0, 0, 2},       // trend recording stop
        FrameRow{"0103060A00004065", 1, 2, 0, 5, 10, 0, 0},       // first part of a trend page
        FrameRow{"0803150B0500CD33", 8, 3, 0, 20, 11, 5, 0},      // panel key 5, station 8
        FrameRow{"0103070B32001C20", 1, 4, 0, 7, 11, 50, 0}),     // kind 4 sends the block as it is
    [](const auto &info) { return std::string(info.param.sent); });

struct CheckRow {
    const char *bytes;
    std::uint16_t value;
};

void PrintTo(const CheckRow &row, std::ostream *os) { *os << row.bytes; }

class CheckValueRows : public ::testing::TestWithParam<CheckRow> {};

TEST_P(CheckValueRows, Crc16WithReflectedA001) {
    const QByteArray bytes = QByteArray::fromHex(GetParam().bytes);
    EXPECT_EQ(Link::checkValueOf(bytes), GetParam().value);
    EXPECT_EQ(Link::checkValueOf(bytes + QByteArray("tail not covered"), bytes.size()), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, CheckValueRows,
    ::testing::Values(CheckRow{"313233343536373839", 0x4B37},
                      CheckRow{"0132708B0000", 0xE452},
                      CheckRow{"0103000B3300", 0xF820},
                      CheckRow{"0103040A0000", 0xF864},
                      CheckRow{"013C00200000", 0x0550},
                      CheckRow{"", 0xFFFF}),
    [](const auto &info) { return std::string(*info.param.bytes ? info.param.bytes : "empty"); });

TEST(CheckValue, ALengthBeyondTheBufferIsRefused) {
    z5::LineBench b;
    ASSERT_TRUE(b.port.open(QStringLiteral("/dev/null")));
    LineSessionProbe::loadScreenData(b.line, QByteArray(257, '\0'), 258);
    ASSERT_TRUE(LineSessionProbe::send(b.line, z5::Request::screenHeader()));
    EXPECT_FALSE(LineSessionProbe::sendData(b.line));
    EXPECT_EQ(b.port.writes().size(), 1u);
    EXPECT_EQ(Link::checkValueOf(QByteArray(257, '\0'), 258), Link::checkValueOf(QByteArray(257, '\0')));
}
