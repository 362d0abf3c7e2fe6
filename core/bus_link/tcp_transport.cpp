#include "tcp_transport.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

int millisecondsLeft(const QDeadlineTimer& deadline)
{
    return int(deadline.remainingTime());
}

} // namespace

TcpTransport::TcpTransport(NetworkAddress address) : m_address(std::move(address)) {}

TcpTransport::~TcpTransport() = default;

bool TcpTransport::open(int baudRate)
{
    close();
    m_baudRate = baudRate;
    startAttempt();
    m_open = advanceAttempt(kConnectTimeoutMs, false);
    if (!m_open)
        close();
    return m_open;
}

// Called at most once a second while the server is away. A connection still
// under way from the last try is left to finish; one older than the connect
// time-out is given up and tried afresh.
bool TcpTransport::reopen(int baudRate)
{
    m_baudRate = baudRate;
    const bool stale = Clock::now() - m_attemptStarted > std::chrono::milliseconds(kConnectTimeoutMs);
    const bool idle = m_socket.state() == QAbstractSocket::UnconnectedState && !m_lookup.pending();
    if (!connected() && (stale || idle))
        startAttempt();
    if (m_socket.state() == QAbstractSocket::ConnectingState)
        return false;
    m_open = advanceAttempt(kReconnectWaitMs, true);
    return m_open;
}

void TcpTransport::close()
{
    m_open = false;
    m_sessionStarted = false;
    m_socket.abort();
    m_lookup = HostLookup{};
    m_received.clear();
}

void TcpTransport::startAttempt()
{
    m_socket.abort();
    m_sessionStarted = false;
    m_received.clear();
    m_attemptStarted = Clock::now();
    m_lookup.start(m_address.host);
}

// Takes the attempt as far as it gets within msecs. waitForConnected drops a
// connection it stops waiting for; goOnInBackground starts it again, to be
// finished by the event loop.
bool TcpTransport::advanceAttempt(int msecs, bool goOnInBackground)
{
    const QDeadlineTimer deadline(msecs);
    if (m_socket.state() == QAbstractSocket::UnconnectedState) {
        const std::optional<QHostAddress> target = m_lookup.take(millisecondsLeft(deadline));
        if (!target)
            return false;
        m_target = *target;
        m_socket.connectToHost(m_target, m_address.port);
    }
    if (!connected() && !m_socket.waitForConnected(millisecondsLeft(deadline))) {
        if (goOnInBackground && m_socket.error() == QAbstractSocket::SocketTimeoutError)
            m_socket.connectToHost(m_target, m_address.port);
        return false;
    }
    return established();
}

bool TcpTransport::established()
{
    if (!m_sessionStarted) {
        // A request of a dozen bytes must not wait for the previous one's
        // acknowledgement.
        m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_sessionStarted = true;
        m_received.clear();
        startSession(m_baudRate);
    }
    return true;
}

bool TcpTransport::connected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool TcpTransport::broken() const
{
    return m_open && !connected();
}

bool TcpTransport::setBaudRate(int baudRate)
{
    m_baudRate = baudRate;
    return m_open;
}

void TcpTransport::purgeInput()
{
    takeIncoming();
    m_received.clear();
}

void TcpTransport::takeIncoming()
{
    if (m_socket.bytesAvailable() > 0)
        m_received += incoming(m_socket.readAll());
}

bool TcpTransport::receiveMore(int msecs)
{
    if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(msecs))
        return false;
    takeIncoming();
    return true;
}

qint64 TcpTransport::bytesAvailable()
{
    takeIncoming();
    return m_received.size();
}

qint64 TcpTransport::read(char* data, qint64 maxSize)
{
    takeIncoming();
    const qint64 count = std::min<qint64>(maxSize, m_received.size());
    std::memcpy(data, m_received.constData(), static_cast<size_t>(count));
    m_received.remove(0, count);
    return count;
}

QByteArray TcpTransport::readAll()
{
    takeIncoming();
    return std::exchange(m_received, {});
}

// Bytes of the transport's own protocol alone bring nothing for the bus: the
// wait goes on for the rest of the time. A wait of 0 still looks once.
bool TcpTransport::waitForReadyRead(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    takeIncoming();
    while (m_received.isEmpty() && connected()) {
        if (!m_socket.waitForReadyRead(millisecondsLeft(deadline)))
            break;
        takeIncoming();
        if (deadline.hasExpired())
            break;
    }
    return !m_received.isEmpty();
}

qint64 TcpTransport::write(const char* data, qint64 size)
{
    if (!m_open || !connected())
        return -1;
    send(outgoing(QByteArray(data, size)));
    return size;
}

void TcpTransport::send(const QByteArray& bytes)
{
    m_socket.write(bytes);
    m_socket.flush();
}

bool TcpTransport::waitForBytesWritten(int msecs)
{
    return m_socket.waitForBytesWritten(msecs);
}
