// "Читать архив" and "История" in the trend window, as a hand uses them: pages
// read into the record with the progress shown, then the stored pages on one
// time axis, zoomed and scrolled by buttons, wheel and keys, exported.
#include "DatedPages.h"
#include "Hand.h"
#include "LineSessionProbe.h"
#include "TrendRig.h"
#include "UiTestRegistry.h"
#include "model/RecordingPrompts.h"
#include "record/ArchivePageStore.h"
#include "trends/HistoryPlotPainter.h"
#include "trends/HistoryView.h"
#include "ui/ArchiveReadDialog.h"
#include "ui/HistoryPlotWidget.h"
#include "ui/HistoryWindow.h"
#include "ui/TrendWindow.h"
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <functional>

using namespace z5;
using z5::testing::at;
using z5::testing::datedPage;
namespace hand = z5::uitest::hand;

namespace {

struct HistoryRig : z5::testing::TrendBench {
    QTemporaryDir dir;
    QString record = dir.filePath(QStringLiteral("record.sqlite"));
    RecordingPrompts prompts;
    TrendWindow *window;

    HistoryRig() {
        TrendChannels ch;
        for (int c = 0; c < 32; ++c) {
            ch.names[c] = QStringLiteral("K%1").arg(c + 1);
            ch.scales[c] = {0.0f, 250000.0f};
        }
        ch.title = QStringLiteral("Котёл");
        session.setChannels(ch);
        window = new TrendWindow(session, prompts, 9, nullptr);
        window->setArchiveAccess(clock, line, record);
        window->show();
    }
    ~HistoryRig() { delete window; }
    void store(std::initializer_list<ArchivedPage> pages) {
        ArchivePageStore s;
        QVERIFY(s.open(record));
        for (const ArchivedPage &p : pages) QCOMPARE(s.put(p), ArchivePages::Put::Stored);
    }
    HistoryWindow *history() const { return window->historyWindow(); }
    template <typename T = QWidget> T *in(QWidget *top, const char *name) const { return top->findChild<T *>(name); }
    // The range the fields show, as the user reads it.
    QString range() const {
        return in<QDateTimeEdit>(history(), "historyFrom")->text() + QStringLiteral(" — ") +
               in<QDateTimeEdit>(history(), "historyTo")->text();
    }
    qint64 span() const { return history()->plot()->view().span(); }
};

} // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void historyShowsTheLastDayAndZoomsAndScrollsByHand() {
        HistoryRig r;
        // Two days apart: a page in the evening of the 6th, two adjacent ones on the 8th.
        r.store({datedPage(3, at("2026-12-06T20:00:00"), 10, 240, 9), datedPage(4, at("2026-12-08T10:00:00"), 10, 240, 9),
                 datedPage(5, at("2026-12-08T10:40:00"), 10, 240, 9)});
        QCOMPARE(hand::click(r.in(r.window, "historyOpen")), QString());
        HistoryWindow *h = r.history();
        QVERIFY(h && h->isVisible());
        QCOMPARE(h->history().rowCount(), 720);
        QCOMPARE(h->history().gapCount(), 1);
        // The last day stored, or as much as there is.
        QCOMPARE(r.range(), QStringLiteral("07.12.2026 11:19 — 08.12.2026 11:19"));
        QCOMPARE(r.in<QLabel>(h, "historyName_0")->text(), QStringLiteral("K1"));

        struct Step {
            const char *what;
            std::function<QString()> hand;
            qint64 span;
            const char *range;
        };
        QWidget *plot = h->plot();
        const Step steps[] = {
            {"button Крупнее", [&] { return hand::click(r.in(h, "historyZoomIn")); }, 12 * 3600,
             "07.12.2026 17:19 — 08.12.2026 05:19"},
            {"key +", [&] { QTest::keyClick(plot, Qt::Key_Plus); return QString(); }, 6 * 3600,
             "07.12.2026 20:19 — 08.12.2026 02:19"},
            {"button ▶", [&] { return hand::click(r.in(h, "historyForward")); }, 6 * 3600,
             "07.12.2026 21:49 — 08.12.2026 03:49"},
            {"key ←", [&] { QTest::keyClick(plot, Qt::Key_Left); return QString(); }, 6 * 3600,
             "07.12.2026 20:19 — 08.12.2026 02:19"},
            {"key End", [&] { QTest::keyClick(plot, Qt::Key_End); return QString(); }, 6 * 3600,
             "08.12.2026 05:19 — 08.12.2026 11:19"},
            {"button Мельче", [&] { return hand::click(r.in(h, "historyZoomOut")); }, 12 * 3600,
             "08.12.2026 02:19 — 08.12.2026 14:19"},
            {"nine steps in: no nearer than ten minutes",
             [&] { for (int i = 0; i < 9; ++i) QTest::keyClick(plot, Qt::Key_Plus); return QString(); },
             HistoryView::kShortestSpan, "08.12.2026 08:14 — 08.12.2026 08:24"},
            {"the range typed and shown",
             [&] {
                 r.in<QDateTimeEdit>(h, "historyFrom")->setDateTime(at("2026-12-01T00:00:00"));
                 r.in<QDateTimeEdit>(h, "historyTo")->setDateTime(at("2026-12-10T00:00:00"));
                 return hand::click(r.in(h, "historyShow"));
             },
             9 * 24 * 3600, "01.12.2026 00:00 — 10.12.2026 00:00"},
            {"wheel away: no further than four weeks",
             [&] {
                 for (int i = 0; i < 3; ++i) {
                     const QPointF middle = HistoryPlotPainter::plotArea(QRectF(plot->rect())).center();
                     QWheelEvent wheel(middle, plot->mapToGlobal(middle),
                                       QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                     QApplication::sendEvent(plot, &wheel);
                 }
                 return QString();
             },
             HistoryView::kLongestSpan, "21.11.2026 12:00 — 19.12.2026 12:00"},
        };
        for (const Step &s : steps) {
            QCOMPARE(s.hand(), QString());
            QVERIFY2(r.span() == s.span, s.what);
            QVERIFY2(r.range() == QString::fromUtf8(s.range), qPrintable(QString::fromUtf8(s.what) + QStringLiteral(": ") + r.range()));
        }
        // The cursor reads the row under the mouse, with its page.
        r.in<QDateTimeEdit>(h, "historyFrom")->setDateTime(at("2026-12-08T10:00:00"));
        r.in<QDateTimeEdit>(h, "historyTo")->setDateTime(at("2026-12-08T11:00:00"));
        QCOMPARE(hand::click(r.in(h, "historyShow")), QString());
        const QRectF area = HistoryPlotPainter::plotArea(QRectF(plot->rect()));
        QTest::mouseMove(plot, QPoint(int(area.left() + area.width() / 2), int(area.center().y())));
        QVERIFY2(r.in<QLabel>(h, "historyCursor")->text().startsWith(QStringLiteral("2026-12-08 10:30:00   стр. 4, строка 181   K1: 4180.000")),
                 qPrintable(r.in<QLabel>(h, "historyCursor")->text()));

        // What is shown goes to a CSV table, rows of both pages, none made up.
        const QString csv = r.dir.filePath(QStringLiteral("shown.csv"));
        r.prompts.saveNames << csv;
        r.prompts.confirmAnswer = false;
        QCOMPARE(hand::click(r.in(h, "historyCsv")), QString());
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 1 + 361 + 1);
        QVERIFY(lines[1].startsWith("1,2026-12-08 10:00:00,4000.000,"));
        QVERIFY(lines[361].startsWith("361,2026-12-08 11:00:00,5120.000,"));
    }

    void archiveReadShowsItsProgressAndFillsAnOpenHistory() {
        HistoryRig r;
        r.recorder.datedPages = true;
        const QString adapter = r.dir.filePath(QStringLiteral("usb-adapter"));
        QFile::link(QStringLiteral("/dev/null"), adapter);
        LineSessionProbe::openPort(r.line, adapter);
        QCOMPARE(hand::click(r.in(r.window, "historyOpen")), QString());
        QCOMPARE(r.history()->history().rowCount(), 0);

        QCOMPARE(hand::click(r.in(r.window, "archiveRead")), QString());
        auto *dialog = r.window->archiveReadDialog();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(r.window->isEnabled());
        r.in<QSpinBox>(dialog, "archiveFirst")->setValue(1);
        r.in<QSpinBox>(dialog, "archiveLast")->setValue(2);
        QVERIFY(r.in<QRadioButton>(dialog, "archiveSome")->isChecked());
        QCOMPARE(hand::click(r.in(dialog, "archiveStart")), QString());
        r.clock.advance(1500);
        auto *bar = r.in<QProgressBar>(dialog, "archiveProgress");
        QCOMPARE(bar->maximum(), 60);
        QVERIFY2(bar->value() > 0 && bar->value() < 30, qPrintable(QString::number(bar->value())));
        QVERIFY2(r.in<QLabel>(dialog, "archiveState")->text().startsWith(QStringLiteral("Страниц: 0 из 2, частей: ")),
                 qPrintable(r.in<QLabel>(dialog, "archiveState")->text()));
        QVERIFY2(r.window->isEnabled() && r.history()->isEnabled(), "other windows go on being used");
        // A page asked for meanwhile holds the trend window, not the run's own dialog.
        QCOMPARE(hand::click(r.in(r.window, "Command3")), QString());
        QVERIFY(!r.window->isEnabled());
        QVERIFY(dialog->isEnabled() && r.in<QPushButton>(dialog, "archiveCancel")->isEnabled());
        for (int ms = 0; ms < 20000 && dialog->reading(); ms += 10) r.clock.advance(10);
        QVERIFY(!dialog->reading());
        QVERIFY2(r.window->isEnabled(), "the page asked for was read during the run");
        QCOMPARE(bar->value(), 60);
        QVERIFY2(r.in<QLabel>(dialog, "archiveState")->text().startsWith(QStringLiteral("Архив прочитан: страниц 2, записано 2")),
                 qPrintable(r.in<QLabel>(dialog, "archiveState")->text()));
        QVERIFY2(r.history()->history().rowCount() > 0, "the open history took the pages in");
        QCOMPARE(r.in<QPushButton>(dialog, "archiveCancel")->text(), QStringLiteral("Закрыть"));
    }
};

static z5::uitest::Registrar<HistoryWindowTest> registrar;
#include "HistoryWindowTest.moc"
