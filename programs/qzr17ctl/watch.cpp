#include "watch.h"

#include "app_error.h"
#include "bus_commands.h"
#include "console.h"
#include "link_setup.h"
#include "options.h"
#include "settings_store.h"
#include "trace.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>

namespace {

constexpr int kStopCheckMs = 100;

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int)
{
    stopRequested = 1;
}

} // namespace

Watch::Watch(const WatchOptions& options, QObject* parent)
    : QObject(parent), m_options(options), m_polling(new MeasurementPolling(this))
{
    m_polling->chart_interval = m_polling->chart_tick = options.interval;
    m_polling->file_interval = m_polling->file_tick = options.interval;
    connect(m_polling, &MeasurementPolling::readingDone, this, &Watch::readingDone);
    connect(m_polling, &MeasurementPolling::measured, this, &Watch::measured);
    if (!options.logFile.isEmpty()) {
        m_log = std::make_unique<AppendedLog>(options.logFile, options.daily);
        connect(m_polling, &MeasurementPolling::logLine, this, &Watch::writeLogLine);
    }
}

Watch::~Watch() = default;

void Watch::start()
{
    const QDate today = m_polling->clock().now().date();
    if (m_log && !m_log->canWrite(today))
        throw AppError(QCoreApplication::translate("qzr17ctl", "Záznam %1 nelze zapsat: %2")
                           .arg(m_log->fileNameFor(today), m_log->errorString()));
    m_polling->Timer1->start();
}

void Watch::stop()
{
    m_polling->Timer1->stop();
    if (m_publisher)
        m_publisher->stop();
}

QString Watch::regulatorState(bool answered) const
{
    if (answered)
        return QCoreApplication::translate("qzr17ctl", "Regulátor odpovídá");
    if (m_line && m_line->deviceLost() && m_line->isNetworkPort())
        return QCoreApplication::translate("qzr17ctl", "Spojení se serverem %1 je přerušeno")
            .arg(m_line->shownName());
    if (m_line && m_line->deviceLost())
        return QCoreApplication::translate("qzr17ctl", "Zařízení portu %1 není připojeno")
            .arg(m_line->shownName());
    return QCoreApplication::translate("qzr17ctl", "Regulátor neodpovídá");
}

void Watch::readingDone(bool answered)
{
    tell(Channel::Regulator, regulatorState(answered));
    if (m_publisher)
        m_publisher->setAvailable(answered);
}

void Watch::measured(const Measurement& measurement)
{
    if (m_options.mqtt && !m_publisher)
        startPublishing();
    if (m_publisher)
        m_publisher->publishState(measurement.at, measurement.texts);
}

// The broker learns of the device once its type could be read: the type
// names it there unless --name does, and is its model; the version text is
// its firmware.
void Watch::startPublishing()
{
    const bool typeRead = bus_protocol::ReadDeviceType();
    if (!typeRead && m_options.name.isEmpty()) {
        tell(Channel::Broker,
             QCoreApplication::translate("qzr17ctl",
                                         "MQTT: čeká se na typ přístroje, který ho pojmenuje (nebo --name)"));
        return;
    }
    const QString type = typeRead ? deviceText(bus_protocol::device_type_text) : QString();
    const int address = bus_protocol::GetDestinationAddress();
    const QString name = m_options.name.isEmpty()
                             ? QCoreApplication::translate("qzr17ctl", "%1, adresa %2").arg(type).arg(address)
                             : m_options.name;
    const QString id = mqttDeviceId(m_options.name.isEmpty() ? QStringLiteral("%1 %2").arg(type).arg(address)
                                                             : m_options.name);
    const QString firmware =
        bus_protocol::ReadDeviceVersion() ? deviceText(bus_protocol::device_version_text) : QString();
    m_publisher = new MqttPublisher(*m_options.mqtt, {id, name, type, firmware}, this);
    connect(m_publisher, &MqttPublisher::connectionChanged, this, &Watch::brokerChanged);
    tell(Channel::Broker, QCoreApplication::translate("qzr17ctl", "MQTT: připojuji se k %1 jako kv36/%2")
                              .arg(m_publisher->address(), id));
    if (!m_publisher->start())
        tell(Channel::Broker, QCoreApplication::translate("qzr17ctl", "MQTT: nelze se připojit k %1: %2")
                                  .arg(m_publisher->address(), m_publisher->errorString()));
}

void Watch::brokerChanged(bool connected, const QString& detail)
{
    if (connected)
        tell(Channel::Broker,
             QCoreApplication::translate("qzr17ctl", "MQTT: připojeno k %1").arg(m_publisher->address()));
    else
        tell(Channel::Broker, QCoreApplication::translate("qzr17ctl", "MQTT: bez spojení s %1 (%2)")
                                  .arg(m_publisher->address(), detail));
}

void Watch::writeLogLine(const QString& line, const QDateTime& at)
{
    const QString file = m_log->fileNameFor(at.date());
    if (m_log->append(line, at))
        tell(Channel::Log, QCoreApplication::translate("qzr17ctl", "Záznam %1 se zapisuje").arg(file));
    else
        tell(Channel::Log, QCoreApplication::translate("qzr17ctl", "Záznam %1 nelze zapsat: %2")
                               .arg(file, m_log->errorString()));
}

void Watch::tell(Channel channel, const QString& line)
{
    if (m_told.value(channel) == line)
        return;
    m_told[channel] = line;
    printError(line);
}

ExitStatus runWatch(const CtlOptions& options, SerialLine::Clock::time_point start)
{
    const WatchOptions watchOptions = parseWatchOptions(options.arguments);
    const LinkSettings settings = resolveLinkSettings(options, SettingsStore());
    SerialLine line;
    if (options.trace)
        traceTraffic(line, start);
    openLine(line, settings);
    const AttachedLink attached(line, settings);
    requireAnsweringAddress();
    Watch watch(watchOptions);
    watch.setLine(&line);
    watch.start();
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
#ifdef SIGHUP
    // A closed terminal or "systemctl kill -s HUP" ends the watch as cleanly.
    std::signal(SIGHUP, requestStop);
#endif
#ifdef SIGPIPE
    // A broker gone in the middle of a write must not end the watch.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, [] {
        if (stopRequested)
            QCoreApplication::quit();
    });
    stopCheck.start(kStopCheckMs);
    QCoreApplication::exec();
    watch.stop();
    printError(QCoreApplication::translate("qzr17ctl", "Ukončeno"));
    return ExitStatus::Success;
}
