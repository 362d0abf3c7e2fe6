#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <QTimer>

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
// Home Assistant shows, the model (the device type text) and the regulator's
// firmware (its version text).
struct MqttDevice {
    QString id;
    QString name;
    QString model;
    QString firmware;
};

// A name as it can stand in a topic, a discovery topic and an entity id:
// lower-case ASCII letters and digits, everything else one underscore
// between them. Letters with accents lose them; a name with letters that
// have no ASCII form (Cyrillic, Greek, ...) gets eight hexadecimal digits of
// its hash in their place, so that two such names still differ. Empty for a
// name without letters or digits.
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
    // Debian's mosquitto 2.0.11 gives up on a silent client 1.5 times the
    // keep-alive after its last packet, plus up to about 6 s more (with 6 s,
    // 9.3 to 14.6 s; with 10 s, 19.6 s): with 5 s the last will is out
    // within 15 s of a dead watch, as the README promises.
    static constexpr int kKeepAliveSeconds = 5;
    static constexpr int kStopWaitMs = 2000;
    // A connection that neither succeeds nor fails for this long is told
    // as such (a TLS listener spoken to in plain text waits for ever).
    static constexpr int kConnectReportMs = 10000;

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
    void connectionOverdue();
    void diagnose(const QString& reason);
    QString transportHint(const QString& reason) const;
    bool failed(int code);

    MqttSettings m_settings;
    MqttDevice m_device;
    mosquitto* m_client = nullptr;
    QTimer* m_connectWatch;
    bool m_connected = false;
    bool m_available = true;
    QByteArray m_state;
    std::optional<int> m_stateInFlight;
    bool m_stateWaiting = false;
    std::atomic<int> m_lastPublished{-1};
    QString m_error;
};
