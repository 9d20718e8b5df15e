// trend_screenshots DIR: the trend window with four curves of a page and the
// printout of that group, into DIR/trend-window.png and DIR/trend-printout.png.
// Run under Xvfb for the README's pictures:
//   xvfb-run -a build/tests/ui_console/trend_screenshots docs
#include "LineBench.h"
#include "trends/TrendPrintout.h"
#include "trends/TrendReply.h"
#include "DatedPages.h"
#include "record/ArchivePageStore.h"
#include "ui/HistoryPlotWidget.h"
#include "ui/HistoryWindow.h"
#include "ui/TrendWindow.h"
#include <QTemporaryDir>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>

namespace {

// A controller whose boiler warms up over the page: the answer to a part request.
QByteArray warmingBoiler(const QByteArray &frame) {
    if (frame.size() != 8 || quint8(frame[3]) < 10) return QByteArray();
    const int part = quint8(frame[3]) - 10, page = quint8(frame[5]);
    {
        QByteArray out(z5::wire::kTrendPartLength, '\0');
        out[2] = char((page == 0 ? 3 : page) - 1);
        out[3] = char(200);
        out[4] = char(2);
        for (int i = 0; i < z5::TrendPart::kSamples; ++i) {
            const int s = part * z5::TrendPart::kSamples + i, row = s / 32, c = s % 32;
            const double t = row / 239.0;
            double v = 0;
            switch (c % 4) {
            case 0: v = 20 + 65 * (1 - std::exp(-4 * t)) + 2 * std::sin(row / 3.0); break;   // water, °C
            case 1: v = 3.5 + 1.5 * std::sin(row / 25.0) + 0.5 * t; break;                     // pressure, bar
            case 2: v = row < 30 ? 0 : 60 + 25 * std::sin(row / 14.0); break;                  // burner, %
            case 3: v = -8 + 12 * t + 3 * std::cos(row / 9.0); break;                          // outdoor, °C
            }
            if (row >= 200) v = -2100000;
            const std::int32_t raw = std::int32_t(std::lround(v * 1000));
            for (int b = 0; b < 4; ++b) out[8 + 4 * i + b] = char((std::uint32_t(raw) >> (8 * b)) & 0xFF);
        }
        const int minutes = part * 8 * 10 / 60;
        out[1044] = char((part * 80) % 60);
        out[1045] = char(minutes % 60);
        out[1046] = char(8 + minutes / 60);
        out[1048] = 7;
        out[1049] = 12;
        out[1050] = 26;
        return out;
    }
}

z5::TrendChannels boilerChannels() {
    z5::TrendChannels ch;
    const char *names[4] = {"Вода, °C", "Давление, бар", "Горелка, %", "Улица, °C"};
    const z5::TrendChannels::Scale scales[4] = {{0, 100}, {0, 6}, {0, 100}, {-40, 40}};
    for (int c = 0; c < 32; ++c) {
        ch.names[c] = QString::fromUtf8(names[c % 4]);
        ch.scales[c] = scales[c % 4];
    }
    ch.title = QStringLiteral("Котёл 1");
    return ch;
}

// A day and a half of the boiler stored page after page, with six hours in the
// night that the archive was not read for.
bool storeBoilerDays(const QString &record) {
    z5::ArchivePageStore store;
    if (!store.open(record)) return false;
    const QDateTime first = z5::testing::at("2026-12-06T06:00:00");
    for (int p = 0; p < 54; ++p) {
        const QDateTime start = first.addSecs(qint64(p) * 2400);
        if (start >= z5::testing::at("2026-12-06T23:00:00") && start < z5::testing::at("2026-12-07T05:00:00")) continue;
        z5::ArchivedPage page = z5::testing::datedPage(1 + p % 250, start, 10, 240);
        for (int r = 0; r < 240; ++r) {
            const double hours = (p * 2400 + r * 10) / 3600.0;
            const double day = std::sin((hours - 3) / 24.0 * 2 * M_PI);
            const double values[4] = {70 + 10 * day + 2 * std::sin(hours * 3), 3.8 + 0.6 * std::sin(hours / 2),
                                      45 - 30 * day + 8 * std::sin(hours * 5), -6 + 6 * day};
            for (int c = 0; c < 32; ++c) page.page.setSample(r, c, float(values[c % 4]));
        }
        if (store.put(page) == z5::ArchivePages::Put::Failed) return false;
    }
    return true;
}

bool save(const QImage &image, const QString &path) {
    const bool ok = image.save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: trend_screenshots DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    z5::LineBench bench;
    bench.port.replyDelayMs = 1;
    bench.port.responder = warmingBoiler;
    z5::VirtualClock &clock = bench.clock;
    z5::RecordingPrompts &prompts = bench.prompts;
    z5::TrendSession session(clock, bench.line);
    session.setChannels(boilerChannels());
    z5::TrendWindow window(session, prompts, 10);
    // As the console opens it: the archive can be read (nothing is opened until asked).
    window.setArchiveAccess(clock, bench.line);
    window.show();
    window.readCurrentPage();
    clock.advance(2000);
    QApplication::processEvents();
    if (!save(window.grab().toImage(), dir.filePath(QStringLiteral("trend-window.png")))) return 1;

    // The printout as paper shows it: landscape A4 at 100 dots per inch.
    QImage paper(1190, 827, QImage::Format_RGB32);
    paper.setDotsPerMeterX(int(100 / 0.0254));
    paper.setDotsPerMeterY(int(100 / 0.0254));
    paper.fill(Qt::white);
    {
        QPainter p(&paper);
        p.setRenderHint(QPainter::Antialiasing);
        z5::TrendPrintout::paint(p, paper, session.page(), session.group(), session.channels());
    }
    if (!save(paper, dir.filePath(QStringLiteral("trend-printout.png")))) return 1;

    // The stored days on one axis, the night without pages shaded.
    QTemporaryDir folder;
    const QString record = folder.filePath(QStringLiteral("record.sqlite"));
    if (!storeBoilerDays(record)) return 1;
    z5::HistoryWindow history(record, 1, 10, boilerChannels(), 0, 1, prompts);
    history.show();
    history.plot()->view().show(z5::testing::at("2026-12-06T12:00:00").toSecsSinceEpoch(),
                                z5::testing::at("2026-12-07T12:00:00").toSecsSinceEpoch());
    history.plot()->viewChanged();
    QApplication::processEvents();
    return save(history.grab().toImage(), dir.filePath(QStringLiteral("history-window.png"))) ? 0 : 1;
}
