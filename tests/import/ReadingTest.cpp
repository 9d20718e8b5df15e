#include "import/ColumnText.h"
#include "import/NetlistLine.h"
#include "import/NetlistReader.h"
#include <gtest/gtest.h>

using namespace z5;

TEST(ColumnText, LeadingNumberOfAText) {
    EXPECT_EQ(columns::value(u"5_3"), 5);
    EXPECT_EQ(columns::value(u"12_10\")"), 12);
    EXPECT_EQ(columns::value(u" 1 2"), 12);
    EXPECT_EQ(columns::value(u"-4x"), -4);
    EXPECT_EQ(columns::value(u"\"7\")"), 0);
    EXPECT_EQ(columns::value(u""), 0);
    EXPECT_EQ(columns::value(u"2.5"), 2.5);
    EXPECT_EQ(columns::value(u"1e2"), 100);
    EXPECT_EQ(columns::intValue(u"2.5"), 2);
    EXPECT_EQ(columns::intValue(u"3.5"), 4);
    EXPECT_EQ(columns::intValue(u"9e99"), 1000000000);
    EXPECT_EQ(columns::mid(u"(compInst \"U5\"", 12, 3), u"U5\"");
    EXPECT_EQ(columns::mid(u"short", 12, 3), u"");
    EXPECT_EQ(columns::right(u"ab", 5), u"ab");
}

TEST(NetlistLine, NodeFields) {
    const NetlistLine a = NetlistLine::parse(QStringLiteral("(node \"U12\" \"105\")"), 7);
    EXPECT_EQ(a.kind, NetlistLine::Node);
    EXPECT_EQ(a.designator, "U12");
    EXPECT_EQ(a.letter, u'U');
    EXPECT_EQ(a.number, 12);
    EXPECT_EQ(a.pin, 105);
    EXPECT_EQ(a.fileLine, 7);
    EXPECT_EQ(NetlistLine::parse(QStringLiteral("(node \"U12\" \"13\")"), 1).pin, 13);
    EXPECT_EQ(NetlistLine::parse(QStringLiteral("(node \"D1\" \"7\")"), 1).pin, 7);
    EXPECT_EQ(NetlistLine::parse(QStringLiteral("(node \"U123\" \"7\")"), 1).number, 123);
    EXPECT_EQ(NetlistLine::parse(QStringLiteral("(net \"N1\""), 1).kind, NetlistLine::NetStart);
    EXPECT_EQ(NetlistLine::parse(QStringLiteral("(compValue \"1_1\")"), 1).kind, NetlistLine::CompVal);
    EXPECT_EQ(NetlistLine::parse(QStringLiteral("(nodes"), 1).kind, NetlistLine::Other);
}

TEST(NetlistReader, KeepsEveryLineAfterTheNetlistLine) {
    NetlistText t;
    const QString text = QStringLiteral("ACCEL_ASCII \"x\"\r\n(netlist \"a\", (compInst \"U1\"\r\n"
                                        "\t  (node \"U1\" \"1\"),(node \"U2\" \"3\")\n\n(net \"N\"\r)");
    ASSERT_TRUE(NetlistReader::read(text, t).isEmpty());
    EXPECT_EQ(t.lines, QStringList({"(compInst \"U1\"", "(node \"U1\" \"1\")", "(node \"U2\" \"3\")", "",
                                    "(net \"N\"", ")"}));
    EXPECT_EQ(t.fileLines, QVector<int>({2, 3, 3, 4, 5, 6}));
}

TEST(NetlistReader, OnlyTheFirstNetlistLineCounts) {
    NetlistText t;
    ASSERT_TRUE(NetlistReader::read(QStringLiteral("(netlistx\n(netlist \"a\"\n(netlist \"b\"\nx"), t).isEmpty());
    EXPECT_EQ(t.lines, QStringList({"(netlist \"b\"", "x"}));
}
