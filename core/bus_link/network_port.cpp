#include "network_port.h"

#include "port_io.h"
#include "rfc2217_transport.h"
#include "server_entries.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace {

// A server that speaks the COM port option answers a setting at once.
constexpr int kConfirmationWaitMs = 1000;

// The bus's station status request, as the address search sends it, and the
// length of its answer.
constexpr uint8_t kSd1 = 0x10;
constexpr uint8_t kEnd = 0x16;
constexpr uint8_t kRequestStatus = 0x69;
constexpr int kStatusLength = 6;

QByteArray statusRequest(const StationProbe& probe)
{
    const auto sum = uint8_t(probe.destination + probe.source + kRequestStatus);
    const char bytes[] = {
        char(kSd1), char(probe.destination), char(probe.source), char(kRequestStatus), char(sum), char(kEnd)};
    return QByteArray(bytes, sizeof bytes);
}

// Whatever came within the read time-out of a status answer, as the port
// would read it.
QByteArray exchangeThrough(TcpTransport& transport, const QByteArray& request)
{
    if (transport.write(request.constData(), request.size()) != request.size())
        return {};
    QByteArray answer;
    const QDeadlineTimer deadline(PortIo::readTimeout(kStatusLength).count());
    while (answer.size() < kStatusLength && transport.waitForReadyRead(int(deadline.remainingTime())))
        answer += transport.readAll();
    return answer;
}

bool answersAsStation(const QByteArray& answer, const StationProbe& probe)
{
    return answer.size() >= kStatusLength && uint8_t(answer[0]) == kSd1 &&
           uint8_t(answer[2]) == probe.destination &&
           uint8_t(answer[4]) == uint8_t(answer[1] + answer[2] + answer[3]) && uint8_t(answer[5]) == kEnd;
}

ServerCheck::Outcome probeThrough(TcpTransport& transport, const StationProbe& probe)
{
    const QByteArray answer = exchangeThrough(transport, statusRequest(probe));
    if (answer.isEmpty())
        return ServerCheck::Outcome::Silent;
    return answersAsStation(answer, probe) ? ServerCheck::Outcome::Answered : ServerCheck::Outcome::Relayed;
}

} // namespace

std::optional<NetworkAddress> serverBehind(const QString& portName, const QString& devicePath)
{
    std::optional<NetworkAddress> server = parseNetworkAddress(devicePath);
    return server ? server : serverFor(portName);
}

std::unique_ptr<TcpTransport> networkTransport(const NetworkAddress& address)
{
    if (address.kind == NetworkAddress::Kind::Rfc2217)
        return std::make_unique<Rfc2217Transport>(address);
    return std::make_unique<TcpTransport>(address);
}

QString openFailureDetail(const LineTransport* transport, const QString& devicePath)
{
    QString reason = transport ? transport->failure() : QString();
    if (reason.isEmpty() && !addressDefect(devicePath).isEmpty())
        reason = QCoreApplication::translate("NetworkAddress", "\"%1\" není platná adresa serveru, %2")
                     .arg(devicePath.trimmed(), addressDefect(devicePath));
    return reason.isEmpty() ? QString() : QStringLiteral(": ") + reason;
}

ServerCheck checkServer(const NetworkAddress& address, int baudRate, std::optional<StationProbe> probe)
{
    const std::unique_ptr<TcpTransport> transport = networkTransport(address);
    if (!transport->open(baudRate))
        return {ServerCheck::Outcome::Unreachable, transport->failure()};
    ServerCheck check{ServerCheck::Outcome::Connected, {}};
    if (auto* rfc2217 = dynamic_cast<Rfc2217Transport*>(transport.get()))
        check.outcome = rfc2217->rateConfirmed(kConfirmationWaitMs) ? ServerCheck::Outcome::Confirmed
                                                                    : ServerCheck::Outcome::Unconfirmed;
    else if (probe)
        check.outcome = probeThrough(*transport, *probe);
    transport->close();
    return check;
}
