// z5ctl stopped by a signal, and a port that another program holds, against z5-sim.
#include "SimProcess.h"
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QStringList linesOf(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

struct Stop {
    const char *name;
    int signal;
    bool toFile;   // standard output to a file instead of a pipe
};
void PrintTo(const Stop &row, std::ostream *os) { *os << row.name; }

class WatchStop : public ::testing::TestWithParam<Stop> {};

// Each row is there as soon as it is printed, and a signal ends the watch after
// the row in hand with every row and the trace written.
TEST_P(WatchStop, EndsCleanlyWithEveryRowAndTheTraceWritten) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    const QString rowsFile = dir.filePath(QStringLiteral("rows.csv"));
    QProcess watch;
    if (GetParam().toFile) watch.setStandardOutputFile(rowsFile);
    watch.start(QStringLiteral(Z5CTL_PATH),
                {QStringLiteral("watch"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"), QStringLiteral("U5"),
                 QStringLiteral("--type"), QStringLiteral("A_O"), QStringLiteral("--every"), QStringLiteral("100"),
                 QStringLiteral("--csv"), QStringLiteral("--trace"), trace});
    QString piped;
    const auto rows = [&] {
        if (GetParam().toFile) return static_cast<int>(linesOf(rowsFile).size());
        piped += QString::fromUtf8(watch.readAllStandardOutput());
        return static_cast<int>(piped.count(QLatin1Char('\n')));
    };
    // The heading and three rows while it still runs.
    ASSERT_TRUE(pumpUntil([&] { return rows() >= 4; }, 5000)) << "rows seen: " << rows();
    ::kill(static_cast<pid_t>(watch.processId()), GetParam().signal);
    ASSERT_TRUE(watch.waitForFinished(3000));
    const QString err = QString::fromUtf8(watch.readAllStandardError());
    EXPECT_EQ(watch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(watch.exitCode(), 0) << err.toStdString();

    const QString out = GetParam().toFile ? QString::fromUtf8([&] {
        QFile f(rowsFile);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }())
                                          : piped + QString::fromUtf8(watch.readAllStandardOutput());
    EXPECT_TRUE(out.endsWith(QLatin1Char('\n'))) << "a row was cut";
    const int replies = static_cast<int>(out.count(QLatin1Char('\n'))) - 1;
    EXPECT_GE(replies, 3);
    // A request and its reply for every row.
    EXPECT_GE(linesOf(trace).size(), 2 * replies) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Signals, WatchStop,
                         ::testing::Values(Stop{"InterruptThroughAPipe", SIGINT, false},
                                           Stop{"TerminateIntoAFile", SIGTERM, true},
                                           Stop{"HangUpThroughAPipe", SIGHUP, false}),
                         [](const ::testing::TestParamInfo<Stop> &info) { return std::string(info.param.name); });

// A write cut short still leaves its trace, and says it did not end.
TEST(Z5ctlStop, AnInterruptedDownloadWritesItsTraceAndSaysSo) {
    SimProcess sim({QStringLiteral("--line-speed")});
    ASSERT_TRUE(sim.running());
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    QProcess download;
    download.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("download"), QStringLiteral("--port"), sim.device(),
                                                QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net"), QStringLiteral("--trace"), trace});
    QString err;
    ASSERT_TRUE(pumpUntil([&] {
        err += QString::fromUtf8(download.readAllStandardError());
        return err.contains(QStringLiteral("таблица 1, "));
    }, 5000)) << err.toStdString();
    ::kill(static_cast<pid_t>(download.processId()), SIGTERM);
    ASSERT_TRUE(download.waitForFinished(3000));
    err += QString::fromUtf8(download.readAllStandardError());
    EXPECT_EQ(download.exitCode(), 128 + SIGTERM) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("z5ctl download: stopped before the write ended"))) << err.toStdString();
    EXPECT_GE(linesOf(trace).size(), 2);
}

TEST(Z5ctlPort, APortHeldByAnotherProgramIsNamedAsSuch) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QProcess holder;
    holder.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("watch"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                                              QStringLiteral("U1"), QStringLiteral("--every"), QStringLiteral("100")});
    QString out;
    ASSERT_TRUE(pumpUntil([&] {
        out += QString::fromUtf8(holder.readAllStandardOutput());
        return out.count(QLatin1Char('\n')) >= 2;
    }, 5000));
    QProcess reader;
    reader.start(QStringLiteral(Z5CTL_PATH),
                 {QStringLiteral("read-block"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"), QStringLiteral("1")});
    ASSERT_TRUE(reader.waitForFinished(5000));
    const QString err = QString::fromUtf8(reader.readAllStandardError());
    const qint64 holderPid = holder.processId();
    ::kill(static_cast<pid_t>(holderPid), SIGTERM);
    holder.waitForFinished(3000);
    EXPECT_EQ(reader.exitCode(), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("занят другой программой (z5ctl, процесс %1)").arg(holderPid)))
        << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("dialout"))) << err.toStdString();
}

} // namespace

namespace {

// `watch | head -3`: the watch ends when its reader does, its trace written.
TEST(Z5ctlStop, AReaderThatGoesAwayEndsTheWatchWithItsTrace) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    QProcess shell;
    shell.start(QStringLiteral("bash"),
                {QStringLiteral("-c"), QStringLiteral("\"$0\" watch --port \"$1\" --block U5 --every 50 --trace \"$2\" | head -3; "
                                                      "echo \"${PIPESTATUS[0]}\""),
                 QStringLiteral(Z5CTL_PATH), sim.device(), trace});
    ASSERT_TRUE(shell.waitForFinished(10000));
    const QStringList out = QString::fromUtf8(shell.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 4) << out.join(u'|').toStdString();
    EXPECT_EQ(out.last(), QStringLiteral("141"));
    EXPECT_GE(linesOf(trace).size(), 4);
}

} // namespace
