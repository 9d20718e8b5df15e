#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

namespace z5 {

class NumberText;
class ParameterCatalogue;

// The value table of a block read, laid out without a window: for each of the
// eight reply rows a label/value pair on the left and, for most types, another
// on the right. Positions are in the table picture's own pixels; labels are
// painted blue and values red.
class ValueTable {
public:
    static constexpr int kRows = 8;
    static constexpr int kFirstRowTop = 15;
    static constexpr int kRowStep = 13;
    static constexpr int kLeftLabelX = 3;
    static constexpr int kLeftValueX = 80;
    static constexpr int kRightLabelX = 126;
    static constexpr int kRightValueX = 203;
    // Wide and high enough for eight rows and a value of seven digits on the right;
    // multiples of four, so that at 125, 150 and 175 % the frame's right and
    // bottom lines fall on whole screen pixels instead of being cut off.
    static constexpr int kWidth = 292;
    static constexpr int kHeight = 128;

    struct Pair {
        QString label;   // the pin name, trailing blanks dropped; empty for an unknown type
        QString value;   // as the parameter panel shows numbers
        double number = 0.0;
    };
    struct Row {
        int top = 0;
        Pair left;
        bool hasRight = false;
        Pair right;
    };

    // The table for a reply of the block type `type`. Setpoint programmers,
    // panels, trend recorders and non-blocks have no table (empty rows).
    static ValueTable fromReply(const QByteArray &reply, int type, const ParameterCatalogue &catalogue,
                                const NumberText &numbers);
    // True when a reply of this type is shown as a table.
    static bool drawsTable(int type);

    const std::vector<Row> &rows() const { return rows_; }
    bool isEmpty() const { return rows_.empty(); }

private:
    std::vector<Row> rows_;
};

} // namespace z5
