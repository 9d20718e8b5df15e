// The command-line verbs that talk to the controller, against z5-sim.
#include "SimProcess.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct Z5ctlRun {
    int code;
    QString out;
    QString err;
};

Z5ctlRun z5ctl(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
              const QString &folder = QString()) {
    QProcess p;
    p.setProcessEnvironment(env);
    if (!folder.isEmpty()) p.setWorkingDirectory(folder);
    p.start(QStringLiteral(Z5CTL_PATH), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(Z5ctlE2e, ReadBlockPrintsEightRowsOfValues) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    const Z5ctlRun r = z5ctl({QStringLiteral("read-block"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                         QStringLiteral("3")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[1], QStringLiteral("row\tfirst\tsecond\tthird"));
    EXPECT_EQ(lines[9], QStringLiteral("7\t0.000\t0.000\t0.000"));
    // U3 is column 2: frame byte 3 is 3.
    EXPECT_TRUE(sim.waitForEvent(
        [](const QJsonObject &e) { return e[QStringLiteral("hex")].toString() == QStringLiteral("01 03 03 0A 00 00 8C 65"); },
        1000));
}

TEST(Z5ctlE2e, CommandReportsTheProcessStateAndComPortsMapThroughTheEnvironment) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("Z5_COM4"), sim.device());
    Z5ctlRun r = z5ctl({QStringLiteral("command"), QStringLiteral("--port"), QStringLiteral("COM4"), QStringLiteral("start")},
                  env);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("process: running\n"));
    r = z5ctl({QStringLiteral("command"), QStringLiteral("--port"), sim.device(), QStringLiteral("pause")});
    EXPECT_EQ(r.out, QStringLiteral("process: stopped\n"));
}

TEST(Z5ctlE2e, NoReplySaysSoPlainly) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    const Z5ctlRun r = z5ctl({QStringLiteral("read-block"), QStringLiteral("--port"), sim.device(), QStringLiteral("--station"),
                         QStringLiteral("2"), QStringLiteral("--block"), QStringLiteral("1")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, QStringLiteral("z5ctl read-block: no valid reply from station 2 for U1 (no complete reply within 1000 ms)\n"));
}

// A link made beside the user, given as it was typed, is the port it points to.
TEST(Z5ctlE2e, ARelativeLinkAsThePortIsFoundFromTheCurrentFolder) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    ASSERT_TRUE(QFile::link(sim.device(), QDir(sim.dir()).filePath(QStringLiteral("z5"))));
    const Z5ctlRun r = z5ctl({QStringLiteral("read-block"), QStringLiteral("--port"), QStringLiteral("z5"), QStringLiteral("--block"),
                              QStringLiteral("1")},
                             QProcessEnvironment::systemEnvironment(), sim.dir());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("U1 at station 1\n"))) << r.out.toStdString();
}

struct ScanRow {
    const char *name;
    QStringList sim;
    QString out;
};
void PrintTo(const ScanRow &row, std::ostream *os) { *os << row.name; }

class Z5ctlScan : public ::testing::TestWithParam<ScanRow> {};

// Several controllers on one line: one answers, two are set to the same number,
// one sends damaged replies, two numbers are free.
TEST_P(Z5ctlScan, ListsWhatEachStationAnswered) {
    SimProcess sim(GetParam().sim);
    ASSERT_TRUE(sim.running());
    const Z5ctlRun r = z5ctl({QStringLiteral("scan"), QStringLiteral("--port"), sim.device(), QStringLiteral("--stations"),
                              QStringLiteral("1-5")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, GetParam().out);
    // Each station was asked for U1 once, in order, and only the listed ones answered.
    std::vector<int> asked, answering;
    for (const QJsonObject &e : sim.timeline()) {
        if (e[QStringLiteral("what")].toString() == QLatin1String("header")) asked.push_back(e[QStringLiteral("station")].toInt());
        if (e[QStringLiteral("what")].toString() == QLatin1String("block reply"))
            answering.push_back(e[QStringLiteral("station")].toInt());
    }
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(answering, (std::vector<int>{1, 3, 3, 5}));
}

const QString kScanned = QStringLiteral("station\tanswer\n1\tотвечает\n2\tнет ответа\n"
                                        "3\tконфликт: отвечают несколько контроллеров\n4\tнет ответа\n5\tответ искажён\n");

INSTANTIATE_TEST_SUITE_P(
    Sim, Z5ctlScan,
    ::testing::Values(ScanRow{"WholeReplies", {QStringLiteral("--station"), QStringLiteral("1,3,3,5"), QStringLiteral("--damaged"),
                                               QStringLiteral("5")}, kScanned},
                      // Paced at line speed, the two replies under one number come over each other.
                      ScanRow{"AtLineSpeed", {QStringLiteral("--station"), QStringLiteral("1,3,3,5"), QStringLiteral("--damaged"),
                                              QStringLiteral("5"), QStringLiteral("--line-speed")}, kScanned}),
    [](const ::testing::TestParamInfo<ScanRow> &info) { return std::string(info.param.name); });

TEST(Z5ctlE2e, WatchPrintsOneTimestampedLinePerReplyUnderThePinNames) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    const Z5ctlRun r = z5ctl({QStringLiteral("watch"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                              QStringLiteral("U05"), QStringLiteral("--type"), QStringLiteral("A_O"),
                              QStringLiteral("--every"), QStringLiteral("100"), QStringLiteral("--count"),
                              QStringLiteral("3"), QStringLiteral("--csv")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    const QStringList header = lines[0].split(QLatin1Char(','));
    EXPECT_EQ(header.first(), QStringLiteral("time"));
    EXPECT_GE(header.size(), 2);
    for (int i = 1; i < 4; ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(','));
        EXPECT_EQ(fields.size(), header.size()) << lines[i].toStdString();
        EXPECT_TRUE(QDateTime::fromString(fields.first(), Qt::ISODateWithMs).isValid()) << lines[i].toStdString();
    }
    // Each line is one read of column 4.
    EXPECT_TRUE(sim.waitForEvent(
        [](const QJsonObject &e) { return e[QStringLiteral("hex")].toString().startsWith(QStringLiteral("01 03 05 0A")); },
        1000));
}

TEST(Z5ctlE2e, WatchRefusesABlockThatIsNoDesignator) {
    const Z5ctlRun r = z5ctl({QStringLiteral("watch"), QStringLiteral("--port"), QStringLiteral("/dev/null"),
                              QStringLiteral("--block"), QStringLiteral("X5")});
    EXPECT_EQ(r.code, 64);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("z5ctl watch: --block is a designator U1..U99")));
}

// The settings file as the configurator keeps it, and a fifo in its place:
// that is not read (it would hold the program in its first read), the verb
// runs with the defaults and says so once.
TEST(Z5ctlE2e, PortsListsEachComNumberWithItsDeviceAndWhereItComesFrom) {
    struct SettingsRow {
        const char *name;
        bool fifo;
        const char *com2;
    };
    const SettingsRow rows[] = {
        {"a settings file", false, "COM2\t/dev/serial/by-id/usb-FTDI_test-if00-port0\tsettings"},
        {"a fifo at the settings file's place", true, "COM2\t/dev/ttyS1\tdefault"},
    };
    for (const SettingsRow &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // A settings folder of its own: the user's choices must not show here.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("Z5_COM4"), QStringLiteral("/tmp/z5-ports-test"));
        env.remove(QStringLiteral("Z5_COM1"));
        QDir(config.path()).mkpath(QStringLiteral("z5"));
        const QString settings = config.filePath(QStringLiteral("z5/z5-configurator.conf"));
        if (row.fifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0);
        } else {
            QFile kept(settings);
            ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
            kept.write("[ports]\nCOM2=/dev/serial/by-id/usb-FTDI_test-if00-port0\nCOM4=/dev/ttyUSB9\n");
        }

        const Z5ctlRun r = z5ctl({QStringLiteral("ports")}, env);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, row.fifo ? QStringLiteral("z5ctl: Настройки не прочитаны: %1 — канал (fifo), а не обычный файл. "
                                                   "Программа работает с настройками по умолчанию.\n")
                                        .arg(settings)
                                  : QString());
        QStringList lines = r.out.split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 17);
        // A device present on this machine may be followed by what it is.
        for (QString &line : lines) line = line.section(QLatin1Char('\t'), 0, 2);
        EXPECT_EQ(lines[0], QStringLiteral("COM1\t/dev/ttyS0\tdefault"));
        EXPECT_EQ(lines[1], QString::fromUtf8(row.com2));
        EXPECT_EQ(lines[3], QStringLiteral("COM4\t/tmp/z5-ports-test\tenvironment"));
        EXPECT_EQ(lines[15], QStringLiteral("COM16\t/dev/ttyS15\tdefault"));
        EXPECT_EQ(lines[16], QString());
    }
}

// A mistyped option must not leave the default station in force.
TEST(Z5ctlE2e, AnUnknownOptionIsRefusedWithTheUsageLine) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    const Z5ctlRun r = z5ctl({QStringLiteral("read-block"), QStringLiteral("--port"), sim.device(), QStringLiteral("--staton"),
                              QStringLiteral("3"), QStringLiteral("--block"), QStringLiteral("1")});
    EXPECT_EQ(r.code, 64);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("z5ctl read-block: unknown option --staton\nusage: z5ctl read-block ")))
        << r.err.toStdString();
    const Z5ctlRun download = z5ctl({QStringLiteral("download"), QStringLiteral("--port"), sim.device(),
                                     QStringLiteral("--staton"), QStringLiteral("3"), QStringLiteral("x.net")});
    EXPECT_EQ(download.code, 64);
    EXPECT_TRUE(download.err.contains(QStringLiteral("unknown option --staton"))) << download.err.toStdString();
}

TEST(Z5ctlE2e, HelpShowsTheExitCodesAndVersionTheVersion) {
    const Z5ctlRun help = z5ctl({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("  64  usage:"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("  3   no end:")));
    const Z5ctlRun version = z5ctl({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QStringLiteral("z5ctl 3.2\n"));
}

// `watch --every 50` against far ends of every honest kind: one that answers
// the moment it has read the request (a simulator on a virtual null-modem) and
// one that sends every reply twice (an echoing repeater). Every read is shown
// (the line owner's own tests check which reply is whose).
TEST(Z5ctlE2e, WatchShowsTheRepliesOfAnInstantOrEchoingFarEnd) {
    const struct {
        const char *name;
        QStringList simArguments;
        int reads;
    } rows[] = {
        {"instant", {QStringLiteral("--instant")}, 100},
        // An echoing line is slower: each copy must be seen and the line quiet after it.
        {"copies back to back", {QStringLiteral("--twice"), QStringLiteral("0")}, 10},
        {"copies 100 ms after", {QStringLiteral("--twice"), QStringLiteral("100")}, 10},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        SimProcess sim(row.simArguments);
        ASSERT_TRUE(sim.running());
        const Z5ctlRun r = z5ctl({QStringLiteral("watch"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                                  QStringLiteral("U05"), QStringLiteral("--every"), QStringLiteral("50"),
                                  QStringLiteral("--count"), QString::number(row.reads), QStringLiteral("--csv")});
        const int shown = int(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size()) - 1;
        EXPECT_EQ(shown, row.reads) << r.err.toStdString();
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
    }
}
