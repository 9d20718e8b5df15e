#pragma once
#include <QString>

namespace z5 {

// Everything that asks or tells the user. The windows show real dialogs; tests
// and the command line script or print them.
class Prompts {
public:
    // What a message box tells, and so the icon it shows.
    enum class Kind { Information, Warning, Error };

    virtual ~Prompts() = default;
    // A message box with an OK button.
    virtual void message(const QString &text, const QString &caption = QString(), Kind kind = Kind::Information) = 0;
    // A message box with OK and Cancel; true for OK.
    virtual bool confirm(const QString &text, const QString &caption = QString()) = 0;
    // What to do with changes not yet kept: save them first, drop them, or stay.
    enum class Unsaved { Save, Discard, Cancel };
    virtual Unsaved askAboutUnsaved(const QString &text, const QString &caption = QString()) = 0;
    virtual void beep() = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFileName(const QString &caption, const QString &filter, const QString &dir) = 0;
    virtual QString saveFileName(const QString &caption, const QString &filter, const QString &dir) = 0;
};

} // namespace z5
