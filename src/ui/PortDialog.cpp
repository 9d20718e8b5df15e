#include "ui/PortDialog.h"
#include "link/PortMapping.h"
#include "link/PortSettings.h"
#include "link/LineSession.h"
#include "link/SimulatedControllerPort.h"
#include "model/Prompts.h"
#include "ui/OwnedDialog.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace z5 {

PortDialog::PortDialog(LineSession &line, Prompts &prompts, QWidget *owner)
    : QDialog(owner), line_(line), prompts_(prompts), owner_(owner),
      devices_(line.serialDevices() ? line.serialDevices() : &systemDevices_) {
    setObjectName(QStringLiteral("num_COM_PORT"));
    setWindowTitle(QStringLiteral("Номер порта"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *label = new QLabel(QStringLiteral("COM"), this);
    // Not editable: only the listed ports can be chosen.
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("num_COM"));
    for (int n = PortSettings::kFirstPort; n <= PortSettings::kLastPort; ++n)
        list_->addItem(QStringLiteral("COM%1").arg(n));
    const int entry = line.settings().portNumber - PortSettings::kFirstPort;
    if (entry >= 0 && entry < list_->count()) list_->setCurrentIndex(entry);
    label->setBuddy(list_);

    device_ = new QLabel(this);
    device_->setObjectName(QStringLiteral("lblDevice"));
    device_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *choiceLabel = new QLabel(QStringLiteral("&Устройство"), this);
    deviceChoice_ = new QComboBox(this);
    deviceChoice_->setObjectName(QStringLiteral("cboDevice"));
    deviceChoice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    deviceChoice_->setMinimumContentsLength(32);
    // Any device can be typed too (a pseudo-terminal the system does not list);
    // it is checked when the dialog closes.
    deviceChoice_->setEditable(true);
    deviceChoice_->setInsertPolicy(QComboBox::NoInsert);
    choiceLabel->setBuddy(deviceChoice_);
    refresh_ = new QPushButton(QStringLiteral("Обновить"), this);
    refresh_->setObjectName(QStringLiteral("btnRefresh"));
    refresh_->setAutoDefault(false);
    environmentNote_ = new QLabel(this);
    environmentNote_->setObjectName(QStringLiteral("lblEnvironment"));
    environmentNote_->setWordWrap(true);

    connect(list_, &QComboBox::currentIndexChanged, this, &PortDialog::showDevice);
    connect(deviceChoice_, &QComboBox::activated, this, &PortDialog::onDeviceChosen);
    connect(refresh_, &QPushButton::clicked, this, &PortDialog::rescan);

    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(list_, 0, 1, 1, 2);
    layout->addWidget(choiceLabel, 1, 0);
    layout->addWidget(deviceChoice_, 1, 1);
    layout->addWidget(refresh_, 1, 2);
    layout->addWidget(environmentNote_, 2, 0, 1, 3);
    layout->addWidget(device_, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    rescan();
    resize(qMax(420, sizeHint().width()), sizeHint().height());
    holdOwner(this, owner_);
}

int PortDialog::chosenPort() const { return list_->currentIndex() + PortSettings::kFirstPort; }

void PortDialog::rescan() {
    present_ = devices_->list();
    showDevice(list_->currentIndex());
}

void PortDialog::showDevice(int entry) {
    const int com = entry + PortSettings::kFirstPort;
    fillDeviceChoice();
    const QString device = PortSettings::deviceName(com);
    const SerialDeviceInfo *found = SerialDevices::find(present_, device);
    QString text = QStringLiteral("Устройство: %1").arg(device);
    if (found && found->summary() != found->device) text += found->summary().mid(found->device.size());
    else if (!found && !QFileInfo::exists(device)) text += QStringLiteral(" (нет в системе)");
    device_->setText(text);
}

void PortDialog::fillDeviceChoice() {
    const int com = chosenPort();
    const QString fromEnvironment = PortMapping::fromEnvironment(com);
    const QString remembered = PortMapping::remembered(com);

    deviceChoice_->clear();
    deviceChoice_->addItem(QStringLiteral("По умолчанию: %1").arg(PortMapping::defaultDevice(com)), QString());
    int current = 0;
    for (const SerialDeviceInfo &d : present_) {
        deviceChoice_->addItem(d.summary(), d.preferredName());
        const int index = deviceChoice_->count() - 1;
        deviceChoice_->setItemData(index, d.stableName.isEmpty() ? d.device : d.stableName + QLatin1Char('\n') + d.device,
                                   Qt::ToolTipRole);
        if (!remembered.isEmpty() && SerialDevices::find({d}, remembered)) current = index;
    }
    // The device configured for the port is offered even when the enumeration
    // does not list it (a pseudo-terminal); a remembered adapter that is
    // unplugged now stays offered too, so the choice is not lost. So are the
    // devices set for the other numbers: any of them may be moved here.
    const QString configured = !fromEnvironment.isEmpty() ? fromEnvironment : remembered;
    QStringList offered;
    for (int n = PortSettings::kFirstPort; n <= PortSettings::kLastPort; ++n) {
        const QString other = n == com ? configured : PortMapping::resolve(n).device;
        const bool isDefault = PortMapping::resolve(n).source == PortMapping::Source::Default && n != com;
        if (other.isEmpty() || isDefault || offered.contains(other) || SerialDevices::find(present_, other)) continue;
        offered << other;
        const bool exists = QFileInfo::exists(other);
        deviceChoice_->addItem(exists ? other : QStringLiteral("%1 (нет в системе)").arg(other), other);
        if (other == configured) current = deviceChoice_->count() - 1;
    }
    deviceChoice_->setCurrentIndex(current);

    const bool fixed = !fromEnvironment.isEmpty();
    deviceChoice_->setEnabled(!fixed);
    environmentNote_->setVisible(fixed);
    environmentNote_->setText(fixed ? QStringLiteral("COM%1 задан переменной окружения %2=%3; выбор устройства "
                                                     "действует без неё.")
                                          .arg(com)
                                          .arg(PortMapping::environmentName(com), fromEnvironment)
                                    : QString());
}

void PortDialog::onDeviceChosen(int index) {
    if (index < 0) return;
    // The port opened on the old device closes with the dialog.
    PortMapping::remember(chosenPort(), deviceChoice_->itemData(index).toString());
    showDevice(list_->currentIndex());
}

QString PortDialog::typedDevice() const {
    const int index = deviceChoice_->currentIndex();
    const QString text = deviceChoice_->currentText().trimmed();
    // The entry as listed, or a name typed over it.
    if (index >= 0 && text == deviceChoice_->itemText(index).trimmed()) return QString();
    return text.isEmpty() ? QStringLiteral("-") : text;
}

bool PortDialog::takeTypedDevice() {
    QString typed = typedDevice();
    if (SimulatedControllerPort::isItsName(typed)) typed = SimulatedControllerPort::deviceName();
    if (typed.isEmpty() || !deviceChoice_->isEnabled()) return true;
    if (typed == QLatin1String("-")) {
        // An emptied field: the number's default device.
        PortMapping::remember(chosenPort(), QString());
        return true;
    }
    static const QRegularExpression comName(QStringLiteral(R"(^(\\\\\.\\)?COM[0-9]{1,3}$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const bool known = SerialDevices::find(present_, typed) || QFileInfo::exists(typed) || comName.match(typed).hasMatch();
    if (!known) {
        prompts_.message(QStringLiteral("Устройство «%1» не найдено.").arg(typed), windowTitle(), Prompts::Kind::Warning);
        deviceChoice_->setFocus(Qt::OtherFocusReason);
        if (QLineEdit *edit = deviceChoice_->lineEdit()) edit->selectAll();
        return false;
    }
    PortMapping::remember(chosenPort(), typed);
    return true;
}

void PortDialog::finish() {
    if (finished_) return;
    finished_ = true;
    const int entry = list_->currentIndex();
    // The old port goes with the dialog, once the work under way has ended; the
    // next exchange opens the chosen one.
    line_.changePort(entry >= 0 && entry < list_->count() ? entry + PortSettings::kFirstPort
                                                           : line_.settings().portNumber);
    if (owner_) owner_->setEnabled(true);
}

void PortDialog::closeEvent(QCloseEvent *event) {
    // A device typed that is not there keeps the dialog open to mend it.
    if (!finished_ && !takeTypedDevice()) {
        event->ignore();
        return;
    }
    finish();
    QDialog::closeEvent(event);
}

void PortDialog::done(int result) {
    if (!finished_ && !takeTypedDevice()) return;
    finish();
    QDialog::done(result);
}

} // namespace z5
