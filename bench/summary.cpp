#include "summary.h"

#include <algorithm>
#include <cmath>

namespace {

double percentile(const std::vector<double>& sorted, double fraction)
{
    const auto index = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size()))) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

} // namespace

Summary summarize(std::vector<double> microseconds)
{
    if (microseconds.empty())
        return {};
    std::sort(microseconds.begin(), microseconds.end());
    return {percentile(microseconds, 0.5), percentile(microseconds, 0.99)};
}

double microsecondsSince(BenchClock::time_point start)
{
    return std::chrono::duration<double, std::micro>(BenchClock::now() - start).count();
}

QString describe(const Summary& summary)
{
    return QStringLiteral("median %1 us, p99 %2 us")
        .arg(summary.medianUs, 0, 'f', 1)
        .arg(summary.p99Us, 0, 'f', 1);
}
