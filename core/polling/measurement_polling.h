#pragma once

#include "clock.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

class QTimer;

// One reading as it is shown: the texts of water, outdoor, demanded
// temperature, setback and deviation, in the order of the panels and of the
// log's columns, the deviation computed from the two shown texts, and when
// the reading was taken.
struct Measurement {
    QStringList texts;
    float deviation = 0;
    QDateTime at;
};

// The automatic reading of the measured values, without any window. Timer1
// counts new seconds of the clock; every chart_interval counted seconds table
// 16 is read and the reading told, every file_interval counted seconds the
// log line is told. Timer2 tells when the reception lamp goes dark again.
// While the regulator does not answer no data line is told: one mark when it
// stops answering and one when it answers again, so that no line of the log
// passes for a measurement that was not made.
class MeasurementPolling : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 200;
    static constexpr int kLampMs = 100;

    explicit MeasurementPolling(QObject* parent = nullptr);

    // The clock counted and stamped with (not owned); nullptr restores the
    // computer's own.
    void setClock(const Clock* clock);
    const Clock& clock() const { return *m_clock; }
    // The texts of the last reading; "0" each before the first one.
    const QStringList& texts() const { return m_texts; }

    int chart_interval = 1;
    int file_interval = 1;
    int chart_tick = 1;
    int file_tick = 1;
    quint16 last_second = 0;

    QTimer* const Timer1;
    QTimer* const Timer2;

    void Timer1Timer();
    void ReadMeasurements();
    void AppendLogLine();
    void Timer2Timer();

signals:
    void readingDone(bool answered, const QDateTime& at);
    void measured(const Measurement& measurement);
    void receptionLamp(bool lit);
    // A line for the measurement log: a data line or an outage mark.
    void logLine(const QString& line, const QDateTime& at);

private:
    enum class Answer { Unknown, Good, Failing };

    void takeReading(const QDateTime& at);
    void markOutage(bool answered, const QDateTime& at);

    SystemClock m_systemClock;
    const Clock* m_clock = &m_systemClock;
    QStringList m_texts;
    Answer m_answer = Answer::Unknown;
};
