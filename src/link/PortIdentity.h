#pragma once
#include <QString>
#include <QStringList>

namespace z5 {

// One serial device, whatever name it was given by: a link, a stable by-id name
// and the plain name are one port (on Windows "COM5", "com5" and "\\.\COM5").
struct PortIdentity {
    // The name to open: the resolved device path (on Windows COMn).
    QString openName;
    // Stands for the device itself in a lock's name: its device number where the
    // system has one, otherwise its resolved name, made safe for a file name.
    QString lockKey;
};

// What the name given stands for as things are now; a name that resolves to
// nothing stands for itself.
PortIdentity identifyPort(const QString &device);

// Whether a device is present under this name now (a character device on
// Unix, a port in the system's device map on Windows).
bool adapterPresent(const QString &device);

// Folders a port lock may be kept in, best first; the first writable one is used.
QStringList portLockFolders();

} // namespace z5
