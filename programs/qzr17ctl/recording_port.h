#pragma once

#include "port_io.h"

#include <QString>

// Forwards to the line and remembers what the last exchange wrote and read,
// so that a failed operation can say why: the request did not go out, nothing
// came back, too little came, the regulator refused, the reply was bad, or
// the checks of a line in doubt found the reply another request's.
class RecordingPort : public PortIo {
public:
    explicit RecordingPort(PortIo& line) : m_line(line) {}

    bool ReadPort(uint8_t* buffer, int count, uint32_t& received) override;
    bool WritePort(const uint8_t* buffer, int count, uint32_t& written) override;
    void DropUntilQuiet(Clock::time_point until) override { m_line.DropUntilQuiet(until); }

    // Forgets the previous exchange; call before each bus operation.
    void startExchange();
    QString describeFailure() const;

private:
    QString exchangeFailure() const;

    PortIo& m_line;
    bool m_writeOk = true;
    int m_requested = 0;
    uint32_t m_received = 0;
};
