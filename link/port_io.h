#pragma once

#include <cstdint>

// The two port operations the bus protocol needs. WritePort first discards
// whatever is pending in both directions; ReadPort blocks until the count is
// in or the port's time-outs end the read, and succeeds also with fewer bytes.
class PortIo {
public:
    virtual ~PortIo() = default;
    virtual bool ReadPort(uint8_t* buffer, int count, uint32_t& received) = 0;
    virtual bool WritePort(const uint8_t* buffer, int count, uint32_t& written) = 0;
};
