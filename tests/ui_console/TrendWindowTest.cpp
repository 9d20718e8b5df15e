// The trend window on a scripted controller: groups, pages, the page dialog,
// recording, the cursor, the workbook and the printout.
#include "TrendRig.h"
#include "Hand.h"
#include "UiTestRegistry.h"
#include "model/RecordingPrompts.h"
#include "ui/TrendPageDialog.h"
#include "ui/TrendPlotWidget.h"
#include "ui/TrendWindow.h"
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace z5;
using z5::testing::ScriptedRecorder;

namespace {

struct TrendWindowRig : z5::testing::TrendBench {
    QWidget console;
    TrendWindow *window;

    TrendWindowRig() {
        session.setBlock(7);   // the window sets its own block before each request
        TrendChannels ch;
        for (int c = 0; c < 32; ++c) {
            ch.names[c] = QStringLiteral("K%1").arg(c + 1);
            ch.scales[c] = {0.0f, 10000.0f};
        }
        ch.title = QStringLiteral("Котёл");
        session.setChannels(ch);
        console.setEnabled(false);
        window = new TrendWindow(session, prompts, 5, &console);
        window->show();
    }
    ~TrendWindowRig() { delete window; }
    template <typename T = QWidget> T *find(const char *name) const { return window->findChild<T *>(name); }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }
    void press(const char *name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    QString status() const { return find<QLabel>("lblCursor")->text(); }
};

} // namespace

class TrendWindowTest : public QObject {
    Q_OBJECT
private slots:
    void readShowsPageLabelCaptionAndNamesOnlyWhenComplete() {
        TrendWindowRig r;
        r.window->readCurrentPage();
        QVERIFY(!r.window->isEnabled());
        r.clock.advance(1000);
        QCOMPARE(r.text("sheet_GRAFIK"), QString());
        r.clock.advance(5000);
        QVERIFY(r.window->isEnabled());
        QCOMPARE(r.text("sheet_GRAFIK"), QStringLiteral("3"));
        QCOMPARE(r.recorder.requests.front().column, 5);
        QCOMPARE(r.window->windowTitle(), QStringLiteral("ГРАФИК Котёл"));
        QCOMPARE(r.text("Name_GRAFIK_0"), QStringLiteral("K1"));
        QCOMPARE(r.text("Label_N_GRAF"), QStringLiteral("1"));
    }

    void groupsWrapAtBothEnds() {
        TrendWindowRig r;
        r.press("Command2");
        QCOMPARE(r.text("Label_N_GRAF"), QStringLiteral("8"));
        QCOMPARE(r.text("Name_GRAFIK_3"), QStringLiteral("K32"));
        r.press("Command1");
        QCOMPARE(r.text("Label_N_GRAF"), QStringLiteral("1"));
        QCOMPARE(r.text("Name_GRAFIK_0"), QStringLiteral("K1"));
        QVERIFY2(r.recorder.requests.empty(), "groups are already in the page");
    }

    void pageButtonsClampAndAFailedReadKeepsThePage() {
        TrendWindowRig r;
        r.session.setPageNumber(250);
        r.press("Command3");
        r.clock.advance(6000);
        QCOMPARE(r.recorder.requests.front().page, 250);
        QCOMPARE(r.text("sheet_GRAFIK"), QStringLiteral("250"));
        for (int i = 1; i <= 400; ++i) r.recorder.faults[30 + i] = ScriptedRecorder::Fault::Drop;
        r.press("Command4");
        QVERIFY(!r.window->isEnabled());
        r.clock.advance(10000);
        QVERIFY(r.window->isEnabled());
        QCOMPARE(r.recorder.requests.back().page, 249);
        QCOMPARE(r.text("sheet_GRAFIK"), QStringLiteral("250"));
        QCOMPARE(r.prompts.messages.back().text, QStringLiteral("Нет ответа от Z5"));
    }

    void portThatDoesNotOpenGivesTheWindowBack() {
        TrendWindowRig r;
        r.port.refuseOpen = true;
        r.press("Command3");
        QVERIFY(r.window->isEnabled());
        QCOMPARE(r.prompts.messages.back().text, QStringLiteral("Нет сети!!!\nno such device"));
    }

    void theWindowFitsASmallScreenCentredOnTheConsole() {
        TrendWindowRig r;
        r.console.setGeometry(50, 50, 700, 500);
        r.window->hide();
        r.window->readCurrentPage();
        r.clock.advance(6000);
        QVERIFY(r.window->isVisible());
        QVERIFY(r.window->minimumSizeHint().width() <= z5::uitest::hand::smallScreen().width() - 8);
        QCOMPARE(z5::uitest::hand::placementFault(r.window, &r.console), QString());
    }

    void afterAFailedReadPagingStepsFromThePageShown() {
        TrendWindowRig r;
        // Every request of the next read goes unanswered.
        auto failNextRead = [&r] {
            const int sent = int(r.recorder.requests.size());
            for (int i = 1; i <= 400; ++i) r.recorder.faults[sent + i] = ScriptedRecorder::Fault::Drop;
        };
        auto answerAgain = [&r] { r.recorder.faults.clear(); };
        r.window->readCurrentPage();
        r.clock.advance(6000);
        QCOMPARE(r.text("sheet_GRAFIK"), QStringLiteral("3"));
        // Page 4 gets no answer: page 3 stays, and "+" asks for 4 again, "-" for 2.
        failNextRead();
        r.press("Command3");
        r.clock.advance(60000);
        QVERIFY(r.window->isEnabled());
        QCOMPARE(r.text("sheet_GRAFIK"), QStringLiteral("3"));
        answerAgain();
        r.press("Command3");
        QCOMPARE(r.recorder.requests.back().page, 4);
        r.clock.advance(60000);
        failNextRead();
        r.press("Command3");
        r.clock.advance(60000);
        QCOMPARE(r.text("sheet_GRAFIK"), QStringLiteral("4"));
        answerAgain();
        r.press("Command4");
        QCOMPARE(r.recorder.requests.back().page, 3);
    }

    void pageDialogReadsTheLeadingNumber() {
        TrendWindowRig r;
        r.window->openPageDialog();
        TrendPageDialog *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<TrendPageDialog *>(w)) dialog = d;
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Страница ГРАФИКА"));
        // Wide enough for its caption, centred on the trend window.
        QVERIFY(dialog->width() >= dialog->fontMetrics().horizontalAdvance(dialog->windowTitle()) + 100);
        QCOMPARE(z5::uitest::hand::placementFault(dialog, r.window), QString());
        QCOMPARE(dialog->pageField()->text(), QStringLiteral("1"));
        QVERIFY(!r.window->isEnabled());
        dialog->pageField()->setText(QStringLiteral("12abc"));
        dialog->goToPage();
        QVERIFY2(!r.window->isEnabled(), "the read gives the window back");
        QCOMPARE(r.recorder.requests.front().page, 12);
        r.clock.advance(6000);
        QVERIFY(r.window->isEnabled());

        r.window->openPageDialog();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<TrendPageDialog *>(w); d && d->isVisible()) dialog = d;
        QTest::mouseClick(dialog->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(r.window->isEnabled());
    }

    void recordingAsksFirstAndGoesToTheWindowsBlock() {
        TrendWindowRig r;
        r.prompts.confirmAnswer = false;
        r.press("Command5");
        QVERIFY(r.recorder.recordings.empty());
        QCOMPARE(r.prompts.messages.back().text, QStringLiteral("Запустить график ?"));
        QCOMPARE(r.prompts.messages.back().caption, QStringLiteral("ПУСК"));
        r.prompts.confirmAnswer = true;
        r.press("Command6");
        QCOMPARE(r.prompts.messages.back().text, QStringLiteral("Остановить график ?"));
        QCOMPARE(r.prompts.messages.back().caption, QStringLiteral("СТОП"));
        QCOMPARE(r.recorder.recordings.size(), std::size_t(1));
        QCOMPARE(r.recorder.recordings[0], std::make_pair(5, false));
    }

    void cursorShowsRowTimeAndTheGroupsValues() {
        TrendWindowRig r;
        r.session.readPage(17);
        r.clock.advance(6000);
        TrendPlotWidget *plot = r.window->plot();
        const QRectF rect = plot->plotRect();
        const double x = rect.left() + (40 + 2 * 56) * rect.width() / 545.0;
        QTest::mouseMove(plot, QPoint(int(x + 0.5), int(rect.center().y())));
        QCOMPARE(plot->rowAt(QPointF(x, rect.center().y())), 56);
        QCOMPARE(r.status(), QStringLiteral("Строка 57   8:17:07   K1: 1705.600   K2: 1705.601   K3: 1705.602   K4: 1705.603"));
    }

    void workbookAndPdfAreWritten() {
        TrendWindowRig r;
        r.session.readPage(17);
        r.clock.advance(6000);
        QTemporaryDir dir;
        const QString book = dir.filePath("page.xlsx");
        r.prompts.saveNames << book;
        r.prompts.confirmAnswer = false;
        r.press("Command_EXCEL");
        QVERIFY(QFileInfo(book).size() > 1000);
        QVERIFY(r.prompts.messages.back().text.contains(QStringLiteral("Книга записана")));

        r.prompts.saveNames << dir.filePath("missing/page.xlsx");
        r.press("Command_EXCEL");
        QVERIFY(r.prompts.messages.back().text.startsWith(QStringLiteral("Книга не записана")));

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("page.pdf"));
        QVERIFY(r.window->printTo(printer));
        QVERIFY(QFileInfo(dir.filePath("page.pdf")).size() > 1000);
    }

    void closingGivesTheConsoleBack() {
        TrendWindowRig r;
        QVERIFY(!r.console.isEnabled());
        QPointer<TrendWindow> window = r.window;
        r.window->close();
        r.window = nullptr;
        QVERIFY(r.console.isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
    }
};

static z5::uitest::Registrar<TrendWindowTest> registrar;
#include "TrendWindowTest.moc"
