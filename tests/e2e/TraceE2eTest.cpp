// z5ctl --trace against z5-sim: the trace holds what the simulator saw and
// sent, byte for byte and in the same order.
#include "SimProcess.h"
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Transfer {
    QString direction;   // as the simulator says it: "in" reached it, "out" left it
    QString hex;
    bool operator==(const Transfer &o) const { return direction == o.direction && hex == o.hex; }
};

std::ostream &operator<<(std::ostream &os, const Transfer &t) {
    return os << t.direction.toStdString() << " " << t.hex.left(60).toStdString();
}

int z5ctl(const QStringList &args, QString *err = nullptr) {
    QProcess p;
    p.start(QStringLiteral(Z5CTL_PATH), args);
    p.waitForFinished(20000);
    if (err) *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}

// Trace lines: ms, arrow, what, length, check value, hex.
std::vector<Transfer> traceTransfers(const QString &path, std::vector<qint64> *times = nullptr) {
    std::vector<Transfer> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return out;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 6) {
            ADD_FAILURE() << "not a trace line: " << line.toStdString();
            continue;
        }
        out.push_back({fields[1] == QStringLiteral("→") ? QStringLiteral("in") : QStringLiteral("out"), fields[5]});
        if (times) times->push_back(fields[0].toLongLong());
    }
    return out;
}

std::vector<Transfer> timelineTransfers(const SimProcess &sim) {
    std::vector<Transfer> out;
    for (const QJsonObject &e : sim.timeline())
        if (e.contains(QStringLiteral("hex")))
            out.push_back({e[QStringLiteral("dir")].toString(), e[QStringLiteral("hex")].toString()});
    return out;
}

} // namespace

TEST(TraceE2e, DownloadTraceMatchesTheSimulatorsTimeline) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("download.txt"));
    QString err;
    ASSERT_EQ(z5ctl({QStringLiteral("download"), QStringLiteral("--port"), sim.device(), QStringLiteral("--trace"), trace,
                     QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net")},
                    &err),
              0)
        << err.toStdString();
    ASSERT_TRUE(sim.waitForEvent(
        [](const QJsonObject &e) {
            return e[QStringLiteral("what")].toString() == QStringLiteral("data") && e[QStringLiteral("table")].toInt() == 11;
        },
        3000));
    std::vector<qint64> times;
    const std::vector<Transfer> traced = traceTransfers(trace, &times);
    ASSERT_EQ(traced.size(), 24u) << "twelve headers, each with its data";
    EXPECT_EQ(traced, timelineTransfers(sim));
    // Table 10's header 4.2 s after table 0's, on the download's own clock.
    EXPECT_NEAR(times[20] - times[0], 4200, 150);
    EXPECT_NEAR(times[21] - times[20], 100, 50);
}

TEST(TraceE2e, ReadAndCommandTracesHoldRequestAndReply) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QTemporaryDir dir;
    const QString read = dir.filePath(QStringLiteral("read.txt"));
    const QString command = dir.filePath(QStringLiteral("command.txt"));
    ASSERT_EQ(z5ctl({QStringLiteral("read-block"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                     QStringLiteral("3"), QStringLiteral("--trace"), read}),
              0);
    ASSERT_EQ(z5ctl({QStringLiteral("command"), QStringLiteral("--port"), sim.device(), QStringLiteral("--trace"), command,
                     QStringLiteral("start")}),
              0);
    std::vector<Transfer> traced = traceTransfers(read);
    const std::vector<Transfer> second = traceTransfers(command);
    traced.insert(traced.end(), second.begin(), second.end());
    ASSERT_EQ(traced.size(), 4u);
    EXPECT_EQ(traced[0].hex, QStringLiteral("01 03 03 0A 00 00 8C 65"));
    EXPECT_EQ(traced, timelineTransfers(sim));

    QFile f(read);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines[0].section(QLatin1Char('\t'), 1, 4), QStringLiteral("→\tчтение блока U3\t8\tверна"));
    EXPECT_EQ(lines[1].section(QLatin1Char('\t'), 1, 4), QStringLiteral("←\tответ: чтение блока U3\t260\tверна"));
}

TEST(TraceE2e, WatchTracesEveryRead) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("watch.txt"));
    const QStringList watch{QStringLiteral("watch"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                            QStringLiteral("3"), QStringLiteral("--every"), QStringLiteral("100"),
                            QStringLiteral("--trace"), trace};
    QString err;
    ASSERT_EQ(z5ctl(watch + QStringList{QStringLiteral("--count"), QStringLiteral("2")}, &err), 0) << err.toStdString();
    const std::vector<Transfer> traced = traceTransfers(trace);
    ASSERT_EQ(traced.size(), 4u);
    EXPECT_EQ(traced, timelineTransfers(sim));
}

TEST(TraceE2e, ATraceWithNowhereToGoStopsBeforeTheLine) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QString err;
    EXPECT_EQ(z5ctl({QStringLiteral("read-block"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                     QStringLiteral("3"), QStringLiteral("--trace"), QStringLiteral("/no-such-folder/trace.txt")},
                    &err),
              64);
    EXPECT_TRUE(err.contains(QStringLiteral("--trace: cannot write into /no-such-folder"))) << err.toStdString();
    pumpEvents(300);
    EXPECT_TRUE(timelineTransfers(sim).empty());
}
