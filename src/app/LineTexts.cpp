#include "app/LineTexts.h"
#include "link/SerialDevices.h"

namespace z5 {

QString LineTexts::networkFailure(const QString &reason, int portNumber, const SerialDevices *devices) {
    QString text = reason.isEmpty() ? QStringLiteral("Нет сети!!!") : QStringLiteral("Нет сети!!!\n") + reason;
    const QString adapter = describePort(portNumber, devices, true);
    if (!adapter.isEmpty()) text += QLatin1Char('\n') + adapter;
    return text;
}

QString LineTexts::adapterGone(const QString &device) {
    return QStringLiteral("Адаптер %1 отключён: программа ждёт его подключения").arg(device);
}

QString LineTexts::adapterReturned(const QString &device) {
    return QStringLiteral("Адаптер %1 снова подключён").arg(device);
}

} // namespace z5
