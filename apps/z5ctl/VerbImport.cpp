// z5ctl import: imports a netlist and prints the project it gives, block by block.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "import/NetlistImport.h"
#include "model/BlockCatalogue.h"

namespace {


QString source(int outputIndex, int numberPlus1) {
    return QStringLiteral("U%1 output %2").arg(numberPlus1 - 1).arg(outputIndex);
}

QString inverted(bool on) { return on ? QStringLiteral(" (inverted)") : QString(); }

// The connected inputs of the block in column c, from the table its type uses.
void printInputs(const z5::Project &p, int c) {
    const int type = p.blockType(c);
    const int mask = p.schema(z5::Project::InversionRow, c);
    if (type == z5::BlockType::GRA || type == z5::BlockType::JUR) {
        for (int pin = 1; pin <= 32; ++pin) {
            const int e = 2 * (pin - 1);
            const int index = type == z5::BlockType::GRA ? p.trendLink(e) : p.journalLink(e);
            const int number = type == z5::BlockType::GRA ? p.trendLink(e + 1) : p.journalLink(e + 1);
            const bool inv = type == z5::BlockType::JUR ? (static_cast<std::uint32_t>(p.journalInvertMask()) >> (pin - 1)) & 1
                                             : pin <= 8 && ((mask >> (pin - 1)) & 1);
            if (number != 0)
                z5ctl::out(QStringLiteral("    input %1 <- %2%3").arg(pin).arg(source(index, number), inverted(inv)));
        }
    } else if (type == z5::BlockType::SCA) {
        for (int page = 0; page < 8; ++page)
            for (int slot = 0; slot < 32; ++slot) {
                const int number = p.scadaLink(page, 2 * slot + 1);
                const int pin = 34 * page + slot + 1;
                if (number != 0)
                    z5ctl::out(QStringLiteral("    input %1 (page %2 slot %3) <- %4%5")
                                   .arg(pin)
                                   .arg(page)
                                   .arg(slot)
                                   .arg(source(p.scadaLink(page, 2 * slot), number),
                                        inverted(pin <= 8 && ((mask >> (pin - 1)) & 1))));
            }
    } else {
        for (int pin = 1; pin <= 8; ++pin) {
            const int number = p.link(c, 2 * pin - 1);
            if (number != 0)
                z5ctl::out(QStringLiteral("    input %1 <- %2%3")
                               .arg(pin)
                               .arg(source(p.link(c, 2 * pin - 2), number), inverted((mask >> (pin - 1)) & 1)));
        }
    }
}

int runImport(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("auto")});
    const QString verb = QStringLiteral("import");
    if (!a.error().isEmpty()) return z5ctl::usageError(verb, a.error());
    if (a.positionals().isEmpty()) return z5ctl::usageError(verb, QStringLiteral("a NETLIST is required"));
    if (const QString extra = a.surplus(1); !extra.isEmpty()) return z5ctl::usageError(verb, extra);
    const z5::Numbering mode = a.has(QStringLiteral("auto")) ? z5::Numbering::Auto : z5::Numbering::Manual;
    z5::NetlistImport import;
    const z5::ImportResult r = import.importFile(a.positionals().first(), mode);
    if (!r.ok) {
        z5ctl::err(r.message);
        return 1;
    }
    const z5::Project &p = r.project;
    z5ctl::out(QStringLiteral("%1: %2 blocks, numbering %3")
                   .arg(a.positionals().first())
                   .arg(p.blockCount())
                   .arg(z5::numberingName(mode)));
    for (const auto &icon : r.layout.icons()) {
        const int c = icon.column;
        QString line = QStringLiteral("U%1 %2 instance %3 priority %4 inversion %5 icon %6 at %7,%8")
                           .arg(c + 1)
                           .arg(z5::BlockCatalogue::mnemonic(p.blockType(c)))
                           .arg(p.instance(c))
                           .arg(p.priority(c))
                           .arg(p.schema(z5::Project::InversionRow, c), 8, 2, QLatin1Char('0'))
                           .arg(icon.iconNumber)
                           .arg(icon.position.x())
                           .arg(icon.position.y());
        if (p.blockType(c) == z5::BlockType::JUR)
            line += QStringLiteral(" journal inversion %1")
                        .arg(static_cast<std::uint32_t>(p.journalInvertMask()), 8, 16, QLatin1Char('0'));
        z5ctl::out(line);
        printInputs(p, c);
    }
    QStringList order;
    for (int priority = 1; priority < z5::Project::kColumns; ++priority)
        for (int c = 0; c < z5::Project::kColumns; ++c)
            if (p.hasBlock(c) && p.priority(c) == priority) order << QStringLiteral("U%1").arg(c + 1);
    z5ctl::out(QStringLiteral("priority order: ") + order.join(u' '));
    return 0;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("import"),
                                      {QStringLiteral("import [--auto] NETLIST")},
                                      QStringLiteral("Prints the project the netlist gives: blocks, icons, connected inputs, priority order.\n"
                                                     "--auto numbers the blocks itself instead of taking their designators."),
                                      QStringLiteral("import examples/boiler.net"), runImport});

} // namespace
