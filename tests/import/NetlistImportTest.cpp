#include "NetlistText.h"
#include "import/NetlistImport.h"
#include "model/BlockCatalogue.h"
#include <QBuffer>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace z5;
using namespace z5test;

namespace {

// Link pair of input pin p of an ordinary block in column c.
std::pair<int, int> input(const Project &p, int column, int pin) {
    return {p.link(column, 2 * (pin - 1)), p.link(column, 2 * (pin - 1) + 1)};
}
using Pair = std::pair<int, int>;

} // namespace

TEST(NetlistImport, WorkedExampleManual) {
    NetlistImport import;
    const ImportResult r = import.importText(workedExample(), Numbering::Manual);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const Project &p = r.project;
    EXPECT_EQ(p.blockCount(), 3);
    EXPECT_EQ(p.blockType(0), BlockType::A_I);
    EXPECT_EQ(p.blockType(1), BlockType::MUL);
    EXPECT_EQ(p.blockType(2), BlockType::A_O);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(p.instance(c), 1);
        EXPECT_EQ(p.priority(c), c + 1);
    }
    EXPECT_EQ(p.schema(Project::InversionRow, 0), 0);
    EXPECT_EQ(p.schema(Project::InversionRow, 1), 2);
    EXPECT_EQ(p.schema(Project::InversionRow, 2), 0);
    EXPECT_EQ(input(p, 1, 1), Pair(0, 2));
    EXPECT_EQ(input(p, 1, 2), Pair(1, 2));
    EXPECT_EQ(input(p, 2, 1), Pair(0, 3));
    EXPECT_EQ(input(p, 0, 1), Pair(0, 0));
    EXPECT_EQ(p.schema(Project::OrderRow, 1), 0);
    EXPECT_EQ(p.schema(Project::OrderRow, 2), 1);
    EXPECT_EQ(p.schema(Project::OrderRow, 3), 2);
    EXPECT_EQ(p.instanceCounter(BlockType::A_I), 1);
    EXPECT_EQ(p.instanceCounter(BlockType::MUL), 1);
    // The inverter takes a record but no block.
    EXPECT_EQ(p.components()[3].designator, "D1\"");
    EXPECT_EQ(p.components()[3].mnemonic, "0");
    EXPECT_EQ(p.components()[1].value, "2_1\")");

    ASSERT_EQ(r.layout.icons().size(), 3u);
    EXPECT_EQ(r.layout.icons()[0].iconNumber, 0);
    EXPECT_EQ(r.layout.icons()[0].position, QPoint(900, 200));
    EXPECT_EQ(r.layout.icons()[1].iconNumber, 5);
    EXPECT_EQ(r.layout.icons()[1].position, QPoint(1600, 200));
    EXPECT_EQ(r.layout.icons()[2].iconNumber, 1);
    EXPECT_EQ(r.layout.icons()[2].position, QPoint(2300, 200));
}

TEST(NetlistImport, AutomaticNumberingGivesTheSameTables) {
    NetlistImport manual, automatic;
    const ImportResult m = manual.importText(workedExample(), Numbering::Manual);
    const ImportResult a = automatic.importText(workedExample(), Numbering::Auto);
    ASSERT_TRUE(a.ok) << a.message.toStdString();
    Project mp = m.project, ap = a.project;
    EXPECT_EQ(ap.components()[0].value, "1_");
    mp.components().fill(ComponentRecord{});
    ap.components().fill(ComponentRecord{});
    EXPECT_TRUE(mp == ap);
}

TEST(NetlistImport, AutomaticNumberingCountsInstancesPerType) {
    const QString text = netlist(component("U1", "MUL", "7") + component("U2", "SUM", "8") +
                                 component("U3", "MUL", "9") + component("U4", "MUL", "10"));
    NetlistImport import;
    const ImportResult r = import.importText(text, Numbering::Auto);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.project.instance(0), 1);
    EXPECT_EQ(r.project.instance(1), 1);
    EXPECT_EQ(r.project.instance(2), 2);
    EXPECT_EQ(r.project.instance(3), 3);
    EXPECT_EQ(r.project.priority(3), 10);
    EXPECT_EQ(r.project.instanceCounter(BlockType::MUL), 3);
    EXPECT_EQ(r.layout.iconOf(3)->iconNumber, (BlockType::MUL - 1) + 33 * 2);
}

TEST(NetlistImport, ManualValueWithTwoDigitPriorityAndInstance) {
    NetlistImport import;
    const ImportResult r = import.importText(netlist(component("U12", "S_P", "12_10")), Numbering::Manual);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.project.blockType(11), BlockType::S_P);
    EXPECT_EQ(r.project.priority(11), 12);
    EXPECT_EQ(r.project.instance(11), 10);
    EXPECT_EQ(r.project.schema(Project::OrderRow, 12), 11);
}

TEST(NetlistImport, ReadingRulesDoNotChangeTheResult) {
    NetlistImport plain, other;
    const ImportResult a = plain.importText(workedExample(), Numbering::Manual);
    // Tabs instead of blanks, CR LF line ends, and two node lines joined by a comma.
    QString text = workedExample();
    text.replace(QStringLiteral("    (node \"U2\" \"12\")\n"), QStringLiteral("\t(node \"U2\" \"12\"),  (node \"U3\" \"1\")\n"));
    text.replace(QStringLiteral("    (node \"U3\" \"1\")\n"), QString());
    text.replace(QStringLiteral("  "), QStringLiteral("\t"));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const ImportResult b = other.importText(text, Numbering::Manual);
    ASSERT_TRUE(b.ok) << b.message.toStdString();
    EXPECT_TRUE(a.project == b.project);
    EXPECT_EQ(plain.lineCount(), other.lineCount());
}

TEST(NetlistImport, StreamAndDeviceReadTheSameText) {
    NetlistImport fromText, fromStream, fromDevice;
    const QString text = workedExample();
    QString copy = text;
    QTextStream stream(&copy);
    QByteArray bytes = text.toLatin1();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const ImportResult a = fromText.importText(text, Numbering::Manual);
    const ImportResult b = fromStream.importStream(stream, Numbering::Manual);
    const ImportResult c = fromDevice.importDevice(buffer, Numbering::Manual);
    EXPECT_TRUE(a.project == b.project);
    EXPECT_TRUE(a.project == c.project);
}

TEST(NetlistImport, ComponentsThatAreNotBlocksAreIgnored) {
    const QString text = netlist(component("U1", "A_I", "1_1") + component("R1", "RES", "10k") +
                                 component("U2", "INV", "2_1") + component("U3", "***", "3_1") +
                                 component("U4", "a_i", "4_1") + net("N1", {"U1:1", "R1:2"}));
    NetlistImport import;
    const ImportResult r = import.importText(text, Numbering::Manual);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.project.blockCount(), 1);
}

TEST(NetlistImport, GraJurAndScaInputsGoToTheirOwnTables) {
    const QString text = netlist(component("U1", "A_I", "1_1") + component("U2", "GRA", "2_1") +
                                 component("U3", "JUR", "3_1") + component("U4", "SCA", "4_1") +
                                 component("U5", "PID", "5_1") +
                                 net("N1", {"U2:32", "U1:3", "U3:32", "U4:32", "U4:35", "U4:134"}) +
                                 net("N2", {"U4:67", "U5:1"}) + net("N3", {"U3:40", "U5:2"}));
    NetlistImport import;
    const ImportResult r = import.importText(text, Numbering::Manual);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const Project &p = r.project;
    EXPECT_EQ(p.trendLink(62), 2);
    EXPECT_EQ(p.trendLink(63), 2);
    EXPECT_EQ(p.journalLink(62), 2);
    EXPECT_EQ(p.journalLink(63), 2);
    EXPECT_EQ(p.scadaLink(0, 62), 2);  // pin 32: page 0, slot 31
    EXPECT_EQ(p.scadaLink(0, 63), 2);
    EXPECT_EQ(p.scadaLink(1, 0), 2);   // pin 35: page 1, slot 0
    EXPECT_EQ(p.scadaLink(1, 1), 2);
    EXPECT_EQ(p.scadaLink(3, 62), 2);  // pin 134: page 3, slot 31
    EXPECT_EQ(input(p, 4, 1), Pair(2, 5));  // SCA output pin 67 is output 2
    EXPECT_EQ(input(p, 4, 2), Pair(0, 4));  // JUR pin 40 counts down from 40
    // Nothing of these inputs lands in the ordinary link table.
    for (int c = 1; c <= 3; ++c)
        for (int e = 0; e < 16; ++e) EXPECT_EQ(p.link(c, e), 0);
}

TEST(NetlistImport, DriverIsFoundWhereverItStandsInTheNet) {
    const QString text = netlist(component("U1", "MUL", "1_1") + component("U2", "SUM", "2_1") +
                                 component("U3", "AND", "3_1") + component("U4", "PID", "4_1") +
                                 net("N1", {"U2:1", "U3:4", "U4:6", "U1:10", "U2:2"}));
    NetlistImport import;
    const ImportResult r = import.importText(text, Numbering::Manual);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(input(r.project, 1, 1), Pair(2, 2));
    EXPECT_EQ(input(r.project, 1, 2), Pair(2, 2));
    EXPECT_EQ(input(r.project, 2, 4), Pair(2, 2));
    EXPECT_EQ(input(r.project, 3, 6), Pair(2, 2));
}

TEST(NetlistImport, JournalInverterSetsTheJournalMask) {
    const QString text = netlist(component("U1", "D_I", "1_1") + component("U2", "JUR", "2_1") +
                                 component("D1", "INV", "0") + component("D2", "INV", "0") +
                                 net("N1", {"U1:1", "D1:1"}) + net("N2", {"U2:31", "D1:2"}) +
                                 net("N3", {"U1:2", "D2:1"}) + net("N4", {"D2:2", "U2:1"}));
    NetlistImport import;
    const ImportResult r = import.importText(text, Numbering::Manual);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.project.journalInvertMask(), (1 << 30) | 1);
    EXPECT_EQ(r.project.journalLink(64), 1);
    EXPECT_EQ(r.project.journalLink(67), 0x40);
    EXPECT_EQ(r.project.schema(Project::InversionRow, 1), 0);
    EXPECT_EQ(r.project.journalLink(60), 0);
    EXPECT_EQ(r.project.journalLink(61), 2);
    EXPECT_EQ(r.project.journalLink(0), 1);
    EXPECT_EQ(r.project.journalLink(1), 2);
}

TEST(NetlistImport, KeepsTheLinesAsRead) {
    NetlistImport import;
    ASSERT_TRUE(import.importText(workedExample(), Numbering::Manual).ok);
    EXPECT_EQ(import.lines().size(), 33);  // the worked example's 32 lines and the closing bracket
    EXPECT_EQ(import.lineCount(), 34);
    EXPECT_EQ(import.lines().first(), "(compInst \"U1\"");
    EXPECT_EQ(import.lines()[25], "(node \"D1\" \"2\")");
}
