// bench_exchange: one read of table 16 through the program's own port layer
// (SerialLine and bus_protocol) against the simulator, next to the floor of
// the same exchange done with plain POSIX calls on a pseudo-terminal.
#include "bus_protocol.h"
#include "raw_pty.h"
#include "serial_line.h"
#include "sim_process.h"
#include "summary.h"

#include <QCoreApplication>

#include <cstdio>
#include <functional>

namespace {

constexpr int kRounds = 5;
constexpr int kPerRound = 500;
constexpr int kWarmUp = 50;
constexpr int kTable = 16;
constexpr double kGoal = 1.5;

// Read request for table 16 (length 18) to address 0 from address 0.
constexpr std::array<uint8_t, raw_pty::kRequestLength> kRequest{0x68, 0x07, 0x07, 0x68, 0x00, 0x00, 0x6C,
                                                                0x01, 0x10, 0x12, 0x00, 0x8F, 0x16};

struct Path {
    const char* name;
    std::function<bool()> exchange;
    std::vector<double> microseconds;
    int failures = 0;
};

void measure(Path& path, int count)
{
    for (int i = 0; i < count; ++i) {
        const auto start = BenchClock::now();
        const bool ok = path.exchange();
        const double elapsed = microsecondsSince(start);
        if (ok)
            path.microseconds.push_back(elapsed);
        else
            ++path.failures;
    }
}

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    raw_pty::Responder floorResponder;
    SimProcess rawSim;
    SimProcess programSim;
    if (!floorResponder.isRunning() || !rawSim.start() || !programSim.start()) {
        std::fprintf(stderr, "bench_exchange: could not start the responders\n");
        return 1;
    }
    raw_pty::Requester floorRequester(floorResponder.slavePath());
    raw_pty::Requester simRequester(rawSim.portPath().toStdString());
    SerialLine line;
    line.OpenDevice(programSim.portPath());
    bus_protocol::AttachPort(&line);

    Path paths[] = {
        {"floor: raw pty requester + responder thread", [&] { return floorRequester.exchange(kRequest); }, {}},
        {"raw pty requester + qzr17-sim", [&] { return simRequester.exchange(kRequest); }, {}},
        {"SerialLine + bus_protocol + qzr17-sim", [] { return bus_protocol::ReadTable(kTable) == 1; }, {}},
    };
    for (Path& path : paths) {
        measure(path, kWarmUp);
        path.microseconds.clear();
        path.failures = 0;
    }
    // Interleaved rounds, so that a slow spell of the machine hits every path alike.
    for (int round = 0; round < kRounds; ++round) {
        for (Path& path : paths)
            measure(path, kPerRound);
    }

    print(QStringLiteral("bench_exchange: read of table %1, %2 exchanges per path in %3 interleaved rounds")
              .arg(kTable).arg(kRounds * kPerRound).arg(kRounds));
    Summary summaries[std::size(paths)];
    for (size_t i = 0; i < std::size(paths); ++i) {
        summaries[i] = summarize(paths[i].microseconds);
        print(QStringLiteral("  %1 %2, failed %3")
                  .arg(QLatin1String(paths[i].name) + u':', -47).arg(describe(summaries[i])).arg(paths[i].failures));
    }
    const Summary& floor = summaries[0];
    const Summary& program = summaries[2];
    const double medianRatio = program.medianUs / floor.medianUs;
    print(QStringLiteral("  program / floor: median %1 (goal <= %2), p99 %3")
              .arg(medianRatio, 0, 'f', 2).arg(kGoal, 0, 'f', 2).arg(program.p99Us / floor.p99Us, 0, 'f', 2));
    print(QStringLiteral("  simulator / floor (raw requester on both): median %1")
              .arg(summaries[1].medianUs / floor.medianUs, 0, 'f', 2));
    print(QStringLiteral("  goal %1").arg(medianRatio <= kGoal ? QStringLiteral("met") : QStringLiteral("MISSED")));
    bus_protocol::AttachPort(nullptr);
    return 0;
}
