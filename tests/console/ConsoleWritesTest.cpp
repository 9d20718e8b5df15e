// The download and the setpoint write started from the console.
#include "LineBench.h"
#include "app/LineAlerts.h"
#include "app/WriteMessages.h"
#include "console/ConsoleProgress.h"
#include "console/ConsoleWrites.h"
#include "download/DownloadChain.h"
#include "download/ProjectDownloadTables.h"
#include "download/SetpointWrite.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "LineSessionProbe.h"
#include "link/Link.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

struct WritesFixture : ::testing::Test, LineBench {
    // What the line reports, told through the prompts as the front ends do.
    LineAlerts alerts{line, prompts};
    Project project;
    ParameterStore store;
    ProjectDownloadTables tables{project, store};
    WriteMessages messages{line, prompts};
    DownloadChain chain{clock, line, tables};
    SetpointWrite setpoints{chain};
    ConsoleProgress progress{clock};
    ConsoleWrites writes{chain, setpoints, progress};
    int ended = 0;
    std::vector<bool> enabledChanges;

    void SetUp() override {
        QObject::connect(&writes, &ConsoleWrites::ended, [this] { ++ended; });
        QObject::connect(&writes, &ConsoleWrites::setpointsEnabledChanged, [this](bool on) { enabledChanges.push_back(on); });
        project.setSchema(Project::TypeRow, 0, BlockType::A_I);
        project.setSchema(Project::InstanceRow, 0, 1);
        project.setSchema(Project::PriorityRow, 0, 1);
        project.setSchema(Project::TypeRow, 13, BlockType::S_P);
        project.setSchema(Project::InstanceRow, 13, 1);
        project.setSchema(Project::PriorityRow, 13, 2);
        project.rebuildPriorityOrder();
    }
    // Table numbers of the headers that went out, in order.
    std::vector<int> headerTables() const {
        std::vector<int> out;
        for (const auto &w : port.writes())
            if (w.bytes.size() == 8 && std::uint8_t(w.bytes[0]) == 1 && std::uint8_t(w.bytes[1]) >= 0x33)
                out.push_back(std::uint8_t(w.bytes[1]) - 0x33);
        return out;
    }
};

} // namespace

TEST_F(WritesFixture, TheDownloadRunsToItsLastTableWithTheBarAdvancing) {
    writes.enableSetpoints(13);
    ASSERT_TRUE(writes.startDownload());
    EXPECT_FALSE(writes.setpointsEnabled());
    EXPECT_TRUE(writes.isRunning());
    EXPECT_EQ(progress.progressTimer().interval(), 100);
    clock.advance(6000);
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(progress.value(), 60);
    clock.advance(300);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(writes.isRunning());
    EXPECT_EQ(headerTables(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    clock.advance(5000);
    EXPECT_EQ(progress.value(), 100);
}

TEST_F(WritesFixture, ARefusedDownloadStopsTheBar) {
    store.numbersA_I.setValue(0, 4, 3.0e7f);  // too large for the wire
    EXPECT_FALSE(writes.startDownload());
    EXPECT_FALSE(writes.isRunning());
    EXPECT_FALSE(progress.progressTimer().isActive());
    EXPECT_EQ(progress.value(), 0);
    EXPECT_TRUE(writes.refusal().problem.startsWith(QStringLiteral("Ошибка параметра")));
    EXPECT_TRUE(prompts.messages.empty()) << "the window shows the refusal";
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(WritesFixture, SetpointsGoForTheProgrammerPickedLast) {
    EXPECT_FALSE(writes.writeSetpoints()) << "disabled until a programmer is picked";
    EXPECT_TRUE(port.writes().empty());
    writes.enableSetpoints(13);
    EXPECT_EQ(enabledChanges, (std::vector<bool>{true}));
    EXPECT_TRUE(writes.writeSetpoints());
    EXPECT_TRUE(writes.isRunning());
    clock.advance(200);
    EXPECT_EQ(ended, 1);
    ASSERT_EQ(port.writes().size(), 2u);
    EXPECT_EQ(port.writes()[0].bytes.left(6).toHex(' '), "01 3f 00 20 00 0d");
    EXPECT_EQ(port.writes()[1].bytes.size(), 32);
    EXPECT_TRUE(writes.setpointsEnabled()) << "the command stays available";
    writes.disableSetpoints();
    EXPECT_EQ(enabledChanges, (std::vector<bool>{true, false}));
}

TEST_F(WritesFixture, ASetpointWriteOnAPortThatDoesNotOpenEndsAtOnceAsAFailure) {
    port.refuseOpen = true;
    writes.enableSetpoints(13);
    EXPECT_FALSE(writes.writeSetpoints());
    EXPECT_FALSE(writes.isRunning());
    EXPECT_FALSE(line.isBusy()) << "no data step is scheduled";
    EXPECT_TRUE(writes.failure().isEmpty()) << "a failed port is told once, by the line's alerts";
    clock.advance(1000);
    EXPECT_TRUE(port.writes().empty());
    EXPECT_EQ(ended, 0);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Нет сети!!!\nno such device");
    EXPECT_EQ(prompts.beeps, 0);
    EXPECT_TRUE(writes.setpointsEnabled()) << "the command can be tried again";
}
