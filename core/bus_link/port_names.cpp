#include "port_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QSerialPortInfo>
#else
#include <filesystem>
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

bool hasPortEntry(const QString&) { return false; }

bool portDeviceUnplugged(const QString& portName)
{
    static const QRegularExpression comName(QStringLiteral("^COM[1-9]\\d*$"));
    return comName.match(portName).hasMatch() && !portDevicePresent(portName);
}

QString portEntryTarget(const QString&) { return {}; }

QString stableDeviceName(const QString&) { return {}; }

bool linkComPort(int, const QString&) { return false; }
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

bool hasPortEntry(const QString& portName)
{
    if (!comNamePattern().match(portName).hasMatch())
        return false;
    const QFileInfo entry = portEntry(portName);
    return entry.isSymLink() || entry.isFile();
}

bool portDeviceUnplugged(const QString& portName)
{
    return hasPortEntry(portName) && !portDevicePresent(portName);
}

QString portEntryTarget(const QString& portName)
{
    return hasPortEntry(portName) ? targetOfEntry(portEntry(portName)) : QString();
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
    if (hasPortEntry(portName))
        return portEntry(portName).absoluteFilePath();
    return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
}

bool portDevicePresent(const QString& portName) { return QFileInfo::exists(devicePathFor(portName)); }

QString stableDeviceName(const QString& devicePath)
{
#ifdef Q_OS_LINUX
    const QString device = followLinks(devicePath);
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& name : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (name.canonicalFilePath() == device)
            return name.absoluteFilePath();
    }
#else
    Q_UNUSED(devicePath)
#endif
    return {};
}

// The new link is made beside the old entry and renamed over it, so that the
// name never leads nowhere meanwhile.
bool linkComPort(int number, const QString& target)
{
    const QDir directory(portDirectory());
    if (!directory.mkpath(QStringLiteral(".")))
        return false;
    const QString link = directory.filePath(comPortName(number));
    const QString fresh = link + QStringLiteral(".new");
    QFile::remove(fresh);
    if (!QFile::link(target, fresh))
        return false;
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(fresh).toStdString(), QFile::encodeName(link).toStdString(), failed);
    if (failed)
        QFile::remove(fresh);
    return !failed;
}
#endif
