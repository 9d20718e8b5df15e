#include "ui/ConsoleParameterView.h"
#include "console/ParameterPanel.h"
#include "ui/ConsoleGeometry.h"
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QLineEdit>
#include <QSignalBlocker>

namespace z5 {
namespace {

// Rows of the panel, in twips of the panel's own corner.
constexpr int kFirstRowTop = 700;
constexpr int kRowPitch = 370;
constexpr int kRowHeight = 330;
constexpr int kLabelWidth = 2450;
constexpr int kFieldLeft = 2500;
constexpr int kFieldWidth = twips::kPanelWidth - kFieldLeft;

QColor nameBackground() {
    // 0xFFFFC0 as the window system gives colours: red 0xC0, green 0xFF, blue 0xFF.
    const unsigned ref = PanelRow::kNameColourRef;
    return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

QColor changedColour() { return QColor(0xE0, 0x80, 0x00); }

} // namespace

QString ConsoleParameterView::notStoredHint() { return QStringLiteral("Значение не сохранено"); }

QString ConsoleParameterView::writtenHint(const QString &written) { return QStringLiteral("записано: %1").arg(written); }

ConsoleParameterView::ConsoleParameterView(ParameterPanel &panel, QWidget *parent)
    : QWidget(parent), panel_(panel) {
    setObjectName(QStringLiteral("parameterPanel"));
    label1_ = new QLabel(QStringLiteral("Установка параметров"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    QFont bold = label1_->font();
    bold.setBold(true);
    label1_->setFont(bold);
    label1_->setGeometry(twips::rect(0, 0, twips::kPanelWidth, 300));
    label2_ = new QLabel(QStringLiteral("Параметр              Значение"), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(twips::rect(0, 330, twips::kPanelWidth, 300));

    for (int r = 0; r < kRows; ++r) {
        const int top = kFirstRowTop + r * kRowPitch;
        label3_[r] = new QLabel(this);
        label3_[r]->setObjectName(QStringLiteral("Label3_%1").arg(r));
        label3_[r]->setGeometry(twips::rect(0, top, kLabelWidth, kRowHeight));
        combo1_[r] = new QComboBox(this);
        combo1_[r]->setObjectName(QStringLiteral("Combo1_%1").arg(r));
        combo1_[r]->setGeometry(twips::rect(kFieldLeft, top, kFieldWidth, kRowHeight));
        combo1_[r]->setMaxVisibleItems(16);
        text1_[r] = new QLineEdit(this);
        text1_[r]->setObjectName(QStringLiteral("Text1_%1").arg(r));
        text1_[r]->setGeometry(twips::rect(kFieldLeft, top, kFieldWidth, kRowHeight));
        // Tab runs down the rows: each row's choice or text (only one is shown), then the next row.
        if (r > 0) setTabOrder(text1_[r - 1], combo1_[r]);
        setTabOrder(combo1_[r], text1_[r]);
        connect(combo1_[r], &QComboBox::activated, this, [this, r](int index) { onChoice(r, index); });
        connect(text1_[r], &QLineEdit::textEdited, this, [this, r](const QString &t) { onTextEdited(r, t); });
        // Stored when the user is done with it, never a prefix of what he types.
        connect(text1_[r], &QLineEdit::editingFinished, this, [this, r] { emit fieldFinished(r); });
        text1_[r]->installEventFilter(this);
        refusedMark_[r] = text1_[r]->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                               QLineEdit::TrailingPosition);
        refusedMark_[r]->setObjectName(QStringLiteral("refusedMark_%1").arg(r));
        refusedMark_[r]->setVisible(false);
    }
    notStored_ = new QLabel(this);
    notStored_->setObjectName(QStringLiteral("lblNotStored"));
    notStored_->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    notStored_->setWordWrap(true);
    notStored_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    refresh();
}

void ConsoleParameterView::setHeadingsVisible(bool visible) {
    label1_->setVisible(visible);
    label2_->setVisible(visible);
}

QWidget *ConsoleParameterView::firstField() const {
    for (int r = 0; r < kRows; ++r) {
        const PanelRow &row = panel_.row(r);
        if (row.showsChoice() && row.choiceEnabled) return combo1_[r];
        if (row.showsText()) return text1_[r];
    }
    return nullptr;
}

void ConsoleParameterView::refresh() {
    QStringList flagged;
    QStringList locked;  // read-only fields share one reason
    QString lockedReason;
    for (int r = 0; r < kRows; ++r) {
        refreshRow(r);
        const PanelRow &row = panel_.row(r);
        if (row.visible && row.rejected)
            flagged << QStringLiteral("«%1»: %2").arg(row.caption.trimmed(), row.notStoredReason);
        if (row.visible && row.readOnly()) {
            locked << QStringLiteral("«%1»").arg(row.caption.trimmed());
            lockedReason = row.readOnlyReason;
        }
    }
    if (!locked.isEmpty()) flagged << locked.join(QStringLiteral(", ")) + QStringLiteral(": ") + lockedReason;
    notStored_->setText(flagged.join(QStringLiteral("; ")));
    notStored_->setToolTip(notStored_->text());
    notStored_->setVisible(!flagged.isEmpty());
    placeNotStoredLine();
}

void ConsoleParameterView::placeNotStoredLine() {
    int lastRow = -1;
    for (int r = 0; r < kRows; ++r)
        if (panel_.row(r).visible) lastRow = r;
    const int top = twips::px(kFirstRowTop + (lastRow + 1) * kRowPitch);
    const int width = twips::px(kFieldLeft + kFieldWidth);
    // As many lines as the reasons take, within the panel.
    const int wanted = notStored_->heightForWidth(width);
    const int height = qMax(0, qMin(wanted > 0 ? wanted : notStored_->sizeHint().height(), this->height() - top));
    notStored_->setGeometry(0, top, width, height);
}

bool ConsoleParameterView::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        for (int r = 0; r < kRows; ++r) {
            if (watched != text1_[r]) continue;
            // The stored value comes back; the key goes no further.
            emit fieldReverted(r);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ConsoleParameterView::refreshRow(int r) {
    const PanelRow &row = panel_.row(r);
    // A field that goes out otherwise than it was last written gets an amber frame.
    const QString written = row.visible && writtenText_ ? writtenText_(r) : QString();
    const bool changed = !written.isEmpty();
    label3_[r]->setVisible(row.visible);
    label3_[r]->setText(row.caption);
    // A refused field's caption is red too, so the row stands out.
    const QString captionStyle = row.rejected ? QStringLiteral("QLabel { color: #c00000; }") : QString();
    if (label3_[r]->styleSheet() != captionStyle) label3_[r]->setStyleSheet(captionStyle);

    QComboBox *combo = combo1_[r];
    combo->setVisible(row.showsChoice());
    {
        const QSignalBlocker block(combo);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
        if (shown != row.items) {
            combo->clear();
            combo->addItems(row.items);
        }
        combo->setCurrentIndex(row.selected);
    }
    combo->setEnabled(row.choiceEnabled);
    combo->setToolTip(changed ? writtenHint(written) : row.readOnlyReason);
    const QString comboStyle = changed ? QStringLiteral("QComboBox { border: 2px solid %1; }").arg(changedColour().name())
                                       : QString();
    if (combo->styleSheet() != comboStyle) combo->setStyleSheet(comboStyle);
    combo->setProperty("changedSinceWrite", changed && row.showsChoice());

    QLineEdit *text = text1_[r];
    text->setVisible(row.showsText());
    if (text->text() != row.text) {
        const QSignalBlocker block(text);
        text->setText(row.text);
    }
    const QColor background = row.background == PanelRow::Background::Name ? nameBackground() : QColor(Qt::white);
    QString style = QStringLiteral("QLineEdit { background-color: %1;").arg(background.name());
    if (row.rejected)
        style += QStringLiteral(" border: 2px solid red;");
    else if (changed)
        style += QStringLiteral(" border: 2px solid %1;").arg(changedColour().name());
    style += QStringLiteral(" }");
    if (text->styleSheet() != style) text->setStyleSheet(style);
    text->setReadOnly(row.readOnly());
    refusedMark_[r]->setVisible(row.rejected && row.showsText());
    refusedMark_[r]->setToolTip(row.notStoredReason);
    text->setToolTip(row.readOnly() ? row.readOnlyReason
                     : row.rejected ? notStoredHint() + QStringLiteral(": ") + row.notStoredReason
                     : changed      ? writtenHint(written)
                                    : QString());
    text->setProperty("changedSinceWrite", changed && row.showsText());
}

void ConsoleParameterView::onChoice(int r, int index) {
    panel_.choose(r, index);
    refresh();
    emit edited();
}

void ConsoleParameterView::onTextEdited(int r, const QString &text) {
    // Every user edit of the text, typed or pasted, counts as a key press.
    panel_.keyPressed(r);
    panel_.textChanged(r, text);
    refresh();
    emit edited();
}

} // namespace z5
