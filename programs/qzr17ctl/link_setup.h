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
// it lives.
class AttachedLink {
public:
    AttachedLink(PortIo& port, const LinkSettings& settings);
    ~AttachedLink();
    AttachedLink(const AttachedLink&) = delete;
    AttachedLink& operator=(const AttachedLink&) = delete;
};
