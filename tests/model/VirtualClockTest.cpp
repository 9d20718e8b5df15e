#include "model/VirtualClock.h"
#include <gtest/gtest.h>
#include <vector>

using z5::VirtualClock;

TEST(VirtualClock, TimersRepeatAndFireInStartOrderAtTheSameMoment) {
    VirtualClock clock;
    std::vector<std::pair<char, std::int64_t>> log;
    auto a = clock.createTimer();
    auto b = clock.createTimer();
    a->setOnTimeout([&] { log.push_back({'a', clock.nowMs()}); });
    b->setOnTimeout([&] { log.push_back({'b', clock.nowMs()}); });
    a->start(100);
    b->start(50);
    clock.advance(200);
    const std::vector<std::pair<char, std::int64_t>> expected = {
        {'b', 50}, {'a', 100}, {'b', 100}, {'b', 150}, {'a', 200}, {'b', 200}};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(clock.nowMs(), 200);
}

TEST(VirtualClock, HandlerMayStopRestartOrDestroyTimers) {
    VirtualClock clock;
    int ticks = 0;
    auto t = clock.createTimer();
    auto other = clock.createTimer();
    t->setOnTimeout([&] {
        ++ticks;
        if (ticks == 2) t->stop();
        other.reset();
    });
    other->setOnTimeout([&] { FAIL() << "destroyed timer fired"; });
    t->start(10);
    other->start(15);
    clock.advance(100);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(t->isActive());
    EXPECT_EQ(clock.activeTimers(), 0);
}

TEST(VirtualClock, RestartResetsTheCount) {
    VirtualClock clock;
    std::vector<std::int64_t> at;
    auto t = clock.createTimer();
    t->setOnTimeout([&] { at.push_back(clock.nowMs()); });
    t->start(100);
    clock.advance(60);
    t->start(100);
    clock.advance(150);
    EXPECT_EQ(at, std::vector<std::int64_t>({160}));
    EXPECT_TRUE(clock.advanceToNext());
    EXPECT_EQ(clock.nowMs(), 260);
}
