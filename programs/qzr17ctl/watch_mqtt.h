#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

struct mosquitto;

struct MqttCredentials {
    QString user;
    QString password;
};

struct MqttSettings {
    QString host;
    int port = 0; // 0: 1883, or 8883 with TLS
    std::optional<MqttCredentials> credentials;
    QString caFile; // TLS with this CA when set
};

// Who is published: the device id in the topics and unique ids, the name
// Home Assistant shows, the model (the device type text).
struct MqttDevice {
    QString id;
    QString name;
    QString model;
};

// A name as it can stand in a topic and a unique id: lower-case ASCII letters
// and digits, everything else one underscore between them.
QString mqttDeviceId(const QString& name);

// Publishes one regulator's values to an MQTT broker, for Home Assistant
// among others: the retained state, its availability ("offline" also as the
// last will) and the discovery configs, sent again at every connection. The
// client library's own thread keeps the connection alive and connects again
// after the broker went away; what it reports reaches this object as events
// of its thread. Nothing piles up while the broker is away or slow: only the
// newest state waits, and it replaces the one before.
class MqttPublisher : public QObject {
    Q_OBJECT
public:
    static constexpr int kKeepAliveSeconds = 10;
    static constexpr int kStopWaitMs = 2000;

    MqttPublisher(const MqttSettings& settings, const MqttDevice& device, QObject* parent = nullptr);
    ~MqttPublisher() override;

    // Starts connecting; false with errorString() when the settings are
    // refused at once (a CA file that cannot be read).
    [[nodiscard]] bool start();
    // The shown texts of one reading (water, outdoor, demanded, setback,
    // deviation) as numbers, with the time of the reading.
    void publishState(const QDateTime& at, const QStringList& texts);
    void setAvailable(bool available);
    // Sends "offline" when connected, waits a moment for it to leave, and disconnects.
    void stop();
    QString errorString() const { return m_error; }
    QString address() const;

signals:
    // connected, or the reason it is not
    void connectionChanged(bool connected, const QString& detail);

private:
    void setCallbacks();
    int configure();
    QByteArray topic(const char* leaf) const;
    // The message's id, or nothing when the library did not take it.
    std::optional<int> publish(const QByteArray& topic, const QByteArray& payload);
    void publishDiscovery();
    void sendState();
    void connected(int code);
    void disconnected(int code);
    void published(int messageId);
    bool failed(int code);

    MqttSettings m_settings;
    MqttDevice m_device;
    mosquitto* m_client = nullptr;
    bool m_connected = false;
    bool m_available = true;
    QByteArray m_state;
    std::optional<int> m_stateInFlight;
    bool m_stateWaiting = false;
    std::atomic<int> m_lastPublished{-1};
    QString m_error;
};
