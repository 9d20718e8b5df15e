#include "ui/WidgetPrompts.h"
#include "ui/FileFolders.h"
#include "ui/QtTranslations.h"
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace z5 {
namespace {

QString titleOr(const QString &caption) { return caption.isEmpty() ? WidgetPrompts::defaultCaption() : caption; }

QMessageBox::Icon iconOf(Prompts::Kind kind) {
    switch (kind) {
    case Prompts::Kind::Error: return QMessageBox::Critical;
    case Prompts::Kind::Warning: return QMessageBox::Warning;
    case Prompts::Kind::Information: break;
    }
    return QMessageBox::Information;
}

// The owner looks and is disabled while its box is open, as under any dialog,
// and is given back as it was.
class OwnerHeld {
public:
    explicit OwnerHeld(QWidget *owner) : owner_(owner), held_(owner && owner->isEnabled()) {
        if (held_) owner->setEnabled(false);
    }
    ~OwnerHeld() {
        if (held_ && owner_) owner_->setEnabled(true);
    }
    OwnerHeld(const OwnerHeld &) = delete;
    OwnerHeld &operator=(const OwnerHeld &) = delete;

private:
    QPointer<QWidget> owner_;
    bool held_;
};

} // namespace

QWidget *WidgetPrompts::owner() const {
    if (parent_) return parent_;
    if (QWidget *w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

std::unique_ptr<QMessageBox> WidgetPrompts::messageBox(const QString &text, const QString &caption, Kind kind,
                                                       QWidget *owner) {
    auto box = std::make_unique<QMessageBox>(iconOf(kind), titleOr(caption), text, QMessageBox::Ok, owner);
    box->button(QMessageBox::Ok)->setText(okButtonText());
    // The owner may be disabled while an exchange runs; its box must still take the click.
    box->setEnabled(true);
    return box;
}

void WidgetPrompts::message(const QString &text, const QString &caption, Kind kind) {
    QWidget *o = owner();
    const OwnerHeld held(o);
    messageBox(text, caption, kind, o)->exec();
}

bool WidgetPrompts::confirm(const QString &text, const QString &caption) {
    QWidget *o = owner();
    const OwnerHeld held(o);
    QMessageBox box(QMessageBox::Question, titleOr(caption), text, QMessageBox::Ok | QMessageBox::Cancel, o);
    box.setEnabled(true);
    box.setDefaultButton(QMessageBox::Cancel);
    box.button(QMessageBox::Ok)->setText(okButtonText());
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    return box.exec() == QMessageBox::Ok;
}

Prompts::Unsaved WidgetPrompts::askAboutUnsaved(const QString &text, const QString &caption) {
    QWidget *o = owner();
    const OwnerHeld held(o);
    QMessageBox box(QMessageBox::Question, titleOr(caption), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, o);
    box.setEnabled(true);
    box.setObjectName(QStringLiteral("unsavedQuestion"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    // In the program's language whatever Qt's own translations say.
    box.button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    switch (box.exec()) {
    case QMessageBox::Save: return Unsaved::Save;
    case QMessageBox::Discard: return Unsaved::Discard;
    default: return Unsaved::Cancel;
    }
}

void WidgetPrompts::beep() { QApplication::beep(); }

QString WidgetPrompts::openFileName(const QString &caption, const QString &filter, const QString &dir) {
    const QString kind = FileFolders::kindOf(filter);
    const QString path =
        QFileDialog::getOpenFileName(owner(), caption, FileFolders::folderFor(kind, dir), filter);
    FileFolders::remember(kind, path);
    return path;
}

QString WidgetPrompts::saveFileName(const QString &caption, const QString &filter, const QString &dir) {
    const QString kind = FileFolders::kindOf(filter);
    QFileDialog dialog(owner(), caption, FileFolders::folderFor(kind, dir), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog asks before replacing a file under the suffixed name too.
    dialog.setDefaultSuffix(kind);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    const QString path = FileFolders::withDefaultSuffix(dialog.selectedFiles().first(), filter);
    FileFolders::remember(kind, path);
    return path;
}

} // namespace z5
