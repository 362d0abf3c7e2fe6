#include "server_entries.h"

#include "port_names.h"

#ifdef Q_OS_WIN
#include <QCoreApplication>
#include <QSettings>
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

EntryFailure assignServer(int number, const NetworkAddress& address)
{
    QSettings settings(kStore, QSettings::NativeFormat);
    settings.setValue(keyOf(comPortName(number)), address.text());
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return std::nullopt;
    return QCoreApplication::translate("PortNames", "nastavení nelze zapsat");
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

EntryFailure assignServer(int number, const NetworkAddress& address)
{
    return writeComPortFile(number, address.text().toUtf8() + '\n');
}
#endif
