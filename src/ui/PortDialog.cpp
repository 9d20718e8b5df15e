#include "ui/PortDialog.h"
#include "link/PortSettings.h"
#include "link/SerialPort.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace z5 {

PortDialog::PortDialog(PortSettings &settings, SerialPort &port, QWidget *owner)
    : QDialog(nullptr), settings_(settings), port_(port), owner_(owner) {
    // Not the owner's child: disabling the owner would disable the dialog too.
    setObjectName(QStringLiteral("num_COM_PORT"));
    setWindowTitle(QStringLiteral("Номер порта"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *label = new QLabel(QStringLiteral("COM"), this);
    // Not editable: only the listed ports can be chosen.
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("num_COM"));
    for (int n = PortSettings::kFirstPort; n <= PortSettings::kLastPort; ++n)
        list_->addItem(QStringLiteral("COM%1").arg(n));
    const int entry = settings_.COM_PORT_number - PortSettings::kFirstPort;
    if (entry >= 0 && entry < list_->count()) list_->setCurrentIndex(entry);
    label->setBuddy(list_);

    device_ = new QLabel(this);
    device_->setObjectName(QStringLiteral("lblDevice"));
    device_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(list_, &QComboBox::currentIndexChanged, this, &PortDialog::showDevice);
    showDevice(list_->currentIndex());

    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(list_, 0, 1);
    layout->addWidget(device_, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    resize(300, sizeHint().height());

    if (owner_) {
        move(owner_->frameGeometry().center() - rect().center());
        owner_->setEnabled(false);
    }
}

void PortDialog::showDevice(int entry) {
    device_->setText(QStringLiteral("Устройство: %1")
                         .arg(PortSettings::deviceName(entry + PortSettings::kFirstPort)));
}

void PortDialog::finish() {
    if (finished_) return;
    finished_ = true;
    const int entry = list_->currentIndex();
    if (entry >= 0 && entry < list_->count())
        settings_.COM_PORT_number = static_cast<std::uint8_t>(entry + PortSettings::kFirstPort);
    // The old port goes with the dialog; the next exchange opens the chosen one.
    if (port_.isOpen()) port_.close();
    if (owner_) owner_->setEnabled(true);
}

void PortDialog::closeEvent(QCloseEvent *event) {
    finish();
    QDialog::closeEvent(event);
}

void PortDialog::done(int result) {
    finish();
    QDialog::done(result);
}

} // namespace z5
