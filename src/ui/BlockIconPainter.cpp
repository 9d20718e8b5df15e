#include "ui/BlockIconPainter.h"
#include "model/BlockCatalogue.h"
#include <QPainter>
#include <QPainterPath>

namespace z5 {
namespace {

constexpr int kTypes = 33;
constexpr int kIcons = 396;

} // namespace

BlockIconPainter::Family BlockIconPainter::familyOf(int type) {
    switch (type) {
    case BlockType::A_I: case BlockType::A_O: case BlockType::D_I: case BlockType::D_O: case BlockType::RS4: return Family::InputOutput;
    case BlockType::MUL: case BlockType::SUM: case BlockType::DIV: case BlockType::SQR: case BlockType::ABS: return Family::Arithmetic;
    case BlockType::AND: case BlockType::OR_: case BlockType::XOR: case BlockType::TRI: case BlockType::REG: return Family::Logic;
    case BlockType::S_P: case BlockType::PID: case BlockType::MUX: case BlockType::PRO: case BlockType::MIN: case BlockType::LIM: case BlockType::CMP: return Family::Regulation;
    case BlockType::RTC: case BlockType::TIM: case BlockType::COU: case BlockType::OSC: return Family::Timing;
    case BlockType::PAN: case BlockType::GRA: case BlockType::JUR: case BlockType::SCA: return Family::Operator;
    default: return Family::Special;
    }
}

QColor BlockIconPainter::fillOf(Family family) {
    switch (family) {
    case Family::InputOutput: return QColor(0xBF, 0xDB, 0xFF);
    case Family::Arithmetic: return QColor(0xC6, 0xF0, 0xC2);
    case Family::Logic: return QColor(0xFF, 0xF1, 0xA8);
    case Family::Regulation: return QColor(0xE2, 0xD2, 0xFF);
    case Family::Timing: return QColor(0xFF, 0xD8, 0xB0);
    case Family::Operator: return QColor(0xFF, 0xC8, 0xD4);
    case Family::Special: return QColor(0xDD, 0xDD, 0xDD);
    }
    return Qt::white;
}

void BlockIconPainter::paintFrame(QPainter &p, const QRectF &a, Family family) {
    const QColor ink(0x20, 0x20, 0x30);
    p.setBrush(fillOf(family));
    p.setPen(QPen(ink, 1.0));
    const qreal w = a.width(), h = a.height();
    switch (family) {
    case Family::InputOutput: {
        // A terminal: pin stubs on both sides.
        const QRectF body = a.adjusted(w * 0.12, 0, -w * 0.12, 0);
        p.drawRect(body);
        for (qreal y : {h * 0.25, h * 0.75}) {
            p.drawLine(QPointF(a.left(), a.top() + y), QPointF(body.left(), a.top() + y));
            p.drawLine(QPointF(body.right(), a.top() + y), QPointF(a.right(), a.top() + y));
        }
        break;
    }
    case Family::Arithmetic:
        p.drawRoundedRect(a, w * 0.25, h * 0.25);
        break;
    case Family::Logic: {
        // A gate: flat on the input side, round on the output side.
        QPainterPath gate;
        gate.moveTo(a.topLeft());
        gate.lineTo(a.left() + w * 0.5, a.top());
        gate.arcTo(QRectF(a.left(), a.top(), w, h), 90, -180);
        gate.lineTo(a.bottomLeft());
        gate.closeSubpath();
        p.drawPath(gate);
        break;
    }
    case Family::Regulation:
        p.drawRect(a);
        p.setBrush(Qt::NoBrush);
        p.drawRect(a.adjusted(2, 2, -2, -2));
        break;
    case Family::Timing: {
        const qreal c = w * 0.22;
        const QPointF pts[] = {{a.left() + c, a.top()},     {a.right() - c, a.top()},   {a.right(), a.top() + c},
                               {a.right(), a.bottom() - c}, {a.right() - c, a.bottom()}, {a.left() + c, a.bottom()},
                               {a.left(), a.bottom() - c},  {a.left(), a.top() + c}};
        p.drawPolygon(pts, 8);
        break;
    }
    case Family::Operator:
        p.drawRect(a);
        p.setBrush(ink);
        p.drawRect(QRectF(a.left(), a.top(), w, h * 0.14));
        break;
    case Family::Special:
        p.setPen(QPen(ink, 1.0, Qt::DashLine));
        p.drawRect(a);
        break;
    }
}

void BlockIconPainter::paint(QPainter &p, const QRectF &area, int iconNumber) {
    if (iconNumber < 0 || iconNumber >= kIcons) return;
    const int type = iconNumber % kTypes + 1;
    const int instance = iconNumber / kTypes + 1;
    const Family family = familyOf(type);

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF frame = area.adjusted(0.5, 0.5, -0.5, -0.5);
    paintFrame(p, frame, family);

    // Baselines set apart so that the underscore of a mnemonic stays clear of the number.
    p.setPen(QColor(0x10, 0x10, 0x10));
    const qreal h = area.height();
    QFont mnemonic = p.font();
    mnemonic.setBold(true);
    mnemonic.setPixelSize(qMax(7, qRound(h * 0.3)));
    p.setFont(mnemonic);
    const QString name = BlockCatalogue::mnemonic(type);
    const qreal nameWidth = p.fontMetrics().horizontalAdvance(name);
    const qreal nameBaseline = area.top() + h * (family == Family::Operator ? 0.52 : 0.46);
    p.drawText(QPointF(area.center().x() - nameWidth / 2, nameBaseline), name);

    QFont number = p.font();
    number.setBold(false);
    number.setPixelSize(qMax(7, qRound(h * 0.28)));
    p.setFont(number);
    const QString instanceText = QString::number(instance);
    const qreal numberWidth = p.fontMetrics().horizontalAdvance(instanceText);
    p.drawText(QPointF(area.center().x() - numberWidth / 2, area.top() + h * 0.86), instanceText);
    p.restore();
}

} // namespace z5
