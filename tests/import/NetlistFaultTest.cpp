// Netlists the tables cannot hold: "Ошибка netLIST " with the file line and what is
// wrong, and an empty project.
#include "NetlistText.h"
#include "import/NetlistImport.h"
#include <gtest/gtest.h>

using namespace z5;
using namespace z5test;

namespace {

struct Case {
    const char *name;
    QString text;
    QString message;
};
void PrintTo(const Case &row, std::ostream *os) { *os << row.name; }

class NetlistFaults : public ::testing::TestWithParam<Case> {};

// Two blocks and a net on line 12 of the file: "(net" on 11, the driver on 12.
QString withNet(const QString &extraComponents, const QStringList &nodes, const QString &moreNets = QString()) {
    return netlist(component("U1", "A_I", "1_1") + component("U2", "MUL", "2_1") + extraComponents +
                   net("N1", nodes) + moreNets);
}

QString manyComponents(int count) {
    QString body;
    for (int i = 0; i < count; ++i) body += component(QStringLiteral("D%1").arg(i + 1), "INV", "0");
    return netlist(body);
}

} // namespace

TEST_P(NetlistFaults, StopTheImportWithAnEmptyProject) {
    const Case &c = GetParam();
    NetlistImport import;
    const ImportResult r = import.importText(c.text, Numbering::Manual);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.toStdString(), c.message.toStdString());
    EXPECT_TRUE(r.project == Project());
}

INSTANTIATE_TEST_SUITE_P(
    Import, NetlistFaults,
    ::testing::Values(
        Case{"NoNetlistLine", "(compInst \"U1\"\n(originalName \"A_I\")\n(compValue \"1_1\")\n",
             "Ошибка netLIST нет строки \"(netlist \""},
        Case{"BlockDesignatorZero", netlist(component("U0", "A_I", "1_1")),
             "Ошибка netLIST строка 3: обозначение блока U0 вне U1..U99"},
        Case{"BlockDesignatorAbove99", netlist(component("U1", "A_I", "1_1") + component("U123", "MUL", "2_1")),
             "Ошибка netLIST строка 7: обозначение блока U123 вне U1..U99"},
        Case{"BlockWithoutDesignatorLetterU", netlist(component("D5", "MUL", "2_1")),
             "Ошибка netLIST строка 3: обозначение блока D5 вне U1..U99"},
        // A terminal escape in the file is shown, never obeyed.
        Case{"DesignatorWithAnEscape", netlist(component("U\x1b[2J", "MUL", "2_1")),
             "Ошибка netLIST строка 3: обозначение блока U\\x1b[2J вне U1..U99"},
        Case{"PriorityAbove99", netlist(component("U1", "A_I", "1_1") + component("U2", "MUL", "150+1")),
             "Ошибка netLIST строка 7: приоритет 150 блока U2 вне 1..99"},
        Case{"PriorityAboveAByte", netlist(component("U4", "MUL", "300+1")),
             "Ошибка netLIST строка 3: приоритет 300 блока U4 вне 1..99"},
        Case{"NegativePriority", netlist(component("U4", "MUL", "-5_1")),
             "Ошибка netLIST строка 3: приоритет -5 блока U4 вне 1..99"},
        Case{"NegativeInstance", netlist(component("U4", "MUL", "5_-1")),
             "Ошибка netLIST строка 3: № экземпляра -1 блока U4 вне 1..255"},
        Case{"MoreThan100Components", manyComponents(101),
             "Ошибка netLIST строка 403: больше 100 компонентов"},
        Case{"NodeDesignatorZero", withNet("", {"U1:1", "U0:1"}),
             "Ошибка netLIST строка 13: обозначение U0 вне 1..100"},
        Case{"NodeDesignatorAbove100", withNet("", {"U1:1", "U101:1"}),
             "Ошибка netLIST строка 13: обозначение U101 вне 1..100"},
        Case{"InverterOnOrdinaryInputAbove8",
             withNet(component("U3", "SCA", "3_1") + component("D1", "INV", "0"), {"U1:1", "D1:1"},
                     net("N2", {"D1:2", "U3:9"})),
             "Ошибка netLIST строка 25: инвертор D1 на входе 9 блока U3 (допустимы входы 1..8)"},
        Case{"InverterOnJournalInput32",
             withNet(component("U3", "JUR", "3_1") + component("D1", "INV", "0"), {"U1:1", "D1:1"},
                     net("N2", {"D1:2", "U3:32"})),
             "Ошибка netLIST строка 25: инвертор D1 на входе 32 блока U3 (допустимы входы 1..31)"},
        Case{"InverterFeedingAnInverter",
             withNet(component("D1", "INV", "0") + component("D2", "INV", "0"), {"U1:1", "D1:1"},
                     net("N2", {"D2:1", "D1:2"}) + net("N3", {"D2:2", "U2:1"})),
             "Ошибка netLIST строка 24: выход инвертора D1 подключён к инвертору D2"},
        Case{"InverterPinThatDoesNotExist",
             withNet(component("D1", "INV", "0"), {"U1:1", "D1:3"}),
             "Ошибка netLIST строка 17: у инвертора D1 нет вывода 3"},
        Case{"OrdinaryInputAbove8", withNet(component("U3", "A_O", "3_1"), {"U1:1", "U3:9"}),
             "Ошибка netLIST строка 17: вход 9 блока U3 вне таблицы связей"},
        Case{"InputPinZero", withNet("", {"U1:1", "U2:0"}),
             "Ошибка netLIST строка 13: вход 0 блока U2 вне таблицы связей"},
        Case{"TrendInputAbove32", withNet(component("U3", "GRA", "3_1"), {"U1:1", "U3:33"}),
             "Ошибка netLIST строка 17: вход 33 блока U3 вне таблицы связей"},
        Case{"ScreenPinBeyondItsPages", withNet(component("U3", "SCA", "3_1"), {"U1:1", "U3:137"}),
             "Ошибка netLIST строка 17: вывод 137 блока U3 вне 1..136"},
        Case{"DriverOutputBeyondAByte", withNet("", {"U1:300", "U2:1"}),
             "Ошибка netLIST строка 12: выход 299 блока U1 вне 0..255"}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(NetlistFaults, MoreThan10000Lines) {
    QString text = QStringLiteral("(netlist \"big\"\n");
    for (int i = 0; i < 10001; ++i) text += QStringLiteral("(attr \"x\")\n");
    NetlistImport import;
    const ImportResult r = import.importText(text, Numbering::Manual);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.toStdString(), "Ошибка netLIST строка 10002: больше 10000 строк");
    EXPECT_TRUE(import.lines().isEmpty());
}

TEST(NetlistFaults, ClosingBracketsPastTheLimitAreHarmless) {
    QString text = QStringLiteral("(netlist \"big\"\n");
    for (int i = 0; i < 10000; ++i) text += QStringLiteral("(attr \"x\")\n");
    text += QStringLiteral(")\n\n");
    NetlistImport import;
    const ImportResult r = import.importText(text, Numbering::Manual);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(import.lineCount(), 10001);
}

TEST(NetlistFaults, FileThatCannotBeOpened) {
    NetlistImport import;
    ASSERT_TRUE(import.importText(workedExample(), Numbering::Manual).ok);
    const ImportResult r = import.importFile(QStringLiteral("/nonexistent/schema.net"), Numbering::Manual);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.toStdString(), "Ошибка netLIST не удалось открыть файл /nonexistent/schema.net");
    EXPECT_TRUE(r.project == Project());
    // Nothing of the earlier file is left to import again.
    EXPECT_TRUE(import.importAgain(Numbering::Manual).project == Project());
}
