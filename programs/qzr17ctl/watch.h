#pragma once

#include "appended_log.h"
#include "exit_status.h"
#include "measurement_polling.h"
#include "serial_line.h"
#include "watch_options.h"

#include <QMap>
#include <QObject>

#include <memory>

struct CtlOptions;

// qzr17ctl watch: reads the measured values at an interval for as long as it
// runs, through the same polling as the main window, writes the measurement
// log and publishes to an MQTT broker. It only reads from the regulator:
// table 16, and the device type that names it on the broker. Each change of
// the regulator's, the broker's or the log's state is one line on standard
// error.
class Watch : public QObject {
    Q_OBJECT
public:
    explicit Watch(const WatchOptions& options, QObject* parent = nullptr);
    ~Watch() override;

    MeasurementPolling& polling() { return *m_polling; }
    // The line read through: a reading that failed because the line itself
    // is gone (a server's connection dropped, an adapter pulled out) is told
    // as such, not as a regulator that does not answer.
    void setLine(const SerialLine* line) { m_line = line; }
    // Throws AppError when the log cannot be written.
    void start();
    // Tells the broker the watch is gone; the log holds every line already.
    void stop();

private:
    enum class Channel { Regulator, Broker, Log };

    void readingDone(bool answered);
    QString regulatorState(bool answered) const;
    void measured(const Measurement& measurement);
    void writeLogLine(const QString& line, const QDateTime& at);
    void startPublishing();
    void brokerChanged(bool connected, const QString& detail);
    void tell(Channel channel, const QString& line);

    WatchOptions m_options;
    MeasurementPolling* const m_polling;
    const SerialLine* m_line = nullptr;
    std::unique_ptr<AppendedLog> m_log;
    MqttPublisher* m_publisher = nullptr;
    QMap<Channel, QString> m_told;
};

// The whole run of qzr17ctl watch: until SIGTERM, SIGINT or SIGHUP, then a
// clean stop. The log needs no reopening after rotation: every line opens
// its file anew.
ExitStatus runWatch(const CtlOptions& options, SerialLine::Clock::time_point start);
