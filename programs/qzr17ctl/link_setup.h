#pragma once

#include "options.h"
#include "serial_line.h"

#include <QString>

#include <cstdint>

class SettingsStore;

// Where and how to reach the regulator, from the options or else the store.
struct LinkSettings {
    int portNumber = 1;  // "COM<n>", used when devicePath is empty
    QString devicePath;
    int baudRate = 9600;
    uint8_t destinationAddress = 0;
    uint8_t sourceAddress = 0;
};

LinkSettings resolveLinkSettings(const CtlOptions& options, const SettingsStore& store);

// Opens the port at the chosen rate; throws AppError with the port's name.
void openLine(SerialLine& line, const LinkSettings& settings);

// Hands the line and the two addresses to the protocol module for as long as
// it lives, with what earlier runs left of their failures on the same device;
// a failure of this run is left for the next one at once. Without a device
// nothing is taken over or left: the run then waits out its own late answer
// before it ends.
class AttachedLink {
public:
    AttachedLink(PortIo& port, const LinkSettings& settings, const QString& device = {});
    ~AttachedLink();
    AttachedLink(const AttachedLink&) = delete;
    AttachedLink& operator=(const AttachedLink&) = delete;

private:
    bool m_recorded;
};
