#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include "model/AtomicFileSave.h"
#include "app/ParameterFileCommands.h"
#include "parfile/ParameterFileWriter.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace z5;

namespace {

const QChar kPoint = QLatin1Char('.');

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Files other than the target left in a folder (a temporary copy must not stay).
QStringList othersIn(const QString &dir, const QString &target) {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(target);
    return names;
}

// Lowers the file size limit so that the kernel accepts only part of a write,
// like a full disk; restores it when done.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST(ParameterFileCommands, SaveAndLoadThroughTheDialogs) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.par");
    ParameterStore store;
    store.numbersLOG.setValue(7, 15, 3.25f);
    store.panelTexts.setValue(7, 4, QStringLiteral("Насос"));
    RecordingPrompts prompts;
    ParameterFileCommands files(store, prompts, kPoint);
    prompts.saveNames << path;
    ASSERT_TRUE(files.saveParameters());
    EXPECT_EQ(readAll(path), ParameterFileWriter::write(store, kPoint));

    ParameterStore loaded;
    ParameterFileCommands loader(loaded, prompts, kPoint);
    prompts.openNames << path;
    ASSERT_TRUE(loader.loadParameters());
    EXPECT_EQ(loaded.numbersLOG.value(7, 15), 3.25f);
    EXPECT_EQ(loaded.panelTexts.value(7, 4), QStringLiteral("Насос"));
    EXPECT_TRUE(prompts.messages.empty());

    // A cancelled dialog does nothing.
    EXPECT_FALSE(files.saveParameters());
    EXPECT_FALSE(loader.loadParameters());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ParameterFileCommands::fileFilter(), QStringLiteral("parametr file (*.par)"));
}

TEST(ParameterFileCommands, AFileThatCannotBeOpenedChangesNothing) {
    QTemporaryDir dir;
    ParameterStore store;
    store.numbersMOT.setValue(0, 0, 1.0f);
    const ParameterStore before = store;
    RecordingPrompts prompts;
    ParameterFileCommands files(store, prompts, kPoint);
    const QString missing = dir.filePath("missing.par");
    EXPECT_FALSE(files.loadFrom(missing));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QStringLiteral("Файл параметров не открывается: ") + missing));
    EXPECT_EQ(store, before);

    ASSERT_TRUE(writeAll(dir.filePath("short.par"), "only a header\r\n"));
    EXPECT_FALSE(files.loadFrom(dir.filePath("short.par")));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text,
              QStringLiteral("Файл параметров обрывается: нет строки 2 из 4149. Параметры не изменены."));
    EXPECT_EQ(store, before);
}

TEST(ParameterFileCommands, AFailedSaveShowsLockedAndKeepsTheOldFile) {
    QTemporaryDir dir;
    ParameterStore store;
    RecordingPrompts prompts;
    ParameterFileCommands files(store, prompts, kPoint);
    EXPECT_FALSE(files.saveTo(dir.filePath("no/such/folder/p.par")));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Файл заблокирован!!!\nПапка не существует."));

    // A folder that may not be written: the old file stays (root may write anywhere).
    if (geteuid() == 0) return;
    const QString locked = dir.filePath("locked");
    QDir().mkpath(locked);
    const QString path = locked + QStringLiteral("/p.par");
    ASSERT_TRUE(writeAll(path, "old"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(files.saveTo(path));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readAll(path), QByteArray("old"));
}

TEST(AtomicFileSave, AShortWriteLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.par");
    ASSERT_TRUE(writeAll(path, "old contents"));
    const QByteArray big(200000, 'x');  // several chunks
    QString error;
    {
        const FileSizeLimit limit(100000);
        EXPECT_FALSE(AtomicFileSave::save(path, big, &error));
    }
    EXPECT_EQ(error, QStringLiteral("Файл слишком велик.")) << error.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
    EXPECT_TRUE(othersIn(dir.path(), QStringLiteral("p.par")).isEmpty());
    EXPECT_TRUE(AtomicFileSave::save(path, big, &error));
    EXPECT_EQ(readAll(path), big);
}

TEST(AtomicFileSave, AFullDiskLeavesTheOldFileWhole) {
    // A real small file system filled to the brim; needs the right to mount.
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QString path = dir.filePath("p.par");
    const QByteArray old = ParameterFileWriter::write(ParameterStore(), kPoint);  // about 14 kB
    ASSERT_TRUE(writeAll(path, old));
    // The new file is larger than any write buffer, so it reaches the disk in parts.
    ParameterStore store;
    for (int e = 0; e < 34; ++e) store.journalTexts.setElement(e, QString(1000, QLatin1Char('j')));
    // Fill the rest so that a second complete copy no longer fits.
    QFile filler(dir.filePath("filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.close();

    RecordingPrompts prompts;
    ParameterFileCommands files(store, prompts, kPoint);
    const bool saved = files.saveTo(path);
    const QByteArray after = readAll(path);
    const QStringList others = othersIn(dir.path(), QStringLiteral("p.par"));
    umount(mountPoint.constData());
    EXPECT_FALSE(saved);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Файл заблокирован!!!\nДиск заполнен."));
    EXPECT_EQ(after, old);
    EXPECT_EQ(others, QStringList{QStringLiteral("filler")});
}
