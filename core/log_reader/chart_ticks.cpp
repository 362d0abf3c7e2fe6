#include "chart_ticks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace chart_ticks {

namespace {

constexpr qint64 kMinute = 60;
constexpr qint64 kHour = 60 * kMinute;
constexpr qint64 kDay = 24 * kHour;
constexpr std::array<qint64, 22> kTimeSteps{
    1,        2,           5,           10,           15,           30,
    kMinute,  2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
    kHour,    2 * kHour,   3 * kHour,   6 * kHour,    12 * kHour,   kDay,
    2 * kDay, 7 * kDay,    14 * kDay,   28 * kDay};

} // namespace

double valueStep(double span, int wanted)
{
    const double raw = span / std::max(wanted, 1);
    if (!(raw > 0) || !std::isfinite(raw))
        return 1.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (raw <= factor * magnitude)
            return factor * magnitude;
    return 10 * magnitude;
}

std::vector<double> valueTicks(double min, double max, double step)
{
    std::vector<double> ticks;
    if (!(step > 0) || !(max >= min))
        return ticks;
    const double first = std::ceil(min / step);
    const double last = std::floor(max / step);
    for (double n = first; n <= last && ticks.size() < 1000; ++n)
        ticks.push_back(n * step);
    return ticks;
}

qint64 timeStep(double spanSeconds, int wanted)
{
    const double raw = spanSeconds / std::max(wanted, 1);
    const auto step =
        std::find_if(kTimeSteps.begin(), kTimeSteps.end(), [raw](qint64 s) { return double(s) >= raw; });
    if (step != kTimeSteps.end())
        return *step;
    return qint64(std::ceil(raw / double(kTimeSteps.back()))) * kTimeSteps.back();
}

} // namespace chart_ticks
