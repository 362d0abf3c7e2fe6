#pragma once

#include "network_address.h"
#include "tcp_transport.h"

#include <memory>
#include <optional>

// The server a port name or device path stands for: an address written out,
// or a COM name assigned to a server.
std::optional<NetworkAddress> serverBehind(const QString& portName, const QString& devicePath);

// The transport for a server's address of either kind.
std::unique_ptr<TcpTransport> networkTransport(const NetworkAddress& address);

// How far a server answered one connection made as the port would make it.
enum class ServerAnswer {
    None,      // no connection within the connect time-out
    Connected, // the connection was accepted; for RFC 2217 the line settings were not confirmed
    Confirmed, // an RFC 2217 server confirmed the rate
};
ServerAnswer checkServer(const NetworkAddress& address, int baudRate);
