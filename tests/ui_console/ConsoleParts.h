#pragma once
// The console window's parts, found as the user's tools find them: by their
// object names. The window keeps no accessors for tests.
#include "ui/ConsoleParameterView.h"
#include "ui/LiveViewPane.h"
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>

namespace z5::uitest {

inline LiveViewPane *liveViewPane(const QMainWindow &console) { return console.findChild<LiveViewPane *>(QStringLiteral("liveView")); }
// The heading that names the block shown or edited ("U05 PID 1").
inline QLabel *blockHeading(const QMainWindow &console) { return console.findChild<QLabel *>(QStringLiteral("lblBlockHeading")); }
// "Обновлять": off, or the interval of the automatic re-read.
inline QComboBox *refreshChoice(const QMainWindow &console) { return console.findChild<QComboBox *>(QStringLiteral("Combo_REFRESH")); }
inline ConsoleParameterView *parameterView(const QMainWindow &console) {
    return console.findChild<ConsoleParameterView *>(QStringLiteral("parameterPanel"));
}
inline QComboBox *numberingChoice(const QMainWindow &console) { return console.findChild<QComboBox *>(QStringLiteral("Combo_EXZ_AUTO_HAND")); }
inline QProgressBar *progressBar(const QMainWindow &console) { return console.findChild<QProgressBar *>(QStringLiteral("ProgressBar1")); }

} // namespace z5::uitest
