#include "CommandLine.h"
#include "ExitCodes.h"
#include "model/PrintableText.h"
#include <QLocale>
#include <QRegularExpression>
#include <cstdio>

namespace z5ctl {

namespace {
bool g_outputFailed = false;
}

Arguments::Arguments(const QStringList &args, const QStringList &flags) {
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a.startsWith(QLatin1String("--"))) {
            const QString name = a.mid(2);
            if (options_.contains(name)) {
                if (error_.isEmpty()) error_ = QStringLiteral("%1 is given twice").arg(a);
                if (!flags.contains(name)) ++i;
                continue;
            }
            if (flags.contains(name)) {
                options_.insert(name, QStringLiteral("1"));
            } else if (i + 1 < args.size()) {
                options_.insert(name, args[++i]);
            } else if (error_.isEmpty()) {
                error_ = QStringLiteral("option %1 needs a value").arg(a);
            }
        } else {
            positionals_ << a;
        }
    }
}

QString Arguments::notApplying(const QStringList &names, const QString &when) const {
    for (const QString &name : names)
        if (has(name)) return QStringLiteral("--%1 does not apply %2").arg(name, when);
    return QString();
}

QString Arguments::surplus(int allowed) const {
    if (positionals_.size() <= allowed) return QString();
    return QStringLiteral("unexpected '%1'").arg(positionals_.at(allowed));
}

std::optional<QChar> decimalSeparator(const Arguments &a) {
    if (a.has(QStringLiteral("decimal"))) {
        const QString given = a.value(QStringLiteral("decimal"));
        if (given == QLatin1String(".") || given == QLatin1String(",")) return given.at(0);
        return std::nullopt;
    }
    // A locale whose separator is neither (or longer than one character) reads with a point.
    const QString local = QLocale::system().decimalPoint();
    return local == QLatin1String(",") ? QChar(QLatin1Char(',')) : QChar(QLatin1Char('.'));
}

QString decimalSeparatorProblem() { return QStringLiteral("--decimal is \".\" or \",\""); }

int blockColumn(const QString &text) {
    static const QRegularExpression form(QStringLiteral("^[Uu]?([0-9]{1,2})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) return -1;
    const int number = m.captured(1).toInt();
    return number >= 1 && number <= 99 ? number - 1 : -1;
}

QString blockRangeProblem() { return QStringLiteral("--block is a designator U1..U99 (U5, U05 or 5)"); }

QString portProblem(const Arguments &a) {
    if (!a.has(QStringLiteral("port"))) return QStringLiteral("--port is required");
    if (a.value(QStringLiteral("port")).trimmed().isEmpty())
        return QStringLiteral("--port is empty: name COM1..COM16 or a device path");
    return QString();
}

const char *exitCodeTable() {
    return "exit status:\n"
           "  0   done\n"
           "  1   bad input or value: a file that cannot be read, a parameter that does not fit\n"
           "  2   port: it did not open or failed on the way\n"
           "  3   no end: no valid reply came, or a write did not end\n"
           "  64  usage: an unknown option, a missing argument or one outside its choices\n"
           "  129, 130, 143  stopped by SIGHUP, SIGINT or SIGTERM (watch: as it would have ended);\n"
           "      every row and the trace are written first\n"
           "  141 standard output's reader went away (| head); the trace is written first";
}

QString unknownOption(const QStringList &args, const QStringList &forms) {
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    QStringList known;
    for (const QString &form : forms)
        for (auto it = option.globalMatch(form); it.hasNext();) known << it.next().captured(0);
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--")) && !known.contains(a)) return a;
    return QString();
}

std::vector<Verb> &verbs() {
    static std::vector<Verb> all;
    return all;
}

const Verb *findVerb(const QString &name) {
    for (const Verb &v : verbs())
        if (v.name == name) return &v;
    return nullptr;
}

VerbRegistrar::VerbRegistrar(Verb verb) { verbs().push_back(std::move(verb)); }

QStringList verbHelp(const Verb &verb) {
    QStringList lines;
    for (int i = 0; i < verb.forms.size(); ++i)
        lines << (i == 0 ? QStringLiteral("usage: z5ctl ") : QStringLiteral("       z5ctl ")) + verb.forms.at(i);
    if (!verb.notes.isEmpty())
        for (const QString &line : verb.notes.split(QLatin1Char('\n'))) lines << QStringLiteral("  ") + line;
    lines << QStringLiteral("example:") << QStringLiteral("  z5ctl ") + verb.example;
    return lines;
}

int usageError(const QString &verb, const QString &why) {
    err(QStringLiteral("z5ctl %1: %2").arg(verb, why));
    if (const Verb *v = findVerb(verb)) {
        for (int i = 0; i < v->forms.size(); ++i)
            err((i == 0 ? QStringLiteral("usage: z5ctl ") : QStringLiteral("       z5ctl ")) + v->forms.at(i));
    }
    return kUsageError;
}

void out(const QString &line) {
    QByteArray b = line.toUtf8();
    b.append('\n');
    // One line at a time, so that a file or a pipe holds every row that was printed.
    if (std::fwrite(b.constData(), 1, b.size(), stdout) != static_cast<size_t>(b.size()) || std::fflush(stdout) != 0)
        g_outputFailed = true;
}

void err(const QString &line) {
    QByteArray b = z5::printableMessage(line).toUtf8();
    b.append('\n');
    std::fwrite(b.constData(), 1, b.size(), stderr);
}

bool outputFailed() { return g_outputFailed; }

} // namespace z5ctl
