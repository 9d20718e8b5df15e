#pragma once
// Small netlists written inline for the import tests.
#include <QString>
#include <QStringList>

namespace z5test {

// A component block as the schematic editor writes it.
inline QString component(const QString &designator, const QString &part, const QString &value) {
    return QStringLiteral("  (compInst \"%1\"\n    (originalName \"%2\")\n    (compValue \"%3\")\n  )\n")
        .arg(designator, part, value);
}

// A net with its nodes given as "U2:1" (designator:pin).
inline QString net(const QString &name, const QStringList &nodes) {
    QString text = QStringLiteral("  (net \"%1\"\n").arg(name);
    for (const QString &node : nodes) {
        const QStringList parts = node.split(u':');
        text += QStringLiteral("    (node \"%1\" \"%2\")\n").arg(parts[0], parts[1]);
    }
    return text + QStringLiteral("  )\n");
}

inline QString netlist(const QString &body) {
    return QStringLiteral("ACCEL_ASCII \"t.net\"\n(netlist \"demo\"\n") + body + QStringLiteral(")\n");
}

// The worked example: an A_I, a MUL and an A_O with an inverter on the MUL's second input.
inline QString workedExample(const QString &value1 = QStringLiteral("1_1"),
                             const QString &value2 = QStringLiteral("2_1"),
                             const QString &value3 = QStringLiteral("3_1")) {
    return netlist(component("U1", "A_I", value1) + component("U2", "MUL", value2) +
                   component("U3", "A_O", value3) + component("D1", "INV", "0") +
                   net("N1", {"U2:1", "U1:1"}) + net("N2", {"U1:2", "D1:1"}) + net("N3", {"D1:2", "U2:2"}) +
                   net("N4", {"U2:12", "U3:1"}));
}

} // namespace z5test
