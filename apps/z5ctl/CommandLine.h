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
    // Set when an option lacked its value or was given twice.
    QString error() const { return error_; }
    // "--a does not apply WHEN" for the first of `names` that was given, else empty.
    QString notApplying(const QStringList &names, const QString &when) const;
    // "unexpected 'X'" when there are more positionals than `allowed`, else empty.
    QString surplus(int allowed) const;

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
QString blockRangeProblem();

// --port: empty when it is given and names something, else what is wrong.
QString portProblem(const Arguments &a);

struct Verb {
    QString name;
    // Each form of the command line, without the leading "z5ctl ".
    QStringList forms;
    // What the placeholders and choices mean; may be empty.
    QString notes;
    // A typical command line, without the leading "z5ctl ".
    QString example;
    std::function<int(const QStringList &args)> run;
};

// The first option in `args` that the verb's forms do not name, or empty.
QString unknownOption(const QStringList &args, const QStringList &forms);

// Verbs register themselves from static objects in their own files.
std::vector<Verb> &verbs();
const Verb *findVerb(const QString &name);
struct VerbRegistrar {
    explicit VerbRegistrar(Verb verb);
};

// The help of one verb: its forms, notes and example.
QStringList verbHelp(const Verb &verb);

// A command line that is wrong: "z5ctl VERB: why" and the verb's usage on
// standard error; returns the usage status (64).
int usageError(const QString &verb, const QString &why);

// Output helpers: UTF-8 text to standard output / standard error, a line at a
// time. Control characters are shown escaped on standard error, where messages
// echo what the user or a file gave.
void out(const QString &line);
void err(const QString &line);
// Standard output could not take a line (a pipe whose reader is gone).
bool outputFailed();

} // namespace z5ctl
