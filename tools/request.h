#pragma once

#include "field_values.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class Command { Probe, Scan, Type, Version, Read, Write, Eeprom };

// One field of the written table, by its position in the table's wire order.
struct Assignment {
    qsizetype fieldIndex = 0;
    FieldValue value;
};

// A command with its arguments checked, before anything goes on the bus.
struct CommandRequest {
    Command command = Command::Probe;
    QList<int> tables;             // read: in the order given; write: its one table
    QList<Assignment> assignments; // write
};

// Throws UsageError for an unknown command, a table without a layout (or,
// for a write, without an encoder), an unknown field or a value that is not
// a number of the field's kind.
CommandRequest parseRequest(const QString& command, const QStringList& arguments);
