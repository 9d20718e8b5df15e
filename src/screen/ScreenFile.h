#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

class ScreenModel;

// What went wrong while reading a screen file: the line (1-based, 0 when the file
// as a whole failed) and the text to show.
struct ScreenFileError {
    int line = 0;
    QString message;
    bool isError() const { return !message.isEmpty(); }
};

// Screen files (.scd): 242 lines of Windows-1251 text ended by CR LF, one value a
// line: the background path, the 64 element words, the colours and texts, the slot
// flags and the digit count.
class ScreenFile {
public:
    static constexpr int kLines = 242;
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    // The file's bytes; empty with a reason in error when a text holds a line break
    // (it would shift every later line).
    static QByteArray write(const ScreenModel &model, QString *error = nullptr);
    // Reads and checks the whole text first; on a fault the model is left unchanged.
    // On success every field the file holds is replaced and the element controls are
    // restored from the element words.
    static ScreenFileError read(const QByteArray &bytes, ScreenModel &model);

    static ScreenFileError load(const QString &path, ScreenModel &model);
    // Atomic: on failure (returned as a reason) the old file is as it was.
    static bool save(const QString &path, const ScreenModel &model, QString *error = nullptr);

    // The message the designer shows when a screen file cannot be written.
    static QString saveFailedMessage();
};

} // namespace z5
