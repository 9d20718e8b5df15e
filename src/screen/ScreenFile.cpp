#include "screen/ScreenFile.h"
#include "model/Cp1251.h"
#include "model/AtomicFileSave.h"
#include "model/PrintableText.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenPalette.h"
#include <QFile>
#include <QVector>
#include <limits>

namespace z5 {
namespace {

// A number as a numeric print writes it: a blank before a non-negative value, one after.
QString printed(qint64 value) {
    return (value >= 0 ? QStringLiteral(" ") : QString()) + QString::number(value) + QLatin1Char(' ');
}

QString printed(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

// Lines end with CR LF; a lone CR or LF is taken as an end too.
QVector<QByteArray> splitLines(const QByteArray &bytes) {
    QVector<QByteArray> lines;
    int start = 0;
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.push_back(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.mid(start));
    return lines;
}

// Reads the lines in order, converting each; the first fault is kept and later reads
// return harmless values.
class LineReader {
public:
    explicit LineReader(const QByteArray &bytes) : lines_(splitLines(bytes)) {}

    ScreenFileError error() const { return error_; }

    QString text() {
        const QByteArray *raw = next();
        return raw ? cp1251::decode(*raw) : QString();
    }

    qint64 integer(qint64 min, qint64 max) {
        const QByteArray *raw = next();
        if (!raw) return min;
        const QString shown = cp1251::decode(*raw);
        const QString t = shown.trimmed();
        bool ok = !t.isEmpty();
        for (int i = 0; ok && i < t.size(); ++i) {
            const QChar c = t[i];
            const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
            const bool sign = i == 0 && t.size() > 1 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
            ok = digit || sign;
        }
        const qint64 value = ok ? t.toLongLong(&ok) : 0;
        if (!ok) {
            fail(QStringLiteral("«%1» не целое число").arg(printableLine(shown)));
            return min;
        }
        if (value < min || value > max) {
            fail(QStringLiteral("число %1 вне пределов %2..%3").arg(value).arg(min).arg(max));
            return min;
        }
        return value;
    }

    bool boolean() {
        const QByteArray *raw = next();
        if (!raw) return false;
        const QString shown = cp1251::decode(*raw);
        const QString t = shown.trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
        bool ok = false;
        const qint64 value = t.toLongLong(&ok);
        if (!ok) fail(QStringLiteral("«%1» не True и не False").arg(printableLine(shown)));
        return ok && value != 0;
    }

private:
    const QByteArray *next() {
        if (error_.isError()) return nullptr;
        ++line_;
        if (line_ > lines_.size()) {
            fail(QStringLiteral("файл кончился раньше времени"));
            return nullptr;
        }
        return &lines_[line_ - 1];
    }

    void fail(const QString &why) {
        if (error_.isError()) return;
        error_.line = line_;
        error_.message = QStringLiteral("Строка %1: %2").arg(line_).arg(why);
    }

    QVector<QByteArray> lines_;
    int line_ = 0;
    ScreenFileError error_;
};

} // namespace

QString ScreenFile::saveFailedMessage() { return QStringLiteral("Файл заблокирован!!!"); }

QByteArray ScreenFile::write(const ScreenModel &model, QString *error) {
    QByteArray out;
    bool broken = false;
    auto line = [&](const QString &value) {
        if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'))) {
            if (!broken && error) *error = QStringLiteral("Текст «%1» содержит перевод строки").arg(printableLine(value.simplified()));
            broken = true;
        }
        out += cp1251::encode(value);
        out += "\r\n";
    };

    line(model.backgroundPath());
    for (int m = 0; m < ScreenModel::kCoordWords; ++m) line(printed(qint64(model.coord(m))));
    for (int k = 0; k < ScreenModel::kColourEntries; ++k) {
        line(printed(qint64(model.alarmColor(k))));
        line(printed(qint64(model.parameterColor(k))));
        line(model.alarmText(k));
    }
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        const ScadaParameter &p = *model.parameter(k);
        const ScadaAlarm &s = *model.alarm(k);
        line(printed(qint64(p.kind())));
        line(printed(p.used));
        line(printed(s.used));
        line(printed(s.alarm));
        line(printed(s.isText));
    }
    line(printed(qint64(model.digits())));
    return broken ? QByteArray() : out;
}

ScreenFileError ScreenFile::read(const QByteArray &bytes, ScreenModel &model) {
    constexpr qint64 kInt32Min = std::numeric_limits<std::int32_t>::min();
    constexpr qint64 kInt32Max = std::numeric_limits<std::int32_t>::max();
    constexpr int kLastColour = ScreenPalette::kColours - 1;

    LineReader in(bytes);
    ScreenModel next = model;
    next.setBackgroundPath(in.text());
    for (int m = 0; m < ScreenModel::kCoordWords; ++m)
        next.setCoord(m, static_cast<std::int32_t>(in.integer(kInt32Min, kInt32Max)));
    for (int k = 0; k < ScreenModel::kColourEntries; ++k) {
        next.setAlarmColor(k, int(in.integer(0, kLastColour)));
        next.setParameterColor(k, int(in.integer(0, kLastColour)));
        next.setAlarmText(k, in.text());
    }
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        ScadaParameter &p = *next.parameter(k);
        ScadaAlarm &s = *next.alarm(k);
        p.type = int(in.integer(0, ScadaParameter::kKinds - 1));
        p.used = in.boolean();
        s.used = in.boolean();
        s.alarm = in.boolean();
        s.isText = in.boolean();
    }
    next.setDigits(int(in.integer(ScreenModel::kMinDigits, ScreenModel::kMaxDigits)));
    if (in.error().isError()) return in.error();

    // The saved words carry the attribute bits of the state saved with them.
    for (int m = 0; m < ScreenModel::kCoordWords; ++m) next.setCoord(m, next.coord(m), next.attributeBits(m));
    next.restoreControlsFromCoords();
    model = next;
    return {};
}

ScreenFileError ScreenFile::load(const QString &path, ScreenModel &model) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {0, QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file.errorString())};
    if (file.size() > kMaxFileBytes)
        return {0, QStringLiteral("Файл %1 слишком велик для файла SCADA").arg(path)};
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {0, QStringLiteral("Не удалось прочитать файл %1: %2").arg(path, file.errorString())};
    if (bytes.size() > kMaxFileBytes)
        return {0, QStringLiteral("Файл %1 слишком велик для файла SCADA").arg(path)};
    return read(bytes, model);
}

bool ScreenFile::save(const QString &path, const ScreenModel &model, QString *error) {
    const QByteArray bytes = write(model, error);
    if (bytes.isEmpty()) return false;
    return AtomicFileSave::save(path, bytes, error);
}

} // namespace z5
