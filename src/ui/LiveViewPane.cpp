#include "ui/LiveViewPane.h"
#include "ui/PanelPictureWidget.h"
#include "ui/ValueTableWidget.h"
#include <QLabel>

namespace z5 {
namespace {

constexpr int kPictureLeft = 8;
constexpr int kPictureTop = 22;

} // namespace

LiveViewPane::LiveViewPane(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("liveView"));
    table_ = new ValueTableWidget(this);
    table_->move(0, 0);
    label5_ = new QLabel(this);
    label5_->setObjectName(QStringLiteral("Label5"));
    label5_->setGeometry(0, 0, 300, 18);
    label5_->hide();
    for (int n = 0; n < PanelKeys::kPictures; ++n) {
        panels_[n] = new PanelPictureWidget(n, this);
        panels_[n]->move(kPictureLeft, kPictureTop);
        connect(panels_[n], &PanelPictureWidget::clickedAt, this, &LiveViewPane::panelClicked);
        connect(panels_[n], &PanelPictureWidget::switchClicked, this, &LiveViewPane::switchClicked);
    }
    const int below = kPictureTop + panels_[0]->height() + 4;
    for (int i = 0; i < 4; ++i) {
        // Each channel name under its key column.
        const int left = kPictureLeft + qRound(PanelKeys::kColumns[i].low * PanelPictureWidget::kScale) - 6;
        label6_[i] = new QLabel(this);
        label6_[i]->setObjectName(QStringLiteral("Label6_%1").arg(i));
        label6_[i]->setGeometry(left, below, 66, 30);
        label6_[i]->setWordWrap(true);
        label6_[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont small = label6_[i]->font();
        small.setPixelSize(10);
        label6_[i]->setFont(small);
        label6_[i]->hide();
    }
    resize(300, below + 34);
}

PanelPictureWidget *LiveViewPane::panelPicture(int number) const {
    return number >= 1 && number <= PanelKeys::kPictures ? panels_[number - 1] : nullptr;
}

void LiveViewPane::hideAll() {
    // The pane itself lies over the parameter rows: hidden, it takes no clicks.
    hide();
    table_->hide();
    for (PanelPictureWidget *p : panels_) p->hide();
    label5_->hide();
    for (QLabel *l : label6_) l->hide();
}

void LiveViewPane::showTable() {
    hideAll();
    table_->setTable(ValueTable{});
    table_->show();
    show();
}

void LiveViewPane::setTable(const ValueTable &table) { table_->setTable(table); }

void LiveViewPane::showPanel(std::optional<int> layout, const QString &caption, const std::array<QString, 4> &channels) {
    hideAll();
    for (int n = 0; n < PanelKeys::kPictures; ++n) {
        panels_[n]->clearFace();
        panels_[n]->setVisible(layout == n);
    }
    label5_->setText(caption);
    label5_->show();
    for (int i = 0; i < 4; ++i) {
        label6_[i]->setText(channels[i]);
        label6_[i]->show();
    }
    show();
}

void LiveViewPane::setFace(const PanelFace &face) {
    for (PanelPictureWidget *p : panels_)
        if (p->layout() == face.layout()) p->setFace(face);
    if (face.layout() < 0)
        for (PanelPictureWidget *p : panels_) p->clearFace();
}

void LiveViewPane::setSwitches(const std::array<bool, PanelKeys::kSwitches> &on) {
    for (int i = 0; i < PanelKeys::kSwitches; ++i) panels_[2]->setSwitch(i, on[i]);
}

} // namespace z5
