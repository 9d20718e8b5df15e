#pragma once
#include "model/Prompts.h"
#include <memory>

class QMessageBox;
class QWidget;

namespace z5 {

// Real message boxes, file dialogs and the system beep, owned by a window: the
// one given, else the window the user is working in, so that they stay above it.
class WidgetPrompts : public Prompts {
public:
    explicit WidgetPrompts(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void message(const QString &text, const QString &caption = QString(), Kind kind = Kind::Information) override;
    bool confirm(const QString &text, const QString &caption = QString()) override;
    Unsaved askAboutUnsaved(const QString &text, const QString &caption = QString()) override;
    void beep() override;
    QString openFileName(const QString &caption, const QString &filter, const QString &dir) override;
    QString saveFileName(const QString &caption, const QString &filter, const QString &dir) override;

    // The box `message` shows, not yet shown.
    static std::unique_ptr<QMessageBox> messageBox(const QString &text, const QString &caption, Kind kind,
                                                   QWidget *owner);
    // The caption of a box whose caller gave none: the main window's.
    static QString defaultCaption() { return QStringLiteral("Конфигуратор  Z5"); }

private:
    QWidget *owner() const;
    QWidget *parent_;
};

} // namespace z5
