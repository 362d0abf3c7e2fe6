#pragma once

#include "serial_line.h"
#include "traffic_model.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <vector>

// Turns what the serial line's tap sees into the monitor's rows. A reply is
// read in the light of the request before it, and a request whose reply did
// not come within the port's time-out gets a row of its own. Bytes that come
// after the port gave up (a late reply) show as dropped, as the line drops
// them. The tap runs in the middle of an exchange, so it only queues what it
// saw; decoding and the model's update wait until the exchange is over and
// the event loop runs.
class TrafficRecorder : public QObject {
    Q_OBJECT
public:
    using Clock = SerialLine::Clock;

    explicit TrafficRecorder(TrafficModel& model, QObject* parent = nullptr);

    void record(SerialLine::Direction direction, Clock::time_point at, const QByteArray& bytes);
    // While paused nothing is recorded; the traffic goes on.
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    // Empties the model; times count from now.
    void clear();
    // Decodes what was queued into the model, with a row for every reply that
    // is overdue.
    void flush();

private:
    struct Seen {
        SerialLine::Direction direction;
        Clock::time_point at;
        QByteArray bytes;
        QByteArray request; // for a reply: the request it answers
        bool late = false;  // came after the port gave up on it: dropped
    };

    void closeOverdueExchange(Clock::time_point now);
    TrafficRow rowFor(const Seen& seen);
    QString shared(const QString& meaning);
    void scheduleFlush();

    TrafficModel& m_model;
    std::vector<Seen> m_queue;
    std::vector<TrafficRow> m_rows;
    QByteArray m_request; // awaiting its reply while m_awaiting
    bool m_awaiting = false;
    Clock::time_point m_replyDeadline;
    Clock::time_point m_origin;
    qint64 m_wallOrigin = 0;
    bool m_paused = false;
    // Polling repeats the same meanings: rows share one copy of each text.
    QSet<QString> m_meanings;
    QTimer m_flushTimer;
};
