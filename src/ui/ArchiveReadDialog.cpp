#include "ui/ArchiveReadDialog.h"
#include "trends/TrendPage.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace z5 {
namespace {

QString timeLeftText(std::int64_t ms) {
    if (ms < 0) return QStringLiteral("—");
    const std::int64_t s = (ms + 999) / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QSpinBox *pageBox(const QString &name, int value, QWidget *parent) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(TrendPage::kFirstPage, TrendPage::kLastPage);
    box->setValue(value);
    return box;
}

} // namespace

ArchiveReadDialog::ArchiveReadDialog(Clock &clock, LineSession &line, const QString &recordPath, int station,
                                     int block, QWidget *owner)
    : QDialog(owner), clock_(clock), line_(line), recordPath_(recordPath), station_(station), block_(block) {
    setObjectName(QStringLiteral("ArchiveReadDialog"));
    setWindowTitle(QStringLiteral("Читать архив U%1").arg(block + 1));
    setAttribute(Qt::WA_DeleteOnClose);

    all_ = new QRadioButton(QStringLiteral("Все страницы"), this);
    all_->setObjectName(QStringLiteral("archiveAll"));
    all_->setChecked(true);
    some_ = new QRadioButton(QStringLiteral("Страницы с"), this);
    some_->setObjectName(QStringLiteral("archiveSome"));
    first_ = pageBox(QStringLiteral("archiveFirst"), TrendPage::kFirstPage, this);
    last_ = pageBox(QStringLiteral("archiveLast"), TrendPage::kLastPage, this);
    // A page number typed means a range.
    for (QSpinBox *box : {first_, last_})
        connect(box, &QSpinBox::valueChanged, some_, [this] { some_->setChecked(true); });

    auto *range = new QHBoxLayout;
    range->addWidget(some_);
    range->addWidget(first_);
    range->addWidget(new QLabel(QStringLiteral("по"), this));
    range->addWidget(last_);
    range->addStretch(1);

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("archiveProgress"));
    bar_->setRange(0, 1);
    bar_->setValue(0);
    state_ = new QLabel(QStringLiteral("Запись: %1").arg(QDir::toNativeSeparators(recordPath)), this);
    state_->setObjectName(QStringLiteral("archiveState"));
    state_->setWordWrap(true);

    start_ = new QPushButton(QStringLiteral("Читать"), this);
    start_->setObjectName(QStringLiteral("archiveStart"));
    start_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancel_->setObjectName(QStringLiteral("archiveCancel"));
    connect(start_, &QPushButton::clicked, this, &ArchiveReadDialog::startReading);
    connect(cancel_, &QPushButton::clicked, this, &ArchiveReadDialog::cancelOrClose);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(all_);
    layout->addLayout(range);
    layout->addWidget(bar_);
    layout->addWidget(state_);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 48);
    resize(sizeHint());
    if (owner) WindowPlacement::centreOn(this, owner);
}

ArchiveReadDialog::~ArchiveReadDialog() {
    if (read_) read_->cancel();
}

void ArchiveReadDialog::setRunning(bool running) {
    for (QWidget *w : std::initializer_list<QWidget *>{all_, some_, first_, last_, start_}) w->setEnabled(!running);
}

void ArchiveReadDialog::startReading() {
    if (reading()) return;
    QString why;
    if (!store_.isOpen() && !store_.open(recordPath_, &why)) {
        state_->setText(QStringLiteral("Запись %1 не открыта: %2").arg(QDir::toNativeSeparators(recordPath_), why));
        return;
    }
    int first = TrendPage::kFirstPage, last = TrendPage::kLastPage;
    if (some_->isChecked()) {
        first = std::min(first_->value(), last_->value());
        last = std::max(first_->value(), last_->value());
    }
    read_ = std::make_unique<ArchiveRead>(clock_, line_, store_);
    connect(read_.get(), &ArchiveRead::progressed, this, &ArchiveReadDialog::showProgress);
    connect(read_.get(), &ArchiveRead::pageStored, this, [this](int, ArchivePages::Put how) {
        if (how == ArchivePages::Put::Stored || how == ArchivePages::Put::Replaced) emit pagesStored();
    });
    connect(read_.get(), &ArchiveRead::interrupted, this, [this] {
        state_->setText(QStringLiteral("Нет сети: чтение архива продолжится, когда адаптер будет подключён"));
    });
    connect(read_.get(), &ArchiveRead::finished, this, &ArchiveReadDialog::onFinished);
    setRunning(true);
    bar_->setRange(0, (last - first + 1) * TrendPageAssembler::kParts);
    bar_->setValue(0);
    state_->setText(QStringLiteral("Чтение страницы %1…").arg(first));
    read_->start(station_, block_, first, last);
}

void ArchiveReadDialog::showProgress(const ArchiveRead::Progress &p) {
    // Pages read again make the run longer than it looked at first.
    bar_->setMaximum(std::max(1, p.pages * p.parts));
    bar_->setValue(std::min(bar_->maximum(), p.pagesDone * p.parts + p.partsIn));
    state_->setText(QStringLiteral("Страниц: %1 из %2, частей: %3 из %4, осталось %5 (записано %6, уже были %7)")
                        .arg(p.pagesDone)
                        .arg(p.pages)
                        .arg(p.partsIn)
                        .arg(p.parts)
                        .arg(timeLeftText(p.msLeft))
                        .arg(p.stored)
                        .arg(p.skipped));
}

void ArchiveReadDialog::onFinished(LineOutcome outcome) {
    setRunning(false);
    const ArchiveRead::Progress p = read_->progress();
    if (outcome == LineOutcome::Reply) {
        bar_->setValue(bar_->maximum());
        state_->setText(QStringLiteral("Архив прочитан: страниц %1, записано %2, уже были %3")
                            .arg(p.pagesDone)
                            .arg(p.stored)
                            .arg(p.skipped));
    } else if (outcome == LineOutcome::Cancelled && !read_->storeFailed()) {
        state_->setText(QStringLiteral("Чтение остановлено: прочитано страниц %1 из %2, записанные остаются")
                            .arg(p.pagesDone)
                            .arg(p.pages));
    } else {
        state_->setText(QStringLiteral("Чтение не закончено (страниц %1 из %2): %3")
                            .arg(p.pagesDone)
                            .arg(p.pages)
                            .arg(read_->failureText().replace(u'\n', QStringLiteral(": "))));
    }
    cancel_->setText(QStringLiteral("Закрыть"));
}

void ArchiveReadDialog::cancelOrClose() {
    if (reading()) {
        read_->cancel();
        setRunning(false);
        const ArchiveRead::Progress p = read_->progress();
        state_->setText(QStringLiteral("Чтение остановлено: прочитано страниц %1 из %2, записанные остаются")
                            .arg(p.pagesDone)
                            .arg(p.pages));
        cancel_->setText(QStringLiteral("Закрыть"));
        return;
    }
    close();
}

void ArchiveReadDialog::closeEvent(QCloseEvent *event) {
    if (read_) read_->cancel();
    QDialog::closeEvent(event);
}

} // namespace z5
