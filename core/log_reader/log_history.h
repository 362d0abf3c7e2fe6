#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstddef>
#include <variant>
#include <vector>

// The five values of a measurement log's data line, in their order there.
enum class LogValue { Water, Outdoor, Demanded, Setback, Deviation };
constexpr int kLogValueCount = 5;

// A measurement log as read back: one sample a data line, in the order of the
// file, each at a moment in time inferred from the header's date and the
// line's time of day.
struct LogHistory {
    // The UTC offset in force from a sample on; the log's times are local.
    struct OffsetChange {
        qsizetype firstSample;
        int offsetSeconds;
    };

    QDate firstDay;
    // Seconds since the epoch, UTC; never decreasing.
    std::vector<qint64> times;
    // NaN where the log holds no number.
    std::array<std::vector<float>, kLogValueCount> values;
    // Samples that begin a new stretch of the line: after an outage mark or a
    // gap of more than three logging intervals. Ascending.
    std::vector<qsizetype> breaks;
    std::vector<OffsetChange> offsets;
    // Lines that are neither data, nor the first header, nor a mark.
    qsizetype skippedLines = 0;
    int outages = 0;
    // Samples whose date is a guess (a log without date marks, after a gap,
    // an outage or a step back of the clock), and the file's line of the
    // first of them, counted from 1.
    qsizetype undatedSamples = 0;
    qsizetype firstUndatedLine = 0;

    qsizetype size() const { return static_cast<qsizetype>(times.size()); }
    float value(LogValue which, qsizetype sample) const
    {
        return values[static_cast<size_t>(which)][static_cast<size_t>(sample)];
    }
    int utcOffset(qsizetype sample) const;
    // The sample's time as the log wrote it: local, with its offset.
    QDateTime localTime(qsizetype sample) const;
    // A moment, in the offset of the log's last sample at or before it.
    QDateTime localTimeAt(double seconds) const;
    // The first sample at or after `seconds`, and the first after it.
    qsizetype lowerBound(double seconds) const;
    qsizetype upperBound(double seconds) const;
};

// NoMeasurements: lines follow the header, but none is a measurement.
enum class LogFault { Unreadable, NotALog, NoMeasurements };
using LogReadResult = std::variant<LogHistory, LogFault>;

// The bytes of a log file: the header (its second line names the day the log
// began), data lines, marks ("# ...", among them the date marks); Windows-1250;
// CR LF or LF. Logs written under any locale are read.
LogReadResult readLogHistory(QByteArrayView bytes);
LogReadResult readLogFile(const QString& path);

// What to tell the user about a file that gave `fault`.
QString logFaultMessage(LogFault fault, const QString& path);
// The counts of lines read, skipped and outages, and where dates are guesses.
QString logSummary(const LogHistory& history);
