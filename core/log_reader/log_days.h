#pragma once

#include <QDate>
#include <QTimeZone>

#include <optional>

// Turns the log's times of day into moments, given the day its header names.
// A time earlier than the one before starts the next day, except in the hour
// that the local clock repeats when it goes back in autumn: there the second
// pass through the hour is told from the first by the earlier time, and
// both passes keep their real order. A gap of more than a day leaves no trace
// in times of day: the day after is taken. No moment is ever earlier than the
// one before it.
class LogDays {
public:
    struct Moment {
        qint64 utcSeconds;
        int offsetSeconds;
    };

    explicit LogDays(QDate firstDay, QTimeZone zone = QTimeZone::systemTimeZone());

    Moment place(int secondOfDay);
    // A later header's day: from there on the times count from that day.
    void restartOn(QDate day);
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

    QTimeZone m_zone;
    QDate m_day;
    qint64 m_dayStart = 0; // the day's midnight as if it were UTC
    int m_offsetAtStart = 0;
    std::optional<Change> m_change;
    int m_previousSecond = -1;
    bool m_secondPass = false;
    std::optional<qint64> m_previousUtc;
};
