#pragma once
#include <QWidget>
#include <array>
#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;

namespace z5 {

class ParameterPanel;

// The widgets of the parameter panel: the title `Label1`, the column heads
// `Label2` and 17 rows of `Label3`, `Combo1` and `Text1`, bound to the panel
// model. A field whose text was not stored gets a red frame.
class ConsoleParameterView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 17;

    ConsoleParameterView(ParameterPanel &panel, QWidget *parent);

    // Shows the model's rows as they now stand.
    void refresh();
    void setHeadingsVisible(bool visible);
    // Where the view learns a row's value as last written into the controller,
    // when the field now differs from it (empty: it does not). Such a field is
    // framed and its tooltip says "записано: …".
    void setWrittenText(std::function<QString(int row)> writtenText) { writtenText_ = std::move(writtenText); }
    static QString writtenHint(const QString &written);

    QLabel *title() const { return label1_; }
    QLabel *columnHeadings() const { return label2_; }
    QLabel *rowLabel(int row) const { return row >= 0 && row < kRows ? label3_[row] : nullptr; }
    QComboBox *rowChoice(int row) const { return row >= 0 && row < kRows ? combo1_[row] : nullptr; }
    QLineEdit *rowField(int row) const { return row >= 0 && row < kRows ? text1_[row] : nullptr; }
    // The topmost field that takes input; nullptr when no row shows one.
    QWidget *firstField() const;

    // The line below the rows that names every field whose text is not stored, and why.
    QLabel *notStoredLine() const { return notStored_; }

    static QString notStoredHint();

signals:
    // The user changed something in the panel.
    void edited();
    // The user finished typing into a field (Tab, Return, the focus left it),
    // or pressed Esc in it to have the stored value back.
    void fieldFinished(int row);
    void fieldReverted(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshRow(int row);
    void onChoice(int row, int index);
    void onTextEdited(int row, const QString &text);
    // The line naming the refused fields sits right under the last row shown.
    void placeNotStoredLine();

    ParameterPanel &panel_;
    QLabel *label1_;
    QLabel *label2_;
    std::array<QLabel *, kRows> label3_{};
    std::array<QComboBox *, kRows> combo1_{};
    std::array<QLineEdit *, kRows> text1_{};
    // A warning mark inside each field, shown while its text is refused.
    std::array<QAction *, kRows> refusedMark_{};
    QLabel *notStored_;
    std::function<QString(int row)> writtenText_;
};

} // namespace z5
