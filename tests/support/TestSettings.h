#pragma once
// The user's settings in a temporary folder for as long as the object lives, so
// that tests that remember folders, places or devices never touch the real ones.
#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

struct TestSettings {
    QTemporaryDir dir;
    QString previousOrganisation = QCoreApplication::organizationName();

    TestSettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("z5-test"));
    }
    ~TestSettings() { QCoreApplication::setOrganizationName(previousOrganisation); }
};
