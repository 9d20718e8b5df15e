#include "ui/TrafficWindow.h"
#include "link/TrafficClassifier.h"
#include "link/TrafficLog.h"
#include "link/TrafficText.h"
#include "model/AtomicFileSave.h"
#include "model/Prompts.h"
#include "ui/TrafficTableModel.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace z5 {

TrafficWindow::TrafficWindow(TrafficLog &log, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window), log_(log), prompts_(prompts), model_(new TrafficTableModel(log, this)) {
    setObjectName(QStringLiteral("TrafficMonitor"));
    setWindowTitle(QStringLiteral("Обмен с Z5"));

    pause_ = new QPushButton(QStringLiteral("&Пауза"), this);
    pause_->setObjectName(QStringLiteral("cmdPause"));
    pause_->setCheckable(true);
    auto *clear = new QPushButton(QStringLiteral("&Очистить"), this);
    clear->setObjectName(QStringLiteral("cmdClear"));
    filter_ = new QComboBox(this);
    filter_->setObjectName(QStringLiteral("cboKind"));
    filter_->addItem(QStringLiteral("Все"));
    for (int k = 0; k < kTrafficKindCount; ++k)
        filter_->addItem(TrafficClassifier::kindName(static_cast<TrafficKind>(k)), k);
    auto *save = new QPushButton(QStringLiteral("&Сохранить как текст"), this);
    save->setObjectName(QStringLiteral("cmdSave"));
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lblCount"));

    auto *tools = new QHBoxLayout;
    tools->addWidget(pause_);
    tools->addWidget(clear);
    tools->addWidget(new QLabel(QStringLiteral("Показать:"), this));
    tools->addWidget(filter_);
    tools->addWidget(save);
    tools->addStretch();
    tools->addWidget(count_);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblTraffic"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    // Fixed row heights keep an insert from measuring every row.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    QHeaderView *columns = table_->horizontalHeader();
    columns->setStretchLastSection(true);
    const int digit = table_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    table_->setColumnWidth(TrafficTableModel::Time, digit * 10);
    table_->setColumnWidth(TrafficTableModel::Direction, digit * 6);
    table_->setColumnWidth(TrafficTableModel::What, digit * 32);
    table_->setColumnWidth(TrafficTableModel::Length, digit * 7);
    table_->setColumnWidth(TrafficTableModel::Check, digit * 9);

    detail_ = new QPlainTextEdit(this);
    detail_->setObjectName(QStringLiteral("txtBytes"));
    detail_->setReadOnly(true);
    detail_->setLineWrapMode(QPlainTextEdit::NoWrap);
    detail_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_);
    split->addWidget(detail_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(split);
    WindowPlacement::restore(this, QStringLiteral("TrafficMonitor"), QSize(800, 540));

    connect(pause_, &QPushButton::toggled, this, [this](bool on) {
        model_->setPaused(on);
        showCount();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        log_.clear();
        detail_->clear();
    });
    connect(filter_, &QComboBox::currentIndexChanged, this, [this](int i) {
        const QVariant kind = filter_->itemData(i);
        model_->setKindFilter(kind.isValid() ? std::optional<TrafficKind>(static_cast<TrafficKind>(kind.toInt()))
                                             : std::nullopt);
        table_->scrollToBottom();
        showCount();
    });
    connect(save, &QPushButton::clicked, this, &TrafficWindow::saveAsText);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TrafficWindow::showSelected);
    // Follow the newest row only while the view is at the bottom, so reading
    // older rows is not disturbed by new ones.
    connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { following_ = value >= table_->verticalScrollBar()->maximum(); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TrafficWindow::onRowsInserted);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &TrafficWindow::showCount);
    connect(model_, &QAbstractItemModel::modelReset, this, &TrafficWindow::showCount);
    showCount();
    table_->scrollToBottom();
}

TrafficWindow::~TrafficWindow() = default;

void TrafficWindow::closeEvent(QCloseEvent *event) {
    WindowPlacement::save(this, QStringLiteral("TrafficMonitor"));
    QWidget::closeEvent(event);
}

TrafficWindow *TrafficWindow::open(TrafficLog &log, Prompts &prompts, QWidget *from) {
    TrafficWindow *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *monitor = qobject_cast<TrafficWindow *>(w);
        if (monitor && &monitor->log_ == &log) window = monitor;
    }
    if (!window) {
        // A window of its own, not a child: the windows that start exchanges
        // are disabled while they run, and a child would be disabled with
        // them just when the line is worth watching. It goes with the
        // top-level window it was opened from and never keeps the program
        // from ending.
        window = new TrafficWindow(log, prompts);
        window->setAttribute(Qt::WA_QuitOnClose, false);
        QWidget *root = from ? from->window() : nullptr;
        while (root && root->parentWidget()) root = root->parentWidget()->window();
        if (root) connect(root, &QObject::destroyed, window, [window] { delete window; });
        // Its size is kept between runs; it opens centred on the window it was opened from.
        if (from) WindowPlacement::centreOn(window, from->window());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void TrafficWindow::onRowsInserted() {
    if (following_) table_->scrollToBottom();
    showCount();
}

void TrafficWindow::showCount() {
    QString text = QStringLiteral("Строк: %1").arg(model_->rowCount());
    // The view keeps the latest transfers only; the earlier ones are not hidden silently.
    if (model_->earlierRowsGone() > 0) text += QStringLiteral(", ранних не показано: %1").arg(model_->earlierRowsGone());
    if (model_->isPaused()) text += QStringLiteral(" (пауза)");
    count_->setText(text);
}

void TrafficWindow::showSelected() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) {
        detail_->clear();
        return;
    }
    const TrafficRecord &r = model_->record(current.row());
    QString text = QStringLiteral("%1 мс  %2  %3, %4 байт").arg(r.ms).arg(TrafficText::arrow(r.direction), r.what).arg(r.bytes.size());
    const QString check = TrafficText::checkText(r.check);
    if (!check.isEmpty()) text += QStringLiteral(", КС ") + check;
    detail_->setPlainText(text + QLatin1Char('\n') + TrafficText::hexDump(r.bytes));
}

bool TrafficWindow::saveAsText() {
    const QString path = prompts_.saveFileName(QStringLiteral("Сохранить обмен с Z5"),
                                               QStringLiteral("Текст (*.txt);;Все файлы (*)"), QString());
    if (path.isEmpty()) return false;
    QString error;
    if (AtomicFileSave::save(path, model_->text(), &error)) return true;
    prompts_.message(QStringLiteral("Файл заблокирован!!!\n") + error, QString(), Prompts::Kind::Error);
    return false;
}

} // namespace z5
