// Writes and reads share one line: what one leaves behind must not reach the
// frames of the other, and a write with no port is a failure.
#include "WriteTestKit.h"
#include "download/SetpointWrite.h"
#include "link/LineSession.h"
#include <gtest/gtest.h>

using namespace z5;
using z5::testing::ChainRig;

namespace {

std::vector<std::pair<std::int64_t, QByteArray>> writesFrom(const FakeSerialPort &port, std::size_t first,
                                                            std::int64_t startMs) {
    std::vector<std::pair<std::int64_t, QByteArray>> out;
    for (std::size_t i = first; i < port.writes().size(); ++i)
        out.emplace_back(port.writes()[i].atMs - startMs, port.writes()[i].bytes);
    return out;
}

} // namespace

// A trend read past its watchdog, then a download: the line carries the
// download's frames, at the download's offsets, and nothing else.
TEST(LineOwnerWrites, ADownloadAfterAReadsLongWatchdogSendsOnlyItsOwnFrames) {
    ChainRig plain;
    ASSERT_TRUE(plain.chain.startDownload());
    plain.clock.advance(8000);
    const auto expected = writesFrom(plain.port, 0, 0);

    ChainRig r;
    r.port.silent = true;
    const std::shared_ptr<LineReply> read = r.line.enqueue(Request::blockRead(9), ReplyReception::kTrendWatchdogMs);
    r.clock.advance(8000);
    ASSERT_TRUE(read->isFinished());
    EXPECT_EQ(read->outcome(), LineOutcome::NoReply);
    r.clock.advance(75);
    const std::size_t before = r.port.writes().size();
    const std::int64_t start = r.clock.nowMs();
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(8000);
    EXPECT_EQ(writesFrom(r.port, before, start), expected);
}

TEST(LineOwnerWrites, ADownloadWithNoPortEndsAsAFailureNotAsFinished) {
    ChainRig r;
    r.port.refuseOpen = true;
    EXPECT_FALSE(r.chain.startDownload());
    r.clock.advance(8000);
    EXPECT_FALSE(r.lastWrite().succeeded());
    EXPECT_EQ(r.lastWrite().outcome(), LineOutcome::NoNetwork);
    EXPECT_EQ(r.log.lines, QStringList{"0 finished"}) << "no step reported";
    EXPECT_TRUE(r.port.writes().empty());
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.prompts.messages[0].text, "Нет сети!!!\nno such device");
    EXPECT_FALSE(r.line.isBusy());
}

// The port goes away in the middle: the write keeps its pace to the end but
// ends as a failure.
TEST(LineOwnerWrites, ADownloadWhoseSendsFailEndsAsAFailure) {
    ChainRig r;
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(700);
    r.port.refuseOpen = true;
    r.port.fail(QStringLiteral("gone"));
    r.clock.advance(8000);
    EXPECT_EQ(r.lastWrite().outcome(), LineOutcome::NoNetwork);
    EXPECT_EQ(r.lastWrite().failure(), QStringLiteral("gone"));
    ASSERT_FALSE(r.prompts.messages.empty());
    EXPECT_EQ(r.prompts.messages.back().text, QStringLiteral("Нет сети!!!\ngone"));
    EXPECT_EQ(r.log.only("finished").size(), 1) << "the last step still ran at its time";
}

TEST(LineOwnerWrites, AReadWaitsForTheWriteUnderWayAndGoesOutAfterIt) {
    ChainRig r;
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(600);
    const std::size_t sentBefore = r.port.writes().size();
    const std::shared_ptr<LineReply> read = r.line.enqueue(Request::blockRead(1));
    EXPECT_TRUE(r.line.isWaiting(*read));
    EXPECT_EQ(r.port.writes().size(), sentBefore);
    EXPECT_EQ(r.prompts.beeps, 0) << "it waits; nothing is refused";
    r.clock.advance(8000);
    EXPECT_TRUE(r.lastWrite().succeeded());
    EXPECT_FALSE(r.line.isWaiting(*read));
    ASSERT_FALSE(read->sentFrame().isEmpty());
    EXPECT_EQ(r.port.writes().back().bytes, read->sentFrame()) << "the read goes out after the whole download";
}
