#pragma once
#include "app/WorkReport.h"
#include <QDialog>
#include <QPointer>

class QDateEdit;
class QLabel;
class QPrinter;
class QTableView;

namespace z5 {

class Prompts;
class Session;
class WriteHistory;

// "Отчёт о работах": the writes into the controllers over the days chosen (today
// when it opens), with what each changed, printed with a preview, or saved as
// PDF or as a workbook.
class WorkReportDialog : public QDialog {
    Q_OBJECT
public:
    WorkReportDialog(const WriteHistory &history, Prompts &prompts, QWidget *opener);

    // Opens the report owned by `opener`, deleted when closed; without a record
    // says so and opens nothing.
    static WorkReportDialog *open(const Session &session, QWidget *opener);

    const WorkReport &report() const { return report_; }
    QDateEdit *firstDay() const { return first_; }
    QDateEdit *lastDay() const { return last_; }
    QTableView *table() const { return table_; }

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void rebuild();
    void print();
    bool printTo(QPrinter &printer);
    void savePdf();
    void saveWorkbook();
    QString defaultName(const QString &suffix) const;
    void giveBack();

    const WriteHistory &history_;
    Prompts &prompts_;
    QPointer<QWidget> opener_;
    WorkReport report_;
    QDateEdit *first_;
    QDateEdit *last_;
    QTableView *table_;
    QLabel *status_;
};

} // namespace z5
