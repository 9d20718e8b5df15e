#include "download/ProjectDownloadTables.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include "record/MemoryWriteHistory.h"
#include "record/RecordDifferences.h"
#include <QBuffer>
#include <functional>
#include <gtest/gtest.h>

using namespace z5;

namespace {

constexpr int kSetpointColumn = 1;

// Three blocks: an analogue input (rows move with its channel), a setpoint
// programmer (names and numbers) and a PID.
Project threeBlocks() {
    Project p;
    const std::pair<int, int> blocks[] = {{BlockType::A_I, 1}, {BlockType::S_P, 2}, {BlockType::PID, 1}};
    for (int c = 0; c < 3; ++c) {
        p.setSchema(Project::TypeRow, c, static_cast<std::uint8_t>(blocks[c].first));
        p.setSchema(Project::InstanceRow, c, static_cast<std::uint8_t>(blocks[c].second));
    }
    return p;
}

// Values with more digits than thousandths, so rounding is at work.
void tuned(ParameterStore &s) {
    s.numbersA_I.setValue(0, 6, 12.3456f);            // "Шкала min", channel 3
    s.numbersA_I.setValue(0, 0, 2.0f);                // "Тип входа", channel 1
    s.numbersS_P.setValue(1, 0, 0.1f);
    s.numbersS_P.setValue(1, 7, -1234.5678f);
    s.setpointNames.setValue(1, 0, QStringLiteral("Пар"));
    for (int r = 0; r < 19; ++r) s.numbersPID.setValue(0, r, 1.0f / static_cast<float>(r + 3));
}

void throughFile(ParameterStore &s, QChar separator) {
    QByteArray file = ParameterFileWriter::write(s, separator);
    QBuffer in(&file);
    in.open(QIODevice::ReadOnly);
    ParameterStore loaded;
    ParameterFileReader::read(in, separator, loaded);
    s = loaded;
}

struct Scenario {
    const char *name;
    std::function<void(ParameterStore &now, std::map<int, QByteArray> &record)> change;
    std::vector<QString> lines;   // every difference, in order
};

} // namespace

TEST(RecordDifferences, EncodedValuesDecideWhatDiffers) {
    // Values are shown as the console shows them, in the user's locale.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const Project project = threeBlocks();
    const Scenario scenarios[] = {
        {"same values", [](ParameterStore &, std::map<int, QByteArray> &) {}, {}},
        {"no record", [](ParameterStore &s, std::map<int, QByteArray> &r) { s.numbersPID.setValue(0, 0, 9.0f); r.clear(); }, {}},
        {"changed number, shown in the channel it belongs to",
         [](ParameterStore &s, std::map<int, QByteArray> &) { s.numbersA_I.setValue(0, 6, 12.5f); },
         {QStringLiteral("A_I 1, строка 4 «Шкала min (№ входа 3)»: было 12,346, стало 12,5")}},
        {"a choice is shown by its item",
         [](ParameterStore &s, std::map<int, QByteArray> &) { s.numbersA_I.setValue(0, 0, 3.0f); }, {"choice"}},
        {"rounding that stays the same on the wire",
         [](ParameterStore &s, std::map<int, QByteArray> &) {
             s.numbersA_I.setValue(0, 6, 12.3458f);
             s.numbersS_P.setValue(1, 0, 0.1002f);
         }, {}},
        {"parameter file with a point", [](ParameterStore &s, std::map<int, QByteArray> &) { throughFile(s, '.'); }, {}},
        {"parameter file with a comma", [](ParameterStore &s, std::map<int, QByteArray> &) { throughFile(s, ','); }, {}},
        {"a name, and blanks after it that the wire pads anyway",
         [](ParameterStore &s, std::map<int, QByteArray> &) {
             s.setpointNames.setValue(1, 0, QStringLiteral("Вода"));
             s.setpointNames.setValue(1, 1, QStringLiteral("   "));
         },
         {QStringLiteral("S_P 2, строка 1 «Имя задатчика 1»: было Пар, стало Вода")}},
        {"a value the wire cannot carry differs",
         [](ParameterStore &s, std::map<int, QByteArray> &) { s.numbersPID.setValue(0, 2, 3.0e7f); }, {"PID 1"}},
        {"missing parameter table: numbers are not compared",
         [](ParameterStore &s, std::map<int, QByteArray> &r) { s.numbersPID.setValue(0, 0, 9.0f); r.erase(10); }, {}},
        {"a table no parameter goes into, and one of another layout",
         [](ParameterStore &s, std::map<int, QByteArray> &r) {
             s.numbersPID.setValue(0, 0, 9.0f);
             r[42] = QByteArray(7, 'x');
             r[10].chop(100);
         },
         {QStringLiteral("таблица 10: другой размер данных (было 16724 байт, стало 16824 байт)"),
          QStringLiteral("таблица 42: нет в проекте (было 7 байт, стало —)")}},
    };
    for (const Scenario &sc : scenarios) {
        SCOPED_TRACE(sc.name);
        ParameterStore then;
        tuned(then);
        const ProjectDownloadTables written(project, then);
        std::map<int, QByteArray> record;
        for (int t = 0; t < 12; ++t) record[t] = written.table(t).data;
        ParameterStore now = then;
        sc.change(now, record);
        const auto found = recordDifferences(project, now, record);
        ASSERT_EQ(found.size(), sc.lines.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (sc.lines[i] == QStringLiteral("choice")) {
                EXPECT_EQ(found[i].row, 2);
                EXPECT_NE(found[i].then, QStringLiteral("2"));   // an item's text, not its code
                EXPECT_NE(found[i].then, found[i].now);
            } else if (sc.lines[i].size() < 8) {
                EXPECT_EQ(found[i].block, sc.lines[i]);
            } else {
                EXPECT_EQ(differenceLine(found[i]).toStdString(), sc.lines[i].toStdString());
            }
        }
    }
    QLocale::setDefault(before);
}

// A setpoint write after the download is what the controller holds for that
// block; a download after it holds every setpoint again.
TEST(RecordDifferences, SetpointWritesCountForTheirBlockUntilTheNextDownload) {
    const Project project = threeBlocks();
    ParameterStore store;
    tuned(store);
    const ProjectDownloadTables tables(project, store);
    test::MemoryWriteHistory history;
    history.download(tables, 0);
    store.numbersS_P.setValue(1, 0, 5.0f);
    history.setpoints(tables, kSetpointColumn, 10);
    history.download(tables, 20, "other netlist");
    history.setpoints(tables, kSetpointColumn, 30, "h1", 2);

    WrittenParameters written = WrittenParameters::fromHistory(history, 1, "h1", project);
    EXPECT_EQ(written.setpointsBySlot.count(1), 1u);
    EXPECT_TRUE(recordDifferences(project, store, written).empty());

    store.numbersS_P.setValue(1, 0, 6.0f);
    auto found = recordDifferences(project, store, written);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].then, QStringLiteral("5"));
    EXPECT_EQ(found[0].column, kSetpointColumn);

    history.writes.back().station = 1;   // a setpoint write still unfinished is not what the controller holds
    history.writes.back().state = RecordedWrite::State::Unfinished;
    history.download(tables, 40, "h1", 1, {10});
    written = WrittenParameters::fromHistory(history, 1, "h1", project);
    EXPECT_TRUE(written.setpointsBySlot.empty());
    EXPECT_EQ(recordDifferences(project, store, written).size(), 0u);
}
