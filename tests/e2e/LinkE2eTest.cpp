// The link over a real serial port (QSerialPort on z5-sim's pseudo-terminal),
// timed by the real clock. Kept few and short.
#include "SimProcess.h"
#include "LineSessionProbe.h"
#include "link/EditFields.h"
#include "link/PortFailuresTold.h"
#include "link/BlockReply.h"
#include "link/LineSession.h"
#include "link/Link.h"
#include "link/Request.h"
#include "link/QtSerialPort.h"
#include "link/ReplyReception.h"
#include "link/ValueCodec.h"
#include "model/QtClock.h"
#include "CliRun.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <gtest/gtest.h>
#include <optional>

using z5::Link;
using Ending = z5::ReplyReception::Ending;

namespace {

// The configurator's side: port, line owner and its reception, the reception
// driven by hand.
struct Console {
    z5::QtSerialPort port;
    z5::QtClock clock;
    z5::LineSession line{port, clock};
    z5::ReplyReception &reception = z5::LineSessionProbe::reception(line);
    QByteArray reply;
    std::optional<Ending> ending;

    Console() {
        QObject::connect(&reception, &z5::ReplyReception::blockReply, [this](const QByteArray &r) { reply = r; });
        QObject::connect(&reception, &z5::ReplyReception::released, [this](Ending e) { ending = e; });
    }
    Ending await(int watchdogMs) {
        reply.clear();
        ending.reset();
        reception.awaitBlockReply(watchdogMs);
        pumpUntil([this] { return ending.has_value(); }, watchdogMs + 2000);
        return ending.value_or(Ending::Cancelled);
    }
    Ending readBlock(int column, int watchdogMs = 1000) {
        z5::LineSessionProbe::send(line, z5::Request::blockRead(column));
        return await(watchdogMs);
    }
    Ending command(std::uint8_t code) {
        z5::testing::editFields(line, [&](z5::RequestFields &f) {
            f.kind = z5::Request::Command;
            f.code = code;
            f.block = 0;
        });
        z5::testing::sendOnLine(line);
        return await(1000);
    }
    // Header, then the data block 100 ms later, as the download chain sends a table.
    void writeTable(int table, const QByteArray &data, int block = 0, int dataAfterMs = 100) {
        z5::testing::editFields(line, [&](z5::RequestFields &f) {
            f.table = static_cast<std::int16_t>(table);
            f.block = static_cast<std::int16_t>(block);
        });
        z5::LineSessionProbe::loadTableData(line, table, data);
        z5::testing::editFields(line, [&](z5::RequestFields &f) { f.kind = z5::Request::TableHeader; });
        z5::testing::sendOnLine(line);
        pumpEvents(dataAfterMs);
        z5::LineSessionProbe::sendData(line);
    }
};

bool isData(const QJsonObject &r, int table, int length) {
    return r[QStringLiteral("what")].toString() == QStringLiteral("data") &&
           r[QStringLiteral("table")].toInt(-1) == table && r[QStringLiteral("length")].toInt() == length;
}

} // namespace

TEST(LinkE2e, ABlockReadIsAnsweredThroughTheSerialPort) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    Console console;
    ASSERT_TRUE(console.port.open(sim.device())) << console.port.errorString().toStdString();
    EXPECT_EQ(console.readBlock(3), Ending::Reply);
    EXPECT_EQ(console.reply.size(), 260);
    EXPECT_EQ(z5::LineSessionProbe::onLine(console.line).index, 11);
    EXPECT_EQ(z5::LineSessionProbe::framesNotSent(console.line), 0);
}

TEST(LinkE2e, WrittenSetpointsComeBackAndProcessCommandsReportTheState) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    Console console;
    qputenv("Z5_COM4", sim.device().toLocal8Bit());
    ASSERT_TRUE(z5::LineSessionProbe::openPort(console.line));   // COM4 by default, mapped to the terminal
    qunsetenv("Z5_COM4");

    QByteArray blocks(501, '\0');
    blocks[0] = '0';
    blocks[1 + 0] = 16;     // column 0: a setpoint programmer...
    blocks[1 + 100] = 1;    // ...instance 1
    console.writeTable(0, blocks);
    QByteArray setpoints;
    for (int k = 0; k < 8; ++k)
        for (auto b : z5::ValueCodec::encodeValue(10.5f * k - 3.0f).value_or(z5::ValueBytes{})) setpoints.append(char(b));
    pumpEvents(150);
    console.writeTable(12, setpoints, 0, 200);
    ASSERT_TRUE(sim.waitForEvent([](const QJsonObject &r) { return isData(r, 12, 32); }, 2000));

    ASSERT_EQ(console.readBlock(0), Ending::Reply);
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(z5::BlockReply::second(console.reply, k), 10.5 * k - 3.0);

    ASSERT_EQ(console.command(z5::Request::StartProcess), Ending::Reply);
    EXPECT_TRUE(z5::BlockReply::processRuns(console.reply));
    ASSERT_EQ(console.command(z5::Request::PauseProcess), Ending::Reply);
    EXPECT_FALSE(z5::BlockReply::processRuns(console.reply));
}

TEST(LinkE2e, ClosingRightAfterTheParameterTableStillDeliversAllOfIt) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    Console console;
    ASSERT_TRUE(console.port.open(sim.device()));
    QByteArray params(16824, '\0');
    for (int i = 0; i < params.size(); ++i) params[i] = char(i * 7);
    console.writeTable(10, params);
    console.port.close();   // at once: nothing may be lost
    EXPECT_TRUE(sim.waitForEvent([](const QJsonObject &r) { return isData(r, 10, 16824); }, 5000));
}

TEST(LinkE2e, SpoiledAndMissingRepliesAreDroppedAndTheNextExchangeWorks) {
    SimProcess sim({QStringLiteral("--corrupt"), QStringLiteral("1"), QStringLiteral("--short"), QStringLiteral("0"),
                    QStringLiteral("--drop"), QStringLiteral("0")});
    ASSERT_TRUE(sim.running());
    Console console;
    ASSERT_TRUE(console.port.open(sim.device()));
    EXPECT_EQ(console.readBlock(1), Ending::WrongCheckValue);
    EXPECT_EQ(console.readBlock(1), Ending::Reply);
    console.line.changeStation(2);   // nobody answers station 2
    EXPECT_EQ(console.readBlock(1, 400), Ending::NoReply);
    EXPECT_EQ(z5::LineSessionProbe::framesNotSent(console.line), 0);
}

TEST(LinkE2e, AReplyPacedAtLineSpeedInPiecesIsJoined) {
    SimProcess sim({QStringLiteral("--line-speed"), QStringLiteral("--late"), QStringLiteral("140")});
    ASSERT_TRUE(sim.running());
    Console console;
    ASSERT_TRUE(console.port.open(sim.device()));
    // Starts at about 145 ms and takes 23 ms on the line: straddles the first poll tick.
    EXPECT_EQ(console.readBlock(2), Ending::Reply);
    EXPECT_EQ(console.reply.size(), 260);
}

TEST(LinkE2e, AVanishedFarEndClosesThePortAndTheNextOpenSequenceReopens) {
    auto sim = std::make_unique<SimProcess>();
    ASSERT_TRUE(sim->running());
    Console console;
    ASSERT_TRUE(console.port.open(sim->device()));
    sim->kill();
    EXPECT_TRUE(pumpUntil([&] { return !console.port.isOpen(); }, 2000));
    EXPECT_TRUE(console.port.errorString().startsWith(QStringLiteral("Порт ")) &&
                console.port.errorString().endsWith(QStringLiteral(" пропал: устройство отключено.")))
        << console.port.errorString().toStdString();
    // Writing to the closed port is refused instead of flooding anything.
    console.readBlock(1, 300);
    EXPECT_GE(z5::LineSessionProbe::framesNotSent(console.line), 1);

    sim = std::make_unique<SimProcess>();
    ASSERT_TRUE(sim->running());
    qputenv("Z5_COM4", sim->device().toLocal8Bit());
    EXPECT_TRUE(z5::LineSessionProbe::openPort(console.line));
    qunsetenv("Z5_COM4");
    EXPECT_EQ(console.readBlock(1), Ending::Reply);
}

TEST(LinkE2e, ADeviceThatDoesNotExistSaysSoInThePortsReason) {
    Console console;
    EXPECT_FALSE(z5::LineSessionProbe::openPort(console.line, QStringLiteral("/dev/z5-no-such-port")));
    EXPECT_TRUE(console.line.portErrorText().contains(QStringLiteral("/dev/z5-no-such-port")));
}

// One device, one holder: a link, a name relative to the current folder and the
// plain name are one port, within this program and across programs.
TEST(LinkE2e, ADeviceHeldUnderOneNameIsRefusedUnderEveryOther) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    const QString plain = QFileInfo(sim.device()).canonicalFilePath();
    const QString link = sim.dir() + QStringLiteral("/z5-adapter");
    ASSERT_TRUE(QFile::link(plain, link));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(sim.dir()));
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const struct {
        QString held, asked;
    } rows[] = {{link, plain}, {plain, link}, {plain, QStringLiteral("z5-adapter")}, {QStringLiteral("z5-adapter"), plain}};
    for (const auto &row : rows) {
        SCOPED_TRACE((row.held + QStringLiteral(" then ") + row.asked).toStdString());
        z5::QtSerialPort first, second;
        ASSERT_TRUE(first.open(row.held)) << first.errorString().toStdString();
        EXPECT_FALSE(second.open(row.asked));
        EXPECT_TRUE(second.errorString().startsWith(QStringLiteral("Порт %1 занят другой программой (").arg(row.asked)) &&
                    second.errorString().endsWith(QStringLiteral("процесс %1).").arg(pid)))
            << second.errorString().toStdString();
        first.close();
        EXPECT_TRUE(second.open(row.asked)) << second.errorString().toStdString();
    }
    // Another program asking by the other name is refused too, and told who holds it.
    z5::QtSerialPort held;
    ASSERT_TRUE(held.open(link));
    const z5::testing::CliRun r = z5::testing::runProgram(
        QStringLiteral(Z5CTL_PATH), {QStringLiteral("read-block"), QStringLiteral("--port"), plain, QStringLiteral("--block"), QStringLiteral("1")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("занят другой программой")) && r.err.contains(pid)) << r.err.toStdString();
    QDir::setCurrent(before);
}

// An adapter pulled out and plugged in again, as z5-sim going and coming back
// under one link: the user is told once per loss, the line opens the adapter
// again by itself within 2 s of its return, and reads go on.
TEST(LinkE2e, AnAdapterThatComesBackIsOpenedAgainWithinTwoSeconds) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("z5"));
    auto sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--link"), link});
    ASSERT_TRUE(sim->running());
    QStringList back;
    Console console;
    z5::testing::PortFailuresTold told(console.line);
    QObject::connect(&console.line, &z5::LineSession::adapterReturned, [&](const QString &d) { back << d; });
    const auto read = [&](int column) {
        const auto reply = console.line.enqueue(z5::Request::blockRead(column));
        pumpUntil([&] { return reply->isFinished(); }, 3000);
        return reply->outcome();
    };
    ASSERT_TRUE(z5::LineSessionProbe::openPort(console.line, link));
    for (int cycle = 1; cycle <= 3; ++cycle) {
        SCOPED_TRACE(cycle);
        EXPECT_EQ(read(1), z5::LineOutcome::Reply);
        sim->kill();
        QFile::remove(link);   // the old pseudo-terminal may be another test's by now
        EXPECT_TRUE(pumpUntil([&] { return read(2) == z5::LineOutcome::NoNetwork && console.line.awaitsAdapter(); }, 3000));
        read(3);
        EXPECT_EQ(told.reasons.size(), cycle);
        sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--link"), link});
        ASSERT_TRUE(sim->running());
        EXPECT_TRUE(pumpUntil([&] { return back.size() == cycle; }, 2000));
        EXPECT_EQ(back.value(cycle - 1), link);
    }
    EXPECT_EQ(read(1), z5::LineOutcome::Reply);
}
