#include "link/QtSerialPort.h"
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace z5 {
namespace {

// True when the device behind a failing port is gone: the driver says so, or the
// descriptor no longer answers as a terminal (an unplugged adapter, a closed
// pseudo-terminal), which Qt reports only as the failed ioctl's text.
bool looksUnplugged(QSerialPort::SerialPortError error, qintptr handle) {
    if (error == QSerialPort::ResourceError) return true;
#ifdef Q_OS_UNIX
    termios settings{};
    return handle >= 0 && ::tcgetattr(static_cast<int>(handle), &settings) != 0;
#else
    Q_UNUSED(handle);
    return false;
#endif
}

#ifdef Q_OS_UNIX
// The program that holds the device's lock file ("z5ctl, процесс 4242"), where
// the serial port library keeps one; empty when none is found.
QString lockHolder(const QString &device) {
    // Named after the path below /dev, its slashes made underscores.
    const auto lockName = [](QString path) {
        if (path.startsWith(QLatin1String("/dev/"))) path = path.mid(5);
        return QStringLiteral("LCK..") + path.replace(QLatin1Char('/'), QLatin1Char('_'));
    };
    const QStringList names{lockName(device), lockName(QFileInfo(device).canonicalFilePath())};
    for (const QString &name : names) {
        for (const char *folder : {"/var/lock", "/run/lock", "/tmp", "/var/spool/locks", "/var/spool/uucp"}) {
            QLockFile lock(QLatin1String(folder) + QLatin1Char('/') + name);
            qint64 pid = 0;
            QString host;
            QString program;
            if (lock.getLockInfo(&pid, &host, &program))
                return program.isEmpty() ? QStringLiteral("процесс %1").arg(pid)
                                         : QStringLiteral("%1, процесс %2").arg(program).arg(pid);
        }
    }
    return QString();
}
#endif

} // namespace

QtSerialPort::QtSerialPort() {
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] {
        // A copy: the reader may replace the handler while it runs.
        if (const auto handler = arrived_) handler();
    });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError e) { onError(e); });
}

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::open(const QString &device) {
    close();
    closeQueued_ = false;
    droppedAtClose_ = 0;
    error_.clear();
    gone_ = false;
    // The device as the user configured it: Qt's port name drops "/dev/".
    device_ = device;
    // The claim is on the device itself: under any of its names it is one port.
    const PortIdentity identity = identifyPort(device);
    if (!deviceLock_.take(identity)) {
        const QString holder = deviceLock_.holder();
        error_ = holder.isEmpty() ? QStringLiteral("Порт %1 занят другой программой.").arg(device)
                                  : QStringLiteral("Порт %1 занят другой программой (%2).").arg(device, holder);
        return false;
    }
    port_.setPortName(identity.openName);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = describeOpenFailure(device);
        gone_ = port_.error() == QSerialPort::DeviceNotFoundError;
        deviceLock_.release();
        return false;
    }
    const bool configured = port_.setBaudRate(kBaudRate) && port_.setDataBits(QSerialPort::Data8) &&
                            port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        error_ = QStringLiteral("%1: %2").arg(device, port_.errorString());
        port_.close();
        deviceLock_.release();
        return false;
    }
    // Bytes from before the open belong to nobody's exchange.
    port_.clear();
    port_.setReadBufferSize(kReadBufferBound);
    return true;
}

QString QtSerialPort::describeOpenFailure(const QString &device) const {
    switch (port_.error()) {
    case QSerialPort::PermissionError:
#ifdef Q_OS_WIN
        return QStringLiteral("Порт %1 занят другой программой или недоступен.").arg(device);
#else
        // A device the user may open was refused because another program holds it.
        if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0) {
            const QString holder = lockHolder(device);
            return holder.isEmpty() ? QStringLiteral("Порт %1 занят другой программой.").arg(device)
                                    : QStringLiteral("Порт %1 занят другой программой (%2).").arg(device, holder);
        }
        return QStringLiteral("Нет доступа к порту %1: пользователь не входит в группу dialout "
                              "(sudo usermod -aG dialout $USER, затем войти в систему заново).")
            .arg(device);
#endif
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("Порт %1 не найден.").arg(device);
    default:
        return QStringLiteral("%1: %2").arg(device, port_.errorString());
    }
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        break;
    default:
        return;
    }
    // A port that vanished reports only a failed ioctl; say what happened instead.
    if (error_.isEmpty()) {
        gone_ = looksUnplugged(error, port_.handle());
        error_ = gone_ ? QStringLiteral("Порт %1 пропал: устройство отключено.").arg(device_)
                       : QStringLiteral("%1: %2").arg(device_, port_.errorString());
    }
    if (closeQueued_) return;
    closeQueued_ = true;
    QMetaObject::invokeMethod(
        &port_,
        [this] {
            closeQueued_ = false;
            if (port_.isOpen()) port_.close();
            deviceLock_.release();
        },
        Qt::QueuedConnection);
}

bool QtSerialPort::write(const QByteArray &bytes) {
    if (!port_.isOpen() || closeQueued_) return false;
    if (port_.write(bytes) != bytes.size()) return false;
    // QSerialPort would hand the bytes to the driver only on the event loop's next
    // turn, after whatever the window repaints meanwhile: they leave now.
    port_.flush();
    return true;
}

QByteArray QtSerialPort::readAll() {
    if (!port_.isOpen()) return QByteArray();
    return port_.readAll();
}

void QtSerialPort::close() {
    if (port_.isOpen()) {
        if (!closeQueued_) drainOutput();
        droppedAtClose_ = bytesNotYetSent();
        port_.close();
    }
    deviceLock_.release();
}

qint64 QtSerialPort::bytesNotYetSent() const {
    if (!port_.isOpen()) return 0;
    qint64 queued = port_.bytesToWrite();
#ifdef Q_OS_UNIX
    int inDriver = 0;
    const int fd = static_cast<int>(port_.handle());
    if (fd >= 0 && ::ioctl(fd, TIOCOUTQ, &inDriver) == 0 && inDriver > 0) queued += inDriver;
#endif
    return queued;
}

// QSerialPort::close() drops whatever is still queued, and the driver may hold
// more; a table written just before the close would reach the controller cut.
void QtSerialPort::drainOutput() {
    const qint64 queued = port_.bytesToWrite();
    QDeadlineTimer deadline(lineTimeMs(queued) + kDrainMarginMs);
    while (port_.isOpen() && port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) break;
    }
#ifdef Q_OS_UNIX
    const int fd = static_cast<int>(port_.handle());
    if (fd < 0) return;
    int inDriver = 0;
    while (::ioctl(fd, TIOCOUTQ, &inDriver) == 0 && inDriver > 0 && !deadline.hasExpired())
        QThread::msleep(static_cast<unsigned long>(qBound(1, lineTimeMs(inDriver), 50)));
    // Only the last few bytes in the transmitter are left: a short wait.
    if (::ioctl(fd, TIOCOUTQ, &inDriver) == 0 && inDriver == 0) ::tcdrain(fd);
#endif
}

} // namespace z5
