// z5ctl's command line as a user meets it: help for every verb, one reason for
// every usage error, the README's usage lines.
#include <QDir>
#include "CliRun.h"
#include "SimProcess.h"
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using z5::testing::CliRun;

CliRun z5ctl(const QStringList &args) { return z5::testing::runProgram(QStringLiteral(Z5CTL_PATH), args, 10000); }

// Every form of every verb, as `z5ctl help` lists them.
QStringList listedForms() {
    QStringList forms;
    for (const QString &line : z5ctl({QStringLiteral("help")}).out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("  ")) && line.size() > 2 && line.at(2).isLower()) forms << line.mid(2);
    return forms;
}

QStringList listedVerbs() {
    QStringList verbs;
    for (const QString &form : listedForms()) {
        const QString verb = form.section(QLatin1Char(' '), 0, 0);
        if (!verbs.contains(verb)) verbs << verb;
    }
    return verbs;
}

const char *const kVerbs[] = {"archive", "command", "diff", "download", "export", "history", "import", "params",
                              "ports", "read-block", "restore", "scan", "screen", "screen-file", "tables", "trend",
                              "watch", "write-screen", "write-setpoints"};

class VerbHelp : public ::testing::TestWithParam<const char *> {};

TEST_P(VerbHelp, HelpVerbAndTheVerbsOwnHelpShowTheUsageWithAnExample) {
    const QString verb = QLatin1String(GetParam());
    for (const QStringList &args : {QStringList{QStringLiteral("help"), verb}, QStringList{verb, QStringLiteral("--help")},
                                    QStringList{verb, QStringLiteral("--port"), QStringLiteral("x"), QStringLiteral("-h")}}) {
        const CliRun r = z5ctl(args);
        EXPECT_EQ(r.code, 0) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: z5ctl %1").arg(verb))) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("example:\n  z5ctl %1").arg(verb))) << r.out.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVerb, VerbHelp, ::testing::ValuesIn(kVerbs),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             return QString::fromLatin1(info.param).remove(u'-').toStdString();
                         });

TEST(Z5ctlHelp, EveryListedVerbHasItsHelpRow) {
    QStringList rows;
    for (const char *v : kVerbs) rows << QLatin1String(v);
    EXPECT_EQ(listedVerbs(), rows);
}

TEST(Z5ctlHelp, TopLevelHelpAndVersionAreUnixLike) {
    for (const char *asked : {"help", "--help", "-h"}) {
        const CliRun r = z5ctl({QLatin1String(asked)});
        EXPECT_EQ(r.code, 0) << asked;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: z5ctl VERB"))) << asked;
    }
    const CliRun unknown = z5ctl({QStringLiteral("help"), QStringLiteral("nosuch")});
    EXPECT_EQ(unknown.code, 64);
    EXPECT_EQ(unknown.err, QStringLiteral("z5ctl help: no verb 'nosuch' (z5ctl help lists them)\n"));
}

// Every form `z5ctl help` shows stands in the README as it is, on a line of its own.
TEST(Z5ctlHelp, TheReadmeShowsEveryUsageLineOfEveryVerb) {
    QFile readme(QStringLiteral(Z5_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n'));
    const QStringList forms = listedForms();
    ASSERT_GE(forms.size(), 13);
    for (const QString &form : forms) {
        const QString shown = QStringLiteral("    z5ctl ") + form;
        const bool found = std::any_of(lines.begin(), lines.end(), [&](const QString &l) {
            return l == shown || l.startsWith(shown + QLatin1String("  "));
        });
        EXPECT_TRUE(found) << "README lacks: " << shown.toStdString();
    }
}

struct UsageError {
    const char *name;
    QStringList args;
    QString firstLine;
};
void PrintTo(const UsageError &row, std::ostream *os) { *os << row.name; }

class Z5ctlUsageError : public ::testing::TestWithParam<UsageError> {};

// Exit 64, nothing on standard output, and a first line that says what is wrong.
TEST_P(Z5ctlUsageError, SaysWhatIsWrongOnOneLine) {
    const CliRun r = z5ctl(GetParam().args);
    EXPECT_EQ(r.code, 64) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(r.err.section(QLatin1Char('\n'), 0, 0), GetParam().firstLine);
}

const QString kNull = QStringLiteral("/dev/null");
const QString kNet = QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net");

INSTANTIATE_TEST_SUITE_P(
    Rows, Z5ctlUsageError,
    ::testing::Values(
        UsageError{"NoVerb", {}, QStringLiteral("z5ctl: name a verb (z5ctl help lists them)")},
        UsageError{"UnknownVerb", {QStringLiteral("rd")}, QStringLiteral("z5ctl: unknown verb 'rd' (z5ctl help lists them)")},
        UsageError{"ArchivePagesBackwards",
                   {QStringLiteral("archive"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U11"),
                    QStringLiteral("--pages"), QStringLiteral("9-2")},
                   QStringLiteral("z5ctl archive: --pages is A-B or N, pages 1..250, A not after B")},
        UsageError{"ArchivePagesAndAll",
                   {QStringLiteral("archive"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U11"),
                    QStringLiteral("--pages"), QStringLiteral("1-3"), QStringLiteral("--all")},
                   QStringLiteral("z5ctl archive: --pages or --all, not both")},
        UsageError{"UnknownOption",
                   {QStringLiteral("read-block"), QStringLiteral("--port"), kNull, QStringLiteral("--staton"), QStringLiteral("3")},
                   QStringLiteral("z5ctl read-block: unknown option --staton")},
        UsageError{"RepeatedOption",
                   {QStringLiteral("read-block"), QStringLiteral("--port"), kNull, QStringLiteral("--station"), QStringLiteral("3"),
                    QStringLiteral("--station"), QStringLiteral("1"), QStringLiteral("--block"), QStringLiteral("1")},
                   QStringLiteral("z5ctl read-block: --station is given twice")},
        UsageError{"EmptyPort", {QStringLiteral("read-block"), QStringLiteral("--port"), QString(), QStringLiteral("--block"), QStringLiteral("1")},
                   QStringLiteral("z5ctl read-block: --port is empty: name COM1..COM16 or a device path")},
        UsageError{"ReadBlockU100", {QStringLiteral("read-block"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("100")},
                   QStringLiteral("z5ctl read-block: --block is a designator U1..U99 (U5, U05 or 5)")},
        UsageError{"WatchU100", {QStringLiteral("watch"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U100")},
                   QStringLiteral("z5ctl watch: --block is a designator U1..U99 (U5, U05 or 5)")},
        UsageError{"WatchTypeAndNetlist",
                   {QStringLiteral("watch"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U5"),
                    QStringLiteral("--type"), QStringLiteral("MUL"), QStringLiteral("extra")},
                   QStringLiteral("z5ctl watch: --type or NETLIST, not both: unexpected 'extra'")},
        UsageError{"TrendDecimalWithoutParams",
                   {QStringLiteral("trend"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U11"),
                    QStringLiteral("--decimal"), QStringLiteral("x"), QStringLiteral("--out"), QStringLiteral("p.csv")},
                   QStringLiteral("z5ctl trend: --decimal does not apply without --params")},
        UsageError{"TrendBadDecimal",
                   {QStringLiteral("trend"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U11"),
                    QStringLiteral("--params"), QStringLiteral("a.par"), QStringLiteral("--decimal"), QStringLiteral("x"),
                    QStringLiteral("--out"), QStringLiteral("p.csv")},
                   QStringLiteral("z5ctl trend: --decimal is \".\" or \",\"")},
        UsageError{"TrendStartWithOut",
                   {QStringLiteral("trend"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U11"),
                    QStringLiteral("--start"), QStringLiteral("--out"), QStringLiteral("x.csv")},
                   QStringLiteral("z5ctl trend: --out does not apply to --start or --stop")},
        UsageError{"TrendPrecisionWithCsv",
                   {QStringLiteral("trend"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U11"),
                    QStringLiteral("--out"), QStringLiteral("p.csv"), QStringLiteral("--precision"), QStringLiteral("2")},
                   QStringLiteral("z5ctl trend: --precision does not apply to a .csv file (only .xlsx)")},
        UsageError{"TrendGroupWithWorkbook",
                   {QStringLiteral("trend"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U11"),
                    QStringLiteral("--out"), QStringLiteral("p.xlsx"), QStringLiteral("--group"), QStringLiteral("2")},
                   QStringLiteral("z5ctl trend: --group does not apply to a .xlsx file (only .pdf)")},
        UsageError{"ParamsWithoutInOrNew", {QStringLiteral("params"), QStringLiteral("--out"), QStringLiteral("x.par")},
                   QStringLiteral("z5ctl params: --in or --new is required")},
        UsageError{"ScreenFileInAndNew",
                   {QStringLiteral("screen-file"), QStringLiteral("--in"), QStringLiteral("a.scd"), QStringLiteral("--new"),
                    QStringLiteral("--out"), QStringLiteral("b.scd")},
                   QStringLiteral("z5ctl screen-file: --in or --new, not both")},
        UsageError{"ImportWithoutNetlist", {QStringLiteral("import")}, QStringLiteral("z5ctl import: a NETLIST is required")},
        UsageError{"TablesWithoutOut", {QStringLiteral("tables"), kNet}, QStringLiteral("z5ctl tables: --out is required")},
        UsageError{"TablesDecimalWithoutParams",
                   {QStringLiteral("tables"), kNet, QStringLiteral("--out"), QDir::tempPath(), QStringLiteral("--decimal"), QStringLiteral(",")},
                   QStringLiteral("z5ctl tables: --decimal does not apply without --params")},
        UsageError{"DownloadTwoNetlists", {QStringLiteral("download"), QStringLiteral("--port"), kNull, kNet, QStringLiteral("b.net")},
                   QStringLiteral("z5ctl download: unexpected 'b.net'")},
        UsageError{"CommandUnknown", {QStringLiteral("command"), QStringLiteral("--port"), kNull, QStringLiteral("stop")},
                   QStringLiteral("z5ctl command: 'stop' is no command: start, pause, picture or store")},
        UsageError{"PortsWithAnArgument", {QStringLiteral("ports"), QStringLiteral("all")}, QStringLiteral("z5ctl ports: unexpected 'all'")},
        UsageError{"ScreenWithoutOut", {QStringLiteral("screen"), QStringLiteral("--picture"), QStringLiteral("a.png")},
                   QStringLiteral("z5ctl screen: --out is required")},
        UsageError{"WriteSetpointsEmptyPort",
                   {QStringLiteral("write-setpoints"), QStringLiteral("--port"), QString(), kNet, QStringLiteral("--params"),
                    QStringLiteral("a.par"), QStringLiteral("--block"), QStringLiteral("U14")},
                   QStringLiteral("z5ctl write-setpoints: --port is empty: name COM1..COM16 or a device path")},
        UsageError{"VersionWithMore", {QStringLiteral("--version"), QStringLiteral("extra")},
                   QStringLiteral("z5ctl: --version takes nothing more: unexpected 'extra'")},
        UsageError{"ParamsEmptyOut", {QStringLiteral("params"), QStringLiteral("--new"), QStringLiteral("--out"), QString()},
                   QStringLiteral("z5ctl params: --out is empty: name the parameter file")},
        UsageError{"ScreenFileEmptyOut", {QStringLiteral("screen-file"), QStringLiteral("--new"), QStringLiteral("--out"), QString()},
                   QStringLiteral("z5ctl screen-file: --out is empty: name the screen file")},
        UsageError{"WatchEveryBeyondADay",
                   {QStringLiteral("watch"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U5"),
                    QStringLiteral("--every"), QStringLiteral("99999999999999999999")},
                   QStringLiteral("z5ctl watch: --every is at most 86400000 ms (a day)")},
        UsageError{"WatchCountBeyondLimit",
                   {QStringLiteral("watch"), QStringLiteral("--port"), kNull, QStringLiteral("--block"), QStringLiteral("U5"),
                    QStringLiteral("--count"), QStringLiteral("4294967297")},
                   QStringLiteral("z5ctl watch: --count is at most 1000000000")},
        UsageError{"ScanStationBeyondEight",
                   {QStringLiteral("scan"), QStringLiteral("--port"), kNull, QStringLiteral("--stations"), QStringLiteral("1-3,9")},
                   QStringLiteral("z5ctl scan: --stations is a list of stations 1..8 such as 1-8 or 1-3,5")},
        UsageError{"ScanNamesNoOneStation",
                   {QStringLiteral("scan"), QStringLiteral("--port"), kNull, QStringLiteral("--station"), QStringLiteral("2")},
                   QStringLiteral("z5ctl scan: unknown option --station")},
        UsageError{"HistorySinceNoDate", {QStringLiteral("history"), QStringLiteral("--since"), QStringLiteral("yesterday")},
                   QStringLiteral("z5ctl history: --since is a date (2026-12-08) or a time (2026-12-08T14:30)")},
        UsageError{"DiffWithoutStation", {QStringLiteral("diff"), kNet}, QStringLiteral("z5ctl diff: --station is required")},
        UsageError{"RestoreEntryNoNumber",
                   {QStringLiteral("restore"), QStringLiteral("--entry"), QStringLiteral("x"), QStringLiteral("--port"), kNull},
                   QStringLiteral("z5ctl restore: --entry is the id of a write, as z5ctl history lists it")},
        // A terminal escape in an argument is shown, not obeyed.
        UsageError{"EscapeEchoedEscaped", {QStringLiteral("import"), kNet, QStringLiteral("\x1b]0;owned\x07")},
                   QStringLiteral("z5ctl import: unexpected '\\x1b]0;owned\\x07'")}),
    [](const ::testing::TestParamInfo<UsageError> &info) { return std::string(info.param.name); });

// Checks that need no controller and end before the line is used.
TEST(Z5ctlEarlyChecks, ABlockThatIsNoTrendRecorderIsRefusedAtOnceNamingItsType) {
    const CliRun r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), QStringLiteral("/dev/z5-none"), QStringLiteral("--block"),
                         QStringLiteral("U4"), kNet, QStringLiteral("--out"), QDir::temp().filePath(QStringLiteral("z5-p.csv"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("z5ctl trend: U4 is a PID block, not a trend recorder (GRA)\n"));
}

TEST(Z5ctlEarlyChecks, AMissingOutputFolderIsFoundBeforeThePort) {
    const CliRun r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), QStringLiteral("/dev/z5-none"), QStringLiteral("--block"),
                         QStringLiteral("U11"), QStringLiteral("--out"), QStringLiteral("/z5-no-folder/p.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("z5ctl trend: cannot write into the folder /z5-no-folder\n"));
}

TEST(Z5ctlEarlyChecks, TablesCreateOnlyTheLastFolderLevel) {
    QTemporaryDir dir;
    const QString deep = dir.filePath(QStringLiteral("a/b"));
    CliRun r = z5ctl({QStringLiteral("tables"), kNet, QStringLiteral("--out"), deep});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("z5ctl tables: the folder %1 does not exist\n").arg(dir.filePath(QStringLiteral("a"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("a"))));
    r = z5ctl({QStringLiteral("tables"), kNet, QStringLiteral("--out"), dir.filePath(QStringLiteral("a"))});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("a/table-00.bin"))));
}

TEST(Z5ctlEarlyChecks, PictureErrorsNameTheFile) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.png"));
    const CliRun r = z5ctl({QStringLiteral("screen"), QStringLiteral("--picture"), missing, QStringLiteral("--out"),
                         dir.filePath(QStringLiteral("s.bin"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("%1: no such file\n").arg(missing));
}

} // namespace

namespace {

// The libraries' own remarks (no runtime folder for the offscreen fonts) stay off standard error.
TEST(Z5ctlEarlyChecks, NoLibraryNoiseOnStandardError) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("trend"), QStringLiteral("--port"), QStringLiteral("/dev/z5-none"),
                                         QStringLiteral("--block"), QStringLiteral("U11"), QStringLiteral("--out"),
                                         QDir::temp().filePath(QStringLiteral("z5-noise.csv"))});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith(QStringLiteral("z5ctl trend: cannot open /dev/z5-none"))) << err.toStdString();
}

} // namespace

namespace {

struct ProgramAnswer {
    const char *name;
    const char *program;
    const char *option;
    const char *start;   // how standard output begins
};
void PrintTo(const ProgramAnswer &row, std::ostream *os) { *os << row.name; }

class ProgramHelp : public ::testing::TestWithParam<ProgramAnswer> {};

// Answered at once with status 0; the configurator opens no window for them
// (with no display at all it would otherwise fail to start).
TEST_P(ProgramHelp, AnswersWithoutStartingUp) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    p.setProcessEnvironment(env);
    const QString path = QLatin1String(GetParam().program) == QLatin1String("z5-sim") ? QStringLiteral(Z5_SIM_PATH)
                                                                                   : QStringLiteral(Z5_CONFIGURATOR_PATH);
    p.start(path, {QLatin1String(GetParam().option)});
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith(QLatin1String(GetParam().start))) << out.toStdString();
    EXPECT_TRUE(p.readAllStandardError().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProgramHelp,
    ::testing::Values(ProgramAnswer{"SimHelp", "z5-sim", "--help", "usage: z5-sim "},
                      ProgramAnswer{"SimShortHelp", "z5-sim", "-h", "usage: z5-sim "},
                      ProgramAnswer{"SimVersion", "z5-sim", "--version", "z5-sim 3.2\n"},
                      ProgramAnswer{"ConfiguratorHelp", "z5-configurator", "--help", "usage: z5-configurator "},
                      ProgramAnswer{"ConfiguratorVersion", "z5-configurator", "--version", "z5-configurator 3.2\n"}),
    [](const ::testing::TestParamInfo<ProgramAnswer> &info) { return std::string(info.param.name); });

} // namespace

namespace {

struct ProgramRefusal {
    const char *name;
    const char *program;
    QStringList args;
    int code;
    QString firstLine;   // of standard error
};
void PrintTo(const ProgramRefusal &row, std::ostream *os) { *os << row.name; }

class ProgramRefuses : public ::testing::TestWithParam<ProgramRefusal> {};

// Said in one line on standard error, nothing started, and the status the program gives a wrong start.
TEST_P(ProgramRefuses, SaysWhyOnOneLineAndStartsNothing) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    const bool sim = QLatin1String(GetParam().program) == QLatin1String("z5-sim");
    p.start(sim ? QStringLiteral(Z5_SIM_PATH) : QStringLiteral(Z5_CONFIGURATOR_PATH), GetParam().args);
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), GetParam().code);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty()) << "no terminal was opened";
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(err.section(QLatin1Char('\n'), 0, 0), GetParam().firstLine) << err.toStdString();
    if (sim) EXPECT_EQ(err.section(QLatin1Char('\n'), 1, 1), QStringLiteral("z5-sim --help shows the options"));
    else EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProgramRefuses,
    ::testing::Values(
        ProgramRefusal{"SimUnknownOption", "z5-sim", {QStringLiteral("--stations"), QStringLiteral("2")}, 2,
                       QStringLiteral("z5-sim: unknown option --stations")},
        ProgramRefusal{"SimUnknownFlag", "z5-sim", {QStringLiteral("--fast")}, 2, QStringLiteral("z5-sim: unknown option --fast")},
        ProgramRefusal{"SimNoLateReplies", "z5-sim",
                       {QStringLiteral("--late"), QStringLiteral("300"), QStringLiteral("--late-count"), QStringLiteral("0")}, 2,
                       QStringLiteral("z5-sim: --late-count is 1 or more (0 makes no sense: leave it out)")},
        ProgramRefusal{"SimDropEveryZeroth", "z5-sim", {QStringLiteral("--drop-every"), QStringLiteral("0")}, 2,
                       QStringLiteral("z5-sim: --drop-every is 1 or more (0 makes no sense: leave it out)")},
        ProgramRefusal{"SimFaultCycleOfNoTime", "z5-sim", {QStringLiteral("--fault-cycle"), QStringLiteral("0")}, 2,
                       QStringLiteral("z5-sim: --fault-cycle is 1 or more (0 makes no sense: leave it out)")},
        ProgramRefusal{"SimStationZero", "z5-sim", {QStringLiteral("--station"), QStringLiteral("1,0")}, 2,
                       QStringLiteral("z5-sim: --station is a list of stations 1..255 such as 1,3,5, not '1,0'")},
        ProgramRefusal{"SimDamagedStationNotOnTheLine", "z5-sim",
                       {QStringLiteral("--station"), QStringLiteral("1,3"), QStringLiteral("--damaged"), QStringLiteral("2")}, 2,
                       QStringLiteral("z5-sim: --damaged 2: no such station on the line (see --station)")},
        ProgramRefusal{"ConfiguratorWithoutDisplay", "z5-configurator", {}, 1,
                       QStringLiteral("z5-configurator: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)")}),
    [](const ::testing::TestParamInfo<ProgramRefusal> &info) { return std::string(info.param.name); });

} // namespace

namespace {

// One example of `z5ctl help`, in the order a newcomer runs them, and the file it leaves.
struct ExampleRow {
    const char *verb;
    const char *leaves;  // in the folder it runs in; empty when it only prints
};

// Every verb's example runs as `z5ctl help VERB` prints it, through the shell, in a
// folder holding the shipped examples/, with COM4 standing for z5-sim (Z5_COM4)
// and a station record of its own; each file an example reads was shipped or
// written by a row before it, so the restore finds the download as entry 1.
TEST(Z5ctlHelp, EveryExampleRunsAsWrittenAgainstTheSimulatedController) {
    const ExampleRow rows[] = {
        {"import", ""},          {"download", ""},          {"command", ""},
        {"read-block", ""},      {"watch", "u4.csv"},       {"trend", "page2.csv"},
        {"archive", "boiler.sqlite"}, {"export", "week.xlsx"}, {"history", ""},
        {"diff", ""},            {"params", "boiler-point.par"}, {"tables", "boiler-tables/table-00.bin"},
        {"scan", ""},            {"screen-file", "panel-checked.scd"}, {"screen", "panel.bin"},
        {"write-setpoints", ""}, {"write-screen", ""},      {"restore", ""},
        {"ports", ""}};
    QStringList verbs;
    for (const ExampleRow &row : rows) verbs << QLatin1String(row.verb);
    verbs.sort();
    ASSERT_EQ(verbs, listedVerbs()) << "every verb has its row";

    SimProcess sim({QStringLiteral("--instant")});
    ASSERT_TRUE(sim.running());
    QTemporaryDir folder;
    const QDir work(folder.path());
    ASSERT_TRUE(work.mkpath(QStringLiteral("examples")));
    for (const QString &name : QDir(QStringLiteral(Z5_EXAMPLES_DIR)).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(QStringLiteral(Z5_EXAMPLES_DIR "/") + name, work.filePath(QStringLiteral("examples/") + name)));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("Z5_COM4"), sim.device());
    env.insert(QStringLiteral("XDG_DATA_HOME"), work.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(Z5CTL_PATH)).absolutePath() + u':' + env.value(QStringLiteral("PATH")));

    for (const ExampleRow &row : rows) {
        const QStringList help = z5ctl({QStringLiteral("help"), QLatin1String(row.verb)}).out.split(u'\n');
        const qsizetype at = help.indexOf(QStringLiteral("example:"));
        ASSERT_TRUE(at >= 0 && at + 1 < help.size()) << row.verb;
        const QString example = help.at(at + 1).trimmed();
        SCOPED_TRACE(example.toStdString());
        const CliRun r = z5::testing::runProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), example}, 60000, env, work.path());
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        if (*row.leaves) {
            EXPECT_GT(QFileInfo(work.filePath(QLatin1String(row.leaves))).size(), 0) << row.leaves;
        }
    }
}

} // namespace
