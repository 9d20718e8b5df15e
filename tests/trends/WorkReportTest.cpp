// The visit report: what each recorded write did and changed, and the same
// table in the workbook and the PDF.
#include "app/WorkReport.h"
#include "app/WorkReportExport.h"
#include "download/ProjectDownloadTables.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "record/MemoryWriteHistory.h"
#include "WorkbookCells.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace z5;

namespace {

constexpr int kSetpointColumn = 1;

Project twoBlocks() {
    Project p;
    p.setSchema(Project::TypeRow, 0, static_cast<std::uint8_t>(BlockType::PID));
    p.setSchema(Project::InstanceRow, 0, 1);
    p.setSchema(Project::TypeRow, kSetpointColumn, static_cast<std::uint8_t>(BlockType::S_P));
    p.setSchema(Project::InstanceRow, kSetpointColumn, 2);
    return p;
}

// The writes of a visit: the first download and a setpoint write to station 1,
// the first download to station 2, a download to station 1 refused midway and
// one cut off, and the next day a finished one.
test::MemoryWriteHistory visit(const Project &project, ParameterStore &store) {
    test::MemoryWriteHistory history;
    const ProjectDownloadTables tables(project, store);
    history.download(tables, 0);
    store.numbersS_P.setValue(1, 0, 5.0f);
    history.setpoints(tables, kSetpointColumn, 10);
    history.download(tables, 20, "h1", 2);
    store.numbersPID.setValue(0, 4, 2.5f);
    RecordedWrite &refused = history.download(tables, 30);
    refused.state = RecordedWrite::State::Failed;
    refused.failure = QStringLiteral("Нет сети!!!");
    refused.bytesSent = 1000;
    RecordedWrite &cut = history.download(tables, 40);
    cut.state = RecordedWrite::State::Unfinished;
    cut.ended = QDateTime();
    history.download(tables, 24 * 60);   // the next day
    return history;
}

QString total(const test::MemoryWriteHistory &history, int i) {
    return QString::number(history.writes[static_cast<std::size_t>(i)].bytesTotal);
}

} // namespace

TEST(WorkReport, EachWriteWithItsOutcomeAndWhatItChanged) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const Project project = twoBlocks();
    ParameterStore store;
    const test::MemoryWriteHistory history = visit(project, store);
    const QString pidChange = QStringLiteral("PID 1, строка 2 «Период»: было 0, стало 2,5");
    const QString setpointChange = QStringLiteral("S_P 2, строка 2 «Задатчик 1»: было 0, стало 5");
    const QDate day = test::MemoryWriteHistory::start().toLocalTime().date();

    struct Case {
        const char *name;
        QDate first, last;
        std::vector<QStringList> rows;   // station, kind, outcome, sent, changes
    };
    const Case cases[] = {
        {"the first day",
         day,
         day,
         {{"№1", "Запись схемы", "закончена", total(history, 0) + " из " + total(history, 0) + " байт", "первая запись"},
          {"№1", "Запись задатчиков", "закончена", "40 из 40 байт", setpointChange},
          {"№2", "Запись схемы", "закончена", total(history, 2) + " из " + total(history, 2) + " байт", "первая запись"},
          {"№1", "Запись схемы", "не закончена: Нет сети!!!", "1000 из " + total(history, 3) + " байт", pidChange},
          // The refused write is not what the controller holds: the PID change is still one.
          {"№1", "Запись схемы", "оборвана (конец записи не отмечен)", total(history, 4) + " из " + total(history, 4) + " байт",
           pidChange}}},
        // Writes before the range are what the first write in it is compared with.
        {"the next day only", day.addDays(1), day.addDays(1), {{"№1", "Запись схемы", "закончена", {}, pidChange}}},
        {"a day without writes", day.addDays(2), day.addDays(5), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WorkReport report;
        report.build(history, c.first, c.last);
        ASSERT_EQ(report.rowCount(), static_cast<int>(c.rows.size()));
        for (int r = 0; r < report.rowCount(); ++r) {
            const QStringList &want = c.rows[static_cast<std::size_t>(r)];
            const QStringList got{report.cell(r, WorkReport::Station), report.cell(r, WorkReport::Kind),
                                  report.cell(r, WorkReport::Outcome), report.cell(r, WorkReport::Sent),
                                  report.cell(r, WorkReport::Changes)};
            for (int i = 0; i < want.size(); ++i) {
                if (!want[i].isEmpty()) {
                    EXPECT_EQ(got[i].toStdString(), want[i].toStdString()) << "row " << r;
                }
            }
        }
    }
    QLocale::setDefault(before);
}

TEST(WorkReport, WorkbookAndPdfCarryTheTable) {
    const Project project = twoBlocks();
    ParameterStore store;
    const test::MemoryWriteHistory history = visit(project, store);
    const QDate day = test::MemoryWriteHistory::start().toLocalTime().date();
    WorkReport report;
    report.build(history, day, day);

    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("visit.xlsx"));
    QString error;
    ASSERT_TRUE(WorkReportExport::writeWorkbook(book, report, &error)) << error.toStdString();
    const test::Sheet s = test::readSheet(book);
    EXPECT_EQ(s.value.value("A1"), report.title());
    EXPECT_EQ(s.value.value("A3"), QStringLiteral("Время"));
    EXPECT_EQ(s.value.value("G3"), QStringLiteral("Изменения"));
    EXPECT_EQ(s.value.value("A4"), report.cell(0, WorkReport::Time));
    EXPECT_EQ(s.value.value("E7"), QStringLiteral("не закончена: Нет сети!!!"));
    EXPECT_EQ(s.value.value("G7"), report.cell(3, WorkReport::Changes));
    EXPECT_FALSE(s.value.contains("A9"));

    const QString pdf = dir.filePath(QStringLiteral("visit.pdf"));
    ASSERT_TRUE(WorkReportExport::writePdf(pdf, report, &error)) << error.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
}
