// Programs killed at random moments while they write into the record: every
// entry is then either complete or unfinished, never half-written.
// Z5_RECORD_KILLS sets how many kills (scripts/record-kills.sh runs 100);
// Z5_RECORD_KILL_Z5CTL=1 kills real z5ctl downloads into z5-sim instead of
// the quick writer.
#include "SimProcess.h"
#include "record/StationRecord.h"
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace z5;

namespace {

// Starts a program that writes into `record` and kills it at a random moment
// of its writing; false when it never began.
bool killWhileWriting(const QString &record, const QString &simDevice, int upToMs) {
    QProcess writer;
    if (simDevice.isEmpty()) {
        writer.start(QStringLiteral(Z5_RECORD_WRITER), {record});
        // The quick writer says when its first download is under way.
        if (!writer.waitForReadyRead(10000)) return false;
    } else {
        writer.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("download"), QStringLiteral("--port"), simDevice,
                                                  QStringLiteral("--record"), record, QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net")});
        if (!writer.waitForStarted(5000)) return false;
    }
    QThread::msleep(QRandomGenerator::global()->bounded(upToMs));
    writer.kill();
    return writer.waitForFinished(5000);
}

TEST(KillDuringWrite, EveryEntryIsCompleteOrUnfinished) {
    const int kills = qEnvironmentVariableIntValue("Z5_RECORD_KILLS") > 0 ? qEnvironmentVariableIntValue("Z5_RECORD_KILLS") : 30;
    const bool realWrites = qEnvironmentVariableIntValue("Z5_RECORD_KILL_Z5CTL") == 1;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.sqlite"));
    std::unique_ptr<SimProcess> sim;
    if (realWrites) {
        sim = std::make_unique<SimProcess>();
        ASSERT_TRUE(sim->running());
    }
    QElapsedTimer took;
    took.start();
    for (int i = 0; i < kills; ++i)
        ASSERT_TRUE(killWhileWriting(path, realWrites ? sim->device() : QString(), realWrites ? 7000 : 150)) << "kill " << i;

    QString problem;
    const std::unique_ptr<StationRecord> record = StationRecord::open(path, StationRecord::Use::ReadingOnly, &problem);
    ASSERT_NE(record, nullptr) << problem.toStdString();
    const QStringList wrong = record->inconsistencies();
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join('\n').toStdString();
    int finished = 0, unfinished = 0, failed = 0;
    for (const RecordedWrite &w : record->summaries({}, {})) {
        switch (w.state) {
        case RecordedWrite::State::Finished: ++finished; break;
        case RecordedWrite::State::Unfinished: ++unfinished; break;
        case RecordedWrite::State::Failed: ++failed; break;
        }
    }
    EXPECT_GT(finished + unfinished, 0);
    std::printf("%d kills in %lld ms: %d finished, %d unfinished, %d failed entries, %d torn\n", kills,
                took.elapsed(), finished, unfinished, failed, int(wrong.size()));
}

} // namespace
