#include "ui/WidgetPrompts.h"
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace z5 {

// The controller's program titled its boxes with the program name when no caption was given.
static QString titleOr(const QString &caption) {
    return caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
}

void WidgetPrompts::message(const QString &text, const QString &caption) {
    QMessageBox::information(parent_, titleOr(caption), text, QMessageBox::Ok);
}

bool WidgetPrompts::confirm(const QString &text, const QString &caption) {
    return QMessageBox::question(parent_, titleOr(caption), text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void WidgetPrompts::beep() { QApplication::beep(); }

QString WidgetPrompts::openFileName(const QString &caption, const QString &filter, const QString &dir) {
    return QFileDialog::getOpenFileName(parent_, caption, dir, filter);
}

QString WidgetPrompts::saveFileName(const QString &caption, const QString &filter, const QString &dir) {
    return QFileDialog::getSaveFileName(parent_, caption, dir, filter);
}

} // namespace z5
