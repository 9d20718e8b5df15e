#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

// Replaces a file as a whole or not at all. The bytes go unbuffered to a temporary
// file beside the target and every write's count is checked: on a full disk a
// write may take only part of the bytes, and a buffered save could then commit a
// truncated file. Only a complete copy is renamed over the old file.
class AtomicFileSave {
public:
    static constexpr qint64 kChunkBytes = 64 * 1024;
    // False, with the reason in words in error, when anything failed; the old file
    // is then untouched. A target that exists but is no regular file (a device, a
    // fifo, a socket, a folder) is refused before anything is written: renaming
    // over it would replace the device node with a plain file.
    static bool save(const QString &path, const QByteArray &bytes, QString *error = nullptr);

    // Why a save failed, for the system error number of the step that failed.
    static QString reasonFor(int errorNumber);
    // Empty for a missing or regular target; else why it may not be saved over.
    static QString refusedTarget(const QString &path);
};

} // namespace z5
