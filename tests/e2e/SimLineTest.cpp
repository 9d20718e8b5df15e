// The simulator's line, driven without a terminal: when each controller's reply
// goes out, copies of an echoing line, controllers sharing a number, and one
// timeline record per frame however many controllers read it.
#include "SimArguments.h"
#include "SimLine.h"
#include "link/Link.h"
#include <gtest/gtest.h>
#include <QJsonObject>

namespace {

// A block read of U1 for `station`, as the configurator sends it.
QByteArray blockRead(int station) {
    QByteArray f = QByteArray::fromHex("0003010A0000");
    f[0] = char(station);
    const auto crc = z5::Link::checkValueOf(f);
    f.append(char(crc >> 8));
    f.append(char(crc & 0xFF));
    return f;
}

struct Piece {
    std::int64_t afterMs;   // after the request was read
    int length;
    bool operator==(const Piece &o) const { return afterMs == o.afterMs && length == o.length; }
};

void PrintTo(const Piece &p, std::ostream *os) { *os << p.length << " bytes at +" << p.afterMs << " ms"; }

struct Row {
    const char *name;
    QStringList arguments;   // z5-sim's command line
    int station;             // the request goes to it
    std::vector<Piece> pieces;
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

class SimLineRows : public ::testing::TestWithParam<Row> {};

} // namespace

TEST_P(SimLineRows, RepliesGoOutWhenTheyFallDue) {
    const Row &row = GetParam();
    std::vector<QByteArray> argv{"z5-sim"};
    for (const QString &a : row.arguments) argv.push_back(a.toUtf8());
    std::vector<char *> raw;
    for (QByteArray &a : argv) raw.push_back(a.data());
    z5sim::SimArguments args;
    ASSERT_EQ(args.parse(int(raw.size()), raw.data()), z5sim::SimArguments::Asked::Run) << args.error();
    z5sim::SimLine line(args.controllers, args.line);
    std::vector<QJsonObject> events;
    line.onEvent = [&](const QJsonObject &e) { events.push_back(e); };

    const std::int64_t readAt = 1000;
    line.receive(blockRead(row.station), readAt);
    std::vector<Piece> pieces;
    std::vector<QByteArray> sent;
    while (line.hasOutgoing()) {
        const std::int64_t due = line.nextDueMs();
        EXPECT_TRUE(line.takeDue(due - 1).isEmpty()) << "nothing goes out before it is due";
        const QByteArray piece = line.takeDue(due);
        pieces.push_back({due - readAt, int(piece.size())});
        sent.push_back(piece);
    }
    EXPECT_EQ(pieces, row.pieces);
    const auto headers = std::count_if(events.begin(), events.end(), [](const QJsonObject &e) {
        return e[QStringLiteral("what")].toString() == QLatin1String("header");
    });
    EXPECT_EQ(headers, 1) << "the frame is recorded once";
    // Two controllers set to one number do not answer alike.
    if (row.arguments.contains(QStringLiteral("2,2")) && sent.size() == 2) {
        EXPECT_NE(sent[0], sent[1]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimLineRows,
    ::testing::Values(
        // Turnaround 5 ms, then whole once the request and the reply (268 bytes) took 23 ms on the wire.
        Row{"paced", {}, 1, {{28, 260}}},
        Row{"instant", {QStringLiteral("--instant")}, 1, {{0, 260}}},
        Row{"twice_after_a_gap", {QStringLiteral("--twice"), QStringLiteral("200")}, 1, {{28, 260}, {228, 260}}},
        // In pieces at line speed; the copy starts as the reply ends (22 ms).
        Row{"twice_back_to_back_at_line_speed",
            {QStringLiteral("--line-speed"), QStringLiteral("--twice"), QStringLiteral("0")},
            1,
            {{5, 64}, {10, 64}, {16, 64}, {21, 64}, {27, 4}, {27, 64}, {32, 64}, {38, 64}, {43, 64}, {49, 4}}},
        Row{"two_controllers_on_one_number", {QStringLiteral("--station"), QStringLiteral("2,2")}, 2, {{28, 260}, {28, 260}}},
        Row{"over_each_other_at_line_speed",
            {QStringLiteral("--station"), QStringLiteral("2,2"), QStringLiteral("--line-speed")},
            2,
            {{5, 64}, {5, 64}, {10, 64}, {10, 64}, {16, 64}, {16, 64}, {21, 64}, {21, 64}, {27, 4}, {27, 4}}},
        Row{"each_station_its_own", {QStringLiteral("--station"), QStringLiteral("1,3,5")}, 3, {{28, 260}}},
        Row{"a_station_not_on_the_line", {QStringLiteral("--station"), QStringLiteral("1,3,5")}, 2, {}}),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });
