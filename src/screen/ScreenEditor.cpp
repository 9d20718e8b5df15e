#include "screen/ScreenEditor.h"
#include <algorithm>
#include "screen/BackgroundCommand.h"
#include "screen/DigitsCommand.h"
#include "screen/ElementBounds.h"
#include "screen/ElementChangeCommand.h"
#include "screen/MoveElementCommand.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenPalette.h"

namespace z5 {
namespace {

constexpr int kPixel = ScreenGeometry::kTwipsPerPixel;

// A position past a range's edge goes to the last whole pixel step before that
// edge, keeping its place on the pixel grid; inside the range it stays.
int toEdge(int v, ElementBounds::Range range) {
    auto mod = [](int a) { return ((a % kPixel) + kPixel) % kPixel; };
    if (v > range.max) return range.max - mod(range.max - v);
    if (v < range.min) return range.min + mod(v - range.min);
    return v;
}

const ElementControl kAtCorner{ScreenGeometry::kOriginLeft, ScreenGeometry::kOriginTop, true};

int paletteIndex(int colour) { return ScreenPalette::isIndex(colour) ? colour : 0; }
bool validSlot(int k) { return k >= 0 && k < 16; }
} // namespace

ScreenEditor::ScreenEditor(ScreenModel &model, QObject *parent) : QObject(parent), model_(model) {
    connect(&stack_, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
    // An undo or redo in mid-drag leaves the dragged element where history puts it.
    connect(&stack_, &QUndoStack::indexChanged, this, [this] { drag_ = Drag{}; });
}

ScreenEditor::SlotState ScreenEditor::slotState(int k) const {
    SlotState state;
    if (const ScadaParameter *p = model_.parameter(k)) state.parameter = *p;
    if (const ScadaAlarm *s = model_.alarm(k)) state.alarm = *s;
    state.alarmText = model_.alarmText(k);
    return state;
}

void ScreenEditor::restoreSlot(int k, const SlotState &state) {
    ScadaParameter *p = model_.parameter(k);
    ScadaAlarm *s = model_.alarm(k);
    if (!p || !s) return;
    *p = state.parameter;
    *s = state.alarm;
    model_.setAlarmText(k, state.alarmText);
    model_.notifyChanged();
}

void ScreenEditor::pushSlotChange(int k, const SlotState &before, const QString &text) {
    const SlotState after = slotState(k);
    if (after == before) return;
    stack_.push(new ElementChangeCommand(*this, k, before, after, text));
}

int ScreenEditor::addParameter() {
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        ScadaParameter &p = *model_.parameter(k);
        if (p.used) continue;
        const SlotState before = slotState(k);
        // A reused slot starts clean: nothing of a deleted element goes on.
        p = ScadaParameter{};
        p.used = true;
        p.numberBox = kAtCorner;
        pushSlotChange(k, before, QStringLiteral("Новый параметр"));
        return k;
    }
    return -1;
}

int ScreenEditor::addAlarm() {
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        ScadaAlarm &s = *model_.alarm(k);
        if (s.used) continue;
        const SlotState before = slotState(k);
        s = ScadaAlarm{};
        s.used = true;
        s.marker = kAtCorner;
        pushSlotChange(k, before, QStringLiteral("Новая сигнализация"));
        return k;
    }
    return -1;
}

ControlKind ScreenEditor::controlKind(ScreenElement element) const {
    if (element.isParameter()) {
        ParameterForm kindOnly;
        if (const ScadaParameter *p = model_.parameter(element.slot)) kindOnly.kind = p->kind();
        return kindOnly.controlKind();
    }
    const ScadaAlarm *s = model_.alarm(element.slot);
    return s && s->isText ? ControlKind::AlarmText : ControlKind::AlarmMarker;
}

const ElementControl *ScreenEditor::control(ScreenElement element) const {
    if (element.isParameter()) {
        const ScadaParameter *p = model_.parameter(element.slot);
        return p ? p->control(p->kind()) : nullptr;
    }
    const ScadaAlarm *s = model_.alarm(element.slot);
    return s ? &s->shownControl() : nullptr;
}

ElementControl *ScreenEditor::mutableControl(ScreenElement element) {
    return const_cast<ElementControl *>(control(element));
}

bool ScreenEditor::isShown(ScreenElement element) const {
    const ElementControl *c = control(element);
    return c && c->visible;
}

ScreenEditor::Position ScreenEditor::position(ScreenElement element) const {
    const ElementControl *c = control(element);
    return c ? Position{c->left, c->top} : Position{};
}

void ScreenEditor::placeAt(ScreenElement element, Position position) {
    ElementControl *c = mutableControl(element);
    if (!c) return;
    c->left = position.left;
    c->top = position.top;
    model_.notifyChanged();
}

bool ScreenEditor::moveWithin(ScreenElement element, int left, int top) {
    ElementControl *c = mutableControl(element);
    if (!c) return false;
    const ControlKind kind = controlKind(element);
    const Position before{c->left, c->top};
    // An alarm text takes a cell per character, as a number takes one per digit:
    // it stops where its last character is still on the screen.
    int cells = model_.digits();
    if (kind == ControlKind::AlarmText) cells = std::max(cells, int(model_.alarmText(element.slot).size()));
    // A pointer that runs past an edge in one move takes the control to that
    // edge, not leave it where the move before put it.
    c->left = toEdge(left, ElementBounds::left(kind, cells));
    c->top = toEdge(top, ElementBounds::top(kind));
    if (Position{c->left, c->top} == before) return false;
    model_.notifyChanged();
    return true;
}

void ScreenEditor::pushMove(ScreenElement element, Position from, Position to, const QString &text) {
    if (from == to) return;
    stack_.push(new MoveElementCommand(*this, element, from, to, text));
}

bool ScreenEditor::beginDrag(ScreenElement element, int grabLeft, int grabTop) {
    if (!isShown(element)) return false;
    drag_ = {element, ElementBounds::snap(grabLeft), ElementBounds::snap(grabTop), position(element)};
    return true;
}

bool ScreenEditor::dragTo(int pointerLeft, int pointerTop) {
    if (!dragging()) return false;
    const Position now = position(drag_.element);
    return moveWithin(drag_.element, now.left - drag_.grabLeft + ElementBounds::snap(pointerLeft),
                      now.top - drag_.grabTop + ElementBounds::snap(pointerTop));
}

void ScreenEditor::endDrag() {
    if (!dragging()) return;
    const Drag done = drag_;
    drag_ = Drag{};
    pushMove(done.element, done.start, position(done.element), QStringLiteral("Перемещение"));
}

bool ScreenEditor::nudge(ScreenElement element, int dx, int dy) {
    if (!isShown(element) || dragging()) return false;
    const Position from = position(element);
    if (!moveWithin(element, from.left + kPixel * dx, from.top + kPixel * dy)) return false;
    pushMove(element, from, position(element), QStringLiteral("Сдвиг"));
    return true;
}

AlarmForm ScreenEditor::alarmForm(int k) const {
    AlarmForm form;
    const ScadaAlarm *s = model_.alarm(k);
    if (!s) return form;
    const ElementControl &c = s->shownControl();
    form.x = QString::number(ElementBounds::dialogX(c.left));
    form.y = QString::number(ElementBounds::dialogY(c.top));
    form.text = model_.alarmText(k);
    form.textColour = model_.alarmColor(k);
    form.backColour = model_.alarmColor(k + ScreenModel::kSlots);
    form.isText = s->isText;
    form.alarm = s->alarm;
    return form;
}

ParameterForm ScreenEditor::parameterForm(int k) const {
    ParameterForm form;
    const ScadaParameter *p = model_.parameter(k);
    if (!p) return form;
    const ElementControl &c = *p->control(p->kind());
    form.x = QString::number(ElementBounds::dialogX(c.left));
    form.y = QString::number(ElementBounds::dialogY(c.top));
    form.textColour = model_.parameterColor(k);
    form.backColour = model_.parameterColor(k + ScreenModel::kSlots);
    form.kind = p->kind();
    return form;
}

namespace {
// The position "Ok" gives the control: the typed X and Y, kept where the element stays visible.
FormFault placeFromForm(const QString &xText, const QString &yText, ControlKind kind, int digits,
                        ElementControl *place) {
    int x = 0, y = 0;
    if (!ElementBounds::parse(xText, &x)) return FormFault::BadX;
    if (!ElementBounds::parse(yText, &y)) return FormFault::BadY;
    x = ElementBounds::dialogXRange(kind, digits).clamp(x);
    y = ElementBounds::dialogYRange(kind).clamp(y);
    *place = {ElementBounds::leftOfDialogX(x), ElementBounds::topOfDialogY(y), true};
    return FormFault::None;
}
} // namespace

FormFault ScreenEditor::applyAlarm(int k, const AlarmForm &form) {
    // Only an element on the screen has a dialog; a free slot is taken with "&Сигнализация".
    if (!validSlot(k) || !model_.alarm(k)->used) return FormFault::NoSlot;
    ElementControl place;
    const int cells = form.isText ? std::max(model_.digits(), int(form.text.size())) : model_.digits();
    const FormFault fault = placeFromForm(form.x, form.y, form.controlKind(), cells, &place);
    if (fault != FormFault::None) return fault;
    // The controller's alarm text table holds 10 characters a line; a line break
    // would also break the screen file.
    if (form.text.size() > AlarmForm::kMaxText || form.text.contains(QLatin1Char('\n')) ||
        form.text.contains(QLatin1Char('\r')))
        return FormFault::BadText;

    const SlotState before = slotState(k);
    ScadaAlarm &s = *model_.alarm(k);
    s.isText = form.isText;
    s.alarm = form.alarm;
    s.textColor = paletteIndex(form.textColour);
    s.backColor = paletteIndex(form.backColour);
    s.textBox.visible = s.marker.visible = false;
    s.shownControl() = place;
    model_.setAlarmText(k, form.text);
    pushSlotChange(k, before, QStringLiteral("Сигнализация %1").arg(k + 1));
    return FormFault::None;
}

FormFault ScreenEditor::applyParameter(int k, const ParameterForm &form) {
    if (!validSlot(k) || !model_.parameter(k)->used) return FormFault::NoSlot;
    ElementControl place;
    const FormFault fault = placeFromForm(form.x, form.y, form.controlKind(), model_.digits(), &place);
    if (fault != FormFault::None) return fault;

    const SlotState before = slotState(k);
    ScadaParameter &p = *model_.parameter(k);
    p.type = form.kind >= 0 && form.kind < ScadaParameter::kKinds ? form.kind : ScadaParameter::Number;
    p.textColor = paletteIndex(form.textColour);
    p.backColor = paletteIndex(form.backColour);
    for (int kind = 0; kind < ScadaParameter::kKinds; ++kind) p.control(kind)->visible = false;
    *p.control(p.type) = place;
    pushSlotChange(k, before, QStringLiteral("Параметр %1").arg(k + 1));
    return FormFault::None;
}

bool ScreenEditor::deleteAlarm(int k) {
    ScadaAlarm *s = model_.alarm(k);
    if (!s || !s->used) return false;
    const SlotState before = slotState(k);
    const ElementControl marker = s->marker, textBox = s->textBox;
    // Freed as a new slot would be, the controls where they were but hidden.
    *s = ScadaAlarm{};
    s->marker = {marker.left, marker.top, false};
    s->textBox = {textBox.left, textBox.top, false};
    pushSlotChange(k, before, QStringLiteral("Удаление сигнализации %1").arg(k + 1));
    return true;
}

bool ScreenEditor::deleteParameter(int k) {
    ScadaParameter *p = model_.parameter(k);
    if (!p || !p->used) return false;
    const SlotState before = slotState(k);
    const ScadaParameter old = *p;
    *p = ScadaParameter{};
    for (int kind = 0; kind < ScadaParameter::kKinds; ++kind)
        *p->control(kind) = {old.control(kind)->left, old.control(kind)->top, false};
    pushSlotChange(k, before, QStringLiteral("Удаление параметра %1").arg(k + 1));
    return true;
}

void ScreenEditor::setBackground(const QString &path, const QImage &picture) {
    stack_.push(new BackgroundCommand(*this, {model_.backgroundPath(), background_}, {path, picture}));
}

void ScreenEditor::replaceBackground(const QImage &picture) {
    background_ = picture;
    emit backgroundChanged();
}

void ScreenEditor::showBackground(const QString &path, const QImage &picture) {
    model_.setBackgroundPath(path);
    replaceBackground(picture);
    model_.notifyChanged();
}

void ScreenEditor::stepDigits() {
    const int from = model_.digits();
    const int to = from >= ScreenModel::kMaxDigits ? ScreenModel::kMinDigits : from + 1;
    stack_.push(new DigitsCommand(*this, from, to));
}

void ScreenEditor::showDigits(int digits) { model_.setDigits(digits); }

void ScreenEditor::resetHistory() {
    drag_ = Drag{};
    stack_.clear();
    stack_.setClean();
}

void ScreenEditor::markSaved() { stack_.setClean(); }

} // namespace z5
