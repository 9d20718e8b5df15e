#pragma once
#include <QChar>
#include <QString>

namespace z5 {

class ParameterStore;
class Prompts;

// The console's "&Сохранить параметры" and "&Загрузить параметры": copy the whole
// parameter store to and from a parameter file. The decimal separator is the
// user's, passed in by the caller (QLocale().decimalPoint()).
class ParameterFileCommands {
public:
    ParameterFileCommands(ParameterStore &store, Prompts &prompts, QChar decimalSeparator);

    static QString fileFilter();      // "parametr file (*.par)"
    static QString lockedMessage();   // "Файл заблокирован!!!"
    static QString loadCaption();     // caption of the load failure messages

    // `mnuSAVEparametr`: asks for a path (cancel does nothing) and saves.
    bool saveParameters();
    // `mnuLOADparametr`: asks for a path (cancel does nothing) and loads.
    bool loadParameters();

    // Writes the file atomically; on any failure shows "Файл заблокирован!!!" and
    // leaves an existing file as it was.
    bool saveTo(const QString &path);
    // Reads and checks the whole file, then replaces the stored values; on any
    // failure shows a message naming the line and changes nothing.
    bool loadFrom(const QString &path);
    // The file the last command saved or loaded.
    const QString &path() const { return path_; }

private:
    ParameterStore &store_;
    Prompts &prompts_;
    QChar decimalSeparator_;
    QString path_;
};

} // namespace z5
