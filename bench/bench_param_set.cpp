// bench_param_set: qzr17ctl's dump and load of a whole parameter set, run
// in-process against the simulator pacing its bytes at 9600 baud, measured
// against the time the same exchanges need on the wire plus their fixed
// waits: 5 ms after each table transfer, and the 100 ms of silence that ends
// each reply of unknown length (the type and version texts, which decide
// the firmware's tables and the device type a set may go to).
#include "companion.h"
#include "param_record.h"
#include "param_set_file.h"
#include "sim_process.h"
#include "summary.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBaud = 9600;
constexpr int kRepetitions = 6;
constexpr int kBitsPerChar = 11; // start, 8 data, parity, stop
constexpr double kTransferPauseMs = 5;
constexpr double kTextSilenceMs = 100;
constexpr int kTableReadRequest = 13;
constexpr int kTableReplyFraming = 9;
constexpr int kTableWriteFraming = 13;
constexpr int kAckLength = 6;
constexpr int kTextRequest = 10;
constexpr int kTextReplyFraming = 9;
constexpr double kGoal = 1.05;

const QString kType = QStringLiteral("QZR 17");
const QString kVersion = QStringLiteral("QZR17 V2.1 03.10.2008");

double charactersMs(int characters) { return characters * kBitsPerChar * 1000.0 / kBaud; }

int tableLength(int table) { return table_length[static_cast<size_t>(table)]; }

// The type and version texts that every set command reads first.
double textsExpectedMs()
{
    double ms = 0;
    for (const QString& text : {kType, kVersion})
        ms += charactersMs(kTextRequest + static_cast<int>(text.size()) + kTextReplyFraming) + kTextSilenceMs;
    return ms;
}

// The texts, then every table of a set read.
double dumpExpectedMs()
{
    double ms = textsExpectedMs();
    for (const int table : param_set::setTables())
        ms += charactersMs(kTableReadRequest + tableLength(table) + kTableReplyFraming) + kTransferPauseMs;
    return ms;
}

// The texts, then every table of a set written but the address, each acknowledged.
double loadExpectedMs()
{
    double ms = textsExpectedMs();
    for (const int table : param_set::loadOrder())
        ms += charactersMs(tableLength(table) + kTableWriteFraming + kAckLength) + kTransferPauseMs;
    return ms;
}

// Milliseconds of one qzr17ctl run, or a negative value when it failed.
double runMs(const QStringList& arguments)
{
    const auto start = BenchClock::now();
    const ExitStatus status = runCompanion(arguments, start);
    const double ms = microsecondsSince(start) / 1000.0;
    return status == ExitStatus::Success ? ms : -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* command, double expectedMs, const std::vector<double>& measuredMs)
{
    const double measured = median(measuredMs);
    const auto [low, high] = std::minmax_element(measuredMs.begin(), measuredMs.end());
    const double ratio = measured / expectedMs;
    std::printf("  %-4s wire + waits %.1f ms, measured median %.1f ms (min %.1f, max %.1f)\n", command, expectedMs,
                measured, *low, *high);
    std::printf("       ratio %.3f, goal <= %.2f: %s\n", ratio, kGoal, ratio <= kGoal ? "met" : "MISSED");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SimProcess sim({QStringLiteral("--baud"), QString::number(kBaud), QStringLiteral("--type"), kType,
                    QStringLiteral("--version"), kVersion});
    QTemporaryDir dir;
    if (!sim.start() || !dir.isValid()) {
        std::fprintf(stderr, "bench_param_set: the simulator did not start\n");
        return 1;
    }
    const QString file = dir.filePath(QStringLiteral("sada.txt"));
    const QStringList link{QStringLiteral("--port"), sim.portPath(), QStringLiteral("--baud"), QString::number(kBaud),
                           QStringLiteral("--da"), QStringLiteral("0"), QStringLiteral("--sa"), QStringLiteral("0")};
    std::vector<double> dumps;
    std::vector<double> loads;
    // Dump and load take turns; the first round warms up.
    for (int i = 0; i <= kRepetitions; ++i) {
        const double dumpMs = runMs(link + QStringList{QStringLiteral("dump"), file});
        const double loadMs = runMs(link + QStringList{QStringLiteral("load"), file});
        if (dumpMs < 0 || loadMs < 0) {
            std::fprintf(stderr, "bench_param_set: a dump or a load failed\n");
            return 1;
        }
        if (i > 0) {
            dumps.push_back(dumpMs);
            loads.push_back(loadMs);
        }
    }
    std::printf("bench_param_set: qzr17ctl at %d baud, %d runs each\n", kBaud, kRepetitions);
    report("dump", dumpExpectedMs(), dumps);
    report("load", loadExpectedMs(), loads);
    return 0;
}
