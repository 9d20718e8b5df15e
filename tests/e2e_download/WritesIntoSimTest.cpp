#include "SimSession.h"
#include "SimWrites.h"
#include "download/NameTables.h"
#include "download/ProjectDownloadTables.h"
#include "import/NetlistImport.h"
#include "link/Link.h"
#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include "app/ParameterFileCommands.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenEditor.h"
#include "screen/ScreenElementWords.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <map>

using namespace z5;
using z5::e2e::hexBytes;
using z5::e2e::runZ5ctl;
using z5::e2e::SimSession;
using z5::e2e::Write;
using z5::e2e::writesOf;

namespace {

constexpr int kToleranceMs = 30;
const QString kNetlist = QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net");
constexpr int kSetpointColumn = 13;  // U14

// The header's check value as sent, high byte first, matches its six bytes.
void expectHeaderChecks(const Write &w) {
    const QByteArray frame = hexBytes(w.header);
    ASSERT_EQ(frame.size(), 8);
    EXPECT_TRUE(w.header.value(QStringLiteral("check")).toBool());
    const std::uint16_t crc = Link::checkValueOf(frame.left(6));
    EXPECT_EQ(std::uint8_t(frame[6]), crc >> 8);
    EXPECT_EQ(std::uint8_t(frame[7]), crc & 0xFF);
}

// Data follows its header by `gapMs`; on a real line it ends later by its line time.
void expectDataAfter(const Write &w, int gapMs) {
    const int bytes = w.data.value(QStringLiteral("length")).toInt();
    const qint64 lineMs = bytes * 10LL * 1000 / 115200;
    EXPECT_GE(w.dataMs() - w.headerMs(), gapMs - kToleranceMs);
    EXPECT_LE(w.dataMs() - w.headerMs(), gapMs + kToleranceMs + lineMs);
}

class WritesIntoSim : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(sim.device().isEmpty()) << "z5-sim did not start";
        // Parameters and texts that show up in the tables, written and read back
        // through a parameter file as the command line reads them.
        ParameterStore edited;
        edited.numbersPID.setValue(0, 0, 2.5f);
        edited.numbersA_I.setValue(1, 3, -17.125f);
        for (int row = 0; row < 8; ++row) edited.numbersS_P.setValue(2, row, 10.5f * (row + 1));
        edited.setText({StoreTable::SetpointNames, 0, 2, 8}, QStringLiteral("Котёл"));
        edited.setText({StoreTable::JournalTexts, 0, 0, 1}, QStringLiteral("Пламя"));
        paramsPath = sim.dir() + QStringLiteral("/boiler.par");
        RecordingPrompts prompts;
        ASSERT_TRUE(ParameterFileCommands(edited, prompts, QLatin1Char('.')).saveTo(paramsPath));
        ASSERT_TRUE(ParameterFileCommands(store, prompts, QLatin1Char('.')).loadFrom(paramsPath));

        screen.setAlarmText(0, QStringLiteral("Авария"));
        screen.setAlarmText(5, QStringLiteral("Нет пламени"));
        screenPath = sim.dir() + QStringLiteral("/boiler.scd");
        ASSERT_TRUE(ScreenFile::save(screenPath, screen));
        ScreenModel reread;
        ASSERT_FALSE(ScreenFile::load(screenPath, reread).isError());
        screen = reread;

        NetlistImport import;
        imported = import.importFile(kNetlist, Numbering::Manual);
        ASSERT_TRUE(imported.ok) << imported.message.toStdString();
    }

    SimSession sim;
    QString paramsPath;
    QString screenPath;
    ParameterStore store;
    ScreenModel screen;
    ImportResult imported;
};

} // namespace

// The whole download: every table at its offset, with its length field, its
// check value and exactly the bytes the tables hold.
TEST_F(WritesIntoSim, DownloadArrivesOnScheduleAndWhole) {
    const auto run = runZ5ctl({"download", "--port", sim.device(), "--decimal", ".", kNetlist, "--params",
                               paramsPath, "--screen", screenPath});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("таблица 10, данные 16824 байт")) << run.err.toStdString();
    sim.stop();

    const std::vector<Write> writes = writesOf(sim.timeline());
    const std::map<int, int> schedule = {{0, 0},     {1, 500},   {2, 1000},  {3, 1200},
                                         {4, 1400},  {5, 1900},  {6, 2500},  {7, 3000},
                                         {8, 3500},  {9, 4000},  {10, 4200}, {11, 6100}};
    ASSERT_EQ(writes.size(), schedule.size());
    const ProjectDownloadTables tables(imported.project, store, &screen);
    const qint64 start = writes.front().headerMs();
    for (int t = 0; t <= 11; ++t) {
        SCOPED_TRACE(t);
        const Write &w = writes[std::size_t(t)];
        EXPECT_EQ(w.header.value(QStringLiteral("table")).toInt(), t);
        EXPECT_EQ(w.header.value(QStringLiteral("lengthField")).toInt(), Link::tableLengthField(t));
        expectHeaderChecks(w);
        EXPECT_NEAR(double(w.headerMs() - start), double(schedule.at(t)), kToleranceMs);
        expectDataAfter(w, 100);
        const QByteArray expected = tables.table(t).data;
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(w.data.value(QStringLiteral("length")).toInt(), expected.size());
        EXPECT_TRUE(hexBytes(w.data) == expected) << "the controller keeps other bytes than were built";
    }
    // What the edits put there really went: the PID value and the Cyrillic name.
    EXPECT_TRUE(hexBytes(writes[10].data).contains(QByteArray::fromHex("c4090000")));
    EXPECT_TRUE(hexBytes(writes[11].data).startsWith(QByteArray::fromHex("c0e2e0f0e8ff20202020")));
}

TEST_F(WritesIntoSim, SetpointWriteCarriesTheBlockAndItsEightValues) {
    const auto run = runZ5ctl({"write-setpoints", "--port", sim.device(), "--decimal", ".", kNetlist, "--params",
                               paramsPath, "--block", "U14"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    sim.stop();

    const std::vector<Write> writes = writesOf(sim.timeline());
    ASSERT_EQ(writes.size(), 1u);
    const Write &w = writes.front();
    EXPECT_EQ(w.header.value(QStringLiteral("table")).toInt(), 12);
    EXPECT_EQ(w.header.value(QStringLiteral("block")).toInt(), kSetpointColumn);
    expectHeaderChecks(w);
    expectDataAfter(w, 200);
    const ProjectDownloadTables tables(imported.project, store);
    const QByteArray expected = tables.setpoints(kSetpointColumn).data;
    ASSERT_EQ(expected.size(), 32);
    EXPECT_TRUE(hexBytes(w.data) == expected);
}

TEST_F(WritesIntoSim, ScreenWriteThenClosingThenAlarmTexts) {
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    {
        QPainter p(&picture);
        p.fillRect(40, 30, 120, 60, Qt::yellow);
        p.fillRect(200, 150, 80, 50, Qt::red);
    }
    const QString picturePath = sim.dir() + QStringLiteral("/screen.png");
    ASSERT_TRUE(picture.save(picturePath));

    const auto run = runZ5ctl({"write-screen", "--port", sim.device(), "--picture", picturePath, "--scd", screenPath,
                               "--mode", "rle"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    sim.stop();

    const std::vector<Write> writes = writesOf(sim.timeline());
    ASSERT_EQ(writes.size(), 2u);
    const Write &image = writes[0];
    EXPECT_EQ(image.header.value(QStringLiteral("write")).toString(), "screen");
    EXPECT_EQ(hexBytes(image.header).toHex(' '), "01 32 70 8b 00 00 e4 52");
    expectDataAfter(image, 100);
    EXPECT_TRUE(image.data.value(QStringLiteral("framed")).toBool());
    ASSERT_EQ(image.data.value(QStringLiteral("length")).toInt(), 2 + ScreenBuilder::kStreamBytes);

    ScreenModel model = screen;
    model.setDisplayMode(ScreenModel::kRunLengthMode);
    ScreenBuilder builder;
    const ScreenBuilder::Result built = builder.build(model, PictureLoader::load(picturePath).image);
    ASSERT_TRUE(built.ok());
    EXPECT_TRUE(hexBytes(image.data).mid(2) == built.stream);

    const Write &texts = writes[1];
    EXPECT_EQ(texts.header.value(QStringLiteral("table")).toInt(), 11);
    expectHeaderChecks(texts);
    EXPECT_NEAR(double(texts.headerMs() - image.headerMs()), 6100.0, kToleranceMs);
    expectDataAfter(texts, 100);
    EXPECT_TRUE(hexBytes(texts.data) == NameTables::alarmTexts(screen.alarmTexts()));
}

// Refusals come before the port is touched, with the exit codes that tell them apart.
TEST(WritesRefused, ExitCodesSayWhatStoppedTheWrite) {
    QTemporaryDir dir;
    const QString nowhere = dir.filePath(QStringLiteral("no-such-tty"));

    auto run = runZ5ctl({"download", "--port", nowhere, kNetlist});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("cannot open the port " + nowhere)) << run.err.toStdString();

    ParameterStore store;
    store.numbersPID.setValue(0, 2, 3.0e7f);
    RecordingPrompts prompts;
    const QString par = dir.filePath(QStringLiteral("big.par"));
    ASSERT_TRUE(ParameterFileCommands(store, prompts, QLatin1Char('.')).saveTo(par));
    run = runZ5ctl({"download", "--port", nowhere, "--decimal", ".", kNetlist, "--params", par});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("Ошибка параметра\nPID 1, «ТИ 1»: 30000000")) << run.err.toStdString();

    run = runZ5ctl({"write-setpoints", "--port", nowhere, "--decimal", ".", kNetlist, "--params", par, "--block",
                    "U3"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("U3 is not a setpoint programmer")) << run.err.toStdString();

    run = runZ5ctl({"download", "--port", nowhere, dir.filePath(QStringLiteral("missing.net"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());

    QImage wide(321, 240, QImage::Format_RGB32);
    wide.fill(Qt::white);
    const QString png = dir.filePath(QStringLiteral("wide.png"));
    ASSERT_TRUE(wide.save(png));
    run = runZ5ctl({"write-screen", "--port", nowhere, "--picture", png});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(png + " (321 x 240): Координата Х должна быть меньше 320")) << run.err.toStdString();
}

// A screen designed as the user does it (elements added, dragged and coloured in
// their dialogs, one deleted) arrives with the element words the model computes.
TEST_F(WritesIntoSim, DraggedAndColouredElementsArriveAsTheModelSaysThem) {
    ScreenModel designed;
    ScreenEditor editor(designed);
    // The pointer moves a screen pixel at a time, right and then down.
    const auto dragBy = [&](ScreenElement e, int dx, int dy) {
        ASSERT_TRUE(editor.beginDrag(e, 0, 0));
        for (int i = 0; i < dx; ++i) editor.dragTo(30, 0);
        for (int i = 0; i < dy; ++i) editor.dragTo(0, 30);
        editor.endDrag();
    };
    const int number = editor.addParameter();
    dragBy(ScreenElement::parameter(number), 100, 50);
    ParameterForm colours = editor.parameterForm(number);
    colours.textColour = 3;
    colours.backColour = 4;
    ASSERT_EQ(editor.applyParameter(number, colours), FormFault::None);
    const int gauge = editor.addParameter();
    ParameterForm gaugeForm = editor.parameterForm(gauge);
    gaugeForm.kind = ScadaParameter::Gauge;
    gaugeForm.textColour = 7;
    ASSERT_EQ(editor.applyParameter(gauge, gaugeForm), FormFault::None);
    dragBy(ScreenElement::parameter(gauge), 400, 0);  // stops at its bound
    const int alarm = editor.addAlarm();
    dragBy(ScreenElement::alarm(alarm), 10, 20);
    AlarmForm alarmForm = editor.alarmForm(alarm);
    alarmForm.alarm = true;
    alarmForm.backColour = 1;
    ASSERT_EQ(editor.applyAlarm(alarm, alarmForm), FormFault::None);
    ASSERT_TRUE(editor.deleteAlarm(editor.addAlarm()));

    // As "&Сохранить SCADA" does: the words first, then the file.
    ScreenElementWords::update(designed);
    const QString scd = sim.dir() + QStringLiteral("/designed.scd");
    ASSERT_TRUE(ScreenFile::save(scd, designed));
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QString picturePath = sim.dir() + QStringLiteral("/black.png");
    ASSERT_TRUE(picture.save(picturePath));
    const auto run = runZ5ctl({"write-screen", "--port", sim.device(), "--picture", picturePath, "--scd", scd});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    sim.stop();

    const std::vector<Write> writes = writesOf(sim.timeline());
    ASSERT_FALSE(writes.empty());
    const QByteArray words = hexBytes(writes[0].data).right(ScreenElementWords::kBytes);
    for (int m = 0; m < ScreenModel::kCoordWords; ++m) {
        SCOPED_TRACE(m);
        const int sent = (std::uint8_t(words[2 * m]) << 8) | std::uint8_t(words[2 * m + 1]);
        EXPECT_EQ(sent, designed.coord(m) & 0xFFFF);
    }
    // What the user placed: the number box 100 pixels right and 50 down of the
    // corner, the gauge at its last visible column, the alarm marker, and the
    // deleted alarm off the screen.
    EXPECT_EQ(designed.coord(2 * number), 1 + 100);
    EXPECT_EQ(designed.coord(2 * number + 1), 50 + 3 * 256 + 4 * 2048);
    EXPECT_EQ(designed.coord(2 * gauge), (8820 - 420) / 30 + 20);
    EXPECT_EQ(designed.coord(2 * gauge + 1), 20 + 7 * 256 + 3 * 16384);
    EXPECT_EQ(designed.coord(32 + 2 * alarm), 10);
    EXPECT_EQ(designed.coord(33 + 2 * alarm), 20 + 1 * 2048 + 16384);
    EXPECT_EQ(designed.coord(32 + 2 * (alarm + 1)), 500);
}
