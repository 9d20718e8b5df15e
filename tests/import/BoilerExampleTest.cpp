// The bundled example netlist, checked link by link.
#include "download/ProjectTables.h"
#include "import/NetlistImport.h"
#include "model/BlockCatalogue.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

using Pair = std::pair<int, int>;
Pair input(const Project &p, int designator, int pin) {
    return {p.link(designator - 1, 2 * (pin - 1)), p.link(designator - 1, 2 * (pin - 1) + 1)};
}

ImportResult importExample(Numbering mode) {
    NetlistImport import;
    return import.importFile(QStringLiteral(Z5_SOURCE_DIR "/examples/boiler.net"), mode);
}

} // namespace

TEST(BoilerExample, BlocksAndPriorities) {
    const ImportResult r = importExample(Numbering::Manual);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const Project &p = r.project;
    const int types[] = {BlockType::A_I, BlockType::D_I, BlockType::SUM, BlockType::PID, BlockType::LIM, BlockType::A_O, BlockType::CMP, BlockType::AND, BlockType::D_O, BlockType::TIM, BlockType::GRA, BlockType::JUR, BlockType::SCA, BlockType::S_P};
    const int priorities[] = {1, 2, 4, 5, 6, 7, 8, 9, 11, 10, 12, 13, 14, 3};
    for (int c = 0; c < 14; ++c) {
        EXPECT_EQ(p.blockType(c), types[c]) << c;
        EXPECT_EQ(p.instance(c), 1) << c;
        EXPECT_EQ(p.priority(c), priorities[c]) << c;
        EXPECT_EQ(p.schema(Project::OrderRow, priorities[c]), c) << c;
    }
    EXPECT_EQ(p.blockCount(), 14);
    EXPECT_EQ(r.layout.iconOf(13)->iconNumber, 15);
    EXPECT_EQ(r.layout.iconOf(13)->position, QPoint(3000, 1600));
}

TEST(BoilerExample, Links) {
    const ImportResult r = importExample(Numbering::Manual);
    ASSERT_TRUE(r.ok);
    const Project &p = r.project;
    EXPECT_EQ(input(p, 4, 1), Pair(0, 2));   // PID <- boiler temperature
    EXPECT_EQ(input(p, 7, 1), Pair(0, 2));
    EXPECT_EQ(input(p, 3, 1), Pair(0, 15));  // SUM <- setpoint programmer
    EXPECT_EQ(input(p, 3, 2), Pair(1, 2));   // SUM <- outdoor temperature
    EXPECT_EQ(input(p, 4, 2), Pair(0, 4));   // PID <- corrected setpoint
    EXPECT_EQ(input(p, 7, 2), Pair(0, 4));
    EXPECT_EQ(input(p, 5, 1), Pair(0, 5));   // LIM <- PID
    EXPECT_EQ(input(p, 6, 1), Pair(0, 6));   // valve <- LIM
    EXPECT_EQ(input(p, 8, 1), Pair(0, 3));   // permit <- flame
    EXPECT_EQ(input(p, 8, 2), Pair(1, 3));   // permit <- door, inverted
    EXPECT_EQ(input(p, 10, 1), Pair(0, 9));  // start delay <- permit
    EXPECT_EQ(input(p, 9, 1), Pair(0, 11));  // burner relay <- start delay
    EXPECT_EQ(input(p, 9, 2), Pair(0, 8));   // alarm <- overheat
    EXPECT_EQ(p.schema(Project::InversionRow, 7), 2);

    const Pair trend[] = {{0, 2}, {0, 4}, {0, 6}};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Pair(p.trendLink(2 * i), p.trendLink(2 * i + 1)), trend[i]) << i;
    const Pair journal[] = {{0, 3}, {0, 11}, {0, 8}};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Pair(p.journalLink(2 * i), p.journalLink(2 * i + 1)), journal[i]) << i;
    EXPECT_EQ(p.journalInvertMask(), 4);
    EXPECT_EQ(p.journalLink(64), 4);
    EXPECT_EQ(Pair(p.scadaLink(0, 0), p.scadaLink(0, 1)), Pair(0, 2));
    EXPECT_EQ(Pair(p.scadaLink(1, 0), p.scadaLink(1, 1)), Pair(0, 4));
}

TEST(BoilerExample, SameTablesInAutomaticNumbering) {
    const ImportResult m = importExample(Numbering::Manual);
    const ImportResult a = importExample(Numbering::Auto);
    ASSERT_TRUE(a.ok) << a.message.toStdString();
    for (Table t : ProjectTables::kTables)
        EXPECT_EQ(ProjectTables::table(t, m.project), ProjectTables::table(t, a.project)) << tableNumber(t);
}
