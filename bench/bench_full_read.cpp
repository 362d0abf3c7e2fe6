// bench_full_read: the settings editor's full parameter read (tables 0..7, 15,
// 17, 19, 20, each after a 5 ms pause) against the simulator pacing its replies
// at the line's baud rate, measured against the time the wire itself needs.
#include "bus_protocol.h"
#include "raw_pty.h"
#include "param_record.h"
#include "serial_line.h"
#include "sim_process.h"
#include "summary.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <thread>

namespace {

constexpr std::array kTables{0, 1, 2, 3, 4, 5, 6, 7, 15, 17, 19, 20};
constexpr std::array kBaudRates{9600, 115200};
constexpr auto kPause = std::chrono::milliseconds(5);
constexpr int kRepetitions = 15;
constexpr int kBitsPerChar = 11; // start, 8 data, parity, stop
constexpr int kRequestLength = 13;
constexpr int kReplyFraming = 9;
constexpr double kGoal = 1.05;

struct ReadTiming {
    double totalMs = 0;
    double pausesMs = 0; // of which spent in the pauses
};

double pausesMilliseconds() { return std::chrono::duration<double, std::milli>(kPause).count() * kTables.size(); }

// Requests and replies at 11 bits a character.
double wireMilliseconds(int baud)
{
    int characters = 0;
    for (int table : kTables)
        characters += kRequestLength + table_length[static_cast<size_t>(table)] + kReplyFraming;
    return characters * kBitsPerChar * 1000.0 / baud;
}

// One full read, or nothing when a table failed.
std::optional<ReadTiming> fullRead()
{
    ReadTiming timing;
    const auto start = BenchClock::now();
    for (int table : kTables) {
        const auto pauseStart = BenchClock::now();
        std::this_thread::sleep_for(kPause);
        timing.pausesMs += microsecondsSince(pauseStart) / 1000.0;
        if (bus_protocol::ReadTable(table) != 1)
            return std::nullopt;
    }
    timing.totalMs = microsecondsSince(start) / 1000.0;
    return timing;
}

// A read request for a table, built by hand for the raw requester.
std::array<uint8_t, raw_pty::kRequestLength> readRequest(int table)
{
    std::array<uint8_t, raw_pty::kRequestLength> request{0x68, 7, 7, 0x68, 0, 0, 0x6C, 1,
                                                        static_cast<uint8_t>(table),
                                                        table_length[static_cast<size_t>(table)], 0, 0, 0x16};
    unsigned sum = 0;
    for (int i = 4; i < 11; ++i)
        sum += request[static_cast<size_t>(i)];
    request[11] = static_cast<uint8_t>(sum);
    return request;
}

// The same sequence through plain POSIX calls: the floor the line allows.
std::optional<double> rawFullReadMs(raw_pty::Requester& requester)
{
    const auto start = BenchClock::now();
    for (int table : kTables) {
        std::this_thread::sleep_for(kPause);
        if (!requester.exchange(readRequest(table), table_length[static_cast<size_t>(table)] + kReplyFraming))
            return std::nullopt;
    }
    return microsecondsSince(start) / 1000.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

void report(int baud, const std::vector<double>& ratios, const std::vector<double>& pauseOvershoots,
            const std::vector<double>& exchangeOverheads, const std::vector<double>& rawRatios)
{
    const double ratio = median(ratios);
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    const double expected = wireMilliseconds(baud) + pausesMilliseconds();
    print(QStringLiteral("  %1 baud: wire %2 ms + pauses %3 ms = %4 ms, measured median %5 ms")
              .arg(baud, 6).arg(wireMilliseconds(baud), 0, 'f', 1).arg(pausesMilliseconds(), 0, 'f', 1)
              .arg(expected, 0, 'f', 1).arg(ratio * expected, 0, 'f', 1));
    print(QStringLiteral("          ratio median %1 (min %2, max %3), goal <= %4: %5")
              .arg(ratio, 0, 'f', 3).arg(*low, 0, 'f', 3).arg(*high, 0, 'f', 3).arg(kGoal, 0, 'f', 2)
              .arg(ratio <= kGoal ? QStringLiteral("met") : QStringLiteral("MISSED")));
    print(QStringLiteral("          beyond the wire: pauses overshoot %1 ms, exchanges %2 ms (medians per full read)")
              .arg(median(pauseOvershoots), 0, 'f', 2).arg(median(exchangeOverheads), 0, 'f', 2));
    print(QStringLiteral("          raw requester on the same line: ratio median %1; program / raw %2")
              .arg(median(rawRatios), 0, 'f', 3).arg(ratio / median(rawRatios), 0, 'f', 3));
}

bool benchAt(int baud)
{
    SimProcess sim({QStringLiteral("--baud"), QString::number(baud)});
    if (!sim.start())
        return false;
    const double wire = wireMilliseconds(baud);
    std::vector<double> ratios;
    std::vector<double> rawRatios;
    std::vector<double> pauseOvershoots;
    std::vector<double> exchangeOverheads;
    bool ok = true;
    // The program and the raw requester take turns on the same simulator;
    // each round's first read warms up.
    for (int i = 0; ok && i <= kRepetitions; ++i) {
        std::optional<ReadTiming> timing;
        {
            SerialLine line;
            line.setBaudRate(baud);
            line.OpenDevice(sim.portPath());
            bus_protocol::AttachPort(&line);
            timing = fullRead();
            bus_protocol::AttachPort(nullptr);
        }
        raw_pty::Requester requester(sim.portPath().toStdString());
        const std::optional<double> rawMs = rawFullReadMs(requester);
        ok = timing.has_value() && rawMs.has_value();
        if (!ok || i == 0)
            continue;
        ratios.push_back(timing->totalMs / (wire + pausesMilliseconds()));
        rawRatios.push_back(*rawMs / (wire + pausesMilliseconds()));
        pauseOvershoots.push_back(timing->pausesMs - pausesMilliseconds());
        exchangeOverheads.push_back(timing->totalMs - timing->pausesMs - wire);
    }
    if (ok)
        report(baud, ratios, pauseOvershoots, exchangeOverheads, rawRatios);
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    print(QStringLiteral("bench_full_read: %1 tables, %2 repetitions per rate").arg(kTables.size()).arg(kRepetitions));
    for (int baud : kBaudRates) {
        if (!benchAt(baud)) {
            std::fprintf(stderr, "bench_full_read: the simulator or a table read failed at %d baud\n", baud);
            return 1;
        }
    }
    return 0;
}
