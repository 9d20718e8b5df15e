#pragma once
#include "link/LineSession.h"
#include <QObject>
#include <QStringList>

namespace z5::testing {

// The port failures the line's work carried to the user as it ended, as the
// front ends read them from each outcome: the port's reasons, once per loss.
class PortFailuresTold {
public:
    explicit PortFailuresTold(LineSession &line) {
        QObject::connect(&line, &LineSession::requestTaken, &context_, [this](const std::shared_ptr<LineReply> &work) {
            LineReply *reply = work.get();
            QObject::connect(reply, &LineReply::finished, &context_, [this, reply] {
                if (reply->metPortFailure()) reasons << reply->failure();
            });
        });
    }
    QStringList reasons;

private:
    QObject context_;
};

} // namespace z5::testing
