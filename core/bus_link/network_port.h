#pragma once

#include "line_transport.h"
#include "network_address.h"
#include "tcp_transport.h"

#include <cstdint>
#include <memory>
#include <optional>

// The server a port name or device path stands for: an address written out,
// or a COM name assigned to a server.
std::optional<NetworkAddress> serverBehind(const QString& portName, const QString& devicePath);

// The transport for a server's address of either kind.
std::unique_ptr<TcpTransport> networkTransport(const NetworkAddress& address);

// What to add to "cannot be opened" for a port that leads to devicePath: why
// the transport failed, or what is wrong with an address meant for a server;
// ": " and the reason, or nothing.
QString openFailureDetail(const LineTransport* transport, const QString& devicePath);

// The bus addresses a check through a server asks for a station status.
struct StationProbe {
    uint8_t destination = 0;
    uint8_t source = 0;
};

// What one connection, made as the port would make it, found out.
struct ServerCheck {
    enum class Outcome {
        Unreachable, // no connection; reason says why
        Connected,   // a raw TCP connection, not tried further
        Silent,      // a raw TCP connection over which nothing answered the station probe
        Relayed,     // bytes came back over a raw TCP connection
        Answered,    // over raw TCP, the probed station answered
        Unconfirmed, // an RFC 2217 server took the connection but did not confirm the rate
        Confirmed,   // an RFC 2217 server confirmed the rate
    };
    Outcome outcome = Outcome::Unreachable;
    QString reason;
};
// A raw TCP server says nothing of its own: with a probe, a station status
// request goes through it, and whatever comes back shows that it relays.
ServerCheck checkServer(const NetworkAddress& address, int baudRate, std::optional<StationProbe> probe = {});
