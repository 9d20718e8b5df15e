#include "model/Cp1251.h"
#include <gtest/gtest.h>

namespace cp = z5::cp1251;

TEST(Cp1251, CyrillicAndAsciiRoundTrip) {
    const QString text = QString::fromUtf8("Ошибка netLIST ёЁ №");
    const QByteArray bytes = cp::encode(text);
    EXPECT_EQ(bytes, QByteArray("\xCE\xF8\xE8\xE1\xEA\xE0 netLIST \xB8\xA8 \xB9"));
    EXPECT_EQ(cp::decode(bytes), text);
    EXPECT_TRUE(cp::canEncode(text));
}

TEST(Cp1251, UnencodableCharactersBecomeQuestionMarks) {
    const QString text = QString::fromUtf8("a€b✓c");
    EXPECT_EQ(cp::encode(text), QByteArray("a\x88" "b?c"));
    EXPECT_FALSE(cp::canEncode(text));
}

TEST(Cp1251, EveryDefinedByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        const QByteArray one(1, static_cast<char>(b));
        EXPECT_EQ(cp::encode(cp::decode(one)), one) << b;
    }
}
