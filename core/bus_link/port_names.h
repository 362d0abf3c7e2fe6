#pragma once

#include <QString>

#include <optional>

// Why an entry of the port directory could not be written, in words for the
// user; nothing when it was written.
using EntryFailure = std::optional<QString>;

// "COM%i": the name of port n as the user and the settings know it.
QString comPortName(int number);

// The number of a "COMn" name; nothing for any other name and for a number
// too large for a port number.
std::optional<int> comPortNumber(const QString& portName);

// The device a port name stands for. On Windows a "COMn" name opens as it is.
// Elsewhere "COMn" resolves through a link (or a file holding a device path)
// named COMn in the port directory, else to /dev/ttyS<n-1>. An entry names its
// device also while the device is absent (an unplugged adapter's by-id link
// dangles): the path then leads nowhere and the open fails. Any other name is
// taken as a device path. Links are followed, so that two names of one device
// meet at the same lock.
QString devicePathFor(const QString& portName);

// Whether the device a port name stands for is there to be opened.
bool portDevicePresent(const QString& portName);

// Whether the port directory has an entry for a "COMn" name, also one whose
// device is absent; false on Windows, which names its COM ports itself.
bool hasPortEntry(const QString& portName);

// Whether a "COMn" name leads to a device the user chose that is not there
// now, as an unplugged adapter: an entry whose device is absent, or on
// Windows a COM port the system does not list.
bool portDeviceUnplugged(const QString& portName);

// What the port directory's entry for a "COMn" name leads to, as written
// there; empty when there is no entry (and on Windows).
QString portEntryTarget(const QString& portName);

// The /dev/serial/by-id/ name of a device, which stays the same whatever node
// the system gives it; empty where there is none (and off Linux).
QString stableDeviceName(const QString& devicePath);

// Makes "COMn" in the port directory a link to target, in place of any entry
// there, creating the directory when needed. Windows names its COM ports
// itself: there it does nothing and fails.
[[nodiscard]] EntryFailure linkComPort(int number, const QString& target);

// Makes "COMn" in the port directory a file holding text, in place of any
// entry there. Elsewhere than on Windows only.
[[nodiscard]] EntryFailure writeComPortFile(int number, const QByteArray& text);

// $KV36_PORT_DIR, else Talvex_R16/ports in the user's configuration directory.
QString portDirectory();
