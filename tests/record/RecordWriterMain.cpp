// Downloads the example again and again on a virtual clock into an in-memory
// port, every one entered in the station record named on the command line,
// until it is killed. Says "writing" once the first download has started.
#include "SessionBench.h"
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 64;
    z5::SessionBench bench;
    z5::Session &session = bench.session;
    const z5::ImportResult imported =
        session.netlistImport.importFile(QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net"), z5::Numbering::Manual);
    if (!imported.ok) return 1;
    session.project = imported.project;
    session.netlistName = imported.netlistName;
    session.netlistHash = imported.netlistHash;
    if (!session.recorder.open(QString::fromLocal8Bit(argv[1])).isEmpty()) return 2;
    for (bool first = true;; first = false) {
        if (!session.chain.startDownload()) return 3;
        if (first) {
            std::puts("writing");
            std::fflush(stdout);
        }
        bench.clock.advance(7000);
    }
}
