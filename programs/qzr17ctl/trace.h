#pragma once

#include "serial_line.h"

// Writes every telegram the line sends or receives to standard error, one
// line each: direction, milliseconds since start, the bytes and their meaning.
// A reply is read in the light of the request before it.
void traceTraffic(SerialLine& line, SerialLine::Clock::time_point start);
