#include "ui/StationScanDialog.h"
#include "link/LineSession.h"
#include "link/PortSettings.h"
#include "ui/OwnedDialog.h"
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace z5 {
namespace {

constexpr int kStationColumn = 0;
constexpr int kAnswerColumn = 1;
// The row's station and whether it answers.
constexpr int kStationRole = Qt::UserRole;
constexpr int kAnswersRole = Qt::UserRole + 1;

std::vector<int> everyStation() {
    std::vector<int> stations;
    for (int n = PortSettings::kFirstStation; n <= PortSettings::kLastStation; ++n) stations.push_back(n);
    return stations;
}

} // namespace

StationScanDialog::StationScanDialog(Clock &clock, LineSession &line, QWidget *owner)
    : QDialog(owner), line_(line), search_(clock, line), owner_(owner) {
    setObjectName(QStringLiteral("dlgFindStations"));
    setWindowTitle(QStringLiteral("Поиск станций"));
    setAttribute(Qt::WA_DeleteOnClose);

    const int com = line.settings().portNumber;
    auto *port = new QLabel(QStringLiteral("COM%1: %2").arg(com).arg(PortSettings::deviceName(com)), this);
    port->setObjectName(QStringLiteral("lblDevice"));
    port->setTextInteractionFlags(Qt::TextSelectableByMouse);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstFoundStations"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Станция"), QStringLiteral("Ответ")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionResizeMode(kStationColumn, QHeaderView::ResizeToContents);
    for (const int n : everyStation()) {
        auto *row = new QTreeWidgetItem(list_, {QStringLiteral("№%1").arg(n), QString()});
        row->setData(kStationColumn, kStationRole, n);
        row->setData(kStationColumn, kAnswersRole, false);
    }
    // Eight rows and the header without a scroll bar.
    list_->setMinimumHeight(list_->header()->sizeHint().height() +
                            list_->sizeHintForRow(0) * PortSettings::kLastStation + 2 * list_->frameWidth() + 4);
    list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance(QStringLiteral("№8  ") +
                                                                    StationScan::answerText(StationScan::Answer::Conflict)) +
                           40);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblSearchStatus"));
    status_->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    take_ = buttons->addButton(QStringLiteral("Выбрать станцию"), QDialogButtonBox::AcceptRole);
    take_->setObjectName(QStringLiteral("btnTakeStation"));
    again_ = buttons->addButton(QStringLiteral("Искать снова"), QDialogButtonBox::ActionRole);
    again_->setObjectName(QStringLiteral("btnSearchAgain"));
    again_->setAutoDefault(false);
    QPushButton *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setAutoDefault(false);
    take_->setDefault(true);

    connect(take_, &QPushButton::clicked, this, &StationScanDialog::takeSelected);
    connect(again_, &QPushButton::clicked, this, &StationScanDialog::searchAgain);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &StationScanDialog::showTakeable);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (selectedAnsweringStation() > 0) takeSelected();
    });
    connect(&search_, &StationScan::stationJudged, this, &StationScanDialog::onStationJudged);
    connect(&search_, &StationScan::finished, this, &StationScanDialog::onSearchEnded);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(port);
    layout->addWidget(list_);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    searchAgain();
    // Placed with what it shows at once (a port that did not open says why).
    holdOwner(this, owner_);
}

void StationScanDialog::searchAgain() {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list_->topLevelItem(i);
        row->setText(kAnswerColumn, QString());
        row->setData(kStationColumn, kAnswersRole, false);
    }
    status_->setText(QStringLiteral("Идёт поиск…"));
    again_->setEnabled(false);
    showTakeable();
    search_.start(everyStation());
}

void StationScanDialog::onStationJudged(const StationScan::Result &result) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list_->topLevelItem(i);
        if (row->data(kStationColumn, kStationRole).toInt() != result.station) continue;
        row->setText(kAnswerColumn, StationScan::answerText(result.answer));
        const bool answers = result.answer == StationScan::Answer::Present;
        row->setData(kStationColumn, kAnswersRole, answers);
        // The station in use, once it answers, is offered first.
        if (answers && (list_->selectedItems().isEmpty() || result.station == line_.settings().station))
            list_->setCurrentItem(row);
    }
    showTakeable();
}

void StationScanDialog::onSearchEnded(LineOutcome outcome) {
    again_->setEnabled(true);
    QStringList answering;
    for (const StationScan::Result &r : search_.results())
        if (r.answer == StationScan::Answer::Present) answering << QStringLiteral("№%1").arg(r.station);
    if (outcome == LineOutcome::NoNetwork || outcome == LineOutcome::NotDrained) {
        const QString reason = search_.failure();
        status_->setText(reason.isEmpty() ? QStringLiteral("Нет сети!!!") : QStringLiteral("Нет сети!!!\n") + reason);
    } else if (outcome != LineOutcome::Reply) {
        status_->setText(QStringLiteral("Поиск не закончен"));
    } else if (answering.isEmpty()) {
        status_->setText(QStringLiteral("Ни одна станция не отвечает"));
    } else {
        status_->setText(QStringLiteral("Отвечают: %1").arg(answering.join(QStringLiteral(", "))));
    }
    showTakeable();
}

int StationScanDialog::selectedAnsweringStation() const {
    const QList<QTreeWidgetItem *> selected = list_->selectedItems();
    if (selected.isEmpty() || !selected.first()->data(kStationColumn, kAnswersRole).toBool()) return 0;
    return selected.first()->data(kStationColumn, kStationRole).toInt();
}

void StationScanDialog::showTakeable() { take_->setEnabled(selectedAnsweringStation() > 0); }

void StationScanDialog::takeSelected() {
    const int station = selectedAnsweringStation();
    if (station <= 0) return;
    if (line_.settings().station != station) {
        line_.changeStation(station);
        emit stationChanged();
    }
    accept();
}

void StationScanDialog::done(int result) {
    // What is still to be asked is of no use once the dialog is gone.
    search_.cancel();
    if (owner_) owner_->setEnabled(true);
    QDialog::done(result);
}

} // namespace z5
