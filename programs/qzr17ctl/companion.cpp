#include "companion.h"

#include "app_error.h"
#include "bus_commands.h"
#include "console.h"
#include "language.h"
#include "link_setup.h"
#include "log_csv.h"
#include "options.h"
#include "port_listing.h"
#include "port_source.h"
#include "recording_port.h"
#include "request.h"
#include "settings_store.h"
#include "trace.h"
#include "usage_error.h"
#include "watch.h"

#include <QCoreApplication>

namespace {

ExitStatus runRequest(const CtlOptions& options, const CommandRequest& request,
                      SerialLine::Clock::time_point start)
{
    const LinkSettings settings = resolveLinkSettings(options, SettingsStore());
    SerialLine line;
    if (options.trace)
        traceTraffic(line, start);
    openLine(line, settings);
    RecordingPort port(line);
    const AttachedLink attached(port, settings, line.devicePath());
    return BusCommands(port).run(request);
}

} // namespace

ExitStatus runCompanion(const QStringList& arguments, SerialLine::Clock::time_point start)
{
    applyLanguage(requestedLanguage(arguments).value_or(storedLanguage(SettingsStore())));
    try {
        const CtlOptions options = parseOptions(arguments);
        if (options.help) {
            printLine(usageText());
            return ExitStatus::Success;
        }
        if (options.command == u"ports")
            return listPorts(SystemPortSource(), options.arguments);
        if (options.command == u"log-csv")
            return runLogCsv(options.arguments);
        if (options.command == u"watch")
            return runWatch(options, start);
        // Checked in full before the port is touched.
        const CommandRequest request = parseRequest(options.command, options.arguments);
        return runRequest(options, request, start);
    } catch (const UsageError& error) {
        printError(error.message());
        printError(QCoreApplication::translate("qzr17ctl", "Nápověda: qzr17ctl --help"));
        return arguments.contains(QStringLiteral("watch")) ? ExitStatus::Configuration : ExitStatus::Usage;
    } catch (const ConfigurationError& error) {
        printError(error.message());
        return ExitStatus::Configuration;
    } catch (const AppError& error) {
        printError(error.message());
        return ExitStatus::Usage;
    }
}
