// The console core without its window: what the user is told, and what the
// user's hand does while an automatic read is under way.
#include "ReplyFrames.h"
#include "SessionBench.h"
#include "app/ConsoleCore.h"
#include "link/AdapterWatch.h"
#include "model/BlockCatalogue.h"
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include "LineSessionProbe.h"
#include <gtest/gtest.h>

using namespace z5;
using testframes::withCheck;

namespace {

constexpr int kPanel = 0;   // U1
constexpr int kPid = 3;     // U4

struct CoreBench : SessionBench {
    QTemporaryDir dir;
    ConsoleCore core{session};
    std::vector<QString> statuses;
    int drawnCount = 0;

    CoreBench() {
        QObject::connect(&core, &ConsoleCore::statusChanged, [this](const QString &s) { statuses.push_back(s); });
        QObject::connect(&core, &ConsoleCore::drawn, [this](LiveView::Shows) { ++drawnCount; });
        // The window's part: the refresh reads again when it is due.
        QObject::connect(&core.refresh(), &LiveRefresh::due, &core, &ConsoleCore::readAgain);
        // A live plant: each reply's values differ from the one before.
        port.responder = [n = 0](const QByteArray &) mutable { return testframes::blockReply(char(0x11 + n++ % 64)); };
    }
    // U1 PAN, U2 A_O, U3 S_P, U4 PID, through the import as the user does it.
    QString netlist() {
        const QString path = dir.filePath(QStringLiteral("core.net"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write("(netlist \"core\"\n"
                    "(compInst \"U1\"\n(originalName \"PAN\")\n(compValue \"1_1\")\n)\n"
                    "(compInst \"U2\"\n(originalName \"A_O\")\n(compValue \"2_1\")\n)\n"
                    "(compInst \"U3\"\n(originalName \"S_P\")\n(compValue \"3_1\")\n)\n"
                    "(compInst \"U4\"\n(originalName \"PID\")\n(compValue \"4_1\")\n)\n)\n");
        return path;
    }
    bool import() {
        prompts.openNames << netlist();
        return core.importNetlist(Numbering::Manual).ok;
    }
    // The panel block is shown and read again every 250 ms; returns when the
    // second, automatic read has just gone out.
    std::int64_t refreshThePanel() {
        session.store.numbersPAN.setValue(0, 0, 1.0f);
        core.setRefreshInterval(250);
        core.pickForRead(kPanel, BlockType::PAN);
        core.readPicked();
        clock.advance(150 + 250);
        return clock.nowMs();
    }
    QString status() const { return statuses.empty() ? QString() : statuses.back(); }
};

} // namespace

TEST(ConsoleCore, APortThatDoesNotOpenSaysNoNetworkAndGivesTheWindowBack) {
    struct Case {
        const char *what;
        std::function<void(CoreBench &)> fault;
        QString message;
    };
    const Case cases[] = {
        {"port refused", [](CoreBench &b) { b.port.refuseOpen = true; }, QStringLiteral("Нет сети!!!\nno such device")},
        // A station beyond a byte: the frame is refused.
        {"frame refused", [](CoreBench &b) { b.session.line.changeStation(300); }, QStringLiteral("Нет сети!!!")},
    };
    for (const Case &c : cases) {
        CoreBench b;
        ASSERT_TRUE(b.import());
        c.fault(b);
        b.core.progress().restart(40);
        b.core.pickForRead(kPid, BlockType::PID);
        EXPECT_FALSE(b.core.readPicked()) << c.what;
        ASSERT_EQ(b.prompts.messages.size(), 1u) << c.what;
        EXPECT_EQ(b.prompts.messages[0].text, c.message) << c.what;
        EXPECT_EQ(b.status(), QStringLiteral("Нет сети")) << c.what;
        EXPECT_TRUE(b.core.isUsable()) << c.what;
        EXPECT_FALSE(b.core.progress().progressTimer().isActive()) << c.what;
        EXPECT_TRUE(b.port.writes().empty()) << c.what;
    }
}

TEST(ConsoleCore, APortLostWhileWaitingStopsTheBarAndSaysNoNetwork) {
    CoreBench b;
    ASSERT_TRUE(b.import());
    b.port.silent = true;
    b.core.pickForRead(kPid, BlockType::PID);
    ASSERT_TRUE(b.core.readPicked());
    EXPECT_TRUE(b.core.isUsable()) << "a read leaves the console usable";
    b.core.progress().restart(40);
    b.port.fail("device unplugged");
    b.clock.advance(150);
    EXPECT_EQ(b.status(), QStringLiteral("Нет сети"));
    EXPECT_FALSE(b.core.progress().progressTimer().isActive());
    EXPECT_EQ(b.core.progress().value(), 0);
    ASSERT_EQ(b.prompts.messages.size(), 1u) << "said once";
    EXPECT_EQ(b.prompts.messages[0].text, "Нет сети!!!\ndevice unplugged");
}

TEST(ConsoleCore, ATrendRecorderIsReadByItsOwnWindowNotHere) {
    CoreBench b;
    b.session.project.setSchema(Project::TypeRow, 10, BlockType::GRA);
    b.session.project.setSchema(Project::InstanceRow, 10, 1);
    b.core.pickForRead(10, BlockType::GRA);
    b.clock.advance(1000);
    EXPECT_TRUE(b.port.writes().empty());
    EXPECT_EQ(b.core.exchange().running(), ConsoleExchange::Request::None);
    EXPECT_FALSE(b.core.refresh().isArmed());
}

// Whatever the user starts on the line during an automatic read waits in the
// line's queue and goes out the moment that read's reply is in; the automatic
// read's values are not drawn over what the user asked for.
TEST(ConsoleCore, WhatTheUserStartsDuringAnAutomaticReadFollowsItOnTheLine) {
    struct Case {
        const char *what;
        std::function<void(ConsoleCore &)> act;
        QByteArray next;   // the first six bytes of the frame that follows the read
        QString status;
        int drawn;         // what the user asked for is drawn, the automatic read's values are not
    };
    const Case cases[] = {
        {"left click", [](ConsoleCore &c) { c.pickForRead(kPid, BlockType::PID); c.readPicked(); },
         QByteArray::fromHex("0103040a0000"), QStringLiteral("Ответ блока U4 получен"), 1},
        {"panel key", [](ConsoleCore &c) { c.panelClicked(20, 120); },
         QByteArray::fromHex("0103010b0100"), QStringLiteral("Ответ блока U1 получен"), 2},
        {"pause", [](ConsoleCore &c) { c.processCommand(z5::Request::PauseProcess); },
         QByteArray::fromHex("0103000b3200"), QStringLiteral("Ответ Z5 получен"), 0},
    };
    for (const Case &c : cases) {
        CoreBench b;
        ASSERT_TRUE(b.import());
        const std::int64_t autoReadAt = b.refreshThePanel();
        ASSERT_EQ(b.port.writes().size(), 2u) << c.what;
        EXPECT_EQ(b.port.writes()[1].atMs, autoReadAt) << c.what;
        const int drawnBefore = b.drawnCount;
        c.act(b.core);
        EXPECT_EQ(b.port.writes().size(), 2u) << c.what << ": the line is not free yet";
        b.clock.advance(150);
        ASSERT_EQ(b.port.writes().size(), 3u) << c.what;
        EXPECT_EQ(b.port.writes()[2].atMs, autoReadAt + 150) << c.what << ": at once when the reply is in";
        EXPECT_EQ(b.port.writes()[2].bytes.left(6).toHex(' '), c.next.toHex(' ')) << c.what;
        b.clock.advance(150);
        EXPECT_EQ(b.status(), c.status) << c.what;
        EXPECT_TRUE(b.core.isUsable()) << c.what;
        EXPECT_EQ(b.drawnCount - drawnBefore, c.drawn) << c.what;
    }
}

TEST(ConsoleCore, ADownloadDuringAnAutomaticReadStartsWhenItsReplyIsIn) {
    CoreBench b;
    ASSERT_TRUE(b.import());
    const std::int64_t autoReadAt = b.refreshThePanel();
    b.core.downloadSchema();
    b.core.downloadSchema();   // asked twice while it waits: one download
    EXPECT_EQ(b.port.writes().size(), 2u);
    EXPECT_TRUE(b.prompts.beeps == 0) << "not refused: it waits";
    b.clock.advance(150);
    ASSERT_GT(b.port.writes().size(), 2u);
    EXPECT_GE(b.port.writes()[2].atMs, autoReadAt + 150);
    EXPECT_EQ(std::uint8_t(b.port.writes()[2].bytes[1]), 0x33) << "the first table's header";
    EXPECT_FALSE(b.core.isUsable());
    EXPECT_FALSE(b.core.refresh().isOn());
    EXPECT_EQ(b.status(), QStringLiteral("Запись схемы в Z5…"));
    b.clock.advance(15000);
    EXPECT_TRUE(b.core.isUsable());
    EXPECT_EQ(b.status(), QStringLiteral("Запись в Z5 закончена"));
    int headers = 0;
    for (const auto &w : b.port.writes()) headers += w.bytes.size() == 8 && std::uint8_t(w.bytes[1]) == 0x33;
    EXPECT_EQ(headers, 1) << "the first table went out once";
}

// An import needs no line: it does not wait for the automatic read. The read
// under way belongs to the project being replaced and ends unheard.
TEST(ConsoleCore, AnImportDuringAnAutomaticReadLetsTheReadGo) {
    CoreBench b;
    ASSERT_TRUE(b.import());
    b.refreshThePanel();
    const int drawnBefore = b.drawnCount;
    ASSERT_TRUE(b.import());
    EXPECT_EQ(b.status(), QStringLiteral("Блоков в схеме: 4"));
    EXPECT_FALSE(b.core.refresh().isOn());
    b.clock.advance(150);
    EXPECT_EQ(b.status(), QStringLiteral("Блоков в схеме: 4")) << "the old block's reply says nothing";
    EXPECT_EQ(b.drawnCount, drawnBefore);
    EXPECT_FALSE(b.core.liveView().hasReply());
    b.clock.advance(5000);
    EXPECT_EQ(b.port.writes().size(), 2u) << "nothing more is read";
    EXPECT_TRUE(b.core.isUsable());
}

// A failed import keeps the project and the read going: the values keep coming.
TEST(ConsoleCore, AFailedImportLeavesTheRefreshRunning) {
    CoreBench b;
    ASSERT_TRUE(b.import());
    b.refreshThePanel();
    b.prompts.openNames << b.dir.filePath(QStringLiteral("missing.net"));
    EXPECT_FALSE(b.core.importNetlist(Numbering::Manual).ok);
    b.clock.advance(150 + 250);
    EXPECT_EQ(b.port.writes().size(), 3u);
    EXPECT_TRUE(b.core.refresh().isOn());
}

// The console closes with a read under way and a download waiting for it: the
// read is cancelled and the download never starts.
TEST(ConsoleCore, GoingWithARequestOpenStartsNothingAfterwards) {
    CoreBench b;
    ASSERT_TRUE(b.import());
    auto core = std::make_unique<ConsoleCore>(b.session);
    int told = 0;
    QObject::connect(core.get(), &ConsoleCore::statusChanged, [&told](const QString &) { ++told; });
    core->setRefreshInterval(250);
    core->pickForRead(kPid, BlockType::PID);
    ASSERT_TRUE(core->readPicked());
    core->downloadSchema();
    const int toldBefore = told;
    core.reset();
    EXPECT_EQ(told, toldBefore);
    b.clock.advance(15000);
    EXPECT_EQ(b.port.writes().size(), 1u) << "only the read went out";
    EXPECT_FALSE(b.session.line.isBusy());
}

// With a controller answering in 700 ms, what the user presses while the
// console's own request awaits its reply waits its turn: every key goes out
// exactly once, every block clicked is read.
TEST(ConsoleCore, PressesDuringTheConsolesOwnReadEachGoOutOnce) {
    struct Case {
        const char *what;
        std::function<void(CoreBench &)> first;
        std::vector<std::function<void(CoreBench &)>> presses;
        std::vector<QByteArray> frames;   // the first six bytes of each frame, in order
    };
    const auto key = [](double x) { return [x](CoreBench &b) { b.core.panelClicked(x, 70); }; };
    const auto readPanel = [](CoreBench &b) {
        b.session.store.numbersPAN.setValue(0, 0, 1.0f);
        b.core.pickForRead(kPanel, BlockType::PAN);
        b.core.readPicked();
    };
    const auto read = [](int column, int type) {
        return [column, type](CoreBench &b) { b.core.pickForRead(column, type); b.core.readPicked(); };
    };
    const Case cases[] = {
        {"keys 5, 6, 7", readPanel, {key(20), key(75), key(130)},
         {QByteArray::fromHex("0103010a0000"), QByteArray::fromHex("0103010b0500"), QByteArray::fromHex("0103010b0600"),
          QByteArray::fromHex("0103010b0700")}},
        {"key 5 twice", readPanel, {key(20), key(20)},
         {QByteArray::fromHex("0103010a0000"), QByteArray::fromHex("0103010b0500"), QByteArray::fromHex("0103010b0500")}},
        {"a block, then another", read(kPid, BlockType::PID), {read(1, BlockType::A_O)},
         {QByteArray::fromHex("0103040a0000"), QByteArray::fromHex("0103020a0000")}},
        {"pause during a read", read(kPid, BlockType::PID), {[](CoreBench &b) { b.core.processCommand(z5::Request::PauseProcess); }},
         {QByteArray::fromHex("0103040a0000"), QByteArray::fromHex("0103000b3200")}},
    };
    for (const Case &c : cases) {
        CoreBench b;
        ASSERT_TRUE(b.import());
        b.port.replyDelayMs = 700;
        c.first(b);
        for (const auto &press : c.presses) {
            b.clock.advance(250);
            press(b);
            EXPECT_TRUE(b.core.isUsable()) << c.what << ": the hand is never refused";
        }
        b.clock.advance(10000);
        std::vector<QByteArray> sent;
        for (const auto &w : b.port.writes()) sent.push_back(w.bytes.left(6));
        ASSERT_EQ(sent.size(), c.frames.size()) << c.what;
        for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i].toHex(' '), c.frames[i].toHex(' ')) << c.what << " #" << i;
    }
}

// A write with a field the user left refused asks first and sends only what
// the store holds; a text still being typed is finished before anything goes out.
TEST(ConsoleCore, AWriteWithARefusedFieldAsksFirst) {
    for (const bool yes : {false, true}) {
        CoreBench b;
        ASSERT_TRUE(b.import());
        b.session.store.numbersPID.setValue(0, 4, 2.0f);
        b.core.pickForParameters(kPid, BlockType::PID);
        ParameterPanel &panel = b.core.panel();
        panel.keyPressed(1);
        panel.textChanged(1, "2x");   // "Период", not left yet
        b.prompts.confirmAnswer = yes;
        b.core.downloadSchema();
        ASSERT_FALSE(b.prompts.messages.empty());
        EXPECT_EQ(b.prompts.messages.back().text,
                  ConsoleCore::refusedFieldsQuestion(QStringLiteral("«Период» (не число)")));
        EXPECT_TRUE(panel.row(1).rejected);
        EXPECT_EQ(b.session.store.numbersPID.value(0, 4), 2.0f);
        b.clock.advance(15000);
        EXPECT_EQ(b.port.writes().empty(), !yes);
        EXPECT_EQ(b.session.parametersUnsaved(), !yes) << "a finished download keeps what it sent";
    }
}

// Closing with edits neither saved nor written asks; each answer does what it says.
TEST(ConsoleCore, ClosingWithUnsavedEditsAsks) {
    struct Case {
        Prompts::Unsaved answer;
        bool closes;
        bool saved;
    };
    for (const Case c : {Case{Prompts::Unsaved::Cancel, false, false}, Case{Prompts::Unsaved::Discard, true, false},
                         Case{Prompts::Unsaved::Save, true, true}}) {
        CoreBench b;
        ASSERT_TRUE(b.import());
        EXPECT_TRUE(b.core.mayClose(u'.')) << "nothing edited: no question";
        EXPECT_TRUE(b.prompts.messages.empty());
        b.core.pickForParameters(kPid, BlockType::PID);
        b.core.panel().keyPressed(3);
        b.core.panel().textChanged(3, "2.5");   // typed, not yet left
        b.prompts.unsavedAnswer = c.answer;
        const QString file = b.dir.filePath(QStringLiteral("kept.par"));
        b.prompts.saveNames << file;
        EXPECT_EQ(b.core.mayClose(u'.'), c.closes);
        ASSERT_EQ(b.prompts.messages.size(), 1u);
        EXPECT_EQ(b.prompts.messages[0].text, QStringLiteral("Сохранить изменения параметров?"));
        EXPECT_EQ(b.session.store.numbersPID.value(0, 1), 2.5f) << "the typed value was finished first";
        EXPECT_EQ(QFile::exists(file), c.saved);
        if (c.saved) {
            EXPECT_EQ(b.status(), QStringLiteral("Параметры сохранены в %1").arg(file));
        }
        // Asked once: a closing after the answer asks again only when nothing was decided.
        b.core.mayClose(u'.');
        EXPECT_EQ(b.prompts.messages.size(), c.closes ? 1u : 2u);
    }
}

// The adapter pulled out while the panel refreshes: the user is told once, the
// status line says the program waits for it, and once it is back the refresh
// goes on by itself at the interval it had.
TEST(ConsoleCore, TheRefreshGoesOnWhenTheUnpluggedAdapterIsBack) {
    QTemporaryDir links;
    const QString adapter = links.filePath(QStringLiteral("usb-adapter"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), adapter));
    qputenv("Z5_COM4", adapter.toLocal8Bit());
    CoreBench b;
    ASSERT_TRUE(b.import());
    b.refreshThePanel();
    b.port.fail(QStringLiteral("Порт пропал: устройство отключено."), true);
    b.port.refuseOpen = true;
    QFile::remove(adapter);
    b.clock.advance(3000);
    EXPECT_EQ(b.prompts.messages.size(), 1u) << "told once";
    EXPECT_TRUE(b.session.line.awaitsAdapter());
    EXPECT_TRUE(b.status().startsWith(QStringLiteral("Адаптер "))) << b.status().toStdString();
    EXPECT_FALSE(b.core.refresh().isOn());
    const std::size_t sent = b.port.writes().size();

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), adapter));
    b.port.refuseOpen = false;
    b.clock.advance(AdapterWatch::kLookEveryMs + 1000);
    EXPECT_TRUE(b.core.refresh().isOn());
    EXPECT_EQ(b.core.refresh().intervalMs(), 250);
    EXPECT_GE(b.port.writes().size(), sent + 2) << "reading again, at its interval";
    EXPECT_EQ(b.prompts.messages.size(), 1u);
    qunsetenv("Z5_COM4");
}
