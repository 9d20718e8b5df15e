#pragma once
#include "model/ParameterCatalogue.h"
#include "model/StorePlace.h"
#include "record/WrittenParameters.h"
#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace z5 {

class ParameterStore;
class Project;

// One field whose value goes on the wire otherwise than it was last written, or
// a whole table the record holds in a form this project cannot be compared with.
struct FieldDifference {
    QString block;            // "PID 2" as the console names it; "таблица 10" for a whole table
    int column = -1;          // the block's column; -1 for a whole table
    int row = -1;             // console row 0..16; -1 for a whole table
    QString caption;          // the row's caption, with the channel, step... it shows it for
    QString then;             // as written then, shown as the console shows values
    QString now;              // as it stands now
    int table = -1;           // the table that carries it
    std::optional<StorePlace> place;  // empty for a whole table

    bool wholeTable() const { return !place.has_value(); }
};

// The difference of every parameter field of the project's blocks, in column
// and row order, between its bytes on the wire now and the same bytes in the
// recorded data block of its table. Fields of a table the record does not hold
// are not compared; a recorded table of another layout, or one no parameter
// goes into, is one whole-table difference. A setpoint table in `lastWritten`
// is not compared (its data names no block): give WrittenParameters for it.
std::vector<FieldDifference> recordDifferences(const Project &project, const ParameterStore &store,
                                               const std::map<int, QByteArray> &lastWritten);
std::vector<FieldDifference> recordDifferences(const Project &project, const ParameterStore &store,
                                               const WrittenParameters &written);
// The fields one write changed: their bytes in `after` (what that write sent)
// against `before` (what the controller held from earlier writes), named by the
// blocks of `layout`. Fields either side does not hold are not compared.
std::vector<FieldDifference> writtenDifferences(const Project &layout, const WrittenParameters &before,
                                                const WrittenParameters &after);

// The bytes a field was last written with; a null array when the record holds
// none of them (never written, or a table of another layout).
QByteArray writtenBytes(const WrittenParameters &written, const StorePlace &place);
// True when the field was written and goes on the wire otherwise now.
bool differsFromWritten(const WrittenParameters &written, const ParameterStore &store, const StorePlace &place);
// The field's written value as the console would show it in row `row` of `type`.
QString shownValue(const QByteArray &bytes, const StorePlace &place, int type, int row,
                   const ParameterCatalogue &catalogue = ParameterCatalogue::standard());

// One difference as a line of text: "PID 2, строка 5 «Кп»: было 1,5, стало 2".
QString differenceLine(const FieldDifference &difference);

} // namespace z5
