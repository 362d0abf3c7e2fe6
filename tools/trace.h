#pragma once

#include "serial_line.h"

#include <QByteArray>
#include <QString>

// "TX 12 10 00 00 69 69 16": direction, milliseconds since start, the bytes.
QString traceLine(SerialLine::Direction direction, qint64 milliseconds, const QByteArray& bytes);

// Writes every telegram the line sends or receives to standard error.
void traceTraffic(SerialLine& line, SerialLine::Clock::time_point start);
