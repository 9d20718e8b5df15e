// The block read of a left click and the process commands.
#include "ExchangeFixture.h"
#include "console/ConsoleProgress.h"
#include "link/EditFields.h"
#include "model/BlockCatalogue.h"

using namespace z5;
using z5::test::blockReply;
using z5::test::ExchangeFixture;
using z5::test::withCheck;

TEST_F(ExchangeFixture, ABlockReadAsksForTheBlockAndHandsOnItsReply) {
    answerWith(blockReply());
    select(13, BlockType::S_P);
    ASSERT_TRUE(exchange.startBlockRead());
    ASSERT_EQ(port.writes().size(), 1u);
    EXPECT_EQ(port.writes()[0].bytes.toHex(' '), withCheck(QByteArray::fromHex("01030e0a0000")).toHex(' '));
    EXPECT_EQ(exchange.running(), Request::BlockRead);
    EXPECT_EQ(reception.watchdogTimer().interval(), 1000);
    EXPECT_EQ(reception.pollTimer().interval(), 150);
    clock.advance(150);
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0], std::make_pair(Request::BlockRead, Result::Reply));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].size(), 260);
    EXPECT_EQ(exchange.running(), Request::None);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ExchangeFixture, NoAnswerEndsWithABeepAfterASecond) {
    port.silent = true;
    select(2, BlockType::MUL);
    ASSERT_TRUE(exchange.startBlockRead());
    clock.advance(999);
    EXPECT_TRUE(endings.empty());
    clock.advance(1);
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].second, Result::NoReply);
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ExchangeFixture, AReplyWithAWrongCheckValueIsDropped) {
    QByteArray bad = blockReply();
    std::swap(bad[258], bad[259]);
    answerWith(bad);
    select(2, BlockType::MUL);
    ASSERT_TRUE(exchange.startBlockRead());
    clock.advance(150);
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].second, Result::WrongCheckValue);
    EXPECT_TRUE(replies.empty());
}

// The line owner tells the user once ("Нет сети!!!" and why); the exchange awaits nothing.
TEST_F(ExchangeFixture, APortThatDoesNotOpenAwaitsNothing) {
    port.refuseOpen = true;
    select(2, BlockType::MUL);
    z5::testing::editFields(line, [&](z5::RequestFields &f) { f.kind = z5::Request::Read; });
    EXPECT_FALSE(exchange.startBlockRead());
    EXPECT_EQ(LineSessionProbe::onLine(line).kind, 0);
    EXPECT_EQ(exchange.running(), Request::None);
    EXPECT_FALSE(exchange.pending());
    EXPECT_TRUE(port.writes().empty());
    EXPECT_TRUE(endings.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith("Нет сети!!!"));
}

TEST_F(ExchangeFixture, AFrameThatCannotGoOutAwaitsNothingEither) {
    line.changeStation(300);  // a station beyond a byte: the frame is refused
    select(2, BlockType::MUL);
    EXPECT_FALSE(exchange.startBlockRead());
    EXPECT_EQ(prompts.beeps, 1);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Нет сети!!!");
    EXPECT_EQ(exchange.running(), Request::None);
    EXPECT_TRUE(endings.empty());
}

TEST_F(ExchangeFixture, StartAfterABlockReadCarriesTheIndexTheReadLeft) {
    port.silent = true;
    select(4, BlockType::PID);
    ASSERT_TRUE(exchange.startBlockRead());
    clock.advance(1000);
    port.clearWrites();
    ASSERT_TRUE(exchange.startProcessCommand(z5::Request::StartProcess));
    EXPECT_TRUE(port.writes().empty()) << "the read ended without its reply: it waits until that reply cannot come";
    clock.advance(StaleReplyGuard::kLateReplyLimitMs);
    ASSERT_EQ(port.writes().size(), 1u);
    EXPECT_EQ(port.writes()[0].bytes.toHex(' '), withCheck(QByteArray::fromHex("0103000b3300")).toHex(' '));
    EXPECT_EQ(state.selectedType, 5);
    EXPECT_EQ(state.selectedColumn, 4) << "the selected column stays";
}

TEST_F(ExchangeFixture, ProcessRepliesSwitchThePictures) {
    std::vector<ConsoleExchange::ProcessPicture> shown;
    QObject::connect(&exchange, &ConsoleExchange::processPictureChanged,
                     [&](ConsoleExchange::ProcessPicture p) { shown.push_back(p); });
    using P = ConsoleExchange::ProcessPicture;
    struct Case {
        z5::Request::CommandCode code;
        bool runs;
        P picture;
    };
    const Case cases[] = {
        {z5::Request::PauseProcess, true, P::Run},     {z5::Request::StartProcess, false, P::Pause},
        {z5::Request::ProcessPicture, false, P::Run},  {z5::Request::ProcessPicture, true, P::Pause},
    };
    for (const Case &c : cases) {
        answerWith(blockReply(c.runs));
        ASSERT_TRUE(exchange.startProcessCommand(c.code));
        clock.advance(400);   // a reply the same as the one before is held a little for one following it
        EXPECT_EQ(exchange.processPicture(), c.picture) << int(c.code);
        EXPECT_EQ(endings.back(), std::make_pair(Request::ProcessCommand, Result::Reply));
    }
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_TRUE(replies.empty()) << "process replies are not block values";

    answerWith(blockReply(false));
    ASSERT_TRUE(exchange.startProcessCommand(z5::Request::StoreSchema));
    clock.advance(150);
    EXPECT_EQ(shown.size(), 4u) << "storing the configuration shows nothing";
}

TEST_F(ExchangeFixture, ALinkBlockReplyIsNotTakenForAProcessState) {
    answerWith(blockReply(true));
    select(0, BlockType::RS4);
    ASSERT_TRUE(exchange.startBlockRead());
    clock.advance(150);
    EXPECT_EQ(replies.size(), 1u);
    EXPECT_EQ(exchange.processPicture(), ConsoleExchange::ProcessPicture::Pause);
}

TEST_F(ExchangeFixture, ProcessCommandsFailSilently) {
    port.refuseOpen = true;
    EXPECT_FALSE(exchange.startProcessCommand(z5::Request::PauseProcess));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(exchange.running(), Request::None);
}

TEST_F(ExchangeFixture, TheWatchdogIntervalIsTheOneTheLastReadSet) {
    port.silent = true;
    ASSERT_TRUE(exchange.startProcessCommand(z5::Request::PauseProcess));
    EXPECT_EQ(reception.watchdogTimer().interval(), 8000);
    exchange.cancel();
    select(3, BlockType::MUL);
    ASSERT_TRUE(exchange.startBlockRead());
    clock.advance(StaleReplyGuard::kLateReplyLimitMs + 1000 + 10);
    ASSERT_TRUE(exchange.startProcessCommand(z5::Request::PauseProcess));
    clock.advance(StaleReplyGuard::kLateReplyLimitMs + 10);
    EXPECT_EQ(reception.watchdogTimer().interval(), 1000);
}

// Each request is answered by its own reply: a block read waiting behind a
// command is not handed the command's reply, and a request the console has
// moved on from is not heard.
TEST_F(ExchangeFixture, OnlyTheLatestRequestIsHeard) {
    answerWith(blockReply());
    select(2, BlockType::MUL);
    ASSERT_TRUE(exchange.startBlockRead());
    const std::shared_ptr<LineReply> first = exchange.pending();
    ASSERT_TRUE(exchange.startPanelKey(2, 5));
    EXPECT_EQ(line.waitingCount(), 1) << "the key waits for the read under way";
    clock.advance(150);
    EXPECT_TRUE(first->isFinished());
    EXPECT_TRUE(replies.empty()) << "the read let go of is not drawn";
    EXPECT_TRUE(endings.empty());
    clock.advance(300);   // the same bytes again: held a little for a reply following them
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0], std::make_pair(Request::PanelKey, Result::Reply));
    EXPECT_EQ(replies.size(), 1u);
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(std::uint8_t(port.writes()[1].bytes[1]), 3) << "the key's kind";
}

TEST_F(ExchangeFixture, LettingGoWithdrawsARequestStillWaiting) {
    // Another window's write holds the line for half a second.
    ASSERT_TRUE(line.enqueue(WriteSequence().mark(500, 0)));
    select(2, BlockType::MUL);
    ASSERT_TRUE(exchange.startBlockRead());
    const std::shared_ptr<LineReply> read = exchange.pending();
    EXPECT_TRUE(line.isWaiting(*read));
    exchange.letGo();
    EXPECT_TRUE(read->isFinished());
    EXPECT_EQ(read->outcome(), LineOutcome::Cancelled);
    clock.advance(1000);
    EXPECT_TRUE(port.writes().empty());
    EXPECT_TRUE(endings.empty());
}

TEST(ConsoleProgressBar, StepsToOneHundredAndStops) {
    VirtualClock clock;
    ConsoleProgress progress(clock);
    std::vector<int> seen;
    QObject::connect(&progress, &ConsoleProgress::changed, [&](int v) { seen.push_back(v); });
    progress.restart(100);
    clock.advance(5000);
    EXPECT_EQ(progress.value(), 50);
    clock.advance(20000);
    EXPECT_EQ(progress.value(), 100);
    EXPECT_FALSE(progress.progressTimer().isActive());
    EXPECT_EQ(seen.size(), 101u);
    EXPECT_EQ(seen.front(), 0);
}
