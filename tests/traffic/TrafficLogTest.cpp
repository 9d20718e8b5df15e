// The ring of transfers: times, bound, text lines.
#include "ReplyFrames.h"
#include "link/TrafficLog.h"
#include "link/TrafficText.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>

using namespace z5;

TEST(TrafficLog, KeepsTheNewestUpToItsCapacity) {
    VirtualClock clock;
    TrafficLog log(clock, 3);
    int signalled = 0;
    QObject::connect(&log, &TrafficLog::appended, [&](const TrafficRecord &r) {
        EXPECT_EQ(r.sequence, static_cast<std::uint64_t>(signalled));
        ++signalled;
    });
    for (int i = 0; i < 7; ++i) {
        clock.advance(10);
        log.recordReceived(QByteArray(1, static_cast<char>(i)));
    }
    EXPECT_EQ(signalled, 7);
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log.firstSequence(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log.at(i).bytes.at(0), 4 + i);
        EXPECT_EQ(log.at(i).ms, 50 + 10 * i);
    }
    EXPECT_TRUE(log.at(3).bytes.isEmpty()) << "outside the ring reads as an empty record";
    EXPECT_TRUE(log.at(-1).bytes.isEmpty());
    log.clear();
    EXPECT_EQ(log.size(), 0);
    log.recordReceived("x");
    EXPECT_EQ(log.at(0).sequence, 7u) << "numbers go on after a clear";
}

TEST(TrafficLog, DefaultBoundHoldsTwentyThousand) {
    VirtualClock clock;
    TrafficLog log(clock);
    const QByteArray frame = z5::testframes::withCheck(QByteArray::fromHex("0103040A0000"));
    for (int i = 0; i < TrafficLog::kDefaultCapacity + 500; ++i) log.recordSent(frame);
    EXPECT_EQ(log.size(), 20000);
    EXPECT_EQ(log.firstSequence(), 500u);
    EXPECT_EQ(log.at(19999).sequence, 20499u);
}

TEST(TrafficText, OneLineATransferWithShortenedHexOnlyOnRequest) {
    VirtualClock clock;
    TrafficLog log(clock);
    clock.advance(1234);
    log.recordSent(QByteArray::fromHex("0103040A0000F864"));
    clock.advance(150);
    log.recordReceived(z5::testframes::blockReply('\x22'));
    EXPECT_EQ(TrafficText::line(log.at(0)), "1234\t→\tчтение блока U4\t8\tверна\t01 03 04 0A 00 00 F8 64");
    const QStringList second = TrafficText::line(log.at(1)).split('\t');
    ASSERT_EQ(second.size(), 6);
    EXPECT_EQ(second.mid(0, 5), (QStringList{"1384", "←", "ответ: чтение блока U4", "260", "верна"}));
    EXPECT_EQ(second[5].size(), 260 * 3 - 1);
    EXPECT_EQ(TrafficText::hex(log.at(1).bytes, 4), "01 03 00 22 …");
    EXPECT_EQ(TrafficText::hexDump(QByteArray(17, '\xAB')),
              "00000  AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB\n00016  AB\n");
    EXPECT_EQ(TrafficText::text(log).count('\n'), 2);
}

TEST(TrafficLog, KeepsNoMoreThanTheBytesOfAReadChunkedArray) {
    VirtualClock clock;
    TrafficLog log(clock);
    QByteArray chunk;
    chunk.reserve(16384);
    chunk.append(QByteArray(260, '\x5A'));
    log.recordReceived(chunk);
    EXPECT_EQ(log.at(0).bytes, QByteArray(260, '\x5A'));
    EXPECT_LT(log.at(0).bytes.capacity(), 1024);
}
