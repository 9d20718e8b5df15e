#include "model/UserSettings.h"
#include <QCoreApplication>

namespace z5 {

std::unique_ptr<QSettings> userSettings() {
    const QString organisation = QCoreApplication::organizationName();
    if (organisation.isEmpty()) return nullptr;
    return std::make_unique<QSettings>(organisation, settingsApplication());
}

} // namespace z5
