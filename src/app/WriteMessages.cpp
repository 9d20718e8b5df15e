#include "app/WriteMessages.h"
#include "link/WireSizes.h"
#include "link/LineSession.h"
#include "link/WriteReply.h"
#include "model/Prompts.h"

namespace z5 {

WriteMessages::WriteMessages(LineSession &line, Prompts &prompts) : prompts_(prompts) {
    connect(&line, &LineSession::writeStarted, this, &WriteMessages::follow);
}

void WriteMessages::showRefusal(Prompts &prompts, int tag, const QString &problem, const QString &caption) {
    const bool plain = tag == tableNumber(Table::Setpoints) || tag == WriteSequence::kScreen;
    prompts.message(problem, caption, plain ? Prompts::Kind::Information : Prompts::Kind::Error);
}

void WriteMessages::follow(const std::shared_ptr<WriteReply> &write) {
    WriteReply *reply = write.get();
    connect(reply, &WriteReply::stepRefused, this, [this](int tag, const QString &problem, const QString &caption) {
        showRefusal(prompts_, tag, problem, caption);
    });
    connect(reply, &WriteReply::finished, this, [this, reply] {
        if (reply->succeeded() || reply->failureWasReported() || reply->failureText().isEmpty()) return;
        prompts_.message(reply->failureText(), QString(), Prompts::Kind::Error);
    });
}

} // namespace z5
