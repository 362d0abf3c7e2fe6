#include "log_csv.h"

#include "console.h"
#include "log_history.h"
#include "log_history_csv.h"
#include "usage_error.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

ExitStatus runLogCsv(const QStringList& arguments)
{
    if (arguments.size() != 1)
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz log-csv čeká jeden soubor"));
    const LogReadResult result = readLogFile(arguments.first());
    if (const auto* fault = std::get_if<LogFault>(&result)) {
        printError(logFaultMessage(*fault, arguments.first()));
        return ExitStatus::Usage;
    }
#ifdef Q_OS_WIN
    // The rows end in CR LF already: a text-mode stream would add a CR.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const LogHistory& history = std::get<LogHistory>(result);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || !writeLogCsv(history, 0, history.size(), out) ||
        !out.flush()) {
        printError(QCoreApplication::translate("qzr17ctl", "Standardní výstup nelze zapsat"));
        return ExitStatus::Usage;
    }
    printError(logSummary(history));
    return ExitStatus::Success;
}
