#pragma once
#include <QObject>
#include <memory>

namespace z5 {

class LineSession;
class Prompts;
class WriteReply;

// Tells the user what became of every write to the controller, whoever started
// it: a table or picture that could not be built when it was due, and a write
// that failed on the line ("Нет сети!!!", "Z5 не принимает данные: …"), each
// shown once, when it happens.
class WriteMessages : public QObject {
    Q_OBJECT
public:
    WriteMessages(LineSession &line, Prompts &prompts);

    // The message box of a refused step: the setpoints and the screen picture
    // say it plainly, a table of the download as an error.
    static void showRefusal(Prompts &prompts, int tag, const QString &problem, const QString &caption);

private:
    void follow(const std::shared_ptr<WriteReply> &write);

    Prompts &prompts_;
};

} // namespace z5
