#include "model/StagedFile.h"
#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
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
    const QFileInfo info(target_);
    QByteArray pattern = nameOf(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return failed(errno, why);
    handle_ = fd;
    temporary_ = QFile::decodeName(pattern);
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
    if (::rename(nameOf(temporary_).constData(), nameOf(target_).constData()) != 0) return failed(errno, why);
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
bool StagedFile::keepAside(const QString &target, const QString &aside) {
    return ::link(nameOf(target).constData(), nameOf(aside).constData()) == 0;
}

void StagedFile::putBack(const QString &aside, const QString &target) {
    ::rename(nameOf(aside).constData(), nameOf(target).constData());
}

void StagedFile::remove(const QString &path) { ::unlink(nameOf(path).constData()); }

} // namespace z5
