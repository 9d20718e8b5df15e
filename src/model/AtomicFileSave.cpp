#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace z5 {
namespace {

constexpr int kMaxLinkHops = 40;

QByteArray nameOf(const QString &path) { return QFile::encodeName(path); }

// The reason in words for a system error number; a number without words is given
// with the system's own text in brackets.
QString reasonOrSystemText(int errorNumber) {
    const QString words = AtomicFileSave::reasonFor(errorNumber);
    if (!words.isEmpty()) return words;
    return QStringLiteral("Ошибка записи [%1].").arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
}

// A temporary file beside the target, created empty with the permissions the
// target has (or a new file would get), and removed unless it was renamed.
class Staged {
public:
    explicit Staged(const QString &target) : target_(target) {}
    ~Staged() { discard(); }
    Staged(const Staged &) = delete;
    Staged &operator=(const Staged &) = delete;
    Staged(Staged &&other) noexcept : target_(other.target_), temporary_(other.temporary_), fd_(other.fd_) {
        other.temporary_.clear();
        other.fd_ = -1;
    }

    bool create(QString *why) {
        const QFileInfo info(target_);
        QByteArray pattern = nameOf(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
        fd_ = ::mkstemp(pattern.data());
        if (fd_ < 0) return failed(errno, why);
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
        ::fchmod(fd_, mode);
        return true;
    }

    bool write(const QByteArray &bytes, QString *why) {
        const char *data = bytes.constData();
        qint64 left = bytes.size();
        while (left > 0) {
            const size_t chunk = size_t(std::min<qint64>(left, AtomicFileSave::kChunkBytes));
            const ssize_t written = ::write(fd_, data, chunk);
            if (written < 0 && errno == EINTR) continue;
            // A part taken is no failure yet; the write of the rest tells why it stops.
            if (written <= 0) return failed(written == 0 ? EIO : errno, why);
            data += written;
            left -= written;
        }
        return true;
    }

    // Closes the file for someone else to fill it by name.
    bool closeForFill(QString *why) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) return failed(errno, why);
        return true;
    }

    // What was written reaches the disk and the file closes cleanly: the last
    // chance for the disk to say it did not take the bytes.
    bool finish(QString *why) {
        if (fd_ < 0) {
            fd_ = ::open(nameOf(temporary_).constData(), O_RDONLY);
            if (fd_ < 0) return failed(errno, why);
        }
        if (::fsync(fd_) != 0 && errno != EINVAL) {
            const int e = errno;
            ::close(fd_);
            fd_ = -1;
            return failed(e, why);
        }
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) return failed(errno, why);
        return true;
    }

    bool renameOver(QString *why) {
        if (::rename(nameOf(temporary_).constData(), nameOf(target_).constData()) != 0) return failed(errno, why);
        temporary_.clear();
        return true;
    }

    void discard() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        if (!temporary_.isEmpty()) ::unlink(nameOf(temporary_).constData());
        temporary_.clear();
    }

    const QString &temporary() const { return temporary_; }
    const QString &target() const { return target_; }

private:
    static bool failed(int errorNumber, QString *why) {
        if (why) *why = reasonOrSystemText(errorNumber);
        return false;
    }
    QString target_;
    QString temporary_;
    int fd_ = -1;
};

// The checks before anything is written; empty when the target may be replaced.
QString checkTarget(const QString &path) {
    if (path.isEmpty()) return QStringLiteral("Имя файла не задано.");
    return AtomicFileSave::refusedTarget(path);
}

bool fail(QString *error, const QString &why) {
    if (error) *error = why;
    return false;
}

} // namespace

QString AtomicFileSave::reasonFor(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Диск заполнен.");
    case EROFS: return QStringLiteral("Диск только для чтения.");
    case EACCES:
    case EPERM: return QStringLiteral("Нет прав на запись.");
    case EFBIG: return QStringLiteral("Файл слишком велик.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Папка не существует.");
    case EISDIR: return QStringLiteral("Это папка, а не файл.");
    case ENAMETOOLONG: return QStringLiteral("Слишком длинное имя файла.");
    case EIO: return QStringLiteral("Ошибка ввода-вывода на диске.");
    case ELOOP: return QStringLiteral("Ссылки на файл замкнуты в круг.");
    default: return QString();
    }
}

// What may not be replaced at all is decided per platform (refusedTarget).

QString AtomicFileSave::resolvedTarget(const QString &path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(nameOf(current).constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        QByteArray target(qMax<qint64>(st.st_size, 256) + 1, '\0');
        const ssize_t n = ::readlink(nameOf(current).constData(), target.data(), size_t(target.size()));
        if (n <= 0 || n >= target.size()) return current;
        target.truncate(int(n));
        const QString next = QFile::decodeName(target);
        current = QDir::cleanPath(QDir::isAbsolutePath(next) ? next : QFileInfo(current).absoluteDir().filePath(next));
    }
    return current;
}

bool AtomicFileSave::save(const QString &path, const QByteArray &bytes, QString *error) {
    const QString refused = checkTarget(path);
    if (!refused.isEmpty()) return fail(error, refused);
    Staged staged(resolvedTarget(path));
    QString why;
    if (!staged.create(&why) || !staged.write(bytes, &why) || !staged.finish(&why) || !staged.renameOver(&why))
        return fail(error, why);
    return true;
}

bool AtomicFileSave::saveWith(const QString &path, const FileFiller &fill, QString *error) {
    const QString refused = checkTarget(path);
    if (!refused.isEmpty()) return fail(error, refused);
    Staged staged(resolvedTarget(path));
    QString why;
    if (!staged.create(&why) || !staged.closeForFill(&why)) return fail(error, why);
    if (!fill(staged.temporary(), &why)) return fail(error, why);
    // The filler may have replaced the file by name: it must still be a plain file.
    const QString changed = refusedTarget(staged.temporary());
    if (!changed.isEmpty() || !QFileInfo::exists(staged.temporary()))
        return fail(error, QStringLiteral("Ошибка записи: временный файл пропал."));
    if (!staged.finish(&why) || !staged.renameOver(&why)) return fail(error, why);
    return true;
}

bool AtomicFileSave::saveAll(const std::vector<Entry> &entries, QString *error, QString *failedPath) {
    auto failOn = [&](const QString &path, const QString &why) {
        if (failedPath) *failedPath = path;
        return fail(error, why);
    };
    for (const Entry &e : entries) {
        const QString refused = checkTarget(e.path);
        if (!refused.isEmpty()) return failOn(e.path, refused);
    }
    // Every file complete beside its target first: a full disk stops here, before
    // any old file was replaced.
    std::vector<Staged> staged;
    staged.reserve(entries.size());
    for (const Entry &e : entries) {
        staged.emplace_back(resolvedTarget(e.path));
        QString why;
        if (!staged.back().create(&why) || !staged.back().write(e.bytes, &why) || !staged.back().finish(&why))
            return failOn(e.path, why);
    }
    // Then the renames, each old file kept aside by a second name until all are done.
    std::vector<QString> keptAside(entries.size());
    std::vector<bool> existed(entries.size(), false);
    size_t done = 0;
    QString why;
    for (; done < staged.size(); ++done) {
        const QString &target = staged[done].target();
        existed[done] = QFileInfo::exists(target);
        if (existed[done]) {
            const QString aside = staged[done].temporary() + QStringLiteral(".old");
            if (::link(nameOf(target).constData(), nameOf(aside).constData()) == 0) keptAside[done] = aside;
        }
        if (!staged[done].renameOver(&why)) break;
    }
    const bool allDone = done == staged.size();
    for (size_t i = 0; i < done; ++i) {
        const QByteArray target = nameOf(staged[i].target());
        if (keptAside[i].isEmpty()) {
            if (!allDone && !existed[i]) ::unlink(target.constData());
        } else if (allDone) {
            ::unlink(nameOf(keptAside[i]).constData());
        } else {
            ::rename(nameOf(keptAside[i]).constData(), target.constData());
        }
    }
    if (!allDone) {
        if (!keptAside[done].isEmpty()) ::unlink(nameOf(keptAside[done]).constData());
        return failOn(entries[done].path, why);
    }
    return true;
}

} // namespace z5
