#pragma once

#include <chrono>
#include <cstdint>

// Measured values (table 16) that drift like a heating circuit on slow sines,
// so that a chart of the deviation from the demanded temperature is never flat.
class LiveValues {
public:
    // Each variant runs warmer and its outdoor sensor colder than the one before.
    explicit LiveValues(int variant = 0);

    // water, outdoor, aux 1, demanded, setback, aux 2; demanded follows the
    // equithermal curve through (0 °C, sp0) and (20 °C, sp20) plus the setback.
    void fill(uint8_t* out, float sp0, float sp20, float setback) const;

private:
    std::chrono::steady_clock::time_point m_start;
    double m_waterMean;
    double m_outdoorMean;
};
