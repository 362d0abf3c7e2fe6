#include "server_entries.h"

#include "port_names.h"

#ifdef Q_OS_WIN
#include <QSettings>
#else
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#endif

#ifdef Q_OS_WIN
namespace {

// The program's settings store; the section is this module's alone.
const QString kStore = QStringLiteral("HKEY_CURRENT_USER\\Talvex_R16");

QString keyOf(const QString& portName)
{
    return QStringLiteral("SERVERY/") + portName;
}

} // namespace

std::optional<NetworkAddress> serverFor(const QString& portName)
{
    const QSettings settings(kStore, QSettings::NativeFormat);
    return parseNetworkAddress(settings.value(keyOf(portName)).toString());
}

bool assignServer(int number, const NetworkAddress& address)
{
    QSettings settings(kStore, QSettings::NativeFormat);
    settings.setValue(keyOf(comPortName(number)), address.text());
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void forgetServer(int number)
{
    QSettings settings(kStore, QSettings::NativeFormat);
    settings.remove(keyOf(comPortName(number)));
}
#else
std::optional<NetworkAddress> serverFor(const QString& portName)
{
    return parseNetworkAddress(portEntryTarget(portName));
}

// The file replaces the entry in one rename, also when the entry was a link.
// A full disk can let the commit succeed with nothing written: the size on
// disk is what tells.
bool assignServer(int number, const NetworkAddress& address)
{
    const QDir directory(portDirectory());
    if (!directory.mkpath(QStringLiteral(".")))
        return false;
    const QString path = directory.filePath(comPortName(number));
    QSaveFile entry(path);
    const QByteArray line = address.text().toUtf8() + '\n';
    return entry.open(QIODevice::WriteOnly) && entry.write(line) == line.size() && entry.flush() &&
           entry.commit() && QFileInfo(path).size() == line.size();
}
#endif
