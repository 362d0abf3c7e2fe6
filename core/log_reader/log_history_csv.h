#pragma once

#include "log_history.h"

class QIODevice;

// The samples [first, last) of a log as CSV in UTF-8 with CR LF line ends: a
// header row, then a row a sample with its local date and time in ISO 8601
// with the UTC offset, and the five values with '.' decimals as the panels
// show them; a value that is no number is left empty. False when the device
// refused some of it.
[[nodiscard]] bool writeLogCsv(const LogHistory& history, qsizetype first, qsizetype last, QIODevice& device);
