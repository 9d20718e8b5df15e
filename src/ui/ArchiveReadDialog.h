#pragma once
#include "record/ArchivePageStore.h"
#include "trends/ArchiveRead.h"
#include <QDialog>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace z5 {

class Clock;
class LineSession;

// "Читать архив": reads all pages of a recorder's archive, or pages A to B,
// into the station record, with the pages, the parts and the time left on a
// progress bar. It holds no window up: the reads take their turns in the
// line's queue, and whatever else is clicked meanwhile goes out between parts.
// "Отмена" stops a run (the pages stored stay) or closes the dialog.
class ArchiveReadDialog : public QDialog {
    Q_OBJECT
public:
    ArchiveReadDialog(Clock &clock, LineSession &line, const QString &recordPath, int station, int block,
                      QWidget *owner);
    ~ArchiveReadDialog() override;

    void startReading();
    void cancelOrClose();
    bool reading() const { return read_ && read_->running(); }

signals:
    // Pages went into the record: a history shown may be drawn again.
    void pagesStored();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showProgress(const ArchiveRead::Progress &p);
    void onFinished(LineOutcome outcome);
    void setRunning(bool running);

    Clock &clock_;
    LineSession &line_;
    QString recordPath_;
    int station_;
    int block_;
    ArchivePageStore store_;
    std::unique_ptr<ArchiveRead> read_;
    QRadioButton *all_;
    QRadioButton *some_;
    QSpinBox *first_;
    QSpinBox *last_;
    QProgressBar *bar_;
    QLabel *state_;
    QPushButton *start_;
    QPushButton *cancel_;
};

} // namespace z5
