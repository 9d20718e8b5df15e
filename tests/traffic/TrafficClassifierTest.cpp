// What the traffic log calls each transfer, from its bytes and the request before it.
#include "ReplyFrames.h"
#include "link/TrafficLog.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>

using namespace z5;
using z5::testframes::blockReply;
using z5::testframes::withCheck;

namespace {

constexpr auto Sent = TrafficDirection::Sent;
constexpr auto Received = TrafficDirection::Received;

struct Step {
    TrafficDirection direction;
    QByteArray bytes;
    TrafficKind kind;
    CheckState check;
    QString what;
};

struct Scenario {
    const char *name;
    std::vector<Step> steps;
};
void PrintTo(const Scenario &row, std::ostream *os) { *os << row.name; }

QByteArray frame(std::initializer_list<int> six) {
    QByteArray f;
    for (int b : six) f.append(static_cast<char>(b));
    return withCheck(f);
}

QByteArray trendPart(int pageByte) {
    QByteArray part(1064, '\x11');
    part[2] = static_cast<char>(pageByte);
    return part;
}

QByteArray swappedCheck(QByteArray reply) {
    std::swap(reply[258], reply[259]);
    return reply;
}

const QByteArray kBlockRead = frame({1, 3, 4, 10, 0, 0});

std::vector<Scenario> scenarios() {
    using K = TrafficKind;
    using C = CheckState;
    return {
        {"BlockReadAndGoodReply",
         {{Sent, kBlockRead, K::BlockRead, C::Good, "чтение блока U4"},
          {Received, blockReply('\x22'), K::BlockReply, C::Good, "ответ: чтение блока U4"}}},
        {"ReplyWithSwappedCheckBytesIsBad",
         {{Sent, kBlockRead, K::BlockRead, C::Good, "чтение блока U4"},
          {Received, swappedCheck(blockReply('\x22')), K::BlockReply, C::Bad, "ответ: чтение блока U4"}}},
        {"LongerReplyCountsTheRest",
         {{Sent, kBlockRead, K::BlockRead, C::Good, "чтение блока U4"},
          {Received, blockReply('\x22') + "abc", K::BlockReply, C::Good, "ответ: чтение блока U4, ещё 3 байт"}}},
        {"IncompleteReplyAndLateBytes",
         {{Sent, kBlockRead, K::BlockRead, C::Good, "чтение блока U4"},
          {Received, blockReply('\x22').left(259), K::Stray, C::None, "неполный ответ: 259 из 260 байт"},
          {Received, QByteArray(1, '\x7f'), K::Stray, C::None, "байты вне обмена"}}},
        {"ProcessCommands",
         {{Sent, frame({1, 3, 0, 11, 51, 0}), K::ProcessCommand, C::Good, "команда процесса 51 (пуск)"},
          {Received, blockReply(0, true), K::BlockReply, C::Good, "ответ: команда процесса 51 (пуск)"},
          {Sent, frame({1, 3, 0, 11, 53, 0}), K::ProcessCommand, C::Good, "команда процесса 53 (сохранить схему)"},
          {Sent, frame({1, 3, 0, 11, 60, 0}), K::ProcessCommand, C::Good, "команда процесса 60"}}},
        {"PanelKey",
         {{Sent, frame({1, 3, 5, 10, 7, 0}), K::PanelKey, C::Good, "клавиша панели 7, блок U5"}}},
        {"TrendPartsStepTheIndexWithThePageInTheCount",
         {{Sent, frame({1, 3, 8, 11, 0, 4}), K::TrendPartRequest, C::Good, "часть 2 графика страницы 4, блок U8"},
          {Received, trendPart(3), K::TrendPart, C::None, "часть графика, страница 4, блок U8"},
          {Received, trendPart(3).left(1000), K::Stray, C::None, "неполная часть графика: 1000 из 1064 байт"}}},
        {"RecordingStartAwaitsNothing",
         {{Sent, frame({1, 3, 8, 1, 0, 2}), K::TrendRecording, C::Good, "пуск записи графика, блок U8"},
          {Received, blockReply(0), K::Stray, C::None, "байты вне обмена"},
          {Sent, frame({1, 3, 8, 0, 0, 2}), K::TrendRecording, C::Good, "стоп записи графика, блок U8"}}},
        {"TableHeaderAndItsData",
         {{Sent, frame({1, 0x3D, 0x41, 0xB8, 0, 0}), K::TableHeader, C::Good, "таблица 10, заголовок"},
          {Sent, QByteArray(16824, '\x05'), K::TableData, C::None, "таблица 10, данные 16824 байт"},
          {Sent, frame({1, 0x33, 0x01, 0xF3, 0, 0}), K::TableHeader, C::Good, "таблица 0, заголовок"},
          {Sent, "0" + QByteArray(500, '\x01'), K::TableData, C::None, "таблица 0, данные 501 байт"},
          {Sent, frame({1, 0x34, 0x06, 0x40, 0, 0}), K::TableHeader, C::Good, "таблица 1, заголовок"},
          {Sent, "0" + QByteArray(1600, '\x01'), K::TableData, C::None, "таблица 1, данные 1601 байт"},
          {Sent, frame({1, 0x35, 0, 0x40, 0, 0}), K::TableHeader, C::Good, "таблица 2, заголовок"},
          {Sent, QByteArray(64, '\x01'), K::TableData, C::None, "таблица 2, данные 64 байт"},
          {Sent, frame({1, 0x3F, 0, 32, 0, 6}), K::TableHeader, C::Good, "таблица 12, заголовок, блок U7"}}},
        {"ShortDataSaysWhatWasAnnounced",
         {{Sent, frame({1, 0x3C, 0, 32, 0, 0}), K::TableHeader, C::Good, "таблица 9, заголовок"},
          {Sent, QByteArray(20, '\x01'), K::TableData, C::None, "таблица 9, данные 20 байт из 32"},
          {Sent, QByteArray(20, '\x01'), K::Stray, C::None, "неизвестные байты"}}},
        {"HeaderWhoseDataNeverWentIsFollowedByAFrame",
         {{Sent, frame({1, 0x3C, 0, 32, 0, 0}), K::TableHeader, C::Good, "таблица 9, заголовок"},
          {Sent, frame({1, 0x3D, 0x41, 0xB8, 0, 0}), K::TableHeader, C::Good, "таблица 10, заголовок"}}},
        {"ScreenWrite",
         {{Sent, QByteArray::fromHex("013270 8B0000E452"), K::ScreenHeader, C::Good, "экран, заголовок"},
          {Sent, QByteArray(28811, '\x01'), K::ScreenData, C::None, "экран, данные 28811 байт"}}},
        {"UnknownFramesAndBadFrameCheck",
         {{Sent, frame({1, 7, 0, 0, 0, 0}), K::Stray, C::Good, "неизвестный кадр"},
          {Sent, QByteArray::fromHex("0103040A0000 64F8"), K::BlockRead, C::Bad, "чтение блока U4"}}},
    };
}

class TrafficClassification : public ::testing::TestWithParam<Scenario> {};

TEST_P(TrafficClassification, NamesEveryTransfer) {
    VirtualClock clock;
    TrafficLog log(clock);
    const Scenario &s = GetParam();
    for (std::size_t i = 0; i < s.steps.size(); ++i) {
        SCOPED_TRACE(i);
        const Step &step = s.steps[i];
        log.record(step.direction, step.bytes);
        const TrafficRecord &r = log.at(log.size() - 1);
        EXPECT_EQ(r.what, step.what);
        EXPECT_EQ(r.kind, step.kind);
        EXPECT_EQ(r.check, step.check);
        EXPECT_EQ(r.bytes, step.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TrafficClassification, ::testing::ValuesIn(scenarios()),
                         [](const auto &info) { return std::string(info.param.name); });

// The first part of the page being recorded looks like a block read; the
// block's type tells them apart.
TEST(TrafficClassifier, ReadOfATrendRecorderIsItsFirstPart) {
    VirtualClock clock;
    TrafficLog log(clock);
    log.setBlockTypes([](int column) { return column == 7 ? TrafficClassifier::kTrendRecorderType : 1; });
    log.recordSent(frame({1, 3, 8, 10, 0, 0}));
    log.recordSent(frame({1, 3, 4, 10, 0, 0}));
    EXPECT_EQ(log.at(0).what, "часть 1 графика текущей страницы, блок U8");
    EXPECT_EQ(log.at(1).what, "чтение блока U4");
}

// A reply that comes after its exchange ended (the watchdog gave up) is named
// late, and so are trend parts after the page was complete.
TEST(TrafficClassifier, WhatComesAfterTheExchangeEndedIsLate) {
    VirtualClock clock;
    TrafficLog log(clock);
    log.recordSent(kBlockRead);
    log.exchangeEnded();
    log.recordReceived(blockReply('\x22'));
    log.recordReceived(blockReply('\x22'));
    EXPECT_EQ(log.at(1).what, "поздний ответ: чтение блока U4");
    EXPECT_EQ(log.at(1).check, CheckState::Good);
    EXPECT_EQ(log.at(2).what, "байты вне обмена");

    log.recordSent(frame({1, 3, 8, 39, 0, 0}));
    log.recordReceived(trendPart(0));
    log.exchangeEnded();
    log.recordReceived(trendPart(0));
    EXPECT_EQ(log.at(3).what, "часть 30 графика текущей страницы, блок U8");
    EXPECT_EQ(log.at(4).what, "часть графика, страница 1, блок U8");
    EXPECT_EQ(log.at(5).what, "поздняя часть графика, страница 1, блок U8");
}

TEST(TrafficClassifier, ClosingTheLineForgetsTheAnnouncedData) {
    VirtualClock clock;
    TrafficLog log(clock);
    log.recordSent(frame({1, 0x3C, 0, 32, 0, 0}));
    log.lineClosed();
    log.recordSent(QByteArray(32, '\x01'));
    EXPECT_EQ(log.at(1).kind, TrafficKind::Stray);
}

} // namespace
