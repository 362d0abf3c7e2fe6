#include "serial_server.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtDebug>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

constexpr int kStartTimeoutMs = 5000;

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

bool accepts(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(100) || (QThread::msleep(20), false);
}

} // namespace

SerialServer::SerialServer(Kind kind, QString devicePath) : m_kind(kind), m_devicePath(std::move(devicePath))
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
#ifdef Q_OS_LINUX
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
}

SerialServer::~SerialServer()
{
    kill();
}

bool SerialServer::start()
{
    kill();
    const qsizetype before = log().size();
    if (m_port == 0)
        m_port = freePort();
    startProcess();
    return awaitListening(before);
}

void SerialServer::startProcess()
{
    // -d -d has socat announce "listening on" once its socket is bound.
    // Without nodelay a reply paced at the line's rate waits for
    // acknowledgements in pieces, as on a server that packs its data badly.
    if (m_kind == Kind::RawTcp) {
        m_process.start(QStringLiteral("socat"),
                        {"-d", "-d",
                         QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,nodelay").arg(m_port),
                         m_devicePath + QStringLiteral(",raw,echo=0")});
    } else if (m_kind == Kind::Rfc2217) { // Debian's own interpreter: the one that has python3-serial.
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral(KV36_RFC2217_SERVER), m_devicePath, QString::number(m_port)});
    } else { // the accepter and the device alone: ser2net's defaults (no nodelay); a pty has no UUCP lock
        QFile config(m_configDir.filePath(QStringLiteral("ser2net.yaml")));
        const QString yaml = QStringLiteral("connection: &bus\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                                            "  connector: serialdev,%2,9600e81,local\n  options:\n    mdns: false\n");
        if (config.open(QIODevice::WriteOnly) && config.write(yaml.arg(m_port).arg(m_devicePath).toUtf8()) > 0 &&
            config.flush())
            m_process.start(QStringLiteral("ser2net"),
                            {"-n", "-u", "-c", config.fileName(), "-P", m_configDir.filePath("pid")});
    }
}

// socat and the python server say when they listen; ser2net says nothing,
// and is asked by a connection.
bool SerialServer::awaitListening(qsizetype logBefore)
{
    const QString listening =
        m_kind == Kind::RawTcp ? QStringLiteral("listening on") : QStringLiteral("LISTEN");
    const QDeadlineTimer deadline(kStartTimeoutMs);
    m_process.waitForStarted(kStartTimeoutMs);
    while (m_kind == Kind::Ser2net ? !accepts(m_port) : log().indexOf(listening, logBefore) < 0) {
        const bool running = m_process.state() != QProcess::NotRunning;
        if (deadline.hasExpired() || !running ||
            (m_kind != Kind::Ser2net && !m_process.waitForReadyRead(int(deadline.remainingTime())))) {
            qWarning("SerialServer: not listening within %d ms: %s", kStartTimeoutMs, qPrintable(log()));
            return false;
        }
    }
    return true;
}

void SerialServer::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
    log();
}

QString SerialServer::address() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_kind == Kind::RawTcp ? "tcp" : "rfc2217").arg(m_port);
}

QString SerialServer::log()
{
    if (m_process.isOpen())
        m_log += QString::fromUtf8(m_process.readAll());
    return m_log;
}
