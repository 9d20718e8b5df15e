#pragma once
#include <QString>

namespace z5 {

// One line of the netlist buffer, recognised once by its first characters.
struct NetlistLine {
    enum Kind : unsigned char { Other, CompInst, OriginalName, CompVal, NetStart, Node };

    QString text;
    int fileLine = 0;  // line of the file it came from, for fault reports
    Kind kind = Other;
    // Node lines only: the designator as written (letter and digits, e.g. "U12", "D3"),
    // its letter, its number and the pin.
    QString designator;
    QChar letter;
    int number = 0;
    int pin = 0;

    static NetlistLine parse(const QString &text, int fileLine);
    static NetlistLine invertorMark(int fileLine);

    bool isNode() const { return kind == Node; }
    bool isBlockNode() const { return kind == Node && letter == u'U'; }
    bool isInverterNode() const { return kind == Node && letter == u'D'; }
};

} // namespace z5
