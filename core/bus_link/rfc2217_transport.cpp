#include "rfc2217_transport.h"

#include <QDeadlineTimer>
#include <QtEndian>

namespace {

// Commands of the COM port option; the server answers each with its code
// plus kServerReply.
constexpr uint8_t kSetBaudRate = 1;
constexpr uint8_t kSetDataSize = 2;
constexpr uint8_t kSetParity = 3;
constexpr uint8_t kSetStopSize = 4;
constexpr uint8_t kPurgeData = 12;
constexpr uint8_t kServerReply = 100;

constexpr uint8_t kEightDataBits = 8;
constexpr uint8_t kEvenParity = 3;
constexpr uint8_t kOneStopBit = 1;
constexpr uint8_t kPurgeReceiveBuffer = 1;
constexpr uint8_t kPurgeTransmitBuffer = 2;

QByteArray comPortCommand(uint8_t command, QByteArrayView value)
{
    return TelnetCodec::subnegotiation(TelnetCodec::kComPortOption,
                                       QByteArray(1, char(command)).append(value));
}

QByteArray comPortCommand(uint8_t command, uint8_t value)
{
    return comPortCommand(command, QByteArray(1, char(value)));
}

QByteArray baudRateCommand(int baudRate)
{
    char value[4];
    qToBigEndian(static_cast<quint32>(baudRate), value);
    return comPortCommand(kSetBaudRate, QByteArrayView(value, sizeof value));
}

} // namespace

// Binary transmission keeps the server from treating CR or NUL specially;
// without suppressed go-ahead some servers wait for turns.
Rfc2217Transport::Rfc2217Transport(NetworkAddress address)
    : TcpTransport(std::move(address)),
      m_codec({TelnetCodec::kBinary, TelnetCodec::kSuppressGoAhead, TelnetCodec::kComPortOption},
              {TelnetCodec::kBinary, TelnetCodec::kSuppressGoAhead})
{
}

void Rfc2217Transport::startSession(int baudRate)
{
    m_confirmedRate.reset();
    m_purgeDue = true;
    send(m_codec.opening() + baudRateCommand(baudRate) + comPortCommand(kSetDataSize, kEightDataBits) +
         comPortCommand(kSetParity, kEvenParity) + comPortCommand(kSetStopSize, kOneStopBit));
}

bool Rfc2217Transport::setBaudRate(int baudRate)
{
    const bool open = TcpTransport::setBaudRate(baudRate);
    if (connected())
        send(baudRateCommand(baudRate));
    return open;
}

bool Rfc2217Transport::rateConfirmed(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (m_confirmedRate != quint32(baudRate()) && receiveMore(int(deadline.remainingTime()))) {
    }
    return m_confirmedRate == quint32(baudRate());
}

void Rfc2217Transport::purgeInput()
{
    if (!TcpTransport::readAll().isEmpty())
        m_purgeDue = true;
    if (connected() && m_purgeDue)
        queue(comPortCommand(kPurgeData, kPurgeReceiveBuffer));
}

void Rfc2217Transport::purgeOutput()
{
    if (connected() && m_purgeDue)
        queue(comPortCommand(kPurgeData, kPurgeTransmitBuffer));
}

QByteArray Rfc2217Transport::readAll()
{
    QByteArray dropped = TcpTransport::readAll();
    if (!dropped.isEmpty())
        m_purgeDue = true;
    return dropped;
}

bool Rfc2217Transport::waitForReadyRead(int msecs)
{
    const bool came = TcpTransport::waitForReadyRead(msecs);
    if (!came && msecs > 0)
        m_purgeDue = true;
    return came;
}

QByteArray Rfc2217Transport::outgoing(const QByteArray& data)
{
    m_purgeDue = false;
    return TelnetCodec::escape(data);
}

// Whatever came is answered at once, with a no-operation when there is
// nothing else to say: the packet carries this side's acknowledgement. A
// server that waits for it before it sends the rest of a reply (Nagle's rule,
// as ser2net has it by default) would otherwise wait for the delayed
// acknowledgement, some 40 ms, at every piece of a reply paced by the line.
QByteArray Rfc2217Transport::incoming(const QByteArray& received)
{
    const QByteArray data = m_codec.decode(received);
    const QByteArray answers = m_codec.takeAnswers();
    static const char kNoOperation[] = {char(TelnetCodec::kIac), char(TelnetCodec::kNop)};
    send(answers.isEmpty() ? QByteArray(kNoOperation, sizeof kNoOperation) : answers);
    for (const QByteArray& subnegotiation : m_codec.takeSubnegotiations())
        noteConfirmation(subnegotiation);
    return data;
}

void Rfc2217Transport::noteConfirmation(const QByteArray& subnegotiation)
{
    constexpr qsizetype kRateReplySize = 6; // option, command, four bytes of rate
    if (subnegotiation.size() == kRateReplySize &&
        uint8_t(subnegotiation[0]) == TelnetCodec::kComPortOption &&
        uint8_t(subnegotiation[1]) == kServerReply + kSetBaudRate)
        m_confirmedRate = qFromBigEndian<quint32>(subnegotiation.constData() + 2);
}
