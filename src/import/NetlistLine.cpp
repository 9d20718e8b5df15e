#include "import/NetlistLine.h"
#include "import/ColumnText.h"

namespace z5 {

NetlistLine NetlistLine::parse(const QString &text, int fileLine) {
    NetlistLine line;
    line.text = text;
    line.fileLine = fileLine;
    const QStringView t(text);
    if (columns::startsWith(t, u"(compInst")) line.kind = CompInst;
    else if (columns::startsWith(t, u"(originalName")) line.kind = OriginalName;
    else if (columns::startsWith(t, u"(compVal")) line.kind = CompVal;
    else if (columns::startsWith(t, u"(net ")) line.kind = NetStart;
    else if (columns::startsWith(t, u"(node ")) line.kind = Node;
    if (line.kind != Node) return line;

    // (node "U12" "9"): the designator starts in column 8, just after the opening quote,
    // and runs to the closing quote; the whole of it is taken so that U123 is not read as U12.
    const QStringView from8 = columns::mid(t, 8, int(t.size()));
    qsizetype end = 0;
    while (end < from8.size() && from8[end] != u'"' && from8[end] != u' ' && from8[end] != u'\t') ++end;
    line.designator = from8.first(end).toString();
    line.letter = from8.isEmpty() ? QChar() : from8[0];
    line.number = columns::intValue(QStringView(line.designator).mid(std::min<qsizetype>(1, end)));
    // The pin is the last number of the line: "105")  "13")  "7")
    line.pin = columns::intValue(columns::right(t, 5));
    if (line.pin == 0) line.pin = columns::intValue(columns::right(t, 4));
    if (line.pin == 0) line.pin = columns::intValue(columns::right(t, 3));
    return line;
}

NetlistLine NetlistLine::invertorMark(int fileLine) {
    NetlistLine line;
    line.text = QStringLiteral("INVERTOR");
    line.fileLine = fileLine;
    return line;
}

} // namespace z5
