#pragma once

#include <QString>

#include <chrono>
#include <vector>

using BenchClock = std::chrono::steady_clock;

// Median and 99th percentile of a set of durations, in microseconds.
struct Summary {
    double medianUs = 0;
    double p99Us = 0;
};

Summary summarize(std::vector<double> microseconds);

double microsecondsSince(BenchClock::time_point start);

// "median 52.1 us, p99 80.4 us"
QString describe(const Summary& summary);
