#include "port_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>

#ifdef Q_OS_WIN
#include <QSerialPortInfo>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

QString comPortName(int number) { return QStringLiteral("COM%1").arg(number); }

std::optional<int> comPortNumber(const QString& portName)
{
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"));
    const QRegularExpressionMatch match = comName.match(portName);
    bool fits = false;
    const int number = match.hasMatch() ? match.captured(1).toInt(&fits) : 0;
    return fits ? std::optional<int>(number) : std::nullopt;
}

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

EntryFailure linkComPort(int, const QString&)
{
    return QCoreApplication::translate("PortNames", "porty COM čísluje Windows");
}

EntryFailure writeComPortFile(int, const QByteArray&)
{
    return QCoreApplication::translate("PortNames", "porty COM čísluje Windows");
}
#else
namespace {

// An entry's name is any COM name, also one with a number no port number
// reaches (written by hand): it is listed, and leads where it says.
const QRegularExpression& comNamePattern()
{
    static const QRegularExpression comName(QStringLiteral("^COM\\d+$"));
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
    if (!comNamePattern().match(portName).hasMatch())
        return followLinks(portName);
    const QString target = portEntryTarget(portName);
    if (!target.isEmpty())
        return followLinks(target);
    // An entry that names nothing readable is no device either, and neither
    // is a number beyond any port number.
    const std::optional<int> number = comPortNumber(portName);
    if (hasPortEntry(portName) || !number)
        return portEntry(portName).absoluteFilePath();
    return QStringLiteral("/dev/ttyS%1").arg(qint64(*number) - 1);
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

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("PortNames", text);
}

// What the system said, in the user's words where it is a usual cause.
QString reasonOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return translated(QT_TRANSLATE_NOOP("PortNames", "přístup odepřen"));
    case EROFS:
        return translated(QT_TRANSLATE_NOOP("PortNames", "složka je jen pro čtení"));
    case ENOSPC:
    case EDQUOT:
        return translated(QT_TRANSLATE_NOOP("PortNames", "na disku není místo"));
    case EISDIR:
        return translated(QT_TRANSLATE_NOOP("PortNames", "v jeho místě je složka"));
    case ENOENT:
    case ENOTDIR:
        return translated(QT_TRANSLATE_NOOP("PortNames", "složka neexistuje"));
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

EntryFailure failedWith(int error)
{
    return reasonOf(error);
}

EntryFailure writeFresh(const QByteArray& fresh, const QByteArray& text)
{
    const int file = ::open(fresh.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0)
        return failedWith(errno);
    const bool written = ::write(file, text.constData(), size_t(text.size())) == text.size() && ::fsync(file) == 0;
    const int error = errno;
    ::close(file);
    if (!written)
        return failedWith(error == 0 ? ENOSPC : error);
    return std::nullopt;
}

// The new entry is made beside the old one and renamed over it: the entry
// itself is replaced, never what a link there leads to (a device node, a
// file of another program), and the name never leads nowhere meanwhile.
EntryFailure placeEntry(int number, const std::function<EntryFailure(const QByteArray&)>& makeFresh)
{
    const QString directory = portDirectory();
    if (!QDir(directory).mkpath(QStringLiteral(".")))
        return translated(QT_TRANSLATE_NOOP("PortNames", "složku portů %1 nelze vytvořit"))
            .arg(directory);
    const QString path = QDir(directory).filePath(comPortName(number));
    const QByteArray entry = encoded(path);
    const QByteArray fresh = entry + ".new";
    ::unlink(fresh.constData());
    EntryFailure failure = makeFresh(fresh);
    if (!failure && ::rename(fresh.constData(), entry.constData()) != 0)
        failure = failedWith(errno);
    if (!failure)
        return std::nullopt;
    ::unlink(fresh.constData());
    return QStringLiteral("%1: %2").arg(path, *failure);
}

} // namespace

EntryFailure linkComPort(int number, const QString& target)
{
    return placeEntry(number, [&target](const QByteArray& fresh) {
        return ::symlink(encoded(target).constData(), fresh.constData()) == 0 ? std::nullopt : failedWith(errno);
    });
}

EntryFailure writeComPortFile(int number, const QByteArray& text)
{
    return placeEntry(number, [&text](const QByteArray& fresh) { return writeFresh(fresh, text); });
}
#endif
