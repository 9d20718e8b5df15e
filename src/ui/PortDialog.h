#pragma once
#include <QDialog>
#include <QPointer>

class QComboBox;
class QLabel;

namespace z5 {

class PortSettings;
class SerialPort;

// Chooses the serial port (COM1..COM16) and shows the device each maps to.
// Closing it stores the choice and closes the port, so that the next exchange
// opens the newly chosen one. The main window is disabled while it is shown.
class PortDialog : public QDialog {
    Q_OBJECT
public:
    PortDialog(PortSettings &settings, SerialPort &port, QWidget *owner);

    QComboBox *num_COM() const { return list_; }
    QLabel *deviceLabel() const { return device_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void showDevice(int entry);
    void finish();

    PortSettings &settings_;
    SerialPort &port_;
    QPointer<QWidget> owner_;
    QComboBox *list_;
    QLabel *device_;
    bool finished_ = false;
};

} // namespace z5
