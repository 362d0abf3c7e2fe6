#pragma once

#include "exit_status.h"

#include <QStringList>

// "qzr17ctl log-csv FILE": the whole measurement log as CSV on standard
// output, for a spreadsheet or a script, and on standard error the counts of
// lines read and skipped, of outages, and of dates that are guesses. A file
// that cannot be read, is no log or holds no readable measurement gives a
// message and Usage. Throws UsageError for any other number of
// arguments.
ExitStatus runLogCsv(const QStringList& arguments);
