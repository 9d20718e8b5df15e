#include "model/AtomicFileSave.h"
#include <QFileInfo>

namespace z5 {

// A symbolic link is written through to the file it leads to; a shortcut (.lnk)
// is a file of its own and is replaced like any other.
QString AtomicFileSave::resolvedTarget(const QString &path) {
    const QFileInfo info(path);
    if (info.isSymbolicLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty()) return target;
    }
    return info.absoluteFilePath();
}

} // namespace z5
