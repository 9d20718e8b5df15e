// Every write kind, finished, cut by an unplugged adapter, with a step refused
// and more: what the station record holds of it afterwards, checked against
// what went out of the port, and sent again from the record.
#include "SessionBench.h"
#include "app/ResendSequence.h"
#include "link/Link.h"
#include "model/BlockCatalogue.h"
#include "record/ComputerUser.h"
#include "record/SqliteDatabase.h"
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace z5;

namespace {

using Kind = RecordedWrite::Kind;
using State = RecordedWrite::State;

enum class Fault { None, Unplugged, Refused, NoPort, NotDrained };
enum class Total { Whole, AsSent, Zero };

struct Row {
    const char *name;
    Kind kind;
    Fault fault;
    State state;
    const char *failure;   // how the failure starts
    int pieces;
    int portSteps;
    Total total;
};
void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

constexpr int kSetpointColumn = 7;
constexpr int kHeader = wire::kFrameLength + wire::kCheckValueLength;

struct RecorderRig : SessionBench {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("record.sqlite"));

    explicit RecorderRig(bool withRecord = true) {
        session.project.setSchema(Project::TypeRow, kSetpointColumn, BlockType::S_P);
        session.project.setSchema(Project::InstanceRow, kSetpointColumn, 3);
        session.project.setSchema(Project::TypeRow, 2, BlockType::PID);
        session.project.setSchema(Project::InstanceRow, 2, 1);
        session.netlistName = QStringLiteral("boiler.net");
        session.netlistHash = QByteArray(64, 'a');
        if (withRecord) {
            EXPECT_EQ(session.recorder.open(path), QString());
        }
    }
    // A picture that fits, or one too wide to be built.
    static QImage picture(int width) {
        QImage image(width, 240, QImage::Format_RGB32);
        image.fill(Qt::blue);
        return image;
    }
    WriteStart start(Kind kind, bool tooWide = false) {
        switch (kind) {
        case Kind::Setpoints: return session.setpointWrite.writeSetpoints(kSetpointColumn);
        case Kind::Screen: return session.screenWrite.startScreenWrite(picture(tooWide ? 400 : 320));
        case Kind::Download: break;
        }
        return session.chain.startDownload();
    }
    // Bytes of the kind's write when every step goes out.
    qint64 wholeTotal(Kind kind) const {
        if (kind == Kind::Setpoints) return kHeader + session.tables.setpoints(kSetpointColumn).data.size();
        const qint64 alarmTexts = kHeader + session.tables.table(tableNumber(Table::AlarmTexts)).data.size();
        if (kind == Kind::Screen) return kHeader + wire::kScreenWriteLength + alarmTexts;
        qint64 total = alarmTexts;
        for (int t = 0; t <= tableNumber(Table::Parameters); ++t) total += kHeader + session.tables.table(t).data.size();
        return total;
    }
    std::vector<RecordedWrite> entries() const { return session.recorder.record()->entries({}, {}); }
};

// The moment each fault strikes: between a header and its data.
int faultAtMs(Kind kind) { return kind == Kind::Download ? 2050 : kind == Kind::Setpoints ? 100 : 550; }

class RecordedWrites : public ::testing::TestWithParam<Row> {};

TEST_P(RecordedWrites, TheEntryHoldsWhatWentOutAndHowItEnded) {
    const Row &row = GetParam();
    RecorderRig r;
    if (row.fault == Fault::NoPort) r.port.refuseOpen = true;
    if (row.fault == Fault::NotDrained) r.port.farEndTakesBytes = 1000;
    const WriteStart started = r.start(row.kind, row.fault == Fault::Refused);
    ASSERT_TRUE(started.reply);
    r.clock.advance(faultAtMs(row.kind));
    if (row.fault == Fault::Unplugged) {
        r.port.fail(QStringLiteral("the adapter was pulled out"), true);
        r.port.refuseOpen = true;
    } else if (row.fault == Fault::Refused && row.kind == Kind::Download) {
        r.session.store.numbersPID.setValue(0, 3, 3.0e7f);
    } else if (row.fault == Fault::Refused && row.kind == Kind::Setpoints) {
        r.session.store.numbersS_P.setValue(2, 4, -3.0e7f);
    }
    r.clock.advance(12000);
    ASSERT_TRUE(started.reply->isFinished());

    const std::vector<RecordedWrite> entries = r.entries();
    ASSERT_EQ(entries.size(), 1u);
    const RecordedWrite &e = entries.front();
    EXPECT_EQ(e.kind, row.kind);
    EXPECT_EQ(e.state, row.state);
    EXPECT_TRUE(e.failure.startsWith(QString::fromUtf8(row.failure))) << e.failure.toStdString();
    EXPECT_EQ(int(e.pieces.size()), row.pieces);
    EXPECT_EQ(int(e.portSteps.size()), row.portSteps);
    EXPECT_EQ(e.station, 1);
    EXPECT_EQ(e.netlistName, "boiler.net");
    EXPECT_EQ(e.netlistHash, QByteArray(64, 'a'));
    EXPECT_EQ(e.user, computerUserName());
    EXPECT_EQ(e.programVersion, QStringLiteral(Z5_VERSION));
    EXPECT_EQ(e.port, row.fault == Fault::NoPort ? PortSettings::deviceName(4) : r.port.openedDevice());
    EXPECT_TRUE(e.started.isValid() && e.ended >= e.started);

    // The pieces are the port's writes, each at its offset, and nothing else went out.
    const auto &writes = r.port.writes();
    ASSERT_EQ(writes.size(), e.pieces.size());
    qint64 kept = 0;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(e.pieces[i].bytes, writes[i].bytes) << i;
        EXPECT_EQ(e.pieces[i].atMs, writes[i].atMs) << i;
        kept += e.pieces[i].bytes.size();
    }
    switch (row.total) {
    case Total::Whole: EXPECT_EQ(e.bytesTotal, r.wholeTotal(row.kind)); break;
    case Total::AsSent: EXPECT_EQ(e.bytesTotal, kept); break;
    case Total::Zero: EXPECT_EQ(e.bytesTotal, 0); break;
    }
    if (row.state == State::Finished) {
        EXPECT_EQ(e.bytesSent, kept);
    }
    if (row.fault == Fault::NotDrained) {
        EXPECT_EQ(e.failure, LineSession::notAcceptedText(e.bytesSent, e.bytesTotal));
    }
    EXPECT_LE(e.bytesSent, kept);
    EXPECT_TRUE(r.session.recorder.record()->inconsistencies().isEmpty())
        << r.session.recorder.record()->inconsistencies().join('\n').toStdString();
    EXPECT_TRUE(r.prompts.messages.empty() || row.state != State::Finished);

    // Sent again from the record: the same bytes at the same offsets, the port closed and opened alike.
    if (row.state != State::Finished) return;
    SessionBench again;
    again.session.line.enqueue(resendSequence(e));
    again.clock.advance(12000);
    ASSERT_EQ(again.port.writes().size(), writes.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(again.port.writes()[i].bytes, writes[i].bytes) << i;
        EXPECT_EQ(again.port.writes()[i].atMs, writes[i].atMs) << i;
    }
    EXPECT_EQ(again.port.closeCount(), r.port.closeCount());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, RecordedWrites,
    ::testing::Values(
        Row{"DownloadFinished", Kind::Download, Fault::None, State::Finished, "", 24, 2, Total::Whole},
        Row{"DownloadUnplugged", Kind::Download, Fault::Unplugged, State::Failed, "Нет сети!!!\nthe adapter was pulled out", 12, 2, Total::Whole},
        Row{"DownloadTableRefused", Kind::Download, Fault::Refused, State::Failed, "Ошибка параметра", 22, 2, Total::AsSent},
        Row{"DownloadPortDoesNotOpen", Kind::Download, Fault::NoPort, State::Failed, "Нет сети!!!\nno such device", 0, 0, Total::Zero},
        Row{"DownloadNotDrained", Kind::Download, Fault::NotDrained, State::Failed, "Z5 не принимает данные", 24, 2, Total::Whole},
        Row{"SetpointsFinished", Kind::Setpoints, Fault::None, State::Finished, "", 2, 0, Total::Whole},
        Row{"SetpointsUnplugged", Kind::Setpoints, Fault::Unplugged, State::Failed, "Нет сети!!!", 1, 0, Total::Whole},
        Row{"SetpointsRefused", Kind::Setpoints, Fault::Refused, State::Failed, "Ошибка параметра", 1, 0, Total::AsSent},
        Row{"ScreenFinished", Kind::Screen, Fault::None, State::Finished, "", 4, 2, Total::Whole},
        Row{"ScreenUnplugged", Kind::Screen, Fault::Unplugged, State::Failed, "Нет сети!!!", 1, 2, Total::Whole},
        Row{"ScreenPictureRefused", Kind::Screen, Fault::Refused, State::Failed, "Координата Х должна быть меньше 320", 2, 2, Total::AsSent}),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

// No record: the writes go out all the same, and the user hears of it once.
TEST(StationRecorder, ARecordThatCannotBeOpenedIsToldOnceAndWritesStillGo) {
    RecorderRig r(false);
    const QString problem = r.session.recorder.open(r.dir.filePath(QStringLiteral("no/such/folder/record.sqlite")));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Папка "))) << problem.toStdString();
    EXPECT_EQ(r.session.recorder.record(), nullptr);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(r.start(Kind::Setpoints));
        r.clock.advance(1000);
    }
    EXPECT_EQ(r.port.writes().size(), 4u);
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.prompts.messages[0].text, StationRecorder::notRecordedText(problem));
    EXPECT_TRUE(r.session.recorder.placeText().contains(problem));
}

// Another program holds the file: steps wait for the next chance, the entry
// ends complete; a start that cannot be entered is said and the write goes on.
TEST(StationRecorder, AnotherProgramHoldingTheFileDelaysStepsButLosesNone) {
    RecorderRig r;
    r.session.recorder.record()->setBusyTimeoutMs(0);
    SqliteDatabase other;
    ASSERT_TRUE(other.open(r.path, SqliteDatabase::Open::ExistingOnly));
    ASSERT_TRUE(r.start(Kind::Download));
    r.clock.advance(150);
    ASSERT_TRUE(other.beginWrite());
    r.clock.advance(1100);   // tables 1 to 3 go out meanwhile
    ASSERT_TRUE(other.commit());
    r.clock.advance(8000);
    std::vector<RecordedWrite> entries = r.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].state, State::Finished);
    ASSERT_EQ(entries[0].pieces.size(), r.port.writes().size());
    for (std::size_t i = 0; i < entries[0].pieces.size(); ++i) EXPECT_EQ(entries[0].pieces[i].bytes, r.port.writes()[i].bytes);
    EXPECT_TRUE(r.prompts.messages.empty());

    ASSERT_TRUE(other.beginWrite());
    ASSERT_TRUE(r.start(Kind::Setpoints));
    r.clock.advance(1000);
    ASSERT_TRUE(other.commit());
    EXPECT_EQ(r.port.writes().size(), 26u) << "the write went out unrecorded";
    EXPECT_EQ(r.entries().size(), 1u);
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_TRUE(r.prompts.messages[0].text.startsWith(StationRecorder::notRecordedText(QString()))) << r.prompts.messages[0].text.toStdString();
}

} // namespace
