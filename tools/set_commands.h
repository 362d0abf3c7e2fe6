#pragma once

#include "exit_status.h"
#include "request.h"

#include <QString>
#include <QStringList>

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
    ExitStatus dump(const QString& file);
    ExitStatus load(const param_set::ParamSet& set, bool eeprom);
    ExitStatus diff(const param_set::ParamSet& set);
    bool readTexts(QString& type, QString& version);
    // One table transfer and the pause the settings window keeps after it.
    bool transfer(int (*operation)(int), int table);
    ExitStatus failed(const QString& what) const;

    RecordingPort& m_port;
};
