#pragma once

#include "field_values.h"
#include "param_set_file.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class Command { Probe, Scan, Type, Version, Read, Write, Eeprom, Dump, Load, Diff };

// One field of the written table, by its position in the table's wire order.
struct Assignment {
    qsizetype fieldIndex = 0;
    FieldValue value;
};

// A command with its arguments checked, before anything goes on the bus.
struct CommandRequest {
    explicit CommandRequest(Command kind = Command::Probe, QList<int> tableList = {}, QList<Assignment> fields = {})
        : command(kind), tables(std::move(tableList)), assignments(std::move(fields)) {}

    Command command;
    QList<int> tables;             // read: in the order given; write: its one table
    QList<Assignment> assignments; // write
    QString file;                  // dump: empty for standard output
    std::optional<param_set::ParamSet> set; // load, diff: the file, read in full
    bool eeprom = false;           // load: store to EEPROM after the write
    bool force = false;            // load: even a set of another device type
    bool texts = false;            // scan: the device's type and version beside its address
};

// Throws UsageError for an unknown command, a table without a layout (or,
// for a write, without an encoder), an unknown field or a value that is not
// a number of the field's kind; AppError for a set file that cannot be read.
CommandRequest parseRequest(const QString& command, const QStringList& arguments);
