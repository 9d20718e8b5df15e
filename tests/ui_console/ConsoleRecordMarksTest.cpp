// The console against the station record, as a hand uses it: a field edited
// away from what was last written is marked and counted, and marked no more
// once it is back; a write with changes lists them and asks first.
#include "ConsoleRig.h"
#include "Hand.h"
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "record/MemoryWriteHistory.h"
#include "ui/ChangeListDialog.h"
#include "ui/WorkReportDialog.h"
#include <QDateEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QTableWidget>

using namespace z5;
using z5::uitest::ConsoleRig;
namespace hand = z5::uitest::hand;

namespace {

constexpr int kPidColumn = 2;

int firstNumberRow(int type) {
    const ParameterCatalogue &c = ParameterCatalogue::standard();
    for (int r = 0; r < ParameterCatalogue::kRows; ++r)
        if (c.role(type, r) == RowRole::Value && c.kind(type, r) == FieldKind::Number) return r;
    return -1;
}

} // namespace

class ConsoleRecordMarksTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    test::MemoryWriteHistory history;

    void placeBlocks() {
        Project project;
        const std::pair<int, int> blocks[] = {{BlockType::A_I, 1}, {BlockType::S_P, 1}, {BlockType::PID, 1}};
        for (int c = 0; c < 3; ++c) {
            project.setSchema(Project::TypeRow, c, static_cast<std::uint8_t>(blocks[c].first));
            project.setSchema(Project::InstanceRow, c, static_cast<std::uint8_t>(blocks[c].second));
        }
        rig->session.project = project;
        rig->console.canvas()->placeIcons(ConsoleLayout::fromProject(project));
    }
    // The store as it stands goes into the record as a finished download.
    void recordDownload() {
        history.download(ProjectDownloadTables(rig->session.project, rig->session.store), 0);
        rig->session.writeHistory = &history;
        rig->session.netlistHash = "h1";
        rig->console.showInPlaceOfMainWindow();
    }
    QLineEdit *pidField() { return rig->text(firstNumberRow(BlockType::PID)); }
    bool marked(QLineEdit *field) { return field->property("changedSinceWrite").toBool(); }

private slots:
    void init() {
        history.writes.clear();
        rig = std::make_unique<ConsoleRig>();
        rig->console.activateWindow();
        placeBlocks();
        rig->session.store.numbersPID.setValue(0, 0, 2.5f);
    }
    void cleanup() { rig.reset(); }

    void marksFollowEditsAndTheCountSaysHowMany() {
        rig->session.store.numbersPID.setValue(0, 0, 1.25f);
        recordDownload();
        QCOMPARE(hand::click(rig->iconOf(kPidColumn), Qt::RightButton), QString());
        QLineEdit *field = pidField();
        const QString written = field->text();
        QVERIFY(!marked(field));
        QCOMPARE(rig->console.changeCount()->text(), QStringLiteral("Изменений с последней записи в Z5: 0"));

        QCOMPARE(hand::typeInto(field, written == QStringLiteral("7") ? QStringLiteral("3") : QStringLiteral("7")), QString());
        hand::key(&rig->console, Qt::Key_Return);
        QVERIFY(marked(field));
        QCOMPARE(field->toolTip(), QStringLiteral("записано: ") + written);
        QCOMPARE(rig->console.changeCount()->text(), QStringLiteral("Изменений с последней записи в Z5: 1"));

        // "Изменения" lists it: block, row, caption, then, now.
        rig->console.action(QStringLiteral("mnuChanges"))->trigger();
        auto *list = rig->console.findChild<ChangeListDialog *>();
        QVERIFY(list);
        QCOMPARE(list->table()->rowCount(), 1);
        QCOMPARE(list->table()->item(0, 0)->text(), QStringLiteral("PID 1"));
        QCOMPARE(list->table()->item(0, 3)->text(), written);
        QCOMPARE(list->table()->item(0, 4)->text(), field->text());
        list->accept();

        // Typed back to what was written: no mark, nothing counted.
        QCOMPARE(hand::typeInto(field, written), QString());
        hand::key(&rig->console, Qt::Key_Return);
        QVERIFY(!marked(field));
        QCOMPARE(rig->console.changeCount()->text(), QStringLiteral("Изменений с последней записи в Z5: 0"));
    }

    void withoutARecordNothingIsMarked() {
        QCOMPARE(hand::click(rig->iconOf(kPidColumn), Qt::RightButton), QString());
        QCOMPARE(hand::typeInto(pidField(), QStringLiteral("9")), QString());
        hand::key(&rig->console, Qt::Key_Return);
        QVERIFY(!marked(pidField()));
        QVERIFY(rig->console.changeCount()->text().isEmpty());
    }

    void theFilterFindsBlocksRowsAndChangedFields() {
        rig->session.store.setpointNames.setValue(0, 0, QStringLiteral("Котёл"));
        recordDownload();
        QCOMPARE(hand::typeInto(rig->console.findText(), QStringLiteral("котёл")), QString());
        QCOMPARE(rig->console.foundFields()->count(), 1);   // by value, case aside
        QVERIFY(rig->console.foundFields()->itemText(0).startsWith(QStringLiteral("S_P 1 · ")));
        QCOMPARE(hand::typeInto(rig->console.findText(), QStringLiteral("pid")), QString());
        QVERIFY(rig->console.foundFields()->count() > 1);   // by block: every row of it
        for (int i = 0; i < rig->console.foundFields()->count(); ++i)
            QVERIFY(rig->console.foundFields()->itemText(i).startsWith(QStringLiteral("PID 1 · ")));

        // Only the field that differs from the record; picking it opens its panel there.
        rig->session.store.numbersPID.setValue(0, 0, 4.0f);
        QCOMPARE(hand::typeInto(rig->console.findText(), QString()), QString());
        QCOMPARE(hand::click(rig->console.onlyChanged()), QString());
        QCOMPARE(rig->console.foundFields()->count(), 1);
        QCOMPARE(hand::choose(rig->console.foundFields(), 1), QString());
        QCOMPARE(rig->console.core().panel().type(), BlockType::PID);
        QTest::qWait(0);
        QVERIFY2(rig->console.focusWidget() && rig->console.focusWidget()->property("changedSinceWrite").toBool(), qPrintable(hand::nameOf(rig->console.focusWidget())));
    }

    void aWriteWithChangesAsksFirst_data() {
        QTest::addColumn<bool>("record");
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("writes");
        QTest::newRow("changes, yes") << true << true << true << true << true;
        QTest::newRow("changes, no: nothing is written") << true << true << false << true << false;
        QTest::newRow("nothing changed") << true << false << false << false << true;
        QTest::newRow("no record") << false << true << false << false << true;
    }
    void aWriteWithChangesAsksFirst() {
        QFETCH(bool, record);
        QFETCH(bool, change);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, writes);
        if (record) recordDownload();
        QCOMPARE(hand::click(rig->iconOf(kPidColumn), Qt::RightButton), QString());
        if (change) {
            QCOMPARE(hand::typeInto(pidField(), QStringLiteral("11")), QString());
            hand::key(&rig->console, Qt::Key_Return);
        }
        rig->prompts.confirmAnswer = answer;
        rig->prompts.messages.clear();
        rig->console.action(QStringLiteral("mnuSAVE_485"))->trigger();
        const bool wasAsked = !rig->prompts.messages.empty() &&
                              rig->prompts.messages.back().text.endsWith(QStringLiteral("Записать эти изменения (1) в Z5?"));
        QCOMPARE(wasAsked, asked);
        if (asked) QVERIFY(rig->prompts.messages.back().text.contains(QStringLiteral("PID 1, строка")));
        QCOMPARE(rig->console.core().writes().isRunning(), writes);
    }

    // "Отчёт о работах": today has no writes; the days picked by hand show them,
    // and the workbook is saved from the dialog.
    void theWorkReportShowsTheWritesOfTheDaysPicked() {
        recordDownload();
        history.download(ProjectDownloadTables(rig->session.project, rig->session.store), 90, "h1", 2);
        rig->console.action(QStringLiteral("mnuWorkReport"))->trigger();
        auto *report = rig->console.findChild<WorkReportDialog *>();
        QVERIFY(report);
        QVERIFY(!rig->console.isEnabled());
        QCOMPARE(report->table()->model()->rowCount(), 0);

        const QString typed = test::MemoryWriteHistory::start().toLocalTime().date().toString(QStringLiteral("d.M.yyyy"));
        for (QDateEdit *edit : {report->firstDay(), report->lastDay()}) {
            QCOMPARE(hand::click(edit), QString());
            hand::key(report, Qt::Key_Home);
            hand::key(report, Qt::Key_Delete);   // the day, to be typed anew
            hand::key(report, Qt::Key_Delete);
            QTest::keyClicks(edit, typed);   // with the keys' codes, as a date field reads them
        }
        QAbstractItemModel *rows = report->table()->model();
        QCOMPARE(rows->rowCount(), 2);
        QCOMPARE(rows->index(0, WorkReport::Station).data().toString(), QStringLiteral("№1"));
        QCOMPARE(rows->index(1, WorkReport::Station).data().toString(), QStringLiteral("№2"));
        QCOMPARE(rows->index(1, WorkReport::Changes).data().toString(), QStringLiteral("первая запись"));
        QVERIFY(!hand::visibleRect(report->table()).isEmpty());

        QTemporaryDir dir;
        rig->prompts.saveNames << dir.filePath(QStringLiteral("visit.xlsx"));
        QCOMPARE(hand::click(report->findChild<QPushButton *>(QStringLiteral("btnExcel"))), QString());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("visit.xlsx"))));
        QCOMPARE(hand::click(report->findChild<QPushButton *>(QStringLiteral("btnClose"))), QString());
        QVERIFY(rig->console.isEnabled());
    }

    void withoutARecordTheReportSaysSo() {
        rig->console.action(QStringLiteral("mnuWorkReport"))->trigger();
        QVERIFY(!rig->console.findChild<WorkReportDialog *>());
        QVERIFY(!rig->prompts.messages.empty());
        QVERIFY(rig->prompts.messages.back().text.contains(QStringLiteral("недоступен")));
    }
};

static z5::uitest::Registrar<ConsoleRecordMarksTest> registrar;
#include "ConsoleRecordMarksTest.moc"
