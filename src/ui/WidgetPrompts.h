#pragma once
#include "model/Prompts.h"

class QWidget;

namespace z5 {

// Real message boxes, file dialogs and the system beep, parented to a window.
class WidgetPrompts : public Prompts {
public:
    explicit WidgetPrompts(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void message(const QString &text, const QString &caption = QString()) override;
    bool confirm(const QString &text, const QString &caption = QString()) override;
    void beep() override;
    QString openFileName(const QString &caption, const QString &filter, const QString &dir) override;
    QString saveFileName(const QString &caption, const QString &filter, const QString &dir) override;

private:
    QWidget *parent_;
};

} // namespace z5
