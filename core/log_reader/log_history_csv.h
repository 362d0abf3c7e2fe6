#pragma once

#include "log_history.h"

class QIODevice;

// The samples [first, last) of a log as CSV that spreadsheets open as data:
// UTF-8 with a byte-order mark (or a Czech header is garbled), CR LF line
// ends, a header row, then a row a sample: the local date and time in ISO
// 8601 without an offset ("2026-12-07T23:59:59", which spreadsheets take for
// a date under any settings), the UTC offset in a column of its own
// ("+01:00"), and the five values as the panels show them, a value that is
// no number left empty. Numbers follow the current locale: with a decimal
// comma the fields are separated by semicolons and the values quoted (a
// spreadsheet splits at commas too unless told otherwise); otherwise a
// decimal point and commas. False when the device refused some of it.
[[nodiscard]] bool writeLogCsv(const LogHistory& history, qsizetype first, qsizetype last, QIODevice& device);
