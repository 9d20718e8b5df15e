#pragma once
// The operator screen the pictures of the windows show: a boiler drawn in the
// display's eight colours with parameters and alarms placed as a user does.
#include "screen/ScreenEditor.h"
#include "screen/ScreenModel.h"
#include "ui/MainWindow.h"
#include "ui/ScreenPreview.h"
#include <QImage>
#include <QPainter>
#include <QPolygon>

namespace {

// A boiler drawn in the display's eight colours only.
inline QImage boilerPicture() {
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.fillRect(0, 0, 320, 22, Qt::white);
    p.setPen(Qt::black);
    QFont title = p.font();
    title.setPixelSize(14);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 0, 320, 22), Qt::AlignCenter, QStringLiteral("КОТЁЛ №1"));
    // Vessel, burner and flame.
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(0, 255, 255));
    p.drawRoundedRect(QRect(110, 50, 100, 130), 20, 20);
    p.setBrush(QColor(255, 0, 0));
    p.drawPolygon(QPolygon({QPoint(130, 205), QPoint(160, 150), QPoint(190, 205)}));
    p.setBrush(QColor(255, 255, 0));
    p.drawPolygon(QPolygon({QPoint(145, 205), QPoint(160, 175), QPoint(175, 205)}));
    p.fillRect(120, 205, 80, 10, Qt::white);
    // Water in, steam out.
    p.setPen(QPen(QColor(0, 255, 0), 6));
    p.drawLine(20, 160, 110, 160);
    p.drawLine(210, 70, 300, 70);
    return image;
}

// Places the elements as a user does: new elements, dragged a pixel at a time
// and coloured in their dialogs.
inline void designScreen(z5::MainWindow &window) {
    window.preview()->setPicture(boilerPicture());
    z5::ScreenEditor &editor = window.designer().editor();
    const auto dragBy = [&](z5::ScreenElement e, int dx, int dy) {
        editor.beginDrag(e, 0, 0);
        for (int i = 0; i < dx; ++i) editor.dragTo(30, 0);
        for (int i = 0; i < dy; ++i) editor.dragTo(0, 30);
        editor.endDrag();
    };
    struct Place { int x, y, kind, text, back; };
    const Place parameters[] = {{20, 140, 0, 2, 0}, {230, 50, 0, 3, 0}, {225, 120, 0, 7, 1}, {255, 150, 1, 2, 3},
                                {40, 40, 3, 7, 0}};
    for (const Place &n : parameters) {
        const int k = editor.addParameter();
        z5::ParameterForm form = editor.parameterForm(k);
        form.kind = n.kind;
        form.textColour = n.text;
        form.backColour = n.back;
        editor.applyParameter(k, form);
        dragBy(z5::ScreenElement::parameter(k), n.x, n.y);
    }
    struct Alarm { int x, y; bool isText; const char *text; int colour, back; };
    const Alarm alarms[] = {{12, 218, true, "Нет огня", 7, 1}, {290, 30, false, "", 0, 3},
                            {290, 45, false, "", 0, 2}};
    for (const Alarm &a : alarms) {
        const int k = editor.addAlarm();
        z5::AlarmForm form = editor.alarmForm(k);
        form.isText = a.isText;
        form.text = QString::fromUtf8(a.text);
        form.textColour = a.colour;
        form.backColour = a.back;
        editor.applyAlarm(k, form);
        dragBy(z5::ScreenElement::alarm(k), a.x, a.y);
    }
}

} // namespace
