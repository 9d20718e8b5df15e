// The messages that stop an import, word for word, and the empty project they leave.
#include "NetlistText.h"
#include "import/NetlistImport.h"
#include <gtest/gtest.h>

using namespace z5;
using namespace z5test;

namespace {

struct Case {
    const char *name;
    Numbering mode;
    QString body;
    QString message;
};
void PrintTo(const Case &row, std::ostream *os) { *os << row.name; }

QString manyOf(const QString &part, int count, int firstDesignator = 1) {
    QString body;
    for (int i = 0; i < count; ++i)
        body += component(QStringLiteral("U%1").arg(firstDesignator + i), part, QString::number(i + 1));
    return body;
}

class ValidationMessages : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(ValidationMessages, StopTheImportWithAnEmptyProject) {
    const Case &c = GetParam();
    NetlistImport import;
    const ImportResult r = import.importText(netlist(c.body), c.mode);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.toStdString(), c.message.toStdString());
    EXPECT_TRUE(r.project == Project());
    EXPECT_TRUE(r.layout.icons().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Import, ValidationMessages,
    ::testing::Values(
        Case{"ManualInstanceAbove12", Numbering::Manual, component("U5", "S_P", "5_13"),
             "№ экземпляра больше 12 блок U5"},
        Case{"ManualInstanceAbove8", Numbering::Manual, component("U1", "A_I", "1_1") + component("U2", "MUL", "12_10"),
             "№ экземпляра больше 8 блок U2"},
        Case{"NinthMulInAutomaticNumbering", Numbering::Auto, manyOf("MUL", 9), "№ экземпляра больше 8 блок U9"},
        Case{"ThirteenthSpInAutomaticNumbering", Numbering::Auto, manyOf("S_P", 13, 20),
             "№ экземпляра больше 12 блок U32"},
        Case{"InstanceZero", Numbering::Manual, component("U3", "PID", "3_0"), "Не верный № экземпляра  блок U3"},
        Case{"SameTypeAndInstance", Numbering::Manual,
             component("U2", "PID", "1_4") + component("U9", "MUL", "2_4") + component("U4", "PID", "3_4"),
             "Одинаковые номера экземпляров 4 блоков U4 и U2"},
        Case{"SamePriorityNamesTheLaterBlockFirst", Numbering::Manual,
             component("U3", "A_I", "5_1") + component("U7", "A_O", "5_1"),
             "Одинаковые номера приоритета 5 блоков U7 и U3"},
        Case{"SamePriorityInAutomaticNumbering", Numbering::Auto,
             component("U10", "A_I", "5") + component("U2", "A_O", "5"),
             "Одинаковые номера приоритета 5 блоков U2 и U10"},
        Case{"PriorityZeroMeetsTheFirstEmptyColumn", Numbering::Manual,
             component("U1", "A_I", "1_1") + component("U3", "A_O", "0_1"),
             "Одинаковые номера приоритета 0 блоков U3 и U2"}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(ValidationMessages, DuplicateInstanceIsAllowedInAutomaticNumbering) {
    // Automatic numbering gives the instances itself, so the value's instance is never read.
    NetlistImport import;
    const ImportResult r =
        import.importText(netlist(component("U2", "PID", "1_4") + component("U4", "PID", "3_4")), Numbering::Auto);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.project.instance(3), 2);
}

TEST(ValidationMessages, TwelveSetpointProgrammersAreFine) {
    NetlistImport import;
    const ImportResult r = import.importText(netlist(manyOf("S_P", 12)), Numbering::Auto);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.project.instance(11), 12);
    EXPECT_EQ(r.layout.iconOf(11)->iconNumber, 15 + 33 * 11);
}
