// A parameter file is read line by line with a bound on every line, so an endless
// line or device is refused without being held in memory, and nothing changes.
#include "model/ParameterStore.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

using namespace z5;

namespace {

QString tooLong(int line) {
    return QStringLiteral("Строка %1 файла параметров длиннее 4096 байт. Параметры не изменены.").arg(line);
}

} // namespace

TEST(ParameterFileBounds, ALineOverTheBoundRefusesTheFile) {
    ParameterStore source;
    const QByteArray good = ParameterFileWriter::write(source, QLatin1Char('.'));
    const QList<QByteArray> lines = good.split('\n');
    struct Row {
        const char *name;
        QByteArray bytes;
        int line;
    };
    auto withLine = [&](int index, const QByteArray &text) {
        QList<QByteArray> l = lines;
        l[index] = text + '\r';
        return l.join('\n');
    };
    const QByteArray limit(ParameterFileReader::kMaxLineBytes, '7');
    const std::vector<Row> rows = {
        {"endless first line", QByteArray(3 * ParameterFileReader::kMaxLineBytes, 'x'), 1},
        {"first line one over", withLine(0, limit + 'x'), 1},
        {"value line one over", withLine(2, limit + '7'), 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes = row.bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        ParameterStore store;
        store.numbersS_P.setValue(0, 1, 2.5f);
        const ParameterStore before = store;
        const ParameterFileLoad r = ParameterFileReader::read(buffer, QLatin1Char('.'), store);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.line, row.line);
        EXPECT_EQ(r.message, tooLong(row.line));
        EXPECT_EQ(store, before);
        EXPECT_LE(buffer.pos(), qint64(good.size()) + 2 * ParameterFileReader::kMaxLineBytes);
    }
    // A line of exactly the bound is still a line (here a header, never examined).
    QByteArray atBound = withLine(0, limit);
    QBuffer buffer(&atBound);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    ParameterStore store;
    EXPECT_TRUE(ParameterFileReader::read(buffer, QLatin1Char('.'), store).ok);
}

TEST(ParameterFileBounds, AnEndlessDeviceIsRefused) {
    QFile zero(QStringLiteral("/dev/zero"));
    if (!zero.open(QIODevice::ReadOnly)) GTEST_SKIP();
    ParameterStore store;
    const ParameterFileLoad r = ParameterFileReader::read(zero, QLatin1Char(','), store);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, tooLong(1));
}
