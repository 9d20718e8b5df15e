#pragma once
#include "link/SerialDevices.h"
#include <QDialog>
#include <QPointer>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace z5 {

class LineSession;
class PortSettings;
class Prompts;

// Chooses the serial port (COM1..COM16) and, for the chosen number, the serial
// device on this machine it stands for. Closing it stores the COM number and
// closes the port, so that the next exchange opens the newly chosen one; the
// device of a COM number is kept between runs. The owner is disabled while it
// is shown.
class PortDialog : public QDialog {
    Q_OBJECT
public:
    // The line owner's settings and port; the serial devices present are the
    // line's, or the system's when it has none.
    PortDialog(LineSession &line, Prompts &prompts, QWidget *owner);

    QComboBox *portList() const { return list_; }
    QLabel *deviceLabel() const { return device_; }
    // The devices offered for the chosen COM number: the default first, then those present.
    QComboBox *deviceChoice() const { return deviceChoice_; }
    QPushButton *refreshButton() const { return refresh_; }
    // Says when the environment fixes the device of the chosen number.
    QLabel *environmentNote() const { return environmentNote_; }

    // Rescans the devices present ("Обновить").
    void rescan();

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void showDevice(int entry);
    void fillDeviceChoice();
    void onDeviceChosen(int index);
    int chosenPort() const;
    // A device name typed over the list ("-" for an emptied field), or empty.
    QString typedDevice() const;
    // Keeps a typed device for the chosen number; false, with the user told,
    // when no such device is there.
    bool takeTypedDevice();
    void finish();

    LineSession &line_;
    Prompts &prompts_;
    QPointer<QWidget> owner_;
    const SerialDevices *devices_;
    SystemSerialDevices systemDevices_;
    std::vector<SerialDeviceInfo> present_;
    QComboBox *list_;
    QLabel *device_;
    QComboBox *deviceChoice_;
    QPushButton *refresh_;
    QLabel *environmentNote_;
    bool finished_ = false;
};

} // namespace z5
