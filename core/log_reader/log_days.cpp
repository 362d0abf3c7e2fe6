#include "log_days.h"

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kNoon = kSecondsPerDay / 2;
constexpr int kGapIntervals = 3;
// While the logging interval is not known yet, a step back of the clock to a
// moment at most this much later on the next day is taken for midnight.
constexpr qint64 kPlainMidnightStep = 60 * 60;

QDateTime utcAt(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

} // namespace

LogDays::LogDays(QDate firstDay, bool dayCertain, QTimeZone zone)
    : m_zone(std::move(zone)), m_certain(dayCertain)
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

void LogDays::mark(const QDateTime& moment)
{
    enterDay(moment.date());
    m_markedOffset = moment.offsetFromUtc();
    m_previousSecond = moment.time().msecsSinceStartOfDay() / 1000;
    m_certain = true;
}

void LogDays::outage()
{
    if (!m_markedOffset)
        m_certain = false;
}

void LogDays::restartOn(QDate day, bool dayCertain)
{
    if (day <= m_day)
        return;
    enterDay(day);
    m_markedOffset.reset();
    m_previousSecond = -1;
    m_certain = dayCertain;
    m_interval = 0;
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
    return !m_markedOffset && !m_secondPass && repeatsHour(second) && repeatsHour(m_previousSecond);
}

int LogDays::offsetAt(int second) const
{
    if (m_markedOffset)
        return *m_markedOffset;
    if (!m_change)
        return m_offsetAtStart;
    if (repeatsHour(second))
        return m_secondPass ? m_change->offsetAfter : m_offsetAtStart;
    return second < m_change->atSecond ? m_offsetAtStart : m_change->offsetAfter;
}

// A step back taken for midnight long after the line before is a guess too.
void LogDays::judgeStep(qint64 utc, bool nextDay)
{
    if (m_markedOffset || !m_previousUtc)
        return;
    const qint64 step = utc - *m_previousUtc;
    if (m_interval > 0 ? step > kGapIntervals * m_interval : nextDay && step > kPlainMidnightStep)
        m_certain = false;
    else if (step > 0)
        m_interval = step;
}

LogDays::Moment LogDays::place(int secondOfDay)
{
    bool nextDay = false;
    if (secondOfDay < m_previousSecond) {
        if (startsSecondPass(secondOfDay)) {
            m_secondPass = true;
        } else {
            // After a mark the writer marks every new day: this line is no
            // longer its writer's.
            if (m_markedOffset)
                m_certain = false;
            enterDay(m_day.addDays(1));
            nextDay = true;
        }
    }
    m_previousSecond = secondOfDay;
    const int offset = offsetAt(secondOfDay);
    qint64 utc = m_dayStart + secondOfDay - offset;
    judgeStep(utc, nextDay);
    // A time the local clock skipped in spring, or set back, would fall
    // before its predecessor.
    if (m_previousUtc && utc < *m_previousUtc)
        utc = *m_previousUtc;
    m_previousUtc = utc;
    return {utc, offset, m_certain};
}
