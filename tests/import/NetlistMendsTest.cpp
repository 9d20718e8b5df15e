// Netlists on which a line-by-line reading of the nets would lose or misplace links.
#include "NetlistText.h"
#include "import/NetlistImport.h"
#include <gtest/gtest.h>

using namespace z5;
using namespace z5test;

namespace {

using Pair = std::pair<int, int>;
Pair input(const Project &p, int column, int pin) {
    return {p.link(column, 2 * (pin - 1)), p.link(column, 2 * (pin - 1) + 1)};
}

ImportResult importOk(const QString &text, Numbering mode = Numbering::Manual) {
    NetlistImport import;
    ImportResult r = import.importText(text, mode);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    return r;
}

// U1 A_I, U2 MUL, U3 AND, U4 JUR, D1 inverter.
QString blocks() {
    return component("U1", "A_I", "1_1") + component("U2", "MUL", "2_1") + component("U3", "AND", "3_1") +
           component("U4", "JUR", "4_1") + component("D1", "INV", "0");
}

} // namespace

TEST(NetlistMends, LastLineOfTheFileIsKept) {
    // A netlist cut after its last node line: that node still gets its link.
    QString text = netlist(blocks() + net("N1", {"U1:1", "U2:1"}));
    text.chop(QStringLiteral("  )\n)\n").size());
    ASSERT_TRUE(text.endsWith(QStringLiteral("(node \"U2\" \"1\")\n")));
    const ImportResult r = importOk(text);
    EXPECT_EQ(input(r.project, 1, 1), Pair(0, 2));
}

TEST(NetlistMends, NetNameWithDInColumn8IsAnOrdinaryNet) {
    const QString text = netlist(blocks() + net("ND", {"U1:1", "U2:1"}) + net("XD5", {"U1:2", "U3:2"}));
    const ImportResult r = importOk(text);
    EXPECT_EQ(input(r.project, 1, 1), Pair(0, 2));
    EXPECT_EQ(input(r.project, 2, 2), Pair(1, 2));
}

TEST(NetlistMends, InverterFeedingSeveralInputsInvertsAndLinksEveryOne) {
    const QString text = netlist(blocks() + net("N1", {"U1:3", "D1:1", "U2:4"}) +
                                 net("N2", {"U2:1", "D1:2", "U3:5", "U4:7"}));
    const ImportResult r = importOk(text);
    const Project &p = r.project;
    EXPECT_EQ(input(p, 1, 1), Pair(2, 2));
    EXPECT_EQ(input(p, 2, 5), Pair(2, 2));
    EXPECT_EQ(p.journalLink(12), 2);
    EXPECT_EQ(p.journalLink(13), 2);
    EXPECT_EQ(input(p, 1, 4), Pair(2, 2));  // the feeding net's own input keeps its link
    EXPECT_EQ(p.schema(Project::InversionRow, 1), 1);
    EXPECT_EQ(p.schema(Project::InversionRow, 2), 1 << 4);
    EXPECT_EQ(p.journalInvertMask(), 1 << 6);
    EXPECT_EQ(p.schema(Project::InversionRow, 3), 0);
    // Nothing is linked to the inverter's own designator number.
    EXPECT_EQ(input(p, 0, 1), Pair(0, 0));
}

TEST(NetlistMends, InverterWithAnUnconnectedOutputDoesNotCutItsFeedingNet) {
    const QString text = netlist(blocks() + net("N1", {"U1:3", "D1:1", "U2:4", "U3:1"}) + net("N2", {"D1:2"}));
    const ImportResult r = importOk(text);
    EXPECT_EQ(input(r.project, 1, 4), Pair(2, 2));
    EXPECT_EQ(input(r.project, 2, 1), Pair(2, 2));
}

TEST(NetlistMends, InverterWhoseOutputIsMissingLinksNothingToItsNumber) {
    const QString text = netlist(blocks() + net("N1", {"U1:3", "D1:1", "U2:4"}));
    const ImportResult r = importOk(text);
    EXPECT_EQ(input(r.project, 1, 4), Pair(2, 2));
    EXPECT_EQ(input(r.project, 0, 1), Pair(0, 0));
}

TEST(NetlistMends, PinsOfOtherPartsAreLeftOutOfTheirNets) {
    // R1 would otherwise be read as an input of U1, and R2 would keep the driver from the front.
    const QString text = netlist(blocks() + component("R1", "RES", "1k") + component("R2", "RES", "1k") +
                                 net("N1", {"U2:1", "R2:1", "U1:2", "R1:1", "U3:1"}));
    const ImportResult r = importOk(text);
    EXPECT_EQ(input(r.project, 1, 1), Pair(1, 2));
    EXPECT_EQ(input(r.project, 2, 1), Pair(1, 2));
    EXPECT_EQ(input(r.project, 0, 1), Pair(0, 0));
}

TEST(NetlistMends, NetWithoutADriverLinksNothing) {
    const QString text = netlist(blocks() + net("N1", {"U2:1", "U3:1"}));
    const ImportResult r = importOk(text);
    EXPECT_EQ(input(r.project, 1, 1), Pair(0, 0));
    EXPECT_EQ(input(r.project, 2, 1), Pair(0, 0));
}

TEST(NetlistMends, ImportingAgainWithoutAFileRebuildsTheSameProject) {
    NetlistImport import;
    const ImportResult first = import.importText(workedExample(), Numbering::Manual);
    const ImportResult again = import.importAgain(Numbering::Manual);
    ASSERT_TRUE(again.ok);
    EXPECT_TRUE(first.project == again.project);
    EXPECT_EQ(again.project.schema(Project::InversionRow, 1), 2);
}

TEST(NetlistMends, ImportingAgainBeforeAnyFileGivesAnEmptyProject) {
    NetlistImport import;
    const ImportResult r = import.importAgain(Numbering::Manual);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.project == Project());
    EXPECT_TRUE(r.layout.icons().empty());
}

TEST(NetlistMends, FailedImportLeavesNothingBehindForTheNextOne) {
    NetlistImport import;
    const ImportResult bad = import.importText(workedExample("1_1", "1_2", "3_1"), Numbering::Manual);
    EXPECT_EQ(bad.message.toStdString(), "Одинаковые номера приоритета 1 блоков U2 и U1");
    EXPECT_TRUE(bad.project == Project());
    const ImportResult good = import.importText(workedExample(), Numbering::Manual);
    ASSERT_TRUE(good.ok);
    EXPECT_EQ(good.project.blockCount(), 3);
}
