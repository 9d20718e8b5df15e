#include "ui/ValueTableWidget.h"
#include <QPainter>

namespace z5 {

ValueTableWidget::ValueTableWidget(QWidget *parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture_TABLICA_PROCESS"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFixedSize(ValueTable::kWidth, ValueTable::kHeight);
    hide();
}

void ValueTableWidget::setTable(const ValueTable &table) {
    table_ = table;
    update();
}

void ValueTableWidget::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    QFont f = p.font();
    f.setPixelSize(10);
    p.setFont(f);
    const QFontMetrics m(f);
    auto print = [&](int x, int top, const QString &text, const QColor &colour, int width) {
        p.setPen(colour);
        p.drawText(QPoint(x, top + m.ascent()), m.elidedText(text, Qt::ElideRight, width));
    };
    const QColor blue(0, 0, 255), red(255, 0, 0);
    for (const ValueTable::Row &row : table_.rows()) {
        // Labels may not run into the value beside them.
        print(ValueTable::kLeftLabelX, row.top, row.left.label, blue, ValueTable::kLeftValueX - ValueTable::kLeftLabelX - 2);
        print(ValueTable::kLeftValueX, row.top, row.left.value, red, ValueTable::kRightLabelX - ValueTable::kLeftValueX - 2);
        if (!row.hasRight) continue;
        print(ValueTable::kRightLabelX, row.top, row.right.label, blue, ValueTable::kRightValueX - ValueTable::kRightLabelX - 2);
        print(ValueTable::kRightValueX, row.top, row.right.value, red, ValueTable::kWidth - ValueTable::kRightValueX - 2);
    }
}

} // namespace z5
