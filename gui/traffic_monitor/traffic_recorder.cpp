#include "traffic_recorder.h"

#include "telegram_meaning.h"

#include <QDateTime>

namespace {

using Ms = std::chrono::milliseconds;

// Distinct meanings kept for sharing; noise makes them endless, so the set
// starts again when it is full (rows keep their copies).
constexpr qsizetype kSharedMeanings = 4096;

// The port waits in whole milliseconds and may give up on a reply a little
// before the deadline counted from the request.
constexpr Ms kDeadlineSlack(10);

qint64 msBetween(SerialLine::Clock::time_point from, SerialLine::Clock::time_point to)
{
    return std::chrono::duration_cast<Ms>(to - from).count();
}

} // namespace

TrafficRecorder::TrafficRecorder(TrafficModel& model, QObject* parent)
    : QObject(parent), m_model(model), m_origin(Clock::now()),
      m_wallOrigin(QDateTime::currentMSecsSinceEpoch())
{
    m_flushTimer.setSingleShot(true);
    connect(&m_flushTimer, &QTimer::timeout, this, &TrafficRecorder::flush);
}

void TrafficRecorder::record(SerialLine::Direction direction, Clock::time_point at, const QByteArray& bytes)
{
    if (m_paused)
        return;
    if (direction == SerialLine::Direction::RxDropped) {
        // Bytes the line dropped before a request: read in the light of the
        // last request, whose reply they most likely are.
        closeOverdueExchange(at);
        m_queue.push_back({SerialLine::Direction::Rx, at, bytes, m_request, true});
    } else if (direction == SerialLine::Direction::Rx) {
        const bool late = m_awaiting && at > m_replyDeadline + kDeadlineSlack;
        if (late)
            closeOverdueExchange(m_replyDeadline);
        m_queue.push_back({direction, at, bytes, late || m_awaiting ? m_request : QByteArray(), late});
        m_awaiting = false;
    } else {
        closeOverdueExchange(at);
        m_queue.push_back({direction, at, bytes, {}});
        m_request = bytes;
        m_awaiting = telegram_meaning::awaitedReplyLength(bytes) > 0;
        m_replyDeadline = at + Ms(telegram_meaning::replyTimeoutMs(bytes));
    }
    scheduleFlush();
}

void TrafficRecorder::scheduleFlush()
{
    if (!m_flushTimer.isActive() || m_flushTimer.interval() > 0)
        m_flushTimer.start(0);
}

// A new request ends the wait for the previous reply even before its time-out.
void TrafficRecorder::closeOverdueExchange(Clock::time_point now)
{
    if (!m_awaiting)
        return;
    m_queue.push_back({SerialLine::Direction::Rx, std::min(now, m_replyDeadline), {}, m_request});
    m_awaiting = false;
}

void TrafficRecorder::flush()
{
    const auto reached = Clock::now() + kDeadlineSlack;
    if (m_awaiting && reached >= m_replyDeadline)
        closeOverdueExchange(m_replyDeadline);
    else if (m_awaiting)
        m_flushTimer.start(static_cast<int>(msBetween(reached, m_replyDeadline)) + 1);
    for (const Seen& seen : m_queue)
        m_rows.push_back(rowFor(seen));
    m_queue.clear();
    m_model.append(m_rows);
}

TrafficRow TrafficRecorder::rowFor(const Seen& seen)
{
    TelegramMeaning meaning = describeTelegram(seen.bytes, seen.request);
    if (seen.late)
        meaning = {tr("po časovém limitu, zahozeno: ") + meaning.text, true};
    const qint64 elapsed = msBetween(m_origin, seen.at);
    return {elapsed, m_wallOrigin + elapsed, seen.bytes, shared(meaning.text), seen.direction, meaning.fault};
}

QString TrafficRecorder::shared(const QString& meaning)
{
    const auto known = m_meanings.constFind(meaning);
    if (known != m_meanings.constEnd())
        return *known;
    if (m_meanings.size() >= kSharedMeanings)
        m_meanings.clear();
    m_meanings.insert(meaning);
    return meaning;
}

void TrafficRecorder::setPaused(bool paused)
{
    flush();
    m_paused = paused;
    m_awaiting = false;
}

void TrafficRecorder::clear()
{
    m_queue.clear();
    m_awaiting = false;
    m_model.clear();
    m_origin = Clock::now();
    m_wallOrigin = QDateTime::currentMSecsSinceEpoch();
}
