// Every writer of a user's file against every kind of target it may meet: what is
// no plain file is refused and left as it was, a link is written through, a
// write that fails halfway keeps the old file and leaves nothing beside it, and
// a name as long as a file name may be is saved.
#include "link/TrafficLog.h"
#include "link/TrafficTrace.h"
#include "model/AtomicFileSave.h"
#include "model/VirtualClock.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileWriter.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCsv.h"
#include "trends/TrendPage.h"
#include "trends/TrendPdf.h"
#include "trends/TrendWorkbook.h"
#include "trends/WorkbookCheck.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace z5;

namespace {

using Writer = std::function<bool(const QString &path, QString *why)>;

struct WriterRow {
    const char *name;
    Writer write;
};

TrendPage fullPage() {
    TrendPage p;
    p.rowCount = TrendPage::kRows;
    p.pageNumber = 2;
    p.time = {6, 12, 26, 14, 5, 0, 14, 15, 0, 14, 25, 0, 14, 35, 0};
    for (int r = 0; r < p.rowCount; ++r)
        for (int c = 0; c < TrendPage::kChannels; ++c) p.setSample(r, c, float(r * 0.5 + c));
    return p;
}

// Every writer with content over the size limit of the full-disk row.
std::vector<WriterRow> writers() {
    static const TrendPage page = fullPage();
    static const TrendChannels channels;
    const QByteArray big(64 * 1024, 'x');
    return {
        {"parameter file",
         [](const QString &p, QString *why) { return AtomicFileSave::save(p, ParameterFileWriter::write(ParameterStore(), u'.'), why); }},
        {"screen file", [](const QString &p, QString *why) { return ScreenFile::save(p, ScreenModel(), why); }},
        {"stream", [big](const QString &p, QString *why) { return AtomicFileSave::save(p, big, why); }},
        {"csv", [](const QString &p, QString *why) { return TrendCsv::write(p, page, channels, why); }},
        {"xlsx", [](const QString &p, QString *why) { return TrendWorkbook::write(p, page, channels, 3, why); }},
        {"pdf", [](const QString &p, QString *why) { return TrendPdf::write(p, page, 0, channels, why); }},
        {"trace",
         [](const QString &p, QString *why) {
             VirtualClock clock;
             TrafficLog log(clock);
             TrafficTrace trace(log, p);
             for (int i = 0; i < 400; ++i) log.recordSent(QByteArray(40, char(i)));
             return trace.finish(why);
         }},
        {"tables",
         [big](const QString &p, QString *why) {
             return AtomicFileSave::saveAll({{p, big}, {p + QStringLiteral(".2"), big}}, why);
         }},
    };
}

QByteArray contentOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

mode_t kindOf(const QString &path, bool followLinks = true) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    const int r = followLinks ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st);
    return r == 0 ? (st.st_mode & S_IFMT) : 0;
}

// Hidden files and folders: what a save keeps beside its target while it works.
QStringList leftovers(const QString &dir) {
    return QDir(dir).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Runs a writer with a file size limit, so a write fails halfway even for root.
bool withSizeLimit(const Writer &write, const QString &path, rlim_t bytes, QString *why) {
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = write(path, why);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return written;
}

// A 64 KiB tmpfs mounted on dir; false where this machine cannot mount one.
bool mountSmall(const QString &dir) {
    const QByteArray mountPoint = QFile::encodeName(dir);
    return ::geteuid() == 0 &&
           std::system(("mount -t tmpfs -o size=64k tmpfs " + mountPoint + " 2>/dev/null").constData()) == 0;
}

// Takes every byte the file system of dir has left.
void fill(const QString &dir) {
    QFile filler(QDir(dir).filePath(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray chunk(4096, 'f');
    while (filler.write(chunk) > 0) {
    }
}

} // namespace

TEST(ReplaceTarget, WhatIsNoPlainFileIsRefusedAndLeftAsItWas) {
    struct Target {
        const char *name;
        std::function<QString(const QString &dir)> make;
    };
    const std::vector<Target> targets = {
        {"device", [](const QString &) { return QStringLiteral("/dev/null"); }},
        {"fifo", [](const QString &d) { ::mkfifo(QFile::encodeName(d + "/t.out").constData(), 0600); return d + "/t.out"; }},
        {"folder", [](const QString &d) { QDir(d).mkdir("t.out"); return d + "/t.out"; }},
        {"link to a fifo",
         [](const QString &d) {
             ::mkfifo(QFile::encodeName(d + "/fifo").constData(), 0600);
             QFile::link(d + "/fifo", d + "/t.out");
             return d + "/t.out";
         }},
    };
    for (const WriterRow &w : writers())
        for (const Target &t : targets) {
            SCOPED_TRACE(std::string(w.name) + " over a " + t.name);
            QTemporaryDir dir;
            const QString path = t.make(dir.path());
            const mode_t before = kindOf(path, false);
            QString why;
            EXPECT_FALSE(w.write(path, &why));
            EXPECT_TRUE(why.startsWith(path + QStringLiteral(" — "))) << why.toStdString();
            EXPECT_EQ(kindOf(path, false), before);
            EXPECT_TRUE(leftovers(dir.path()).isEmpty());
        }
}

TEST(ReplaceTarget, ALinkIsWrittenThroughAndStaysALink) {
    for (const WriterRow &w : writers())
        for (const bool dangling : {false, true}) {
            SCOPED_TRACE(std::string(w.name) + (dangling ? " through a dangling link" : " through a link"));
            QTemporaryDir dir;
            QDir(dir.path()).mkdir("real");
            const QString target = dir.filePath("real/file.out");
            if (!dangling) writeFile(target, "old");
            const QString link = dir.filePath("link.out");
            ASSERT_EQ(::symlink("real/file.out", QFile::encodeName(link).constData()), 0);
            QString why;
            ASSERT_TRUE(w.write(link, &why)) << why.toStdString();
            EXPECT_EQ(kindOf(link, false), mode_t(S_IFLNK));
            EXPECT_EQ(kindOf(target, false), mode_t(S_IFREG));
            EXPECT_NE(contentOf(target), QByteArray("old"));
            EXPECT_FALSE(contentOf(target).isEmpty());
        }
}

// Every writer under a size limit below its file, and the workbook under limits
// its zip is below but one of its parts is not: the library's own files of the
// parts are cut then, not the zip.
TEST(ReplaceTarget, ASizeLimitKeepsTheOldFileAndLeavesNothingBesideIt) {
    struct Limit {
        std::string writer;
        rlim_t bytes;
    };
    std::vector<Limit> limits;
    for (const WriterRow &w : writers()) limits.push_back({w.name, 256});
    limits.push_back({"xlsx", 8192});
    limits.push_back({"xlsx", 40000});
    for (const Limit &limit : limits) {
        SCOPED_TRACE(limit.writer + " under " + std::to_string(limit.bytes) + " bytes");
        const auto all = writers();
        const WriterRow &w = *std::find_if(all.begin(), all.end(), [&](const WriterRow &r) { return r.name == limit.writer; });
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.out");
        writeFile(path, "old");
        writeFile(path + ".2", "old 2");
        QString why;
        EXPECT_FALSE(withSizeLimit(w.write, path, limit.bytes, &why));
        EXPECT_EQ(why, QStringLiteral("Файл слишком велик."));
        EXPECT_EQ(contentOf(path), QByteArray("old"));
        EXPECT_EQ(contentOf(path + ".2"), QByteArray("old 2"));
        EXPECT_TRUE(leftovers(dir.path()).isEmpty()) << leftovers(dir.path()).join(' ').toStdString();
    }
}

// A full disk under the target fails every writer with its reason; a full
// temporary folder elsewhere fails none, and the workbook comes out whole.
TEST(ReplaceTarget, AFullDiskIsNamedAndAFullTemporaryFolderDoesNotMatter) {
    QTemporaryDir full, elsewhere;
    if (!mountSmall(full.path())) GTEST_SKIP() << "cannot mount a tmpfs here";
    const QString path = full.filePath("kept.out");
    writeFile(path, "old");
    writeFile(path + ".2", "old 2");
    fill(full.path());
    const bool hadTemporaryFolder = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray temporaryFolder = qgetenv("TMPDIR");
    for (const WriterRow &w : writers()) {
        SCOPED_TRACE(w.name);
        QString why;
        EXPECT_FALSE(w.write(path, &why));
        EXPECT_EQ(why, QStringLiteral("Диск заполнен."));
        EXPECT_EQ(contentOf(path), QByteArray("old"));
        EXPECT_EQ(contentOf(path + ".2"), QByteArray("old 2"));
        EXPECT_TRUE(leftovers(full.path()).isEmpty()) << leftovers(full.path()).join(' ').toStdString();

        qputenv("TMPDIR", QFile::encodeName(full.path()));
        const QString saved = elsewhere.filePath("saved.out");
        EXPECT_TRUE(w.write(saved, &why)) << why.toStdString();
        if (hadTemporaryFolder) qputenv("TMPDIR", temporaryFolder);
        else qunsetenv("TMPDIR");
        if (std::string(w.name) == "xlsx") {
            EXPECT_EQ(WorkbookCheck::problem(saved), QString());
        }
        EXPECT_TRUE(leftovers(elsewhere.path()).isEmpty());
    }
    std::system(("umount " + QFile::encodeName(full.path())).constData());
}

// The temporary name beside a long name is cut to fit; the set also writes the
// name with ".2", 255 bytes.
TEST(ReplaceTarget, ANameAsLongAsAFileNameMayBeIsSaved) {
    const QString name = QString(124, QChar(0x0436)) + QStringLiteral("x.out");
    ASSERT_EQ(name.toUtf8().size(), 253);
    for (const WriterRow &w : writers()) {
        SCOPED_TRACE(w.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        writeFile(path, "old");
        QString why;
        EXPECT_TRUE(w.write(path, &why)) << why.toStdString();
        EXPECT_NE(contentOf(path), QByteArray("old"));
        EXPECT_TRUE(leftovers(dir.path()).isEmpty());
    }
}

TEST(ReplaceTarget, AReadOnlyFolderIsNamed) {
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::geteuid() != 0 || std::system(("mount -t tmpfs -o ro,size=64k tmpfs " + mountPoint + " 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "cannot mount a read-only tmpfs here";
    for (const WriterRow &w : writers()) {
        SCOPED_TRACE(w.name);
        QString why;
        EXPECT_FALSE(w.write(dir.filePath("t.out"), &why));
        EXPECT_EQ(why, QStringLiteral("Диск только для чтения."));
    }
    std::system(("umount " + mountPoint).constData());
}

TEST(ReplaceTarget, ATableSetIsReplacedWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString a = dir.filePath("table-00.bin"), b = dir.filePath("table-01.bin");
    writeFile(a, "old a");
    QDir(dir.path()).mkdir("table-01.bin");
    QString why, failed;
    EXPECT_FALSE(AtomicFileSave::saveAll({{a, "new a"}, {b, "new b"}}, &why, &failed));
    EXPECT_EQ(failed, b);
    EXPECT_EQ(contentOf(a), QByteArray("old a"));
    QDir(dir.path()).rmdir("table-01.bin");
    ASSERT_TRUE(AtomicFileSave::saveAll({{a, "new a"}, {b, "new b"}}, &why)) << why.toStdString();
    EXPECT_EQ(contentOf(a), QByteArray("new a"));
    EXPECT_EQ(contentOf(b), QByteArray("new b"));
    EXPECT_TRUE(leftovers(dir.path()).isEmpty());
}
