#include "link/ComPortCatalog.h"
#include "link/SerialDevices.h"
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>

namespace z5 {
namespace {

// The ports the registry lists in HKLM\HARDWARE\DEVICEMAP\SERIALCOMM: every
// value is named by the driver's device (\Device\VCP0) and holds the port (COM4).
std::vector<QString> registryPorts() {
    std::vector<QString> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return ports;
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
        ports.push_back(QString::fromWCharArray(data).trimmed());
    }
    RegCloseKey(key);
    return ports;
}

QString deviceProperty(HDEVINFO set, SP_DEVINFO_DATA &device, DWORD property) {
    wchar_t text[512];
    DWORD type = 0;
    DWORD bytes = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, reinterpret_cast<PBYTE>(text),
                                           sizeof text - sizeof text[0], &bytes) ||
        type != REG_SZ)
        return QString();
    text[bytes / sizeof text[0]] = L'\0';
    return QString::fromWCharArray(text).trimmed();
}

// The port the device got, from its own registry key ("PortName").
QString portName(HDEVINFO set, SP_DEVINFO_DATA &device) {
    const HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE) return QString();
    wchar_t name[256];
    DWORD type = 0;
    DWORD bytes = sizeof name - sizeof name[0];
    QString port;
    if (RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<LPBYTE>(name), &bytes) == ERROR_SUCCESS &&
        type == REG_SZ) {
        name[bytes / sizeof name[0]] = L'\0';
        port = QString::fromWCharArray(name).trimmed();
    }
    RegCloseKey(key);
    return port;
}

// The adapters present in the device manager's class of ports (serial and printer ports).
std::vector<ComPortCatalog::Adapter> presentAdapters() {
    std::vector<ComPortCatalog::Adapter> adapters;
    const HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return adapters;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        ComPortCatalog::Adapter a;
        a.portName = portName(set, device);
        a.friendlyName = deviceProperty(set, device, SPDRP_FRIENDLYNAME);
        a.manufacturer = deviceProperty(set, device, SPDRP_MFG);
        wchar_t instance[512];
        if (SetupDiGetDeviceInstanceIdW(set, &device, instance, sizeof instance / sizeof instance[0], nullptr))
            a.instanceId = QString::fromWCharArray(instance);
        adapters.push_back(a);
    }
    SetupDiDestroyDeviceInfoList(set);
    return adapters;
}

} // namespace

// Each adapter under the name the device manager shows ("USB-SERIAL CH340" on
// COM5); a port the registry lists that no adapter claims, by its name alone.
std::vector<SerialDeviceInfo> SystemSerialDevices::systemDevices() const {
    return ComPortCatalog::merge(presentAdapters(), registryPorts());
}

} // namespace z5
