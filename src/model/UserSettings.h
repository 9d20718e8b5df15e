#pragma once
#include <QSettings>
#include <memory>

namespace z5 {

// The user's settings of the configurator (remembered folders, window places,
// the serial device of each COM number). Only a program that names itself
// (organisation "z5") has them: tests and tools that set no organisation run
// without, so they never read or change what the user keeps. Nor does a
// program whose settings file is taken by something that is no regular file
// (a fifo would hold the program in its first read, a device would be read
// without end): it runs with its defaults and writes nothing there.
std::unique_ptr<QSettings> userSettings();

// Why the settings are not read, in words for the user; empty when they are.
QString userSettingsProblem();

// The names the configurator and z5ctl use, so that both see the same settings.
inline QString settingsOrganisation() { return QStringLiteral("z5"); }
inline QString settingsApplication() { return QStringLiteral("z5-configurator"); }

} // namespace z5
