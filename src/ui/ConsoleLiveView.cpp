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
        refresh_.setIntervalMs(refreshChoice_->itemData(index).toInt());
        // Turned on while values are shown: the next read follows at once.
        if (refresh_.isOn() && live_.hasReply() && !exchangeUnderWay() && isEnabled()) startLiveRead();
        showValueAge();
    });
    connect(&refresh_, &LiveRefresh::due, this, [this] { startLiveRead(); });
    // A write of any window takes the line: the values are not refreshed past it.
    connect(&session_.line, &LineSession::writeStarted, this,
            [this] { turnRefreshOff(QStringLiteral("Обновление остановлено: запись в Z5")); });
    // An edit in the setpoint fields must not be overwritten by the next read,
    // nor by the reply of one under way.
    connect(view_, &ConsoleParameterView::edited, this, [this] {
        turnRefreshOff(QStringLiteral("Обновление остановлено: значение изменено"));
        live_.keepShownSetpoints();
    });

    valueAge_ = new QLabel(this);
    valueAge_->setObjectName(QStringLiteral("lblValueAge"));
    statusBar()->addPermanentWidget(valueAge_);
    ageTimer_->setOnTimeout([this] { showValueAge(); });
}

void ConsoleWindow::startLiveRead() {
    // Only while the block is still the one shown, the window visible and the line free.
    const LiveView::Read &read = live_.read();
    if (!read.isValid() || !isVisible() || exchangeUnderWay() || !isEnabled()) return;
    state_.selectedColumn = static_cast<std::uint8_t>(read.column);
    state_.selectedType = static_cast<std::uint8_t>(read.type);
    // The window stays usable: a click meanwhile waits for this read's end.
    autoRead_ = true;
    if (!exchange_.startBlockRead()) {
        autoRead_ = false;
        turnRefreshOff(QString());
        status_->setText(QStringLiteral("Нет сети"));
    }
}

bool ConsoleWindow::deferDuringAutoRead(std::function<void()> action) {
    if (!autoRead_) return false;
    // The latest wins: the user's last click is what the user wants.
    deferred_ = std::move(action);
    return true;
}

void ConsoleWindow::runDeferredAction() {
    autoRead_ = false;
    if (!deferred_) return;
    const auto action = std::move(deferred_);
    deferred_ = nullptr;
    action();
}

void ConsoleWindow::showBlockReply(const QByteArray &reply) {
    switch (live_.showReply(reply)) {
    case LiveView::Shows::Table: liveView_->setTable(live_.table()); break;
    case LiveView::Shows::Panel:
        liveView_->setFace(live_.face());
        liveView_->setSwitches(live_.switchOn());
        break;
    case LiveView::Shows::Setpoints: view_->refresh(); break;
    case LiveView::Shows::Nothing: break;
    }
    showValueAge();
}

void ConsoleWindow::turnRefreshOff(const QString &reason) {
    const bool wasOn = refresh_.isOn();
    refresh_.setIntervalMs(0);
    if (refreshChoice_->currentIndex() != 0) {
        const QSignalBlocker quiet(refreshChoice_);
        refreshChoice_->setCurrentIndex(0);
    }
    // The age of values no longer refreshed is not shown.
    showValueAge();
    if (wasOn && !reason.isEmpty()) status_->setText(reason);
}

void ConsoleWindow::showValueAge() {
    if (!refresh_.isOn()) {
        ageTimer_->stop();
        valueAge_->clear();
        return;
    }
    valueAge_->setText(refresh_.ageText());
    if (!ageTimer_->isActive()) ageTimer_->start(kAgeTickMs);
}

void ConsoleWindow::panelClicked(QPointF picturePoint) {
    if (deferDuringAutoRead([=] { panelClicked(picturePoint); })) return;
    if (!isEnabled() || exchangeUnderWay()) return;
    // The key under the click itself: between the keys nothing is sent.
    if (const auto key = live_.keyForClick(picturePoint.x(), picturePoint.y())) sendPanelKey(*key);
}

void ConsoleWindow::switchClicked(int switchIndex) {
    if (deferDuringAutoRead([=] { switchClicked(switchIndex); })) return;
    if (!isEnabled() || exchangeUnderWay()) return;
    if (const auto key = live_.keyForSwitch(switchIndex)) sendPanelKey(*key);
}

void ConsoleWindow::sendPanelKey(int key) {
    refresh_.stop();
    live_.keySent();
    liveView_->setFace(live_.face());
    if (!exchange_.startPanelKey(live_.read().column, key)) return;   // ends without a message
    setEnabled(false);
    status_->setText(QStringLiteral("Клавиша %1 панели U%2 отправлена").arg(key).arg(live_.read().column + 1));
}

} // namespace z5
