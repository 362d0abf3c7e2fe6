#pragma once

#include "clock.h"

#include <QDateTime>

#include <utility>

// A clock that stands still until it is stepped, so that the counted seconds
// of polling and the times in the log follow the test alone.
class SteppedClock final : public Clock {
public:
    explicit SteppedClock(QDateTime start) : m_start(std::move(start)), m_now(m_start) {}

    QDateTime now() const override { return m_now; }
    void step(int seconds = 1) { m_now = m_now.addSecs(seconds); }
    void reset() { m_now = m_start; }

private:
    QDateTime m_start;
    QDateTime m_now;
};
