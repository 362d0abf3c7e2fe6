#include "serial_line.h"

#include "app_error.h"
#include "network_port.h"
#include "port_names.h"
#include "serial_transport.h"
#include "server_entries.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

using Ms = std::chrono::milliseconds;

int msUntil(SerialLine::Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<Ms>(deadline - SerialLine::Clock::now());
    return static_cast<int>(std::max<Ms::rep>(left.count(), 0));
}

} // namespace

SerialLine::SerialLine() = default;
SerialLine::~SerialLine() = default;

QString SerialLine::currentName() const
{
    return m_explicitPath.isEmpty() ? comPortName(m_portNumber) : m_explicitPath;
}

void SerialLine::OpenPort(int number)
{
    m_explicitPath.clear();
    const QString name = comPortName(number);
    open(name, devicePathFor(name));
}

void SerialLine::OpenPortOrAwaitDevice(int number)
{
    const QString name = comPortName(number);
    // A server that cannot be reached is said at once, as any failed open.
    if (!serverFor(name) && portDeviceUnplugged(name)) {
        m_explicitPath.clear();
        awaitDevice(name);
        return;
    }
    OpenPort(number);
}

void SerialLine::OpenDevice(const QString& path)
{
    m_explicitPath = path;
    open(path, devicePathFor(path));
}

void SerialLine::open(const QString& name, const QString& path)
{
    m_deviceLost = false;
    if (!openDevice(name, path))
        failAndReset(QCoreApplication::translate("SerialLine", "Sériový port %1 nelze otevřít")
                             .arg(nameWithServer(name)) +
                         openFailureDetail(m_transport.get(), path),
                     false);
    m_openedName = name;
    m_openedByEntry = hasPortEntry(name);
}

void SerialLine::awaitDevice(const QString& name)
{
    m_openedName = name;
    m_openedByEntry = hasPortEntry(name);
    m_deviceLost = true;
    m_lastReopen = Clock::now() - Ms(kReopenIntervalMs);
}

// A lost port that still leads to the same place keeps its transport, so that
// a connection to a server still under way can be finished.
bool SerialLine::openDevice(const QString& name, const QString& path)
{
    const bool resume = m_deviceLost && m_transport && path == m_transportPath;
    if (!resume) {
        m_server = serverBehind(name, path);
        if (m_server)
            m_transport = networkTransport(*m_server);
        else
            m_transport = std::make_unique<SerialTransport>(path);
        m_transportPath = path;
    }
    if (!(resume ? m_transport->reopen(m_baudRate) : m_transport->open(m_baudRate)))
        return false;
    PurgeTransmit();
    PurgeReceive();
    return true;
}

QString SerialLine::nameWithServer(const QString& name) const
{
    return m_server && m_server->text() != name ? QStringLiteral("%1 (%2)").arg(name, m_server->text())
                                                : name;
}

// The handle of a vanished device stays dead even when the device comes back.
void SerialLine::dropVanishedDevice()
{
    m_transport->close();
    m_transport->clearError();
    m_deviceLost = true;
    m_lastReopen = Clock::now();
}

// No message and no wait: an absent device fails the open at once, and the
// exchange then fails as on a port that is not open. The device is looked for
// only where the lost one was: a removed entry leads nowhere, not to a ttyS.
bool SerialLine::reopenIfLost()
{
    if (!m_deviceLost)
        return isOpen();
    if (Clock::now() - m_lastReopen < Ms(kReopenIntervalMs))
        return false;
    m_lastReopen = Clock::now();
    if (m_openedByEntry && !hasPortEntry(m_openedName))
        return false;
    if (!openDevice(m_openedName, devicePathFor(m_openedName)))
        return false;
    m_deviceLost = false;
    return true;
}

bool SerialLine::deviceError() const
{
    return m_transport && m_transport->broken();
}

void SerialLine::ApplyLineSettings()
{
    // The rate of a lost device is applied when it is opened again.
    if (m_deviceLost)
        return;
    const QString name = currentName();
    if (isOpen() && m_transport->setBaudRate(m_baudRate))
        return;
    failAndReset(QCoreApplication::translate("SerialLine", "Nepodařila se reinicializace portu %1").arg(name),
                 true);
}

void SerialLine::failAndReset(const QString& message, bool closeFirst)
{
    if (closeFirst && isOpen())
        m_transport->close();
    if (m_transport)
        m_transport->clearError();
    m_portNumber = 0;
    m_explicitPath.clear();
    if (m_onPortLost)
        m_onPortLost();
    throw AppError(message);
}

void SerialLine::ClosePort()
{
    if (m_transport)
        m_transport->close();
    m_deviceLost = false;
}

// What is dropped is seen first: a late reply shows as the dropped bytes it is.
void SerialLine::PurgeReceive()
{
    if (!isOpen())
        return;
    dropArrived();
    m_transport->purgeInput();
}

// Drops what Qt took from the driver while the event loop ran and what the
// driver holds now, without waiting. The rounds are bounded: a line that
// chatters on is not read for ever.
void SerialLine::dropArrived()
{
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        if (m_transport->bytesAvailable() == 0 && !m_transport->waitForReadyRead(0))
            break;
        const QByteArray dropped = m_transport->readAll();
        tap(Direction::RxDropped, dropped.constData(), dropped.size());
        m_lastByte = Clock::now();
    }
    if (!m_transport->broken())
        m_transport->clearError();
}

void SerialLine::PurgeTransmit()
{
    if (isOpen())
        m_transport->purgeOutput();
}

bool SerialLine::waitForBytes(int milliseconds, bool& deviceGone)
{
    if (milliseconds <= 0)
        return false;
    if (m_transport->waitForReadyRead(milliseconds))
        return true;
    // After the device has vanished, or the connection dropped, the wait
    // fails at once; reading on would only spin.
    deviceGone = deviceError();
    m_transport->clearError();
    return false;
}

void SerialLine::tap(Direction direction, const char* bytes, qint64 count) const
{
    if (m_tap && count > 0)
        m_tap(direction, Clock::now(), QByteArray(bytes, count));
}

void SerialLine::DropUntilQuiet(Clock::time_point until)
{
    if (!isOpen())
        return;
    const auto giveUp = std::max(until, Clock::now()) + Ms(kSettleLimitMs);
    dropArrived();
    bool deviceGone = false;
    while (!deviceGone) {
        const auto quiet = std::max(until, m_lastByte + Ms(kReadIntervalMs));
        if (!waitForBytes(std::min(msUntil(quiet), msUntil(giveUp)), deviceGone))
            break;
        dropArrived();
    }
    m_transport->clearError();
    if (deviceGone)
        dropVanishedDevice();
}

bool SerialLine::ReadPort(uint8_t* buffer, int count, uint32_t& received)
{
    received = 0;
    if (!isOpen())
        return false;
    const auto deadline = Clock::now() + readTimeout(count);
    bool deviceGone = false;
    while (received < static_cast<uint32_t>(count)) {
        if (m_transport->bytesAvailable() > 0) {
            const qint64 got =
                m_transport->read(reinterpret_cast<char*>(buffer) + received, count - received);
            if (got < 0) {
                deviceGone = true;
                break;
            }
            received += static_cast<uint32_t>(got);
            m_lastByte = Clock::now();
            continue;
        }
        const int wait = received == 0
                             ? msUntil(deadline)
                             : std::min(msUntil(deadline), msUntil(m_lastByte + Ms(kReadIntervalMs)));
        if (!waitForBytes(wait, deviceGone))
            break;
    }
    m_transport->clearError();
    tap(Direction::Rx, reinterpret_cast<const char*>(buffer), received);
    if (deviceGone)
        dropVanishedDevice();
    return !deviceGone;
}

bool SerialLine::WritePort(const uint8_t* buffer, int count, uint32_t& written)
{
    written = 0;
    if (!reopenIfLost())
        return false;
    PurgeReceive();
    PurgeTransmit();
    if (!isOpen())
        return false;
    m_transport->clearError();
    tap(Direction::Tx, reinterpret_cast<const char*>(buffer), count);
    if (m_transport->write(reinterpret_cast<const char*>(buffer), count) != count) {
        if (deviceError())
            dropVanishedDevice();
        return false;
    }
    // The line has no write time-out of its own; this bound only keeps a
    // dead driver from hanging the program: twice the wire time plus a second.
    const int bound = 1000 + 2 * count * 11 * 1000 / std::max(m_baudRate, 1);
    const auto deadline = Clock::now() + Ms(bound);
    while (m_transport->bytesToWrite() > 0 && m_transport->waitForBytesWritten(msUntil(deadline))) {
    }
    // A server's own protocol bytes wait in the same queue as the telegram.
    written = static_cast<uint32_t>(std::max<qint64>(count - m_transport->bytesToWrite(), 0));
    const bool ok = m_transport->bytesToWrite() == 0;
    if (!ok && deviceError()) {
        dropVanishedDevice();
        return false;
    }
    if (!ok)
        m_transport->purgeOutput();
    m_transport->clearError();
    return ok;
}
