#include "link/SerialDevices.h"
#include <QRegularExpression>
#include <algorithm>
#include <windows.h>

namespace z5 {
namespace {

int comNumber(const QString &name) {
    static const QRegularExpression digits(QStringLiteral("(\\d+)$"));
    const QRegularExpressionMatch m = digits.match(name);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

// Windows lists the serial ports present in HKLM\HARDWARE\DEVICEMAP\SERIALCOMM:
// each value is named by the driver's device (\Device\VCP0) and holds the port (COM4).
std::vector<SerialDeviceInfo> SystemSerialDevices::systemDevices() const {
    std::vector<SerialDeviceInfo> devices;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return devices;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t data[256];
        DWORD nameLength = sizeof name / sizeof name[0];
        DWORD dataBytes = sizeof data - sizeof data[0];
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<LPBYTE>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        data[dataBytes / sizeof data[0]] = L'\0';
        SerialDeviceInfo d;
        d.device = QString::fromWCharArray(data).trimmed();
        d.description = QString::fromWCharArray(name, int(nameLength));
        if (!d.device.isEmpty()) devices.push_back(d);
    }
    RegCloseKey(key);
    std::sort(devices.begin(), devices.end(), [](const SerialDeviceInfo &a, const SerialDeviceInfo &b) {
        return comNumber(a.device) < comNumber(b.device);
    });
    return devices;
}

} // namespace z5
