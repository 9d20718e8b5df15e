#pragma once
#include "record/RecordDifferences.h"
#include <QDialog>
#include <QPointer>
#include <vector>

class QTableWidget;

namespace z5 {

// "Изменения": every field that goes out otherwise than it was last written
// into the controller, with its block, row, caption, the value then and now.
class ChangeListDialog : public QDialog {
    Q_OBJECT
public:
    ChangeListDialog(const std::vector<FieldDifference> &differences, QWidget *opener);
    QTableWidget *table() const { return table_; }

    // Opens the list, owned by `opener`; deleted when closed.
    static ChangeListDialog *open(const std::vector<FieldDifference> &differences, QWidget *opener);

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void giveBack();
    QPointer<QWidget> opener_;
    QTableWidget *table_;
};

} // namespace z5
