#include "link/PortSettings.h"
#include "link/PortMapping.h"
#include "link/SimulatedControllerPort.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtGlobal>

namespace z5 {

QString PortSettings::deviceName(int comPort) { return PortMapping::resolve(comPort).device; }

QString PortSettings::resolveDevice(const QString &portOrPath) {
    static const QRegularExpression com(QStringLiteral("^(?:COM)?([0-9]{1,2})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QString given = portOrPath.trimmed();
    const auto m = com.match(given);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n >= kFirstPort && n <= kLastPort) return deviceName(n);
    }
    // "sim" names the controller simulated inside the program, before any file
    // of that name in the current folder ("./sim" is the file).
    if (SimulatedControllerPort::isItsName(given)) return SimulatedControllerPort::deviceName();
    // A bare stable name, as `z5ctl ports` lists it, stands for its link.
    if (!given.isEmpty() && !given.contains(QLatin1Char('/'))) {
        const QString byId = QStringLiteral("/dev/serial/by-id/") + given;
        if (QFileInfo::exists(byId)) return byId;
    }
    // A relative path names what the user sees from the current folder, a link
    // as a link (the port opens what it points to).
    const QFileInfo typed(given);
    if (!given.isEmpty() && typed.isRelative() && (typed.exists() || typed.isSymLink())) {
        const QString path = given.startsWith(QLatin1String("./")) ? given.mid(2) : given;
        return QDir::current().absoluteFilePath(path);
    }
    return portOrPath;
}

} // namespace z5
