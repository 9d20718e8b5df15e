// The line owner's tap on the virtual clock: what a download, a block read with
// a wrong check value and a trend read leave in the traffic log, and when.
#include "SessionBench.h"
#include "ReplyFrames.h"
#include "app/Session.h"
#include "link/FakeSerialPort.h"
#include "link/TrafficText.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

struct Tap : ::testing::Test, SessionBench {
    TrafficLog &log = session.line.traffic();

    // "ms arrow what check" of each recorded transfer.
    QStringList rows() const {
        QStringList out;
        for (int i = 0; i < log.size(); ++i) {
            const TrafficRecord &r = log.at(i);
            out << QStringLiteral("%1 %2 %3 %4").arg(r.ms).arg(TrafficText::arrow(r.direction), r.what,
                                                             TrafficText::checkText(r.check));
        }
        return out;
    }
};

} // namespace

TEST_F(Tap, DownloadRecordsEveryHeaderAndDataBlockAtItsOffset) {
    ASSERT_TRUE(session.chain.startDownload());
    clock.advance(8000);
    const std::vector<std::pair<int, int>> headers = {{0, 0},    {1, 500},  {2, 1000}, {3, 1200}, {4, 1400},  {5, 1900},
                                                      {6, 2500}, {7, 3000}, {8, 3500}, {9, 4000}, {10, 4200}, {11, 6100}};
    const QStringList r = rows();
    ASSERT_EQ(r.size(), 24);
    ASSERT_EQ(port.writes().size(), 24u);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        const auto [table, at] = headers[i];
        SCOPED_TRACE(table);
        const int length = Link::tableDataCount(table) + (table <= 1 ? 1 : 0);
        EXPECT_EQ(r[2 * i], QStringLiteral("%1 → таблица %2, заголовок верна").arg(at).arg(table));
        EXPECT_EQ(r[2 * i + 1], QStringLiteral("%1 → таблица %2, данные %3 байт ").arg(at + 100).arg(table).arg(length));
    }
    // Exactly what went to the port, at the same moments.
    for (std::size_t i = 0; i < port.writes().size(); ++i) {
        EXPECT_EQ(log.at(int(i)).bytes, port.writes()[i].bytes);
        EXPECT_EQ(log.at(int(i)).ms, port.writes()[i].atMs);
    }
}

TEST_F(Tap, BlockReadWithAWrongCheckValueAndALateReply) {
    QByteArray spoilt = testframes::blockReply('\x22');
    std::swap(spoilt[258], spoilt[259]);
    port.responder = [spoilt](const QByteArray &) { return spoilt; };
    clock.advance(1000);
    ASSERT_FALSE(session.line.enqueue(Request::blockRead(2))->isFinished());
    clock.advance(2000);
    // The next answer comes after the watchdog; the following request drops it.
    port.responder = [](const QByteArray &) { return testframes::blockReply('\x33'); };
    port.replyDelayMs = 1500;
    ASSERT_FALSE(session.line.enqueue(Request::blockRead(2))->isFinished());
    clock.advance(2000);
    port.responder = nullptr;
    ASSERT_FALSE(session.line.enqueue(Request::blockRead(4))->isFinished());
    clock.advance(LineSession::kQuietGuardMs);
    // The late reply is dropped and told as such; the next request waits for a quiet line.
    EXPECT_EQ(rows(), (QStringList{"1000 → чтение блока U3 верна", "1150 ← ответ: чтение блока U3 неверна",
                                   "3000 → чтение блока U3 верна", "5000 ← поздний ответ: чтение блока U3 верна",
                                   "5000 ← поздний ответ отброшен: 260 байт ", "5150 → чтение блока U5 верна"}));
}

TEST_F(Tap, TrendReadOfARecorderBlockNamesItsParts) {
    session.project.setSchema(Project::TypeRow, 7, TrafficClassifier::kTrendRecorderType);
    port.responder = [](const QByteArray &) { return QByteArray(1064, '\x02'); };
    session.trends.setBlock(7);
    ASSERT_TRUE(session.trends.readPage(TrendSession::kCurrentPage));
    clock.advance(1000);
    const QStringList r = rows();
    ASSERT_GE(r.size(), 2);
    EXPECT_EQ(r[0].toStdString(), "0 → часть 1 графика текущей страницы, блок U8 верна");
    // The page reader takes each part the moment it is complete.
    EXPECT_EQ(r[1].toStdString(), "20 ← часть графика, страница 3, блок U8 ");
}

// What the port's receiver lost or spoilt is a line of its own where it happened,
// without bytes, in the log and in its text (the trace's lines).
TEST_F(Tap, LineErrorsAreALineOfTheirOwnAmongTheTransfers) {
    port.responder = [](const QByteArray &) { return testframes::blockReply('\x22'); };
    clock.advance(1000);
    ASSERT_FALSE(session.line.enqueue(Request::blockRead(2))->isFinished());
    clock.advance(10);
    port.reportLineErrors(LineErrors::Overrun | LineErrors::Framing);
    port.reportLineErrors(0);   // nothing to tell: no line
    clock.advance(1000);
    EXPECT_EQ(rows(), (QStringList{"1000 → чтение блока U3 верна",
                                   "1010 ← ошибка линии: переполнение приёмника, ошибка кадра ",
                                   "1150 ← ответ: чтение блока U3 верна"}));
    EXPECT_EQ(log.at(1).kind, TrafficKind::LineError);
    EXPECT_EQ(TrafficText::line(log.at(1)), QStringLiteral("1010\t←\tошибка линии: переполнение приёмника, ошибка кадра\t0\t\t"));
}

struct LineErrorRow {
    unsigned flags;
    const char *text;
};

class LineErrorText : public ::testing::TestWithParam<LineErrorRow> {};

TEST_P(LineErrorText, NamesEveryErrorInOneLine) {
    EXPECT_EQ(LineErrors{GetParam().flags}.text().toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, LineErrorText,
    ::testing::Values(LineErrorRow{0, ""}, LineErrorRow{LineErrors::Overrun, "ошибка линии: переполнение приёмника"},
                      LineErrorRow{LineErrors::InputOverflow, "ошибка линии: переполнение буфера приёма"},
                      LineErrorRow{LineErrors::Parity | LineErrors::Break,
                                   "ошибка линии: ошибка чётности, обрыв линии (break)"},
                      LineErrorRow{LineErrors::Overrun | LineErrors::InputOverflow | LineErrors::Framing |
                                       LineErrors::Parity | LineErrors::Break,
                                   "ошибка линии: переполнение приёмника, переполнение буфера приёма, ошибка кадра, "
                                   "ошибка чётности, обрыв линии (break)"}),
    [](const auto &info) { return "flags" + std::to_string(info.param.flags); });
