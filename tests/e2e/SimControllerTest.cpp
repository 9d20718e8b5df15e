// The simulated controller's protocol logic, driven without a terminal. Frames
// are built and replies checked with the configurator's own link code, so each
// side checks the other.
#include "SimController.h"
#include "link/BlockReply.h"
#include "link/Link.h"
#include "link/ValueCodec.h"
#include "download/ParameterTables.h"
#include "model/ParameterStore.h"
#include <gtest/gtest.h>
#include <QJsonArray>

using z5sim::SimController;
using z5sim::SimOptions;

namespace {

QByteArray frame(const char *sixBytesHex) {
    QByteArray f = QByteArray::fromHex(sixBytesHex);
    const auto crc = z5::Link::checkValueOf(f);
    f.append(char(crc >> 8));
    f.append(char(crc & 0xFF));
    return f;
}

bool replyCheckHolds(const QByteArray &r) {
    if (r.size() != 260) return false;
    const auto crc = z5::Link::checkValueOf(r, 258);
    return std::uint8_t(r[258]) == (crc & 0xFF) && std::uint8_t(r[259]) == (crc >> 8);
}

// A block table with the given (column, type, instance) entries.
QByteArray blockTable(std::initializer_list<std::array<int, 3>> blocks) {
    QByteArray t(1 + 500, '\0');
    t[0] = '0';
    for (const auto &b : blocks) {
        t[1 + b[0]] = char(b[1]);
        t[1 + 100 + b[0]] = char(b[2]);
    }
    return t;
}

struct SimFixture : ::testing::Test {
    SimOptions options;
    std::unique_ptr<SimController> sim;
    std::vector<QJsonObject> events;
    std::int64_t now = 1000;

    void start() {
        sim = std::make_unique<SimController>(options);
        sim->onEvent = [this](const QJsonObject &e) { events.push_back(e); };
    }
    void SetUp() override { start(); }
    std::vector<z5sim::SimOutput> send(const QByteArray &bytes, int afterMs = 200) {
        now += afterMs;
        return sim->receive(bytes, now);
    }
    void writeTable(int table, const QByteArray &data, int block = 0) {
        const int lengthField = table == 0 ? 499 : table == 4 ? 543 : (table == 1 ? 1600 : int(data.size()));
        const QByteArray head = QByteArray::fromHex("01") + char(0x33 + table) + char(lengthField >> 8) +
                                char(lengthField & 0xFF) + char(0) + char(table == 12 ? block : 0);
        send(frame(head.toHex().constData()));
        send(data, 100);
    }
    QByteArray only(const std::vector<z5sim::SimOutput> &out) {
        EXPECT_EQ(out.size(), 1u);
        return out.empty() ? QByteArray() : out[0].bytes;
    }
    QJsonObject lastEventOf(const QString &what) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if ((*it)[QStringLiteral("what")].toString() == what) return *it;
        return {};
    }
};

} // namespace

TEST_F(SimFixture, ABlockReadOfItsStationIsAnsweredWithAValidReply) {
    const auto out = send(frame("0103040A0000"));
    const QByteArray r = only(out);
    EXPECT_TRUE(replyCheckHolds(r));
    EXPECT_EQ(out[0].delayMs, options.replyDelayMs);
    const QJsonObject in = lastEventOf(QStringLiteral("header"));
    EXPECT_EQ(in[QStringLiteral("hex")].toString(), QStringLiteral("01 03 04 0A 00 00 F8 64"));
    EXPECT_TRUE(in[QStringLiteral("check")].toBool());
    EXPECT_EQ(in[QStringLiteral("request")].toString(), QStringLiteral("block read"));
    EXPECT_EQ(lastEventOf(QStringLiteral("block reply"))[QStringLiteral("length")].toInt(), 260);
}

TEST_F(SimFixture, OtherStationsAreNotAnswered) {
    options.station = 2;
    start();
    EXPECT_TRUE(send(frame("0103040A0000")).empty());
    EXPECT_TRUE(lastEventOf(QStringLiteral("header"))[QStringLiteral("otherStation")].toBool());
    EXPECT_EQ(only(send(frame("0203040A0000"))).size(), 260);
}

TEST_F(SimFixture, WrittenSetpointsComeBackInTheProgrammersReply) {
    writeTable(0, blockTable({{2, 16, 1}}));
    QByteArray setpoints;
    const float values[8] = {1.5f, -2.25f, 100.0f, 0.125f, -0.5f, 7.0f, 0.0f, 2000000.0f};
    for (float v : values)
        for (auto b : z5::ValueCodec::encodeValue(v).value_or(z5::ValueBytes{})) setpoints.append(char(b));
    writeTable(12, setpoints, 2);
    EXPECT_EQ(lastEventOf(QStringLiteral("header"))[QStringLiteral("block")].toInt(), 2);

    const QByteArray r = only(send(frame("0103030A0000")));
    ASSERT_TRUE(replyCheckHolds(r));
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(z5::BlockReply::second(r, k), double(values[k])) << "row " << k;
}

TEST_F(SimFixture, TheParameterTableGivesProgrammersTheirValuesUntilSetpointsAreWritten) {
    writeTable(0, blockTable({{0, 16, 2}}));
    // S_P values start after 1244 values of the stores before it; instance 2 is 8 values further.
    QByteArray params(16824, '\0');
    const z5::ValueBytes value = z5::ValueCodec::encodeValue(-12.5f).value();
    for (int i = 0; i < 4; ++i) params[4 * (1244 + 8 + 3) + i] = char(value[i]);
    writeTable(10, params);
    EXPECT_EQ(sim->memory().tableWrites(10), 1);
    const QByteArray r = only(send(frame("0103010A0000")));
    EXPECT_DOUBLE_EQ(z5::BlockReply::second(r, 3), -12.5);
    EXPECT_DOUBLE_EQ(z5::BlockReply::second(r, 2), 0.0);
}

TEST_F(SimFixture, TablesZeroAndOneMustArriveWithTheirLeadingZero) {
    writeTable(0, blockTable({{7, 1, 1}}));
    const QJsonObject data = lastEventOf(QStringLiteral("data"));
    EXPECT_EQ(data[QStringLiteral("length")].toInt(), 501);
    EXPECT_TRUE(data[QStringLiteral("leadingZero")].toBool());
    EXPECT_EQ(sim->memory().blockType(7), 1);
    EXPECT_EQ(sim->memory().table(0).size(), 500);
    EXPECT_EQ(lastEventOf(QStringLiteral("header"))[QStringLiteral("lengthField")].toInt(), 499);
}

TEST_F(SimFixture, ADataBlockInPiecesIsJoined) {
    send(frame("013C00200000"));
    send(QByteArray(10, '\1'), 100);
    send(QByteArray(22, '\2'), 5);
    EXPECT_EQ(sim->memory().tableWrites(9), 1);
    EXPECT_EQ(sim->memory().table(9), QByteArray(10, '\1') + QByteArray(22, '\2'));
}

TEST_F(SimFixture, AHeaderWhereDataWasDueMeansTheDataNeverCame) {
    send(frame("013C00200000"));
    const auto out = send(frame("0103040A0000"), 200);
    EXPECT_EQ(out.size(), 1u);
    EXPECT_EQ(lastEventOf(QStringLiteral("missing data"))[QStringLiteral("table")].toInt(), 9);
    EXPECT_EQ(sim->memory().tableWrites(9), 0);
}

TEST_F(SimFixture, AFrameWithAWrongCheckValueDropsItsBurstOnly) {
    QByteArray bad = frame("0103040A0000");
    bad[7] = char(bad[7] ^ 1);
    EXPECT_TRUE(send(bad + frame("0103040A0000")).empty());
    const QJsonObject junk = lastEventOf(QStringLiteral("frame"));
    EXPECT_FALSE(junk[QStringLiteral("check")].toBool(true));
    EXPECT_EQ(junk[QStringLiteral("length")].toInt(), 16);
    EXPECT_EQ(send(frame("0103040A0000"), 100).size(), 1u);
}

TEST_F(SimFixture, AFrameCutByASilenceIsDiscarded) {
    const QByteArray f = frame("0103040A0000");
    EXPECT_TRUE(send(f.left(5)).empty());
    EXPECT_TRUE(send(f.mid(5), 100).empty());
    EXPECT_EQ(lastEventOf(QStringLiteral("incomplete frame"))[QStringLiteral("length")].toInt(), 5);
    EXPECT_EQ(send(f, 100).size(), 1u);
}

TEST_F(SimFixture, ProcessCommandsReportWhetherTheProcessRuns) {
    // Index 11 and count 0 as a block read leaves them.
    EXPECT_EQ(only(send(frame("0103000B3300")))[2], 1);   // start
    EXPECT_EQ(only(send(frame("0103000B3400")))[2], 1);   // picture: ask
    EXPECT_EQ(only(send(frame("0103000B3200")))[2], 0);   // pause
    EXPECT_EQ(only(send(frame("0103000B3400")))[2], 0);
    const QByteArray stored = only(send(frame("0103000B3500")));
    EXPECT_TRUE(replyCheckHolds(stored));
    EXPECT_EQ(sim->plant().storeCount(), 1);
}

TEST_F(SimFixture, PanelLampsFollowTheirKeys) {
    writeTable(0, blockTable({{4, 20, 1}}));
    // Key 3 on the panel in column 4: kind 3, code = key.
    QByteArray r = only(send(frame("0103050B0300")));
    EXPECT_DOUBLE_EQ(z5::BlockReply::second(r, 2), 1.0);
    EXPECT_DOUBLE_EQ(z5::BlockReply::first(r, 2), 1.0);
    r = only(send(frame("0103050B0300")));
    EXPECT_DOUBLE_EQ(z5::BlockReply::second(r, 2), 0.0);
    r = only(send(frame("0103050B0A00")));   // key 10: the second switch, row 3
    EXPECT_DOUBLE_EQ(z5::BlockReply::second(r, 3), 1.0);
    r = only(send(frame("0103050A0000")));   // a plain read shows the same lamps
    EXPECT_DOUBLE_EQ(z5::BlockReply::second(r, 3), 1.0);
}

// Keys pressed on a panel of a layout, and one value of the reply to the last.
struct PanelKeysRow {
    float layout;
    std::vector<int> keys;
    int row;
    bool second;   // else the first value
    double expected;
};
void PrintTo(const PanelKeysRow &row, std::ostream *os) {
    *os << "layout " << row.layout << " keys";
    for (const int key : row.keys) *os << ' ' << key;
    *os << " row " << row.row << (row.second ? " second" : " first");
}

struct SimPanelLayouts : SimFixture, ::testing::WithParamInterface<PanelKeysRow> {};

TEST_P(SimPanelLayouts, LampsValuesAndSwitchesFollowTheKeys) {
    const PanelKeysRow c = GetParam();
    writeTable(0, blockTable({{4, 20, 1}}));
    z5::ParameterStore store;
    store.numbersPAN.setValue(0, 0, c.layout);
    writeTable(10, z5::ParameterTables::parameters(store).data);
    QByteArray r;
    for (int key : c.keys) {
        const QByteArray head = QByteArray::fromHex("0103050B") + char(key) + char(0);
        r = only(send(frame(head.toHex().constData())));
    }
    const double v = c.second ? z5::BlockReply::second(r, c.row) : z5::BlockReply::first(r, c.row);
    EXPECT_DOUBLE_EQ(v, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SimPanelLayouts,
    ::testing::Values(PanelKeysRow{1, {1}, 0, true, 1},         // the lower lamp of column 0
                      PanelKeysRow{1, {7}, 5, true, 1},         // the upper lamp of column 2
                      PanelKeysRow{1, {1, 5, 9}, 1, true, 0},   // a top key puts its column out
                      PanelKeysRow{2, {10}, 3, true, 1},        // switch 1 on
                      PanelKeysRow{2, {9, 1}, 0, true, 0},      // its column's lamp stays out
                      PanelKeysRow{2, {2}, 2, true, 1},
                      PanelKeysRow{3, {6, 6, 5}, 2, true, 21},  // the setpoint up, up, down
                      PanelKeysRow{4, {3, 3, 7}, 2, false, 1}));  // counted up twice, down once

TEST_F(SimFixture, TrendPartsCarryTheRecordingPageAndItsRows) {
    writeTable(0, blockTable({{5, 28, 1}}));
    const QByteArray first = only(send(frame("0103060A0000")));
    ASSERT_EQ(first.size(), 1064);
    EXPECT_EQ(first[2], 2);    // page 3 returned
    EXPECT_EQ(first[3], 45);   // rows recorded so far
    EXPECT_EQ(first[4], 2);    // page 3 is being recorded
    // Sample 0: channel 0 of row 0.
    const double v0 = z5::ValueCodec::decodeValue(first.constData() + 8);
    EXPECT_GT(v0, 4.0);
    EXPECT_LT(v0, 16.0);
    // Time of part 0 and the date.
    EXPECT_EQ(std::uint8_t(first[1046]), 9);    // page 3 starts 4800 s after 08:00:00
    EXPECT_EQ(std::uint8_t(first[1045]), 20);
    EXPECT_EQ(std::uint8_t(first[1044]), 0);
    EXPECT_EQ(std::uint8_t(first[1048]), 7);
    EXPECT_EQ(std::uint8_t(first[1049]), 12);
    EXPECT_EQ(std::uint8_t(first[1050]), 26);

    // The last piece of the recording page lies beyond row 45: no values there.
    const QByteArray last = only(send(frame("010306270000")));
    EXPECT_EQ(last[5], 29);
    EXPECT_LE(z5::ValueCodec::decodeValue(last.constData() + 8), -2100000.0);

    // An older page is full.
    const QByteArray old = only(send(frame("010306270001")));
    EXPECT_EQ(old[2], 0);
    EXPECT_GT(z5::ValueCodec::decodeValue(old.constData() + 8 + 4 * 255), 0.0);
}

TEST_F(SimFixture, RecordingStopsAndStartsWithoutAReply) {
    writeTable(0, blockTable({{5, 28, 1}}));
    EXPECT_TRUE(send(frame("010306000002")).empty());
    EXPECT_FALSE(sim->plant().trends().recording());
    EXPECT_EQ(lastEventOf(QStringLiteral("header"))[QStringLiteral("request")].toString(),
              QStringLiteral("recording stop"));
    const int rows = sim->plant().trends().rowsRecorded(now);
    now += 60000;
    EXPECT_EQ(sim->plant().trends().rowsRecorded(now), rows);
    EXPECT_TRUE(send(frame("010306010002")).empty());
    EXPECT_TRUE(sim->plant().trends().recording());
    now += 20000;
    EXPECT_EQ(sim->plant().trends().rowsRecorded(now), rows + 2);
}

TEST_F(SimFixture, TheScreenWriteIsKept) {
    send(frame("0132708B0000"));
    send(QByteArray::fromHex("013C") + QByteArray(28809, '\x05'), 100);
    EXPECT_EQ(sim->memory().screen().size(), 28809);
    EXPECT_TRUE(lastEventOf(QStringLiteral("data"))[QStringLiteral("framed")].toBool());
}

TEST_F(SimFixture, FaultSwitchesSpoilTheNextReplies) {
    options.dropReplies = 1;
    options.corruptReplies = 1;
    options.shortReplies = 1;
    options.lateMs = 400;
    start();
    EXPECT_TRUE(send(frame("0103040A0000")).empty());
    const auto corrupt = send(frame("0103040A0000"));
    ASSERT_EQ(corrupt.size(), 1u);
    EXPECT_EQ(corrupt[0].bytes.size(), 259);   // also the short one
    EXPECT_EQ(corrupt[0].delayMs, options.replyDelayMs + 400);
    const auto fine = send(frame("0103040A0000"));
    ASSERT_EQ(fine.size(), 1u);
    EXPECT_TRUE(replyCheckHolds(fine[0].bytes));
    EXPECT_EQ(lastEventOf(QStringLiteral("block reply"))[QStringLiteral("fault")].toString(), QStringLiteral("late"));
}
