#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <vector>

// Faults the line adds to the regulator's replies, set by options and at run time.
struct LineFaults {
    bool silent = false;
    double corruptChecksumRate = 0.0; // fraction of replies with a wrong checksum byte
    double corruptByteRate = 0.0;     // fraction of replies with one changed byte under the old checksum
    int shortBy = 0;                  // bytes dropped from the end of every reply
    int lateMs = 0;                   // extra delay before every reply
    int noiseBytes = 0;               // random bytes sent before every reply
};

// Puts replies on the pty master, with the answering station's faults and,
// when a baud rate is set, at the pace of a real line of 11 bits a character.
// A late reply waits in a queue, so that the regulator goes on listening
// meanwhile and its port is looked after; once it starts, a paced reply goes
// out whole.
class Transmitter {
public:
    using Clock = std::chrono::steady_clock;

    Transmitter(int fd, uint64_t seed);

    // The line's speed, the same for every station; 0: no wire-speed pacing.
    int& baud() { return m_baud; }

    // requestStart/requestLength: when the request's first byte came and how long it was,
    // so that a paced reply cannot begin before the request could have been on the wire.
    // Queues the reply and sends what is due.
    void send(const uint8_t* reply, size_t length, const LineFaults& faults, Clock::time_point requestStart,
              size_t requestLength);
    // Sends the queued replies whose time has come.
    void sendDue();
    // When the next queued reply is due; nothing when none waits.
    [[nodiscard]] std::optional<Clock::time_point> nextDue() const;

private:
    static constexpr size_t kMaxOut = 1024;

    struct Queued {
        std::vector<uint8_t> bytes;
        Clock::time_point start;
        Clock::duration perChar;
        uint8_t sender;
    };

    size_t compose(const uint8_t* reply, size_t length, const LineFaults& faults);
    [[nodiscard]] bool chance(double rate);
    void corruptChecksum(uint8_t* telegram, size_t length);
    void corruptDataByte(uint8_t* telegram, size_t length);
    void writeAll(const uint8_t* bytes, size_t count);
    void writePaced(const uint8_t* bytes, size_t count, Clock::time_point start, Clock::duration perChar);

    int m_fd;
    int m_baud = 0;
    std::mt19937_64 m_random;
    std::array<uint8_t, kMaxOut> m_out{};
    std::deque<Queued> m_queue;
};

// Sleeps to an absolute time, so that the steps of a paced reply do not add up their errors.
// Returns early only when the process is asked to stop.
void sleepUntil(std::chrono::steady_clock::time_point when);
