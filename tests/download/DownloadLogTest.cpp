#include "download/DownloadChain.h"
#include "download/DownloadLog.h"
#include "LineBench.h"
#include "WriteTestKit.h"
#include <gtest/gtest.h>

using namespace z5;

// The command line's exit code rests on the failure count: a port lost halfway
// must not end in "done" with nothing to show for it.
TEST(DownloadLog, LinesAndFailuresOfADownloadThatLosesItsPort) {
    LineBench bench;
    VirtualClock &clock = bench.clock;
    FakeSerialPort &port = bench.port;
    LineSession &line = bench.line;
    z5::testing::PatternTables tables;
    DownloadChain chain(clock, line, tables);
    QStringList lines;
    clock.advance(250);
    DownloadLog log(clock, [&](const QString &l) { lines << l; });
    QObject::connect(&line, &LineSession::writeStarted, &log,
                     [&](const std::shared_ptr<WriteReply> &w) { log.follow(*w); });
    chain.startDownload();
    clock.advance(150);
    EXPECT_EQ(lines.value(0), "    0 ms  таблица 0, заголовок");
    EXPECT_EQ(lines.value(1), "  100 ms  таблица 0, данные 501 байт");
    EXPECT_EQ(log.failures(), 0);

    port.refuseOpen = true;
    port.fail(QStringLiteral("gone"));
    clock.advance(8000);
    EXPECT_TRUE(log.isFinished());
    EXPECT_EQ(lines.last(), " 6200 ms  закончено с ошибкой");
    EXPECT_TRUE(lines.contains("  500 ms  таблица 1, заголовок НЕ отправлен"));
    EXPECT_TRUE(lines.contains(" 6200 ms  таблица 11, данные 320 байт НЕ отправлены"));
    EXPECT_EQ(log.failures(), 22);
    // The closing's three ticks, each once; the bar's value at the start is no tick.
    EXPECT_EQ(lines.filter(QStringLiteral("закрытие: шаг")),
              QStringList({" 2000 ms  закрытие: шаг 1 из 3", " 4000 ms  закрытие: шаг 2 из 3", " 6000 ms  закрытие: шаг 3 из 3"}));

    log.restart();
    EXPECT_EQ(log.failures(), 0);
    EXPECT_FALSE(log.isFinished());
    EXPECT_EQ(DownloadLog::tableName(WriteSequence::kScreen), "экран");
}
