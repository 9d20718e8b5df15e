#pragma once
#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace z5 {

class Prompts;
class TrafficLog;
class TrafficTableModel;

// "Обмен с Z5": every transfer on the line, one row each, the newest at the
// bottom. A selected row shows its bytes in full below the table. Pausing
// freezes the rows (the log goes on recording), clearing forgets them, the
// filter shows one kind, and the shown rows can be saved as text.
class TrafficWindow : public QWidget {
    Q_OBJECT
public:
    TrafficWindow(TrafficLog &log, Prompts &prompts, QWidget *parent = nullptr);
    ~TrafficWindow() override;

    // Shows the one monitor of this log, creating it on first use; it lives
    // as long as the top-level window of `from`.
    static TrafficWindow *open(TrafficLog &log, Prompts &prompts, QWidget *from);

    TrafficTableModel &model() { return *model_; }
    QTableView *table() const { return table_; }

    // Asks for a file and writes the shown rows into it; false when nothing was written.
    bool saveAsText();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showSelected();
    void onRowsInserted();
    void showCount();

    TrafficLog &log_;
    Prompts &prompts_;
    TrafficTableModel *model_;
    QTableView *table_;
    QPlainTextEdit *detail_;
    QPushButton *pause_;
    QComboBox *filter_;
    QLabel *count_;
    bool following_ = true;
};

} // namespace z5
