#include "measurement_polling.h"

#include "bus_protocol.h"
#include "log_lines.h"
#include "measured_text.h"
#include "param_record.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

constexpr int kMeasuredValuesTable = 16;
constexpr int kValueCount = 5;

} // namespace

MeasurementPolling::MeasurementPolling(QObject* parent)
    : QObject(parent), Timer1(new QTimer(this)), Timer2(new QTimer(this)),
      m_texts(kValueCount, QStringLiteral("0"))
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickMs);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(kLampMs);
    Timer2->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &MeasurementPolling::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &MeasurementPolling::Timer2Timer);
}

void MeasurementPolling::setClock(const Clock* clock)
{
    m_clock = clock ? clock : &m_systemClock;
}

void MeasurementPolling::Timer1Timer()
{
    const auto second = static_cast<quint16>(m_clock->now().time().second());
    if (second == last_second)
        return;
    last_second = second;
    // Counting stops at the interval, so that a count of the largest
    // interval cannot overflow.
    chart_tick = std::min(chart_tick, chart_interval - 1) + 1;
    if (chart_tick >= chart_interval) {
        chart_tick = 0;
        ReadMeasurements();
    }
    file_tick = std::min(file_tick, file_interval - 1) + 1;
    if (file_tick >= file_interval) {
        file_tick = 0;
        AppendLogLine();
    }
}

// A reading that fails changes no value and reports nothing but the outage.
void MeasurementPolling::ReadMeasurements()
{
    const bool answered = bus_protocol::ReadTable(kMeasuredValuesTable);
    const QDateTime at = m_clock->now();
    emit readingDone(answered, at);
    if (answered)
        takeReading(at);
    // Last, so that a log that cannot be written keeps no reading from being shown.
    markOutage(answered, at);
}

void MeasurementPolling::takeReading(const QDateTime& at)
{
    Timer2->start();
    emit receptionLamp(true);
    m_texts = {measuredText(param_record.water_temperature), measuredText(param_record.outdoor_temperature),
               measuredText(param_record.demanded_temperature), measuredText(param_record.setback)};
    const float deviation = deviationFromTexts(m_texts[0], m_texts[2]);
    m_texts.append(measuredText(deviation));
    emit measured({m_texts, deviation, at});
}

void MeasurementPolling::markOutage(bool answered, const QDateTime& at)
{
    const Answer before = std::exchange(m_answer, answered ? Answer::Good : Answer::Failing);
    if (m_answer == Answer::Failing && before != Answer::Failing)
        emit logLine(log_lines::outageBegan(at.time()), at);
    else if (m_answer == Answer::Good && before == Answer::Failing)
        emit logLine(log_lines::outageEnded(at.time()), at);
}

void MeasurementPolling::AppendLogLine()
{
    if (m_answer == Answer::Failing)
        return;
    const QDateTime at = m_clock->now();
    emit logLine(log_lines::data(m_texts, at.time()), at);
}

void MeasurementPolling::Timer2Timer()
{
    Timer2->stop();
    emit receptionLamp(false);
}
