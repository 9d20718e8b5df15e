#include "model/AtomicFileSave.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include "trends/TrendWorkbook.h"
#include "trends/WorkbookCheck.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using z5::AtomicFileSave;

namespace {

struct TargetRow {
    const char *name;      // in a fresh folder; "" stands for the folder itself
    bool refused;
    const char *kind;
};
void PrintTo(const TargetRow &row, std::ostream *os) { *os << '"' << row.name << '"'; }

class WindowsTarget : public testing::TestWithParam<TargetRow> {};

TEST_P(WindowsTarget, DevicesAndFoldersAreRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TargetRow &r = GetParam();
    const QString path = QString::fromUtf8(r.name).isEmpty() ? dir.path() : dir.filePath(QString::fromUtf8(r.name));
    const QString why = AtomicFileSave::refusedTarget(path);
    EXPECT_EQ(!why.isEmpty(), r.refused) << why.toStdString();
    if (r.refused) {
        EXPECT_TRUE(why.contains(QString::fromUtf8(r.kind))) << why.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Names, WindowsTarget,
                         testing::Values(TargetRow{"", true, "папка"}, TargetRow{"NUL", true, "устройство"},
                                         TargetRow{"nul.xlsx", true, "устройство"},
                                         TargetRow{"COM4.net", true, "устройство"},
                                         TargetRow{"con", true, "устройство"}, TargetRow{"console.net", false, ""},
                                         TargetRow{"COM10.net", false, ""}, TargetRow{"котёл.net", false, ""}));

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(WindowsSave, CyrillicFolderAndNameWithSpaces) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Инженер/Мои проекты")));
    const QString path = dir.filePath(QStringLiteral("Инженер/Мои проекты/котёл.net"));
    QString error;
    ASSERT_TRUE(AtomicFileSave::save(path, "first", &error)) << error.toStdString();
    ASSERT_TRUE(AtomicFileSave::save(path, "second", &error)) << error.toStdString();
    EXPECT_EQ(contents(path), QByteArray("second"));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{QStringLiteral("котёл.net")});
}

TEST(WindowsSave, ReadOnlyTargetKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("котёл.net"));
    ASSERT_TRUE(AtomicFileSave::save(path, "old"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    QString error;
    EXPECT_FALSE(AtomicFileSave::save(path, "new", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(path), QByteArray("old"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// A set replaced together: all files or, when one cannot be replaced, none; the
// files already replaced are put back and nothing is left beside them.
TEST(WindowsSave, ASetIsReplacedWholeOrNotAtAll) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("котёл.net"));
    const QString second = dir.filePath(QStringLiteral("котёл.par"));
    const QString fresh = dir.filePath(QStringLiteral("новый.scr"));
    QString error;
    ASSERT_TRUE(AtomicFileSave::saveAll({{first, "one"}, {second, "two"}}, &error)) << error.toStdString();
    ASSERT_TRUE(AtomicFileSave::saveAll({{first, "ONE"}, {second, "TWO"}}, &error)) << error.toStdString();
    EXPECT_EQ(contents(first), QByteArray("ONE"));
    EXPECT_EQ(contents(second), QByteArray("TWO"));

    ASSERT_TRUE(QFile::setPermissions(second, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    QString failedPath;
    EXPECT_FALSE(AtomicFileSave::saveAll({{first, "1"}, {fresh, "3"}, {second, "2"}}, &error, &failedPath));
    EXPECT_EQ(failedPath, second);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(first), QByteArray("ONE"));
    EXPECT_EQ(contents(second), QByteArray("TWO"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("котёл.net"), QStringLiteral("котёл.par")}));
    QFile::setPermissions(second, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// What a save of a process that is gone left beside a target goes with the next
// save into the folder; a temporary of a running process (this one) and names
// of other patterns stay. 999999999 is no process number Windows gives (they
// are multiples of 4).
TEST(WindowsSave, TheNextSaveRemovesWhatAStoppedSaveLeft) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString running =
        QStringLiteral(".котёл.net.~z5t-%1-0000abcd").arg(QCoreApplication::applicationPid());
    const QStringList names = {QStringLiteral(".котёл.net.~z5t-999999999-0000abcd"), QStringLiteral(".котёл.net.~z5a-999999999-0000abce"),
                               running, QStringLiteral(".котёл.net.1a2b3c")};
    for (const QString &name : names) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    const QString scratch = dir.filePath(QStringLiteral(".котёл.net.~z5d-999999999-0000abcf"));
    ASSERT_TRUE(QDir().mkpath(scratch));
    QFile inside(scratch + QStringLiteral("/tmp.abc"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.close();
    QString error;
    ASSERT_TRUE(AtomicFileSave::save(dir.filePath(QStringLiteral("котёл.net")), "new", &error)) << error.toStdString();
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral(".котёл.net.1a2b3c"), running, QStringLiteral("котёл.net")}));
}

// The workbook library's own files go into a folder of the save beside the
// target, not the temporary folder; the workbook is read back whole before it
// replaces anything, and nothing stays beside it.
TEST(WindowsSave, AWorkbookIsCheckedAndLeavesNothingBesideIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray tmp = qgetenv("TMP"), temp = qgetenv("TEMP");
    const QByteArray missing = QDir::toNativeSeparators(dir.filePath(QStringLiteral("missing"))).toLocal8Bit();
    qputenv("TMP", missing);
    qputenv("TEMP", missing);
    z5::TrendPage page;
    page.rowCount = z5::TrendPage::kRows;
    for (int r = 0; r < page.rowCount; ++r)
        for (int c = 0; c < z5::TrendPage::kChannels; ++c) page.setSample(r, c, float(r + c));
    const QString path = dir.filePath(QStringLiteral("page.xlsx"));
    QString error;
    const bool saved = z5::TrendWorkbook::write(path, page, z5::TrendChannels(), 3, &error);
    qputenv("TMP", tmp);
    qputenv("TEMP", temp);
    ASSERT_TRUE(saved) << error.toStdString();
    EXPECT_EQ(z5::WorkbookCheck::problem(path), QString());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("page.xlsx")});
}

} // namespace
