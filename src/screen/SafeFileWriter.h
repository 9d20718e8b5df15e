#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

// Replaces a file as a whole or not at all: the bytes go to a temporary file beside
// it, every write's count is checked (a full disk may accept only part), and only a
// complete copy is renamed over the old file.
class SafeFileWriter {
public:
    // False with a reason in error when anything failed; the old file is then untouched.
    static bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);
};

} // namespace z5
