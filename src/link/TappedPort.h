#pragma once
#include "link/SerialPort.h"
#include <QObject>

namespace z5 {

// The port as the line owner sees it: every byte written and every byte read
// passes through here and is reported once, and so is every error the port's
// receiver saw, so a monitor can follow the line.
class TappedPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit TappedPort(SerialPort &port, QObject *parent = nullptr);
    ~TappedPort() override;

    bool open(const QString &device) override { return port_.open(device); }
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override { return port_.bytesAvailable(); }
    QByteArray readAll() override;
    QString errorString() const override { return port_.errorString(); }
    bool deviceGone() const override { return port_.deviceGone(); }
    void setArrivalHandler(std::function<void()> handler) override { port_.setArrivalHandler(std::move(handler)); }
    // Called after lineErrors() is emitted.
    void setLineErrorHandler(std::function<void(LineErrors)> handler) override { lineErrorHandler_ = std::move(handler); }
    qint64 bytesNotYetSent() const override { return port_.bytesNotYetSent(); }
    qint64 bytesDroppedAtClose() const override { return port_.bytesDroppedAtClose(); }

    SerialPort &device() { return port_; }

signals:
    void sent(const QByteArray &bytes);
    void received(const QByteArray &bytes);
    void closed();
    void lineErrors(z5::LineErrors errors);

private:
    SerialPort &port_;
    std::function<void(LineErrors)> lineErrorHandler_;
};

} // namespace z5
