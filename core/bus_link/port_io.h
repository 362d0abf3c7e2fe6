#pragma once

#include <chrono>
#include <cstdint>

// The port operations the bus protocol needs. WritePort first discards
// whatever is pending in both directions; ReadPort blocks until the count is
// in or the port's time-outs end the read, and succeeds also with fewer bytes.
class PortIo {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kReadIntervalMs = 100;
    static constexpr int kReadTotalConstantMs = 500;
    static constexpr int kReadTotalPerByteMs = 2;

    // The longest a read of `count` bytes waits when nothing comes.
    static constexpr std::chrono::milliseconds readTimeout(int count)
    {
        return std::chrono::milliseconds(kReadTotalConstantMs + kReadTotalPerByteMs * count);
    }
    // How long after a failed request its answer may still come and pass for
    // the next one's: twice the read's time-out, and one read interval more
    // for a reply whose start a busy computer or server delays a little.
    static constexpr std::chrono::milliseconds lateAnswerWindow(int count)
    {
        return 2 * readTimeout(count) + std::chrono::milliseconds(kReadIntervalMs);
    }

    virtual ~PortIo() = default;
    virtual bool ReadPort(uint8_t* buffer, int count, uint32_t& received) = 0;
    virtual bool WritePort(const uint8_t* buffer, int count, uint32_t& written) = 0;
    // Drops what arrives until `until` has passed and the line has been quiet
    // for the read interval since; returns at once when no port is open.
    virtual void DropUntilQuiet(Clock::time_point until) = 0;
    // The chosen port's device is not plugged in; the status bar says so.
    virtual bool DeviceAbsent() const { return false; }
};
