#pragma once
#include <QDialog>

namespace z5 {

// The program's title and version; its opener stays disabled while it is shown.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *opener);

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void giveBack();
    QWidget *opener_;
};

} // namespace z5
