#include "console/WatchColumns.h"
#include "link/BlockReply.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"

namespace z5 {
namespace {

QString pinName(const ParameterCatalogue &catalogue, int type, int row, SignalSide side) {
    return catalogue.signalName(type, row, side).trimmed();
}

} // namespace

void WatchColumns::add(const QString &header, int row, Value value) {
    // Two columns under one name could not be told apart in a spreadsheet.
    QString name = header;
    for (int n = 2; headers_.contains(name); ++n) name = QStringLiteral("%1 (%2)").arg(header).arg(n);
    headers_ << name;
    columns_.push_back({row, value});
}

WatchColumns::WatchColumns(int type, const ParameterCatalogue &catalogue) {
    constexpr int kRows = BlockReply::kRows;
    if (type == BlockType::S_P) {
        for (int k = 0; k < kRows; ++k) add(QStringLiteral("Задатчик %1").arg(k + 1), k, Value::Second);
        return;
    }
    if (!BlockCatalogue::isBlockType(type) || type == BlockType::PAN || type == BlockType::GRA) {
        for (int k = 0; k < kRows; ++k) {
            add(QStringLiteral("%1.1").arg(k), k, Value::First);
            add(QStringLiteral("%1.2").arg(k), k, Value::Second);
            add(QStringLiteral("%1.3").arg(k), k, Value::Third);
        }
        return;
    }
    // The console's table, without the places that have no pin.
    for (int k = 0; k < kRows; ++k) {
        if (type == BlockType::A_I) {
            const QString name = pinName(catalogue, type, k, SignalSide::Output);
            if (name.isEmpty()) continue;
            add(name, k, Value::Second);
            add(name, k, Value::Third);
            continue;
        }
        const QString in = pinName(catalogue, type, k, SignalSide::Input);
        if (!in.isEmpty()) add(in, k, Value::First);
        const QString out = pinName(catalogue, type, k, SignalSide::Output);
        if (!out.isEmpty() && type != BlockType::A_O && type != BlockType::D_O) add(out, k, Value::Second);
    }
}

QStringList WatchColumns::values(const QByteArray &reply) const {
    QStringList out;
    for (const Column &c : columns_) {
        const double v = c.value == Value::First    ? BlockReply::first(reply, c.row)
                         : c.value == Value::Second ? BlockReply::second(reply, c.row)
                                                    : BlockReply::third(reply, c.row);
        out << QString::number(v, 'f', 3);
    }
    return out;
}

} // namespace z5
