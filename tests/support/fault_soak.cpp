#include "fault_soak.h"

#include "bus_protocol.h"
#include "param_record.h"
#include "serial_line.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

namespace {

constexpr int kReplyHeader = 7;         // the table's data follows the SD2 header
constexpr qint64 kHangMs = 3000;        // read 1010 ms + settle 1000 ms at the most
constexpr int kFaultPercent = 4;        // of the exchanges, a fault starts
constexpr int kVanishPerFaults = 8;     // one fault in so many is the device vanishing
constexpr int kPollWhileAbsentMs = 20;  // the gap between exchanges while the device is away
constexpr qint64 kReturnLimitMs = 10000;
constexpr int kLineBaud = 115200;
// Tables 15 and 16 move by themselves: no fixed truth to hold their reads to.
constexpr int kClockTable = 15;
constexpr int kMeasuredTable = 16;

} // namespace

FaultSoak::FaultSoak(QString portDirectory, unsigned seed)
    : m_portDirectory(std::move(portDirectory)), m_random(seed)
{
}

FaultSoak::~FaultSoak() { bus_protocol::AttachPort(nullptr); }

bool FaultSoak::startSim()
{
    m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1", "--baud", "0"});
    if (!m_sim->start())
        return false;
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(m_portDirectory + QStringLiteral("/COM1")) && waited.elapsed() < 5000)
        QThread::msleep(5);
    return QFileInfo::exists(m_portDirectory + QStringLiteral("/COM1"));
}

bool FaultSoak::start()
{
    if (!startSim())
        return false;
    m_line = std::make_unique<SerialLine>();
    m_line->setPortNumber(1);
    m_line->setBaudRate(kLineBaud);
    m_line->OpenPort(1);
    bus_protocol::AttachPort(m_line.get());
    bus_protocol::SetDestinationAddress(0);
    bus_protocol::SetSourceAddress(0);
    return learnTables();
}

// What the regulator holds, from its own side, and which tables the program
// can read and write back.
bool FaultSoak::learnTables()
{
    m_readable.clear();
    m_writable.clear();
    for (int table = 0; table < kTableCount; ++table) {
        const bool hasLayout = !TableFields(table, param_record).empty();
        if (!hasLayout || table == kClockTable || table == kMeasuredTable || !bus_protocol::ReadTable(table))
            continue;
        m_truth[table] = m_sim->table(table);
        m_readable.append(table);
        if (bus_protocol::WriteTable(table))
            m_writable.append(table);
    }
    return !m_readable.isEmpty();
}

int FaultSoak::randomBelow(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

void FaultSoak::note(const QString& what)
{
    if (m_figures.notes.size() < 20)
        m_figures.notes.append(what);
}

bool FaultSoak::timed(int (*operation)(int), int table)
{
    QElapsedTimer took;
    took.start();
    const bool ok = operation(table) == 1;
    ++m_figures.exchanges;
    if (took.elapsed() > kHangMs) {
        ++m_figures.hangs;
        note(QStringLiteral("an exchange with table %1 took %2 ms").arg(table).arg(took.elapsed()));
    }
    return ok;
}

bool FaultSoak::readOne(int table)
{
    const bool ok = timed(bus_protocol::ReadTable, table);
    const auto length = table_length[table];
    const QByteArray data(reinterpret_cast<const char*>(bus_protocol::rx_buffer.data()) + kReplyHeader, length);
    if (ok && data != m_truth[table]) {
        ++m_figures.wrongValuesAccepted;
        note(QStringLiteral("table %1 taken as %2").arg(table).arg(QString::fromLatin1(data.toHex())));
    }
    return ok;
}

// A read of a table, now and then followed by writing it back unchanged.
bool FaultSoak::exchange()
{
    const int table = m_readable[randomBelow(int(m_readable.size()))];
    if (!readOne(table))
        return false;
    if (!m_writable.contains(table) || randomBelow(4) != 0)
        return true;
    return timed(bus_protocol::WriteTable, table);
}

void FaultSoak::run(int exchanges)
{
    while (m_figures.exchanges < exchanges) {
        if (randomBelow(100) >= kFaultPercent) {
            if (!exchange()) {
                ++m_figures.failedWithoutFault;
                note(QStringLiteral("a fault-free exchange failed"));
            }
            continue;
        }
        injectFault();
    }
}

void FaultSoak::injectFault()
{
    ++m_figures.faults;
    const auto fault = randomBelow(kVanishPerFaults) == 0 ? Fault::Vanish : Fault(randomBelow(int(Fault::Vanish)));
    if (fault == Fault::Vanish)
        return vanishAndReturn();
    const int table = m_readable[randomBelow(int(m_readable.size()))];
    const QString command = [&] {
        switch (fault) {
        case Fault::CorruptChecksum: return QStringLiteral("corrupt-checksum 1");
        case Fault::CorruptByte: return QStringLiteral("corrupt-byte 1");
        case Fault::Short: return QStringLiteral("short %1").arg(1 + randomBelow(6));
        case Fault::Late: return QStringLiteral("late %1").arg(50 + randomBelow(900));
        case Fault::Noise: return QStringLiteral("noise %1").arg(1 + randomBelow(20));
        case Fault::Silence: return QStringLiteral("silent on");
        case Fault::Refusal: return QStringLiteral("refuse %1").arg(table);
        case Fault::Vanish: break;
        }
        return QString();
    }();
    m_sim->command(command);
    for (int during = 1 + randomBelow(3); during > 0; --during) {
        if (fault == Fault::Refusal && m_writable.contains(table))
            timed(bus_protocol::WriteTable, table);
        else
            readOne(table);
    }
    clearFault(fault);
    ++m_figures.checksAfterFault;
    if (exchange())
        ++m_figures.goodAfterFault;
    else
        note(QStringLiteral("the exchange after \"%1\" failed").arg(command));
}

void FaultSoak::clearFault(Fault fault)
{
    static const QStringList kOff{"corrupt-checksum 0", "corrupt-byte 0", "short 0", "late 0", "noise 0", "silent off"};
    if (fault == Fault::Refusal) {
        for (int table : m_readable)
            m_sim->command(QStringLiteral("accept %1").arg(table));
        return;
    }
    m_sim->command(kOff[int(fault)]);
}

// The device vanishes between two exchanges, the program tries on meanwhile,
// and the time from its return to the first good exchange is taken.
void FaultSoak::vanishAndReturn()
{
    ++m_figures.vanishings;
    m_sim->kill();
    for (int tries = 1 + randomBelow(5); tries > 0; --tries) {
        if (exchange())
            note(QStringLiteral("an exchange with the device away succeeded"));
        QThread::msleep(kPollWhileAbsentMs);
    }
    if (!startSim()) {
        note(QStringLiteral("the simulator did not start again"));
        return;
    }
    // From here the device is back; its tables are read from its own side.
    QElapsedTimer back;
    back.start();
    for (int table : m_readable)
        m_truth[table] = m_sim->table(table);
    bool good = false;
    while (!good && back.elapsed() < kReturnLimitMs) {
        good = exchange();
        if (!good)
            QThread::msleep(kPollWhileAbsentMs);
    }
    m_figures.returnsMs.append(double(back.nsecsElapsed()) / 1e6);
    ++m_figures.checksAfterFault;
    if (good)
        ++m_figures.goodAfterFault;
    else
        note(QStringLiteral("no good exchange within %1 ms of the device's return").arg(kReturnLimitMs));
}
