// bench_watch: qzr17ctl watch run in-process for a day of readings at one a
// second, compressed: the simulator answers at full speed on a pseudo-
// terminal, a stepped clock counts the seconds, every reading is logged and
// published to a real mosquitto broker. Memory at 1,000 and at 100,000
// readings side by side; then the broker killed and started again 100 times
// while the readings go on, with the open files counted before and after.
// First, qzr17ctl watch as a process frozen (SIGSTOP) time and again: how
// long Debian's mosquitto takes to send its last will, against the 15 s the
// README promises.
#include "link_setup.h"
#include "mqtt_broker.h"
#include "sim_process.h"
#include "stepped_clock.h"
#include "summary.h"
#include "watch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kEarly = 1000;
constexpr int kDay = 100000;
constexpr int kRestarts = 100;
constexpr double kMemoryGoalBytes = 1024 * 1024;
constexpr int kWaitLimitMs = 30000;
constexpr int kFreezes = 8;
constexpr double kWillGoalSeconds = 15;

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

// Each freeze comes at another moment of the keep-alive cycle: the watch
// runs a little longer each time.
bool measureLastWill(MqttBroker& broker)
{
    SimProcess sim;
    if (!sim.start())
        return false;
    std::vector<double> delays;
    for (int freeze = 0; freeze < kFreezes; ++freeze) {
        const QString name = QStringLiteral("vule%1").arg(freeze);
        const QString availability = QStringLiteral("kv36/%1/availability").arg(name);
        QProcess watch;
        watch.start(QStringLiteral(QZR17CTL_PATH), {"--port", sim.portPath(), "watch", "--interval", "1",
                                                    "--mqtt", broker.address(), "--name", name});
        if (broker.waitFor(availability, "online").value(0) != "online")
            return false;
        QThread::msleep(700 * freeze);
        ::kill(pid_t(watch.processId()), SIGSTOP);
        const auto frozen = BenchClock::now();
        const bool told =
            broker.waitFor(availability, "offline", kWaitLimitMs / 1000).join(u' ').endsWith("offline");
        delays.push_back(microsecondsSince(frozen) / 1e6);
        watch.kill();
        watch.waitForFinished();
        if (!told)
            return false;
    }
    QStringList each;
    for (double delay : delays)
        each << QString::number(delay, 'f', 1);
    const double longest = *std::max_element(delays.begin(), delays.end());
    print(
        QStringLiteral("  last will after a frozen watch (keep-alive %1 s), %2 freezes: %3 s; longest %4 s, "
                       "goal <= %5 s: %6")
            .arg(MqttPublisher::kKeepAliveSeconds)
            .arg(kFreezes)
            .arg(each.join(QStringLiteral(", ")))
            .arg(longest, 0, 'f', 1)
            .arg(kWillGoalSeconds, 0, 'f', 0)
            .arg(longest <= kWillGoalSeconds ? QStringLiteral("met") : QStringLiteral("MISSED")));
    return true;
}

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
    if (!measureLastWill(broker))
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
