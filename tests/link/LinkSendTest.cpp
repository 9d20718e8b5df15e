#include "link/FakeSerialPort.h"
#include "link/EditFields.h"
#include "link/Link.h"
#include "link/Request.h"
#include "model/RecordingPrompts.h"
#include <gtest/gtest.h>

using z5::Link;
using z5::Request;

namespace {

QString hex(const QByteArray &b) { return QString::fromLatin1(b.toHex(' ').toUpper()); }

struct LinkFixture : ::testing::Test {
    z5::FakeSerialPort port;
    z5::RecordingPrompts prompts;
    Link link{port, prompts};
    void SetUp() override { ASSERT_TRUE(port.open(QStringLiteral("/dev/fake"))); }
    QString lastWrite() const { return port.writes().empty() ? QString() : hex(port.writes().back().bytes); }
    void blockRead(int block) {
        z5::Request::blockRead(block).applyTo(link);
        link.sendRequest();
    }
};

} // namespace

TEST_F(LinkFixture, ASteppingReadCarriesTheNextIndexEachTime) {
    blockRead(3);
    EXPECT_EQ(link.fields().index, 11);
    link.sendRequest();
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(hex(port.writes()[0].bytes).left(17), "01 03 04 0A 00 00");
    EXPECT_EQ(hex(port.writes()[1].bytes).left(17), "01 03 04 0B 00 00");
    EXPECT_EQ(link.fields().index, 12);
}

TEST_F(LinkFixture, ReadsAndCommandsDoNotStepTheIndex) {
    z5::testing::editFields(link, [&](z5::RequestFields &f) {
        f.index = 11;
        f.kind = Request::Read;
    });
    link.sendRequest();
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.kind = Request::Command; });
    link.sendRequest();
    EXPECT_EQ(link.fields().index, 11);
}

TEST_F(LinkFixture, FieldsACallerLeavesUnsetGoOutAsThePreviousRequestLeftThem) {
    blockRead(3);   // leaves index 11 and count 0
    z5::testing::editFields(link, [&](z5::RequestFields &f) {
        f.kind = Request::Command;
        f.code = Request::StartProcess;
        f.block = 0;
    });
    link.sendRequest();
    EXPECT_EQ(lastWrite(), "01 03 00 0B 33 00 F8 20");
}

TEST_F(LinkFixture, OnlyTheSetpointTableHeaderCarriesTheBlock) {
    z5::testing::editFields(link, [&](z5::RequestFields &f) {
        f.block = 7;
        f.kind = Request::TableHeader;
    });
    for (int table = 0; table < Link::kTableCount; ++table) {
        z5::testing::editFields(link, [&](z5::RequestFields &f) { f.table = static_cast<std::int16_t>(table); });
        link.sendRequest();
        EXPECT_EQ(std::uint8_t(link.frame()[1]), 0x33 + table);
        EXPECT_EQ(std::uint8_t(link.frame()[5]), table == 12 ? 7 : 0) << "table " << table;
    }
}

TEST_F(LinkFixture, ARequestThatCannotBeBuiltBeepsAndSendsNothing) {
    struct Case {
        const char *what;
        std::uint8_t kind;
        int block, index, count, station;
    };
    const Case cases[] = {
        {"index 255 cannot step", Request::SteppingRead, 3, 255, 0, 1},
        {"block + 1 beyond a byte", Request::SteppingRead, 255, 10, 0, 1},
        {"negative block", Request::Command, -1, 10, 0, 1},
        {"count beyond a byte", Request::Read, 3, 10, 256, 1},
        {"station beyond a byte", Request::Read, 3, 10, 0, 256},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        blockRead(1);
        const QByteArray frameBefore = link.frame();
        port.clearWrites();
        prompts.beeps = 0;
        z5::testing::editFields(link, [&](z5::RequestFields &f) {
            f.kind = c.kind;
            f.block = static_cast<std::int16_t>(c.block);
            f.index = static_cast<std::uint8_t>(c.index);
            f.count = static_cast<std::int16_t>(c.count);
        });
        link.settings.station = c.station;
        EXPECT_FALSE(link.sendRequest());
        EXPECT_TRUE(port.writes().empty());
        EXPECT_EQ(prompts.beeps, 1);
        EXPECT_EQ(link.fields().index, c.index);
        EXPECT_EQ(link.frame(), frameBefore);
        link.settings.station = 1;
    }
}

TEST_F(LinkFixture, AClosedPortBeepsForARequestAndStaysSilentForData) {
    port.close();
    z5::testing::editFields(link, [&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 9;
    });
    EXPECT_FALSE(link.sendRequest());
    EXPECT_EQ(prompts.beeps, 1);
    link.loadTableData(link.fields().table, QByteArray(32, '\1'));
    EXPECT_FALSE(link.sendDataBlock());
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(LinkFixture, AnUnknownKindOrTableSendsTheLastFrameAgain) {
    blockRead(3);
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.kind = 9; });
    link.sendRequest();
    z5::testing::editFields(link, [&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 13;
    });
    link.sendRequest();
    ASSERT_EQ(port.writes().size(), 3u);
    EXPECT_EQ(hex(port.writes()[1].bytes), "01 03 04 0A 00 00 F8 64");
    EXPECT_EQ(hex(port.writes()[2].bytes), "01 03 04 0A 00 00 F8 64");
}

TEST_F(LinkFixture, AnUnknownKindWithNoFrameBuiltYetBeeps) {
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.kind = 5; });
    EXPECT_FALSE(link.sendRequest());
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(LinkFixture, TableZeroSendsALeadingZeroAndFiveHundredBytesWithoutCheckValue) {
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.table = 0; });
    link.loadTableData(link.fields().table, QByteArray(1, '0') + QByteArray(500, '\7'));
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.kind = Request::TableHeader; });
    link.sendRequest();
    EXPECT_EQ(lastWrite().left(17), "01 33 01 F3 00 00");
    EXPECT_TRUE(link.sendDataBlock());
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(port.writes()[1].bytes, link.dataBlock());
    EXPECT_EQ(port.writes()[1].bytes.size(), 501);
    EXPECT_EQ(port.writes()[1].bytes[0], '0');
    EXPECT_EQ(link.checkLength(), 500);
    EXPECT_EQ(link.frame(), link.dataBlock());
}

TEST_F(LinkFixture, TableFourAnnounces543AndSends544) {
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.table = 4; });
    link.loadTableData(link.fields().table, QByteArray(544, '\2'));
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.kind = Request::TableHeader; });
    link.sendRequest();
    EXPECT_EQ(lastWrite().left(17), "01 37 02 1F 00 00");
    link.sendDataBlock();
    EXPECT_EQ(port.writes().back().bytes.size(), 544);
    EXPECT_EQ(link.checkLength(), 544);
}

TEST_F(LinkFixture, EveryTableCarriesItsDataCount) {
    const int counts[] = {500, 1600, 64, 68, 544, 1836, 680, 578, 660, 32, 16824, 320, 32};
    for (int table = 0; table < Link::kTableCount; ++table) {
        EXPECT_EQ(Link::tableDataCount(table), counts[table]);
        z5::testing::editFields(link, [&](z5::RequestFields &f) {
            f.kind = Request::TableHeader;
            f.table = static_cast<std::int16_t>(table);
        });
        link.loadTableData(link.fields().table, QByteArray(counts[table], '\0'));
        EXPECT_TRUE(link.sendDataBlock()) << "table " << table;
        EXPECT_EQ(link.checkLength(), counts[table]);
    }
    EXPECT_EQ(Link::tableDataCount(13), -1);
    EXPECT_EQ(Link::tableDataCount(-1), -1);
}

TEST_F(LinkFixture, AShortDataBlockIsNotSentExceptForTheParameterTable) {
    z5::testing::editFields(link, [&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 9;
    });
    link.loadTableData(link.fields().table, QByteArray(31, '\0'));
    EXPECT_FALSE(link.sendDataBlock());
    EXPECT_TRUE(port.writes().empty());

    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.table = 10; });
    link.loadTableData(link.fields().table, QByteArray(100, '\0'));
    EXPECT_TRUE(link.sendDataBlock());
    EXPECT_EQ(port.writes().back().bytes.size(), 100);
    EXPECT_EQ(prompts.beeps, 0);
}

TEST_F(LinkFixture, AnUnknownTableKeepsTheCheckLengthItFound) {
    z5::testing::editFields(link, [&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 9;
    });
    link.loadTableData(link.fields().table, QByteArray(32, '\0'));
    link.sendDataBlock();
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.table = 14; });
    link.loadTableData(link.fields().table, QByteArray(40, '\0'));
    EXPECT_TRUE(link.sendDataBlock());
    EXPECT_EQ(link.checkLength(), 32);
}

TEST_F(LinkFixture, AScreenWriteSendsStationAndMarkerBeforeTheData) {
    link.settings.station = 3;
    link.loadScreenData(QByteArray(28809, '\5'), 28809);
    z5::testing::editFields(link, [&](z5::RequestFields &f) { f.kind = Request::ScreenHeader; });
    link.sendRequest();
    EXPECT_EQ(lastWrite(), "03 32 70 8B 00 00 06 53");
    EXPECT_TRUE(link.sendDataBlock());
    const QByteArray sent = port.writes().back().bytes;
    ASSERT_EQ(sent.size(), Link::kScreenWriteLength);
    EXPECT_EQ(sent.left(2), QByteArray::fromHex("033C"));
    EXPECT_EQ(sent.mid(2), link.dataBlock());
    EXPECT_EQ(link.checkLength(), 28809);
}

TEST_F(LinkFixture, ReadsAndCommandsHaveNoDataBlock) {
    link.loadTableData(link.fields().table, QByteArray(600, '\0'));
    for (int kind : {2, 3, 4, 7}) {
        z5::testing::editFields(link, [&](z5::RequestFields &f) { f.kind = static_cast<std::uint8_t>(kind); });
        EXPECT_FALSE(link.sendDataBlock());
    }
    EXPECT_TRUE(port.writes().empty());
}

TEST(LinkPort, TheOpenSequenceOpensTheChosenPortOnceAndThenReusesIt) {
    qunsetenv("Z5_COM4");
    qputenv("Z5_COM7", "/dev/ttyUSB7");
    z5::FakeSerialPort port;
    z5::RecordingPrompts prompts;
    Link link(port, prompts);
    EXPECT_EQ(link.settings.portNumber, 4);
    EXPECT_EQ(link.settings.station, 1);

    ASSERT_TRUE(link.openPort());
    EXPECT_EQ(port.openedDevice(), QStringLiteral("/dev/ttyS3"));
    link.settings.portNumber = 7;
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
    link.settings.portNumber = 17;
    port.refuseOpen = false;
    EXPECT_FALSE(link.openPort());
}
