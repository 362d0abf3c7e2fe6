#pragma once

#include "exit_status.h"
#include "request.h"

#include <QString>
#include <QStringList>

#include <optional>

class RecordingPort;

// dump, load and diff: a whole parameter set between a file and the regulator.
bool isSetCommand(const QString& command);

// Reads a load's or a diff's file in full before anything goes on the bus.
// Throws UsageError for bad arguments, AppError for a file that is refused.
CommandRequest parseSetRequest(const QString& command, const QStringList& arguments);

class SetCommands {
public:
    explicit SetCommands(RecordingPort& port) : m_port(port) {}

    ExitStatus run(const CommandRequest& request);

private:
    // What decides how a set goes to the regulator: its type, and whether its
    // firmware has table 20.
    struct Regulator {
        QString type;
        QString version;
        bool newFirmware = false;
    };

    ExitStatus dump(const QString& file, const Regulator& regulator);
    ExitStatus load(const CommandRequest& request, const Regulator& regulator);
    ExitStatus diff(const param_set::ParamSet& set, const Regulator& regulator);
    // Reads the type and version texts; nothing, after saying why, when one
    // is not answered or the version carries no firmware date.
    std::optional<Regulator> identify();
    // One table transfer and the pause the settings window keeps after it.
    bool transfer(int (*operation)(int), int table);
    ExitStatus failed(const QString& what) const;

    RecordingPort& m_port;
};
