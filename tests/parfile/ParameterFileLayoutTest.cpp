#include "parfile/ParameterFileLayout.h"
#include <gtest/gtest.h>

using namespace z5;

// First and last file line of each section, in file order.
struct SectionLines {
    int first;
    int last;
};

class ParameterFileLayoutLines : public ::testing::TestWithParam<int> {};

TEST_P(ParameterFileLayoutLines, MatchTheFormat) {
    static const SectionLines kLines[ParameterFileLayout::kSectionCount] = {
        {2, 353},     {354, 417},   {418, 609},   {610, 737},   {738, 769},   {770, 881},   {882, 913},
        {914, 945},   {946, 953},   {954, 961},   {962, 969},   {970, 1065},  {1066, 1173}, {1174, 1325},
        {1326, 1365}, {1366, 2453}, {2454, 2565}, {2566, 2605}, {2606, 2653}, {2654, 2741}, {2742, 2781},
        {2782, 2829}, {2830, 2933}, {2934, 2997}, {2998, 3229}, {3230, 3460}, {3461, 3494}, {3495, 3546},
        {3547, 3579}, {3580, 3621}, {3622, 3821}, {3822, 3949}, {3950, 4013}, {4014, 4149},
    };
    const int s = GetParam();
    EXPECT_EQ(ParameterFileLayout::firstLine(s), kLines[s].first) << "section " << s + 1;
    EXPECT_EQ(ParameterFileLayout::lastLine(s), kLines[s].last) << "section " << s + 1;
}

INSTANTIATE_TEST_SUITE_P(AllSections, ParameterFileLayoutLines, ::testing::Range(0, ParameterFileLayout::kSectionCount));

TEST(ParameterFileLayout, SectionsFitTheirStoresAndEndTheFile) {
    EXPECT_EQ(ParameterFileLayout::lastLine(ParameterFileLayout::kSectionCount - 1), ParameterFileLayout::kLineCount);
    EXPECT_EQ(ParameterFileLayout::header(), QStringLiteral("*************** Параметры схемы ****************"));
    EXPECT_EQ(ParameterFileLayout::firstLine(-1), 0);
    EXPECT_EQ(ParameterFileLayout::lastLine(34), 0);
}
