// bench_late_sweep: a regulator that answers d ms late, for d from just after
// the read time-out to beyond twice it. Two ways a late answer could be taken
// for another: qzr17ctl reading tables 1 and 2 (the same length) in two runs
// back to back, and the settings window's week read (days 8..14, 5 ms apart)
// through the protocol module. Counts the tables and days accepted with
// another one's data; none may be, at any lateness. Then what the checks of a
// line in doubt cost: a write that builds on a read, and a week read and
// write, at 9600 baud on a good line and a minute after a failure, in
// interleaved rounds.
#include "bus_protocol.h"
#include "param_record.h"
#include "serial_line.h"
#include "sim_process.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr std::array kLateMs{520, 600, 700, 800, 900, 1000, 1100, 1200, 1400, 1600};
constexpr int kRunPairs = 4; // qzr17ctl read 1, then read 2, per delay
constexpr int kWeekReads = 1; // seven day reads per delay
constexpr auto kDayPause = std::chrono::milliseconds(5);
constexpr int kFirstDay = 8;
constexpr int kDays = 7;
constexpr int kTableOne = 1;
constexpr int kTableTwo = 2;
constexpr int kRunTimeoutMs = 20000;

struct Count {
    int right = 0;
    int failed = 0;
    int wrong = 0;
    void add(const Count& other)
    {
        right += other.right;
        failed += other.failed;
        wrong += other.wrong;
    }
};

// The window within which no late answer to a read of the table may be taken.
int guardedMs(int table) { return static_cast<int>(2 * PortIo::readTimeout(table_length[table] + 9).count()); }

QString countText(const Count& count)
{
    return QStringLiteral("right %1, failed %2, wrong %3").arg(count.right).arg(count.failed).arg(count.wrong);
}

void print(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class Sweep {
public:
    explicit Sweep(const QString& configDir) : m_configDir(configDir) {}

    bool start()
    {
        m_sim = std::make_unique<SimProcess>();
        if (!m_sim->start())
            return false;
        // Distinct contents, so that another table's or day's data shows.
        bool set = m_sim->setTable(kTableOne, QByteArray::fromHex("0101" "41200000" "41A00000")) &&
                   m_sim->setTable(kTableTwo, QByteArray::fromHex("0202" "40A00000" "42C80000"));
        for (int day = 0; day < kDays; ++day) {
            QByteArray record = QByteArray::fromHex("3F800000" "40000000" "40400000" "40800000" "0102030400000000");
            record[20] = static_cast<char>(day);
            set = set && m_sim->setTable(kFirstDay + day, record);
            m_days[static_cast<size_t>(day)] = record;
        }
        m_expectedTwo = ctlRun({"read", "2"}).second;
        return set && !m_expectedTwo.isEmpty();
    }

    Count runPairs(int lateMs)
    {
        Count count;
        setLate(lateMs);
        for (int pair = 0; pair < kRunPairs; ++pair) {
            ctlRun({"read", "1"});
            const auto [ok, out] = ctlRun({"read", "2"});
            if (!ok)
                ++count.failed;
            else if (out == m_expectedTwo)
                ++count.right;
            else
                ++count.wrong;
        }
        return count;
    }

    Count weekReads(int lateMs)
    {
        Count count;
        setLate(lateMs);
        SerialLine line;
        line.OpenDevice(m_sim->portPath());
        bus_protocol::AttachPort(&line);
        for (int week = 0; week < kWeekReads; ++week) {
            for (int day = kFirstDay; day < kFirstDay + kDays; ++day) {
                if (bus_protocol::ReadTable(day) != 1)
                    ++count.failed;
                else if (received(day) == m_days[static_cast<size_t>(day - kFirstDay)])
                    ++count.right;
                else
                    ++count.wrong;
                std::this_thread::sleep_for(kDayPause);
            }
        }
        bus_protocol::AwaitLateAnswers();
        bus_protocol::AttachPort(nullptr);
        return count;
    }

private:
    // Answered once the simulator has sent every late reply still due.
    void setLate(int lateMs) { m_sim->command(QStringLiteral("late %1").arg(lateMs), 5000); }

    static QByteArray received(int table)
    {
        const auto* data = reinterpret_cast<const char*>(bus_protocol::rx_buffer.data()) + 7;
        return QByteArray(data, table_length[table]);
    }

    std::pair<bool, QByteArray> ctlRun(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configDir);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_configDir);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QZR17CTL_PATH), QStringList{"--port", m_sim->portPath()} + arguments);
        if (!process.waitForFinished(kRunTimeoutMs)) {
            process.kill();
            process.waitForFinished();
            return {false, {}};
        }
        const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        return {ok, process.readAllStandardOutput()};
    }

    QString m_configDir;
    std::unique_ptr<SimProcess> m_sim;
    QByteArray m_expectedTwo;
    std::array<QByteArray, kDays> m_days;
};

// The checks' cost: the same work on a good line and on a line in doubt.
class CheckCost {
public:
    bool start()
    {
        m_sim = std::make_unique<SimProcess>(QStringList{"--baud", "9600"});
        if (!m_sim->start())
            return false;
        m_line.setBaudRate(9600);
        m_line.OpenDevice(m_sim->portPath());
        return true;
    }

    void run()
    {
        for (int round = 0; round < kRounds; ++round) {
            for (bool doubt : {false, true}) {
                measure(m_writeMs[doubt], m_writeTelegrams[doubt], doubt, [] {
                    return bus_protocol::ReadTable(kTableOne) && bus_protocol::WriteTable(kTableOne);
                });
                measure(m_weekMs[doubt], m_weekTelegrams[doubt], doubt, [] {
                    bool ok = true;
                    for (int day = kFirstDay; day < kFirstDay + kDays; ++day)
                        ok = bus_protocol::ReadTable(day) && ok;
                    for (int day = kFirstDay; day < kFirstDay + kDays; ++day)
                        ok = ok && bus_protocol::WriteTable(day);
                    return ok;
                });
            }
        }
        bus_protocol::SetFailureListener({});
        bus_protocol::AttachPort(nullptr);
        m_line.setTrafficTap({});
    }

    void print() const
    {
        ::print(QStringLiteral("  checks of a line in doubt at 9600 baud, %1 interleaved rounds, median ms (telegrams):")
                    .arg(kRounds));
        line(QStringLiteral("write building on a read (table 1)"), m_writeMs, m_writeTelegrams);
        line(QStringLiteral("week read and write (tables 8..14)"), m_weekMs, m_weekTelegrams);
        ::print(QStringLiteral("  failed checks: %1 (goal 0)").arg(m_failures));
    }

private:
    static constexpr int kRounds = 15;

    template <typename Work>
    void measure(std::vector<double>& ms, int& telegrams, bool doubt, Work work)
    {
        bus_protocol::AttachPort(&m_line);
        if (doubt) {
            const auto now = PortIo::Clock::now();
            bus_protocol::TakeOverFailure({{bus_protocol::GetDestinationAddress(), {now, 1, now, now}}});
        }
        int sent = 0;
        m_line.setTrafficTap([&sent](SerialLine::Direction direction, auto, const QByteArray&) {
            sent += direction == SerialLine::Direction::Tx;
        });
        const auto start = PortIo::Clock::now();
        if (!work())
            ++m_failures;
        ms.push_back(std::chrono::duration<double, std::milli>(PortIo::Clock::now() - start).count());
        telegrams = sent;
    }

    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0 : values[values.size() / 2];
    }

    static void line(const QString& what, const std::vector<double> (&ms)[2], const int (&telegrams)[2])
    {
        const double good = median(ms[0]);
        const double doubt = median(ms[1]);
        ::print(QStringLiteral("    %1: good line %2 (%3), in doubt %4 (%5), in doubt / good %6")
                    .arg(what).arg(good, 0, 'f', 1).arg(telegrams[0]).arg(doubt, 0, 'f', 1).arg(telegrams[1])
                    .arg(doubt / good, 0, 'f', 2));
    }

    std::unique_ptr<SimProcess> m_sim;
    SerialLine m_line;
    std::vector<double> m_writeMs[2];
    std::vector<double> m_weekMs[2];
    int m_writeTelegrams[2] = {};
    int m_weekTelegrams[2] = {};
    int m_failures = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir config;
    Sweep sweep(config.path());
    if (!config.isValid() || !sweep.start()) {
        std::fprintf(stderr, "bench_late_sweep: the simulator or the first read failed\n");
        return 1;
    }
    const int tableWindow = guardedMs(kTableOne);
    const int dayWindow = guardedMs(kFirstDay);
    print(QStringLiteral("bench_late_sweep: regulator late by d ms; per d %1 qzr17ctl pairs (read 1, read 2) and "
                         "%2 week read(s) of %3 days")
              .arg(kRunPairs).arg(kWeekReads).arg(kDays));
    print(QStringLiteral("  guarded: tables 1/2 up to %1 ms, days up to %2 ms (twice the read time-out)")
              .arg(tableWindow).arg(dayWindow));
    Count tablesWithin, tablesBeyond, daysWithin, daysBeyond;
    for (int late : kLateMs) {
        const Count tables = sweep.runPairs(late);
        const Count days = sweep.weekReads(late);
        (late <= tableWindow ? tablesWithin : tablesBeyond).add(tables);
        (late <= dayWindow ? daysWithin : daysBeyond).add(days);
        print(QStringLiteral("  d %1 ms: table 2 after table 1: %2; days: %3")
                  .arg(late, 4).arg(countText(tables), countText(days)));
    }
    print(QStringLiteral("  within twice the time-out: tables %1; days %2; goal 0 wrong: %3")
              .arg(countText(tablesWithin), countText(daysWithin),
                   tablesWithin.wrong + daysWithin.wrong == 0 ? QStringLiteral("met") : QStringLiteral("MISSED")));
    print(QStringLiteral("  beyond: tables %1; days %2; goal 0 wrong: %3")
              .arg(countText(tablesBeyond), countText(daysBeyond),
                   tablesBeyond.wrong + daysBeyond.wrong == 0 ? QStringLiteral("met") : QStringLiteral("MISSED")));
    CheckCost cost;
    if (!cost.start()) {
        std::fprintf(stderr, "bench_late_sweep: the paced simulator did not start\n");
        return 1;
    }
    cost.run();
    cost.print();
    return 0;
}
