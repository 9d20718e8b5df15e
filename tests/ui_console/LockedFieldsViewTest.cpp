// Fields whose value never reaches the controller are read-only on screen, and
// the tooltip and the line below the panel say why.
#include "UiTestRegistry.h"
#include "console/ConsoleState.h"
#include "console/ParameterPanel.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "ui/ConsoleParameterView.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace z5;

class LockedFieldsViewTest : public QObject {
    Q_OBJECT
    Project project;
    ParameterStore store;
    ConsoleState state;

    void layOut(ParameterPanel &panel, ConsoleParameterView &view, int type) {
        project.setSchema(Project::TypeRow, 0, std::uint8_t(type));
        project.setSchema(Project::InstanceRow, 0, 1);
        project.setSchema(Project::PriorityRow, 0, 1);
        state.selectedColumn = 0;
        state.selectedType = std::uint8_t(type);
        panel.layOutForSelectedBlock();
        view.refresh();
    }

private slots:
    void linkAndMotorFieldsAreLockedWithTheirReason() {
        ParameterPanel panel(store, project, state, ParameterCatalogue::standard(), QLocale::c());
        QWidget window;
        ConsoleParameterView view(panel, &window);
        window.show();

        layOut(panel, view, BlockType::RS4);
        for (int r : {0, 1, 2}) {
            QVERIFY(view.rowChoice(r)->isVisible());
            QVERIFY(!view.rowChoice(r)->isEnabled());
            QCOMPARE(view.rowChoice(r)->toolTip(), QStringLiteral("не передаётся в Z5"));
        }
        QVERIFY(view.notStoredLine()->isVisible());
        QCOMPARE(view.notStoredLine()->text(), QStringLiteral("«№ в сети», «Скорость», «Тип»: не передаётся в Z5"));

        layOut(panel, view, BlockType::MOT);
        QLineEdit *number = view.rowField(0);
        QVERIFY(number->isVisible());
        QVERIFY(number->isReadOnly());
        QCOMPARE(number->toolTip(), QStringLiteral("не передаётся в Z5"));
        QVERIFY(!view.rowField(1)->isReadOnly());
        QCOMPARE(view.notStoredLine()->text(), QStringLiteral("«№ в сети»: не передаётся в Z5"));

        // A panel whose fields all reach the controller has no such line.
        layOut(panel, view, BlockType::PID);
        QVERIFY(!view.notStoredLine()->isVisible());
        QVERIFY(view.rowChoice(0)->isEnabled());
        QVERIFY(view.rowChoice(0)->toolTip().isEmpty());
    }
};

static z5::uitest::Registrar<LockedFieldsViewTest> registrar;
#include "LockedFieldsViewTest.moc"
