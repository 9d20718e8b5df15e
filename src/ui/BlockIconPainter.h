#pragma once
#include <QColor>
#include <QRectF>

class QPainter;

namespace z5 {

// Draws the console's block icons: the type's mnemonic over the instance
// number, in a frame whose colour and outline tell the block's family.
class BlockIconPainter {
public:
    enum class Family { InputOutput, Arithmetic, Logic, Regulation, Timing, Operator, Special };

    static Family familyOf(int type);
    static QColor fillOf(Family family);
    // Icon 0..395 (type = n mod 33 + 1, instance = n div 33 + 1); nothing for others.
    static void paint(QPainter &painter, const QRectF &area, int iconNumber);

private:
    static void paintFrame(QPainter &painter, const QRectF &area, Family family);
};

} // namespace z5
