#include "ui/StationDialog.h"
#include "link/LineSession.h"
#include "link/PortSettings.h"
#include "ui/OwnedDialog.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace z5 {

StationDialog::StationDialog(LineSession &line, QWidget *owner)
    : QDialog(owner), line_(line), station_(line.settings().station), owner_(owner), openedWith_(station_) {
    setObjectName(QStringLiteral("num_NET_Z5"));
    setWindowTitle(QStringLiteral("Номер Z5 в сети"));
    setAttribute(Qt::WA_DeleteOnClose);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("N_NET_Z5"));
    for (int n = PortSettings::kFirstStation; n <= PortSettings::kLastStation; ++n)
        list_->addItem(QStringLiteral("№%1").arg(n));
    const int row = station_ - PortSettings::kFirstStation;
    if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
    // Eight rows without a scroll bar.
    list_->setFixedHeight(list_->sizeHintForRow(0) * list_->count() + 2 * list_->frameWidth() + 4);
    connect(list_, &QListWidget::itemClicked, this, &StationDialog::onEntryClicked);
    // The arrow keys choose as a click does; Return closes with the choice.
    connect(list_, &QListWidget::currentRowChanged, this, &StationDialog::take);
    connect(list_, &QListWidget::itemActivated, this, [this] { accept(); });

    device_ = new QLabel(this);
    device_->setObjectName(QStringLiteral("lblDevice"));
    device_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(device_);
    showDevice();
    resize(240, sizeHint().height());
    holdOwner(this, owner_);
}

void StationDialog::onEntryClicked(QListWidgetItem *item) {
    const int row = list_->row(item);
    if (row < 0) return;
    take(row);
    giveBack();
}

void StationDialog::take(int row) {
    if (row < 0 || row >= list_->count()) return;
    const int station = row + PortSettings::kFirstStation;
    if (station_ == station) return;
    station_ = station;
    line_.changeStation(station);
    emit stationChanged();
}

void StationDialog::keyPressEvent(QKeyEvent *event) {
    // Esc: the station the dialog was opened with. Closing it otherwise keeps the choice.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && station_ != openedWith_) {
        station_ = openedWith_;
        line_.changeStation(station_);
        emit stationChanged();
    }
    QDialog::keyPressEvent(event);
}

void StationDialog::showDevice() {
    const int com = line_.settings().portNumber;
    device_->setText(QStringLiteral("COM%1: %2").arg(com).arg(PortSettings::deviceName(com)));
}

void StationDialog::giveBack() {
    if (owner_) owner_->setEnabled(true);
}

void StationDialog::closeEvent(QCloseEvent *event) {
    giveBack();
    QDialog::closeEvent(event);
}

void StationDialog::done(int result) {
    giveBack();
    QDialog::done(result);
}

} // namespace z5
