#include "screen/PictureLoader.h"
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using z5::PictureLoader;

namespace {

QImage sample(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    return image;
}

// A 1x1 GIF whose only pixel is palette entry 0, red (Qt writes no GIFs).
const QByteArray kRedGif = QByteArray::fromHex("474946383961" "01000100" "800000" "ff0000" "000000"
                                               "21f9040000000000" "2c000000000100010000"
                                               "0202440100" "3b");

} // namespace

TEST(PictureLoader, ReadsTheFourFormats) {
    QTemporaryDir dir;
    for (const char *format : {"bmp", "png", "jpg"}) {
        const QString path = dir.filePath(QStringLiteral("фон.") + format);
        ASSERT_TRUE(sample(20, 10).save(path, format)) << format;
        const auto r = PictureLoader::load(path);
        ASSERT_TRUE(r.ok()) << format;
        EXPECT_EQ(r.image.size(), QSize(20, 10));
        EXPECT_TRUE(r.message.isEmpty());
    }
    QByteArray gif = kRedGif;
    QBuffer buffer(&gif);
    buffer.open(QIODevice::ReadOnly);
    const auto r = PictureLoader::load(&buffer);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
}

TEST(PictureLoader, ContentDecidesNotTheName) {
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.bmp");
    ASSERT_TRUE(sample(4, 4).save(path, "png"));
    EXPECT_TRUE(PictureLoader::load(path).ok());
}

TEST(PictureLoader, RefusesWhatIsNoPicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("text.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture\r\n");
    f.close();
    for (const QString &p : {path, dir.filePath("missing.png")}) {
        const auto r = PictureLoader::load(p);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.message, "Не правильный тип файла");
    }
    // Formats beyond the four are refused too.
    const QString ppm = dir.filePath("a.ppm");
    ASSERT_TRUE(sample(2, 2).save(ppm, "ppm"));
    EXPECT_FALSE(PictureLoader::load(ppm).ok());
}

TEST(PictureLoader, RefusesHugePicturesBeforeDecoding) {
    QTemporaryDir dir;
    const QString wide = dir.filePath("wide.png");
    ASSERT_TRUE(sample(PictureLoader::kMaxSide + 1, 1).save(wide, "png"));
    EXPECT_EQ(PictureLoader::load(wide).message, "Не правильный тип файла");
    const QString edge = dir.filePath("edge.png");
    ASSERT_TRUE(sample(PictureLoader::kMaxSide, 1).save(edge, "png"));
    EXPECT_TRUE(PictureLoader::load(edge).ok());

    // A header that claims 60000 x 60000 pixels (3.6 G) with no data behind it.
    QByteArray bmp = QByteArray::fromHex("424d" "36000000" "00000000" "36000000" "28000000"
                                         "60ea0000" "60ea0000" "0100" "1800" "00000000" "00000000"
                                         "130b0000" "130b0000" "00000000" "00000000");
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(PictureLoader::load(&buffer).ok());
}

// Every refusal says why on a line of its own; the image library's words never lead.
TEST(PictureLoader, ARefusalSaysWhy) {
    QTemporaryDir dir;
    QByteArray png;
    {
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        ASSERT_TRUE(sample(64, 64).save(&out, "png"));
    }
    QByteArray wide;
    {
        QBuffer out(&wide);
        out.open(QIODevice::WriteOnly);
        ASSERT_TRUE(sample(PictureLoader::kMaxSide + 1, 1).save(&out, "png"));
    }
    const QByteArray damaged = png.left(png.indexOf("IDAT") + 12) + QByteArray(40, '\x55');
    const QByteArray bmpHeader = QByteArray::fromHex("424d" "36000000" "00000000" "36000000" "28000000"
                                                     "60ea0000" "60ea0000" "0100" "1800" "00000000" "00000000"
                                                     "130b0000" "130b0000" "00000000" "00000000");
    struct Row {
        const char *name;
        QByteArray bytes;
        const char *reason;
    };
    const std::vector<Row> rows = {
        {"text", "not a picture\r\n", "это не картинка BMP, PNG, JPEG или GIF"},
        {"huge header", bmpHeader, "размер картинки не читается"},
        {"too wide", wide, "картинка 8193×1 точек больше допустимой (8192 точек по стороне, 16777216 всего)"},
        {"damaged data", damaged, "данные картинки повреждены"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes = row.bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const auto r = PictureLoader::load(&buffer);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.reason.startsWith(QString::fromUtf8(row.reason))) << r.reason.toStdString();
        EXPECT_EQ(r.text().section(QLatin1Char('\n'), 0, 0), PictureLoader::wrongTypeMessage());
    }
    EXPECT_EQ(PictureLoader::load(dir.filePath("missing.png")).text(),
              QStringLiteral("Не правильный тип файла\nфайл не найден или не читается"));
}
