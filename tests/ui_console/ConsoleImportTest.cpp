// The example netlist imported into the console: icons, slot numbers, priority labels.
#include "ConsoleRig.h"
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "ui/ConsoleGeometry.h"
#include "ui/ProcessPictureWidget.h"
#include <QAction>
#include <QFile>
#include <QTemporaryDir>

using namespace z5;
using z5::uitest::ConsoleRig;

namespace {

bool hasLabel(const std::vector<ConsoleCanvas::Label> &labels, const QString &text, QPoint at) {
    for (const auto &l : labels)
        if (l.text == text && l.position == at) return true;
    return false;
}

// Writes a netlist into dir and returns its path (empty when it could not be written).
QString writeNetlist(const QTemporaryDir &dir, const QString &name, const QByteArray &text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return QString();
    return path;
}

int visibleIcons(const ConsoleCanvas &canvas) {
    int n = 0;
    for (int i = 0; i < ConsoleCanvas::kIcons; ++i) n += canvas.icon(i)->isVisible() ? 1 : 0;
    return n;
}

} // namespace

class ConsoleImportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

private slots:
    void init() { rig = std::make_unique<ConsoleRig>(); }
    void cleanup() { rig.reset(); }

    void windowAndMenus() {
        ConsoleWindow &c = rig->console;
        QCOMPARE(c.objectName(), QStringLiteral("BLOKI"));
        QCOMPARE(c.windowTitle(), QStringLiteral("Настройка функциональных блоков"));
        const std::pair<const char *, const char *> commands[] = {
            {"mnuLOADParametrBLOCK", "&Загрузить схему P-CAD ASCII"},
            {"mnuLOADparametr", "&Загрузить параметры"},
            {"mnuSAVEparametr", "&Сохранить параметры"},
            {"mnuEXIT", "&Выход"},
            {"mnu_NUM_Z5", "&Номер Z5"},
            {"mnuFindStations", "Найти станции"},
            {"mnuSAVE_485", "&Записать схему в Z5"},
            {"mnuSAVE_SCHEMA_Z5", "&Сохранить схему в Z5"},
            {"mnuSAVE_ZADATCIKI", "&Записать задатчики в Z5"},
            {"mnuPAUSE_PROCESS", "&Пауза процесса Z5"},
            {"mnuSTART_PROCESS", "&Пуск процесса Z5"},
        };
        for (const auto &[name, caption] : commands) {
            QAction *a = c.action(QString::fromLatin1(name));
            QVERIFY2(a, name);
            QCOMPARE(a->text(), QString::fromUtf8(caption));
        }
        QVERIFY(!c.action("mnuSAVE_ZADATCIKI")->isEnabled());
        QCOMPARE(z5::uitest::numberingChoice(c)->itemText(0), QStringLiteral("Ручное"));
        QCOMPARE(z5::uitest::numberingChoice(c)->itemText(1), QStringLiteral("Авто"));
        QCOMPARE(c.findChild<QLabel *>("Label4")->text(), QStringLiteral("№ экземпляра"));
        QCOMPARE(z5::uitest::parameterView(c)->columnHeadings()->text(), QStringLiteral("Параметр              Значение"));
        QCOMPARE(c.canvas()->icon(395)->objectName(), QStringLiteral("Logik_Blok_img_395"));
        QCOMPARE(visibleIcons(*c.canvas()), 0);
    }

    void headingIsPrintedOnceAtStart() {
        QVERIFY(rig->console.canvas()->priorityLabels().empty());
        rig->clock.advance(100);
        const auto &labels = rig->console.canvas()->priorityLabels();
        QCOMPARE(labels.size(), std::size_t(1));
        QVERIFY(hasLabel(labels, "00", QPoint(330, 1)));
    }

    void exampleGivesOneIconPerBlockAtItsSlot() {
        rig->importExample();
        const Project &p = rig->session.project;
        QCOMPARE(p.blockCount(), 14);
        const ConsoleCanvas &canvas = *rig->console.canvas();
        QCOMPARE(visibleIcons(canvas), 14);
        for (int c = 0; c < 14; ++c) {
            const int n = (p.blockType(c) - 1) + 33 * (p.instance(c) - 1);
            ConsoleIcon *icon = canvas.icon(n);
            QVERIFY(icon->isVisible());
            QCOMPARE(icon->cornerTwips(), ConsoleLayout::slotPosition(c));
            QCOMPARE(icon->pos(), twips::px(ConsoleLayout::slotPosition(c)));
            QCOMPARE(icon->size(), QSize(33, 33));
        }
        // U14, the setpoint programmer: icon 15 at 3000, 1600 twips.
        QVERIFY(canvas.icon(15)->isVisible());
        QCOMPARE(canvas.icon(15)->pos(), QPoint(200, 107));
        QVERIFY(canvas.pausePicture()->isVisible());
        QVERIFY(!canvas.runPicture()->isVisible());
        QCOMPARE(canvas.pausePicture()->pos(), QPoint(13, 13));
    }

    void slotNumbersAndPriorityLabels() {
        rig->importExample();
        const ConsoleCanvas &canvas = *rig->console.canvas();
        const auto &numbers = canvas.slotNumbers();
        QCOMPARE(numbers.size(), std::size_t(99));
        QVERIFY(hasLabel(numbers, "01", QPoint(1000, 370)));
        QVERIFY(hasLabel(numbers, "50", QPoint(300, 3990)));   // lower rows at the icons' top
        QVERIFY(hasLabel(numbers, "99", ConsoleLayout::slotPosition(98) + QPoint(100, 170)));

        const auto &labels = canvas.priorityLabels();
        QCOMPARE(labels.size(), std::size_t(15));
        QVERIFY(hasLabel(labels, "00", QPoint(330, 1)));
        QVERIFY(hasLabel(labels, "01", QPoint(1000, 30)));      // U1, priority 1
        QVERIFY(hasLabel(labels, "03", QPoint(3100, 1430)));    // U14, priority 3
        QVERIFY(hasLabel(labels, "11", ConsoleLayout::slotPosition(8) + QPoint(100, -170)));
    }

    void schemaCommandShowsTheConsoleInPlaceOfTheMainWindow() {
        rig->console.hide();
        rig->mainWindow.show();
        rig->console.showInPlaceOfMainWindow();
        QVERIFY(rig->console.isVisible());
        QVERIFY(!rig->mainWindow.isVisible());
        // The schema command prints the lower rows five twips lower.
        QVERIFY(hasLabel(rig->console.canvas()->slotNumbers(), "50", QPoint(300, 3995)));
    }

    void exitAndClosingGiveTheMainWindowBack() {
        rig->mainWindow.hide();
        rig->console.action("mnuEXIT")->trigger();
        QVERIFY(!rig->console.isVisible());
        QVERIFY(rig->mainWindow.isVisible());
        rig->mainWindow.hide();
        rig->console.show();
        rig->console.close();
        QVERIFY(!rig->console.isVisible());
        QVERIFY(rig->mainWindow.isVisible());
    }

    void aFailedImportKeepsTheProjectItsPanelAndIcons() {
        rig->importExample();
        rig->clock.advance(100);
        const z5::Project before = rig->session.project;
        const int icons = visibleIcons(*rig->console.canvas());
        const auto labels = rig->console.canvas()->priorityLabels().size();
        rig->session.store.numbersPID.setValue(0, 3, 7.5f);
        rig->console.iconPressed(BlockType::PID - 1, Qt::RightButton);
        QVERIFY(rig->console.core().panel().isLaidOut());
        const QString status = rig->console.replyStatus()->text();

        QTemporaryDir dir;
        const QString path = writeNetlist(dir, QStringLiteral("twice.net"), "(netlist \"demo\"\n(compInst \"U1\"\n(originalName \"A_I\")\n(compValue \"5_1\")\n)\n"
                "(compInst \"U2\"\n(originalName \"MUL\")\n(compValue \"5_1\")\n)\n)\n");
        QVERIFY(!path.isEmpty());
        rig->prompts.openNames << path;
        rig->console.importNetlist();
        rig->clock.advance(100);
        QCOMPARE(rig->prompts.messages.size(), std::size_t(1));
        QCOMPARE(rig->prompts.messages[0].text, QStringLiteral("Одинаковые номера приоритета 5 блоков U2 и U1"));
        QCOMPARE(rig->prompts.messages[0].kind, z5::Prompts::Kind::Warning);
        QCOMPARE(rig->session.project.blockCount(), before.blockCount());
        QVERIFY(rig->session.project == before);
        QCOMPARE(visibleIcons(*rig->console.canvas()), icons);
        QCOMPARE(rig->console.canvas()->priorityLabels().size(), labels);
        QVERIFY(rig->console.core().panel().isLaidOut());
        QCOMPARE(rig->session.store.numbersPID.value(0, 3), 7.5f);
        QCOMPARE(rig->console.replyStatus()->text(), status);
    }

    void automaticNumberingCountsInstances() {
        QTemporaryDir dir;
        const QString path = writeNetlist(dir, QStringLiteral("auto.net"), "(netlist \"demo\"\n(compInst \"U1\"\n(originalName \"MUL\")\n(compValue \"1\")\n)\n"
                "(compInst \"U2\"\n(originalName \"MUL\")\n(compValue \"2\")\n)\n)\n");
        QVERIFY(!path.isEmpty());
        rig->prompts.openNames << path;
        z5::uitest::numberingChoice(rig->console)->setCurrentIndex(1);
        rig->console.importNetlist();
        QVERIFY(rig->prompts.messages.empty());
        QVERIFY(rig->console.canvas()->icon(BlockType::MUL - 1)->isVisible());
        QVERIFY(rig->console.canvas()->icon(BlockType::MUL - 1 + 33)->isVisible());
        QCOMPARE(rig->console.canvas()->icon(BlockType::MUL - 1 + 33)->cornerTwips(), QPoint(1600, 200));
    }

    void activationBringsManualNumberingBack() {
        z5::uitest::numberingChoice(rig->console)->setCurrentIndex(1);
        rig->console.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig->console));
        QTRY_COMPARE(z5::uitest::numberingChoice(rig->console)->currentIndex(), 0);
    }
};

static z5::uitest::Registrar<ConsoleImportTest> registrar;
#include "ConsoleImportTest.moc"
