#include "live_values.h"

#include "wire.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kWaterMean = 45.0;
constexpr double kWaterSwing = 3.0;
constexpr double kWaterPeriodS = 120.0;
constexpr double kOutdoorMean = 5.0;
constexpr double kOutdoorSwing = 2.0;
constexpr double kOutdoorPeriodS = 600.0;
constexpr double kWaterStep = 2.5;
constexpr double kOutdoorStep = -1.5;

double wave(double mean, double swing, double periodS, double t)
{
    return mean + swing * std::sin(2.0 * std::numbers::pi * t / periodS);
}

} // namespace

LiveValues::LiveValues(int variant)
    : m_start(std::chrono::steady_clock::now())
    , m_waterMean(kWaterMean + kWaterStep * variant)
    , m_outdoorMean(kOutdoorMean + kOutdoorStep * variant)
{
}

void LiveValues::fill(uint8_t* out, float sp0, float sp20, float setback) const
{
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    const double water = wave(m_waterMean, kWaterSwing, kWaterPeriodS, t);
    const double outdoor = wave(m_outdoorMean, kOutdoorSwing, kOutdoorPeriodS, t);
    const double demanded = sp0 + (sp20 - sp0) * outdoor / 20.0 + setback;
    const bool heating = water < demanded;

    wire::putFloat(out, static_cast<float>(water));
    wire::putFloat(out + 4, static_cast<float>(outdoor));
    out[8] = heating ? 1 : 0;
    wire::putFloat(out + 9, static_cast<float>(demanded));
    wire::putFloat(out + 13, setback);
    out[17] = 0;
}
