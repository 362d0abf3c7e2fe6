#pragma once

#include "bus_protocol.h"
#include "exit_status.h"
#include "request.h"

#include <functional>

class RecordingPort;

// A read sent to everybody is answered by nobody: throws UsageError for the
// broadcast address.
void requireAnsweringAddress();

// The device type or version text as the regulator sent it, in Windows-1250.
QString deviceText(const std::array<uint8_t, bus_protocol::kTextSize>& buffer);

// Runs one checked command over the attached bus and prints its result:
// data on standard output, the reason of a failure on standard error.
class BusCommands {
public:
    explicit BusCommands(RecordingPort& port) : m_port(port) {}

    // Throws UsageError for a read or write addressed to the broadcast address.
    ExitStatus run(const CommandRequest& request);

private:
    using TextBuffer = std::array<uint8_t, bus_protocol::kTextSize>;

    ExitStatus probe();
    ExitStatus scan(bool texts);
    QString stationTexts();
    ExitStatus text(int (*readText)(), const TextBuffer& buffer, const QString& what);
    ExitStatus read(const QList<int>& tables);
    ExitStatus write(int table, const QList<Assignment>& assignments);
    ExitStatus eeprom();

    // One bus operation on a fresh record of the exchange; true when it gave 1.
    bool exchange(const std::function<int()>& operation);
    ExitStatus failed(const QString& what) const;

    RecordingPort& m_port;
};
