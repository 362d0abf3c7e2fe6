#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

// Cuts the received byte stream into telegrams. A telegram may arrive in pieces
// or together with the next one; bytes that cannot start a valid telegram are
// skipped one at a time, so the parser finds the next start delimiter behind them.
class RequestParser {
public:
    using Clock = std::chrono::steady_clock;

    struct Telegram {
        const uint8_t* bytes;
        size_t length;
        Clock::time_point firstByteAt; // when the telegram's first byte was received
    };

    void append(const uint8_t* data, size_t count, Clock::time_point at);

    // The next complete telegram with a valid checksum and end delimiter, if
    // there is one; it stays in the buffer until consume() takes it.
    [[nodiscard]] std::optional<Telegram> next();
    void consume(size_t count);

    // A line that stays quiet this long ends whatever incomplete telegram is
    // pending: its start is taken for noise and skipped.
    static constexpr auto kIdleGap = std::chrono::milliseconds(50);
    [[nodiscard]] bool pending() const;
    [[nodiscard]] Clock::time_point lastByteAt() const;
    void skipOne();

private:
    enum class Check { Valid, Invalid, Incomplete };
    [[nodiscard]] Check checkAtStart() const;

    static constexpr size_t kCapacity = 1024;
    std::array<uint8_t, kCapacity> m_bytes{};
    std::array<Clock::time_point, kCapacity> m_times{};
    size_t m_size = 0;
    Clock::time_point m_lastByteAt;
};
