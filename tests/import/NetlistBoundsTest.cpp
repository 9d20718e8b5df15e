// A netlist larger than any real one is refused before it is held in memory.
#include "import/NetlistImport.h"
#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

using namespace z5;

TEST(NetlistBounds, OverSixteenMebibytesIsRefusedWithNothingKept) {
    EXPECT_EQ(NetlistImport::tooLargeMessage(), QStringLiteral("Ошибка netLIST файл больше 16 МиБ"));
    QByteArray big = "(netlist x\r\n";
    big.append(QByteArray(NetlistImport::kMaxBytes + 1 - big.size(), ' '));
    QBuffer buffer(&big);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    NetlistImport import;
    const ImportResult r = import.importDevice(buffer, Numbering::Manual);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, NetlistImport::tooLargeMessage());
    EXPECT_TRUE(import.lines().isEmpty());
    // Only the bound and one byte were taken from the device.
    EXPECT_EQ(buffer.pos(), NetlistImport::kMaxBytes + 1);

    // One byte less is read (and is then no netlist).
    big.chop(1);
    QBuffer exact(&big);
    ASSERT_TRUE(exact.open(QIODevice::ReadOnly));
    EXPECT_NE(import.importDevice(exact, Numbering::Manual).message, NetlistImport::tooLargeMessage());
}

TEST(NetlistBounds, AnEndlessDeviceIsRefused) {
    if (!QFile::exists(QStringLiteral("/dev/zero"))) GTEST_SKIP();
    NetlistImport import;
    const ImportResult r = import.importFile(QStringLiteral("/dev/zero"), Numbering::Auto);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, NetlistImport::tooLargeMessage());
}
