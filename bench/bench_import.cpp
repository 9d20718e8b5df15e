#include "import/NetlistImport.h"
#include <benchmark/benchmark.h>

namespace {

// A 10000-line netlist: 80 blocks of ten types, 19 inverters and nets of a driver and
// three inputs, every tenth one through an inverter.
QString bigNetlist() {
    const char *types[] = {"MUL", "SUM", "DIV", "AND", "OR_", "XOR", "TRI", "REG", "MUX", "TIM"};
    QStringList lines = {QStringLiteral("ACCEL_ASCII \"big.net\""), QStringLiteral("(netlist \"big\"")};
    for (int b = 0; b < 80; ++b) {
        lines << QStringLiteral("  (compInst \"U%1\"").arg(b + 1)
              << QStringLiteral("    (originalName \"%1\")").arg(QLatin1String(types[b % 10]))
              << QStringLiteral("    (compValue \"%1_%2\")").arg(b + 1).arg(b / 10 + 1) << QStringLiteral("  )");
    }
    for (int d = 1; d <= 19; ++d)
        lines << QStringLiteral("  (compInst \"D%1\"").arg(d) << QStringLiteral("    (originalName \"INV\")")
              << QStringLiteral("    (compValue \"0\")") << QStringLiteral("  )");
    auto node = [](int block, int pin) { return QStringLiteral("    (node \"U%1\" \"%2\")").arg(block).arg(pin); };
    for (int k = 0; lines.size() < 9990; ++k) {
        const int driver = k % 80 + 1;
        lines << QStringLiteral("  (net \"N%1\"").arg(k, 5, 10, QLatin1Char('0'));
        lines << node((k + 7) % 80 + 1, k % 8 + 1) << node((k + 13) % 80 + 1, (k + 3) % 8 + 1);
        if (k % 10 == 0) {
            const int d = k / 10 % 19 + 1;
            lines << QStringLiteral("    (node \"D%1\" \"1\")").arg(d) << node(driver, 12) << QStringLiteral("  )");
            lines << QStringLiteral("  (net \"I%1\"").arg(k, 5, 10, QLatin1Char('0'))
                  << node((k + 29) % 80 + 1, (k + 5) % 8 + 1) << QStringLiteral("    (node \"D%1\" \"2\")").arg(d);
        } else {
            lines << node(driver, 12) << node((k + 41) % 80 + 1, (k + 6) % 8 + 1);
        }
        lines << QStringLiteral("  )");
    }
    lines << QStringLiteral(")");
    return lines.join(u'\n') + u'\n';
}

void ImportNetlist10000Lines(benchmark::State &state) {
    const QString text = bigNetlist();
    z5::NetlistImport import;
    for (auto _ : state) {
        const z5::ImportResult r = import.importText(text, z5::Numbering::Manual);
        if (!r.ok) {
            state.SkipWithError(r.message.toStdString().c_str());
            break;
        }
        benchmark::DoNotOptimize(r.project);
    }
    state.counters["lines"] = import.lineCount() - 1;
}

} // namespace

BENCHMARK(ImportNetlist10000Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
