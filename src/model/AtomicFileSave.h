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
    // False, with the reason in error, when anything failed; the old file is then untouched.
    static bool save(const QString &path, const QByteArray &bytes, QString *error = nullptr);
};

} // namespace z5
