#pragma once

#include <QDate>
#include <QDateTime>
#include <QTimeZone>

#include <optional>

// Turns the log's times of day into moments. A date mark gives the date and
// UTC offset of the lines after it; the writer marks every change of date or
// offset and every step back of the clock, so after a mark the dates are
// known. Without marks (logs of earlier versions, or before the first mark)
// the day comes from the header and the times: a time earlier than the one
// before starts the next day, except in the hour that the local clock repeats
// when it goes back in autumn, where the second pass through the hour is told
// from the first by the earlier time. There a day can pass unseen: in a gap
// between lines, in an outage, or in a step back that is no midnight; from
// there on the dates are guesses, and the moments say so. No moment is ever
// earlier than the one before it.
class LogDays {
public:
    struct Moment {
        qint64 utcSeconds;
        int offsetSeconds;
        bool certain;
    };

    LogDays(QDate firstDay, bool dayCertain, QTimeZone zone = QTimeZone::systemTimeZone());

    Moment place(int secondOfDay);
    // A date mark: the date, offset and time of day of the line after it.
    void mark(const QDateTime& moment);
    // An outage began: without marks, days may pass before the next line.
    void outage();
    // A later header's day: from there on the times count from that day.
    void restartOn(QDate day, bool dayCertain);
    QDate day() const { return m_day; }

private:
    // The one change of the UTC offset on the current day, if any.
    struct Change {
        int atSecond; // local second of the day, before the change
        int offsetAfter;
    };

    void enterDay(QDate day);
    bool repeatsHour(int second) const;
    bool startsSecondPass(int second) const;
    int offsetAt(int second) const;
    // Without marks: a step much longer than the logging interval may hide days.
    void judgeStep(qint64 utc, bool nextDay);

    QTimeZone m_zone;
    QDate m_day;
    qint64 m_dayStart = 0; // the day's midnight as if it were UTC
    int m_offsetAtStart = 0;
    std::optional<Change> m_change;
    // From the last date mark; without one the zone's offsets are taken.
    std::optional<int> m_markedOffset;
    int m_previousSecond = -1;
    bool m_secondPass = false;
    bool m_certain = true;
    std::optional<qint64> m_previousUtc;
    qint64 m_interval = 0; // the last step that was no gap
};
