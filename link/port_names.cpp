#include "port_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QSerialPortInfo>
#endif

QString comPortName(int number) { return QStringLiteral("COM%1").arg(number); }

QString portDirectory()
{
    const QString fromEnv = qEnvironmentVariable("KV36_PORT_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Talvex_R16/ports");
}

#ifdef Q_OS_WIN
QString devicePathFor(const QString& portName) { return portName; }

bool portDevicePresent(const QString& portName) { return !QSerialPortInfo(portName).isNull(); }

QString portEntryTarget(const QString&) { return {}; }
#else
namespace {

const QRegularExpression& comNamePattern()
{
    static const QRegularExpression comName(QStringLiteral("^COM(-?\\d+)$"));
    return comName;
}

QFileInfo portEntry(const QString& portName) { return QFileInfo(QDir(portDirectory()).filePath(portName)); }

QString followLinks(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

// A link is judged by itself: QFileInfo::exists() says false for one that
// dangles, and the entry must still name its device then.
QString targetOfEntry(const QFileInfo& entry)
{
    if (entry.isSymLink())
        return entry.symLinkTarget();
    QFile file(entry.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromLocal8Bit(file.readLine()).trimmed();
}

} // namespace

QString portEntryTarget(const QString& portName)
{
    if (!comNamePattern().match(portName).hasMatch())
        return {};
    const QFileInfo entry = portEntry(portName);
    return entry.isSymLink() || entry.isFile() ? targetOfEntry(entry) : QString();
}

QString devicePathFor(const QString& portName)
{
    const QRegularExpressionMatch match = comNamePattern().match(portName);
    if (!match.hasMatch())
        return followLinks(portName);
    const QString target = portEntryTarget(portName);
    if (!target.isEmpty())
        return followLinks(target);
    // An entry that names nothing readable is no device either.
    const QFileInfo entry = portEntry(portName);
    if (entry.isSymLink() || entry.isFile())
        return entry.absoluteFilePath();
    return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
}

bool portDevicePresent(const QString& portName) { return QFileInfo::exists(devicePathFor(portName)); }
#endif
