#include "download/DownloadChain.h"
#include "download/DownloadLog.h"
#include "WriteTestKit.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>

using namespace z5;

// The command line's exit code rests on the failure count: a port lost halfway
// must not end in "done" with nothing to show for it.
TEST(DownloadLog, LinesAndFailuresOfADownloadThatLosesItsPort) {
    VirtualClock clock;
    FakeSerialPort port(&clock);
    RecordingPrompts prompts;
    z5::LineSession line(port, clock, prompts);
    z5::testing::PatternTables tables;
    DownloadChain chain(clock, line, prompts, tables);
    QStringList lines;
    clock.advance(250);
    DownloadLog log(clock, [&](const QString &l) { lines << l; });
    log.follow(chain.progress());
    chain.startDownload();
    clock.advance(150);
    EXPECT_EQ(lines.value(1), "    0 ms  table 0 header");
    EXPECT_EQ(lines.value(2), "  100 ms  table 0 data, 501 bytes");
    EXPECT_EQ(log.failures(), 0);

    port.refuseOpen = true;
    port.fail(QStringLiteral("gone"));
    clock.advance(8000);
    EXPECT_TRUE(log.isFinished());
    EXPECT_EQ(lines.last(), " 6200 ms  done");
    EXPECT_TRUE(lines.contains("  500 ms  table 1 header NOT sent"));
    EXPECT_TRUE(lines.contains(" 6200 ms  table 11 data, 320 bytes NOT sent"));
    EXPECT_EQ(log.failures(), 22);

    log.restart();
    EXPECT_EQ(log.failures(), 0);
    EXPECT_FALSE(log.isFinished());
    EXPECT_EQ(DownloadLog::tableName(DownloadProgress::kScreenImage), "screen");
}
