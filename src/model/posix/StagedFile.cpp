#include "model/StagedFile.h"
#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <limits>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace z5 {
namespace {

QByteArray nameOf(const QString &path) { return QFile::encodeName(path); }

// The reason in words for a system error number; a number without words is given
// with the system's own text in brackets.
QString reasonOrSystemText(int errorNumber) {
    const QString words = AtomicFileSave::reasonFor(errorNumber);
    if (!words.isEmpty()) return words;
    return QStringLiteral("Ошибка записи [%1].").arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
}

bool failed(int errorNumber, QString *why) {
    if (why) *why = reasonOrSystemText(errorNumber);
    return false;
}

} // namespace

bool StagedFile::create(QString *why) {
    constexpr int kNameAttempts = 100;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temporary_ = TemporaryName::beside(target_, TemporaryName::Kind::Staged, currentProcess());
        fd = ::open(nameOf(temporary_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        const int e = errno;
        temporary_.clear();
        return failed(e, why);
    }
    handle_ = fd;
    struct stat st {};
    mode_t mode = 0;
    if (::stat(nameOf(target_).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    return true;
}

bool StagedFile::write(const QByteArray &bytes, QString *why) {
    const int fd = static_cast<int>(handle_);
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const size_t chunk = size_t(std::min<qint64>(left, AtomicFileSave::kChunkBytes));
        const ssize_t written = ::write(fd, data, chunk);
        if (written < 0 && errno == EINTR) continue;
        // A part taken is no failure yet; the write of the rest tells why it stops.
        if (written <= 0) return failed(written == 0 ? EIO : errno, why);
        data += written;
        left -= written;
    }
    return true;
}

bool StagedFile::closeForFill(QString *why) {
    const int fd = static_cast<int>(handle_);
    handle_ = kNoHandle;
    if (::close(fd) != 0) return failed(errno, why);
    return true;
}

bool StagedFile::finish(QString *why) {
    if (handle_ < 0) {
        handle_ = ::open(nameOf(temporary_).constData(), O_RDONLY);
        if (handle_ < 0) return failed(errno, why);
    }
    const int fd = static_cast<int>(handle_);
    handle_ = kNoHandle;
    if (::fsync(fd) != 0 && errno != EINVAL) {
        const int e = errno;
        ::close(fd);
        return failed(e, why);
    }
    if (::close(fd) != 0) return failed(errno, why);
    return true;
}

bool StagedFile::renameOver(QString *why) {
    if (!moveOver(temporary_, target_, why)) return false;
    temporary_.clear();
    return true;
}

void StagedFile::discard() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = kNoHandle;
    if (!temporary_.isEmpty()) ::unlink(nameOf(temporary_).constData());
    temporary_.clear();
}

// A hard link: the target stays in place under its own name until it is replaced.
// Where the file system has no hard links (a FAT stick, some network shares) the
// old bytes are copied instead.
QString StagedFile::keepAside(const QString &target, QString *why) {
    const QString aside = TemporaryName::beside(target, TemporaryName::Kind::Aside, currentProcess());
    if (::link(nameOf(target).constData(), nameOf(aside).constData()) == 0) return aside;
    QFile old(target);
    if (!old.open(QIODevice::ReadOnly)) {
        failed(errno ? errno : EACCES, why);
        return QString();
    }
    const QByteArray bytes = old.readAll();
    StagedFile copy(target);
    if (!copy.create(why) || !copy.write(bytes, why) || !copy.finish(why) || !moveOver(copy.temporary(), aside, why))
        return QString();
    copy.release();
    return aside;
}

bool StagedFile::moveOver(const QString &from, const QString &to, QString *why) {
    if (::rename(nameOf(from).constData(), nameOf(to).constData()) != 0) return failed(errno, why);
    return true;
}

void StagedFile::remove(const QString &path) { ::unlink(nameOf(path).constData()); }

bool StagedFile::makeFolder(const QString &path, QString *why) {
    if (::mkdir(nameOf(path).constData(), 0700) != 0) return failed(errno, why);
    return true;
}

void StagedFile::syncFolder(const QString &folder) {
    const int fd = ::open(nameOf(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

qint64 StagedFile::currentProcess() { return qint64(::getpid()); }

bool StagedFile::processRuns(qint64 process) {
    if (process <= 0 || process > std::numeric_limits<pid_t>::max()) return false;
    return ::kill(pid_t(process), 0) == 0 || errno == EPERM;
}

} // namespace z5
