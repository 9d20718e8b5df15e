#pragma once
#include "model/Prompts.h"
#include <QStringList>
#include <functional>

namespace z5 {

// Prompts without a screen: keeps every message and beep, answers from a script.
// Used by the command line (which prints what it kept) and by tests.
class RecordingPrompts : public Prompts {
public:
    struct Shown {
        QString text;
        QString caption;
        Kind kind = Kind::Information;
    };
    void message(const QString &text, const QString &caption = QString(), Kind kind = Kind::Information) override {
        messages.push_back({text, caption, kind});
        if (onMessage) onMessage(text, caption);
    }
    bool confirm(const QString &text, const QString &caption = QString()) override {
        messages.push_back({text, caption, Kind::Warning});
        return confirmAnswer;
    }
    Unsaved askAboutUnsaved(const QString &text, const QString &caption = QString()) override {
        messages.push_back({text, caption, Kind::Warning});
        return unsavedAnswer;
    }
    void beep() override { ++beeps; }
    QString openFileName(const QString &, const QString &, const QString &) override {
        return openNames.isEmpty() ? QString() : openNames.takeFirst();
    }
    QString saveFileName(const QString &, const QString &, const QString &) override {
        return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
    }

    std::vector<Shown> messages;
    int beeps = 0;
    bool confirmAnswer = true;
    Unsaved unsavedAnswer = Unsaved::Discard;
    QStringList openNames;
    QStringList saveNames;
    std::function<void(const QString &, const QString &)> onMessage;
};

} // namespace z5
