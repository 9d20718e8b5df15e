// The traffic monitor window over a log on the virtual clock: rows, the full
// bytes of a selected row, pause, filter, clear and saving as text.
#include "ReplyFrames.h"
#include "UiFixture.h"
#include "UiTestRegistry.h"
#include "link/TrafficLog.h"
#include "ui/TrafficTableModel.h"
#include "ui/TrafficWindow.h"
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString cell(z5::TrafficWindow &w, int row, int column) {
    return w.model().index(row, column).data().toString();
}

// A block read with its reply, then a parameter table header and its data.
void recordExchanges(z5::VirtualClock &clock, z5::TrafficLog &log) {
    log.recordSent(QByteArray::fromHex("0103040A0000F864"));
    clock.advance(150);
    log.recordReceived(z5::testframes::blockReply('\x22'));
    clock.advance(50);
    log.recordSent(z5::testframes::withCheck(QByteArray::fromHex("013D41B80000")));
    clock.advance(100);
    log.recordSent(QByteArray(16824, '\x05'));
}

} // namespace

class TrafficMonitorTest : public QObject {
    Q_OBJECT
private slots:
    void rowsShowTimeDirectionKindLengthCheckAndShortenedBytes() {
        UiFixture f;
        z5::TrafficLog log(f.clock);
        z5::TrafficWindow w(log, f.prompts);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Обмен с Z5"));
        QVERIFY(w.width() <= 1024 * 4 / 5 && w.height() <= 768 * 4 / 5);
        recordExchanges(f.clock, log);
        QCOMPARE(w.model().rowCount(), 4);
        QCOMPARE(cell(w, 0, z5::TrafficTableModel::Time), QStringLiteral("0"));
        QCOMPARE(cell(w, 1, z5::TrafficTableModel::Time), QStringLiteral("150"));
        QCOMPARE(cell(w, 0, z5::TrafficTableModel::Direction), QStringLiteral("→"));
        QCOMPARE(cell(w, 1, z5::TrafficTableModel::Direction), QStringLiteral("←"));
        QCOMPARE(cell(w, 1, z5::TrafficTableModel::What), QStringLiteral("ответ: чтение блока U4"));
        QCOMPARE(cell(w, 1, z5::TrafficTableModel::Check), QStringLiteral("верна"));
        QCOMPARE(cell(w, 3, z5::TrafficTableModel::Length), QStringLiteral("16824"));
        QCOMPARE(cell(w, 3, z5::TrafficTableModel::Check), QString());
        QCOMPARE(cell(w, 3, z5::TrafficTableModel::Bytes), QString("05 ").repeated(15) + QStringLiteral("05 …"));
        QCOMPARE(cell(w, 0, z5::TrafficTableModel::Bytes), QStringLiteral("01 03 04 0A 00 00 F8 64"));

        // The selected row shows every byte, sixteen a line.
        w.table()->selectRow(3);
        const QString detail = w.findChild<QPlainTextEdit *>(QStringLiteral("txtBytes"))->toPlainText();
        QVERIFY(detail.startsWith(QStringLiteral("300 мс  →  таблица 10, данные 16824 байт, 16824 байт\n00000  05 05")));
        QCOMPARE(detail.count(QLatin1Char('\n')), 1 + (16824 + 15) / 16);
    }

    void pauseFreezesTheRowsWhileTheLogGoesOn() {
        UiFixture f;
        z5::TrafficLog log(f.clock);
        z5::TrafficWindow w(log, f.prompts);
        recordExchanges(f.clock, log);
        auto *pause = w.findChild<QPushButton *>(QStringLiteral("cmdPause"));
        pause->click();
        log.recordSent(QByteArray::fromHex("0103040A0000F864"));
        QCOMPARE(w.model().rowCount(), 4);
        QCOMPARE(log.size(), 5);
        pause->click();
        QCOMPARE(w.model().rowCount(), 5);
    }

    void filterShowsOneKindAndClearForgetsEverything() {
        UiFixture f;
        z5::TrafficLog log(f.clock);
        z5::TrafficWindow w(log, f.prompts);
        recordExchanges(f.clock, log);
        auto *kinds = w.findChild<QComboBox *>(QStringLiteral("cboKind"));
        QCOMPARE(kinds->itemText(0), QStringLiteral("Все"));
        kinds->setCurrentIndex(kinds->findText(QStringLiteral("заголовок таблицы")));
        QCOMPARE(w.model().rowCount(), 1);
        QCOMPARE(cell(w, 0, z5::TrafficTableModel::What), QStringLiteral("таблица 10, заголовок"));
        log.recordSent(QByteArray::fromHex("0103040A0000F864"));
        QCOMPARE(w.model().rowCount(), 1);
        kinds->setCurrentIndex(0);
        QCOMPARE(w.model().rowCount(), 5);
        w.findChild<QPushButton *>(QStringLiteral("cmdClear"))->click();
        QCOMPARE(w.model().rowCount(), 0);
        QCOMPARE(log.size(), 0);
    }

    // Rows the full ring no longer holds leave the view with it, and the view
    // says how many earlier rows it no longer shows.
    void rowsFollowTheBoundOfTheRing() {
        UiFixture f;
        z5::TrafficLog log(f.clock, 3);
        z5::TrafficWindow w(log, f.prompts);
        for (int i = 0; i < 5; ++i) log.recordReceived(QByteArray(1, char(i)));
        QCOMPARE(w.model().rowCount(), 3);
        QCOMPARE(w.model().record(0).bytes, QByteArray(1, char(2)));
        // The rows it no longer shows are counted, not hidden silently.
        auto *count = w.findChild<QLabel *>(QStringLiteral("lblCount"));
        QCOMPARE(count->text(), QStringLiteral("Строк: 3, ранних не показано: 2"));
        w.findChild<QPushButton *>(QStringLiteral("cmdClear"))->click();
        QCOMPARE(count->text(), QStringLiteral("Строк: 0"));
    }

    // One monitor, reached from either window's network menu; it stays while
    // the console replaces the main window, and a download under its eyes
    // keeps every offset on the wire.
    void bothNetworkMenusOpenTheOneMonitorAndADownloadKeepsItsOffsets() {
        UiFixture f;
        auto *fromMain = f.window->findChild<QAction *>(QStringLiteral("mnuTrafficMonitor"));
        QVERIFY(fromMain);
        QCOMPARE(fromMain->text(), QStringLiteral("&Монитор обмена"));
        fromMain->trigger();
        auto *monitor = qobject_cast<z5::TrafficWindow *>(UiFixture::topLevel(QStringLiteral("TrafficMonitor")));
        QVERIFY(monitor);
        f.window->consoleAction()->trigger();
        QVERIFY(!f.window->isVisible());
        QVERIFY(monitor->isVisible());
        auto *fromConsole = f.window->console()->findChild<QAction *>(QStringLiteral("mnuTrafficMonitor"));
        QVERIFY(fromConsole);
        fromConsole->trigger();
        int monitors = 0;
        for (QWidget *w : QApplication::topLevelWidgets()) monitors += qobject_cast<z5::TrafficWindow *>(w) != nullptr;
        QCOMPARE(monitors, 1);
        QPointer<z5::TrafficWindow> alive(monitor);

        QVERIFY(f.session.chain.startDownload());
        f.clock.advance(4300);
        // The windows that hold the line are disabled; the monitor is not.
        QVERIFY(!f.window->isEnabled());
        QVERIFY(monitor->isEnabled());
        f.clock.advance(3700);
        const auto &writes = f.port.writes();
        QCOMPARE(int(writes.size()), 24);
        QCOMPARE(monitor->model().rowCount(), 24);
        const int offsets[] = {0, 500, 1000, 1200, 1400, 1900, 2500, 3000, 3500, 4000, 4200, 6100};
        for (int i = 0; i < 24; ++i) {
            QCOMPARE(writes[std::size_t(i)].atMs, std::int64_t(offsets[i / 2] + (i % 2) * 100));
            QCOMPARE(monitor->model().record(i).ms, writes[std::size_t(i)].atMs);
        }
        QCOMPARE(cell(*monitor, 21, z5::TrafficTableModel::What), QStringLiteral("таблица 10, данные 16824 байт"));
        f.window.reset();
        QVERIFY(alive.isNull());
    }

    void saveWritesTheShownRowsAsTextAndAFailureKeepsTheFile() {
        UiFixture f;
        z5::TrafficLog log(f.clock);
        z5::TrafficWindow w(log, f.prompts);
        recordExchanges(f.clock, log);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("trace.txt"));
        f.prompts.saveNames = {path};
        w.findChild<QPushButton *>(QStringLiteral("cmdSave"))->click();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("0\t→\tчтение блока U4\t8\tверна\t01 03 04 0A 00 00 F8 64"));
        QCOMPARE(lines[3].split(QLatin1Char('\t'))[5].size(), 16824 * 3 - 1);
        QVERIFY(f.prompts.messages.empty());

        f.prompts.saveNames = {dir.filePath(QStringLiteral("no-such-folder/trace.txt"))};
        QVERIFY(!w.saveAsText());
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QVERIFY(f.prompts.messages[0].text.startsWith(QStringLiteral("Файл заблокирован!!!")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("no-such-folder"))));
    }
};

static z5::uitest::Registrar<TrafficMonitorTest> registrar;

#include "TrafficMonitorTest.moc"
