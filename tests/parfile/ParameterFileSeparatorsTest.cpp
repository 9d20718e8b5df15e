// Sections 4 to 12 (D_O .. S_P) of a parameter file read a decimal point and a
// decimal comma alike; a line that is no whole number is refused by its number.
#include "model/ParameterStore.h"
#include "parfile/ParameterFileLayout.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include "parfile/ParameterReadRules.h"
#include <QBuffer>
#include <QList>
#include <gtest/gtest.h>

using namespace z5;

namespace {

const QChar kPoint = QLatin1Char('.');
const QChar kComma = QLatin1Char(',');

ParameterFileLoad load(QByteArray file, QChar sep, ParameterStore &store) {
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    return ParameterFileReader::read(buffer, sep, store);
}

// The file of an empty store with one line replaced.
QByteArray withLine(QChar sep, int lineNumber, const QByteArray &text) {
    QList<QByteArray> lines = ParameterFileWriter::write(ParameterStore(), sep).split('\n');
    lines[lineNumber - 1] = text + '\r';
    return lines.join('\n');
}

StorePlace firstPlaceOf(int section) {
    const auto &s = ParameterFileLayout::sections()[static_cast<std::size_t>(section)];
    return {s.table, s.type, 0, s.secondFrom};
}

} // namespace

// One family a row: the section (1-based, as the file's table counts them), the
// separator of the desktop and a value with a fraction. Saved and loaded again it
// must come back whole.
struct FamilyRow {
    int section;
    char separator;
    float value;
};

class SectionFamilyRoundTrip : public ::testing::TestWithParam<FamilyRow> {};

TEST_P(SectionFamilyRoundTrip, FractionsComeBack) {
    const FamilyRow &row = GetParam();
    const QChar sep = QLatin1Char(row.separator);
    ASSERT_EQ(ParameterFileLayout::sections()[static_cast<std::size_t>(row.section - 1)].rule, ReadRule::Leading);
    ParameterStore saved;
    const StorePlace place = firstPlaceOf(row.section - 1);
    ASSERT_TRUE(saved.setNumber(place, row.value));
    // The last slot of the section too, so the whole section is walked.
    const auto &s = ParameterFileLayout::sections()[static_cast<std::size_t>(row.section - 1)];
    const StorePlace last{s.table, s.type, s.firstCount - 1, s.secondTo};
    ASSERT_TRUE(saved.setNumber(last, -row.value));
    ParameterStore loaded;
    const ParameterFileLoad r = load(ParameterFileWriter::write(saved, sep), sep, loaded);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(loaded.number(place), row.value);
    EXPECT_EQ(loaded.number(last), -row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Sections4To12, SectionFamilyRoundTrip,
    ::testing::Values(FamilyRow{4, ',', 2.0f}, FamilyRow{4, '.', 1.5f},           // D_O
                      FamilyRow{5, ',', 0.75f}, FamilyRow{5, '.', 0.75f},         // MUL
                      FamilyRow{6, ',', -0.125f}, FamilyRow{6, '.', 3.25f},       // SUM
                      FamilyRow{7, ',', 1.5e12f}, FamilyRow{7, '.', 2.5e-7f},     // DIV, exponents
                      FamilyRow{8, ',', 0.3333333f}, FamilyRow{8, '.', 99.99f},   // SQR
                      FamilyRow{9, ',', 1.5f}, FamilyRow{10, ',', 2.5f},          // AND, OR_
                      FamilyRow{11, ',', 0.5f}, FamilyRow{11, '.', 0.5f},         // REG
                      FamilyRow{12, ',', 12.5f}, FamilyRow{12, '.', 12.5f}));     // S_P

// One line of section 5 (MUL, line 738) as the file holds it, read on a desktop
// with the given separator: the value stored, or refused (the load names line 738).
struct LineRow {
    const char *line;
    char separator;
    bool read;
    float value;
};

class LeadingSectionLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(LeadingSectionLine, ReadsOrRefusesByItsLineNumber) {
    const LineRow &row = GetParam();
    const QChar sep = QLatin1Char(row.separator);
    ParameterStore store;
    store.numbersMUL.setValue(0, 0, 42.0f);
    const ParameterFileLoad r = load(withLine(sep, 738, row.line), sep, store);
    if (row.read) {
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        EXPECT_EQ(store.numbersMUL.value(0, 0), row.value);
    } else {
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.line, 738);
        EXPECT_TRUE(r.message.startsWith(QStringLiteral("Строка 738 файла параметров не читается"))) << r.message.toStdString();
        EXPECT_EQ(store.numbersMUL.value(0, 0), 42.0f) << "a refused file changes nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LeadingSectionLine,
    ::testing::Values(LineRow{" 0,75 ", ',', true, 0.75f}, LineRow{" 0,75 ", '.', true, 0.75f},
                      LineRow{" 0.75 ", ',', true, 0.75f}, LineRow{" 0.75 ", '.', true, 0.75f},
                      LineRow{"-12,5 ", ',', true, -12.5f}, LineRow{" 1,5E+12 ", ',', true, 1.5e12f},
                      LineRow{" 25 ", '.', true, 25.0f}, LineRow{"- 7", '.', true, -7.0f},
                      LineRow{"", '.', false, 0}, LineRow{"   ", ',', false, 0}, LineRow{"abc", ',', false, 0},
                      LineRow{"12abc", '.', false, 0}, LineRow{"1,2.3", ',', false, 0},
                      LineRow{"1,2,3", ',', false, 0}, LineRow{"1e39", '.', false, 0}));

TEST(ReadRules, PointOrCommaNumberTakesTheUsersOwnSeparatorToo) {
    const QChar arabic(0x066B);
    EXPECT_EQ(ParameterReadRules::pointOrCommaNumber(QString(QStringLiteral("2%1 5")).arg(arabic), arabic), 2.5f);
    EXPECT_FALSE(ParameterReadRules::pointOrCommaNumber(QString(QStringLiteral("2%1 5")).arg(arabic), kPoint));
}
