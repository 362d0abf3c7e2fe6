#pragma once

#include "language.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command line: link options, each left empty when not given so that the
// settings store supplies it, then the command and its arguments.
struct CtlOptions {
    std::optional<QString> port; // "COMn" or a device path
    std::optional<int> baudRate;
    std::optional<int> destinationAddress;
    std::optional<int> sourceAddress;
    bool trace = false;
    bool help = false;
    QString command;
    QStringList arguments;
};

// Throws UsageError for an unknown option, a missing or bad value, or no command.
CtlOptions parseOptions(const QStringList& arguments);

QString usageText();

// The language --lang asks for, looked for before the options are checked so
// that even a message about them comes in that language.
std::optional<Language> requestedLanguage(const QStringList& arguments);
