#pragma once
#include <QDialog>
#include <functional>

class QLineEdit;

namespace z5 {

// `sheet_GRAFIK_GO`, "Страница ГРАФИКА": asks for a page number. "Ok" hands
// the number on and leaves the trend window to whoever reads the page;
// "Выход" or closing it otherwise gives the window back.
class TrendPageDialog : public QDialog {
    Q_OBJECT
public:
    TrendPageDialog(int page, QWidget *owner, std::function<void(int page)> go);

    QLineEdit *pageField() const { return text_; }
    // "Ok": the page is the leading number of the field, clamped to 1..250.
    void goToPage();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void giveBack();

    QWidget *owner_;
    QLineEdit *text_;
    std::function<void(int)> go_;
    bool pending_ = false;
};

} // namespace z5
