// The trend archive read by `z5ctl archive` from z5-sim --line-speed over a
// pseudo-terminal into a fresh record, with the adapter pulled out on the way,
// side by side with the wire floor: 30 parts a page of 8 request and 1064 reply
// bytes, 10 bits a byte at 115200 bit/s.
//   build/bench/bench_archive                                       pages 1-4, one unplug
//   Z5_ARCHIVE_PAGES=1-250 Z5_ARCHIVE_UNPLUGS=20 build/bench/bench_archive
// Each unplug kills the simulator and takes its link away for a second, then a
// new one gets the example program and the link back; the read goes on by itself.
#include "ArchiveAudit.h"
#include "UserDataAside.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <memory>
#include <vector>

extern char **environ;

namespace {

constexpr int kPartsAPage = 30;
constexpr double kBytesAPart = 8 + 1064;
constexpr double kBitsAByte = 10;
constexpr double kBitsASecond = 115200;
constexpr int kRecorderColumn = 10;   // U11 in the example
constexpr int kOutageMs = 1000;       // the link is away this long before a new controller comes

// A program run to its end with its largest resident memory, which QProcess does not tell.
class MeasuredRun {
public:
    MeasuredRun() = default;
    MeasuredRun(const MeasuredRun &) = delete;
    MeasuredRun &operator=(const MeasuredRun &) = delete;
    // A run given up is stopped as a user would stop it.
    ~MeasuredRun() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    // Starts `program` with its standard output and error into files `out` and `err`.
    bool start(const QString &program, const QStringList &args, const QString &out, const QString &err) {
        std::vector<QByteArray> texts{QFile::encodeName(program)};
        for (const QString &a : args) texts.push_back(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &t : texts) argv.push_back(t.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, QFile::encodeName(out).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&files, 2, QFile::encodeName(err).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int failed = posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        return failed == 0;
    }
    // Whether it has ended, without waiting.
    bool ended() {
        if (pid_ <= 0) return true;
        int status = 0;
        rusage usage{};
        if (wait4(pid_, &status, WNOHANG, &usage) != pid_) return false;
        pid_ = 0;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        peakKb_ = usage.ru_maxrss;
        return true;
    }
    int exitCode() const { return exitCode_; }
    double peakMb() const { return double(peakKb_) / 1024.0; }

private:
    pid_t pid_ = 0;
    int exitCode_ = -1;
    long peakKb_ = 0;
};

// Waits up to `ms` for the run to end; true when it has.
bool endsWithin(MeasuredRun &run, qint64 ms) {
    QElapsedTimer waited;
    waited.start();
    while (!run.ended()) {
        if (waited.elapsed() >= ms) return false;
        QThread::msleep(10);
    }
    return true;
}

void archiveAtLineSpeed(benchmark::State &state) {
    const QString pages = qEnvironmentVariable("Z5_ARCHIVE_PAGES", QStringLiteral("1-4"));
    const QRegularExpressionMatch range = QRegularExpression(QStringLiteral("^(\\d+)-(\\d+)$")).match(pages);
    if (!range.hasMatch()) return state.SkipWithError("Z5_ARCHIVE_PAGES is A-B");
    const int first = range.captured(1).toInt(), last = range.captured(2).toInt();
    const int pageCount = last - first + 1;
    const double floorMs = pageCount * kPartsAPage * kBytesAPart * kBitsAByte * 1000.0 / kBitsASecond;
    const int unplugsAsked =
        qEnvironmentVariableIsSet("Z5_ARCHIVE_UNPLUGS") ? qEnvironmentVariableIntValue("Z5_ARCHIVE_UNPLUGS") : 1;

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("z5"));
    const QString downloads = dir.filePath(QStringLiteral("downloads.sqlite"));
    const QString record = dir.filePath(QStringLiteral("record.sqlite"));
    const QStringList lineSpeed{QStringLiteral("--line-speed")};
    for (auto _ : state) {
        std::unique_ptr<SimProcess> sim = z5::testing::plugInController(link, lineSpeed, downloads);
        if (!sim) return state.SkipWithError("z5-sim did not start or the download failed");
        MeasuredRun run;
        QElapsedTimer took;
        took.start();
        if (!run.start(QStringLiteral(Z5CTL_PATH),
                       {QStringLiteral("archive"), QStringLiteral("--port"), link, QStringLiteral("--block"),
                        QStringLiteral("U11"), QStringLiteral("--pages"), pages, QStringLiteral("--record"), record},
                       dir.filePath(QStringLiteral("out")), dir.filePath(QStringLiteral("err"))))
            return state.SkipWithError("z5ctl did not start");
        // The unplugs spread evenly over the time the line is up.
        int partsSent = 0;
        int unplugged = 0;
        qint64 outageMs = 0;
        const double everyMs = floorMs / (unplugsAsked + 1);
        while (unplugged < unplugsAsked && !endsWithin(run, qint64(everyMs * (unplugged + 1)) - (took.elapsed() - outageMs))) {
            QElapsedTimer away;
            away.start();
            partsSent += z5::testing::trendPartsSent(*sim);
            sim->kill();
            QFile::remove(link);
            endsWithin(run, kOutageMs);
            sim = z5::testing::plugInController(link, lineSpeed, downloads);
            if (!sim) return state.SkipWithError("z5-sim did not come back");
            outageMs += away.elapsed();
            ++unplugged;
        }
        endsWithin(run, qint64(1) << 40);
        const double ms = double(took.elapsed());
        partsSent += z5::testing::trendPartsSent(*sim);
        state.SetIterationTime(ms / 1000.0);
        if (run.exitCode() != 0) {
            QFile err(dir.filePath(QStringLiteral("err")));
            err.open(QIODevice::ReadOnly);
            const QByteArray told = err.readAll().right(400);
            return state.SkipWithError(("z5ctl archive failed: " + told).constData());
        }
        const z5::testing::ArchiveAudit audit = z5::testing::auditArchive(record, kRecorderColumn, first, last);
        const int partsAgain = partsSent - pageCount * kPartsAPage;
        state.counters["floor_s"] = floorMs / 1000.0;
        state.counters["x_floor"] = ms / floorMs;
        state.counters["x_floor_link_up"] = (ms - double(outageMs)) / floorMs;
        state.counters["peak_MB"] = run.peakMb();
        state.counters["pages_stored"] = audit.stored;
        state.counters["twice_or_half"] = audit.twiceOrHalf;
        state.counters["unplugs"] = unplugged;
        state.counters["again_per_unplug"] = unplugged > 0 ? double(partsAgain) / unplugged : double(partsAgain);
        state.counters["outage_s"] = double(outageMs) / 1000.0;
    }
}
BENCHMARK(archiveAtLineSpeed)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    z5::testing::keepUserDataAside();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
