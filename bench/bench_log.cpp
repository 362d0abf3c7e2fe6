// bench_log: the main window's AppendLogLine with a named log of 1,000 lines
// and of 604,800 lines (a week at a line a second), measured in interleaved
// rounds, and the memory the long log holds next to the size of its file.
#include "Hl_modul.h"
#include "application.h"
#include "scripted_prompts.h"
#include "summary.h"
#include "stepped_clock.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <malloc.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kSmall = 1000;
constexpr int kLarge = 604800;
constexpr int kHeaderLines = 5;
constexpr int kRounds = 10;
constexpr int kPerRound = 200;
constexpr double kCostGoal = 2.0;
constexpr double kMemoryGoal = 1.5;


size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct Log {
    const char* name;
    int lines;
    std::unique_ptr<Tqzr17> window;
    std::vector<double> microseconds;
    size_t heldBytes = 0;
};

// A named log of `lines` lines whose file is in step with it. The lines are
// added unnamed first, so that the file is written once, not at every line.
void fill(Log& log, SteppedClock& clock, const QString& path)
{
    ScriptedPrompts prompts;
    prompts.fileNames = {path};
    log.window = std::make_unique<Tqzr17>();
    log.window->FormCreate();
    log.window->setClock(&clock);
    log.window->mn_novyClick();
    const size_t before = heapInUse();
    log.window->log_named = false;
    for (int i = kHeaderLines; i < log.lines; ++i) {
        clock.step();
        log.window->AppendLogLine();
    }
    log.heldBytes = heapInUse() - before;
    log.window->log_named = true;
    log.window->mn_ulozClick();
}

void measure(Log& log, SteppedClock& clock)
{
    for (int i = 0; i < kPerRound; ++i) {
        clock.step();
        const auto start = BenchClock::now();
        log.window->AppendLogLine();
        log.microseconds.push_back(microsecondsSince(start));
    }
}

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    Application app(argc, argv);
    QTemporaryDir dir;
    SteppedClock clock{QDateTime(QDate(2026, 3, 15), QTime(0, 0))};
    Log logs[] = {{"1,000 lines", kSmall, {}, {}, 0}, {"604,800 lines", kLarge, {}, {}, 0}};
    for (Log& log : logs)
        fill(log, clock, dir.filePath(QString::fromLatin1(log.name).section(' ', 0, 0) + ".txt"));
    for (Log& log : logs) {
        measure(log, clock);
        log.microseconds.clear();
    }
    // Interleaved rounds, so that a slow spell of the machine hits both logs alike.
    for (int round = 0; round < kRounds; ++round)
        for (Log& log : logs)
            measure(log, clock);

    print(QStringLiteral("bench_log: AppendLogLine with a named log, %1 lines per log in %2 interleaved rounds")
              .arg(kRounds * kPerRound).arg(kRounds));
    Summary summaries[std::size(logs)];
    for (size_t i = 0; i < std::size(logs); ++i) {
        summaries[i] = summarize(logs[i].microseconds);
        print(QStringLiteral("  at %1 %2").arg(QLatin1String(logs[i].name) + u':', -15).arg(describe(summaries[i])));
    }
    const double costRatio = summaries[1].medianUs / summaries[0].medianUs;
    print(QStringLiteral("  604,800 / 1,000 lines: median %1 (goal <= %2), p99 %3")
              .arg(costRatio, 0, 'f', 2).arg(kCostGoal, 0, 'f', 2)
              .arg(summaries[1].p99Us / summaries[0].p99Us, 0, 'f', 2));

    const Log& week = logs[1];
    const qint64 fileSize = QFileInfo(week.window->log().fileName()).size();
    const double memoryRatio = double(week.heldBytes) / double(fileSize);
    print(QStringLiteral("  memory held by the 604,800 lines: %1 bytes, file %2 bytes, %3 bytes a line")
              .arg(week.heldBytes).arg(fileSize).arg(double(fileSize) / kLarge, 0, 'f', 1));
    print(QStringLiteral("  memory / file size: %1 (goal <= %2)").arg(memoryRatio, 0, 'f', 3).arg(kMemoryGoal, 0, 'f', 2));
    const bool met = costRatio <= kCostGoal && memoryRatio <= kMemoryGoal;
    print(QStringLiteral("  goals %1").arg(met ? QStringLiteral("met") : QStringLiteral("MISSED")));
    return 0;
}
