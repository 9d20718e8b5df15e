// The controller simulated inside the program, reached through the real line
// owner on the virtual clock: what the program does with z5-sim works on it,
// paced as z5-sim paces it, and it keeps what it was given across close and open.
#include "TestSettings.h"
#include "app/Session.h"
#include "link/BlockReply.h"
#include "link/PortMapping.h"
#include "link/PortSettings.h"
#include "link/SerialDevices.h"
#include "link/SimulatedControllerPort.h"
#include "link/SystemSerialPort.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "SimLine.h"
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <functional>

using namespace z5;

namespace {

// The program as the user sets it up: the simulated controller chosen for COM4
// in the port dialog, under the line owner of a whole session.
struct InProgramController {
    TestSettings settings;
    VirtualClock clock;
    SimulatedControllerPort port{clock};
    RecordingPrompts prompts;
    Session session{clock, port, prompts};

    InProgramController() { PortMapping::remember(4, SimulatedControllerPort::deviceName()); }

    const z5sim::SimController &controller() const { return port.line().controller(0); }

    bool import(const ImportResult &imported) {
        session.project = imported.project;
        return imported.ok;
    }
    bool download() {
        const WriteStart started = session.chain.startDownload();
        if (!started) return false;
        clock.advance(8000);
        return started.reply->succeeded();
    }
    // The request's reply and how long after it was sent it came.
    struct Answer {
        LineOutcome outcome;
        QByteArray bytes;
        std::int64_t afterMs;
    };
    Answer ask(const Request &request) {
        const std::int64_t sentAt = clock.nowMs();
        std::int64_t endedAt = -1;
        const auto reply = session.line.enqueue(request);
        QObject::connect(reply.get(), &LineReply::finished, [&] { endedAt = clock.nowMs(); });
        clock.advance(2000);
        return {reply->outcome(), reply->bytes(), endedAt - sentAt};
    }
};

struct Scenario {
    const char *name;
    std::function<void(InProgramController &)> run;
};

void PrintTo(const Scenario &s, std::ostream *os) { *os << s.name; }

const Scenario kScenarios[] = {
    {"the example's download leaves the program it came with",
     [](InProgramController &c) {
         ASSERT_TRUE(c.import(c.session.netlistImport.importFile(QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net"),
                                                                 Numbering::Manual)));
         std::vector<QByteArray> before;
         for (int t = 0; t < z5sim::SimMemory::kTables; ++t) before.push_back(c.controller().memory().table(t));
         ASSERT_TRUE(c.download());
         // Written once more, as the example is built in: the same bytes.
         for (int t = 0; t <= 11; ++t) {
             SCOPED_TRACE(t);
             EXPECT_EQ(c.controller().memory().tableWrites(t), 2);
             EXPECT_EQ(c.controller().memory().table(t), before[std::size_t(t)]);
         }
         EXPECT_EQ(c.controller().memory().blockType(13), 16);   // U14 S_P
     }},
    {"a block read is answered once request and reply could have crossed the wire",
     [](InProgramController &c) {
         const InProgramController::Answer a = c.ask(Request::blockRead(2));
         ASSERT_EQ(a.outcome, LineOutcome::Reply);
         // 5 ms turnaround and 268 bytes at 115200 bit/s.
         EXPECT_EQ(a.afterMs, 28);
         // U3 of the example, SUM instance 1: about 10 + row.
         for (int k = 0; k < 8; ++k) EXPECT_NEAR(BlockReply::first(a.bytes, k), 10.0 + k, 1.001) << "row " << k;
     }},
    {"a downloaded panel lights the lamp of the key pressed",
     [](InProgramController &c) {
         ASSERT_TRUE(c.import(c.session.netlistImport.importText(
             QStringLiteral("(netlist \"panel\"\n(compInst \"U1\"\n(originalName \"PAN\")\n(compValue \"1_1\")\n)\n)\n"),
             Numbering::Manual)));
         ASSERT_TRUE(c.download());
         const InProgramController::Answer a = c.ask(Request::panelKey(0, 3));
         ASSERT_EQ(a.outcome, LineOutcome::Reply);
         EXPECT_EQ(BlockReply::second(a.bytes, 2), 1.0);   // key 3: row 2's lamp
         EXPECT_EQ(BlockReply::first(a.bytes, 2), 1.0);    // pressed once
         EXPECT_EQ(BlockReply::second(a.bytes, 0), 0.0);
     }},
    {"the recording trend page reads with the archive's own samples",
     [](InProgramController &c) {
         c.clock.advance(60000);
         const std::int64_t at = c.clock.nowMs();
         c.session.trends.setBlock(10);   // U11 GRA
         ASSERT_TRUE(c.session.trends.readPage(TrendSession::kCurrentPage));
         c.clock.advance(5000);
         ASSERT_FALSE(c.session.trends.reading());
         const TrendPage &page = c.session.trends.page();
         const z5sim::SimTrendArchive &archive = c.controller().plant().trends();
         EXPECT_EQ(page.pageNumber, archive.recordingPage(at));
         // The rows of the parts that were whole when they were read.
         EXPECT_EQ(page.rowCount, archive.rowsRecorded(at) / 8 * 8);
         ASSERT_GT(page.rowCount, 0);
         for (int channel : {0, 17, 31})
             EXPECT_FLOAT_EQ(page.sample(page.rowCount - 1, channel),
                             float(archive.sample(page.pageNumber, page.rowCount - 1, channel, at) / 1000.0));
     }},
    {"the process state outlives closing and opening the port",
     [](InProgramController &c) {
         ASSERT_EQ(c.ask(Request::processCommand(Request::StartProcess)).outcome, LineOutcome::Reply);
         c.session.line.release();
         ASSERT_FALSE(c.port.isOpen());
         const InProgramController::Answer a = c.ask(Request::processCommand(Request::ProcessPicture));
         ASSERT_EQ(a.outcome, LineOutcome::Reply);
         EXPECT_TRUE(BlockReply::processRuns(a.bytes));
         EXPECT_EQ(c.session.line.openedDevice(), SimulatedControllerPort::deviceName());
     }},
};

class InProgramScenarios : public ::testing::TestWithParam<Scenario> {};

} // namespace

TEST_P(InProgramScenarios, WorksAsAgainstTheSimulatorProgram) {
    InProgramController c;
    GetParam().run(c);
    for (const RecordingPrompts::Shown &m : c.prompts.messages) ADD_FAILURE() << m.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sim, InProgramScenarios, ::testing::ValuesIn(kScenarios));

// The names it goes by, and the port it is among the machine's (its pacing is the scenarios').
TEST(SimulatedControllerPort, IsOfferedAndOpenedUnderItsNames) {
    const std::vector<SerialDeviceInfo> listed = SystemSerialDevices().list();
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.back().summary(), QStringLiteral("Симулятор Z5"));
    for (const char *given : {"sim", "SIM", " Симулятор Z5 "})
        EXPECT_EQ(PortSettings::resolveDevice(QString::fromUtf8(given)), QStringLiteral("Симулятор Z5")) << given;
    EXPECT_NE(PortSettings::resolveDevice(QStringLiteral("./sim")), QStringLiteral("Симулятор Z5"));

    VirtualClock clock;
    SystemSerialPort port(clock);
    ASSERT_TRUE(port.open(QStringLiteral("Симулятор Z5")));
    // A real device name goes to the machine's own port, which lets the simulated one go.
    EXPECT_FALSE(port.open(QStringLiteral("/nonexistent/tty")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write(QByteArray(8, '\0')));
}
