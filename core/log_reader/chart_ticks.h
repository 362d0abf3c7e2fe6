#pragma once

#include <QtGlobal>

#include <vector>

// Where an axis gets its marks: round values, about as many as asked for.
namespace chart_ticks {

// 1, 2 or 5 times a power of ten, so that about `wanted` steps span `span`.
double valueStep(double span, int wanted);
// The multiples of `step` within [min, max].
std::vector<double> valueTicks(double min, double max, double step);

// Seconds between the marks of a time axis: a second, a minute, an hour, a
// day and the round steps between them.
qint64 timeStep(double spanSeconds, int wanted);

} // namespace chart_ticks
