#pragma once

#include "exit_status.h"

#include <QStringList>

class PortSource;

// "qzr17ctl ports": the computer's serial ports, one a line with the fields
// tab-separated (system name, description, maker, serial number, USB
// VID:PID, stable by-id name), then each COMn entry of the port directory
// with what it names and the device it leads to, or "není připojeno"; for a
// serial server whether it takes a connection, or why not, or what is wrong
// with its address.
// Throws UsageError when given arguments.
ExitStatus listPorts(const PortSource& source, const QStringList& arguments);
