// Locked fields on screen: disabled or read-only, the reason in the tooltip and
// in the line below the panel.
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
private slots:
    void linkAndMotorFieldsSayWhyTheyAreLocked() {
        Project project;
        ParameterStore store;
        ConsoleState state;
        ParameterPanel panel(store, project, state, ParameterCatalogue::standard(), QLocale::c());
        ConsoleParameterView view(panel, nullptr);
        view.show();
        const QString why = QStringLiteral("не передаётся в Z5");
        for (int type : {int(BlockType::RS4), int(BlockType::MOT)}) {
            project.setSchema(Project::TypeRow, 0, std::uint8_t(type));
            project.setSchema(Project::InstanceRow, 0, 1);
            state.selectedType = std::uint8_t(type);
            panel.layOutForSelectedBlock();
            view.refresh();
            QVERIFY(type == BlockType::MOT ? view.rowField(0)->isReadOnly() : !view.rowChoice(2)->isEnabled());
            QCOMPARE((type == BlockType::MOT ? static_cast<QWidget *>(view.rowField(0)) : view.rowChoice(2))->toolTip(), why);
            QCOMPARE(view.notStoredLine()->text(), type == BlockType::MOT ? "«№ в сети»: " + why
                                                                           : "«№ в сети», «Скорость», «Тип»: " + why);
        }
    }
};

static z5::uitest::Registrar<LockedFieldsViewTest> registrar;
#include "LockedFieldsViewTest.moc"
