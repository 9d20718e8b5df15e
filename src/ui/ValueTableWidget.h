#pragma once
#include "console/ValueTable.h"
#include <QFrame>

namespace z5 {

// `Picture_TABLICA_PROCESS`: paints the value table of the block read last,
// pin names in blue and values in red, on white.
class ValueTableWidget : public QFrame {
    Q_OBJECT
public:
    explicit ValueTableWidget(QWidget *parent);
    void setTable(const ValueTable &table);
    const ValueTable &table() const { return table_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ValueTable table_;
};

} // namespace z5
