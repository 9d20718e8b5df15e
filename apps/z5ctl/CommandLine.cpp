#include "CommandLine.h"
#include "ExitCodes.h"
#include <QLocale>
#include <QRegularExpression>
#include <cstdio>

namespace z5ctl {

Arguments::Arguments(const QStringList &args, const QStringList &flags) {
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a.startsWith(QLatin1String("--"))) {
            const QString name = a.mid(2);
            if (flags.contains(name)) {
                options_.insert(name, QStringLiteral("1"));
            } else if (i + 1 < args.size()) {
                options_.insert(name, args[++i]);
            } else {
                error_ = QStringLiteral("option %1 needs a value").arg(a);
            }
        } else {
            positionals_ << a;
        }
    }
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

const char *exitCodeTable() {
    return "exit status:\n"
           "  0   done\n"
           "  1   bad input or value: a file that cannot be read, a parameter that does not fit\n"
           "  2   port: it did not open or failed on the way\n"
           "  3   no end: no valid reply came, or a write did not end\n"
           "  64  usage: an unknown option, a missing argument or one outside its choices";
}

QString unknownOption(const QStringList &args, const QString &usage) {
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    QStringList known;
    for (auto it = option.globalMatch(usage); it.hasNext();) known << it.next().captured(0);
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--")) && !known.contains(a)) return a;
    return QString();
}

std::vector<Verb> &verbs() {
    static std::vector<Verb> all;
    return all;
}

VerbRegistrar::VerbRegistrar(const QString &name, const QString &usage,
                             std::function<int(const QStringList &)> run) {
    verbs().push_back({name, usage, std::move(run)});
}

void out(const QString &line) {
    const QByteArray b = line.toUtf8();
    std::fwrite(b.constData(), 1, b.size(), stdout);
    std::fputc('\n', stdout);
}

void err(const QString &line) {
    const QByteArray b = line.toUtf8();
    std::fwrite(b.constData(), 1, b.size(), stderr);
    std::fputc('\n', stderr);
}

} // namespace z5ctl
