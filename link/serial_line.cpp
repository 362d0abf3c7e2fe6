#include "serial_line.h"

#include "app_error.h"
#include "port_names.h"

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
    if (portDeviceUnplugged(name)) {
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
    if (!openDevice(path))
        failAndReset(QCoreApplication::translate("SerialLine", "Sériový port %1 nelze otevřít").arg(name),
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

bool SerialLine::openDevice(const QString& path)
{
    // The line settings go in before open(): a pseudo-terminal refuses a later
    // change of parity, and the settings given here are applied while opening.
    m_serial.setPortName(path);
    m_serial.setBaudRate(m_baudRate);
    m_serial.setDataBits(QSerialPort::Data8);
    m_serial.setParity(QSerialPort::EvenParity);
    m_serial.setStopBits(QSerialPort::OneStop);
    m_serial.setReadBufferSize(kQueueSize);
    if (!m_serial.open(QIODevice::ReadWrite)) {
        m_serial.clearError();
        return false;
    }
    PurgeTransmit();
    PurgeReceive();
    return true;
}

// The handle of a vanished device stays dead even when the device comes back.
void SerialLine::dropVanishedDevice()
{
    m_serial.close();
    m_serial.clearError();
    m_deviceLost = true;
    m_lastReopen = Clock::now();
}

// No message and no wait: an absent device fails the open at once, and the
// exchange then fails as on a port that is not open. The device is looked for
// only where the lost one was: a removed entry leads nowhere, not to a ttyS.
bool SerialLine::reopenIfLost()
{
    if (!m_deviceLost)
        return m_serial.isOpen();
    if (Clock::now() - m_lastReopen < Ms(kReopenIntervalMs))
        return false;
    m_lastReopen = Clock::now();
    if (m_openedByEntry && !hasPortEntry(m_openedName))
        return false;
    if (!openDevice(devicePathFor(m_openedName)))
        return false;
    m_deviceLost = false;
    return true;
}

bool SerialLine::deviceError() const
{
    const QSerialPort::SerialPortError error = m_serial.error();
    return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
}

void SerialLine::ApplyLineSettings()
{
    // The rate of a lost device is applied when it is opened again.
    if (m_deviceLost)
        return;
    const QString name = currentName();
    if (m_serial.isOpen() && (m_serial.baudRate() == m_baudRate || m_serial.setBaudRate(m_baudRate)))
        return;
    failAndReset(QCoreApplication::translate("SerialLine", "Nepodařila se reinicializace portu %1").arg(name),
                 true);
}

void SerialLine::failAndReset(const QString& message, bool closeFirst)
{
    if (closeFirst && m_serial.isOpen())
        m_serial.close();
    m_serial.clearError();
    m_portNumber = 0;
    m_explicitPath.clear();
    if (m_onPortLost)
        m_onPortLost();
    throw AppError(message);
}

void SerialLine::ClosePort()
{
    m_serial.close();
    m_deviceLost = false;
}

// What is dropped is seen first: a late reply shows as the dropped bytes it is.
void SerialLine::PurgeReceive()
{
    if (!m_serial.isOpen())
        return;
    dropArrived();
    m_serial.clear(QSerialPort::Input);
    m_serial.readAll(); // what Qt had already taken from the device
}

// Drops what Qt took from the driver while the event loop ran and what the
// driver holds now, without waiting. The rounds are bounded: a line that
// chatters on is not read for ever.
void SerialLine::dropArrived()
{
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        if (m_serial.bytesAvailable() == 0 && !m_serial.waitForReadyRead(0))
            break;
        const QByteArray dropped = m_serial.readAll();
        tap(Direction::RxDropped, dropped.constData(), dropped.size());
        m_lastByte = Clock::now();
    }
    if (m_serial.error() == QSerialPort::TimeoutError)
        m_serial.clearError();
}

void SerialLine::PurgeTransmit()
{
    if (m_serial.isOpen())
        m_serial.clear(QSerialPort::Output);
}

bool SerialLine::waitForBytes(int milliseconds, bool& deviceGone)
{
    if (milliseconds <= 0)
        return false;
    if (m_serial.waitForReadyRead(milliseconds))
        return true;
    // After the device has vanished the wait fails at once with another
    // error than a time-out; reading on would only spin.
    deviceGone = deviceError();
    m_serial.clearError();
    return false;
}

void SerialLine::tap(Direction direction, const char* bytes, qint64 count) const
{
    if (m_tap && count > 0)
        m_tap(direction, Clock::now(), QByteArray(bytes, count));
}

void SerialLine::DropUntilQuiet(Clock::time_point until)
{
    if (!m_serial.isOpen())
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
    m_serial.clearError();
    if (deviceGone)
        dropVanishedDevice();
}

bool SerialLine::ReadPort(uint8_t* buffer, int count, uint32_t& received)
{
    received = 0;
    if (!m_serial.isOpen())
        return false;
    const auto deadline = Clock::now() + readTimeout(count);
    bool deviceGone = false;
    while (received < static_cast<uint32_t>(count)) {
        if (m_serial.bytesAvailable() > 0) {
            const qint64 got = m_serial.read(reinterpret_cast<char*>(buffer) + received, count - received);
            if (got < 0) {
                deviceGone = true;
                break;
            }
            received += static_cast<uint32_t>(got);
            m_lastByte = Clock::now();
            continue;
        }
        const int wait = received == 0 ? msUntil(deadline)
                                       : std::min(msUntil(deadline), msUntil(m_lastByte + Ms(kReadIntervalMs)));
        if (!waitForBytes(wait, deviceGone))
            break;
    }
    m_serial.clearError();
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
    m_serial.clearError();
    if (!m_serial.isOpen())
        return false;
    tap(Direction::Tx, reinterpret_cast<const char*>(buffer), count);
    if (m_serial.write(reinterpret_cast<const char*>(buffer), count) != count) {
        if (deviceError())
            dropVanishedDevice();
        return false;
    }
    // The line has no write time-out of its own; this bound only keeps a
    // dead driver from hanging the program: twice the wire time plus a second.
    const int bound = 1000 + 2 * count * 11 * 1000 / std::max(m_baudRate, 1);
    const auto deadline = Clock::now() + Ms(bound);
    while (m_serial.bytesToWrite() > 0 && m_serial.waitForBytesWritten(msUntil(deadline))) {
    }
    written = static_cast<uint32_t>(count - m_serial.bytesToWrite());
    const bool ok = m_serial.bytesToWrite() == 0;
    if (!ok && deviceError()) {
        dropVanishedDevice();
        return false;
    }
    if (!ok)
        m_serial.clear(QSerialPort::Output);
    m_serial.clearError();
    return ok;
}
