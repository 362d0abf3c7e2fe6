#pragma once

#include "tcp_transport.h"
#include "telnet_codec.h"

#include <optional>

// The bytes of the bus through a serial server that speaks Telnet with the
// COM port option: the line settings are set on the server's own port (the
// chosen rate, 8 data bits, even parity, one stop bit) each time a
// connection is made, a purge asks the server to empty its buffers too when
// there can be anything in them, and 0xFF bytes travel doubled both ways.
class Rfc2217Transport final : public TcpTransport {
public:
    explicit Rfc2217Transport(NetworkAddress address);

    bool setBaudRate(int baudRate) override;
    void purgeInput() override;
    void purgeOutput() override;
    QByteArray readAll() override;
    bool waitForReadyRead(int msecs) override;

    // Whether the server confirmed the rate set last, waiting at most msecs
    // for its answer.
    bool rateConfirmed(int msecs);

protected:
    void startSession(int baudRate) override;
    QByteArray incoming(const QByteArray& received) override;
    QByteArray outgoing(const QByteArray& data) override;

private:
    void noteConfirmation(const QByteArray& subnegotiation);

    TelnetCodec m_codec;
    std::optional<quint32> m_confirmedRate;
    // Whether the server's buffers may hold anything: a purge costs a round
    // trip, and some servers answer it in a packet of its own that holds the
    // next reply back until this side acknowledges it. Set at the start of
    // a session, when a wait for the bus ended with nothing (a reply may
    // still be on its way), and when bytes came that no read asked for (the
    // line drops them with readAll); cleared when a request goes out.
    bool m_purgeDue = true;
};
