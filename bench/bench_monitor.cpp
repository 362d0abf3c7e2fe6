// bench_monitor: the table-16 exchange of bench_exchange with the traffic
// monitor never opened, open and showing, and closed after opening (still
// recording), in interleaved rounds on one line and one simulator; and the
// memory the monitor holds at its 100,000-row limit.
#include "UnitProvoz.h"
#include "bus_protocol.h"
#include "serial_line.h"
#include "sim_process.h"
#include "summary.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>

namespace {

// Many short rounds, the order of the states turning from round to round, so
// that neither a slow spell nor a place in the round favours a state.
constexpr int kRounds = 48;
constexpr int kPerRound = 25;
constexpr int kWarmUp = 20;
// Exchanges start at this pace, as the program's polling starts them: never
// back to back with the screen update of the one before. (Back to back, the
// simulator's idle core makes whatever ran in between look like a cost of
// the exchange.)
constexpr auto kPace = std::chrono::milliseconds(20);
constexpr int kTable = 16;
constexpr double kCostGoal = 1.10;
constexpr double kMemoryGoal = 300.0;

struct State {
    const char* name;
    std::function<void()> enter;
    std::vector<double> exchangeUs;
    std::vector<double> withUpdateUs;
    std::vector<double> roundMedianUs;
    int failures = 0;
};

// Each exchange is timed alone, and again with the event processing that
// follows it in the program: the monitor decodes and shows its rows then.
void measure(State& state, int count)
{
    const size_t before = state.exchangeUs.size();
    state.enter();
    QCoreApplication::processEvents();
    for (int i = 0; i < count; ++i) {
        const auto start = BenchClock::now();
        const bool ok = bus_protocol::ReadTable(kTable) == 1;
        const double exchange = microsecondsSince(start);
        QCoreApplication::processEvents();
        const double withUpdate = microsecondsSince(start);
        if (!ok)
            ++state.failures;
        if (ok) {
            state.exchangeUs.push_back(exchange);
            state.withUpdateUs.push_back(withUpdate);
        }
        std::this_thread::sleep_until(start + kPace);
    }
    const std::vector<double> round(state.exchangeUs.begin() + static_cast<long>(before), state.exchangeUs.end());
    state.roundMedianUs.push_back(summarize(round).medianUs);
}

// The spread of a state's cost against the monitor never opened, round by
// round: the lowest, the middle and the highest of the rounds' ratios.
QString spread(const State& state, const State& base)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < state.roundMedianUs.size() && i < base.roundMedianUs.size(); ++i)
        ratios.push_back(state.roundMedianUs[i] / base.roundMedianUs[i]);
    std::sort(ratios.begin(), ratios.end());
    const auto at = [&ratios](double fraction) {
        return ratios[std::min(ratios.size() - 1, static_cast<size_t>(fraction * double(ratios.size())))];
    };
    return QStringLiteral("rounds' ratios: lowest %1, quartiles %2 / %3 / %4, highest %5")
        .arg(ratios.front(), 0, 'f', 3).arg(at(0.25), 0, 'f', 3).arg(at(0.5), 0, 'f', 3).arg(at(0.75), 0, 'f', 3)
        .arg(ratios.back(), 0, 'f', 3);
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A table-16 reply with random measured values and a correct checksum.
QByteArray randomReply(QRandomGenerator& random)
{
    QByteArray reply = QByteArray::fromHex("681515680000080000000000000000000000000000000000000000");
    uint8_t sum = 0x08;
    for (int i = 7; i < 25; ++i) {
        reply[i] = static_cast<char>(random.bounded(256));
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(reply[i]));
    }
    reply[25] = static_cast<char>(sum);
    reply[26] = 0x16;
    return reply;
}

// Bytes a row held by a shown monitor filled past its limit with polling
// traffic, each telegram in a buffer of its own as the line's tap hands it over.
double bytesPerRowAtLimit()
{
    Tprovoz monitor;
    monitor.show();
    QCoreApplication::processEvents();
    const QByteArray request = QByteArray::fromHex("6807076800006C011012008F16");
    QRandomGenerator random(16);
    const size_t before = heapInUse();
    auto at = SerialLine::Clock::now();
    const int exchanges = static_cast<int>(TrafficModel::kRowLimit);
    for (int i = 0; i < exchanges; ++i) {
        monitor.recorder().record(SerialLine::Direction::Tx, at, QByteArray(request.constData(), request.size()));
        monitor.recorder().record(SerialLine::Direction::Rx, at, randomReply(random));
        at += std::chrono::milliseconds(1000);
        if (i % 1000 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const size_t held = heapInUse() - before;
    return double(held) / double(monitor.model().rowCount());
}

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SimProcess sim;
    if (!sim.start()) {
        std::fprintf(stderr, "bench_monitor: could not start the simulator\n");
        return 1;
    }
    SerialLine line;
    line.OpenDevice(sim.portPath());
    bus_protocol::AttachPort(&line);
    Tprovoz monitor;

    State states[] = {
        {"monitor never opened", [&] {
             line.setTrafficTap({});
             monitor.hide();
         }, {}, {}},
        {"monitor open and showing", [&] {
             monitor.attach(line);
             monitor.show();
         }, {}, {}},
        {"monitor closed after opening", [&] {
             monitor.attach(line);
             monitor.hide();
         }, {}, {}},
    };
    for (State& state : states) {
        measure(state, kWarmUp);
        state.exchangeUs.clear();
        state.withUpdateUs.clear();
        state.roundMedianUs.clear();
        state.failures = 0;
    }
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < std::size(states); ++i)
            measure(states[(i + static_cast<size_t>(round)) % std::size(states)], kPerRound);
    }

    print(QStringLiteral("bench_monitor: read of table %1, %2 exchanges per state in %3 interleaved rounds")
              .arg(kTable)
              .arg(kRounds * kPerRound)
              .arg(kRounds));
    Summary exchange[std::size(states)];
    Summary withUpdate[std::size(states)];
    for (size_t i = 0; i < std::size(states); ++i) {
        exchange[i] = summarize(states[i].exchangeUs);
        withUpdate[i] = summarize(states[i].withUpdateUs);
        print(QStringLiteral("  %1 exchange %2; with the rows' update %3; failed %4")
                  .arg(QLatin1String(states[i].name) + u':', -30)
                  .arg(describe(exchange[i]), describe(withUpdate[i]))
                  .arg(states[i].failures));
    }
    const double costRatio = exchange[1].medianUs / exchange[0].medianUs;
    print(QStringLiteral("  open and showing / never opened: exchange median %1 (goal <= %2), p99 %3; "
                         "with the rows' update median %4")
              .arg(costRatio, 0, 'f', 3)
              .arg(kCostGoal, 0, 'f', 2)
              .arg(exchange[1].p99Us / exchange[0].p99Us, 0, 'f', 3)
              .arg(withUpdate[1].medianUs / withUpdate[0].medianUs, 0, 'f', 3));
    print(QStringLiteral("    %1").arg(spread(states[1], states[0])));
    print(QStringLiteral("  closed after opening / never opened: exchange median %1")
              .arg(exchange[2].medianUs / exchange[0].medianUs, 0, 'f', 3));
    print(QStringLiteral("    %1").arg(spread(states[2], states[0])));
    bus_protocol::AttachPort(nullptr);

    const double perRow = bytesPerRowAtLimit();
    print(QStringLiteral("  memory held by a shown monitor at %1 rows: %2 bytes a row (goal <= %3)")
              .arg(TrafficModel::kRowLimit)
              .arg(perRow, 0, 'f', 1)
              .arg(kMemoryGoal, 0, 'f', 0));
    const bool met = costRatio <= kCostGoal && perRow <= kMemoryGoal;
    print(QStringLiteral("  goals %1").arg(met ? QStringLiteral("met") : QStringLiteral("MISSED")));
    return 0;
}
