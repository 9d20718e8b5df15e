// The station record through z5ctl: a download entered as it goes, listed,
// compared with the netlist, and sent again into a second controller, where
// it must arrive as the first one saw it.
#include "CliRun.h"
#include "SimWrites.h"
#include "app/ParameterFileCommands.h"
#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include "record/StationRecord.h"
#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

using namespace z5;
using z5::e2e::SimSession;
using z5::e2e::Write;
using z5::e2e::writesOf;
using z5::testing::CliRun;

namespace {

constexpr int kToleranceMs = 30;
const QString kNetlist = QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net");

CliRun z5ctl(const QStringList &args) { return z5::testing::runProgram(QStringLiteral(Z5CTL_PATH), args, 60000); }

qint64 offsetOf(const QJsonObject &e, const Write &first) {
    return e.value(QStringLiteral("ms")).toInteger() - first.headerMs();
}

} // namespace

TEST(RestoreIntoSim, TheRecordedDownloadArrivesAgainByteForByteAtItsOffsets) {
    SimSession first, second;
    ASSERT_TRUE(first.running() && second.running());
    const QString record = first.dir() + QStringLiteral("/record.sqlite");

    const CliRun download = z5ctl({"download", "--port", first.device(), "--record", record, kNetlist});
    ASSERT_EQ(download.code, 0) << download.err.toStdString();
    const CliRun history = z5ctl({"history", "--record", record, "--station", "1"});
    EXPECT_EQ(history.code, 0) << history.err.toStdString();
    const QStringList rows = history.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2) << history.out.toStdString();
    const QStringList row = rows[1].split(QLatin1Char('\t'));
    ASSERT_EQ(row.size(), 8);
    EXPECT_EQ(QStringList({row[0], row[2], row[4], row[6]}).join(' '), "1 download boiler.net finished");
    EXPECT_EQ(row[7].section('/', 0, 0), row[7].section('/', 1, 1));

    // The netlist as written: nothing differs; another station never had it;
    // a changed parameter is named.
    const CliRun same = z5ctl({"diff", kNetlist, "--station", "1", "--record", record});
    EXPECT_EQ(same.code, 0) << same.out.toStdString() << same.err.toStdString();
    EXPECT_TRUE(same.out.isEmpty());
    EXPECT_EQ(z5ctl({"diff", kNetlist, "--station", "2", "--record", record}).code, 1);
    ParameterStore edited;
    edited.numbersPID.setValue(0, 0, 2.5f);
    const QString params = first.dir() + QStringLiteral("/edited.par");
    RecordingPrompts prompts;
    ASSERT_TRUE(ParameterFileCommands(edited, prompts, QLatin1Char('.')).saveTo(params));
    const CliRun changed = z5ctl({"diff", kNetlist, params, "--decimal", ".", "--station", "1", "--record", record});
    EXPECT_EQ(changed.code, 1);
    EXPECT_EQ(changed.out.count(QLatin1Char('\n')), 1) << changed.out.toStdString();
    EXPECT_TRUE(changed.out.startsWith(QStringLiteral("PID 1, "))) << changed.out.toStdString();

    const CliRun restore = z5ctl({"restore", "--entry", "1", "--port", second.device(), "--record", record});
    ASSERT_EQ(restore.code, 0) << restore.err.toStdString();
    first.stop();
    second.stop();
    const std::vector<Write> was = writesOf(first.timeline());
    const std::vector<Write> again = writesOf(second.timeline());
    ASSERT_EQ(was.size(), 12u);
    ASSERT_EQ(again.size(), was.size());
    for (std::size_t i = 0; i < was.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(again[i].header.value(QStringLiteral("hex")), was[i].header.value(QStringLiteral("hex")));
        EXPECT_EQ(again[i].data.value(QStringLiteral("hex")), was[i].data.value(QStringLiteral("hex")));
        EXPECT_NEAR(double(offsetOf(again[i].header, again[0])), double(offsetOf(was[i].header, was[0])), kToleranceMs);
        EXPECT_NEAR(double(offsetOf(again[i].data, again[0])), double(offsetOf(was[i].data, was[0])), kToleranceMs);
    }

    // The restore is a write of its own; an entry that never ended is not sent without being told to.
    QString problem;
    auto opened = StationRecord::open(record, StationRecord::Use::Writing, &problem);
    ASSERT_NE(opened, nullptr) << problem.toStdString();
    const std::vector<RecordedWrite> entries = opened->summaries({}, {});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].state, RecordedWrite::State::Finished);
    EXPECT_EQ(entries[1].netlistHash, entries[0].netlistHash);
    QFile netlist(kNetlist);
    ASSERT_TRUE(netlist.open(QIODevice::ReadOnly));
    EXPECT_EQ(entries[0].netlistHash, QCryptographicHash::hash(netlist.readAll(), QCryptographicHash::Sha256).toHex());
    RecordedWrite cut = entries[0];
    const qint64 unfinished = opened->enterStarted(cut);
    opened.reset();
    const CliRun refused = z5ctl({"restore", "--entry", QString::number(unfinished), "--port", second.device(), "--record", record});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("is unfinished"))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--even-unfinished"))) << refused.err.toStdString();
}
