#include "watch_mqtt.h"

#include "measured_text.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QThread>

#include <mosquitto.h>

#include <cerrno>
#include <cmath>
#include <utility>

namespace {

constexpr int kPlainPort = 1883;
constexpr int kTlsPort = 8883;
constexpr int kQos = 1;
constexpr int kReconnectDelaySeconds = 1;
constexpr int kReconnectDelayMaxSeconds = 5;

struct Sensor {
    const char* key;
    const char* title;
};

// The five values under the titles of the main window's panels.
constexpr Sensor kSensors[] = {
    {"water", QT_TRANSLATE_NOOP("qzr17ctl", "teplota vody")},
    {"outdoor", QT_TRANSLATE_NOOP("qzr17ctl", "venkovní teplota")},
    {"demanded", QT_TRANSLATE_NOOP("qzr17ctl", "žádaná")},
    {"setback", QT_TRANSLATE_NOOP("qzr17ctl", "útlum")},
    {"deviation", QT_TRANSLATE_NOOP("qzr17ctl", "odchylka")},
};

// The library is set up once a process.
void initLibrary()
{
    static const bool done = [] {
        mosquitto_lib_init();
        return true;
    }();
    Q_UNUSED(done);
}

MqttPublisher* publisherOf(void* object)
{
    return static_cast<MqttPublisher*>(object);
}

} // namespace

QString mqttDeviceId(const QString& name)
{
    QString id;
    bool gap = false;
    bool unfolded = false;
    for (const QChar c : name.normalized(QString::NormalizationForm_KD).toLower()) {
        if (c.isMark())
            continue;
        const bool plain = c.unicode() < 128 && c.isLetterOrNumber();
        unfolded = unfolded || (!plain && c.isLetterOrNumber());
        if (plain && gap && !id.isEmpty())
            id += u'_';
        if (plain)
            id += c;
        gap = !plain;
    }
    if (!unfolded)
        return id;
    const QByteArray hash = QCryptographicHash::hash(
        name.normalized(QString::NormalizationForm_C).toLower().toUtf8(), QCryptographicHash::Sha1);
    return (id.isEmpty() ? QString() : id + u'_') + QString::fromLatin1(hash.toHex().left(8));
}

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("qzr17ctl", text);
}

// The library's reasons in the user's language.
QString reasonOf(int code)
{
    switch (code) {
    case MOSQ_ERR_CONN_LOST:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "spojení se ztratilo"));
    case MOSQ_ERR_NO_CONN:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "bez spojení"));
    case MOSQ_ERR_CONN_REFUSED:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker spojení odmítl"));
    case MOSQ_ERR_TLS:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "šifrované spojení (TLS) se nepodařilo navázat"));
    case MOSQ_ERR_KEEPALIVE:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker přestal odpovídat"));
    case MOSQ_ERR_EAI:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "název brokeru nelze přeložit na adresu"));
    case MOSQ_ERR_PROTOCOL:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker nemluví protokolem MQTT"));
    case MOSQ_ERR_ERRNO:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "chyba sítě"));
    case MOSQ_ERR_NOMEM:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "nedostatek paměti"));
    default:
        return QString::fromUtf8(mosquitto_strerror(code));
    }
}

QString unreachable(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "na portu brokeru nikdo nenaslouchá"));
    case QAbstractSocket::HostNotFoundError:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "název brokeru nelze přeložit na adresu"));
    default:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker není dostupný"));
    }
}

// What the system said when the first connection failed at once.
QString systemReason(int error)
{
    switch (error) {
    case ECONNREFUSED:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "na portu brokeru nikdo nenaslouchá"));
    case ECONNRESET:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker spojení ukončil"));
    case ETIMEDOUT:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker neodpověděl"));
    case ENETUNREACH:
    case EHOSTUNREACH:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "síť k brokeru není dostupná"));
    default:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "chyba sítě"));
    }
}

// The broker's answers to a connection request (MQTT 3.1.1).
QString refusalOf(int code)
{
    switch (code) {
    case 1:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker nepodporuje tuto verzi MQTT"));
    case 2:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker odmítl identifikátor klienta"));
    case 3:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "služba brokeru není dostupná"));
    case 4:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker nepřijal jméno nebo heslo"));
    case 5:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker nepovolil přístup"));
    default:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker spojení odmítl (kód %1)")).arg(code);
    }
}

} // namespace

MqttPublisher::MqttPublisher(const MqttSettings& settings, const MqttDevice& device, QObject* parent)
    : QObject(parent), m_settings(settings), m_device(device), m_connectWatch(new QTimer(this))
{
    initLibrary();
    if (m_settings.port == 0)
        m_settings.port = m_settings.caFile.isEmpty() ? kPlainPort : kTlsPort;
    m_connectWatch->setSingleShot(true);
    m_connectWatch->setInterval(kConnectReportMs);
    connect(m_connectWatch, &QTimer::timeout, this, &MqttPublisher::connectionOverdue);
}

MqttPublisher::~MqttPublisher()
{
    if (!m_client)
        return;
    mosquitto_loop_stop(m_client, true);
    mosquitto_destroy(m_client);
}

QString MqttPublisher::address() const
{
    return QStringLiteral("%1:%2").arg(m_settings.host).arg(m_settings.port);
}

QByteArray MqttPublisher::topic(const char* leaf) const
{
    return QByteArrayLiteral("kv36/") + m_device.id.toUtf8() + '/' + leaf;
}

bool MqttPublisher::failed(int code)
{
    m_error = reasonOf(code);
    return false;
}

// The callbacks run in the library's thread: they only post to this object.
void MqttPublisher::setCallbacks()
{
    mosquitto_connect_callback_set(m_client, [](mosquitto*, void* object, int code) {
        QMetaObject::invokeMethod(
            publisherOf(object), [object, code] { publisherOf(object)->connected(code); },
            Qt::QueuedConnection);
    });
    mosquitto_disconnect_callback_set(m_client, [](mosquitto*, void* object, int code) {
        QMetaObject::invokeMethod(
            publisherOf(object), [object, code] { publisherOf(object)->disconnected(code); },
            Qt::QueuedConnection);
    });
    mosquitto_publish_callback_set(m_client, [](mosquitto*, void* object, int messageId) {
        publisherOf(object)->m_lastPublished = messageId;
        QMetaObject::invokeMethod(
            publisherOf(object), [object, messageId] { publisherOf(object)->published(messageId); },
            Qt::QueuedConnection);
    });
}

int MqttPublisher::configure()
{
    const QByteArray offline("offline");
    int code = mosquitto_will_set(m_client, topic("availability").constData(), int(offline.size()),
                                  offline.constData(), kQos, true);
    if (code == MOSQ_ERR_SUCCESS && m_settings.credentials)
        code = mosquitto_username_pw_set(m_client, m_settings.credentials->user.toUtf8().constData(),
                                         m_settings.credentials->password.toUtf8().constData());
    if (code == MOSQ_ERR_SUCCESS && !m_settings.caFile.isEmpty())
        code = mosquitto_tls_set(m_client, QFile::encodeName(m_settings.caFile).constData(), nullptr, nullptr,
                                 nullptr, nullptr);
    if (code == MOSQ_ERR_SUCCESS)
        code =
            mosquitto_reconnect_delay_set(m_client, kReconnectDelaySeconds, kReconnectDelayMaxSeconds, false);
    return code;
}

bool MqttPublisher::start()
{
    m_client = mosquitto_new(nullptr, true, this);
    if (!m_client)
        return failed(MOSQ_ERR_NOMEM);
    setCallbacks();
    int code = configure();
    if (code != MOSQ_ERR_SUCCESS)
        return failed(code);
    // A broker that is not there yet is tried again by the library's thread.
    code = mosquitto_connect_async(m_client, m_settings.host.toUtf8().constData(), m_settings.port,
                                   kKeepAliveSeconds);
    if (code != MOSQ_ERR_SUCCESS)
        emit connectionChanged(false, code == MOSQ_ERR_ERRNO ? systemReason(errno) : reasonOf(code));
    m_connectWatch->start();
    code = mosquitto_loop_start(m_client);
    return code == MOSQ_ERR_SUCCESS || failed(code);
}

std::optional<int> MqttPublisher::publish(const QByteArray& topic, const QByteArray& payload)
{
    int messageId = 0;
    if (mosquitto_publish(m_client, &messageId, topic.constData(), int(payload.size()), payload.constData(),
                          kQos, true) != MOSQ_ERR_SUCCESS)
        return std::nullopt;
    return messageId;
}

void MqttPublisher::publishDiscovery()
{
    QJsonObject device{{"identifiers", QJsonArray{QStringLiteral("kv36_") + m_device.id}},
                       {"name", m_device.name},
                       {"manufacturer", QStringLiteral("KORAVEL")},
                       {"model", m_device.model}};
    if (!m_device.firmware.isEmpty())
        device.insert(QStringLiteral("sw_version"), m_device.firmware);
    const QJsonObject origin{{"name", QStringLiteral("KV-36")}, {"sw_version", QStringLiteral(KV36_VERSION)}};
    for (const Sensor& sensor : kSensors) {
        const QString key = QLatin1String(sensor.key);
        const QString uniqueId = m_device.id + u'_' + key;
        const QJsonObject config{
            {"name", QCoreApplication::translate("qzr17ctl", sensor.title)},
            {"unique_id", uniqueId},
            {"default_entity_id", QStringLiteral("sensor.kv36_") + uniqueId},
            {"state_topic", QString::fromUtf8(topic("state"))},
            {"value_template", QStringLiteral("{{ value_json.%1 }}").arg(key)},
            {"device_class", "temperature"},
            {"unit_of_measurement", QStringLiteral("°C")},
            {"state_class", "measurement"},
            {"availability_topic", QString::fromUtf8(topic("availability"))},
            {"device", device},
            {"origin", origin},
        };
        publish("homeassistant/sensor/" + m_device.id.toUtf8() + '/' + sensor.key + "/config",
                QJsonDocument(config).toJson(QJsonDocument::Compact));
    }
}

void MqttPublisher::publishState(const QDateTime& at, const QStringList& texts)
{
    // With its offset from UTC, so that the time means the same everywhere.
    QJsonObject state{{"time", at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODate)}};
    for (qsizetype i = 0; i < texts.size() && i < qsizetype(std::size(kSensors)); ++i) {
        const std::optional<double> value = measuredValue(texts[i]);
        state.insert(QLatin1String(kSensors[i].key),
                     value && std::isfinite(*value) ? QJsonValue(*value) : QJsonValue());
    }
    m_state = QJsonDocument(state).toJson(QJsonDocument::Compact);
    m_stateWaiting = true;
    sendState();
}

// One state on its way at a time; a newer one waits in its place.
void MqttPublisher::sendState()
{
    if (!m_connected || m_stateInFlight || !m_stateWaiting)
        return;
    m_stateInFlight = publish(topic("state"), m_state);
    m_stateWaiting = !m_stateInFlight;
}

void MqttPublisher::setAvailable(bool available)
{
    if (available == m_available)
        return;
    m_available = available;
    if (m_connected)
        publish(topic("availability"), available ? "online" : "offline");
}

void MqttPublisher::connected(int code)
{
    if (code != 0) {
        emit connectionChanged(false, refusalOf(code));
        return;
    }
    m_connectWatch->stop();
    m_connected = true;
    m_stateInFlight.reset();
    m_stateWaiting = !m_state.isEmpty();
    publishDiscovery();
    publish(topic("availability"), m_available ? "online" : "offline");
    sendState();
    emit connectionChanged(true, QString());
}

// A connection closed before the broker took it is a wrong transport as
// often as not (a TLS client at a plain listener, or the other way round),
// or nobody listening: which one, a connection of its own tells.
void MqttPublisher::disconnected(int code)
{
    if (std::exchange(m_connected, false)) {
        m_connectWatch->start();
        emit connectionChanged(false, reasonOf(code));
        return;
    }
    m_connectWatch->stop();
    diagnose(reasonOf(code));
}

QString MqttPublisher::transportHint(const QString& reason) const
{
    if (m_settings.caFile.isEmpty())
        return translated(
                   QT_TRANSLATE_NOOP("qzr17ctl",
                                     "%1; šifruje-li broker na portu %2 spojení (TLS), chybí --mqtt-cafile"))
            .arg(reason)
            .arg(m_settings.port);
    return translated("%1; šifrované spojení (TLS) se nenavázalo: šifruje broker na portu %2 a je jeho "
                      "certifikát vydán autoritou z %3?")
        .arg(reason)
        .arg(m_settings.port)
        .arg(m_settings.caFile);
}

// The library tries again quietly and says little about a connection that
// never got as far as MQTT.
void MqttPublisher::connectionOverdue()
{
    diagnose(translated(QT_TRANSLATE_NOOP("qzr17ctl", "broker do %1 s spojení nepřijal"))
                 .arg(kConnectReportMs / 1000));
}

// A plain connection to the broker's port tells what is wrong: nobody
// listens, or the broker waits for the other transport (a TLS handshake, or
// MQTT in plain text).
void MqttPublisher::diagnose(const QString& reason)
{
    if (m_connected)
        return;
    auto* probe = new QTcpSocket(this);
    connect(probe, &QTcpSocket::connected, this, [this, probe, reason] {
        probe->deleteLater();
        if (!m_connected)
            emit connectionChanged(false, transportHint(reason));
    });
    connect(probe, &QTcpSocket::errorOccurred, this, [this, probe](QAbstractSocket::SocketError error) {
        probe->deleteLater();
        if (!m_connected)
            emit connectionChanged(false, unreachable(error));
    });
    probe->connectToHost(m_settings.host, quint16(m_settings.port));
}

void MqttPublisher::published(int messageId)
{
    if (m_stateInFlight != messageId)
        return;
    m_stateInFlight.reset();
    sendState();
}

void MqttPublisher::stop()
{
    if (!m_client)
        return;
    if (m_connected) {
        const std::optional<int> messageId = publish(topic("availability"), "offline");
        QElapsedTimer waited;
        waited.start();
        while (messageId && m_lastPublished != *messageId && waited.elapsed() < kStopWaitMs)
            QThread::msleep(10);
    }
    m_connected = false;
    mosquitto_disconnect(m_client);
    mosquitto_loop_stop(m_client, false);
}
