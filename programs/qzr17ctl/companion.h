#pragma once

#include "exit_status.h"
#include "serial_line.h"

#include <QStringList>

// The whole run of qzr17ctl after the application object exists: parse, open
// the line, run the command. Times in the trace count from start.
ExitStatus runCompanion(const QStringList& arguments, SerialLine::Clock::time_point start);
