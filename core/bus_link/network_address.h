#pragma once

#include <QString>

#include <optional>

// A port reached over the network through a serial server: "tcp://HOST:PORT"
// passes the bytes unchanged and leaves the line settings to the server;
// "rfc2217://HOST:PORT" speaks Telnet with the COM port option, which carries
// the line settings and purges as well.
struct NetworkAddress {
    enum class Kind { RawTcp, Rfc2217 };

    Kind kind = Kind::RawTcp;
    QString host;
    quint16 port = 0;

    // The address as the user writes it; an IPv6 host in brackets.
    QString text() const;
    bool operator==(const NetworkAddress&) const = default;
};

// The address a text names; nothing when it is none (a COM name, a device
// path, or an address without a host or with a port outside 1..65535).
std::optional<NetworkAddress> parseNetworkAddress(const QString& text);

// What is wrong with a text that was meant as a server's address (it names
// one of the two kinds), in words for the user; empty for a good address
// and for a text that is no address at all, as a device path.
QString addressDefect(const QString& text);
