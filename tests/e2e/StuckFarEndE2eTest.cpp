// A far end that stops reading (a stuck adapter, flow control held): the bytes
// of a download never leave, and z5ctl says so instead of "готово".
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

TEST(StuckFarEndE2e, ADownloadWhoseBytesDoNotLeaveEndsWithExitTwoAndTheCounts) {
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    // Nobody ever reads the master side.
    QProcess p;
    p.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("download"), QStringLiteral("--auto"),
                                          QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net"), QStringLiteral("--port"),
                                          QString::fromLocal8Bit(name)});
    ASSERT_TRUE(p.waitForFinished(40000));
    ::close(slave);
    ::close(master);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 2) << err.toStdString();
    const QRegularExpression counts(QStringLiteral("Z5 не принимает данные: отправлено (\\d+) из (\\d+) байт"));
    const QRegularExpressionMatch m = counts.match(err);
    ASSERT_TRUE(m.hasMatch()) << err.toStdString();
    EXPECT_LT(m.captured(1).toLongLong(), m.captured(2).toLongLong());
    EXPECT_FALSE((out + err).contains(QStringLiteral(" готово"))) << "a write whose bytes did not leave is not done";
}
