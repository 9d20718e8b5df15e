#include "link/windows/Win32SerialPort.h"
#include "link/PortIdentity.h"
#include "link/PortInbox.h"
#include "link/PortOutbox.h"
#include "link/windows/Win32PortWorker.h"
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <string>
#include <windows.h>

namespace z5 {
namespace {

HANDLE asHandle(void *handle) { return static_cast<HANDLE>(handle); }

// The system's words for an error code in Russian, with the code for a search; where
// Windows has no Russian texts, the code alone (a message never mixes two languages).
QString systemText(DWORD code) {
    wchar_t *buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&buffer), 0,
                       nullptr);
    const QString words = length ? QString::fromWCharArray(buffer, int(length)).trimmed() : QString();
    if (buffer) LocalFree(buffer);
    return words.isEmpty() ? QStringLiteral("ошибка Windows %1").arg(code)
                           : QStringLiteral("%1 (ошибка Windows %2)").arg(words).arg(code);
}

} // namespace

Win32SerialPort::Win32SerialPort() = default;

Win32SerialPort::~Win32SerialPort() { close(); }

QString Win32SerialPort::systemPath(const QString &device) {
    // "COM5", "com5" and "\\.\COM5" are one port, opened by its device name.
    static const QRegularExpression comName(QStringLiteral("^COM\\d+$"));
    const QString name = identifyPort(device).openName;
    return comName.match(name).hasMatch() ? QStringLiteral("\\\\.\\") + name : device;
}

QString Win32SerialPort::describeOpenFailure(const QString &device, unsigned long code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return QStringLiteral("Порт %1 не найден.").arg(device);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return QStringLiteral("Порт %1 занят другой программой или недоступен.").arg(device);
    default:
        return QStringLiteral("%1: %2").arg(device, systemText(code));
    }
}

QString Win32SerialPort::describeLoss(const QString &device, unsigned long code) {
    return meansDeviceGone(code) ? QStringLiteral("Порт %1 пропал: устройство отключено.").arg(device)
                                 : QStringLiteral("%1: %2").arg(device, systemText(code));
}

bool Win32SerialPort::meansDeviceGone(unsigned long code) {
    switch (code) {
    case ERROR_ACCESS_DENIED:          // what USB serial drivers answer once unplugged
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_IO_DEVICE:
    case ERROR_NOT_READY:              // what Wine answers once the far end of its device is gone
    case ERROR_FILE_NOT_FOUND:
        return true;
    default:
        return false;
    }
}

LineErrors Win32SerialPort::lineErrorsOf(unsigned long commErrors) {
    LineErrors errors;
    if (commErrors & CE_OVERRUN) errors.flags |= LineErrors::Overrun;
    if (commErrors & CE_RXOVER) errors.flags |= LineErrors::InputOverflow;
    if (commErrors & CE_FRAME) errors.flags |= LineErrors::Framing;
    if (commErrors & CE_RXPARITY) errors.flags |= LineErrors::Parity;
    if (commErrors & CE_BREAK) errors.flags |= LineErrors::Break;
    return errors;
}

bool Win32SerialPort::open(const QString &device) {
    close();
    error_.clear();
    gone_ = false;
    droppedAtClose_ = 0;
    device_ = device;
    const std::wstring path = systemPath(device).toStdWString();
    const HANDLE port = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const unsigned long code = GetLastError();
        error_ = describeOpenFailure(device, code);
        gone_ = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
        return false;
    }
    SetupComm(port, kReadBound, 4096);   // a hint only; the driver may keep its own sizes
    DCB line{};
    line.DCBlength = sizeof line;
    bool ready = GetCommState(port, &line);
    if (ready) {
        line.BaudRate = kBaudRate;
        line.ByteSize = 8;
        line.Parity = NOPARITY;
        line.StopBits = ONESTOPBIT;
        line.fBinary = TRUE;
        line.fParity = FALSE;
        line.fOutxCtsFlow = FALSE;
        line.fOutxDsrFlow = FALSE;
        line.fDsrSensitivity = FALSE;
        line.fOutX = FALSE;
        line.fInX = FALSE;
        line.fErrorChar = FALSE;
        line.fNull = FALSE;
        line.fAbortOnError = FALSE;
        // Some adapters draw their power from these lines.
        line.fDtrControl = DTR_CONTROL_ENABLE;
        line.fRtsControl = RTS_CONTROL_ENABLE;
        ready = SetCommState(port, &line);
    }
    // Reads return at once with what is waiting; writes have no timeout of their
    // own: the line owner's drain deadlines and the bounded close watch them.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    ready = ready && SetCommTimeouts(port, &timeouts);
    // The worker is woken by arrivals and by the receiver's errors.
    ready = ready && SetCommMask(port, EV_RXCHAR | EV_ERR | EV_BREAK);
    // Bytes from before the open belong to nobody's exchange.
    ready = ready && PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    if (!ready) {
        const DWORD code = GetLastError();
        CloseHandle(port);
        error_ = QStringLiteral("%1: %2").arg(device, systemText(code));
        return false;
    }
    // Fresh for each open: a worker given up on keeps its own.
    inbox_ = std::make_shared<PortInbox>(kReadBound);
    outbox_ = std::make_shared<PortOutbox>();
    inbox_->setNotifier([this] {
        QMetaObject::invokeMethod(&notices_, [this] { onNotice(); }, Qt::QueuedConnection);
    });
    handle_ = port;
    worker_ = Win32PortWorker::start(port, inbox_, outbox_);
    return true;
}

void Win32SerialPort::close() {
    if (!handle_ || checkFailure()) return;
    // Closing drops what has not left: a table written just before would reach the controller cut.
    QDeadlineTimer deadline(lineTimeMs(outbox_->pending() + qMax<qint64>(0, driverQueue())) + kDrainMarginMs);
    const qint64 left = outbox_->waitUntilSent(int(deadline.remainingTime()));
    if (checkFailure()) return;
    qint64 inDriver = left == 0 ? driverQueue() : 0;
    while (inDriver > 0 && !deadline.hasExpired()) {
        Sleep(DWORD(qBound(1, lineTimeMs(inDriver), 20)));
        inDriver = driverQueue();
    }
    droppedAtClose_ = left + qMax<qint64>(0, inDriver);
    shutDown();
}

void Win32SerialPort::shutDown() const {
    if (!handle_) return;
    // Nothing is posted to this port from here on, whatever the worker does.
    inbox_->setNotifier({});
    // A driver that will not let go keeps its worker (and the handle) until it does.
    worker_->stop(kStopMs);
    worker_.reset();
    handle_ = nullptr;
}

bool Win32SerialPort::checkFailure() const {
    if (!handle_) return true;
    const unsigned long code = inbox_->failure();
    if (code == 0) return false;
    fail(code);
    return true;
}

void Win32SerialPort::fail(unsigned long code) const {
    if (error_.isEmpty()) {
        error_ = describeLoss(device_, code);
        gone_ = meansDeviceGone(code);
    }
    if (!handle_) return;
    droppedAtClose_ = outbox_->fail();
    shutDown();
}

bool Win32SerialPort::isOpen() const { return !checkFailure(); }

bool Win32SerialPort::write(const QByteArray &bytes) {
    if (checkFailure()) return false;
    if (!outbox_->queue(bytes)) {
        // The worker failed as the bytes came: its reason, or the write's.
        if (!checkFailure()) fail(ERROR_WRITE_FAULT);
        return false;
    }
    worker_->wake();
    return true;
}

qint64 Win32SerialPort::bytesAvailable() const { return checkFailure() ? 0 : qint64(inbox_->size()); }

QByteArray Win32SerialPort::readAll() { return checkFailure() ? QByteArray() : inbox_->takeAll(); }

qint64 Win32SerialPort::driverQueue() const {
    DWORD errors = 0;
    COMSTAT status{};
    // A port that cannot say has nothing queued that we know of; a lost device
    // shows through the worker.
    if (!ClearCommError(asHandle(handle_), &errors, &status)) return -1;
    // Taken from the driver here, so told here: the worker would not see them.
    inbox_->putErrors(lineErrorsOf(errors));
    return qint64(status.cbOutQue);
}

qint64 Win32SerialPort::bytesNotYetSent() const {
    if (checkFailure()) return 0;
    const qint64 ours = outbox_->pending();
    // Bytes in flight are the driver's too: counted once.
    return ours > 0 ? ours : qMax<qint64>(0, driverQueue());
}

void Win32SerialPort::onNotice() {
    if (!inbox_) return;
    inbox_->noticeTaken();
    const LineErrors errors = inbox_->takeErrors();
    // Copies: a handler may replace itself while it runs.
    if (errors.any())
        if (const auto handler = lineErrors_) handler(errors);
    const bool failedNow = handle_ && inbox_->failure() != 0;
    if (failedNow) checkFailure();
    // A reader that waits learns at once that bytes came, or that the port failed.
    if (failedNow || (handle_ && inbox_->size() > 0))
        if (const auto handler = arrived_) handler();
}

} // namespace z5
