#include "LineBench.h"
#include "link/EditFields.h"
#include "link/Link.h"
#include "link/Request.h"
#include "LineSessionProbe.h"
#include <gtest/gtest.h>

using z5::Link;
using z5::LineSessionProbe;
using z5::Request;
using z5::testing::sendOnLine;

namespace {

QString hex(const QByteArray &b) { return QString::fromLatin1(b.toHex(' ').toUpper()); }

// What the line owner sends for the fields last on the line, with the fields
// edited through the test door.
struct LinkFixture : ::testing::Test, z5::LineBench {
    int notSentBefore = 0;
    void SetUp() override { ASSERT_TRUE(port.open(QStringLiteral("/dev/fake"))); }
    int notSent() const { return LineSessionProbe::framesNotSent(line) - notSentBefore; }
    QString lastWrite() const { return port.writes().empty() ? QString() : hex(port.writes().back().bytes); }
    const z5::RequestFields &onLine() const { return LineSessionProbe::onLine(line); }
    template <typename Edit>
    void edit(Edit e) { z5::testing::editFields(line, e); }
    void blockRead(int block) { LineSessionProbe::send(line, Request::blockRead(block)); }
};

} // namespace

TEST_F(LinkFixture, ASteppingReadCarriesTheNextIndexEachTime) {
    blockRead(3);
    EXPECT_EQ(onLine().index, 11);
    sendOnLine(line);
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(hex(port.writes()[0].bytes).left(17), "01 03 04 0A 00 00");
    EXPECT_EQ(hex(port.writes()[1].bytes).left(17), "01 03 04 0B 00 00");
    EXPECT_EQ(onLine().index, 12);
}

TEST_F(LinkFixture, ReadsAndCommandsDoNotStepTheIndex) {
    edit([&](z5::RequestFields &f) {
        f.index = 11;
        f.kind = Request::Read;
    });
    sendOnLine(line);
    edit([&](z5::RequestFields &f) { f.kind = Request::Command; });
    sendOnLine(line);
    EXPECT_EQ(onLine().index, 11);
}

TEST_F(LinkFixture, FieldsACallerLeavesUnsetGoOutAsThePreviousRequestLeftThem) {
    blockRead(3);   // leaves index 11 and count 0
    edit([&](z5::RequestFields &f) {
        f.kind = Request::Command;
        f.code = Request::StartProcess;
        f.block = 0;
    });
    sendOnLine(line);
    EXPECT_EQ(lastWrite(), "01 03 00 0B 33 00 F8 20");
}

TEST_F(LinkFixture, OnlyTheSetpointTableHeaderCarriesTheBlock) {
    edit([&](z5::RequestFields &f) {
        f.block = 7;
        f.kind = Request::TableHeader;
    });
    for (int table = 0; table < z5::wire::kTableCount; ++table) {
        edit([&](z5::RequestFields &f) { f.table = static_cast<std::int16_t>(table); });
        sendOnLine(line);
        EXPECT_EQ(std::uint8_t(LineSessionProbe::lastBuilt(line)[1]), 0x33 + table);
        EXPECT_EQ(std::uint8_t(LineSessionProbe::lastBuilt(line)[5]), table == 12 ? 7 : 0) << "table " << table;
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
        const QByteArray frameBefore = LineSessionProbe::lastBuilt(line);
        port.clearWrites();
        notSentBefore = LineSessionProbe::framesNotSent(line);
        edit([&](z5::RequestFields &f) {
            f.kind = c.kind;
            f.block = static_cast<std::int16_t>(c.block);
            f.index = static_cast<std::uint8_t>(c.index);
            f.count = static_cast<std::int16_t>(c.count);
        });
        line.changeStation(c.station);
        EXPECT_FALSE(sendOnLine(line));
        EXPECT_TRUE(port.writes().empty());
        EXPECT_EQ(notSent(), 1);
        EXPECT_EQ(onLine().index, c.index);
        EXPECT_EQ(LineSessionProbe::lastBuilt(line), frameBefore);
        line.changeStation(1);
    }
}

TEST_F(LinkFixture, AClosedPortBeepsForARequestAndStaysSilentForData) {
    port.close();
    edit([&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 9;
    });
    EXPECT_FALSE(sendOnLine(line));
    EXPECT_EQ(notSent(), 1);
    z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(32, '\1'));
    EXPECT_FALSE(LineSessionProbe::sendData(line));
    EXPECT_EQ(notSent(), 1);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(LinkFixture, AnUnknownKindOrTableSendsTheLastFrameAgain) {
    blockRead(3);
    edit([&](z5::RequestFields &f) { f.kind = 9; });
    sendOnLine(line);
    edit([&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 13;
    });
    sendOnLine(line);
    ASSERT_EQ(port.writes().size(), 3u);
    EXPECT_EQ(hex(port.writes()[1].bytes), "01 03 04 0A 00 00 F8 64");
    EXPECT_EQ(hex(port.writes()[2].bytes), "01 03 04 0A 00 00 F8 64");
}

TEST_F(LinkFixture, AnUnknownKindWithNoFrameBuiltYetBeeps) {
    edit([&](z5::RequestFields &f) { f.kind = 5; });
    EXPECT_FALSE(sendOnLine(line));
    EXPECT_EQ(notSent(), 1);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(LinkFixture, TableZeroSendsALeadingZeroAndFiveHundredBytesWithoutCheckValue) {
    edit([&](z5::RequestFields &f) { f.table = 0; });
    const QByteArray data = QByteArray(1, '0') + QByteArray(500, '\7');
    z5::LineSessionProbe::loadTableData(line, onLine().table, data);
    edit([&](z5::RequestFields &f) { f.kind = Request::TableHeader; });
    sendOnLine(line);
    EXPECT_EQ(lastWrite().left(17), "01 33 01 F3 00 00");
    EXPECT_TRUE(LineSessionProbe::sendData(line));
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(port.writes()[1].bytes, data);
    EXPECT_EQ(port.writes()[1].bytes.size(), 501);
    EXPECT_EQ(port.writes()[1].bytes[0], '0');
    EXPECT_EQ(LineSessionProbe::checkedLength(line), 500);
    EXPECT_EQ(LineSessionProbe::lastBuilt(line), data);
}

TEST_F(LinkFixture, TableFourAnnounces543AndSends544) {
    edit([&](z5::RequestFields &f) { f.table = 4; });
    z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(544, '\2'));
    edit([&](z5::RequestFields &f) { f.kind = Request::TableHeader; });
    sendOnLine(line);
    EXPECT_EQ(lastWrite().left(17), "01 37 02 1F 00 00");
    LineSessionProbe::sendData(line);
    EXPECT_EQ(port.writes().back().bytes.size(), 544);
    EXPECT_EQ(LineSessionProbe::checkedLength(line), 544);
}

TEST_F(LinkFixture, EveryTableCarriesItsDataCount) {
    const int counts[] = {500, 1600, 64, 68, 544, 1836, 680, 578, 660, 32, 16824, 320, 32};
    for (int table = 0; table < z5::wire::kTableCount; ++table) {
        EXPECT_EQ(Link::tableDataCount(table), counts[table]);
        edit([&](z5::RequestFields &f) {
            f.kind = Request::TableHeader;
            f.table = static_cast<std::int16_t>(table);
        });
        z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(counts[table], '\0'));
        EXPECT_TRUE(LineSessionProbe::sendData(line)) << "table " << table;
        EXPECT_EQ(LineSessionProbe::checkedLength(line), counts[table]);
    }
    EXPECT_EQ(Link::tableDataCount(13), -1);
    EXPECT_EQ(Link::tableDataCount(-1), -1);
}

TEST_F(LinkFixture, AShortDataBlockIsNotSentExceptForTheParameterTable) {
    edit([&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 9;
    });
    z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(31, '\0'));
    EXPECT_FALSE(LineSessionProbe::sendData(line));
    EXPECT_TRUE(port.writes().empty());

    edit([&](z5::RequestFields &f) { f.table = 10; });
    z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(100, '\0'));
    EXPECT_TRUE(LineSessionProbe::sendData(line));
    EXPECT_EQ(port.writes().back().bytes.size(), 100);
    EXPECT_EQ(notSent(), 0);
}

TEST_F(LinkFixture, AnUnknownTableKeepsTheCheckLengthItFound) {
    edit([&](z5::RequestFields &f) {
        f.kind = Request::TableHeader;
        f.table = 9;
    });
    z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(32, '\0'));
    LineSessionProbe::sendData(line);
    edit([&](z5::RequestFields &f) { f.table = 14; });
    z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(40, '\0'));
    EXPECT_TRUE(LineSessionProbe::sendData(line));
    EXPECT_EQ(LineSessionProbe::checkedLength(line), 32);
}

TEST_F(LinkFixture, AScreenWriteSendsStationAndMarkerBeforeTheData) {
    line.changeStation(3);
    z5::LineSessionProbe::loadScreenData(line, QByteArray(28809, '\5'), 28809);
    edit([&](z5::RequestFields &f) { f.kind = Request::ScreenHeader; });
    sendOnLine(line);
    EXPECT_EQ(lastWrite(), "03 32 70 8B 00 00 06 53");
    EXPECT_TRUE(LineSessionProbe::sendData(line));
    const QByteArray sent = port.writes().back().bytes;
    ASSERT_EQ(sent.size(), z5::wire::kScreenWriteLength);
    EXPECT_EQ(sent.left(2), QByteArray::fromHex("033C"));
    EXPECT_EQ(sent.mid(2), QByteArray(28809, '\5'));
    EXPECT_EQ(LineSessionProbe::checkedLength(line), 28809);
}

TEST_F(LinkFixture, ReadsAndCommandsHaveNoDataBlock) {
    z5::LineSessionProbe::loadTableData(line, onLine().table, QByteArray(600, '\0'));
    for (int kind : {2, 3, 4, 7}) {
        edit([&](z5::RequestFields &f) { f.kind = static_cast<std::uint8_t>(kind); });
        EXPECT_FALSE(LineSessionProbe::sendData(line));
    }
    EXPECT_TRUE(port.writes().empty());
}

TEST(LinkPort, TheOpenSequenceOpensTheChosenPortOnceAndThenReusesIt) {
    qunsetenv("Z5_COM4");
    qputenv("Z5_COM7", "/dev/ttyUSB7");
    z5::LineBench b;
    EXPECT_EQ(b.line.settings().portNumber, 4);
    EXPECT_EQ(b.line.settings().station, 1);

    ASSERT_TRUE(z5::LineSessionProbe::openPort(b.line));
    EXPECT_EQ(b.port.openedDevice(), QStringLiteral("/dev/ttyS3"));
    ASSERT_TRUE(z5::LineSessionProbe::openPort(b.line));
    EXPECT_EQ(b.port.openCount(), 1);   // an open port is reused as it is

    b.line.changePort(7);   // lets the old port go; the next work opens the new one
    EXPECT_FALSE(b.port.isOpen());
    ASSERT_TRUE(z5::LineSessionProbe::openPort(b.line));
    EXPECT_EQ(b.port.openedDevice(), QStringLiteral("/dev/ttyUSB7"));
    qunsetenv("Z5_COM7");
}

TEST(LinkPort, AFailedOpenGivesThePortsOwnReason) {
    z5::LineBench b;
    EXPECT_EQ(b.line.portErrorText(), QString());
    b.port.refuseOpen = true;
    b.port.refuseReason = QStringLiteral("Нет доступа к порту /dev/ttyS3");
    EXPECT_FALSE(z5::LineSessionProbe::openPort(b.line));
    EXPECT_EQ(b.line.portErrorText(), QStringLiteral("Нет доступа к порту /dev/ttyS3"));
    b.line.changePort(17);
    b.port.refuseOpen = false;
    EXPECT_FALSE(z5::LineSessionProbe::openPort(b.line));
}
