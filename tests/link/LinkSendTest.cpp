#include "link/FakeSerialPort.h"
#include "link/Link.h"
#include "model/RecordingPrompts.h"
#include <gtest/gtest.h>

using z5::Link;

namespace {

QString hex(const QByteArray &b) { return QString::fromLatin1(b.toHex(' ').toUpper()); }

struct LinkFixture : ::testing::Test {
    z5::FakeSerialPort port;
    z5::RecordingPrompts prompts;
    Link link{port, prompts};
    void SetUp() override { ASSERT_TRUE(port.open(QStringLiteral("/dev/fake"))); }
    QString lastWrite() const { return port.writes().empty() ? QString() : hex(port.writes().back().bytes); }
    void blockRead(int block) {
        link.REQUEST_kind = Link::SteppingRead;
        link.REQUEST_count = 0;
        link.REQUEST_index = 10;
        link.REQUEST_code = 0;
        link.REQUEST_block = static_cast<std::int16_t>(block);
        link.SendRequest();
    }
};

} // namespace

TEST_F(LinkFixture, ASteppingReadCarriesTheNextIndexEachTime) {
    blockRead(3);
    EXPECT_EQ(link.REQUEST_index, 11);
    link.SendRequest();
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(hex(port.writes()[0].bytes).left(17), "01 03 04 0A 00 00");
    EXPECT_EQ(hex(port.writes()[1].bytes).left(17), "01 03 04 0B 00 00");
    EXPECT_EQ(link.REQUEST_index, 12);
}

TEST_F(LinkFixture, ReadsAndCommandsDoNotStepTheIndex) {
    link.REQUEST_index = 11;
    link.REQUEST_kind = Link::Read;
    link.SendRequest();
    link.REQUEST_kind = Link::Command;
    link.SendRequest();
    EXPECT_EQ(link.REQUEST_index, 11);
}

TEST_F(LinkFixture, FieldsACallerLeavesUnsetGoOutAsThePreviousRequestLeftThem) {
    blockRead(3);   // leaves index 11 and count 0
    link.REQUEST_kind = Link::Command;
    link.REQUEST_code = Link::StartProcess;
    link.REQUEST_block = 0;
    link.SendRequest();
    EXPECT_EQ(lastWrite(), "01 03 00 0B 33 00 F8 20");
}

TEST_F(LinkFixture, OnlyTheSetpointTableHeaderCarriesTheBlock) {
    link.REQUEST_block = 7;
    link.REQUEST_kind = Link::TableHeader;
    for (int table = 0; table < Link::kTableCount; ++table) {
        link.REQUEST_table = static_cast<std::int16_t>(table);
        link.SendRequest();
        EXPECT_EQ(std::uint8_t(link.FRAME_buffer[1]), 0x33 + table);
        EXPECT_EQ(std::uint8_t(link.FRAME_buffer[5]), table == 12 ? 7 : 0) << "table " << table;
    }
}

TEST_F(LinkFixture, ARequestThatCannotBeBuiltBeepsAndSendsNothing) {
    struct Case {
        const char *what;
        std::uint8_t kind;
        int block, index, count, station;
    };
    const Case cases[] = {
        {"index 255 cannot step", Link::SteppingRead, 3, 255, 0, 1},
        {"block + 1 beyond a byte", Link::SteppingRead, 255, 10, 0, 1},
        {"negative block", Link::Command, -1, 10, 0, 1},
        {"count beyond a byte", Link::Read, 3, 10, 256, 1},
        {"station beyond a byte", Link::Read, 3, 10, 0, 256},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        blockRead(1);
        const QByteArray frameBefore = link.FRAME_buffer;
        port.clearWrites();
        prompts.beeps = 0;
        link.REQUEST_kind = c.kind;
        link.REQUEST_block = static_cast<std::int16_t>(c.block);
        link.REQUEST_index = static_cast<std::uint8_t>(c.index);
        link.REQUEST_count = static_cast<std::int16_t>(c.count);
        link.settings.NET_Z5_number = c.station;
        EXPECT_FALSE(link.SendRequest());
        EXPECT_TRUE(port.writes().empty());
        EXPECT_EQ(prompts.beeps, 1);
        EXPECT_EQ(link.REQUEST_index, c.index);
        EXPECT_EQ(link.FRAME_buffer, frameBefore);
        link.settings.NET_Z5_number = 1;
    }
}

TEST_F(LinkFixture, AClosedPortBeepsForARequestAndStaysSilentForData) {
    port.close();
    link.REQUEST_kind = Link::TableHeader;
    link.REQUEST_table = 9;
    EXPECT_FALSE(link.SendRequest());
    EXPECT_EQ(prompts.beeps, 1);
    link.DATA_block = QByteArray(32, '\1');
    EXPECT_FALSE(link.SendDataBlock());
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(LinkFixture, AnUnknownKindOrTableSendsTheLastFrameAgain) {
    blockRead(3);
    link.REQUEST_kind = 9;
    link.SendRequest();
    link.REQUEST_kind = Link::TableHeader;
    link.REQUEST_table = 13;
    link.SendRequest();
    ASSERT_EQ(port.writes().size(), 3u);
    EXPECT_EQ(hex(port.writes()[1].bytes), "01 03 04 0A 00 00 F8 64");
    EXPECT_EQ(hex(port.writes()[2].bytes), "01 03 04 0A 00 00 F8 64");
}

TEST_F(LinkFixture, AnUnknownKindWithNoFrameBuiltYetBeeps) {
    link.REQUEST_kind = 5;
    EXPECT_FALSE(link.SendRequest());
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(LinkFixture, TableZeroSendsALeadingZeroAndFiveHundredBytesWithoutCheckValue) {
    link.REQUEST_table = 0;
    link.DATA_block = QByteArray(1, '0') + QByteArray(500, '\7');
    link.REQUEST_kind = Link::TableHeader;
    link.SendRequest();
    EXPECT_EQ(lastWrite().left(17), "01 33 01 F3 00 00");
    EXPECT_TRUE(link.SendDataBlock());
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(port.writes()[1].bytes, link.DATA_block);
    EXPECT_EQ(port.writes()[1].bytes.size(), 501);
    EXPECT_EQ(port.writes()[1].bytes[0], '0');
    EXPECT_EQ(link.CHECK_length, 500);
    EXPECT_EQ(link.FRAME_buffer, link.DATA_block);
}

TEST_F(LinkFixture, TableFourAnnounces543AndSends544) {
    link.REQUEST_table = 4;
    link.DATA_block = QByteArray(544, '\2');
    link.REQUEST_kind = Link::TableHeader;
    link.SendRequest();
    EXPECT_EQ(lastWrite().left(17), "01 37 02 1F 00 00");
    link.SendDataBlock();
    EXPECT_EQ(port.writes().back().bytes.size(), 544);
    EXPECT_EQ(link.CHECK_length, 544);
}

TEST_F(LinkFixture, EveryTableCarriesItsDataCount) {
    const int counts[] = {500, 1600, 64, 68, 544, 1836, 680, 578, 660, 32, 16824, 320, 32};
    for (int table = 0; table < Link::kTableCount; ++table) {
        EXPECT_EQ(Link::tableDataCount(table), counts[table]);
        link.REQUEST_kind = Link::TableHeader;
        link.REQUEST_table = static_cast<std::int16_t>(table);
        link.DATA_block = QByteArray(counts[table], '\0');
        EXPECT_TRUE(link.SendDataBlock()) << "table " << table;
        EXPECT_EQ(link.CHECK_length, counts[table]);
    }
    EXPECT_EQ(Link::tableDataCount(13), -1);
    EXPECT_EQ(Link::tableDataCount(-1), -1);
}

TEST_F(LinkFixture, AShortDataBlockIsNotSentExceptForTheParameterTable) {
    link.REQUEST_kind = Link::TableHeader;
    link.REQUEST_table = 9;
    link.DATA_block = QByteArray(31, '\0');
    EXPECT_FALSE(link.SendDataBlock());
    EXPECT_TRUE(port.writes().empty());

    link.REQUEST_table = 10;
    link.DATA_block = QByteArray(100, '\0');
    EXPECT_TRUE(link.SendDataBlock());
    EXPECT_EQ(port.writes().back().bytes.size(), 100);
    EXPECT_EQ(prompts.beeps, 0);
}

TEST_F(LinkFixture, AnUnknownTableKeepsTheCheckLengthItFound) {
    link.REQUEST_kind = Link::TableHeader;
    link.REQUEST_table = 9;
    link.DATA_block = QByteArray(32, '\0');
    link.SendDataBlock();
    link.REQUEST_table = 14;
    link.DATA_block = QByteArray(40, '\0');
    EXPECT_TRUE(link.SendDataBlock());
    EXPECT_EQ(link.CHECK_length, 32);
}

TEST_F(LinkFixture, AScreenWriteSendsStationAndMarkerBeforeTheData) {
    link.settings.NET_Z5_number = 3;
    link.SCREEN_data_length = 28809;
    link.DATA_block = QByteArray(28809, '\5');
    link.REQUEST_kind = Link::ScreenHeader;
    link.SendRequest();
    EXPECT_EQ(lastWrite(), "03 32 70 8B 00 00 06 53");
    EXPECT_TRUE(link.SendDataBlock());
    const QByteArray sent = port.writes().back().bytes;
    ASSERT_EQ(sent.size(), Link::kScreenWriteLength);
    EXPECT_EQ(sent.left(2), QByteArray::fromHex("033C"));
    EXPECT_EQ(sent.mid(2), link.DATA_block);
    EXPECT_EQ(link.CHECK_length, 28809);
}

TEST_F(LinkFixture, ReadsAndCommandsHaveNoDataBlock) {
    link.DATA_block = QByteArray(600, '\0');
    for (int kind : {2, 3, 4, 7}) {
        link.REQUEST_kind = static_cast<std::uint8_t>(kind);
        EXPECT_FALSE(link.SendDataBlock());
    }
    EXPECT_TRUE(port.writes().empty());
}

TEST(LinkPort, TheOpenSequenceOpensTheChosenPortOnceAndThenReusesIt) {
    qunsetenv("Z5_COM4");
    qputenv("Z5_COM7", "/dev/ttyUSB7");
    z5::FakeSerialPort port;
    z5::RecordingPrompts prompts;
    Link link(port, prompts);
    EXPECT_EQ(link.settings.COM_PORT_number, 4);
    EXPECT_EQ(link.settings.NET_Z5_number, 1);

    ASSERT_TRUE(link.openPort());
    EXPECT_EQ(port.openedDevice(), QStringLiteral("/dev/ttyS3"));
    link.settings.COM_PORT_number = 7;
    ASSERT_TRUE(link.openPort());
    EXPECT_EQ(port.openCount(), 1);   // an open port is reused as it is

    port.close();
    ASSERT_TRUE(link.openPort());
    EXPECT_EQ(port.openedDevice(), QStringLiteral("/dev/ttyUSB7"));
    qunsetenv("Z5_COM7");
}

TEST(LinkPort, AFailedOpenExplainsItselfAfterTheFixedText) {
    z5::FakeSerialPort port;
    z5::RecordingPrompts prompts;
    Link link(port, prompts);
    EXPECT_EQ(link.networkFailureText(), QStringLiteral("Нет сети!!!"));
    port.refuseOpen = true;
    port.refuseReason = QStringLiteral("Нет доступа к порту /dev/ttyS3");
    EXPECT_FALSE(link.openPort());
    EXPECT_EQ(link.networkFailureText(), QStringLiteral("Нет сети!!!\nНет доступа к порту /dev/ttyS3"));
    link.settings.COM_PORT_number = 17;
    port.refuseOpen = false;
    EXPECT_FALSE(link.openPort());
}
