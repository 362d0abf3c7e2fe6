#pragma once

#include <QDateTime>

// Where the main window takes the local date and time from: the polling timer
// counts the seconds of this clock, and the log stamps its lines with it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// The computer's own clock, in local time.
class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
