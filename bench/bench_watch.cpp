// bench_watch: qzr17ctl watch run in-process for a day of readings at one a
// second, compressed: the simulator answers at full speed on a pseudo-
// terminal, a stepped clock counts the seconds, every reading is logged and
// published to a real mosquitto broker. Memory at 1,000 and at 100,000
// readings side by side; then the broker killed and started again 100 times
// while the readings go on, with the open files counted before and after.
#include "link_setup.h"
#include "mqtt_broker.h"
#include "sim_process.h"
#include "summary.h"
#include "watch.h"
#include "stepped_clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <cstdio>
#include <functional>

namespace {

constexpr int kEarly = 1000;
constexpr int kDay = 100000;
constexpr int kRestarts = 100;
constexpr double kMemoryGoalBytes = 1024 * 1024;
constexpr int kWaitLimitMs = 30000;


qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

qsizetype openFiles()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size();
}

void print(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
}

struct Run {
    SteppedClock clock;
    Watch* watch;
    bool connected = false;

    void reading()
    {
        clock.step();
        watch->polling().Timer1Timer();
        QCoreApplication::processEvents();
    }

    // Readings go on, a second at a time of the stepped clock, while waiting.
    bool readUntil(const std::function<bool()>& done, int pauseMs = 0)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < kWaitLimitMs) {
            reading();
            QThread::msleep(pauseMs);
        }
        return done();
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    qputenv("KV36_PORT_DIR", dir.path().toLocal8Bit());
    SimProcess sim({"--com", "1"});
    MqttBroker broker;
    if (!sim.start() || !broker.start())
        return 1;
    while (!QFileInfo::exists(dir.filePath("COM1")))
        QThread::msleep(10);
    LinkSettings settings;
    SerialLine line;
    openLine(line, settings);
    const AttachedLink attached(line, settings);
    Watch watch(parseWatchOptions({"--interval", "1", "--log", dir.filePath("den.txt"), "--daily", "--mqtt",
                                   broker.address(), "--name", "bench"}));
    Run run{SteppedClock(QDateTime(QDate(2026, 3, 15), QTime(0, 0))), &watch};
    watch.polling().setClock(&run.clock);
    run.reading();
    auto* publisher = watch.findChild<MqttPublisher*>();
    if (!publisher)
        return 1;
    QObject::connect(publisher, &MqttPublisher::connectionChanged,
                     [&run](bool connected) { run.connected = connected; });
    run.readUntil([&] { return run.connected; });

    const auto started = BenchClock::now();
    qint64 earlyBytes = 0;
    for (int reading = 2; reading <= kDay; ++reading) {
        run.reading();
        if (reading == kEarly)
            earlyBytes = residentBytes();
    }
    const double seconds = microsecondsSince(started) / 1e6;
    const qint64 dayBytes = residentBytes();

    const qsizetype filesBefore = openFiles();
    std::vector<double> returns;
    for (int restart = 0; restart < kRestarts; ++restart) {
        broker.stop();
        if (!run.readUntil([&] { return !run.connected; }, 10) || !broker.start())
            return 1;
        const auto back = BenchClock::now();
        if (!run.readUntil([&] { return run.connected; }, 10))
            return 1;
        returns.push_back(microsecondsSince(back));
    }
    const qsizetype filesAfter = openFiles();
    watch.stop();

    print(
        QStringLiteral("bench_watch: a day of readings at 1 s, compressed (%1 readings in %2 s, %3 ms each), "
                       "logged daily and published")
            .arg(kDay)
            .arg(seconds, 0, 'f', 1)
            .arg(seconds * 1000 / kDay, 0, 'f', 2));
    const double growth = double(dayBytes - earlyBytes);
    print(QStringLiteral(
              "  resident memory at %1 readings: %2 KiB, at %3: %4 KiB, growth %5 KiB (goal <= %6 KiB)")
              .arg(kEarly)
              .arg(earlyBytes / 1024)
              .arg(kDay)
              .arg(dayBytes / 1024)
              .arg(growth / 1024, 0, 'f', 0)
              .arg(kMemoryGoalBytes / 1024, 0, 'f', 0));
    const Summary back = summarize(returns);
    print(QStringLiteral(
              "  %1 broker restarts: open files %2 before, %3 after (goal: no more); publishing again %4")
              .arg(kRestarts)
              .arg(filesBefore)
              .arg(filesAfter)
              .arg(QStringLiteral("after a median %1 s, p99 %2 s")
                       .arg(back.medianUs / 1e6, 0, 'f', 2)
                       .arg(back.p99Us / 1e6, 0, 'f', 2)));
    const bool met = growth <= kMemoryGoalBytes && filesAfter <= filesBefore;
    print(QStringLiteral("  goals %1").arg(met ? QStringLiteral("met") : QStringLiteral("MISSED")));
    return 0;
}
