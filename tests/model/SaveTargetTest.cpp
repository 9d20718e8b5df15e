// Saving never replaces what is not a plain file, and says why a save failed.
#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using z5::AtomicFileSave;

namespace {

mode_t kindOf(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

struct RefusedRow {
    const char *name;
    std::function<QString(const QString &dir)> make;  // the target's path
    const char *kind;
};

} // namespace

TEST(SaveTarget, ExistingTargetsThatAreNoRegularFileAreRefusedAndLeftAsTheyWere) {
    QTemporaryDir dir;
    const std::vector<RefusedRow> rows = {
        {"folder", [](const QString &d) { QDir(d).mkdir("folder"); return d + "/folder"; }, "папка"},
        {"fifo", [](const QString &d) { ::mkfifo(QFile::encodeName(d + "/fifo").constData(), 0600); return d + "/fifo"; },
         "канал (fifo)"},
        {"socket",
         [](const QString &d) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un addr{};
             addr.sun_family = AF_UNIX;
             const QByteArray p = QFile::encodeName(d + "/sock");
             std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", p.constData());
             ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
             ::close(fd);
             return d + "/sock";
         },
         "сокет"},
        {"character device", [](const QString &) { return QStringLiteral("/dev/null"); }, "символьное устройство"},
        {"link to a fifo",
         [](const QString &d) {
             ::mkfifo(QFile::encodeName(d + "/fifo2").constData(), 0600);
             QFile::link(d + "/fifo2", d + "/link");
             return d + "/link";
         },
         "канал (fifo)"},
    };
    for (const RefusedRow &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = row.make(dir.path());
        const mode_t before = kindOf(path);
        ASSERT_NE(before, 0u);
        QString why;
        EXPECT_FALSE(AtomicFileSave::save(path, "data", &why));
        EXPECT_EQ(why, QStringLiteral("%1 — %2, а не обычный файл; записывать в него нельзя.")
                            .arg(path, QString::fromUtf8(row.kind)));
        EXPECT_EQ(kindOf(path), before);
    }
    // Nothing was left beside the targets either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(), 4);
}

TEST(SaveTarget, AMissingOrRegularTargetIsSaved) {
    QTemporaryDir dir;
    const QString path = dir.filePath("new.bin");
    EXPECT_TRUE(AtomicFileSave::refusedTarget(path).isEmpty());
    EXPECT_TRUE(AtomicFileSave::save(path, "one"));
    EXPECT_TRUE(AtomicFileSave::save(path, "two"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("two"));
}

TEST(SaveTarget, FailureReasonsAreWords) {
    const std::vector<std::pair<int, const char *>> rows = {
        {ENOSPC, "Диск заполнен."},       {EDQUOT, "Диск заполнен."},  {EROFS, "Диск только для чтения."},
        {EACCES, "Нет прав на запись."}, {EPERM, "Нет прав на запись."}, {EFBIG, "Файл слишком велик."},
        {ENOENT, "Папка не существует."}, {EINVAL, ""},
    };
    for (const auto &[number, words] : rows) EXPECT_EQ(AtomicFileSave::reasonFor(number), QString::fromUtf8(words)) << number;
}

TEST(SaveTarget, AReadOnlyFileSystemIsNamed) {
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::geteuid() != 0 || std::system(("mount -t tmpfs -o ro,size=64k tmpfs " + mountPoint + " 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "cannot mount a read-only tmpfs here";
    QString why;
    const bool saved = AtomicFileSave::save(dir.filePath("p.par"), "data", &why);
    std::system(("umount " + mountPoint).constData());
    EXPECT_FALSE(saved);
    EXPECT_EQ(why, QStringLiteral("Диск только для чтения."));
}
