#pragma once
#include <QSettings>
#include <memory>

namespace z5 {

// The user's settings of the configurator (remembered folders, window places,
// the serial device of each COM number). Only a program that names itself
// (organisation "z5") has them: tests and tools that set no organisation run
// without, so they never read or change what the user keeps.
std::unique_ptr<QSettings> userSettings();

// The names the configurator and z5ctl use, so that both see the same settings.
inline QString settingsOrganisation() { return QStringLiteral("z5"); }
inline QString settingsApplication() { return QStringLiteral("z5-configurator"); }

} // namespace z5
