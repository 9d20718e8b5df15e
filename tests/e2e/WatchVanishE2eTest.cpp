// z5ctl watch --keep-going across a z5-sim that vanishes and comes back at the
// same path.
#include "SimProcess.h"
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

TEST(Z5ctlWatchE2e, KeepGoingWaitsForAVanishedPortAndReadsOnWhenItIsBack) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("z5"));
    auto sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--link"), link});
    ASSERT_TRUE(sim->running());

    QProcess watch;
    watch.start(QStringLiteral(Z5CTL_PATH),
                {QStringLiteral("watch"), QStringLiteral("--port"), link, QStringLiteral("--block"), QStringLiteral("U1"),
                 QStringLiteral("--every"), QStringLiteral("100"), QStringLiteral("--count"), QStringLiteral("40"),
                 QStringLiteral("--keep-going")});
    QString out;
    const auto lines = [&] {
        out += QString::fromUtf8(watch.readAllStandardOutput());
        return out.count(QLatin1Char('\n'));
    };
    ASSERT_TRUE(pumpUntil([&] { return lines() >= 4; }, 5000));   // the heading and three replies
    sim->kill();
    // As the system takes an unplugged adapter's name away: the pseudo-terminal
    // behind the old link may meanwhile be another test's.
    QFile::remove(link);
    pumpEvents(2000);
    const int whileGone = lines();
    sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--link"), link});
    ASSERT_TRUE(sim->running());
    ASSERT_TRUE(watch.waitForFinished(15000));
    lines();
    const QString err = QString::fromUtf8(watch.readAllStandardError());

    EXPECT_EQ(watch.exitCode(), 3) << err.toStdString();   // some reads failed
    EXPECT_EQ(err.count(QStringLiteral(" reopened ")), 1) << err.toStdString();
    // Two seconds at 100 ms: one failed read notices, then it waits for the port.
    EXPECT_LE(err.count(QStringLiteral("no valid reply")), 3) << err.toStdString();
    EXPECT_GT(out.count(QLatin1Char('\n')), whileGone);
}
