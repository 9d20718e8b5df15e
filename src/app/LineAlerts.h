#pragma once
#include <QObject>
#include <QString>

namespace z5 {

class LineSession;
class Prompts;

// Tells the user what the line owner reports, the way every front end has
// told it: a beep for a request that could not go out and for a reply that
// never came; "Нет сети!!!" with the port's reason for a failed
// port (a write's other failures are told by WriteMessages).
class LineAlerts : public QObject {
    Q_OBJECT
public:
    LineAlerts(LineSession &line, Prompts &prompts);

private:
    void tellNetworkFailure(const QString &reason);

    LineSession &line_;
    Prompts &prompts_;
};

} // namespace z5
