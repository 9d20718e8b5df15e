#include "model/Cp1251.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileLayout.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include <QBuffer>
#include <QList>
#include <gtest/gtest.h>
#include <cmath>

using namespace z5;

namespace {

const QChar kPoint = QLatin1Char('.');
const QChar kComma = QLatin1Char(',');

QList<QByteArray> linesOf(const QByteArray &file) {
    QList<QByteArray> lines = file.split('\n');
    EXPECT_TRUE(lines.last().isEmpty());  // the last line has its CR LF too
    lines.removeLast();
    for (QByteArray &l : lines) {
        EXPECT_TRUE(l.endsWith('\r'));
        l.chop(1);
    }
    return lines;
}

QByteArray joinLines(const QList<QByteArray> &lines) {
    QByteArray out;
    for (const QByteArray &l : lines) out += l + "\r\n";
    return out;
}

ParameterFileLoad load(const QByteArray &file, QChar sep, ParameterStore &store) {
    QByteArray copy = file;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ParameterFileReader::read(buffer, sep, store);
}

// Values that are the nearest float of a decimal of at most six digits, so that the
// file's seven significant digits keep them exactly.
ParameterStore filledStore() {
    ParameterStore store;
    int k = 0;
    for (int type = 1; type <= 33; ++type) {
        auto *t = store.numberTable(type);
        for (int s = 0; s < t->slotCount(); ++s)
            for (int r = 0; r < t->rowCount(); ++r, ++k)
                t->setValue(s, r, (k % 7 - 3) * 0.125f * static_cast<float>(k % 1000));
    }
    store.numbersPID.setValue(1, 1, 0.001f);
    store.numbersPRO.setValue(2, 3, -2.5e-7f);
    store.numbersOSC.setValue(3, 4, 1.5e12f);
    store.numbersSUM.setValue(4, 5, -0.75f);
    for (int s = 0; s < 13; ++s)
        for (int r = 0; r < 10; ++r) store.setpointNames.setValue(s, r, QStringLiteral("  Задатчик %1.%2 ").arg(s).arg(r));
    for (int s = 0; s < 9; ++s)
        for (int r = 0; r < 6; ++r) store.panelTexts.setValue(s, r, QStringLiteral("Панель %1/%2").arg(s).arg(r));
    for (int e = 0; e < 35; ++e) store.trendTexts.setElement(e, QStringLiteral("Температура печи %1").arg(e));
    for (int e = 0; e < 34; ++e) store.journalTexts.setElement(e, e % 2 ? QString() : QStringLiteral("Событие №%1").arg(e));
    for (int e = 0; e < 43; ++e) store.journalDelays.setElement(e, static_cast<std::uint8_t>(e * 6));
    return store;
}

// Every place the file holds is equal in both stores, fractions included, whichever
// separator the file was written with.
void expectFileRangesEqual(const ParameterStore &a, const ParameterStore &b) {
    for (const auto &s : ParameterFileLayout::sections())
        for (int f = 0; f < s.firstCount; ++f)
            for (int r = s.secondFrom; r <= s.secondTo; ++r) {
                const StorePlace p{s.table, s.type, f, r};
                EXPECT_EQ(a.number(p), b.number(p)) << s.type << " " << f << " " << r;
                EXPECT_EQ(a.text(p), b.text(p));
                EXPECT_EQ(a.byte(p), b.byte(p));
            }
}

} // namespace

TEST(ParameterFileWriter, UntouchedStoreGivesTheFullLayout) {
    const QList<QByteArray> lines = linesOf(ParameterFileWriter::write(ParameterStore(), kPoint));
    ASSERT_EQ(lines.size(), 4149);
    EXPECT_EQ(lines[0], cp1251::encode(QStringLiteral("*************** Параметры схемы ****************")));
    EXPECT_EQ(lines[1], QByteArray(" 0 "));
    EXPECT_EQ(lines[1065], QByteArray());     // line 1066: first setpointNames text
    EXPECT_EQ(lines[3579], QByteArray(" 0 "));  // line 3580: journalDelays 0
    EXPECT_EQ(lines[4148], QByteArray(" 0 "));
}

TEST(ParameterFileWriter, LinesFollowTheIndexOrder) {
    ParameterStore store;
    store.numbersA_I.setValue(0, 0, 0.0f);
    store.numbersA_I.setValue(0, 1, 100.0f);
    store.numbersA_I.setValue(0, 2, -12.5f);
    store.numbersA_I.setValue(1, 0, 7.0f);
    store.numbersAND.setValue(3, 4, 2.0f);
    store.numbersGRA.setValue(6, 32, 9.0f);
    store.trendTexts.setElement(1, QStringLiteral("Температура печи"));
    store.journalDelays.setElement(0, 3);
    store.numbersUNI.setValue(7, 16, -1.0f);
    QList<QByteArray> lines = linesOf(ParameterFileWriter::write(store, kComma));
    EXPECT_EQ(lines[2 - 1], QByteArray(" 0 "));
    EXPECT_EQ(lines[3 - 1], QByteArray(" 100 "));
    EXPECT_EQ(lines[4 - 1], QByteArray("-12,5 "));
    EXPECT_EQ(lines[46 - 1], QByteArray(" 7 "));
    EXPECT_EQ(lines[946 + 3 - 1], QByteArray(" 2 "));
    EXPECT_EQ(lines[3460 - 1], QByteArray(" 9 "));
    EXPECT_EQ(lines[3462 - 1], cp1251::encode(QStringLiteral("Температура печи")));
    EXPECT_EQ(lines[3580 - 1], QByteArray(" 3 "));
    EXPECT_EQ(lines[4149 - 1], QByteArray("-1 "));
}

TEST(ParameterFileWriter, TextLineBreaksCannotShiftTheLayout) {
    ParameterStore store;
    store.journalTexts.setElement(0, QStringLiteral("a\r\nb"));
    const QList<QByteArray> lines = linesOf(ParameterFileWriter::write(store, kPoint));
    ASSERT_EQ(lines.size(), 4149);
    EXPECT_EQ(lines[3547 - 1], QByteArray("a  b"));
}

TEST(ParameterFileReader, SaveAndLoadReproduceEveryValueInBothSeparators) {
    for (QChar sep : {kPoint, kComma}) {
        const ParameterStore original = filledStore();
        const QByteArray file = ParameterFileWriter::write(original, sep);
        ParameterStore loaded;
        // Places that are not in the file keep what they held.
        loaded.numbersAND.setValue(0, 0, 42.0f);
        loaded.numbersRS4.setElement(0, 42.0f);
        loaded.numbersABS.setValue(1, 1, 42.0f);
        loaded.numbersMUL.setValue(0, 4, 42.0f);
        loaded.numbersGRA.setValue(7, 0, 42.0f);
        loaded.setpointNames.setValue(12, 0, QStringLiteral("keep"));
        loaded.journalDelays.setElement(42, 42);
        const ParameterFileLoad result = load(file, sep, loaded);
        ASSERT_TRUE(result.ok) << result.message.toStdString();
        expectFileRangesEqual(original, loaded);
        EXPECT_EQ(loaded.numbersAND.value(0, 0), 42.0f);
        EXPECT_EQ(loaded.numbersRS4.element(0), 42.0f);
        EXPECT_EQ(loaded.numbersABS.value(1, 1), 42.0f);
        EXPECT_EQ(loaded.numbersMUL.value(0, 4), 42.0f);
        EXPECT_EQ(loaded.numbersGRA.value(7, 0), 42.0f);
        EXPECT_EQ(loaded.setpointNames.value(12, 0), QStringLiteral("keep"));
        EXPECT_EQ(loaded.journalDelays.element(42), 42);
        EXPECT_EQ(loaded.setpointNames.value(0, 0), QStringLiteral("  Задатчик 0.0 "));  // blanks kept
        if (sep == kPoint) {
            EXPECT_EQ(ParameterFileWriter::write(loaded, sep), file);
        }
    }
}

TEST(ParameterFileReader, CommaLinesKeepTheirFractionsInEverySection) {
    QList<QByteArray> lines = linesOf(ParameterFileWriter::write(ParameterStore(), kComma));
    lines[738 - 1] = " 0,75 ";  // numbersMUL (0, 0), once read as 0
    lines[2 - 1] = " 0,75 ";    // numbersA_I (0, 0), read rule L
    ParameterStore store;
    ASSERT_TRUE(load(joinLines(lines), kComma, store).ok);
    EXPECT_EQ(store.numbersMUL.value(0, 0), 0.75f);
    EXPECT_EQ(store.numbersA_I.value(0, 0), 0.75f);

    // The same comma line in a point locale: the D_O..S_P sections take either separator.
    lines[2 - 1] = " 0 ";
    lines[970 - 1] = "-12.5 ";  // numbersS_P (0, 0)
    ParameterStore pointStore;
    ASSERT_TRUE(load(joinLines(lines), kPoint, pointStore).ok);
    EXPECT_EQ(pointStore.numbersMUL.value(0, 0), 0.75f);
    EXPECT_EQ(pointStore.numbersS_P.value(0, 0), -12.5f);
    for (const char *bad : {"", "12abc", "1,2.3"}) {
        lines[970 - 1] = bad;
        EXPECT_EQ(load(joinLines(lines), kPoint, pointStore).line, 970) << bad;
    }
}

TEST(ParameterFileReader, HeaderIsNotExaminedAndExtraLinesAreIgnored) {
    ParameterStore source;
    source.numbersUNI.setValue(7, 16, 5.0f);
    QList<QByteArray> lines = linesOf(ParameterFileWriter::write(source, kPoint));
    lines[0] = "anything at all";
    lines << "garbage" << "more garbage";
    ParameterStore store;
    const ParameterFileLoad r = load(joinLines(lines), kPoint, store);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(store.numbersUNI.value(7, 16), 5.0f);
    // Bare LF line ends and a last line without its end read the same.
    QByteArray lf = joinLines(lines).replace("\r\n", "\n");
    ParameterStore lfStore;
    EXPECT_TRUE(load(lf, kPoint, lfStore).ok);
    EXPECT_EQ(lfStore, store);
}

TEST(ParameterFileReader, AShortFileChangesNothingAndNamesTheLine) {
    const QList<QByteArray> lines = linesOf(ParameterFileWriter::write(filledStore(), kPoint));
    const ParameterStore before;  // all zero
    ParameterStore store = before;
    const ParameterFileLoad r = load(joinLines(lines.mid(0, 2000)), kPoint, store);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, 2001);
    EXPECT_EQ(r.message, QStringLiteral("Файл параметров обрывается: нет строки 2001 из 4149. Параметры не изменены."));
    EXPECT_EQ(store, before);

    const ParameterFileLoad empty = load(QByteArray(), kPoint, store);
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.line, 1);
    EXPECT_EQ(store, before);
}

TEST(ParameterFileReader, ARejectedLineChangesNothingAndNamesTheLine) {
    QList<QByteArray> lines = linesOf(ParameterFileWriter::write(filledStore(), kPoint));
    lines[1200 - 1] = " 1,5 ";  // numbersPID, read rule L, in a locale with a point
    ParameterStore store;
    const ParameterFileLoad r = load(joinLines(lines), kPoint, store);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, 1200);
    EXPECT_EQ(r.message,
              QStringLiteral("Строка 1200 файла параметров не читается: \" 1,5 \". Параметры не изменены."));
    EXPECT_EQ(store, ParameterStore());

    lines[1200 - 1] = " 1.5 ";
    lines[3600 - 1] = " 256 ";  // journalDelays
    EXPECT_EQ(load(joinLines(lines), kPoint, store).line, 3600);
    lines[3600 - 1] = " 255 ";
    lines[800 - 1] = " 1E+39 ";  // V rule: out of single-precision range
    EXPECT_EQ(load(joinLines(lines), kPoint, store).line, 800);
    lines[800 - 1] = "text";     // V rule: a line that is no number is refused too
    EXPECT_EQ(load(joinLines(lines), kPoint, store).line, 800);
    EXPECT_EQ(store, ParameterStore());
}

TEST(ParameterFileReader, LongFaultyLinesAreQuotedShort) {
    QList<QByteArray> lines = linesOf(ParameterFileWriter::write(ParameterStore(), kPoint));
    lines[2 - 1] = QByteArray(100, 'x');
    ParameterStore store;
    const ParameterFileLoad r = load(joinLines(lines), kPoint, store);
    EXPECT_EQ(r.message, QStringLiteral("Строка 2 файла параметров не читается: \"") + QString(40, QLatin1Char('x')) +
                             QStringLiteral("…\". Параметры не изменены."));
    // A terminal escape in the line is shown, never obeyed.
    lines[2 - 1] = "\x1b[2J";
    EXPECT_EQ(load(joinLines(lines), kPoint, store).message,
              QStringLiteral("Строка 2 файла параметров не читается: \"\\x1b[2J\". Параметры не изменены."));
}
