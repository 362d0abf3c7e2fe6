// bench_stations: rounds of table-16 reads over 16 regulators on one line at
// 9600 Bd, through SerialLine and bus_protocol against the simulator pacing
// its answers at that rate, next to what the line cannot go below: the wire
// time of every request and answer, and the read time-out of each silent
// station. A station that answers late must never have its answer taken for
// the next station's.
#include "bus_protocol.h"
#include "serial_line.h"
#include "sim_process.h"
#include "summary.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

constexpr int kBaud = 9600;
constexpr int kStations = 16;
constexpr int kRounds = 5;
constexpr int kTable = 16;
constexpr int kRequestChars = 13;
constexpr int kReplyChars = 27; // 18 bytes of data, 9 of framing
constexpr int kBitsPerChar = 11;
constexpr double kGoal = 1.05;

double wireMs(int chars) { return chars * kBitsPerChar * 1000.0 / kBaud; }

struct Line {
    const char* name;
    QStringList faults; // simulator options beside the address list and the rate
    int silent;         // stations that never answer in time
    bool hasGoal;       // a late answer holds the line beyond its station's time-out: no goal
};

struct Rounds {
    std::vector<double> microseconds;
    int failed = 0;
    int foreign = 0; // answers decoded whose sender was not the station asked
};

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

// One round more than measured: the first opens the stations' windows as a
// program already running would have them.
std::optional<Rounds> measure(const Line& line)
{
    SimProcess sim(QStringList{"--address", QStringLiteral("1-%1").arg(kStations), "--baud", QString::number(kBaud)}
                   + line.faults);
    if (!sim.start())
        return std::nullopt;
    SerialLine port;
    port.setBaudRate(kBaud);
    port.OpenDevice(sim.portPath());
    bus_protocol::AttachPort(&port);
    Rounds rounds;
    for (int round = 0; round <= kRounds; ++round) {
        const auto start = BenchClock::now();
        for (int station = 1; station <= kStations; ++station) {
            bus_protocol::SetDestinationAddress(static_cast<uint8_t>(station));
            const bool answered = bus_protocol::ReadTable(kTable) == 1;
            rounds.failed += round > 0 && !answered ? 1 : 0;
            rounds.foreign += answered && bus_protocol::rx_buffer[5] != station ? 1 : 0;
        }
        if (round > 0)
            rounds.microseconds.push_back(microsecondsSince(start));
    }
    bus_protocol::AwaitLateAnswers();
    bus_protocol::AttachPort(nullptr);
    return rounds;
}

// The wire time of the answered exchanges and the full read time-out of each silent station.
double floorMs(int silent)
{
    const double timeoutMs = static_cast<double>(PortIo::readTimeout(kReplyChars).count());
    return (kStations - silent) * wireMs(kRequestChars + kReplyChars) + silent * timeoutMs;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const Line lines[] = {
        {"16 answering", {}, 0, true},
        {"16, stations 4 and 11 silent", {"--silent", "4,11"}, 2, true},
        {"16, station 7 late by 900 ms", {"--late-ms", "7:900"}, 1, false},
    };
    print(QStringLiteral("bench_stations: table %1 of %2 stations at %3 Bd, %4 rounds a line, medians")
              .arg(kTable).arg(kStations).arg(kBaud).arg(kRounds));
    bool met = true;
    for (const Line& line : lines) {
        const auto rounds = measure(line);
        if (!rounds) {
            std::fprintf(stderr, "bench_stations: the simulator did not start\n");
            return 1;
        }
        const double roundMs = summarize(rounds->microseconds).medianUs / 1000.0;
        const double floor = floorMs(line.silent);
        const double ratio = roundMs / floor;
        const bool lineMet = rounds->foreign == 0 && (!line.hasGoal || ratio <= kGoal);
        met = met && lineMet;
        print(QStringLiteral("  %1 round %2 ms, wire and time-outs %3 ms, ratio %4%5; failed %6, "
                             "taken for another station %7")
                  .arg(QLatin1String(line.name) + u':', -31)
                  .arg(roundMs, 0, 'f', 1)
                  .arg(floor, 0, 'f', 1)
                  .arg(ratio, 0, 'f', 3)
                  .arg(line.hasGoal ? QStringLiteral(" (goal <= %1)").arg(kGoal, 0, 'f', 2) : QString())
                  .arg(rounds->failed)
                  .arg(rounds->foreign));
    }
    print(QStringLiteral("  goal %1").arg(met ? QStringLiteral("met") : QStringLiteral("MISSED")));
    return 0;
}
