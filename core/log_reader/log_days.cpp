#include "log_days.h"

#include <QDateTime>

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kNoon = kSecondsPerDay / 2;

QDateTime utcAt(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

} // namespace

LogDays::LogDays(QDate firstDay, QTimeZone zone) : m_zone(std::move(zone))
{
    enterDay(firstDay);
}

void LogDays::enterDay(QDate day)
{
    m_day = day;
    m_dayStart = day.startOfDay(Qt::UTC).toSecsSinceEpoch();
    m_change.reset();
    m_secondPass = false;
    // Midday UTC lies within the local day in every zone.
    m_offsetAtStart = m_zone.offsetFromUtc(utcAt(m_dayStart + kNoon));
    if (!m_zone.hasTransitions())
        return;
    const auto transitions =
        m_zone.transitions(utcAt(m_dayStart - kSecondsPerDay), utcAt(m_dayStart + 2 * kSecondsPerDay));
    for (const QTimeZone::OffsetData& transition : transitions) {
        const qint64 at = transition.atUtc.toSecsSinceEpoch();
        const int before = m_zone.offsetFromUtc(utcAt(at - 1));
        const qint64 localSecond = at + before - m_dayStart;
        if (localSecond >= 0 && localSecond < kSecondsPerDay && before != transition.offsetFromUtc) {
            m_change = Change{static_cast<int>(localSecond), transition.offsetFromUtc};
            m_offsetAtStart = before;
            return;
        }
    }
}

void LogDays::restartOn(QDate day)
{
    if (day <= m_day)
        return;
    enterDay(day);
    m_previousSecond = -1;
}

bool LogDays::repeatsHour(int second) const
{
    if (!m_change || m_change->offsetAfter >= m_offsetAtStart)
        return false;
    const int repeatedFrom = m_change->atSecond - (m_offsetAtStart - m_change->offsetAfter);
    return second >= repeatedFrom && second < m_change->atSecond;
}

bool LogDays::startsSecondPass(int second) const
{
    return !m_secondPass && repeatsHour(second) && repeatsHour(m_previousSecond);
}

int LogDays::offsetAt(int second) const
{
    if (!m_change)
        return m_offsetAtStart;
    if (repeatsHour(second))
        return m_secondPass ? m_change->offsetAfter : m_offsetAtStart;
    return second < m_change->atSecond ? m_offsetAtStart : m_change->offsetAfter;
}

LogDays::Moment LogDays::place(int secondOfDay)
{
    if (secondOfDay < m_previousSecond) {
        if (startsSecondPass(secondOfDay))
            m_secondPass = true;
        else
            enterDay(m_day.addDays(1));
    }
    m_previousSecond = secondOfDay;
    const int offset = offsetAt(secondOfDay);
    qint64 utc = m_dayStart + secondOfDay - offset;
    // A time the local clock skipped in spring would fall before its
    // predecessor.
    if (m_previousUtc && utc < *m_previousUtc)
        utc = *m_previousUtc;
    m_previousUtc = utc;
    return {utc, offset};
}
