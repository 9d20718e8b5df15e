// What a parameter field shows, it reads back: no group separators in any locale.
#include "console/NumberText.h"
#include <gtest/gtest.h>

TEST(PanelNumbers, ShownNumbersReadBackInEveryLocale) {
    const std::vector<std::pair<QLocale, const char *>> rows = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "1234567"},
        {QLocale(QLocale::German), "1234567"},
        {QLocale(QLocale::Russian), "1234567"},
    };
    for (const auto &[locale, shown] : rows) {
        const z5::NumberText n(locale);
        EXPECT_EQ(n.format(1234567.0f), shown) << locale.name().toStdString();
        EXPECT_EQ(n.parseNumber(n.format(1000.0f)), 1000.0f) << locale.name().toStdString();
        EXPECT_EQ(n.parseNumber(n.format(-2500.5f)), -2500.5f) << locale.name().toStdString();
    }
}
