#include "parfile/ParameterPrintRule.h"
#include "parfile/ParameterReadRules.h"
#include <gtest/gtest.h>
#include <QLocale>
#include <cmath>
#include <limits>

using namespace z5;

namespace {
const QChar kPoint = QLatin1Char('.');
const QChar kComma = QLatin1Char(',');
} // namespace

struct PrintRow {
    float value;
    const char *point;
    const char *comma;
};
void PrintTo(const PrintRow &row, std::ostream *os) { *os << row.value; }

class PrintRule : public ::testing::TestWithParam<PrintRow> {};

TEST_P(PrintRule, WritesBasicStyleNumbers) {
    const PrintRow &r = GetParam();
    EXPECT_EQ(ParameterPrintRule::number(r.value, kPoint), QString::fromLatin1(r.point));
    EXPECT_EQ(ParameterPrintRule::number(r.value, kComma), QString::fromLatin1(r.comma));
}

INSTANTIATE_TEST_SUITE_P(
    Values, PrintRule,
    ::testing::Values(PrintRow{25.0f, " 25 ", " 25 "}, PrintRow{-3.5f, "-3.5 ", "-3,5 "},
                      PrintRow{0.0f, " 0 ", " 0 "}, PrintRow{-0.0f, " 0 ", " 0 "}, PrintRow{0.5f, " 0.5 ", " 0,5 "},
                      PrintRow{-0.25f, "-0.25 ", "-0,25 "}, PrintRow{0.1f, " 0.1 ", " 0,1 "},
                      PrintRow{1234567.0f, " 1234567 ", " 1234567 "},
                      PrintRow{12345678.0f, " 1.234568E+07 ", " 1,234568E+07 "},
                      PrintRow{1e-5f, " 1E-05 ", " 1E-05 "}, PrintRow{0.0001f, " 0.0001 ", " 0,0001 "},
                      PrintRow{1.5e12f, " 1.5E+12 ", " 1,5E+12 "}, PrintRow{-2.5e-7f, "-2.5E-07 ", "-2,5E-07 "},
                      PrintRow{std::numeric_limits<float>::max(), " 3.402823E+38 ", " 3,402823E+38 "},
                      PrintRow{1.0f / 3.0f, " 0.3333333 ", " 0,3333333 "}));

TEST(PrintRule, Bytes) {
    EXPECT_EQ(ParameterPrintRule::byte(7), QStringLiteral(" 7 "));
    EXPECT_EQ(ParameterPrintRule::byte(255), QStringLiteral(" 255 "));
}

TEST(PrintRule, BothReadRulesReadBackTheSameValue) {
    // In a locale with a point, every printed value reads back identically by L and V,
    // including exponents and magnitudes below one.
    const float values[] = {0.5f,     -0.5f,    0.001f,  -0.0625f, 1e-5f,  3.25e-12f, 1.5e12f, -7.75e20f,
                            1234567.f, 12345678.f, 0.1f,  2.0f / 3, 1e-38f, 3.4e38f,   -1e-45f, 99.99f};
    for (float v : values) {
        const QString text = ParameterPrintRule::number(v, kPoint);
        const auto l = ParameterReadRules::localeNumber(text, kPoint);
        const auto vv = ParameterReadRules::leadingNumber(text);
        ASSERT_TRUE(l && vv) << text.toStdString();
        EXPECT_EQ(*l, *vv) << text.toStdString();
        EXPECT_EQ(ParameterPrintRule::number(*l, kPoint), text);  // stable after one round
        if (v != 0.0f) {
            EXPECT_NEAR(*l / v, 1.0f, 1e-6f) << text.toStdString();
        }
        // With a comma the L rule still reads it back exactly.
        EXPECT_EQ(ParameterReadRules::localeNumber(ParameterPrintRule::number(v, kComma), kComma), *l);
    }
}

TEST(ReadRules, LocaleNumber) {
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral(" 25 "), kPoint), 25.0f);
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral("\t-3.5E+2  "), kPoint), -350.0f);
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral("+5"), kPoint), 5.0f);
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral(".5"), kPoint), 0.5f);
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral("0,75"), kComma), 0.75f);
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral("1e-50"), kPoint), 0.0f);
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral("0.1"), kPoint), 0.1f);
    for (const char *bad : {"", "   ", "abc", "0,75", "1.2.3", "1 2", "1e39", "-1E+400", "12abc", "1e", "+", "-", "."})
        EXPECT_FALSE(ParameterReadRules::localeNumber(QString::fromLatin1(bad), kPoint)) << bad;
    EXPECT_FALSE(ParameterReadRules::localeNumber(QStringLiteral("0.75"), kComma));
    EXPECT_EQ(ParameterReadRules::localeNumber(QStringLiteral("1,5"), QLocale(QLocale::German).decimalPoint().at(0)),
              1.5f);
}

TEST(ReadRules, LeadingNumber) {
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral(" 0,75 ")), 0.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("1,5")), 1.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("abc")), 0.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QString()), 0.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral(" 1 2 . 5 ")), 12.5f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("12abc")), 12.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("1.5E+12")), 1.5e12f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("2D2")), 200.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("1e")), 1.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("3E+x")), 3.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("-.5")), -0.5f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("- 7")), -7.0f);
    EXPECT_FALSE(ParameterReadRules::leadingNumber(QStringLiteral("1e39")));
}

TEST(ReadRules, LeadingNumberIsNarrowedFromDoubleWhileLocaleNumberRoundsOnce) {
    // Just above the midpoint between 1 and the next single: the double it reads as is
    // the midpoint itself, which narrows to the even neighbour 1.
    const QString aboveMidpoint = QStringLiteral("1.00000005960464477539062500001");
    EXPECT_EQ(ParameterReadRules::leadingNumber(aboveMidpoint), 1.0f);
    EXPECT_EQ(ParameterReadRules::localeNumber(aboveMidpoint, kPoint), std::nextafter(1.0f, 2.0f));
    // Beyond the largest single only while the double still rounds down to it.
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("3.4028235E+38")), std::numeric_limits<float>::max());
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("-3.4028235E+38")), -std::numeric_limits<float>::max());
    EXPECT_FALSE(ParameterReadRules::leadingNumber(QStringLiteral("3.40282357E+38")));
    EXPECT_FALSE(ParameterReadRules::leadingNumber(QStringLiteral("1E+400")));
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("1E-400")), 0.0f);
    EXPECT_EQ(ParameterReadRules::leadingNumber(QStringLiteral("1E-45")), std::numeric_limits<float>::denorm_min());
}

TEST(ReadRules, Byte) {
    EXPECT_EQ(ParameterReadRules::byte(QStringLiteral(" 7 "), kPoint), 7);
    EXPECT_EQ(ParameterReadRules::byte(QStringLiteral("2.5"), kPoint), 2);
    EXPECT_EQ(ParameterReadRules::byte(QStringLiteral("3,5"), kComma), 4);
    EXPECT_EQ(ParameterReadRules::byte(QStringLiteral("254.5"), kPoint), 254);
    EXPECT_EQ(ParameterReadRules::byte(QStringLiteral("-0.4"), kPoint), 0);
    EXPECT_EQ(ParameterReadRules::byte(QStringLiteral("255"), kPoint), 255);
    for (const char *bad : {"255.5", "256", "-1", "", "x"})
        EXPECT_FALSE(ParameterReadRules::byte(QString::fromLatin1(bad), kPoint)) << bad;
}
