#include "link/PortSettings.h"
#include <QRegularExpression>
#include <QtGlobal>

namespace z5 {

QString PortSettings::deviceName(int comPort) {
    if (comPort < kFirstPort || comPort > kLastPort) return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(comPort);
#else
    const QByteArray fromEnv = qgetenv(QStringLiteral("Z5_COM%1").arg(comPort).toLatin1().constData());
    if (!fromEnv.isEmpty()) return QString::fromLocal8Bit(fromEnv);
    return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
#endif
}

QString PortSettings::resolveDevice(const QString &portOrPath) {
    static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,2})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = com.match(portOrPath.trimmed());
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n >= kFirstPort && n <= kLastPort) return deviceName(n);
    }
    return portOrPath;
}

} // namespace z5
