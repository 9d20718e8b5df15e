// The parameter panel as a hand uses it: every field of every block type's
// panel takes a click and a typed or chosen value that is then stored, and Tab
// runs down the panel from top to bottom.
#include "ConsoleRig.h"
#include "Hand.h"
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"
#include "ui/LiveViewPane.h"

using namespace z5;
using z5::uitest::ConsoleRig;
namespace hand = z5::uitest::hand;

namespace {

// One block of every type: type t in column t - 1.
void placeEveryType(ConsoleRig &rig) {
    Project project;
    for (int type = 1; type <= BlockCatalogue::kBlockTypes; ++type) {
        project.setSchema(Project::TypeRow, type - 1, static_cast<std::uint8_t>(type));
        project.setSchema(Project::InstanceRow, type - 1, 1);
    }
    rig.session.project = project;
    rig.console.canvas()->placeIcons(ConsoleLayout::fromProject(project));
}

QString differentNumber(const QString &shown) { return shown == QStringLiteral("7") ? QStringLiteral("3") : QStringLiteral("7"); }

} // namespace

class PanelByHandTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

    QString openPanel(int type) { return hand::click(rig->iconOf(type - 1), Qt::RightButton); }
    // Another block's panel, then this one's again: what it shows now comes from the store.
    QString reopenPanel(int type) {
        const QString away = openPanel(type == BlockType::A_I ? BlockType::A_O : BlockType::A_I);
        return away.isEmpty() ? openPanel(type) : away;
    }
    static QString typeName(int type) { return BlockCatalogue::mnemonic(type); }

private slots:
    void init() {
        rig = std::make_unique<ConsoleRig>();
        rig->console.activateWindow();
        placeEveryType(*rig);
    }
    void cleanup() { rig.reset(); }

    void everyFieldTakesAClickAndKeepsWhatWasTyped_data() {
        QTest::addColumn<int>("type");
        for (int type = 1; type <= BlockCatalogue::kBlockTypes; ++type)
            QTest::newRow(qPrintable(typeName(type))) << type;
    }
    void everyFieldTakesAClickAndKeepsWhatWasTyped() {
        QFETCH(int, type);
        // A table or a panel read before must not leave anything over the rows.
        z5::uitest::liveViewPane(rig->console)->showTable();
        QCOMPARE(openPanel(type), QString());
        int edited = 0;
        for (int r = 0; r < ConsoleParameterView::kRows; ++r) {
            const PanelRow &row = rig->console.core().panel().row(r);
            const QString caption = row.caption.trimmed();
            // A text that is not stored is checked as shown, a stored one after the panel was opened again.
            const RowRole role = ParameterCatalogue::standard().role(type, r);
            const bool stored = role == RowRole::Value;
            if (row.showsText() && !rig->text(r)->isReadOnly() && rig->text(r)->isEnabled()) {
                const QString typed = row.kind == FieldKind::Text ? QStringLiteral("Ж") + differentNumber(row.text)
                                                                  : differentNumber(row.text);
                QVERIFY2(hand::typeInto(rig->text(r), typed).isEmpty(), qPrintable(caption + ": " + hand::typeInto(rig->text(r), typed)));
                QVERIFY2(!rig->console.core().panel().row(r).rejected, qPrintable(caption + ": " + rig->console.core().panel().row(r).notStoredReason));
                if (stored) QCOMPARE(reopenPanel(type), QString());
                QVERIFY2(rig->text(r)->text() == typed, qPrintable(caption + ": shows " + rig->text(r)->text()));
                ++edited;
            } else if (row.showsChoice() && (role == RowRole::Selects || role == RowRole::NotStored)) {
                // Left as it is, so that the rows after it stay on the entry they were typed into;
                // a choice that is not stored only has to take the click.
                QVERIFY2(hand::click(rig->combo(r)).isEmpty(), qPrintable(caption + ": " + hand::click(rig->combo(r))));
                hand::key(&rig->console, Qt::Key_Escape);
                ++edited;
            } else if (row.showsChoice() && row.choiceEnabled && row.items.size() > 1) {
                const int before = row.selected;
                const int steps = before + 1 < row.items.size() ? 1 : -1;
                const QString fault = hand::choose(rig->combo(r), steps);
                QVERIFY2(fault.isEmpty(), qPrintable(caption + ": " + fault));
                if (stored) QCOMPARE(reopenPanel(type), QString());
                QVERIFY2(rig->combo(r)->currentIndex() == before + steps, qPrintable(caption + ": shows " + rig->combo(r)->currentText()));
                ++edited;
            }
        }
        if (rig->console.core().panel().row(0).visible) QVERIFY(edited > 0);
    }

    void tabRunsDownThePanel_data() { everyFieldTakesAClickAndKeepsWhatWasTyped_data(); }
    void tabRunsDownThePanel() {
        QFETCH(int, type);
        QCOMPARE(openPanel(type), QString());
        ConsoleParameterView &view = rig->view();
        QList<QWidget *> fields;
        for (int r = 0; r < ConsoleParameterView::kRows; ++r) {
            const PanelRow &row = rig->console.core().panel().row(r);
            if (row.showsChoice() && row.choiceEnabled) fields << rig->combo(r);
            else if (row.showsText() && rig->text(r)->isEnabled()) fields << rig->text(r);
        }
        if (fields.isEmpty()) return;
        // The panel just opened starts at its top field.
        QCOMPARE(rig->console.focusWidget(), fields.first());
        QList<QWidget *> visited{fields.first()};
        for (QWidget *w = hand::tab(&rig->console); view.isAncestorOf(w) && !visited.contains(w); w = hand::tab(&rig->console))
            visited << w;
        QCOMPARE(visited, fields);
    }

    // Above the panel: the numbering, then "Обновлять", then the panel's first field.
    void tabComesDownFromTheTopOfTheColumn() {
        QCOMPARE(openPanel(BlockType::PID), QString());
        QCOMPARE(hand::click(z5::uitest::numberingChoice(rig->console)), QString());
        hand::key(&rig->console, Qt::Key_Escape);
        QCOMPARE(hand::tab(&rig->console), static_cast<QWidget *>(z5::uitest::refreshChoice(rig->console)));
        QCOMPARE(hand::tab(&rig->console), rig->view().firstField());
    }

    // Clicks on the live view land on the picture; once it is gone they reach the rows.
    void theLiveViewCoversTheRowsOnlyWhileShown() {
        QCOMPARE(openPanel(BlockType::PID), QString());
        z5::uitest::liveViewPane(rig->console)->showTable();
        z5::uitest::liveViewPane(rig->console)->raise();
        QVERIFY(!hand::click(rig->text(1)).isEmpty());
        z5::uitest::liveViewPane(rig->console)->hideAll();
        QCOMPARE(hand::click(rig->text(1)), QString());
    }
};

static z5::uitest::Registrar<PanelByHandTest> registrar;
#include "PanelByHandTest.moc"
