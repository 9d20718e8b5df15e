// A request goes out completed with the fields it carries from the one before,
// and its reply keeps the frame that went out for it. One row per request
// kind after a given previous request, named by the frame sent.
#include "LineBench.h"
#include "ReplyFrames.h"
#include "link/Link.h"
#include "LineSessionProbe.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

struct CompletionRow {
    const char *frame;       // the 6 bytes sent, hex
    Request previous;        // what was last on the line before
    Request request;
    int indexAfter;          // the index the next request carries
};

void PrintTo(const CompletionRow &row, std::ostream *os) { *os << row.frame; }

class CarriedFields : public ::testing::TestWithParam<CompletionRow> {};

} // namespace

TEST_P(CarriedFields, TheRequestGoesOutCompletedFromTheFieldsLastOnTheLine) {
    const CompletionRow &row = GetParam();
    LineBench b;
    ASSERT_TRUE(z5::LineSessionProbe::openPort(b.line));
    ASSERT_TRUE(LineSessionProbe::send(b.line, row.previous));
    b.port.clearWrites();

    ASSERT_TRUE(LineSessionProbe::send(b.line, row.request));

    ASSERT_EQ(b.port.writes().size(), 1u);
    EXPECT_EQ(b.port.writes()[0].bytes, Link::withCheckValue(QByteArray::fromHex(row.frame)));
    EXPECT_EQ(LineSessionProbe::onLine(b.line).index, row.indexAfter);
    // The request itself is a value: completing it changed nothing in it.
    const RequestFields completed = row.request.completedFrom(LineSessionProbe::onLine(b.line));
    EXPECT_EQ(row.request.completedFrom(completed), completed);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CarriedFields,
    ::testing::Values(
        // A block read sets everything but the table; it steps its index.
        CompletionRow{"0103040a0000", Request::trendPage(9, 4), Request::blockRead(3), 11},
        // A process command carries the index and count last on the line.
        CompletionRow{"0103000b3300", Request::blockRead(3), Request::processCommand(Request::StartProcess), 11},
        CompletionRow{"0103000b3204", Request::trendPage(5, 4), Request::processCommand(Request::PauseProcess), 11},
        // A panel key carries them too.
        CompletionRow{"0103060b0700", Request::blockRead(1), Request::panelKey(5, 7), 11},
        // A recording start or stop carries the last code.
        CompletionRow{"01030a010702", Request::panelKey(5, 7), Request::recording(9, true), 2},
        CompletionRow{"01030a003302", Request::processCommand(Request::StartProcess), Request::recording(9, false), 1},
        // The first part of a trend page carries the code.
        CompletionRow{"01030a0a0504", Request::panelKey(2, 5), Request::trendPage(9, 4), 11},
        CompletionRow{"01030a0c0003", Request::panelKey(2, 5), Request::trendPagePart(9, 2, 3), 13},
        // Only table 12's header carries the block; the others leave it on the line.
        CompletionRow{"013c00200000", Request::blockRead(7), Request::tableHeader(Table::JournalBytes), 11},
        CompletionRow{"013f00200006", Request::blockRead(6), Request::tableHeader(Table::Setpoints), 11},
        CompletionRow{"013f0020000d", Request::blockRead(6), Request::tableHeader(Table::Setpoints, 13), 11},
        CompletionRow{"0132708b0000", Request::blockRead(6), Request::screenHeader(), 11}),
    [](const auto &info) { return std::string(info.param.frame); });

// Each reply keeps the frame its own request went out as, carried fields
// included, not the one sent before or after it.
TEST(SentFrames, EveryReplyKeepsTheFrameThatWentOutForIt) {
    LineBench b;
    b.port.responder = [](const QByteArray &written) { return testframes::blockReply(written[2]); };
    const auto read = b.line.enqueue(Request::blockRead(4));
    const auto command = b.line.enqueue(Request::processCommand(Request::ProcessPicture));
    const auto key = b.line.enqueue(Request::panelKey(2, 9));
    EXPECT_EQ(read->sentFrame(), Link::withCheckValue(QByteArray::fromHex("0103050a0000")));
    EXPECT_TRUE(command->sentFrame().isEmpty()) << "still waiting";
    b.clock.advance(3000);
    ASSERT_EQ(key->outcome(), LineOutcome::Reply);
    EXPECT_EQ(command->sentFrame(), Link::withCheckValue(QByteArray::fromHex("0103000b3400")));
    EXPECT_EQ(key->sentFrame(), Link::withCheckValue(QByteArray::fromHex("0103030b0900")));
    ASSERT_EQ(b.port.writes().size(), 3u);
    EXPECT_EQ(b.port.writes()[1].bytes, command->sentFrame());
}

// A request that could not go out has no frame; a block read leaves the kind
// on the line at 0, and the port's own reason is on its reply for the user to hear once.
TEST(SentFrames, AReadThatCouldNotGoOutHasNoFrameAndLeavesTheKindAtZero) {
    LineBench b;
    ASSERT_TRUE(z5::LineSessionProbe::openPort(b.line));
    ASSERT_TRUE(LineSessionProbe::send(b.line, Request::panelKey(3, 4)));
    b.port.close();
    b.port.refuseOpen = true;
    const auto read = b.line.enqueue(Request::blockRead(1));
    ASSERT_EQ(read->outcome(), LineOutcome::NoNetwork);
    EXPECT_TRUE(read->sentFrame().isEmpty());
    EXPECT_EQ(read->failure(), b.port.refuseReason);
    EXPECT_TRUE(read->metPortFailure()) << "the user hears of it from the read";
    EXPECT_EQ(LineSessionProbe::onLine(b.line).kind, 0);
    EXPECT_EQ(LineSessionProbe::onLine(b.line).code, 4) << "nothing else changed";
}
