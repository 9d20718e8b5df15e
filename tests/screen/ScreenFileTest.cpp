#include "screen/ScreenBuilder.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenModel.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

using z5::ScadaParameter;
using z5::ScreenFile;
using z5::ScreenGeometry;
using z5::ScreenModel;

namespace {

QList<QByteArray> linesOf(const QByteArray &bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QByteArray withLine(const QByteArray &file, int line, const QByteArray &value) {
    QList<QByteArray> lines = file.split('\n');
    lines[line - 1] = value + '\r';
    return lines.join('\n');
}

// A screen with every kind of element, placed on the designer's 30-twip grid.
ScreenModel designedScreen() {
    ScreenModel m;
    m.setBackgroundPath("C:\\Картинки\\котёл, \"главный\".bmp");
    m.setDigits(4);
    const int kinds[4] = {0, 1, 2, 3};
    for (int k = 0; k < 4; ++k) {
        ScadaParameter &p = *m.parameter(k);
        p.used = true;
        p.type = kinds[k];
        p.textColor = k + 1;
        p.backColor = 6 - k;
        z5::ElementControl &c = *p.control(p.type);
        c = {ScreenGeometry::parameterLeft(p.type, 30 + 40 * k), ScreenGeometry::parameterTop(p.type, 60 + 20 * k), true};
    }
    for (int k = 0; k < 3; ++k) {
        z5::ScadaAlarm &s = *m.alarm(k);
        s.used = true;
        s.isText = k != 1;
        s.alarm = k == 0;
        s.textColor = 7;
        s.backColor = k;
        s.shownControl() = {ScreenGeometry::alarmLeft(10 + 50 * k), ScreenGeometry::alarmTop(20 + 30 * k), true};
    }
    m.setAlarmText(0, "Авария, \"насос\" №1");
    m.setAlarmText(1, "a,b,,\"\"");
    m.setAlarmText(2, "  пробелы  ");
    m.setAlarmText(20, "запасной текст");
    m.setAlarmText(31, "последний");
    z5::ScreenBuilder::recomputeElementWords(m);
    return m;
}

} // namespace

TEST(ScreenFile, StartScreenWritesTheFixedLayout) {
    const QByteArray bytes = ScreenFile::write(ScreenModel());
    const QList<QByteArray> lines = linesOf(bytes);
    ASSERT_EQ(lines.size(), 242);
    for (const QByteArray &l : lines) ASSERT_TRUE(l.endsWith('\r'));
    EXPECT_EQ(lines[0], "\r");
    EXPECT_EQ(lines[1], " 0 \r");      // first element word
    EXPECT_EQ(lines[65], " 0 \r");     // alarm colour entry 0
    EXPECT_EQ(lines[67], "\r");        // alarm text 0
    EXPECT_EQ(lines[161], " 0 \r");    // kind of slot 0
    EXPECT_EQ(lines[162], "False\r");  // slot 0 in use
    EXPECT_EQ(lines[241], " 6 \r");
}

TEST(ScreenFile, NumbersBooleansAndTextsInTheirForms) {
    ScreenModel m;
    m.setCoord(5, -17);
    m.setCoord(7, 53012);
    m.alarm(0)->isText = true;
    m.setAlarmText(0, "А");
    m.setAlarmText(31, "Я");
    const QList<QByteArray> lines = linesOf(ScreenFile::write(m));
    EXPECT_EQ(lines[6], "-17 \r");
    EXPECT_EQ(lines[8], " 53012 \r");
    EXPECT_EQ(lines[67], "\xC0\r");          // Windows-1251
    EXPECT_EQ(lines[65 + 3 * 31 + 2], "\xDF\r");
    EXPECT_EQ(lines[165], "True\r");        // slot 0 shown as text
}

TEST(ScreenFile, RoundTripKeepsEveryElementWhereItWas) {
    const ScreenModel saved = designedScreen();
    const QByteArray bytes = ScreenFile::write(saved);
    ASSERT_EQ(linesOf(bytes).size(), 242);

    ScreenModel loaded;
    const z5::ScreenFileError e = ScreenFile::read(bytes, loaded);
    ASSERT_FALSE(e.isError()) << e.message.toStdString();
    EXPECT_TRUE(loaded == saved);
    EXPECT_EQ(loaded.alarmText(0), "Авария, \"насос\" №1");
    EXPECT_EQ(loaded.alarmText(2), "  пробелы  ");
    EXPECT_EQ(loaded.alarmText(20), "запасной текст");
    EXPECT_EQ(loaded.backgroundPath(), saved.backgroundPath());

    // Building again from the restored controls gives the same words.
    ScreenModel rebuilt = loaded;
    z5::ScreenBuilder::recomputeElementWords(rebuilt);
    for (int m = 0; m < 64; ++m) EXPECT_EQ(rebuilt.coord(m), saved.coord(m)) << m;
    EXPECT_EQ(ScreenFile::write(rebuilt), bytes);
}

TEST(ScreenFile, LoadingHidesFreeElementsAndKeepsWhatTheFileDoesNotHold) {
    ScreenModel target;
    target.setColorThreshold(200);
    target.setDisplayMode(0);
    target.parameter(9)->used = true;
    target.parameter(9)->numberBox = {900, 900, true};
    target.alarm(9)->marker = {600, 600, true};
    ASSERT_FALSE(ScreenFile::read(ScreenFile::write(designedScreen()), target).isError());
    EXPECT_EQ(target.colorThreshold(), 200);
    EXPECT_EQ(target.displayMode(), 0);
    EXPECT_FALSE(target.parameter(9)->used);
    EXPECT_EQ(target.parameter(9)->numberBox, (z5::ElementControl{900, 900, false}));
    EXPECT_FALSE(target.alarm(9)->marker.visible);
    EXPECT_EQ(target.digits(), 4);
}

TEST(ScreenFile, ReaderAcceptsBareLineFeedsNumbersAsBooleansAndExtraLines) {
    QByteArray bytes = ScreenFile::write(designedScreen());
    bytes = withLine(bytes, 163, "1");
    bytes = withLine(bytes, 164, " 0 ");
    bytes = withLine(bytes, 165, "true");
    bytes.replace("\r\n", "\n");
    bytes += "more\n";
    ScreenModel m;
    ASSERT_FALSE(ScreenFile::read(bytes, m).isError());
    EXPECT_TRUE(m.parameter(0)->used);
    EXPECT_FALSE(m.alarm(0)->used);
    EXPECT_TRUE(m.alarm(0)->alarm);
    EXPECT_EQ(m.alarmText(0), "Авария, \"насос\" №1");
}

namespace {
struct Fault {
    const char *name;
    int line;
    QByteArray value;  // empty: the file is cut before this line
    QString message;
};
} // namespace

TEST(ScreenFile, FaultsNameTheLineAndChangeNothing) {
    const QByteArray good = ScreenFile::write(designedScreen());
    const Fault faults[] = {
        {"empty file", 1, {}, "Строка 1: файл кончился раньше времени"},
        {"cut", 101, {}, "Строка 101: файл кончился раньше времени"},
        {"cut before digits", 242, {}, "Строка 242: файл кончился раньше времени"},
        {"word not a number", 10, "12a", "Строка 10: «12a» не целое число"},
        {"word with a fraction", 11, " 1,5 ", "Строка 11: « 1,5 » не целое число"},
        {"word too large", 12, " 2147483648 ", "Строка 12: число 2147483648 вне пределов -2147483648..2147483647"},
        {"empty word", 13, "", "Строка 13: «» не целое число"},
        {"colour 8", 66, " 8 ", "Строка 66: число 8 вне пределов 0..7"},
        {"negative colour", 67, "-1 ", "Строка 67: число -1 вне пределов 0..7"},
        {"kind 4", 162, " 4 ", "Строка 162: число 4 вне пределов 0..3"},
        {"not a boolean", 163, "Maybe", "Строка 163: «Maybe» не True и не False"},
        // A terminal escape in the file is shown, never obeyed.
        {"escape in a word", 14, "\x1b]0;x\x07", "Строка 14: «\\x1b]0;x\\x07» не целое число"},
        {"digits 7", 242, " 7 ", "Строка 242: число 7 вне пределов 2..6"},
    };
    for (const Fault &f : faults) {
        QByteArray bytes;
        if (f.value.isNull()) {
            QList<QByteArray> lines = good.split('\n');
            bytes = lines.mid(0, f.line - 1).join('\n');
            if (f.line > 1) bytes += '\n';
        } else {
            bytes = withLine(good, f.line, f.value);
        }
        ScreenModel m;
        m.setAlarmText(5, "прежний");
        const ScreenModel before = m;
        const z5::ScreenFileError e = ScreenFile::read(bytes, m);
        EXPECT_EQ(e.line, f.line) << f.name;
        EXPECT_EQ(e.message, f.message) << f.name;
        EXPECT_TRUE(m == before) << f.name;
    }
}

TEST(ScreenFile, TextWithALineBreakIsNotWritten) {
    ScreenModel m;
    m.setAlarmText(3, "две\nстроки");
    QString why;
    EXPECT_TRUE(ScreenFile::write(m, &why).isEmpty());
    EXPECT_EQ(why, "Текст «две строки» содержит перевод строки");

    QTemporaryDir dir;
    const QString path = dir.filePath("a.scd");
    ASSERT_TRUE(ScreenFile::save(path, designedScreen()));
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    EXPECT_FALSE(ScreenFile::save(path, m));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(ScreenFile, SaveAndLoadThroughFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath("экран.scd");
    const ScreenModel saved = designedScreen();
    QString why;
    ASSERT_TRUE(ScreenFile::save(path, saved, &why)) << why.toStdString();
    ScreenModel loaded;
    EXPECT_FALSE(ScreenFile::load(path, loaded).isError());
    EXPECT_TRUE(loaded == saved);

    const z5::ScreenFileError missing = ScreenFile::load(dir.filePath("нет.scd"), loaded);
    EXPECT_EQ(missing.line, 0);
    EXPECT_TRUE(missing.message.startsWith("Не удалось открыть файл " + dir.filePath("нет.scd") + ": "));
    EXPECT_FALSE(ScreenFile::save(dir.filePath("нет/a.scd"), saved, &why));
    EXPECT_EQ(ScreenFile::saveFailedMessage(), "Файл заблокирован!!!");
}

// A file-size limit makes the disk "full" part way through the file.
TEST(ScreenFile, ShortWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.scd");
    ScreenModel small;
    ASSERT_TRUE(ScreenFile::save(path, small));
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    ScreenModel big = designedScreen();
    for (int k = 0; k < 32; ++k) big.setAlarmText(k, QString(100, QChar(u'Ж')));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = before.size() + 100;
    setrlimit(RLIMIT_FSIZE, &limited);
    QString why;
    const bool saved = ScreenFile::save(path, big, &why);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(why.isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.scd"});
}

// Slots are edited directly; whatever they hold, a saved file must load again.
TEST(ScreenFile, StrayValuesInSlotsAreSavedAsLoadableOnes) {
    ScreenModel m;
    m.parameter(0)->type = 7;
    m.parameter(0)->textColor = 9;
    m.alarm(1)->backColor = -3;
    const QList<QByteArray> lines = linesOf(ScreenFile::write(m));
    EXPECT_EQ(lines[161], " 0 \r");
    EXPECT_EQ(lines[66], " 0 \r");
    EXPECT_EQ(lines[65 + 3 * 17], " 0 \r");
    ScreenModel loaded;
    EXPECT_FALSE(ScreenFile::read(ScreenFile::write(m), loaded).isError());
    EXPECT_EQ(m.attributeBits(1), 0);
}
