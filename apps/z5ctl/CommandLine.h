#pragma once
#include <QStringList>
#include <QMap>
#include <functional>
#include <optional>
#include <vector>

namespace z5ctl {

// Arguments of one verb: options ("--name value" or "--flag") and positionals.
class Arguments {
public:
    // flags: option names that take no value (without the leading dashes).
    Arguments(const QStringList &args, const QStringList &flags);
    bool has(const QString &name) const { return options_.contains(name); }
    QString value(const QString &name, const QString &fallback = QString()) const {
        return options_.value(name, fallback);
    }
    const QStringList &positionals() const { return positionals_; }
    // Set when an option lacked its value or was unknown to the verb.
    QString error() const { return error_; }

private:
    QMap<QString, QString> options_;
    QStringList positionals_;
    QString error_;
};

// The decimal separator for parameter files: --decimal "." or ",", else the user's
// locale's. Empty when --decimal names anything else.
std::optional<QChar> decimalSeparator(const Arguments &a);
QString decimalSeparatorProblem();

// A block designator "U7", "u07" or "7" (U1..U99): the block's column, or -1.
int blockColumn(const QString &text);

struct Verb {
    QString name;
    QString usage;
    std::function<int(const QStringList &args)> run;
};

// The first option in `args` that the verb's usage line does not name, or empty.
QString unknownOption(const QStringList &args, const QString &usage);

// Verbs register themselves from static objects in their own files.
std::vector<Verb> &verbs();
struct VerbRegistrar {
    VerbRegistrar(const QString &name, const QString &usage, std::function<int(const QStringList &)> run);
};

// Output helpers: UTF-8 text to standard output / standard error.
void out(const QString &line);
void err(const QString &line);

} // namespace z5ctl
