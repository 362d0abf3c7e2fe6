#include "tcp_transport.h"

#include <QCoreApplication>
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
    m_failure.clear();
    m_targets.clear();
    m_baudRate = baudRate;
    startAttempt();
    m_open = advanceAttempt(kConnectTimeoutMs, false);
    if (!m_open)
        close();
    return m_open;
}

// Called at most once a second while the server is away. A connection still
// under way from the last try is left to finish; one older than the connect
// time-out is given up and the name's next address tried, or the name looked
// up afresh.
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
    if (m_nextTarget < m_targets.size())
        return;
    m_targets.clear();
    m_nextTarget = 0;
    m_lookup.start(m_address.host);
}

// Connects to the name's next address, looking the name up first when that
// is still to be done; false when there is none to try.
bool TcpTransport::connectNext(int msecs)
{
    if (m_targets.isEmpty()) {
        if (!m_lookup.pending())
            return false;
        const std::optional<QList<QHostAddress>> found = m_lookup.take(msecs);
        if (!found) {
            m_failure =
                QCoreApplication::translate("TcpTransport", "název %1 se nepodařilo včas přeložit na adresu")
                    .arg(m_address.host);
            return false;
        }
        m_targets = *found;
        m_nextTarget = 0;
        if (m_targets.isEmpty()) {
            m_failure = QCoreApplication::translate("TcpTransport", "název %1 nelze přeložit na adresu")
                            .arg(m_address.host);
            return false;
        }
    }
    if (m_nextTarget >= m_targets.size())
        return false;
    m_socket.connectToHost(m_targets[m_nextTarget++], m_address.port);
    return true;
}

// Takes the attempt as far as it gets within msecs, trying every address of
// the name: a refusal goes on to the next at once, and in the foreground the
// time is shared among the addresses left. waitForConnected drops a
// connection it stops waiting for; goOnInBackground starts it again, to be
// finished by the event loop.
bool TcpTransport::advanceAttempt(int msecs, bool goOnInBackground)
{
    const QDeadlineTimer deadline(msecs);
    while (!connected()) {
        if (m_socket.state() == QAbstractSocket::UnconnectedState && !connectNext(millisecondsLeft(deadline)))
            return false;
        const qsizetype untried = m_targets.size() - m_nextTarget;
        const int wait = millisecondsLeft(deadline) / int(goOnInBackground ? 1 : untried + 1);
        if (m_socket.waitForConnected(wait))
            break;
        const QAbstractSocket::SocketError error = m_socket.error();
        m_failure = reasonOf(error);
        if (goOnInBackground && error == QAbstractSocket::SocketTimeoutError) {
            m_socket.connectToHost(m_targets[m_nextTarget - 1], m_address.port);
            return false;
        }
        m_socket.abort();
        if (deadline.hasExpired() || untried == 0)
            return false;
    }
    return established();
}

QString TcpTransport::reasonOf(QAbstractSocket::SocketError error) const
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QCoreApplication::translate("TcpTransport", "server odmítl spojení na portu %1")
            .arg(m_address.port);
    case QAbstractSocket::SocketTimeoutError:
        return QCoreApplication::translate("TcpTransport", "server na žádost o spojení neodpověděl");
    case QAbstractSocket::NetworkError:
        return QCoreApplication::translate("TcpTransport", "síť k serveru není dostupná");
    case QAbstractSocket::RemoteHostClosedError:
        return QCoreApplication::translate("TcpTransport", "server spojení ukončil");
    default:
        return m_socket.errorString();
    }
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
