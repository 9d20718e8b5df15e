#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int code;
    QString err;
};

CliRun run(const QString &verb, const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(Z5CTL_PATH), QStringList{verb} + args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

CliRun z5ctl(const QStringList &args) { return run(QStringLiteral("screen"), args); }

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString picture(const QTemporaryDir &dir, int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(QStringLiteral("p%1x%2.png").arg(w).arg(h));
    image.save(path);
    return path;
}

} // namespace

TEST(ScreenCli, WritesTheStreamInEitherMode) {
    QTemporaryDir dir;
    const QString out = dir.filePath("s.bin");
    const QString pic = picture(dir, 320, 240, qRgb(130, 0, 0));
    CliRun r = z5ctl({"--picture", pic, "--mode", "rle", "--out", out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QByteArray s = readAll(out);
    ASSERT_EQ(s.size(), 28809);
    EXPECT_EQ(s.left(4), QByteArray::fromHex("63093f01"));
    EXPECT_EQ(static_cast<unsigned char>(s[4]), 1 + 248);

    ASSERT_EQ(z5ctl({"--picture", pic, "--mode", "rle", "--threshold", "130", "--out", out}).code, 0);
    EXPECT_EQ(static_cast<unsigned char>(readAll(out)[4]), 248);

    ASSERT_EQ(z5ctl({"--picture", pic, "--out", out}).code, 0);
    s = readAll(out);
    ASSERT_EQ(s.size(), 28809);
    EXPECT_EQ(s.left(3), QByteArray::fromHex("499224"));  // packed: eight 1s
}

// Packed, the bottom row of a full-height picture is left out of the stream: both
// verbs say so on standard error before they write what fits.
TEST(ScreenCli, ABottomRowLeftOutIsToldFirst) {
    QTemporaryDir dir;
    const QString cut = QStringLiteral("Картинка не помещается в Z5: нужно 28800 байт, помещается 28681. "
                                       "Строка Y = 239 до Z5 не дойдёт целиком.");
    const struct {
        const char *verb;
        const char *mode;
        int height;
        bool told;
    } rows[] = {{"screen", "packed", 240, true},       {"screen", "packed", 239, false}, {"screen", "rle", 240, false},
                {"write-screen", "packed", 240, true}, {"write-screen", "rle", 240, false}};
    for (const auto &row : rows) {
        const QString verb = QLatin1String(row.verb);
        SCOPED_TRACE(verb.toStdString() + " " + row.mode + " " + std::to_string(row.height));
        const bool toFile = verb == QLatin1String("screen");
        QStringList args{"--picture", picture(dir, 320, row.height, qRgb(130, 0, 0)), "--mode", row.mode};
        args += toFile ? QStringList{"--out", dir.filePath("s.bin")} : QStringList{"--port", "/dev/z5-none"};
        const CliRun r = run(verb, args);
        // No port to write to: the write-screen ends there, after the warning.
        EXPECT_EQ(r.code, toFile ? 0 : 2) << r.err.toStdString();
        EXPECT_EQ(r.err.section(u'\n', 0, 0) == QStringLiteral("z5ctl %1: %2").arg(verb, cut), row.told) << r.err.toStdString();
        if (toFile) {
            EXPECT_EQ(readAll(dir.filePath("s.bin")).size(), 28809);
        }
    }
}

TEST(ScreenCli, ElementWordsComeFromTheScreenFile) {
    QTemporaryDir dir;
    z5::ScreenModel m;
    z5::ScadaAlarm &s = *m.alarm(0);
    s.used = s.isText = s.alarm = true;
    s.textColor = 7;
    s.backColor = 1;
    m.setCoord(32, 10);
    m.setCoord(33, 53012);
    const QString scd = dir.filePath("a.scd");
    ASSERT_TRUE(z5::ScreenFile::save(scd, m));
    const QString out = dir.filePath("s.bin");
    ASSERT_EQ(z5ctl({"--picture", picture(dir, 8, 8, 0), "--scd", scd, "--out", out}).code, 0);
    EXPECT_EQ(readAll(out).mid(28681 + 64, 4), QByteArray::fromHex("000acf14"));
}

TEST(ScreenCli, FailuresGoToStandardError) {
    QTemporaryDir dir;
    const QString out = dir.filePath("s.bin");
    // The file and its size lead the reason.
    const QString wide = picture(dir, 321, 10, 0);
    CliRun r = z5ctl({"--picture", wide, "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, wide + " (321 x 10): Координата Х должна быть меньше 320");
    const QString tall = picture(dir, 10, 241, 0);
    r = z5ctl({"--picture", tall, "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, tall + " (10 x 241): Координата Y должна быть меньше 240");
    EXPECT_FALSE(QFile::exists(out));

    r = z5ctl({"--picture", dir.filePath("none.png"), "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, dir.filePath("none.png") + ": no such file");

    // A damaged PNG: our words lead, the image library's follow on the same line as the reason.
    const QString damaged = dir.filePath("damaged.png");
    {
        QFile good(picture(dir, 64, 64, 0));
        ASSERT_TRUE(good.open(QIODevice::ReadOnly));
        const QByteArray png = good.readAll();
        QFile cut(damaged);
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(png.left(png.indexOf("IDAT") + 12) + QByteArray(40, '\x55'));
    }
    r = z5ctl({"--picture", damaged, "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(damaged + ": Не правильный тип файла\nданные картинки повреждены")) << r.err.toStdString();

    QFile bad(dir.filePath("bad.scd"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\r\n 1 \r\nx\r\n");
    bad.close();
    r = z5ctl({"--picture", picture(dir, 8, 8, 0), "--scd", bad.fileName(), "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, bad.fileName() + ": Строка 3: «x» не целое число");

    EXPECT_EQ(z5ctl({"--picture", picture(dir, 8, 8, 0)}).code, 64);
    EXPECT_EQ(z5ctl({"--picture", picture(dir, 8, 8, 0), "--mode", "fast", "--out", out}).code, 64);
    EXPECT_EQ(z5ctl({"--picture", picture(dir, 8, 8, 0), "--threshold", "256", "--out", out}).code, 64);
}

TEST(ScreenCli, TablesTakeTheAlarmTextsOfAScreenFile) {
    QTemporaryDir dir;
    z5::ScreenModel m;
    m.setAlarmText(0, "Авария, \"1\"");
    m.setAlarmText(31, "длинный текст аварии");
    const QString scd = dir.filePath("a.scd");
    ASSERT_TRUE(z5::ScreenFile::save(scd, m));
    const QString net = QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net");
    CliRun r = run("tables", {net, "--out", dir.filePath("t"), "--screen", scd});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray t11 = readAll(dir.filePath("t/table-11.bin"));
    ASSERT_EQ(t11.size(), 320);
    EXPECT_EQ(t11.left(10), QByteArray("\xC0\xE2\xE0\xF0\xE8\xFF, \"1"));
    EXPECT_EQ(t11.right(10), QByteArray("\xE4\xEB\xE8\xED\xED\xFB\xE9 \xF2\xE5"));

    r = run("tables", {net, "--out", dir.filePath("u"), "--screen", dir.filePath("none.scd")});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("u/table-11.bin")));
}
