#pragma once

#include "host_lookup.h"
#include "line_transport.h"
#include "network_address.h"

#include <QTcpSocket>

#include <chrono>

// The bytes of the bus over a TCP connection to a serial server that passes
// them unchanged; the server's own settings give the line its rate and
// parity. A connection is made within kConnectTimeoutMs or not at all.
class TcpTransport : public LineTransport {
public:
    static constexpr int kConnectTimeoutMs = 3000;
    // How long a reconnect after a loss holds the caller. A connection that
    // takes longer goes on in the background, for the next try to find.
    static constexpr int kReconnectWaitMs = 100;

    explicit TcpTransport(NetworkAddress address);
    ~TcpTransport() override;

    bool open(int baudRate) override;
    bool reopen(int baudRate) override;
    void close() override;
    QString failure() const override { return m_failure; }
    bool isOpen() const override { return m_open; }
    bool broken() const override;
    void clearError() override {}
    bool setBaudRate(int baudRate) override;

    void purgeInput() override;
    void purgeOutput() override {}

    qint64 bytesAvailable() override;
    qint64 read(char* data, qint64 maxSize) override;
    QByteArray readAll() override;
    bool waitForReadyRead(int msecs) override;
    qint64 write(const char* data, qint64 size) override;
    qint64 bytesToWrite() const override { return m_socket.bytesToWrite(); }
    bool waitForBytesWritten(int msecs) override;

protected:
    // A protocol spoken over the connection: what opens a session, and how
    // received and sent bytes translate to and from the bus bytes.
    virtual void startSession(int /*baudRate*/) {}
    virtual QByteArray incoming(const QByteArray& received) { return received; }
    virtual QByteArray outgoing(const QByteArray& data) { return data; }
    // Bytes of the transport's own protocol: queued to go with the next bus
    // bytes, or sent at once.
    void queue(const QByteArray& bytes) { m_socket.write(bytes); }
    void send(const QByteArray& bytes);
    bool connected() const;
    int baudRate() const { return m_baudRate; }
    // Takes in what the server sends within msecs; false when nothing came.
    bool receiveMore(int msecs);

private:
    using Clock = std::chrono::steady_clock;

    void startAttempt();
    [[nodiscard]] bool advanceAttempt(int msecs, bool goOnInBackground);
    [[nodiscard]] bool connectNext(int msecs);
    QString reasonOf(QAbstractSocket::SocketError error) const;
    [[nodiscard]] bool established();
    void takeIncoming();

    NetworkAddress m_address;
    QTcpSocket m_socket;
    HostLookup m_lookup;
    // The addresses of the server's name, tried in turn; m_nextTarget is the
    // one after the address being tried.
    QList<QHostAddress> m_targets;
    qsizetype m_nextTarget = 0;
    QString m_failure;
    Clock::time_point m_attemptStarted{};
    QByteArray m_received;
    int m_baudRate = 0;
    bool m_open = false;
    bool m_sessionStarted = false;
};
