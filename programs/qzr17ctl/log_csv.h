#pragma once

#include "exit_status.h"

#include <QStringList>

// "qzr17ctl log-csv FILE": the whole measurement log as CSV on standard
// output, for a spreadsheet or a script. A file that cannot be read or is no
// log gives a message and Usage. Throws UsageError for any other number of
// arguments.
ExitStatus runLogCsv(const QStringList& arguments);
