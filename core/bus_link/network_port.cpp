#include "network_port.h"

#include "rfc2217_transport.h"
#include "server_entries.h"

namespace {

// A server that speaks the COM port option answers a setting at once.
constexpr int kConfirmationWaitMs = 1000;

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

ServerAnswer checkServer(const NetworkAddress& address, int baudRate)
{
    const std::unique_ptr<TcpTransport> transport = networkTransport(address);
    if (!transport->open(baudRate))
        return ServerAnswer::None;
    auto* rfc2217 = dynamic_cast<Rfc2217Transport*>(transport.get());
    const bool confirmed = rfc2217 && rfc2217->rateConfirmed(kConfirmationWaitMs);
    transport->close();
    return confirmed ? ServerAnswer::Confirmed : ServerAnswer::Connected;
}
