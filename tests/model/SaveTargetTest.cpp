// Saving never replaces what is not a plain file, says why a save failed, and
// leaves no partial file and no mixed set when the program is killed midway.
#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
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

namespace {

QByteArray contentOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList hiddenEntries(const QString &dir) {
    QStringList found = QDir(dir).entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::System |
                                                                         QDir::NoDotAndDotDot);
    found.sort();
    return found;
}

// A save in a child process that kills itself (SIGKILL) at step `killAt` of
// the save; with 0 it runs to the end and exits with the number of its steps.
// The parent waits for it, so its process number is gone afterwards.
int killedSave(const std::vector<AtomicFileSave::Entry> &entries, int killAt) {
    const pid_t child = ::fork();
    if (child == 0) {
        static int steps = 0;
        static int killStep = 0;
        killStep = killAt;
        AtomicFileSave::setStepHook([] {
            if (++steps == killStep) ::raise(SIGKILL);
        });
        if (entries.size() == 1) AtomicFileSave::save(entries[0].path, entries[0].bytes);
        else AtomicFileSave::saveAll(entries);
        ::_exit(steps);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// A save killed at any of its steps leaves no partial file: each target holds
// its old bytes or its new ones. The next save into the folder finishes or undoes
// what the killed one began, so a set is whole, old or new, and removes what it
// left beside the targets, and nothing else: not the user's files, not a
// temporary of a program still running (process 1), not a name of another
// pattern, not a link. 999999998 and 999999999 are above any process number.
TEST(SaveTarget, AKilledSaveLeavesNoPartialFileNoMixedSetAndNothingAfterTheNextSave) {
    struct Row {
        const char *name;
        int files;
        int bytes;
    };
    const Row rows[] = {{"a set of 6 tables", 6, 17000}, {"a parameter file", 1, 120000}};
    const QStringList kept = {QStringLiteral(".other.1a2b3c"), QStringLiteral(".table-00.bin.~z5t-1-0000abcd"),
                              QStringLiteral(".table-00.bin.~z5t-999999999-0000abcd")};
    for (const Row &row : rows) {
        auto oldBytes = [&](int i) { return QByteArray(row.bytes, 'o') + QByteArray::number(i); };
        std::vector<AtomicFileSave::Entry> entries;
        auto setUp = [&](const QString &dir) {
            entries.clear();
            for (int i = 0; i < row.files; ++i) {
                const QString path = QDir(dir).filePath(QStringLiteral("table-%1.bin").arg(i, 2, 10, QLatin1Char('0')));
                writeFile(path, oldBytes(i));
                entries.push_back({path, QByteArray(row.bytes, 'n') + QByteArray::number(i)});
            }
        };
        QTemporaryDir counted;
        setUp(counted.path());
        const int steps = killedSave(entries, 0);
        ASSERT_GT(steps, row.files);
        int oldSets = 0, newSets = 0, mixedUntilTheNextSave = 0;
        for (int killAt = 1; killAt <= steps; ++killAt) {
            SCOPED_TRACE(std::string(row.name) + ", killed at step " + std::to_string(killAt) + " of " + std::to_string(steps));
            QTemporaryDir dir;
            setUp(dir.path());
            writeFile(dir.filePath(QStringLiteral("notes.txt")), "the user's");
            writeFile(dir.filePath(kept[0]), "another program's");
            writeFile(dir.filePath(kept[1]), "a running save's");
            ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("notes.txt")), dir.filePath(kept[2])));
            // A workbook's folder for the library's files, left by a save killed earlier.
            ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral(".table-00.bin.~z5d-999999998-0000abcd/tmp.x")));
            EXPECT_EQ(killedSave(entries, killAt), -1);
            int newFiles = 0;
            for (int i = 0; i < row.files; ++i) {
                const QByteArray now = contentOf(entries[i].path);
                EXPECT_TRUE(now == entries[i].bytes || now == oldBytes(i)) << i;
                newFiles += now == entries[i].bytes;
            }
            mixedUntilTheNextSave += newFiles > 0 && newFiles < row.files;
            ASSERT_TRUE(AtomicFileSave::save(dir.filePath(QStringLiteral("next.bin")), "next"));
            const bool isNew = contentOf(entries[0].path) == entries[0].bytes;
            (isNew ? newSets : oldSets) += 1;
            for (int i = 0; i < row.files; ++i) EXPECT_EQ(contentOf(entries[i].path), isNew ? entries[i].bytes : oldBytes(i)) << i;
            EXPECT_EQ(hiddenEntries(dir.path()), kept);
            EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("notes.txt"))), QByteArray("the user's"));
        }
        std::printf("%s: %d kills left the old set, %d the new one (%d mixed until the next save)\n", row.name, oldSets,
                    newSets, mixedUntilTheNextSave);
    }
}
