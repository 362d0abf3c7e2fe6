#pragma once

#include <QList>
#include <QString>

#include <optional>

// One serial port the computer has, as the system describes it.
struct SerialPortEntry {
    QString systemName;     // "ttyUSB0", "COM12"
    QString systemLocation; // "/dev/ttyUSB0", "\\\\.\\COM12"
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString stableName; // the /dev/serial/by-id/ name, where the system gives one

    // "0403:6001", or empty when the port is no USB device.
    QString usbIds() const;
    // The name a COM link should lead to: the stable one where there is one.
    QString linkTarget() const { return stableName.isEmpty() ? systemLocation : stableName; }
    // One line of tab-separated fields, as the companion lists ports.
    QString tabbedLine() const;
    bool operator==(const SerialPortEntry&) const = default;
};

// Where the list of ports comes from: the system's in the program, a table
// in tests.
class PortSource {
public:
    virtual ~PortSource() = default;
    virtual QList<SerialPortEntry> ports() const = 0;
};

class SystemPortSource final : public PortSource {
public:
    QList<SerialPortEntry> ports() const override;
};
