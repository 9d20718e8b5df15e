#include "console/ValueTable.h"
#include "console/NumberText.h"
#include "link/BlockReply.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"

namespace z5 {
namespace {

QString pinName(const ParameterCatalogue &catalogue, int type, int row, SignalSide side) {
    // The catalogue pads every name to twelve characters.
    QString name = catalogue.signalName(type, row, side);
    while (name.endsWith(QLatin1Char(' '))) name.chop(1);
    return name;
}

ValueTable::Pair pair(const ParameterCatalogue &catalogue, const NumberText &numbers, int type, int row,
                      SignalSide side, double value) {
    return {pinName(catalogue, type, row, side), numbers.format(static_cast<float>(value)), value};
}

} // namespace

bool ValueTable::drawsTable(int type) { return type != BlockType::S_P && type != BlockType::PAN && type != BlockType::GRA; }

ValueTable ValueTable::fromReply(const QByteArray &reply, int type, const ParameterCatalogue &catalogue,
                                 const NumberText &numbers) {
    ValueTable table;
    if (!drawsTable(type)) return table;
    for (int k = 0; k < kRows; ++k) {
        Row row;
        row.top = kFirstRowTop + kRowStep * k;
        if (type == BlockType::A_I) {
            // An analog input shows its measured value and its raw signal, both
            // under the output name.
            row.left = pair(catalogue, numbers, type, k, SignalSide::Output, BlockReply::second(reply, k));
            row.hasRight = true;
            row.right = pair(catalogue, numbers, type, k, SignalSide::Output, BlockReply::third(reply, k));
        } else {
            row.left = pair(catalogue, numbers, type, k, SignalSide::Input, BlockReply::first(reply, k));
            // Outputs to the plant have no values of their own to show.
            row.hasRight = type != BlockType::A_O && type != BlockType::D_O;
            if (row.hasRight)
                row.right = pair(catalogue, numbers, type, k, SignalSide::Output, BlockReply::second(reply, k));
        }
        table.rows_.push_back(std::move(row));
    }
    return table;
}

} // namespace z5
