#pragma once
#include <QObject>
#include <QString>
#include <memory>

namespace z5 {

class LineReply;
class LineSession;
class Prompts;

// Tells the user what met each piece of work on the line, from its outcome,
// the way every front end has told it: a beep for each frame that could not go
// out and for a reply that never came; "Нет сети!!!" with the port's reason
// for the work that met a failed port (a write's other failures are told by
// WriteMessages).
class LineAlerts : public QObject {
    Q_OBJECT
public:
    LineAlerts(LineSession &line, Prompts &prompts);

private:
    void follow(const std::shared_ptr<LineReply> &work);
    void tell(const LineReply &work);

    LineSession &line_;
    Prompts &prompts_;
};

} // namespace z5
