// z5ctl with the controller simulated inside it (--port sim): no z5-sim, no
// terminal. Each run has a controller of its own, which comes with the example
// program already in it.
#include "CliRun.h"
#include <QDir>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliScenario {
    const char *name;
    QStringList args;        // "DIR" stands for a fresh temporary folder
    int code;
    QStringList outHas;      // lines that standard output must hold
    const char *errHas;      // what standard error must hold ("" for anything)
};

void PrintTo(const CliScenario &s, std::ostream *os) { *os << s.name; }

const QString kExample = QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net");

const CliScenario kCliScenarios[] = {
    {"ports lists it among the devices present", {"ports"}, 0, {"serial devices present:", "Симулятор Z5"}, ""},
    {"a block of the example program reads at once",
     {"read-block", "--port", "sim", "--block", "U3"},
     0,
     {"U3 at station 1", "row\tfirst\tsecond\tthird"},
     ""},
    {"the example downloads into it",
     {"download", "--port", "Симулятор Z5", kExample, "--record", "DIR/record.z5r"},
     0,
     {},
     "готово"},
    {"another station does not answer",
     {"read-block", "--port", "sim", "--station", "2", "--block", "U3"},
     3,
     {},
     "no valid reply from station 2 for U3"},
};

class Z5ctlSimulatedPort : public ::testing::TestWithParam<CliScenario> {};

} // namespace

TEST_P(Z5ctlSimulatedPort, RunsWithoutHardware) {
    const CliScenario &s = GetParam();
    QTemporaryDir dir;
    QStringList args = s.args;
    args.replaceInStrings(QStringLiteral("DIR"), dir.path());
    // The user's own settings must not map anything here.
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const z5::testing::CliRun r = z5::testing::runProgram(QStringLiteral(Z5CTL_PATH), args, 30000, env);
    EXPECT_EQ(r.code, s.code) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    for (QString wanted : s.outHas) {
        wanted.replace(QStringLiteral("DIR"), dir.path());
        EXPECT_TRUE(lines.contains(wanted)) << wanted.toStdString() << " not in:\n" << r.out.toStdString();
    }
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(s.errHas))) << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Z5ctlSimulatedPort, ::testing::ValuesIn(kCliScenarios));
