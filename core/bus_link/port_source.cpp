#include "port_source.h"

#include "port_names.h"

#include <QSerialPortInfo>

QString SerialPortEntry::usbIds() const
{
    if (!vendorId || !productId)
        return {};
    return QStringLiteral("%1:%2").arg(*vendorId, 4, 16, QLatin1Char('0')).arg(*productId, 4, 16, QLatin1Char('0'));
}

QString SerialPortEntry::tabbedLine() const
{
    return QStringList{systemName, description, manufacturer, serialNumber, usbIds(), stableName}.join(u'\t');
}

QList<SerialPortEntry> SystemPortSource::ports() const
{
    QList<SerialPortEntry> entries;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry entry{info.portName(), info.systemLocation(), info.description(), info.manufacturer(),
                              info.serialNumber(), std::nullopt, std::nullopt, stableDeviceName(info.systemLocation())};
        if (info.hasVendorIdentifier())
            entry.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            entry.productId = info.productIdentifier();
        entries.append(entry);
    }
    return entries;
}
