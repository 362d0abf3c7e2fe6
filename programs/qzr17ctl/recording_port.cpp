#include "recording_port.h"

#include "bus_protocol.h"

#include <QCoreApplication>

namespace {

constexpr uint8_t kSd1 = 0x10;
constexpr uint32_t kAckLength = 6;
constexpr int kOpenEndedRead = 255; // text replies: the silence after them ends the read

} // namespace

bool RecordingPort::ReadPort(uint8_t* buffer, int count, uint32_t& received)
{
    const bool ok = m_line.ReadPort(buffer, count, received);
    m_requested = count;
    m_received = received;
    return ok;
}

bool RecordingPort::WritePort(const uint8_t* buffer, int count, uint32_t& written)
{
    m_writeOk = m_line.WritePort(buffer, count, written);
    return m_writeOk;
}

void RecordingPort::startExchange()
{
    m_writeOk = true;
    m_requested = 0;
    m_received = 0;
}

QString RecordingPort::describeFailure() const
{
    switch (bus_protocol::LastCheckFinding()) {
    case bus_protocol::CheckFinding::RepliesDiffer:
        return QCoreApplication::translate("qzr17ctl", "dvě odpovědi regulátoru se neshodují, jedna patřila "
                                                       "jinému požadavku");
    case bus_protocol::CheckFinding::ReadBackDiffers:
        return QCoreApplication::translate("qzr17ctl", "regulátor zápis potvrdil, přečtená tabulka se ale "
                                                       "od zapsané liší");
    case bus_protocol::CheckFinding::ReadBackUnanswered:
        return QCoreApplication::translate("qzr17ctl", "regulátor zápis potvrdil, tabulku ale nešlo přečíst "
                                                       "zpět: %1").arg(exchangeFailure());
    case bus_protocol::CheckFinding::None:
        break;
    }
    return exchangeFailure();
}

QString RecordingPort::exchangeFailure() const
{
    const auto& rx = bus_protocol::rx_buffer;
    if (!m_writeOk)
        return QCoreApplication::translate("qzr17ctl", "požadavek se nepodařilo odeslat");
    if (m_received == 0)
        return QCoreApplication::translate("qzr17ctl", "regulátor neodpověděl");
    if (m_received == kAckLength && rx[0] == kSd1 && rx[3] != 0) {
        // The acknowledgement's FC, kept as a signed byte like last_ack_code.
        return QCoreApplication::translate("qzr17ctl", "regulátor odmítl požadavek, kód %1")
            .arg(static_cast<int8_t>(rx[3]));
    }
    if (m_received < static_cast<uint32_t>(m_requested) && m_requested != kOpenEndedRead)
        return QCoreApplication::translate("qzr17ctl", "neúplná odpověď regulátoru (%1 z %2 bajtů)")
            .arg(m_received)
            .arg(m_requested);
    return QCoreApplication::translate("qzr17ctl", "chybná odpověď regulátoru");
}
