#pragma once
#include <QDialog>

namespace z5 {

// The program's title and version, and where the station record is kept; its
// opener stays disabled while it is shown.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // `recordText`: the record's place, and why it is not used when it is not.
    AboutBox(QWidget *opener, const QString &recordText);

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void giveBack();
    QWidget *opener_;
};

} // namespace z5
