#pragma once
// The console's exchanges over an in-memory port on the virtual clock.
#include "LineBench.h"
#include "app/LineAlerts.h"
#include "console/ConsoleExchange.h"
#include "console/ConsoleState.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "LineSessionProbe.h"
#include "link/ReplyReception.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "ReplyFrames.h"
#include <gtest/gtest.h>

namespace z5::test {

inline QByteArray blockReply(bool processRuns = false) { return testframes::blockReply('\x11', processRuns); }
using testframes::withCheck;

struct ExchangeFixture : ::testing::Test, LineBench {
    // What the line reports, told through the prompts as the front ends do.
    LineAlerts alerts{line, prompts};
    ConsoleState state;
    ConsoleExchange exchange{line, state};

    using Request = ConsoleExchange::Request;
    using Result = LineOutcome;
    std::vector<std::pair<Request, Result>> endings;
    std::vector<QByteArray> replies;

    void SetUp() override {
        QObject::connect(&exchange, &ConsoleExchange::ended, [this](Request q, Result r) { endings.emplace_back(q, r); });
        QObject::connect(&exchange, &ConsoleExchange::blockReplyReceived,
                         [this](const QByteArray &r) { replies.push_back(r); });
    }
    void answerWith(const QByteArray &reply) {
        port.responder = [reply](const QByteArray &) { return reply; };
    }
    void select(int column, int type) {
        state.selectedColumn = static_cast<std::uint8_t>(column);
        state.selectedType = static_cast<std::uint8_t>(type);
    }
};

} // namespace z5::test
