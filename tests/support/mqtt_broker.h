#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// mosquitto on a loopback port of its own, for tests and benchmarks; the
// port stays the same when it is started again.
class MqttBroker {
public:
    // config: extra lines of mosquitto.conf; clientOptions: what mosquitto_sub needs to get in.
    explicit MqttBroker(QStringList config = {"allow_anonymous true"}, QStringList clientOptions = {});
    ~MqttBroker() { stop(); }

    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    [[nodiscard]] bool start(); // false (with qWarning) when it does not run within 5 s
    void stop() { m_process.kill(), m_process.waitForFinished(); } // gone without a word

    // The messages on `topic` until at least `count` came and the last starts
    // with `payload`, or the time is up.
    QStringList waitFor(const QString& topic, const QString& payload, int seconds = 10, int count = 1);

private:
    QTemporaryDir m_dir;
    QStringList m_config;
    QStringList m_clientOptions;
    QProcess m_process;
    quint16 m_port = 0;
};
