// The ring of transfers: times, bound, text lines.
#include "ReplyFrames.h"
#include "link/TrafficLog.h"
#include "link/TrafficText.h"
#include "link/TrafficTrace.h"
#include "model/VirtualClock.h"
#include <QFile>
#include <QTemporaryDir>
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

// A trace keeps every transfer from the first, written as they come, while the
// log keeps its bound and counts what it let go.
TEST(TrafficTrace, KeepsEveryTransferFromTheFirstWhileTheLogKeepsItsBound) {
    VirtualClock clock;
    TrafficLog log(clock);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    TrafficTrace trace(log, path);
    const int transfers = TrafficLog::kDefaultCapacity + 1500;
    for (int i = 1; i <= transfers; ++i) {
        clock.advance(1);
        log.recordSent(QByteArray::number(i));
    }
    EXPECT_EQ(log.size(), TrafficLog::kDefaultCapacity);
    EXPECT_EQ(log.dropped(), 1500u);
    EXPECT_EQ(log.dropped(TrafficKind::Stray), 1500u);
    EXPECT_FALSE(QFile::exists(path)) << "in place only when the trace ends";
    QString why;
    ASSERT_TRUE(trace.finish(&why)) << why.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), transfers + 1);
    EXPECT_TRUE(lines.first().startsWith("1\t→\t")) << lines.first().toStdString();
    EXPECT_TRUE(lines.first().endsWith("\t31")) << "the first transfer's byte";
    EXPECT_TRUE(lines.at(transfers - 1).startsWith(QByteArray::number(transfers) + "\t→\t"));
    log.clear();
    EXPECT_EQ(log.dropped(), 0u);
}
