#include "mqtt_broker.h"

#include <QDebug>
#include <QFile>
#include <QTcpServer>

MqttBroker::MqttBroker(QStringList config, QStringList clientOptions)
    : m_config(std::move(config)), m_clientOptions(std::move(clientOptions))
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    m_port = probe.serverPort();
}

bool MqttBroker::start()
{
    QFile conf(m_dir.filePath("mosquitto.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return false;
    // As root it would become the user "mosquitto", who cannot read the test's files.
    conf.write(QStringLiteral("user root\nlistener %1 127.0.0.1\n%2\n").arg(m_port).arg(m_config.join(u'\n')).toUtf8());
    conf.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("mosquitto"), {"-c", conf.fileName()});
    QByteArray said;
    while (!said.contains(" running") && m_process.waitForReadyRead(5000))
        said += m_process.readAll();
    if (!said.contains(" running"))
        qWarning() << said;
    return said.contains(" running");
}

QStringList MqttBroker::waitFor(const QString& topic, const QString& payload, int seconds, int count)
{
    QProcess sub;
    sub.start(QStringLiteral("mosquitto_sub"), QStringList{"-h", "127.0.0.1", "-p", QString::number(m_port), "-t",
                                                           topic, "-W", QString::number(seconds)} + m_clientOptions);
    QStringList messages;
    while (!(messages.size() >= count && messages.last().startsWith(payload)) && sub.waitForReadyRead(seconds * 1000))
        messages += QString::fromUtf8(sub.readAll()).split(u'\n', Qt::SkipEmptyParts);
    sub.kill();
    sub.waitForFinished();
    return messages;
}
