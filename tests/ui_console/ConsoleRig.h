#pragma once
// A console over a virtual clock, an in-memory port and scripted prompts.
#include "SessionBench.h"
#include "ConsoleParts.h"
#include "ReplyFrames.h"
#include "import/ConsoleLayout.h"
#include "link/FakeSerialPort.h"
#include "link/Link.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleIcon.h"
#include "ui/ConsoleParameterView.h"
#include "ui/ConsoleWindow.h"
#include "ui/Session.h"
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace z5::uitest {

inline QString exampleNetlist() { return QStringLiteral(Z5_SOURCE_DIR "/examples/boiler.net"); }

inline QByteArray blockReply(bool processRuns = false) { return testframes::blockReply('\x22', processRuns); }

struct ConsoleRig : SessionBench {
    QWidget mainWindow;
    ConsoleWindow console{session, &mainWindow};

    ConsoleRig() {
        mainWindow.setObjectName(QStringLiteral("Scada_Z5_NEW"));
        console.show();
    }
    void importExample() {
        prompts.openNames << exampleNetlist();
        console.importNetlist();
        clock.advance(ConsoleWindow::kPriorityLabelsDelayMs);
    }
    ConsoleIcon *iconOf(int column) {
        const int n = ConsoleLayout::iconNumber(session.project.blockType(column), session.project.instance(column));
        return console.canvas()->icon(n);
    }
    void click(int column, Qt::MouseButton button) {
        ConsoleIcon *icon = iconOf(column);
        QVERIFY(icon);
        QTest::mouseClick(icon, button, {}, QPoint(5, 5));
    }
    ConsoleParameterView &view() { return *parameterView(console); }
    QLineEdit *text(int row) { return view().rowField(row); }
    QComboBox *combo(int row) { return view().rowChoice(row); }
    // The user replaces the whole text of a field, key by key (any alphabet),
    // and finishes it with Return unless told to stay in it.
    void typeInto(int row, const QString &text, bool finish = true) {
        QLineEdit *edit = view().rowField(row);
        edit->setFocus();
        edit->selectAll();
        typeKeys(edit, text);
        if (finish) QTest::keyClick(edit, Qt::Key_Return);
    }
    static void typeKeys(QWidget *widget, const QString &text) {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }
    // The user steps a closed choice box down by `steps` items with the keyboard.
    void stepChoice(int row, int steps) {
        for (int i = 0; i < steps; ++i) QTest::keyClick(view().rowChoice(row), Qt::Key_Down);
    }
};

} // namespace z5::uitest
