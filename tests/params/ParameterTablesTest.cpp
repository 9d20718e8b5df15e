#include "download/ParameterTables.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

// Byte offset of a value of table 10.
int offsetOf(int type, int slot, int row) {
    int values = 0;
    for (const auto &s : ParameterTables::parameterLayout()) {
        if (s.type == type) return 4 * (values + slot * s.rows + row);
        values += s.instances * s.rows;
    }
    return -1;
}

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

} // namespace

TEST(ParameterTables, LayoutCoversEveryTypeOnceWithMuxAfterPid) {
    int values = 0;
    std::vector<int> order;
    for (const auto &s : ParameterTables::parameterLayout()) {
        values += s.instances * s.rows;
        order.push_back(s.type);
    }
    EXPECT_EQ(values, ParameterTables::kParameterValues);
    EXPECT_EQ(order[16], BlockType::PID);
    EXPECT_EQ(order[17], BlockType::MUX);
    std::sort(order.begin(), order.end());
    for (int i = 0; i < 33; ++i) EXPECT_EQ(order[i], i + 1);
}

TEST(ParameterTables, EmptyStoreSendsZerosAndTheFixedRs4Values) {
    ParameterStore store;
    store.numbersRS4.setElement(1, 9.0f);  // edits of RS4 never reach the controller
    const ParameterTableBuild t10 = ParameterTables::parameters(store);
    ASSERT_TRUE(t10.ok());
    ASSERT_EQ(t10.data.size(), 16824);
    const int rs4 = offsetOf(BlockType::RS4, 0, 0);
    EXPECT_EQ(rs4, 2944);
    EXPECT_EQ(t10.data.mid(rs4, 16), hex("00000000A00F0000E8030000E8030000"));
    QByteArray rest = t10.data;
    rest.remove(rs4, 16);
    EXPECT_EQ(rest, QByteArray(16824 - 16, '\0'));
}

TEST(ParameterTables, ValuesInSendingOrder) {
    ParameterStore store;
    store.numbersA_I.setValue(0, 0, 1.5f);
    store.numbersA_I.setValue(0, 1, -1.5f);
    store.numbersPID.setValue(7, 18, 2.0f);   // a choice code 2
    store.numbersMUX.setValue(0, 0, 1000000.0f);
    store.numbersUNI.setValue(7, 16, 0.001f);
    const QByteArray d = ParameterTables::parameters(store).data;
    ASSERT_EQ(d.size(), 16824);
    EXPECT_EQ(d.left(8), hex("DC050000DC050080"));
    EXPECT_EQ(offsetOf(BlockType::MUX, 0, 0), offsetOf(BlockType::PID, 7, 18) + 4);
    EXPECT_EQ(d.mid(offsetOf(BlockType::PID, 7, 18), 8), hex("D007000000CA9A3B"));
    EXPECT_EQ(d.right(4), hex("01000000"));
}

TEST(ParameterTables, SlotsAndRowsBeyondTheSentOnesStayHome) {
    ParameterStore store;
    store.numbersA_I.setValue(8, 0, 5.0f);
    store.numbersA_I.setValue(0, 44, 5.0f);
    store.numbersS_P.setValue(12, 0, 5.0f);
    store.numbersGRA.setValue(7, 0, 5.0f);
    store.numbersGRA.setValue(0, 33, 5.0f);
    store.numbersJUR.setElement(51, 5.0f);
    EXPECT_EQ(ParameterTables::parameters(store).data, ParameterTables::parameters(ParameterStore()).data);
    store.numbersSCA.setElement(199, 5.0f);  // SCA goes whole
    EXPECT_EQ(ParameterTables::parameters(store).data.mid(offsetOf(BlockType::SCA, 0, 199), 4), hex("88130000"));
}

TEST(ParameterTables, AValueThatDoesNotFitStopsTheWholeTable) {
    ParameterStore store;
    store.numbersPID.setValue(2, 5, 2200000.0f);
    store.numbersGRA.setValue(1, 3, -3000000.0f);
    store.numbersSCA.setElement(10, 1e12f);
    store.numbersA_I.setValue(0, 0, 2147483.0f);  // fits: 2147483000
    const auto faults = ParameterTables::checkParameters(store);
    ASSERT_EQ(faults.size(), 3u);
    const ParameterTableBuild t10 = ParameterTables::parameters(store);
    EXPECT_FALSE(t10.ok());
    EXPECT_TRUE(t10.data.isEmpty());
    EXPECT_EQ(ParameterTables::faultMessage(t10.faults),
              QStringLiteral("Ошибка параметра\n"
                             "PID 3, строка 5: 2200000\n"
                             "GRA, столбец 1, строка 3: -3000000\n"
                             "SCA, элемент 10: 1000000000000"));
    EXPECT_EQ(ParameterTables::faultCaption(), QStringLiteral("Ошибка"));
    // Only sent places count: a huge value in a slot that is never sent is no fault.
    ParameterStore unsent;
    unsent.numbersPID.setValue(8, 0, 1e20f);
    EXPECT_TRUE(ParameterTables::checkParameters(unsent).empty());
}

TEST(ParameterTables, SetpointTable) {
    ParameterStore store;
    for (int row = 0; row < 9; ++row) store.numbersS_P.setValue(3, row, static_cast<float>(row + 1));
    const ParameterTableBuild t12 = ParameterTables::setpoints(store, 3);
    ASSERT_TRUE(t12.ok());
    ASSERT_EQ(t12.data.size(), ParameterTables::kSetpointBytes);
    EXPECT_EQ(t12.data.left(4), hex("E8030000"));
    EXPECT_EQ(t12.data.right(4), hex("401F0000"));  // row 7 = 8.0; row 8 is not sent

    store.numbersS_P.setValue(3, 6, -2200000.0f);
    const ParameterTableBuild bad = ParameterTables::setpoints(store, 3);
    EXPECT_TRUE(bad.data.isEmpty());
    EXPECT_EQ(ParameterTables::faultMessage(bad.faults), QStringLiteral("Ошибка параметра\nS_P 4, «Задатчик 7»: -2200000"));
    EXPECT_TRUE(ParameterTables::setpoints(store, 12).ok());
    const ParameterTableBuild none = ParameterTables::setpoints(store, 13);
    EXPECT_FALSE(none.ok());
    EXPECT_EQ(ParameterTables::faultMessage(none.faults),
              QStringLiteral("Ошибка параметра\nS_P 14: нет такого экземпляра"));
    EXPECT_FALSE(ParameterTables::setpoints(store, -1).ok());
}

TEST(ParameterTables, AFaultNamesThePanelRowAndTheValueAsTyped) {
    struct Case {
        int type;
        int slot;
        int row;
        float value;
        const char *line;
    };
    const Case cases[] = {
        {BlockType::PID, 0, 3, 1e8f, "PID 1, «ТД 1»: 100000000"},
        {BlockType::PID, 1, 4, -2500000.5f, "PID 2, «Период»: -2500000.5"},
        {BlockType::S_P, 3, 5, 3e6f, "S_P 4, «Задатчик 6»: 3000000"},
        {BlockType::MUL, 0, 7, 1e30f, "MUL 1, строка 7: 1e+30"},
    };
    for (const Case &c : cases) {
        ParameterStore store;
        store.numberTable(c.type)->setValue(c.slot, c.row, c.value);
        EXPECT_EQ(ParameterTables::faultMessage(ParameterTables::checkParameters(store)),
                  QStringLiteral("Ошибка параметра\n") + QString::fromUtf8(c.line));
    }
}
