#pragma once
#include "model/StorePlace.h"
#include <QByteArray>
#include <map>
#include <optional>

namespace z5 {

class ParameterStore;

// Where a store element travels: the table, the offset of its bytes in that
// table's data block and how many bytes it takes.
struct WireSpot {
    int table = -1;
    int offset = 0;
    int width = 0;
};

// The parameter store element by element as it goes on the wire, so that what
// is held now and what was written then compare as bytes, never as rounded numbers.
class FieldOnWire {
public:
    // Where the element goes; empty for one no table carries.
    static std::optional<WireSpot> spotOf(const StorePlace &place);
    // The length of a table's data block as the download sends it; -1 for a
    // table that carries no parameters.
    static int tableLength(int table);
    // The element's bytes as the download would send them now; empty when the
    // value does not fit the wire (such a value is never written).
    static QByteArray bytesNow(const ParameterStore &store, const StorePlace &place);
    // The element's bytes in a recorded data block; a null array when the block
    // does not hold the table's layout.
    static QByteArray bytesIn(const QByteArray &block, const WireSpot &spot);
    // True when a recorded data block is laid out as the table is now: its data,
    // or its data and a check value.
    static bool layoutMatches(int table, const QByteArray &block);
};

} // namespace z5
