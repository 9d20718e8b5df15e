#include "app/LineTexts.h"
#include "link/SerialDevices.h"

namespace z5 {

QString LineTexts::networkFailure(const QString &reason, int portNumber, const SerialDevices *devices) {
    QString text = reason.isEmpty() ? QStringLiteral("Нет сети!!!") : QStringLiteral("Нет сети!!!\n") + reason;
    const QString adapter = describePort(portNumber, devices, true);
    if (!adapter.isEmpty()) text += QLatin1Char('\n') + adapter;
    return text;
}

} // namespace z5
