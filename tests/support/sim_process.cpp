#include "sim_process.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QtDebug>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 3000;
const QString kPortPrefix = QStringLiteral("PORT ");

} // namespace

SimProcess::SimProcess(QStringList args)
    : m_args(std::move(args))
{
    // The simulator's complaints belong in the test's own log.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
#ifdef Q_OS_LINUX
    // A test that crashes must not leave its simulator behind holding the
    // port link and the test's error channel.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
}

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning)
        terminate();
}

QString SimProcess::executablePath()
{
    return QStringLiteral(KV36_SIM_PATH);
}

bool SimProcess::start()
{
    const QString path = executablePath();
    if (!QFileInfo(path).isExecutable()) {
        qWarning("SimProcess: simulator %s is missing", qPrintable(path));
        return false;
    }
    m_process.start(path, m_args);
    if (!m_process.waitForStarted(kStartTimeoutMs)) {
        qWarning("SimProcess: %s did not start: %s", qPrintable(path), qPrintable(m_process.errorString()));
        return false;
    }
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (m_portPath.isEmpty() && readLines(int(deadline.remainingTime()))) {
        for (qsizetype i = 0; i < m_events.size(); ++i) {
            if (m_events[i].startsWith(kPortPrefix)) {
                m_portPath = m_events.takeAt(i).mid(kPortPrefix.size());
                break;
            }
        }
    }
    if (m_portPath.isEmpty()) {
        qWarning("SimProcess: %s printed no PORT line within %d ms", qPrintable(path), kStartTimeoutMs);
        kill();
        return false;
    }
    return true;
}

QString SimProcess::portPath() const
{
    return m_portPath;
}

QString SimProcess::command(const QString& line, int timeoutMs)
{
    if (m_process.state() != QProcess::Running)
        return {};
    m_process.write(line.toUtf8() + '\n');
    m_process.waitForBytesWritten(timeoutMs);
    const QDeadlineTimer deadline(timeoutMs);
    while (m_replies.isEmpty() && readLines(int(deadline.remainingTime()))) {
    }
    return m_replies.isEmpty() ? QString() : m_replies.takeFirst();
}

QByteArray SimProcess::table(int t)
{
    const QString reply = command(QStringLiteral("get %1").arg(t));
    if (!reply.startsWith(QLatin1String("OK ")))
        return {};
    return QByteArray::fromHex(reply.mid(3).toLatin1());
}

bool SimProcess::setTable(int t, const QByteArray& bytes)
{
    return command(QStringLiteral("set %1 %2").arg(t).arg(QString::fromLatin1(bytes.toHex().toUpper())))
           == QLatin1String("OK");
}

QString SimProcess::waitForEvent(const QString& prefix, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    qsizetype checked = 0;
    do {
        for (; checked < m_events.size(); ++checked) {
            if (m_events[checked].startsWith(prefix))
                return m_events.takeAt(checked);
        }
    } while (readLines(int(deadline.remainingTime())));
    return {};
}

QStringList SimProcess::events() const
{
    return m_events;
}

void SimProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(kStopTimeoutMs);
}

void SimProcess::terminate()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopTimeoutMs))
        kill();
}

bool SimProcess::readLines(int timeoutMs)
{
    if (m_process.bytesAvailable() == 0 && !m_process.waitForReadyRead(qMax(timeoutMs, 0)))
        return false;
    m_partial += m_process.readAllStandardOutput();
    for (qsizetype end = m_partial.indexOf('\n'); end >= 0; end = m_partial.indexOf('\n')) {
        fileLine(QString::fromUtf8(m_partial.left(end)));
        m_partial.remove(0, end + 1);
    }
    return true;
}

void SimProcess::fileLine(const QString& line)
{
    if (isReply(line))
        m_replies.append(line);
    else
        m_events.append(line);
}

bool SimProcess::isReply(const QString& line)
{
    return line == QLatin1String("OK") || line.startsWith(QLatin1String("OK ")) || line.startsWith(QLatin1String("ERR"));
}
