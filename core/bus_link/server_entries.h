#pragma once

#include "network_address.h"
#include "port_names.h"

#include <QString>

#include <optional>

// COM numbers that stand for a serial server on the network. Elsewhere than
// on Windows the port directory's COMn entry is then a text file holding the
// address. On Windows, which names its COM ports itself, the settings store
// keeps the address as a text value named COMn in its section "SERVERY".
std::optional<NetworkAddress> serverFor(const QString& portName);

// Makes COM<number> stand for the server, in place of whatever it stood for.
// An entry that is a link is replaced itself; what it led to stays as it was.
[[nodiscard]] EntryFailure assignServer(int number, const NetworkAddress& address);

#ifdef Q_OS_WIN
// Makes COM<number> the system's own port again. Elsewhere the link to a
// device that replaces the entry does that.
void forgetServer(int number);
#endif
