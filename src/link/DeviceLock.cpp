#include "link/DeviceLock.h"
#include <QFileInfo>
#include <QLockFile>

namespace z5 {

DeviceLock::DeviceLock() = default;
DeviceLock::~DeviceLock() { release(); }

QString DeviceLock::lockPath(const PortIdentity &port) {
    for (const QString &folder : portLockFolders()) {
        const QFileInfo info(folder);
        if (info.isDir() && info.isWritable())
            return folder + QStringLiteral("/z5-port-") + port.lockKey + QStringLiteral(".lock");
    }
    return QString();
}

bool DeviceLock::take(const PortIdentity &port) {
    release();
    holder_.clear();
    const QString path = lockPath(port);
    if (path.isEmpty()) return true;
    auto lock = std::make_unique<QLockFile>(path);
    // Held for as long as the port is open: never stale by age, only when its holder is gone.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError) return true;
    qint64 pid = 0;
    QString host;
    QString program;
    if (lock->getLockInfo(&pid, &host, &program))
        holder_ = program.isEmpty() ? QStringLiteral("процесс %1").arg(pid)
                                    : QStringLiteral("%1, процесс %2").arg(program).arg(pid);
    return false;
}

void DeviceLock::release() {
    if (lock_) lock_->unlock();
    lock_.reset();
}

} // namespace z5
