#pragma once
#include "app/ShippedLicences.h"
#include <QDialog>

class QDialogButtonBox;
class QVBoxLayout;

namespace z5 {

// The program's title and version, and where the station record is kept; its
// opener stays disabled while it is shown. The licences the program ships with
// are shown on demand, one at a time.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // `recordText`: the record's place, and why it is not used when it is not.
    AboutBox(QWidget *opener, const QString &recordText, const QList<ShippedLicence> &licences = {});

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void addLicences(QVBoxLayout *layout, QDialogButtonBox *buttons, const QList<ShippedLicence> &licences);
    void giveBack();
    QWidget *opener_;
};

} // namespace z5
