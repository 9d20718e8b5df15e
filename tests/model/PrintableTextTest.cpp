// Text from outside shown in a message: control characters never reach a terminal.
#include "model/PrintableText.h"
#include <gtest/gtest.h>

namespace {

struct Shown {
    const char *name;
    QString given;
    QString line;      // printableLine
    QString message;   // printableMessage
};
void PrintTo(const Shown &row, std::ostream *os) { *os << row.name; }

class PrintableTextTest : public ::testing::TestWithParam<Shown> {};

TEST_P(PrintableTextTest, EscapesWhatATerminalWouldObey) {
    EXPECT_EQ(z5::printableLine(GetParam().given), GetParam().line);
    EXPECT_EQ(z5::printableMessage(GetParam().given), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PrintableTextTest,
    ::testing::Values(
        Shown{"Plain", QStringLiteral("U5 PID 1,5"), QStringLiteral("U5 PID 1,5"), QStringLiteral("U5 PID 1,5")},
        Shown{"Cyrillic", QStringLiteral("Строка 3"), QStringLiteral("Строка 3"), QStringLiteral("Строка 3")},
        Shown{"TitleEscape", QStringLiteral("\x1b]0;owned\x07x"), QStringLiteral("\\x1b]0;owned\\x07x"),
              QStringLiteral("\\x1b]0;owned\\x07x")},
        Shown{"ClearScreen", QStringLiteral("\x1b[2J"), QStringLiteral("\\x1b[2J"), QStringLiteral("\\x1b[2J")},
        Shown{"BreaksInALine", QStringLiteral("a\nb\tc\r"), QStringLiteral("a\\x0ab\\x09c\\x0d"),
              QStringLiteral("a\nb\tc\\x0d")},
        Shown{"DeleteAndC1", QString(QChar(0x7F)) + QChar(0x9B) + QStringLiteral("2J"), QStringLiteral("\\x7f\\x9b2J"),
              QStringLiteral("\\x7f\\x9b2J")},
        Shown{"Empty", QString(), QString(), QString()}),
    [](const ::testing::TestParamInfo<Shown> &info) { return std::string(info.param.name); });

} // namespace
