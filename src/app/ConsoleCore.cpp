#include "app/ConsoleCore.h"
#include "app/LineTexts.h"
#include <utility>
#include "app/Session.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"
#include "model/Prompts.h"
#include "app/ParameterFileCommands.h"

namespace z5 {
namespace {

// The first line of a failure's reason, as the status line says it: "Нет сети".
QString failureStatus(const QString &reason) {
    QString first = reason.section(u'\n', 0, 0).trimmed();
    while (first.endsWith(u'!')) first.chop(1);
    return first.isEmpty() ? QStringLiteral("Нет сети") : first;
}

} // namespace

ConsoleCore::ConsoleCore(Session &session)
    : session_(session),
      progress_(session.clock),
      panel_(session.store, session.project, state_),
      exchange_(session.line, state_),
      writes_(session.chain, session.setpointWrite, progress_),
      live_(session.project, session.store, panel_, ParameterCatalogue::standard()),
      refresh_(session.clock),
      importCommand_(session.netlistImport, session.prompts),
      record_(session) {
    connect(&exchange_, &ConsoleExchange::ended, this, &ConsoleCore::onEnded);
    connect(&exchange_, &ConsoleExchange::blockReplyReceived, this, &ConsoleCore::onBlockReply);
    connect(&exchange_, &ConsoleExchange::processPictureChanged, this,
            [this](ConsoleExchange::ProcessPicture p) { emit processPictureChanged(p == ConsoleExchange::ProcessPicture::Pause); });
    connect(&writes_, &ConsoleWrites::setpointsEnabledChanged, this, &ConsoleCore::setpointsEnabledChanged);
    // A write of any window takes the line: the values are not refreshed past it.
    connect(&session_.line, &LineSession::writeStarted, this,
            [this] { turnRefreshOff(QStringLiteral("Обновление остановлено: запись в Z5")); });
    // An adapter pulled out: the status line says the line waits for it; once it
    // is back, an automatic refresh the failure stopped goes on.
    connect(&session_.line, &LineSession::adapterGone, this,
            [this](const QString &device) { setStatus(LineTexts::adapterGone(device)); });
    connect(&session_.line, &LineSession::adapterReturned, this, [this](const QString &device) {
        setStatus(LineTexts::adapterReturned(device));
        const int ms = std::exchange(resumeRefreshMs_, 0);
        if (ms <= 0 || !live_.read().isValid()) return;
        refresh_.setIntervalMs(ms);
        emit refreshChanged();
        readAgain();
    });
    connect(&writes_, &ConsoleWrites::ended, this, [this] {
        writeSucceeded_ = writes_.succeeded();
        writeFailure_ = writeSucceeded_ ? QString() : writes_.failure();
        setUsable(true);
        if (writeSucceeded_ && keepWhenWritten_) keepWhenWritten_();
        keepWhenWritten_ = nullptr;
        if (writeSucceeded_) {
            // The bar goes on counting to its end, as it always has.
            setStatus(QStringLiteral("Запись в Z5 закончена"));
            return;
        }
        // A write cut short leaves no part-filled bar behind.
        progress_.stop();
        progress_.setValue(0);
        setStatus(failureStatus(writeFailure_));
    });
}

ConsoleCore::~ConsoleCore() {
    // Nothing is told or started any more while the parts go: the request still
    // open is cancelled by the exchange, and a write waiting for it never starts.
    disconnect(this, nullptr, nullptr, nullptr);
    disconnect(&session_.line, nullptr, this, nullptr);
    if (const std::shared_ptr<LineReply> &open = exchange_.pending()) disconnect(open.get(), nullptr, this, nullptr);
    // A write still waiting for the line goes with the window that asked for it:
    // nobody would see it run. One under way keeps its pace to its end.
    if (const std::shared_ptr<WriteReply> &write = writes_.reply(); write && session_.line.isWaiting(*write))
        session_.line.cancel(*write);
}

void ConsoleCore::setStatus(const QString &text) {
    status_ = text;
    emit statusChanged(text);
}

void ConsoleCore::setUsable(bool usable) {
    usable_ = usable;
    emit usableChanged(usable);
}

ImportResult ConsoleCore::importNetlist(Numbering mode) {
    // The new project is built aside: a netlist that fails leaves the project,
    // the panel and the selection exactly as they were.
    ImportResult result = importCommand_.run(mode);
    if (!result.ok) return result;
    // What is being read belongs to the project about to be replaced: a read
    // still waiting is withdrawn, the one under way ends unheard.
    exchange_.letGo();
    session_.project = result.project;
    session_.netlistName = result.netlistName;
    session_.netlistHash = result.netlistHash;
    turnRefreshOff(QString());
    live_.clear();
    panel_.hideRows();
    emit panelChanged();
    exchange_.showPausePicture();
    setStatus(QStringLiteral("Блоков в схеме: %1").arg(result.project.blockCount()));
    return result;
}

QString ConsoleCore::refusedFieldsQuestion(const QString &fields) {
    return QStringLiteral("Не сохранены поля: %1.\nЗаписать в Z5 сохранённые значения?").arg(fields);
}

bool ConsoleCore::loadParameters(QChar decimalSeparator) {
    ParameterFileCommands files(session_.store, session_.prompts, decimalSeparator);
    if (!files.loadParameters()) return false;
    session_.keptParameters = session_.store;
    // The panel would otherwise store its old texts over the loaded values.
    panel_.reload();
    emit panelChanged();
    setStatus(QStringLiteral("Параметры загружены из %1").arg(files.path()));
    return true;
}

bool ConsoleCore::saveParameters(QChar decimalSeparator) {
    // What is being typed belongs in the file.
    panel_.finishEdits();
    emit panelChanged();
    ParameterFileCommands files(session_.store, session_.prompts, decimalSeparator);
    if (!files.saveParameters()) return false;
    session_.keptParameters = session_.store;
    setStatus(QStringLiteral("Параметры сохранены в %1").arg(files.path()));
    return true;
}

bool ConsoleCore::mayClose(QChar decimalSeparator) {
    panel_.finishEdits();
    emit panelChanged();
    if (!session_.parametersUnsaved()) return true;
    switch (session_.prompts.askAboutUnsaved(unsavedQuestion())) {
    case Prompts::Unsaved::Save: return saveParameters(decimalSeparator);
    case Prompts::Unsaved::Discard:
        // Asked once: the edits stay in the console, the question does not come back for them.
        session_.keptParameters = session_.store;
        return true;
    case Prompts::Unsaved::Cancel: break;
    }
    return false;
}

void ConsoleCore::finishField(int row) {
    panel_.finishEdit(row);
    emit panelChanged();
}

void ConsoleCore::revertField(int row) {
    panel_.revertEdit(row);
    emit panelChanged();
}

bool ConsoleCore::mayWriteStoredValues() {
    panel_.finishEdits();
    emit panelChanged();
    QStringList fields;
    for (int r : panel_.refusedRows())
        fields << QStringLiteral("«%1» (%2)").arg(panel_.row(r).caption.trimmed(), panel_.row(r).notStoredReason);
    return fields.isEmpty() || session_.prompts.confirm(refusedFieldsQuestion(fields.join(QStringLiteral(", "))));
}

void ConsoleCore::pickForParameters(int column, int type) {
    // A field still being typed is finished before its panel goes.
    panel_.finishEdits();
    // The values of the block read last are not drawn over the panel laid out now.
    exchange_.letGo();
    state_.selectedColumn = static_cast<std::uint8_t>(column);
    state_.selectedType = static_cast<std::uint8_t>(type);
    // A right click ends the live view: the refresh goes off.
    turnRefreshOff(QString());
    panel_.layOutForSelectedBlock();
    emit panelChanged();
}

LiveView::Shows ConsoleCore::pickForRead(int column, int type) {
    panel_.finishEdits();
    // The values of the block read before are not drawn for this one.
    exchange_.letGo();
    state_.selectedColumn = static_cast<std::uint8_t>(column);
    state_.selectedType = static_cast<std::uint8_t>(type);
    // A left click only pauses the refresh.
    refresh_.stop();
    panel_.hideRows();
    const LiveView::Shows shows = live_.beginRead(column, type);
    refresh_.forget();
    if (type == BlockType::GRA) {
        emit panelChanged();
        return shows;
    }
    writes_.disableSetpoints();
    if (type == BlockType::S_P) {
        writes_.enableSetpoints(column);
        panel_.layOutForSelectedBlock();
    }
    emit panelChanged();
    return shows;
}

bool ConsoleCore::readPicked() {
    // The window stays usable: what the user does meanwhile waits its turn in the line's queue.
    setStatus(QStringLiteral("Запрос блока U%1…").arg(state_.selectedColumn + 1));
    if (exchange_.startBlockRead()) return true;
    // The line owner has told the user why ("Нет сети!!!" and the port's reason).
    progress_.stop();
    // The cursor stays where it was.
    setStatus(QStringLiteral("Нет сети"));
    return false;
}

void ConsoleCore::readAgain() {
    // Only while the block is still the one shown and the console awaits nothing else.
    const LiveView::Read &read = live_.read();
    if (!read.isValid() || exchange_.running() != ConsoleExchange::Request::None || writes_.isRunning()) return;
    state_.selectedColumn = static_cast<std::uint8_t>(read.column);
    state_.selectedType = static_cast<std::uint8_t>(read.type);
    // The window stays usable: what the user does meanwhile goes into the line's queue.
    if (exchange_.startBlockRead()) return;
    // The line owner has told the user why ("Нет сети!!!" and the port's reason).
    progress_.stop();
    turnRefreshOff(QString());
    setStatus(QStringLiteral("Нет сети"));
}

void ConsoleCore::setRefreshInterval(int ms) {
    resumeRefreshMs_ = 0;
    refresh_.setIntervalMs(ms);
    emit refreshChanged();
}

void ConsoleCore::setpointsEdited() {
    // An edit must not be overwritten by the next read, nor by the reply of one under way.
    turnRefreshOff(QStringLiteral("Обновление остановлено: значение изменено"));
    live_.keepShownSetpoints();
}

void ConsoleCore::turnRefreshOff(const QString &reason) {
    resumeRefreshMs_ = 0;
    const bool wasOn = refresh_.isOn();
    refresh_.setIntervalMs(0);
    // The age of values no longer refreshed is not shown.
    emit refreshChanged();
    if (wasOn && !reason.isEmpty()) setStatus(reason);
}

void ConsoleCore::onBlockReply(const QByteArray &reply) {
    const LiveView::Shows shows = live_.showReply(reply);
    if (shows == LiveView::Shows::Setpoints) emit panelChanged();
    emit drawn(shows);
    emit refreshChanged();
}

void ConsoleCore::onEnded(ConsoleExchange::Request request, LineOutcome outcome) {
    using Q = ConsoleExchange::Request;
    QString text;
    switch (outcome) {
    case LineOutcome::Reply:
        text = request == Q::ProcessCommand ? QStringLiteral("Ответ Z5 получен")
                                            : QStringLiteral("Ответ блока U%1 получен").arg(state_.selectedColumn + 1);
        // The next automatic read, if the user asked for them.
        if (request == Q::BlockRead || request == Q::PanelKey) {
            refresh_.valuesShown();
            emit refreshChanged();
        }
        break;
    case LineOutcome::WrongCheckValue: text = QStringLiteral("Ответ отброшен: неверная контрольная сумма"); break;
    case LineOutcome::NoReply: text = QStringLiteral("Нет ответа от Z5"); break;
    case LineOutcome::NoNetwork:
    case LineOutcome::NotDrained: text = QStringLiteral("Нет сети"); break;
    case LineOutcome::Cancelled: break;
    }
    if (outcome != LineOutcome::Reply) {
        const int refreshMs = refresh_.intervalMs();
        turnRefreshOff(QString());   // the status line says why
        // Taken up again if this was the adapter going away and it comes back.
        if (outcome == LineOutcome::NoNetwork) resumeRefreshMs_ = refreshMs;
    }
    // A write asked for meanwhile waits behind this read: the bar and the status
    // line are the write's from when it was asked for.
    if (writes_.isRunning()) return;
    // The bar describes the exchange that just ended.
    progress_.stop();
    progress_.setValue(0);
    setStatus(text);
}

void ConsoleCore::panelClicked(double x, double y) {
    // The key under the click itself: between the keys nothing is sent.
    if (const auto key = live_.keyForClick(x, y)) sendPanelKey(*key);
}

void ConsoleCore::switchClicked(int switchIndex) {
    if (const auto key = live_.keyForSwitch(switchIndex)) sendPanelKey(*key);
}

void ConsoleCore::sendPanelKey(int key) {
    refresh_.stop();
    live_.keySent();
    emit drawn(LiveView::Shows::Panel);
    if (!exchange_.startPanelKey(live_.read().column, key)) return;   // ends without a message
    setStatus(QStringLiteral("Клавиша %1 панели U%2 отправлена").arg(key).arg(live_.read().column + 1));
}

void ConsoleCore::processCommand(z5::Request::CommandCode code) {
    writes_.disableSetpoints();
    if (code != z5::Request::StoreSchema) {
        panel_.hideRows();
        emit panelChanged();
    }
    turnRefreshOff(QString());
    if (!exchange_.startProcessCommand(code)) {
        // Whatever the line said before no longer holds.
        setStatus(QStringLiteral("Нет сети"));
        return;
    }
    setStatus(QStringLiteral("Команда Z5 отправлена"));
}

void ConsoleCore::downloadSchema() {
    // A write asked for during the console's own read waits its turn in the line's queue.
    download();
}

void ConsoleCore::download() {
    // Asked twice while a read was under way: the first one runs.
    if (writes_.isRunning()) return;
    turnRefreshOff(QString());
    // An empty configuration would wipe the program a working controller runs.
    if (session_.project.isEmpty() && !session_.prompts.confirm(emptyDownloadQuestion())) return;
    // Only stored values go out; a field the user sees in red is asked about first.
    if (!mayWriteStoredValues()) return;
    // With a record: the fields that change are listed and asked about.
    if (!RecordComparison::mayWrite(session_.prompts, record_.differences())) return;
    writeSucceeded_ = true;
    writeFailure_.clear();
    if (!writes_.startDownload()) {
        // Refused before anything was sent: the box says why, the status line does too.
        if (!writes_.refusal().ok()) {
            session_.prompts.message(writes_.refusal().problem, writes_.refusal().caption, Prompts::Kind::Error);
        } else {
            writeSucceeded_ = false;
            writeFailure_ = writes_.failure();
        }
        setStatus(writeSucceeded_ ? QString() : failureStatus(writeFailure_));
        return;
    }
    if (writes_.isRunning()) {
        keepWhenWritten_ = [this, sent = session_.store] { session_.keptParameters = sent; };
        setUsable(false);
        setStatus(QStringLiteral("Запись схемы в Z5…"));
    }
}

void ConsoleCore::writeSetpoints() {
    if (!writes_.setpointsEnabled()) return;
    writeShownSetpoints();
}

void ConsoleCore::writeShownSetpoints() {
    if (!writes_.setpointsEnabled() || writes_.isRunning()) return;
    turnRefreshOff(QString());
    const int column = writes_.setpointBlock();
    // What goes out is what the fields show, and the store keeps it too. A field
    // whose text cannot be stored is asked about: the store's value goes out for it.
    panel_.finishEdits();
    live_.checkShownSetpoints(column);
    if (!mayWriteStoredValues()) return;
    panel_.storeShown(live_.storableSetpointRows(column));
    emit panelChanged();
    std::vector<FieldDifference> changes;
    for (const FieldDifference &d : record_.differences())
        if (d.column == column && d.place && d.place->table == StoreTable::Numbers) changes.push_back(d);
    if (!RecordComparison::mayWrite(session_.prompts, changes)) return;
    if (!writes_.writeSetpoints()) {
        if (!writes_.refusal().ok()) session_.prompts.message(writes_.refusal().problem, writes_.refusal().caption);
        return;
    }
    if (writes_.isRunning()) {
        // These eight values are now in the controller as the store holds them.
        std::vector<std::pair<StorePlace, float>> written;
        const int slot = session_.project.instance(column) - 1;
        for (int k = 0; k < LiveView::kSetpoints; ++k)
            if (const auto place =
                    ParameterCatalogue::standard().fieldAddress(BlockType::S_P, slot, LiveView::setpointRow(k), Selectors{}))
                written.emplace_back(*place, session_.store.number(*place));
        keepWhenWritten_ = [this, written] {
            for (const auto &[place, value] : written) session_.keptParameters.setNumber(place, value);
        };
        setUsable(false);
        setStatus(QStringLiteral("Запись задатчиков в Z5…"));
    }
}

void ConsoleCore::close() {
    turnRefreshOff(QString());
    exchange_.cancel();
}

} // namespace z5
