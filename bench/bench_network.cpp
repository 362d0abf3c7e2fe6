// bench_network: the bus through a serial server on loopback against the
// local pseudo-terminal, measured side by side in one run. The settings
// editor's full read (tables 0..7, 15, 17, 19, 20, 5 ms apart) at 9600 baud
// with the simulator pacing its replies, and the table-16 exchange against
// the floor of plain POSIX calls on a pty. ser2net runs in its default
// configuration (no nodelay), where a purge before each request would cost
// a delayed acknowledgement each time.
#include "bus_protocol.h"
#include "param_record.h"
#include "raw_pty.h"
#include "serial_line.h"
#include "serial_server.h"
#include "sim_process.h"
#include "summary.h"

#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

namespace {

constexpr std::array kFullReadTables{0, 1, 2, 3, 4, 5, 6, 7, 15, 17, 19, 20};
constexpr auto kPause = std::chrono::milliseconds(5);
constexpr int kFullReadBaud = 9600;
constexpr int kFullReads = 12;
constexpr int kExchanges = 1000;
constexpr int kWarmUp = 50;
constexpr double kFullReadGoal = 1.05;
constexpr double kSer2netGoal = 1.10;

// Read request for table 16 (length 18) to address 0 from address 0.
constexpr std::array<uint8_t, raw_pty::kRequestLength> kRequest{0x68, 0x07, 0x07, 0x68, 0x00, 0x00, 0x6C,
                                                                0x01, 0x10, 0x12, 0x00, 0x8F, 0x16};

void print(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
}

// A simulator and the program's line to it, locally or through a server.
struct Path {
    QString name;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<SerialServer> server;
    std::unique_ptr<SerialLine> line;
    std::vector<double> microseconds;
};

// simulatorBaud 0: replies without pacing.
std::unique_ptr<Path> startPath(const QString& name, std::optional<SerialServer::Kind> kind,
                                int simulatorBaud)
{
    auto path = std::make_unique<Path>();
    path->name = name;
    path->sim = std::make_unique<SimProcess>(QStringList{"--baud", QString::number(simulatorBaud)});
    if (!path->sim->start())
        return nullptr;
    QString device = path->sim->portPath();
    if (kind) {
        path->server = std::make_unique<SerialServer>(*kind, device);
        if (!path->server->start())
            return nullptr;
        device = path->server->address();
    }
    path->line = std::make_unique<SerialLine>();
    path->line->setBaudRate(kFullReadBaud);
    path->line->OpenDevice(device);
    return path;
}

void printGoal(const QString& what, double ratio, double goal)
{
    print(QStringLiteral("  %1 %2, goal <= %3: %4")
              .arg(what)
              .arg(ratio, 0, 'f', 3)
              .arg(goal, 0, 'f', 2)
              .arg(ratio <= goal ? QStringLiteral("met") : QStringLiteral("MISSED")));
}

bool fullRead()
{
    for (int table : kFullReadTables) {
        std::this_thread::sleep_for(kPause);
        if (bus_protocol::ReadTable(table) != 1)
            return false;
    }
    return true;
}

// Rounds taken in turn, so that a slow spell of the machine hits every path alike.
bool measure(std::vector<std::unique_ptr<Path>>& paths, int rounds, int perRound,
             const std::function<bool()>& once)
{
    for (int round = -1; round < rounds; ++round) {
        for (auto& path : paths) {
            bus_protocol::AttachPort(path->line.get());
            for (int i = 0; i < (round < 0 ? 1 : perRound); ++i) {
                const auto start = BenchClock::now();
                if (!once())
                    return false;
                if (round >= 0)
                    path->microseconds.push_back(microsecondsSince(start));
            }
        }
    }
    bus_protocol::AttachPort(nullptr);
    return true;
}

std::vector<std::unique_ptr<Path>> startPaths(int simulatorBaud)
{
    std::vector<std::unique_ptr<Path>> paths;
    paths.push_back(startPath(QStringLiteral("local pty"), std::nullopt, simulatorBaud));
    paths.push_back(startPath(QStringLiteral("raw TCP (socat)"), SerialServer::Kind::RawTcp, simulatorBaud));
    paths.push_back(
        startPath(QStringLiteral("RFC 2217 (python3-serial)"), SerialServer::Kind::Rfc2217, simulatorBaud));
    paths.push_back(
        startPath(QStringLiteral("RFC 2217 (ser2net)"), SerialServer::Kind::Ser2net, simulatorBaud));
    for (const auto& path : paths) {
        if (!path)
            return {};
    }
    return paths;
}

bool benchFullRead()
{
    std::vector<std::unique_ptr<Path>> paths = startPaths(kFullReadBaud);
    if (paths.empty() || !measure(paths, kFullReads, 1, fullRead))
        return false;
    print(QStringLiteral("full read of %1 tables at %2 baud, %3 reads per path")
              .arg(kFullReadTables.size())
              .arg(kFullReadBaud)
              .arg(kFullReads));
    const double local = summarize(paths[0]->microseconds).medianUs;
    for (const auto& path : paths) {
        const double median = summarize(path->microseconds).medianUs;
        print(QStringLiteral("  %1 median %2 ms, / local pty %3")
                  .arg(path->name + u':', -28)
                  .arg(median / 1000, 0, 'f', 1)
                  .arg(median / local, 0, 'f', 3));
    }
    const double raw = summarize(paths[1]->microseconds).medianUs;
    printGoal(QStringLiteral("raw TCP / local pty"), raw / local, kFullReadGoal);
    printGoal(QStringLiteral("ser2net / raw TCP"), summarize(paths[3]->microseconds).medianUs / raw,
              kSer2netGoal);
    return true;
}

bool benchExchange()
{
    raw_pty::Responder floorResponder;
    raw_pty::Requester floorRequester(floorResponder.slavePath());
    std::vector<std::unique_ptr<Path>> paths = startPaths(0);
    if (!floorResponder.isRunning() || paths.empty())
        return false;
    Path floor;
    for (int i = 0; i < kWarmUp + kExchanges; ++i) {
        const auto start = BenchClock::now();
        if (!floorRequester.exchange(kRequest))
            return false;
        if (i >= kWarmUp)
            floor.microseconds.push_back(microsecondsSince(start));
    }
    if (!measure(paths, 5, kExchanges / 5, [] { return bus_protocol::ReadTable(16) == 1; }))
        return false;
    const Summary floorSummary = summarize(floor.microseconds);
    print(QStringLiteral("table-16 exchange, %1 per path, simulator without pacing").arg(kExchanges));
    print(QStringLiteral("  %1 %2")
              .arg(QStringLiteral("floor (raw pty requester + responder):"), -40)
              .arg(describe(floorSummary)));
    for (const auto& path : paths) {
        const Summary summary = summarize(path->microseconds);
        print(QStringLiteral("  %1 %2, median / floor %3")
                  .arg(QStringLiteral("program, ") + path->name + u':', -40)
                  .arg(describe(summary))
                  .arg(summary.medianUs / floorSummary.medianUs, 0, 'f', 2));
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    print(QStringLiteral("bench_network: serial servers on loopback in front of the simulator"));
    if (!benchFullRead() || !benchExchange()) {
        std::fprintf(stderr, "bench_network: a server, the simulator or an exchange failed\n");
        return 1;
    }
    return 0;
}
