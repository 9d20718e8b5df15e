#include "link/windows/Win32SerialPort.h"
#include "link/PortIdentity.h"
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

bool Win32SerialPort::open(const QString &device) {
    close();
    error_.clear();
    gone_ = false;
    device_ = device;
    const std::wstring path = systemPath(device).toStdWString();
    const HANDLE port =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
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
    // Reads return at once with what is waiting; a write that cannot finish fails.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 1;
    timeouts.WriteTotalTimeoutConstant = kWriteMarginMs;
    ready = ready && SetCommTimeouts(port, &timeouts);
    // Bytes from before the open belong to nobody's exchange.
    ready = ready && PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    if (!ready) {
        const DWORD code = GetLastError();
        CloseHandle(port);
        error_ = QStringLiteral("%1: %2").arg(device, systemText(code));
        return false;
    }
    handle_ = port;
    droppedAtClose_ = 0;
    return true;
}

void Win32SerialPort::close() {
    if (!handle_) return;
    // Closing drops what the driver still holds: a table written just before would reach the controller cut.
    FlushFileBuffers(asHandle(handle_));
    // What the flush could not send is dropped by the close; the caller learns how much.
    droppedAtClose_ = bytesNotYetSent();
    CloseHandle(asHandle(handle_));
    handle_ = nullptr;
}

void Win32SerialPort::fail(unsigned long code) const {
    if (error_.isEmpty()) {
        error_ = describeLoss(device_, code);
        gone_ = meansDeviceGone(code);
    }
    if (!handle_) return;
    PurgeComm(asHandle(handle_), PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    CloseHandle(asHandle(handle_));
    handle_ = nullptr;
}

bool Win32SerialPort::write(const QByteArray &bytes) {
    if (!handle_) return false;
    DWORD written = 0;
    if (!WriteFile(asHandle(handle_), bytes.constData(), DWORD(bytes.size()), &written, nullptr)) {
        fail(GetLastError());
        return false;
    }
    if (written != DWORD(bytes.size())) {
        // The write timed out: the line does not take bytes, and what it took is a cut frame.
        if (error_.isEmpty())
            error_ = QStringLiteral("Порт %1 не принимает данные: передано %2 из %3 байт.")
                         .arg(device_)
                         .arg(written)
                         .arg(bytes.size());
        fail(ERROR_TIMEOUT);
        return false;
    }
    return true;
}

qint64 Win32SerialPort::bytesAvailable() const {
    if (!handle_) return 0;
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(asHandle(handle_), &errors, &status)) {
        fail(GetLastError());
        return 0;
    }
    return qint64(status.cbInQue);
}

qint64 Win32SerialPort::bytesNotYetSent() const {
    if (!handle_) return 0;
    DWORD errors = 0;
    COMSTAT status{};
    // A port that cannot say has nothing queued that we know of; a lost device
    // shows at the next read or write.
    if (!ClearCommError(asHandle(handle_), &errors, &status)) return 0;
    return qint64(status.cbOutQue);
}

QByteArray Win32SerialPort::readAll() {
    QByteArray all;
    char buffer[4096];
    while (handle_ && all.size() < kReadBound) {
        DWORD got = 0;
        if (!ReadFile(asHandle(handle_), buffer, sizeof buffer, &got, nullptr)) {
            fail(GetLastError());
            break;
        }
        if (got == 0) break;
        all.append(buffer, int(got));
    }
    return all;
}

} // namespace z5
