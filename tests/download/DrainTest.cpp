// A write is over only when its bytes have left the port: a far end that stops
// reading ends the download, the setpoint write and the screen write as failures
// that say how much left.
#include "WriteTestKit.h"
#include "download/ScreenWrite.h"
#include "download/SetpointWrite.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <QImage>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace z5;
using z5::testing::ChainRig;

namespace {

struct WriteRig : z5::testing::WritesRig {
    std::vector<std::pair<bool, QString>> ended;
    WriteRig() {
        QObject::connect(&line, &LineSession::writeStarted, [this](const std::shared_ptr<WriteReply> &w) {
            WriteReply *reply = w.get();
            QObject::connect(reply, &WriteReply::finished, [this, reply] {
                ended.emplace_back(reply->succeeded(), reply->failureText());
                log.lines << QStringLiteral("%1 ended").arg(clock.nowMs());
            });
        });
    }
    qint64 bytesWritten() const { return port.writtenBytes().size(); }
};

struct WriteKind {
    const char *name;
    std::function<bool(WriteRig &)> start;
};

const std::vector<WriteKind> &writeKinds() {
    static const std::vector<WriteKind> kinds = {
        {"download", [](WriteRig &r) { return bool(r.chain.startDownload()); }},
        {"setpoint write", [](WriteRig &r) { return bool(r.setpoints.writeSetpoints(7)); }},
        {"screen write",
         [](WriteRig &r) {
             // 239 rows fit the packed stream whole, so no fit question comes first.
             QImage image(320, 239, QImage::Format_RGB32);
             image.fill(QColor(200, 0, 0));
             return bool(r.screen.startScreenWrite(image));
         }},
    };
    return kinds;
}

} // namespace

TEST(WriteDrain, AFarEndThatStopsReadingFailsEveryWriteWithTheCounts) {
    for (const WriteKind &kind : writeKinds()) {
        SCOPED_TRACE(kind.name);
        WriteRig r;
        r.port.farEndTakesBytes = 20;
        ASSERT_TRUE(kind.start(r));
        r.clock.advance(10000);
        ASSERT_EQ(r.ended.size(), 1u);
        EXPECT_FALSE(r.ended[0].first);
        EXPECT_EQ(r.ended[0].second, LineSession::notAcceptedText(20, r.bytesWritten()));
        EXPECT_EQ(r.ended[0].second, QStringLiteral("Z5 не принимает данные: отправлено 20 из %1 байт").arg(r.bytesWritten()));
        // The screen write may also warn that its picture does not fit whole;
        // the failure itself is shown once, last.
        const auto shown = std::count_if(r.prompts.messages.begin(), r.prompts.messages.end(),
                                         [&](const auto &m) { return m.text == r.ended[0].second; });
        EXPECT_EQ(shown, 1) << "the failure is shown once";
        ASSERT_FALSE(r.prompts.messages.empty());
        EXPECT_EQ(r.prompts.messages.back().text, r.ended[0].second);
        EXPECT_EQ(r.log.only("finished").size(), 1);
        EXPECT_EQ(r.lastWrite().outcome(), LineOutcome::NotDrained);
        EXPECT_FALSE(r.line.isBusy());
    }
}

TEST(WriteDrain, AQueueThatEmptiesInTimeEndsTheWriteAtTheNextPoll) {
    WriteRig r;
    r.port.farEndTakesBytes = 0;
    ASSERT_TRUE(r.setpoints.writeSetpoints(7));
    r.clock.advance(200);
    EXPECT_TRUE(r.ended.empty()) << "40 bytes still queued";
    EXPECT_TRUE(r.line.isBusy());
    r.clock.advance(5);
    r.port.farEndResumes();
    r.clock.advance(20);
    ASSERT_EQ(r.ended.size(), 1u);
    EXPECT_TRUE(r.ended[0].first);
    EXPECT_EQ(r.log.only("ended"), QStringList{"210 ended"});
    EXPECT_EQ(r.log.only("finished"), QStringList{"210 finished"});
}

TEST(WriteDrain, AQueueLeftAtTheDeadlineFailsAtTheLineTimeAndMargin) {
    WriteRig r;
    r.port.farEndTakesBytes = 8;  // the header only
    ASSERT_TRUE(r.setpoints.writeSetpoints(7));
    r.clock.advance(200 + LineSession::kDrainMarginMs);
    EXPECT_TRUE(r.ended.empty());
    r.clock.advance(20);
    ASSERT_EQ(r.ended.size(), 1u);
    EXPECT_EQ(r.ended[0].second, LineSession::notAcceptedText(8, 8 + r.tables.data(Table::Setpoints).size()));
}
