#pragma once

#include <chrono>
#include <cstdint>

// The regulator's real-time clock (table 15): seven plain binary bytes
// seconds, minute, hour, weekday 1..7 (Monday first), date, month, two-digit year.
class RegulatorClock {
public:
    RegulatorClock(); // starts from the host's local time

    void set(const uint8_t* bytes);
    void read(uint8_t* bytes) const;

    [[nodiscard]] int weekday() const;     // 1 = Monday .. 7 = Sunday
    [[nodiscard]] int minuteOfDay() const; // 0 .. 1439

private:
    [[nodiscard]] int64_t secondsNow() const; // seconds since 1.1.2000 on the regulator's calendar

    std::chrono::steady_clock::time_point m_setAt;
    int64_t m_secondsAtSet = 0;
    int m_weekdayAtSet = 1;
};
