// The console's live view: the value table, the operator panels with their keys
// and switches, the heading that names the block and the automatic re-read.
#include "console/PanelKeys.h"
#include "model/BlockCatalogue.h"
#include "app/Session.h"
#include "model/Clock.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleGeometry.h"
#include "ui/ConsoleParameterView.h"
#include "ui/ConsoleWindow.h"
#include "ui/LiveViewPane.h"
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QStatusBar>

namespace z5 {
namespace {

constexpr int kAgeTickMs = 250;

} // namespace

void ConsoleWindow::buildLiveView() {
    liveView_ = new LiveViewPane(canvas());
    liveView_->hideAll();
    connect(liveView_, &LiveViewPane::panelClicked, this, &ConsoleWindow::panelClicked);
    connect(liveView_, &LiveViewPane::switchClicked, this, &ConsoleWindow::switchClicked);

    heading_ = new QLabel(canvas());
    heading_->setObjectName(QStringLiteral("lblBlockHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    // "Обновлять" sits at the right of the heading; off unless the user picks an interval.
    auto *refreshBox = new QWidget(canvas());
    auto *row = new QHBoxLayout(refreshBox);
    row->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("Обновлять"), refreshBox);
    label->setObjectName(QStringLiteral("lblRefresh"));
    refreshChoice_ = new QComboBox(refreshBox);
    refreshChoice_->setObjectName(QStringLiteral("Combo_REFRESH"));
    refreshChoice_->addItem(QStringLiteral("нет"), 0);
    for (int ms : LiveRefresh::kIntervalsMs) refreshChoice_->addItem(QStringLiteral("%1 мс").arg(ms), ms);
    label->setBuddy(refreshChoice_);
    row->addWidget(label);
    row->addWidget(refreshChoice_);
    // Right of the heading, ending with the parameter fields.
    refreshBox->setGeometry(twips::rect(twips::kPanelLeft + 1950, 480, twips::kPanelWidth - 1950, 380));
    // Tab runs top to bottom: the numbering, "Обновлять", then the panel's rows.
    setTabOrder(numbering_, refreshChoice_);
    setTabOrder(refreshChoice_, view_->rowChoice(0));
    connect(refreshChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
        core_.setRefreshInterval(refreshChoice_->itemData(index).toInt());
        // Turned on while values are shown: the next read follows at once.
        if (core_.refresh().isOn() && core_.liveView().hasReply()) readAgain();
    });
    connect(&core_.refresh(), &LiveRefresh::due, this, &ConsoleWindow::readAgain);
    connect(view_, &ConsoleParameterView::edited, &core_, &ConsoleCore::setpointsEdited);

    valueAge_ = new QLabel(this);
    valueAge_->setObjectName(QStringLiteral("lblValueAge"));
    statusBar()->addPermanentWidget(valueAge_);
    ageTimer_->setOnTimeout([this] { showValueAge(); });
}

void ConsoleWindow::readAgain() {
    // Only while the window is visible and takes the user's hand.
    if (isVisible() && takesInput()) core_.readAgain();
}

void ConsoleWindow::draw(LiveView::Shows shows) {
    const LiveView &live = core_.liveView();
    switch (shows) {
    case LiveView::Shows::Table: liveView_->setTable(live.table()); break;
    case LiveView::Shows::Panel:
        liveView_->setFace(live.face());
        liveView_->setSwitches(live.switchOn());
        break;
    case LiveView::Shows::Setpoints:
    case LiveView::Shows::Nothing: break;
    }
}

void ConsoleWindow::showValueAge() {
    const LiveRefresh &refresh = core_.refresh();
    if (!refresh.isOn()) {
        // "Обновлять" says "нет" once the refresh has stopped, for whatever reason.
        if (refreshChoice_->currentIndex() != 0) {
            const QSignalBlocker quiet(refreshChoice_);
            refreshChoice_->setCurrentIndex(0);
        }
        ageTimer_->stop();
        valueAge_->clear();
        return;
    }
    valueAge_->setText(refresh.ageText());
    if (!ageTimer_->isActive()) ageTimer_->start(kAgeTickMs);
}

void ConsoleWindow::panelClicked(QPointF picturePoint) {
    if (takesInput()) core_.panelClicked(picturePoint.x(), picturePoint.y());
}

void ConsoleWindow::switchClicked(int switchIndex) {
    if (takesInput()) core_.switchClicked(switchIndex);
}

} // namespace z5
