// The buffer as the link steps leave it, on the worked example.
#include "NetlistText.h"
#include "import/BlockTableBuilder.h"
#include "import/LinkTableBuilder.h"
#include "import/NetlistReader.h"
#include <gtest/gtest.h>

using namespace z5;

TEST(LinkSteps, WorkedExampleBuffer) {
    NetlistText read;
    ASSERT_TRUE(NetlistReader::read(z5test::workedExample(), read).isEmpty());
    std::vector<NetlistLine> lines;
    for (int i = 0; i < read.lines.size(); ++i) lines.push_back(NetlistLine::parse(read.lines[i], read.fileLines[i]));
    Project project;
    BlockTableBuilder blocks(project, Numbering::Manual);
    ASSERT_TRUE(blocks.collectComponents(lines).isEmpty());
    ASSERT_TRUE(blocks.buildBlocks().isEmpty());
    LinkTableBuilder links(project, lines);
    ASSERT_TRUE(links.build().isEmpty());

    // Buffer lines are 1-based; one empty line follows the last stored one.
    const auto &out = links.lines();
    ASSERT_EQ(out.size(), 34u);
    EXPECT_EQ(out[17].text, "(node \"U1\" \"1\")");  // line 18: the driver moved first
    EXPECT_EQ(out[18].text, "(node \"U2\" \"1\")");
    EXPECT_EQ(out[22].text, "(node \"U2\" \"2\")");  // line 23: the inverter input became the input it feeds
    EXPECT_EQ(out[25].text, "INVERTOR");
    EXPECT_EQ(out[26].text, "INVERTOR");
    EXPECT_EQ(out[22].fileLine, 29);  // it still names the line it came from
    EXPECT_EQ(out[33].text, "");
}
