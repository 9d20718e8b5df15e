#include "download/NameTables.h"
#include "model/ParameterStore.h"
#include <gtest/gtest.h>

using namespace z5;

TEST(NameTables, SizesOfAnEmptyStore) {
    const ParameterStore store;
    EXPECT_EQ(NameTables::setpointNames(store), QByteArray(1836, ' '));
    EXPECT_EQ(NameTables::panelTexts(store), QByteArray(680, ' '));
    EXPECT_EQ(NameTables::trendNames(store), QByteArray(578, ' '));
    EXPECT_EQ(NameTables::journalNames(store), QByteArray(660, ' '));
    EXPECT_EQ(NameTables::journalBytes(store), QByteArray(32, '\0'));
    EXPECT_EQ(NameTables::alarmTexts({}), QByteArray(320, ' '));
}

TEST(NameTables, FixedWidthFields) {
    EXPECT_EQ(NameTables::fixedField(QStringLiteral("12345678901234567890"), 17), QByteArray("12345678901234567"));
    EXPECT_EQ(NameTables::fixedField(QStringLiteral("abc"), 20), QByteArray("abc") + QByteArray(17, ' '));
    EXPECT_EQ(NameTables::fixedField(QStringLiteral("А"), 2), QByteArray("\xC0 "));
    EXPECT_EQ(NameTables::fixedField(QStringLiteral("Ж€"), 3), QByteArray("\xC6\x88 "));
    // A character the code page lacks still takes its byte.
    EXPECT_EQ(NameTables::fixedField(QStringLiteral("a\u4E2Db"), 4), QByteArray("a?b "));
    EXPECT_EQ(NameTables::fixedField(QString(), 3), QByteArray("   "));
}

TEST(NameTables, SetpointAndPanelOrderIsInstanceMajor) {
    ParameterStore store;
    store.setpointNames.setValue(0, 8, QStringLiteral("Блок"));
    store.setpointNames.setValue(1, 0, QStringLiteral("Z"));
    store.setpointNames.setValue(11, 8, QStringLiteral("L"));
    store.setpointNames.setValue(12, 0, QStringLiteral("never"));
    store.setpointNames.setValue(0, 9, QStringLiteral("never"));
    const QByteArray t5 = NameTables::setpointNames(store);
    ASSERT_EQ(t5.size(), NameTables::kSetpointNamesBytes);
    EXPECT_EQ(t5.mid(8 * 17, 17), QByteArray("\xC1\xEB\xEE\xEA") + QByteArray(13, ' '));
    EXPECT_EQ(t5.at(9 * 17), 'Z');
    EXPECT_EQ(t5.at(1836 - 17), 'L');
    EXPECT_FALSE(t5.contains("never"));

    store.panelTexts.setValue(7, 4, QStringLiteral("P"));
    store.panelTexts.setValue(0, 5, QStringLiteral("never"));
    const QByteArray t6 = NameTables::panelTexts(store);
    EXPECT_EQ(t6.at(680 - 17), 'P');
    EXPECT_FALSE(t6.contains("never"));
}

TEST(NameTables, TrendJournalAndBytes) {
    ParameterStore store;
    store.trendTexts.setElement(33, QStringLiteral("T"));
    store.trendTexts.setElement(34, QStringLiteral("never"));
    const QByteArray t7 = NameTables::trendNames(store);
    EXPECT_EQ(t7.at(33 * 17), 'T');
    EXPECT_FALSE(t7.contains("never"));

    store.journalTexts.setElement(0, QStringLiteral("abc"));
    store.journalTexts.setElement(33, QStringLiteral("never"));
    const QByteArray t8 = NameTables::journalNames(store);
    EXPECT_EQ(t8.left(20), QByteArray("abc") + QByteArray(17, ' '));
    EXPECT_FALSE(t8.contains("never"));

    for (int e = 0; e < 43; ++e) store.journalDelays.setElement(e, static_cast<std::uint8_t>(e + 100));
    const QByteArray t9 = NameTables::journalBytes(store);
    ASSERT_EQ(t9.size(), 32);
    EXPECT_EQ(static_cast<std::uint8_t>(t9.front()), 110);
    EXPECT_EQ(static_cast<std::uint8_t>(t9.back()), 141);
}

TEST(NameTables, AlarmTextsAreAlwaysTenBytes) {
    QStringList texts;
    texts << QStringLiteral("123456789012") << QStringLiteral("Авария") << QString();
    for (int i = 0; i < 40; ++i) texts << QStringLiteral("x");
    const QByteArray t11 = NameTables::alarmTexts(texts);
    ASSERT_EQ(t11.size(), 320);
    EXPECT_EQ(t11.left(10), QByteArray("1234567890"));
    EXPECT_EQ(t11.mid(10, 10), QByteArray("\xC0\xE2\xE0\xF0\xE8\xFF    "));
    EXPECT_EQ(t11.mid(20, 10), QByteArray(10, ' '));
    EXPECT_EQ(t11.mid(310, 10), QByteArray("x") + QByteArray(9, ' '));
    EXPECT_EQ(texts[0], QStringLiteral("123456789012"));  // the caller's texts stay as they were
}
